#pragma once

#include <filesystem>

// What the registry of temporary files asks of the system, one file for Linux and one for Windows:
// calls that a signal handler (on Windows the console's control handler) may make.
namespace stambrix::output {

/// The number of this process, which makes temporary names differ between processes.
unsigned long ProcessNumber() noexcept;

/// Removes the file `path`.
void RemoveRegisteredFile(const std::filesystem::path::value_type* path) noexcept;

/// Removes the files in the folder `path`, then the folder; a folder that holds a folder stays.
void RemoveRegisteredFolder(const std::filesystem::path::value_type* path) noexcept;

} // namespace stambrix::output
