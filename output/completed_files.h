#pragma once

#include "output/atomic_file.h"
#include "output/kept_file.h"
#include "output/publish_journal.h"

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace stambrix::output {

/// Files written whole into their temporary files, put in their targets' places together, and files
/// of an earlier run that go with them: either every target is replaced and every such file removed,
/// or nothing changes, also when the process is killed or the power fails halfway (the journal,
/// PublishJournal). Files that are never put in place are removed with it.
class CompletedFiles
{
public:
    /// Files whose targets lie in `folder`, which holds the journal of their publish.
    explicit CompletedFiles(std::filesystem::path folder) : folder_(std::move(folder)) {}

    /// Takes `file`, completed, to replace `target` later.
    void Add(std::filesystem::path target, std::unique_ptr<AtomicFile> file);
    /// Removes the file `target` when the others are put in place.
    void Remove(std::filesystem::path target);

    /// Replaces every target by its file, then removes the files to remove. Every target is first
    /// checked for what would refuse it (CheckReplaceable) and every file made durable: a failure
    /// there throws text::RunFailure before anything is renamed. More than one rename is first
    /// written down in a journal that reaches the disk, which goes when they are all done. A rename
    /// that fails all the same puts back what was renamed before it and throws text::RunFailure:
    /// every earlier file is then as it was, and no temporary file is left. A file that cannot be
    /// put back gets a line of its own behind the reason, «<path>: kon niet teruggezet worden:
    /// <reason>; de volgende run in deze map zet het terug», and the journal stays for that run
    /// (UndoInterruptedPublish). No SIGINT, SIGTERM or SIGHUP lands between the journal and the
    /// last rename, and when they are all done, MarkIndexPublished.
    void PublishAll();

private:
    std::vector<JournalEntry> JournalEntries() const;
    std::string PutBackEarlierFiles(std::vector<std::pair<std::filesystem::path, KeptFile>>& setAside);

    std::filesystem::path folder_;
    std::vector<std::pair<std::filesystem::path, std::unique_ptr<AtomicFile>>> files_;
    std::vector<std::filesystem::path> removed_;
};

} // namespace stambrix::output
