#include "output/temporary_files.h"

#include <array>
#include <atomic>
#include <cstring>

#include <unistd.h>

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
    char path[kTemporaryPathCapacity];
};

static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs lock-free slot states");

std::array<Slot, kTemporaryFileSlots> slots;
} // namespace

std::optional<std::size_t> RegisterTemporaryFile(const char* path)
{
    const std::size_t length = std::strlen(path);
    if (length >= kTemporaryPathCapacity)
        return std::nullopt;
    for (std::size_t index = 0; index < slots.size(); ++index) {
        int expected = Free;
        if (!slots[index].state.compare_exchange_strong(expected, Filling))
            continue;
        std::memcpy(slots[index].path, path, length + 1);
        slots[index].state.store(Live, std::memory_order_release);
        return index;
    }
    return std::nullopt;
}

void UnregisterTemporaryFile(std::size_t slot)
{
    int expected = Live;
    slots[slot].state.compare_exchange_strong(expected, Free);
}

void RemoveTemporaryFiles() noexcept
{
    for (Slot& slot : slots) {
        int expected = Live;
        if (slot.state.compare_exchange_strong(expected, Taken))
            unlink(slot.path);
    }
}

} // namespace stambrix::output
