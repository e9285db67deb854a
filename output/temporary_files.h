#pragma once

#include <cstddef>
#include <optional>

namespace stambrix::output {

/// How many temporary files the registry holds at once: a page set with its stylesheet needs about 30.
inline constexpr std::size_t kTemporaryFileSlots = 64;
/// The longest path the registry holds, its closing zero byte included; the system takes no longer one.
inline constexpr std::size_t kTemporaryPathCapacity = 4096;

/// Enters `path`, a temporary file about to be made, in the process-wide registry of temporary files
/// that RemoveTemporaryFiles removes. Returns its slot; nothing when the path is too long or every
/// slot is in use. Safe from any thread.
[[nodiscard]] std::optional<std::size_t> RegisterTemporaryFile(const char* path);

/// Takes the file of `slot` out of the registry once it is renamed into place or removed. A slot that
/// RemoveTemporaryFiles has taken stays taken: the process is ending.
void UnregisterTemporaryFile(std::size_t slot);

/// Removes every registered temporary file with unlink() and nothing else, so a signal handler may
/// call it, on any thread, also while another thread registers or unregisters a file. Each file is
/// removed once, also when two handlers run at the same moment.
void RemoveTemporaryFiles() noexcept;

} // namespace stambrix::output
