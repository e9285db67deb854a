#pragma once

#include "output/file_set.h"
#include "output/system_files.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stambrix::output {

/// The folder of the website in the output folder.
inline constexpr const char* kSiteFolderName = "web";

/// `fileName` is the temporary name of a site folder, «.stambrix-web.<pid>.<n>.<n>.<n>.tmp»: a new
/// site that was never put in place, or an earlier one that was not removed after it.
bool IsTemporarySiteFolderName(std::string_view fileName);

/// The files of a website, flat in the folder kSiteFolderName of an output folder, replaced as a
/// whole: they are written into a new folder beside it under a temporary name (TemporaryPathFor, in
/// the registry of temporary files, so an interrupted program removes it with its files), which
/// Publish exchanges with the earlier site in one step. A visitor sees the earlier site or the new
/// one, never a mix, and a file of the earlier site that is not written again is gone with it.
///
/// The new folder takes over the earlier site folder's permission bits, and its owner and group
/// where the process may give them; without one it gets the default permissions (0777 less the umask).
class SiteFolder final : public FileSet
{
public:
    /// The site in `outputDirectory` / kSiteFolderName. Throws text::RunFailure when something other
    /// than a folder has that name (CheckSitePlace).
    explicit SiteFolder(std::filesystem::path outputDirectory);
    /// Removes the new folder of a site that was not published.
    ~SiteFolder() override;
    SiteFolder(const SiteFolder&) = delete;
    SiteFolder& operator=(const SiteFolder&) = delete;

    /// Starts the file `name` (no folders) in the new folder, which the first file makes. Throws
    /// text::RunFailure with the path the file gets.
    void Open(std::string_view name) override;
    void Write(std::string_view bytes) override;
    void Close() override;
    /// Nothing to do: a file of the earlier site that is not written again goes with that site.
    void Remove(std::string_view name) override;
    /// Makes every file and the new folder durable, then puts the new folder in the site folder's
    /// place in one step (ExchangeNames; a plain rename where there was none), has
    /// that reach the disk and removes the earlier site. Where the file system cannot exchange, the
    /// earlier site goes aside and the new one takes its place, two renames protected by a
    /// PublishJournal. No SIGINT, SIGTERM or SIGHUP lands between the first rename and the last.
    /// Throws text::RunFailure with the path and the reason when the site could not be put in place:
    /// the earlier site is then as it was. An earlier site that cannot be removed afterwards is left
    /// under its temporary name for the next run (TidyAfterKilledRuns); the publish stands.
    void Publish() override;
    /// True when the file `name` is in the earlier site.
    bool Holds(std::string_view name) const override;
    /// `outputDirectory`/web/`name`.
    std::string PathOf(std::string_view name) const override;

private:
    void MakeNewFolder();
    void Flush();
    void CloseOpenFile();
    void TakeOverFolderPermissions() const;
    void SyncNewSite() const;
    void Exchange();
    void PutInPlaceByTwoRenames();
    void RemoveEarlierSite() noexcept;
    void CloseNewFolder() noexcept;
    void RemoveNewFolder() noexcept;

    std::filesystem::path outputDirectory_;
    std::filesystem::path site_;
    std::optional<Permissions> earlierSite_; // of the site folder when the set began
    std::filesystem::path newFolder_;
    std::size_t newSlot_ = 0;
    FileHandle newFolderHandle_ = kNoFile;
    std::vector<std::string> written_; // the names of the files in the new folder
    std::string openName_;
    FileHandle openFile_ = kNoFile;
    std::string buffer_;
    std::filesystem::path earlierAside_; // the earlier site, under a temporary name, once it is replaced
    std::size_t earlierSlot_ = 0;
    bool published_ = false;
};

/// Throws text::RunFailure (the path and a Dutch reason) when `site` is something other than a
/// folder: a file or a symbolic link, which is left as it is and never followed.
void CheckSitePlace(const std::filesystem::path& site);

} // namespace stambrix::output
