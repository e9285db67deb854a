#include "output/stale_temporary_files.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>

#include <signal.h>

namespace stambrix::output {

namespace {
bool IsNumber(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The last dot-separated part of `text`, taken off it; nothing when `text` holds no dot.
std::optional<std::string_view> TakeLastPart(std::string_view& text)
{
    const auto dot = text.rfind('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    const std::string_view part = text.substr(dot + 1);
    text = text.substr(0, dot);
    return part;
}

// Only "no such process" tells that a process has ended; a process of another user answers EPERM.
bool HasEnded(pid_t process)
{
    return kill(process, 0) != 0 && errno == ESRCH;
}
} // namespace

std::optional<pid_t> ProcessOfTemporaryName(std::string_view fileName)
{
    constexpr std::string_view kSuffix = ".tmp";
    if (!fileName.starts_with('.') || !fileName.ends_with(kSuffix))
        return std::nullopt;
    std::string_view rest = fileName.substr(1, fileName.size() - 1 - kSuffix.size());
    for (int count = 0; count < 3; ++count) {
        const auto part = TakeLastPart(rest);
        if (!part || !IsNumber(*part))
            return std::nullopt;
    }
    const auto process = TakeLastPart(rest);
    long long id = 0;
    if (!process || !IsNumber(*process) || rest.empty() ||
        std::from_chars(process->data(), process->data() + process->size(), id).ec != std::errc() || id <= 0 ||
        id > INT_MAX)
        return std::nullopt;
    return static_cast<pid_t>(id);
}

void RemoveStaleTemporaryFiles(const std::filesystem::path& folder)
{
    std::error_code error;
    for (auto entry = std::filesystem::directory_iterator(folder, error);
         !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const auto process = ProcessOfTemporaryName(entry->path().filename().string());
        std::error_code ignored;
        if (process && entry->is_regular_file(ignored) && !entry->is_symlink(ignored) && HasEnded(*process))
            std::filesystem::remove(entry->path(), ignored);
    }
}

} // namespace stambrix::output
