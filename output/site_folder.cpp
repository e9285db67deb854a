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
#include <cstdio>
#include <system_error>

#include <fcntl.h>
#ifdef __linux__
#include <sys/vfs.h>
#endif
#include <unistd.h>

namespace stambrix::output {

namespace {
constexpr std::size_t kWriteBlockSize = 1 << 20;
constexpr mode_t kPermissionBits = 07777;
#ifdef __linux__
constexpr decltype(statfs::f_type) kFuseMagic = 0x65735546;
#endif

// Waits until the file `path` is on the disk; 0 or the error number.
int SyncFile(const std::filesystem::path& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int failure = fsync(fd) == 0 ? 0 : errno;
    close(fd);
    return failure;
}
} // namespace

bool IsTemporarySiteFolderName(std::string_view fileName)
{
    return IsTemporaryName(fileName) && fileName.substr(kTemporaryNamePrefix.size()).starts_with(kSiteFolderName) &&
           fileName.substr(kTemporaryNamePrefix.size() + std::string_view(kSiteFolderName).size()).starts_with('.');
}

void CheckSitePlace(const std::filesystem::path& site)
{
    struct stat status = {};
    if (lstat(site.c_str(), &status) != 0) {
        if (errno != ENOENT)
            throw text::RunFailureFromErrno(text::Utf8Of(site), errno);
        return;
    }
    if (S_ISLNK(status.st_mode))
        throw text::RunFailure(text::Utf8Of(site),
                               "is een symbolische koppeling, geen map; de website komt in een eigen map met deze "
                               "naam: hernoem of verwijder de koppeling",
                               ENOTDIR);
    if (!S_ISDIR(status.st_mode))
        throw text::RunFailure(text::Utf8Of(site),
                               "is een bestand, geen map; de website komt in een map met deze naam: hernoem of "
                               "verplaats het bestand",
                               ENOTDIR);
}

SiteFolder::SiteFolder(std::filesystem::path outputDirectory)
    : outputDirectory_(std::move(outputDirectory)), site_(outputDirectory_ / kSiteFolderName)
{
    CheckSitePlace(site_);
    struct stat status = {};
    if (lstat(site_.c_str(), &status) == 0)
        earlierSite_ = status;
}

SiteFolder::~SiteFolder()
{
    if (openFd_ >= 0)
        close(openFd_);
    RemoveNewFolder();
}

void SiteFolder::MakeNewFolder()
{
    if (!newFolder_.empty())
        return;
    // The owner may write the files in, whatever the earlier bits; they are given exactly at Publish.
    // Never wider for others than the earlier site, not even until then.
    const mode_t mode = earlierSite_ ? ((earlierSite_->st_mode & 0777) | S_IRWXU) : 0777;
    const int failure = MakeTemporaryFolder(
        site_, [mode](const std::filesystem::path& name) { return mkdir(name.c_str(), mode) == 0 ? 0 : errno; },
        newFolder_, newSlot_);
    if (failure != 0) {
        newFolder_.clear();
        throw text::RunFailureFromErrno(text::Utf8Of(site_), failure);
    }
    // Opened before any file is written, so a sync through it reports every write that failed since.
    newFolderFd_ = open(newFolder_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (newFolderFd_ < 0) {
        const int openFailure = errno;
        RemoveNewFolder();
        throw text::RunFailureFromErrno(text::Utf8Of(site_), openFailure);
    }
    if (!earlierSite_)
        return;
    struct stat owned = *earlierSite_;
    owned.st_mode |= S_IRWXU;
    if (!TakeOverPermissions(newFolderFd_, owned)) {
        const int ownerFailure = errno;
        RemoveNewFolder();
        throw text::RunFailureFromErrno(text::Utf8Of(site_), ownerFailure);
    }
}

void SiteFolder::Open(std::string_view name)
{
    assert(name.find('/') == std::string_view::npos);
    CloseOpenFile();
    MakeNewFolder();
    openName_ = name;
    buffer_.reserve(kWriteBlockSize);
    openFd_ = open((newFolder_ / name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (openFd_ < 0)
        throw text::RunFailureFromErrno(PathOf(name), errno);
}

void SiteFolder::Write(std::string_view bytes)
{
    if (buffer_.size() + bytes.size() > kWriteBlockSize)
        Flush();
    buffer_.append(bytes);
}

void SiteFolder::Flush()
{
    const int failure = WriteAll(openFd_, buffer_);
    buffer_.clear();
    if (failure != 0)
        throw text::RunFailureFromErrno(PathOf(openName_), failure);
}

void SiteFolder::Close()
{
    Flush();
#ifdef SYNC_FILE_RANGE_WRITE
    // The disk takes the bytes while the next file is written; Publish waits for them.
    sync_file_range(openFd_, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
    const int closed = close(openFd_);
    openFd_ = -1;
    if (closed != 0)
        throw text::RunFailureFromErrno(PathOf(openName_), errno);
    written_.push_back(openName_);
}

// A file opened and not closed is no file of the site.
void SiteFolder::CloseOpenFile()
{
    if (openFd_ < 0)
        return;
    close(openFd_);
    openFd_ = -1;
    buffer_.clear();
    unlink((newFolder_ / openName_).c_str());
}

void SiteFolder::Remove(std::string_view /*name*/) {}

void SiteFolder::SyncNewSite() const
{
#ifdef __linux__
    // One sync of the file system instead of one per file: a journal commits once, and a disk
    // empties its cache once, instead of hundreds of times. FUSE passes it on to few file systems.
    struct statfs system = {};
    if (fstatfs(newFolderFd_, &system) == 0 && system.f_type != kFuseMagic) {
        if (syncfs(newFolderFd_) != 0)
            throw text::RunFailureFromErrno(text::Utf8Of(site_), errno);
        return;
    }
#endif
    for (const std::string& name : written_)
        if (const int failure = SyncFile(newFolder_ / name))
            throw text::RunFailureFromErrno(PathOf(name), failure);
    if (const int failure = SyncFolder(newFolder_))
        throw text::RunFailureFromErrno(text::Utf8Of(site_), failure);
}

void SiteFolder::TakeOverFolderPermissions() const
{
    struct stat status = {};
    if (!earlierSite_ || (lstat(newFolder_.c_str(), &status) == 0 &&
                          (status.st_mode & kPermissionBits) == (earlierSite_->st_mode & kPermissionBits)))
        return;
    if (chmod(newFolder_.c_str(), earlierSite_->st_mode & kPermissionBits) != 0)
        throw text::RunFailureFromErrno(text::Utf8Of(site_), errno);
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
    const bool exchanged = renameat2(AT_FDCWD, newFolder_.c_str(), AT_FDCWD, site_.c_str(), RENAME_EXCHANGE) == 0;
    const int failure = exchanged ? 0 : errno;
    if (CannotExchange(failure)) {
        PutInPlaceByTwoRenames();
        return;
    }
    // ENOENT: there is no earlier site, and one rename puts the new one in place.
    if (!exchanged && failure != ENOENT)
        throw text::RunFailureFromErrno(text::Utf8Of(site_), failure);
    if (!exchanged && std::rename(newFolder_.c_str(), site_.c_str()) != 0)
        throw text::RunFailureFromErrno(text::Utf8Of(site_), errno);
    if (const int syncFailure = SyncFolder(outputDirectory_)) {
        // A site that may not survive a power cut is taken back: the earlier one is what stays.
        if (exchanged)
            renameat2(AT_FDCWD, newFolder_.c_str(), AT_FDCWD, site_.c_str(), RENAME_EXCHANGE);
        else
            std::rename(site_.c_str(), newFolder_.c_str());
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
            // rename() would replace an empty folder of that name: only a free name is taken.
            if (access(name.c_str(), F_OK) == 0)
                return EEXIST;
            return std::rename(site_.c_str(), name.c_str()) == 0 ? 0 : errno;
        },
        aside, slot);
    if (failure != 0) {
        journal.Drop();
        throw text::RunFailureFromErrno(text::Utf8Of(site_), failure);
    }
    if (std::rename(newFolder_.c_str(), site_.c_str()) != 0) {
        const int renameFailure = errno;
        const int notPutBack = std::rename(aside.c_str(), site_.c_str()) == 0 ? 0 : errno;
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
    if (newFolderFd_ >= 0)
        close(newFolderFd_);
    newFolderFd_ = -1;
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
    struct stat status = {};
    return lstat((site_ / name).c_str(), &status) == 0;
}

std::string SiteFolder::PathOf(std::string_view name) const
{
    return text::Utf8Of(site_ / name);
}

} // namespace stambrix::output
