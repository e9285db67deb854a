#include "output/temporary_files.h"

#include "output/temporary_file_removal.h"
#include "text/system_path.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>

#include <csignal>

namespace stambrix::output {

namespace {
// A slot moves Free -> Filling -> Live -> Free in the writer's hands; RemoveTemporaryFiles moves it
// from Live to Taken and never back, so a path is never rewritten while a handler reads it.
enum SlotState : int
{
    Free,
    Filling,
    Live,
    Taken,
};

struct Slot
{
    std::atomic<int> state{Free};
    bool folder = false;
    std::filesystem::path::value_type path[kTemporaryPathCapacity];
};

static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs lock-free slot states");

std::array<Slot, kTemporaryFileSlots> slots;

volatile sig_atomic_t indexPublished = 0;

bool IsNumber(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::size_t> Register(const std::filesystem::path::value_type* path, bool folder)
{
    const std::size_t length = std::char_traits<std::filesystem::path::value_type>::length(path);
    if (length >= kTemporaryPathCapacity)
        return std::nullopt;
    for (std::size_t index = 0; index < slots.size(); ++index) {
        int expected = Free;
        if (!slots[index].state.compare_exchange_strong(expected, Filling))
            continue;
        std::memcpy(slots[index].path, path, (length + 1) * sizeof *path);
        slots[index].folder = folder;
        slots[index].state.store(Live, std::memory_order_release);
        return index;
    }
    return std::nullopt;
}

int Make(const std::filesystem::path& target, const std::function<int(const std::filesystem::path&)>& make, bool folder,
         std::filesystem::path& temporary, std::size_t& slot)
{
    for (unsigned attempt = 0;; ++attempt) {
        temporary = TemporaryPathFor(target, attempt);
        // Registered before it exists, so that no moment has the file on disk and outside the registry.
        const std::optional<std::size_t> registered = Register(temporary.c_str(), folder);
        if (!registered)
            return temporary.native().size() >= kTemporaryPathCapacity ? ENAMETOOLONG : EMFILE;
        const int failure = make(temporary);
        if (failure == 0) {
            slot = *registered;
            return 0;
        }
        UnregisterTemporaryFile(*registered);
        if (failure != EEXIST || attempt == 100)
            return failure;
    }
}

} // namespace

std::filesystem::path TemporaryPathFor(const std::filesystem::path& target, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    std::string name(kTemporaryNamePrefix);
    name.append(text::Utf8Of(target.filename()));
    name.append(1, '.').append(std::to_string(ProcessNumber()));
    for (const auto part : {static_cast<unsigned long long>(now % 1000000007),
                            static_cast<unsigned long long>(counter++), static_cast<unsigned long long>(attempt)})
        name.append(1, '.').append(std::to_string(part));
    name.append(".tmp");
    return target.parent_path() / name;
}

bool IsTemporaryName(std::string_view fileName)
{
    constexpr std::string_view kSuffix = ".tmp";
    if (!fileName.starts_with(kTemporaryNamePrefix) || !fileName.ends_with(kSuffix))
        return false;
    std::string_view rest =
        fileName.substr(kTemporaryNamePrefix.size(), fileName.size() - kTemporaryNamePrefix.size() - kSuffix.size());
    // Four numbers, each after a dot, behind a name that is not empty.
    for (int count = 0; count < 4; ++count) {
        const auto dot = rest.rfind('.');
        if (dot == std::string_view::npos || !IsNumber(rest.substr(dot + 1)))
            return false;
        rest = rest.substr(0, dot);
    }
    return !rest.empty();
}

std::optional<std::size_t> RegisterTemporaryFile(const std::filesystem::path::value_type* path)
{
    return Register(path, false);
}

int MakeTemporaryFile(const std::filesystem::path& target, const std::function<int(const std::filesystem::path&)>& make,
                      std::filesystem::path& temporary, std::size_t& slot)
{
    return Make(target, make, false, temporary, slot);
}

int MakeTemporaryFolder(const std::filesystem::path& target,
                        const std::function<int(const std::filesystem::path&)>& make, std::filesystem::path& temporary,
                        std::size_t& slot)
{
    return Make(target, make, true, temporary, slot);
}

bool UnregisterTemporaryFile(std::size_t slot)
{
    int expected = Live;
    return slots[slot].state.compare_exchange_strong(expected, Free);
}

void RemoveTemporaryFiles() noexcept
{
    for (Slot& slot : slots) {
        int expected = Live;
        if (!slot.state.compare_exchange_strong(expected, Taken))
            continue;
        if (slot.folder)
            RemoveRegisteredFolder(slot.path);
        else
            RemoveRegisteredFile(slot.path);
    }
}

void MarkIndexPublished() noexcept
{
    indexPublished = 1;
}

bool IndexPublished() noexcept
{
    return indexPublished != 0;
}

} // namespace stambrix::output
