#include "output/publish_journal.h"

#include "output/temporary_files.h"
#include "text/run_failure.h"
#include "text/system_path.h"
#include "text/system_reason.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <memory>
#include <string_view>
#include <system_error>
#include <utility>

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
    if (const int failure = RemoveFile(path))
        ThrowFailure(path, failure);
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
    identity = FileIdentity{device, inode};
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

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The bytes of the journal `path`; nothing when there is none. Throws text::RunFailure.
std::optional<std::string> ReadJournal(const std::filesystem::path& path)
{
    // A journal is a file of ours: a symbolic link in its place is not followed.
    switch (EntryKindOf(path)) {
    case EntryKind::None:
        return std::nullopt;
    case EntryKind::File:
        break;
    case EntryKind::Folder:
        ThrowFailure(path, EISDIR);
    case EntryKind::Link:
    case EntryKind::Other:
        ThrowFailure(path, ELOOP);
    }
    const std::unique_ptr<std::FILE, FileCloser> file(text::OpenForReading(path));
    if (!file)
        ThrowFailure(path, errno);
    std::string text;
    char block[4096];
    std::size_t count = 0;
    while ((count = std::fread(block, 1, sizeof block, file.get())) > 0)
        text.append(block, count);
    if (std::ferror(file.get()))
        ThrowFailure(path, errno != 0 ? errno : EIO);
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
    if (EntryKindOf(place) == EntryKind::Folder)
        if (const int failure = RenameOver(place, TemporaryPathFor(place, 0)))
            return failure;
    return RenameOver(copy, place);
}
} // namespace

PublishJournal::PublishJournal(std::filesystem::path folder, const std::vector<JournalEntry>& entries)
    : folder_(std::move(folder)), path_(folder_ / kPublishJournalName)
{
    const std::string text = JournalText(entries);
    FileHandle file = kNoFile;
    std::filesystem::path temporary;
    std::size_t slot = 0;
    int failure = MakeTemporaryFile(
        path_, [&](const std::filesystem::path& name) { return CreateNewFile(name, std::nullopt, file); }, temporary,
        slot);
    if (failure != 0)
        ThrowFailure(path_, failure);
    failure = WriteAll(file, text);
    if (failure == 0)
        failure = SyncFile(file);
    if (const int closed = CloseFile(file); failure == 0)
        failure = closed;
    if (failure == 0)
        failure = RenameOver(temporary, path_);
    if (failure != 0)
        RemoveFile(temporary);
    UnregisterTemporaryFile(slot);
    if (failure == 0) {
        failure = SyncFolder(folder_);
        if (failure != 0)
            RemoveFile(path_);
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
    RemoveFile(path_);
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
        if (const int failure = copy ? PutBack(*copy, place) : RemoveFile(place))
            ThrowFailure(place, failure, kUndoContext);
    RemoveJournal(folder, path);
}

} // namespace stambrix::output
