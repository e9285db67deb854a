#include "output/completed_files.h"

#include "output/replaceable_target.h"
#include "output/system_files.h"
#include "output/temporary_files.h"
#include "output/termination_signals_held.h"
#include "text/run_failure.h"
#include "text/system_path.h"
#include "text/system_reason.h"

#include <cerrno>
#include <optional>

namespace stambrix::output {

void CompletedFiles::Add(std::filesystem::path target, std::unique_ptr<AtomicFile> file)
{
    files_.emplace_back(std::move(target), std::move(file));
}

void CompletedFiles::Remove(std::filesystem::path target)
{
    removed_.push_back(std::move(target));
}

std::vector<JournalEntry> CompletedFiles::JournalEntries() const
{
    std::vector<JournalEntry> entries;
    for (const auto& [target, file] : files_)
        entries.push_back({text::Utf8Of(target.filename()), IdentityOf(file->TemporaryPath()), IdentityOf(target),
                           text::Utf8Of(file->TemporaryPath().filename())});
    for (const auto& target : removed_)
        if (const std::optional<FileIdentity> earlier = IdentityOf(target))
            entries.push_back({text::Utf8Of(target.filename()), std::nullopt, earlier, {}});
    return entries;
}

std::string CompletedFiles::PutBackEarlierFiles(std::vector<std::pair<std::filesystem::path, KeptFile>>& setAside)
{
    std::string notPutBack;
    const auto note = [&notPutBack](const std::filesystem::path& place, int failure) {
        if (failure != 0)
            notPutBack += "\n" + text::Utf8Of(place) + ": kon niet teruggezet worden: " + text::SystemReason(failure) +
                          "; de volgende run in deze map zet het terug";
    };
    // Each target has its own earlier file, so the order of putting them back does not matter; a
    // file not yet in place has nothing to undo.
    for (auto& [target, kept] : setAside)
        note(target, kept.PutBack(target));
    for (const auto& [target, file] : files_)
        note(target, file->Undo());
    return notPutBack;
}

void CompletedFiles::PublishAll()
{
    for (const auto& [target, file] : files_)
        CheckReplaceable(target);
    for (const auto& target : removed_)
        CheckReplaceable(target);
    for (const auto& [target, file] : files_)
        file->MakeDurable();

    const TerminationSignalsHeld held;
    // One rename is whole by itself; of more, a crash between two would leave pages of two sets.
    const std::vector<JournalEntry> entries = JournalEntries();
    std::optional<PublishJournal> journal;
    if (entries.size() > 1)
        journal.emplace(folder_, entries);
    std::vector<std::pair<std::filesystem::path, KeptFile>> setAside;
    setAside.reserve(removed_.size());
    try {
        for (const auto& [target, file] : files_)
            file->PutInPlace();
        for (const auto& target : removed_)
            if (EntryKindOf(target) != EntryKind::None)
                setAside.emplace_back(target, KeptFile::MoveAside(target));
        if (journal)
            journal->End();
    } catch (const text::RunFailure& failure) {
        const std::string notPutBack = PutBackEarlierFiles(setAside);
        if (notPutBack.empty() && journal)
            journal->Drop();
        if (notPutBack.empty())
            throw;
        throw text::RunFailure(failure.path(), failure.reason() + notPutBack, failure.errorNumber());
    } catch (...) {
        if (PutBackEarlierFiles(setAside).empty() && journal)
            journal->Drop();
        throw;
    }
    for (auto& [target, file] : files_)
        file->Keep();
    for (auto& [target, kept] : setAside)
        kept.Drop();
    files_.clear();
    removed_.clear();
    MarkIndexPublished();
}

} // namespace stambrix::output
