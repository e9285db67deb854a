#include "output/publish_journal.h"

#include "output/temporary_files.h"
#include "text/run_failure.h"
#include "text/system_path.h"
#include "text/system_reason.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <string_view>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace stambrix::output {

namespace {
constexpr std::string_view kJournalHeader = "stambrix-publicatie 1";
// Behind the system's reason when a file cannot be put back after a crash.
constexpr std::string_view kUndoContext = " (bij het terugzetten van de index die een afgebroken run half verving)";

[[noreturn]] void ThrowFailure(const std::filesystem::path& path, int failure, std::string_view context = {})
{
    throw text::RunFailure(text::Utf8Of(path), text::SystemReason(failure) + std::string(context), failure);
}

// Removes the journal `path` of `folder` once what was renamed has reached the disk.
void RemoveJournal(const std::filesystem::path& folder, const std::filesystem::path& path)
{
    if (const int failure = SyncFolder(folder))
        ThrowFailure(folder, failure);
    if (unlink(path.c_str()) != 0)
        ThrowFailure(path, errno);
}

std::string IdentityText(const std::optional<FileIdentity>& identity)
{
    if (!identity)
        return "-";
    return std::to_string(identity->device) + ':' + std::to_string(identity->inode);
}

bool ParseNumber(std::string_view text, unsigned long long& number)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size();
}

bool ParseIdentity(std::string_view text, std::optional<FileIdentity>& identity)
{
    if (text == "-")
        return true;
    const auto colon = text.find(':');
    unsigned long long device = 0;
    unsigned long long inode = 0;
    if (colon == std::string_view::npos || !ParseNumber(text.substr(0, colon), device) ||
        !ParseNumber(text.substr(colon + 1), inode))
        return false;
    identity = FileIdentity{static_cast<dev_t>(device), static_cast<ino_t>(inode)};
    return true;
}

// A name directly inside the folder: a journal never leads a rename elsewhere.
bool IsPlainName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

// One line a name: the new file, the earlier file, the name the earlier file gets ("-" when not
// known) and the name, separated by tabs; the name last.
std::string JournalText(const std::vector<JournalEntry>& entries)
{
    std::string text(kJournalHeader);
    text += '\n';
    for (const JournalEntry& entry : entries)
        text += IdentityText(entry.placed) + '\t' + IdentityText(entry.earlier) + '\t' +
                (entry.aside.empty() ? std::string("-") : entry.aside) + '\t' + entry.name + '\n';
    return text;
}

// The entries of the journal `text`; nothing when it is not one.
std::optional<std::vector<JournalEntry>> EntriesOf(std::string_view text)
{
    if (!text.starts_with(kJournalHeader) || !text.substr(kJournalHeader.size()).starts_with('\n'))
        return std::nullopt;
    text.remove_prefix(kJournalHeader.size() + 1);
    std::vector<JournalEntry> entries;
    while (!text.empty()) {
        const auto end = text.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt;
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        std::string_view fields[3];
        for (std::string_view& field : fields) {
            const auto tab = line.find('\t');
            if (tab == std::string_view::npos)
                return std::nullopt;
            field = line.substr(0, tab);
            line.remove_prefix(tab + 1);
        }
        JournalEntry& entry = entries.emplace_back();
        entry.name = line;
        if (fields[2] != "-")
            entry.aside = fields[2];
        if (!ParseIdentity(fields[0], entry.placed) || !ParseIdentity(fields[1], entry.earlier) ||
            !IsPlainName(entry.name) || (!entry.aside.empty() && !IsPlainName(entry.aside)))
            return std::nullopt;
    }
    return entries;
}

// The bytes of the journal `path`; nothing when there is none. Throws text::RunFailure.
std::optional<std::string> ReadJournal(const std::filesystem::path& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT)
        return std::nullopt;
    if (fd < 0)
        ThrowFailure(path, errno);
    std::string text;
    char block[4096];
    ssize_t count = 0;
    while ((count = read(fd, block, sizeof block)) != 0) {
        if (count < 0 && errno != EINTR)
            break;
        if (count > 0)
            text.append(block, static_cast<std::size_t>(count));
    }
    const int failure = count < 0 ? errno : 0;
    close(fd);
    if (failure != 0)
        ThrowFailure(path, failure);
    return text;
}

// Where the earlier file of `entry` is now: under the name the journal gives it, or else under a
// temporary name in `folder`; nothing when it is gone. Throws text::RunFailure when the folder
// cannot be read.
std::optional<std::filesystem::path> EarlierCopyOf(const std::filesystem::path& folder, const JournalEntry& entry)
{
    if (!entry.aside.empty() && IdentityOf(folder / entry.aside) == entry.earlier)
        return folder / entry.aside;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(folder, error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        if (IsTemporaryName(text::Utf8Of(it->path().filename())) && IdentityOf(it->path()) == entry.earlier)
            return it->path();
    if (error)
        throw text::RunFailure(text::Utf8Of(folder), error.message() + std::string(kUndoContext), error.value());
    return std::nullopt;
}

// Puts the earlier file or folder `copy` back at `place`; 0 or the error number. A rename replaces
// a file but no folder that holds files: the new folder goes aside first, under a temporary name
// that the tidying after an undo removes (RemoveStaleTemporaryFiles).
int PutBack(const std::filesystem::path& copy, const std::filesystem::path& place)
{
    struct stat status = {};
    if (lstat(place.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
        std::rename(place.c_str(), TemporaryPathFor(place, 0).c_str()) != 0)
        return errno;
    return std::rename(copy.c_str(), place.c_str()) == 0 ? 0 : errno;
}
} // namespace

int WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno != EINTR)
            return errno;
        if (written > 0)
            bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// A folder that this user may not read cannot be opened for it: the file system then keeps its own order.
int SyncFolder(const std::filesystem::path& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno == EACCES ? 0 : errno;
    // EINVAL: a file system that syncs no folders.
    const int failure = fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    close(fd);
    return failure;
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path)
{
    struct stat status = {};
    if (lstat(path.c_str(), &status) != 0)
        return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino};
}

PublishJournal::PublishJournal(std::filesystem::path folder, const std::vector<JournalEntry>& entries)
    : folder_(std::move(folder)), path_(folder_ / kPublishJournalName)
{
    const std::string text = JournalText(entries);
    int fd = -1;
    std::filesystem::path temporary;
    std::size_t slot = 0;
    int failure = MakeTemporaryFile(
        path_,
        [&](const std::filesystem::path& name) {
            fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            return fd < 0 ? errno : 0;
        },
        temporary, slot);
    if (failure != 0)
        ThrowFailure(path_, failure);
    failure = WriteAll(fd, text);
    if (failure == 0 && fsync(fd) != 0)
        failure = errno;
    if (close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && std::rename(temporary.c_str(), path_.c_str()) != 0)
        failure = errno;
    if (failure != 0)
        unlink(temporary.c_str());
    UnregisterTemporaryFile(slot);
    if (failure == 0) {
        failure = SyncFolder(folder_);
        if (failure != 0)
            unlink(path_.c_str());
    }
    if (failure != 0)
        ThrowFailure(path_, failure);
}

void PublishJournal::End()
{
    RemoveJournal(folder_, path_);
}

void PublishJournal::Drop() noexcept
{
    SyncFolder(folder_);
    unlink(path_.c_str());
}

void UndoInterruptedPublish(const std::filesystem::path& folder)
{
    const std::filesystem::path path = folder / kPublishJournalName;
    const std::optional<std::string> text = ReadJournal(path);
    if (!text)
        return;
    const std::optional<std::vector<JournalEntry>> entries = EntriesOf(*text);
    if (!entries)
        throw text::RunFailure(text::Utf8Of(path),
                               "geen geldig logboek van een publicatie; verwijder het als de index in orde is");
    // Everything is looked up before anything is renamed: a journal of a publish that had ended
    // changes nothing.
    std::vector<std::pair<std::filesystem::path, std::optional<std::filesystem::path>>> undo;
    for (const JournalEntry& entry : *entries) {
        const std::optional<FileIdentity> now = IdentityOf(folder / entry.name);
        if (now == entry.earlier || (now && now != entry.placed))
            continue;
        std::optional<std::filesystem::path> copy = entry.earlier ? EarlierCopyOf(folder, entry) : std::nullopt;
        if (entry.earlier && !copy) {
            undo.clear();
            break;
        }
        undo.emplace_back(folder / entry.name, std::move(copy));
    }
    for (const auto& [place, copy] : undo)
        if (const int failure = copy ? PutBack(*copy, place) : (unlink(place.c_str()) == 0 ? 0 : errno))
            ThrowFailure(place, failure, kUndoContext);
    RemoveJournal(folder, path);
}

} // namespace stambrix::output
