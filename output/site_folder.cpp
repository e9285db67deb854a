#include "output/site_folder.h"

#include "output/atomic_file.h"
#include "output/publish_journal.h"
#include "output/temporary_files.h"
#include "output/termination_signals_held.h"
#include "text/run_failure.h"
#include "text/system_path.h"
#include "text/system_reason.h"

#include <cassert>
#include <cerrno>
#include <system_error>
#include <utility>

namespace stambrix::output {

namespace {
constexpr std::size_t kWriteBlockSize = 1 << 20;
} // namespace

bool IsTemporarySiteFolderName(std::string_view fileName)
{
    return IsTemporaryName(fileName) && fileName.substr(kTemporaryNamePrefix.size()).starts_with(kSiteFolderName) &&
           fileName.substr(kTemporaryNamePrefix.size() + std::string_view(kSiteFolderName).size()).starts_with('.');
}

void CheckSitePlace(const std::filesystem::path& site)
{
    const EntryKind kind = EntryKindOf(site);
    if (kind == EntryKind::None)
        return;
    if (kind == EntryKind::Link)
        throw text::RunFailure(text::Utf8Of(site),
                               "is een symbolische koppeling, geen map; de website komt in een eigen map met deze "
                               "naam: hernoem of verwijder de koppeling",
                               ENOTDIR);
    if (kind != EntryKind::Folder)
        throw text::RunFailure(text::Utf8Of(site),
                               "is een bestand, geen map; de website komt in een map met deze naam: hernoem of "
                               "verplaats het bestand",
                               ENOTDIR);
}

SiteFolder::SiteFolder(std::filesystem::path outputDirectory)
    : outputDirectory_(std::move(outputDirectory)), site_(outputDirectory_ / kSiteFolderName)
{
    CheckSitePlace(site_);
    earlierSite_ = PermissionsOf(site_);
}

SiteFolder::~SiteFolder()
{
    if (openFile_ != kNoFile)
        CloseFile(openFile_);
    RemoveNewFolder();
}

void SiteFolder::MakeNewFolder()
{
    if (!newFolder_.empty())
        return;
    // The owner may write the files in, whatever the earlier bits; they are given exactly at Publish.
    // Never wider for others than the earlier site, not even until then.
    const int failure = MakeTemporaryFolder(
        site_, [this](const std::filesystem::path& name) { return MakeFolder(name, earlierSite_); }, newFolder_,
        newSlot_);
    if (failure != 0) {
        newFolder_.clear();
        throw text::RunFailureFromErrno(text::Utf8Of(site_), failure);
    }
    // Opened before any file is written, so a sync through it reports every write that failed since.
    if (const int openFailure = OpenFolder(newFolder_, newFolderHandle_)) {
        RemoveNewFolder();
        throw text::RunFailureFromErrno(text::Utf8Of(site_), openFailure);
    }
}

void SiteFolder::Open(std::string_view name)
{
    assert(name.find('/') == std::string_view::npos);
    CloseOpenFile();
    MakeNewFolder();
    openName_ = name;
    buffer_.reserve(kWriteBlockSize);
    if (const int failure = CreateNewFile(newFolder_ / name, std::nullopt, openFile_))
        throw text::RunFailureFromErrno(PathOf(name), failure);
}

void SiteFolder::Write(std::string_view bytes)
{
    if (buffer_.size() + bytes.size() > kWriteBlockSize)
        Flush();
    buffer_.append(bytes);
}

void SiteFolder::Flush()
{
    const int failure = WriteAll(openFile_, buffer_);
    buffer_.clear();
    if (failure != 0)
        throw text::RunFailureFromErrno(PathOf(openName_), failure);
}

void SiteFolder::Close()
{
    Flush();
    // The disk takes the bytes while the next file is written; Publish waits for them.
    StartWriteBack(openFile_);
    if (const int closed = CloseFile(std::exchange(openFile_, kNoFile)))
        throw text::RunFailureFromErrno(PathOf(openName_), closed);
    written_.push_back(openName_);
}

// A file opened and not closed is no file of the site.
void SiteFolder::CloseOpenFile()
{
    if (openFile_ == kNoFile)
        return;
    CloseFile(std::exchange(openFile_, kNoFile));
    buffer_.clear();
    RemoveFile(newFolder_ / openName_);
}

void SiteFolder::Remove(std::string_view /*name*/) {}

void SiteFolder::SyncNewSite() const
{
    // One sync of the file system instead of one per file: a journal commits once, and a disk
    // empties its cache once, instead of hundreds of times.
    const int failure = SyncFileSystem(newFolderHandle_);
    if (failure != ENOSYS) {
        if (failure != 0)
            throw text::RunFailureFromErrno(text::Utf8Of(site_), failure);
        return;
    }
    for (const std::string& name : written_)
        if (const int fileFailure = SyncFileAt(newFolder_ / name))
            throw text::RunFailureFromErrno(PathOf(name), fileFailure);
    if (const int folderFailure = SyncFolder(newFolder_))
        throw text::RunFailureFromErrno(text::Utf8Of(site_), folderFailure);
}

void SiteFolder::TakeOverFolderPermissions() const
{
    if (!earlierSite_)
        return;
    if (const int failure = GiveFolderPermissions(newFolder_, *earlierSite_))
        throw text::RunFailureFromErrno(text::Utf8Of(site_), failure);
}

void SiteFolder::Publish()
{
    CloseOpenFile();
    MakeNewFolder();
    CheckSitePlace(site_);
    SyncNewSite();
    CloseNewFolder();
    TakeOverFolderPermissions();
    {
        // A signal that came meanwhile ends the program here, with the site whole.
        const TerminationSignalsHeld held;
        Exchange();
        published_ = true;
        MarkIndexPublished();
    }
    RemoveEarlierSite();
}

void SiteFolder::Exchange()
{
    const int failure = ExchangeNames(newFolder_, site_);
    const bool exchanged = failure == 0;
    if (CannotExchange(failure)) {
        PutInPlaceByTwoRenames();
        return;
    }
    // ENOENT: there is no earlier site, and one rename puts the new one in place.
    if (!exchanged && failure != ENOENT)
        throw text::RunFailureFromErrno(text::Utf8Of(site_), failure);
    if (!exchanged)
        if (const int renameFailure = RenameOver(newFolder_, site_))
            throw text::RunFailureFromErrno(text::Utf8Of(site_), renameFailure);
    if (const int syncFailure = SyncFolder(outputDirectory_)) {
        // A site that may not survive a power cut is taken back: the earlier one is what stays.
        if (exchanged)
            ExchangeNames(newFolder_, site_);
        else
            RenameOver(site_, newFolder_);
        throw text::RunFailureFromErrno(text::Utf8Of(outputDirectory_), syncFailure);
    }
    // After an exchange the temporary name holds the earlier site, still registered.
    if (exchanged) {
        earlierAside_ = newFolder_;
        earlierSlot_ = newSlot_;
    } else {
        UnregisterTemporaryFile(newSlot_);
    }
    newFolder_.clear();
}

void SiteFolder::PutInPlaceByTwoRenames()
{
    PublishJournal journal(outputDirectory_, {{kSiteFolderName, IdentityOf(newFolder_), IdentityOf(site_), {}}});
    std::filesystem::path aside;
    std::size_t slot = 0;
    const int failure = MakeTemporaryFolder(
        site_,
        [this](const std::filesystem::path& name) {
            // A rename would replace an empty folder of that name: only a free name is taken.
            if (EntryKindOf(name) != EntryKind::None)
                return EEXIST;
            return RenameOver(site_, name);
        },
        aside, slot);
    if (failure != 0) {
        journal.Drop();
        throw text::RunFailureFromErrno(text::Utf8Of(site_), failure);
    }
    if (const int renameFailure = RenameOver(newFolder_, site_)) {
        const int notPutBack = RenameOver(aside, site_);
        // An earlier site that is not back stays on disk for the next run, also when a signal comes.
        UnregisterTemporaryFile(slot);
        if (notPutBack == 0) {
            journal.Drop();
            throw text::RunFailureFromErrno(text::Utf8Of(site_), renameFailure);
        }
        throw text::RunFailure(text::Utf8Of(site_),
                               text::SystemReason(renameFailure) + "\n" + text::Utf8Of(aside) +
                                   ": kon niet teruggezet worden: " + text::SystemReason(notPutBack) +
                                   "; de volgende run in deze map zet het terug",
                               renameFailure);
    }
    UnregisterTemporaryFile(newSlot_);
    newFolder_.clear();
    try {
        journal.End();
    } catch (...) {
        // The journal stays, and with it the earlier site, which the next run puts back.
        UnregisterTemporaryFile(slot);
        throw;
    }
    earlierAside_ = aside;
    earlierSlot_ = slot;
}

void SiteFolder::RemoveEarlierSite() noexcept
{
    if (earlierAside_.empty())
        return;
    std::error_code ignored;
    // The earlier site is this run's to remove, also where its bits let nobody write into it.
    std::filesystem::permissions(earlierAside_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add | std::filesystem::perm_options::nofollow, ignored);
    std::filesystem::remove_all(earlierAside_, ignored);
    UnregisterTemporaryFile(earlierSlot_);
    earlierAside_.clear();
}

void SiteFolder::CloseNewFolder() noexcept
{
    if (newFolderHandle_ != kNoFile)
        CloseFile(std::exchange(newFolderHandle_, kNoFile));
}

void SiteFolder::RemoveNewFolder() noexcept
{
    CloseNewFolder();
    if (newFolder_.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(newFolder_, ignored);
    UnregisterTemporaryFile(newSlot_);
    newFolder_.clear();
}

bool SiteFolder::Holds(std::string_view name) const
{
    return EntryKindOf(site_ / name) != EntryKind::None;
}

std::string SiteFolder::PathOf(std::string_view name) const
{
    return text::Utf8Of(site_ / name);
}

} // namespace stambrix::output
