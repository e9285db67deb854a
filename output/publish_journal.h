#pragma once

#include "output/system_files.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stambrix::output {

/// The journal of a publish under way, in the folder of its files.
inline constexpr const char* kPublishJournalName = ".stambrix-publicatie";

/// One name in the folder that a publish changes.
struct JournalEntry
{
    std::string name;                    ///< the file's name in the folder
    std::optional<FileIdentity> placed;  ///< the new file put there; nothing for a file the set removes
    std::optional<FileIdentity> earlier; ///< the file there before; nothing where there was none
    std::string aside;                   ///< the name the earlier file gets, where known beforehand; or ""
};

/// The record of a publish, durable on disk from before its first rename until the publish ends, so
/// that a run killed between two renames (kill -9, a power cut) leaves it behind, and the next run
/// can put the earlier files back (UndoInterruptedPublish). Without End or Drop the journal stays.
class PublishJournal
{
public:
    /// Writes the journal of `entries` into `folder` under a temporary name, has it reach the disk,
    /// renames it to kPublishJournalName and has the rename reach the disk. Throws text::RunFailure;
    /// nothing is then left.
    PublishJournal(std::filesystem::path folder, const std::vector<JournalEntry>& entries);

    /// The publish is whole: has its renames reach the disk, then removes the journal. Throws
    /// text::RunFailure; the journal then stays.
    void End();
    /// The publish is undone: the same as End, but a failure leaves the journal of a publish that
    /// changed nothing, which the next run removes.
    void Drop() noexcept;

private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
};

/// Undoes the publish whose journal a killed run left in `folder`: every name that holds the new
/// file, or folder, gets its earlier one back, found by its identity under the name the journal gives or under
/// a temporary name (IsTemporaryName); a new file that replaced none is removed. Then the journal
/// goes. A journal whose earlier files are gone is of a publish that had ended: the earlier files go
/// only after the journal, so the journal alone goes then. Nothing when `folder` holds no journal.
/// Only to be called while holding the folder's FolderLock. Throws text::RunFailure with the name
/// and the reason when a file cannot be put back or the journal cannot be read; the journal then
/// stays for the next run.
void UndoInterruptedPublish(const std::filesystem::path& folder);

} // namespace stambrix::output
