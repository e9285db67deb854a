#pragma once

#include "output/atomic_file.h"

#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

namespace stambrix::output {

/// Files written whole into their temporary files, put in their targets' places together: either
/// every target is replaced or none is. Files that are never put in place are removed with it.
class CompletedFiles
{
public:
    /// Takes `file`, completed, to replace `target` later.
    void Add(std::filesystem::path target, std::unique_ptr<AtomicFile> file);

    /// Replaces every target by its file. A target that is a folder (or anything but a file), or a
    /// file that cannot be made durable, is found before anything is renamed and throws IoError;
    /// the targets then stay as they were.
    /// No SIGINT, SIGTERM or SIGHUP lands between two renames.
    void PublishAll();

private:
    std::vector<std::pair<std::filesystem::path, std::unique_ptr<AtomicFile>>> files_;
};

} // namespace stambrix::output
