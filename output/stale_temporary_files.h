#pragma once

#include <filesystem>

namespace stambrix::output {

/// Removes from `folder` the temporary files of AtomicFile (IsTemporaryName) that a killed run left.
/// Only to be called while holding the folder's FolderLock: every run keeps its temporary files
/// within its turn, so whatever such file the folder holds then belongs to no live run, whatever its
/// process id says. Nothing else is touched. A file that cannot be removed, or a folder that cannot
/// be read, is passed over: it holds up no run.
void RemoveStaleTemporaryFiles(const std::filesystem::path& folder);

} // namespace stambrix::output
