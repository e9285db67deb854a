#pragma once

#include "output/atomic_file.h"

#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

namespace stambrix::output {

/// Files written whole into their temporary files, put in their targets' places together, and files
/// of an earlier run that go with them: either every target is replaced and every such file removed,
/// or nothing changes. Files that are never put in place are removed with it.
class CompletedFiles
{
public:
    /// Takes `file`, completed, to replace `target` later.
    void Add(std::filesystem::path target, std::unique_ptr<AtomicFile> file);
    /// Removes the file `target` when the others are put in place.
    void Remove(std::filesystem::path target);

    /// Replaces every target by its file, then removes the files to remove. Every target is first
    /// checked for what would refuse it (CheckReplaceable) and every file made durable: a failure
    /// there throws text::RunFailure before anything is renamed. A rename that fails all the same puts back
    /// what was renamed before it and throws text::RunFailure: every earlier file is then as it was, and no
    /// temporary file is left. No SIGINT, SIGTERM or SIGHUP lands between the first rename and the
    /// last, and when they are all done, MarkIndexPublished.
    void PublishAll();

private:
    std::vector<std::pair<std::filesystem::path, std::unique_ptr<AtomicFile>>> files_;
    std::vector<std::filesystem::path> removed_;
};

} // namespace stambrix::output
