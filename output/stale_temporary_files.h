#pragma once

#include <filesystem>

namespace stambrix::output {

/// Removes from `folder` the temporary files of AtomicFile (IsTemporaryName), and the temporary site
/// folders of SiteFolder with what they hold (IsTemporarySiteFolderName), that a killed run left.
/// Only to be called while holding the folder's FolderLock: every run keeps its temporary files
/// within its turn, so whatever such file the folder holds then belongs to no live run, whatever its
/// process id says. Nothing else is touched. A file that cannot be removed, or a folder that cannot
/// be read, is passed over: it holds up no run.
void RemoveStaleTemporaryFiles(const std::filesystem::path& folder);

/// Readies `folder` for a run after the runs that were killed there, while holding its FolderLock:
/// first puts back the earlier files of a publish that one of them left half done
/// (UndoInterruptedPublish), then removes their temporary files (RemoveStaleTemporaryFiles), so an
/// earlier file kept under a temporary name is back in its place before they go. Throws
/// text::RunFailure when the publish cannot be undone; nothing is then removed.
void TidyAfterKilledRuns(const std::filesystem::path& folder);

} // namespace stambrix::output
