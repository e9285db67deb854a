#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string_view>

namespace stambrix::output {

/// The process id in the name of an AtomicFile's temporary file, «.<name>.<pid>.<n>.<n>.<n>.tmp»:
/// «.Namen.txt.4711.52.3.0.tmp» gives 4711. Nothing for any other name.
std::optional<pid_t> ProcessOfTemporaryName(std::string_view fileName);

/// Removes from `folder` the temporary files of AtomicFile whose process no longer runs, as a killed
/// run leaves them. Nothing else is touched, a temporary file of a running process included. A file
/// that cannot be removed, or a folder that cannot be read, is passed over: it holds up no run.
void RemoveStaleTemporaryFiles(const std::filesystem::path& folder);

} // namespace stambrix::output
