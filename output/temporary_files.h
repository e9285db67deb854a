#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

namespace stambrix::output {

/// How many temporary files the registry holds at once: a page set with its stylesheet needs about 30,
/// and as many again for the files of the earlier run it replaces or removes.
inline constexpr std::size_t kTemporaryFileSlots = 128;
/// The longest path the registry holds, its closing zero byte included; the system takes no longer one.
inline constexpr std::size_t kTemporaryPathCapacity = 4096;

/// The beginning of every temporary file name of ours; no user's file has it by accident.
inline constexpr std::string_view kTemporaryNamePrefix = ".stambrix-";

/// A name beside `target` that no other writer uses at the same moment, in this process or another:
/// «.stambrix-<name>.<pid>.<n>.<n>.<n>.tmp», the last number `attempt`.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target, unsigned attempt);

/// `fileName` has the form of TemporaryPathFor's names, «.stambrix-Namen.txt.4711.52.3.0.tmp».
bool IsTemporaryName(std::string_view fileName);

/// Enters `path`, a temporary file about to be made, in the process-wide registry of temporary files
/// that RemoveTemporaryFiles removes. Returns its slot; nothing when the path is too long or every
/// slot is in use. Safe from any thread.
[[nodiscard]] std::optional<std::size_t> RegisterTemporaryFile(const std::filesystem::path::value_type* path);

/// Makes a file under a new temporary name beside `target` (TemporaryPathFor), entered in the registry
/// before it exists: `make`(name) makes it and returns 0, or the error number (EEXIST for a name in
/// use, when the next name is tried). Returns 0 with `temporary` and `slot` set, or the error number
/// (ENAMETOOLONG, EMFILE when the registry is full, or that of `make`) with nothing registered.
int MakeTemporaryFile(const std::filesystem::path& target, const std::function<int(const std::filesystem::path&)>& make,
                      std::filesystem::path& temporary, std::size_t& slot);
/// As MakeTemporaryFile, for a folder that `make` makes, or names, and that holds files only:
/// RemoveTemporaryFiles removes it with its files.
int MakeTemporaryFolder(const std::filesystem::path& target,
                        const std::function<int(const std::filesystem::path&)>& make, std::filesystem::path& temporary,
                        std::size_t& slot);

/// Takes the file of `slot` out of the registry once it is renamed into place or removed. A slot that
/// RemoveTemporaryFiles has taken stays taken: the process is ending. False then, true otherwise.
bool UnregisterTemporaryFile(std::size_t slot);

/// Removes every registered temporary file, and every registered folder with the files in it, with
/// calls a signal handler may make (RemoveRegisteredFile, RemoveRegisteredFolder), on any thread, also
/// while another thread registers or unregisters a file. Each file is removed once, also
/// when two handlers run at the same moment. A folder that holds a folder stays.
void RemoveTemporaryFiles() noexcept;

/// Notes that a set of files was put in place whole (its files of earlier runs removed, no temporary
/// file of it left), which a signal handler can read with IndexPublished.
void MarkIndexPublished() noexcept;
/// A set of files was put in place whole in this process; safe in a signal handler.
bool IndexPublished() noexcept;

} // namespace stambrix::output
