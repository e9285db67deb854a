#pragma once

#include <filesystem>

namespace stambrix::output {

/// Throws text::RunFailure (path and reason) when the file at `target`, or its folder, would refuse to be
/// replaced or removed by a rename: something other than a file or a symbolic link stands there
/// (EISDIR for a folder, EEXIST otherwise), the file is read-only (EACCES), immutable or append-only
/// (EPERM), it lies in a sticky folder and belongs to another user than the process and the folder
/// (EPERM), or the folder is immutable or append-only (EPERM). A target that does not exist passes
/// when its folder does. What the process may not look at (a file it cannot open for its flags)
/// passes too: the rename itself then tells.
void CheckReplaceable(const std::filesystem::path& target);

} // namespace stambrix::output
