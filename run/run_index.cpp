#include "run/run_index.h"

#include "gedcom/byte_source.h"
#include "index/index_sort.h"
#include "output/folder_files.h"
#include "output/folder_lock.h"
#include "output/site_folder.h"
#include "output/source_date_epoch.h"
#include "output/stale_temporary_files.h"
#include "progress/progress_throttle.h"
#include "run/read_sorted_index.h"
#include "run/write_index.h"
#include "text/ascii.h"
#include "text/system_path.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <new>

namespace stambrix::run {

namespace {
std::uint32_t TickCount()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void CreateOutputDirectory(const std::string& directory)
{
    const std::filesystem::path path = text::PathFromUtf8(directory);
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error)
        throw text::RunFailure(directory, error.message(), error.value());
    if (!std::filesystem::is_directory(path, error))
        throw text::RunFailure(directory, std::make_error_code(std::errc::not_a_directory).message(), ENOTDIR);
}

// The website is replaced as one folder of its own; the other kinds are files in the output folder.
std::unique_ptr<output::FileSet> FilesOf(const RunRequest& request, const std::string& outputDirectory)
{
    if (request.choices.outputKind == OutputKind::Website)
        return std::make_unique<output::SiteFolder>(text::PathFromUtf8(outputDirectory));
    return std::make_unique<output::FolderFiles>(text::PathFromUtf8(outputDirectory));
}
} // namespace

std::string OutputDirectoryOf(std::string_view gedcomPath)
{
#ifdef _WIN32
    const auto separator = gedcomPath.find_last_of("\\/:");
#else
    const auto separator = gedcomPath.find_last_of('/');
#endif
    const std::string_view directory =
        separator == std::string_view::npos ? std::string_view() : gedcomPath.substr(0, separator + 1);
    return std::string(directory) + "Stambrix";
}

bool NamesNoFile(std::string_view gedcomPath)
{
    return text::Trim(gedcomPath).empty();
}

std::optional<std::string> SourceDateEpochProblem()
{
    const std::optional<std::string> epoch = output::SourceDateEpochText();
    if (!epoch || output::SourceDateEpochMoment(*epoch))
        return std::nullopt;
    return "SOURCE_DATE_EPOCH is geen geldig tijdstip: " + *epoch;
}

RunOutcome RunIndex(const RunRequest& request, progress::RunProgress& progress, progress::UserMessages& messages,
                    const progress::Cancellation& cancellation)
{
    progress::ProgressThrottle throttle(progress, cancellation);
    throttle.Reset();
    if (NamesNoFile(request.gedcomPath)) {
        messages.ShowMessage(kNoFileGiven);
        return RunOutcome::NoFileGiven;
    }
    const std::uint32_t startTick = TickCount();
    // The file is opened before the output folder is made, so a mistyped path leaves no folder behind.
    gedcom::FileSource source(request.gedcomPath);
    const std::string outputDirectory = OutputDirectoryOf(request.gedcomPath);
    CreateOutputDirectory(outputDirectory);

    RunOutcome outcome = RunOutcome::NothingFound;
    try {
        const scan::ScanResult sorted =
            ReadSortedIndex(source, request.gedcomPath, ScanChoicesOf(request), throttle, index::CollationLocale());
        source.CheckUnchanged();
        if (request.zonderLevenden)
            progress.PersonsLeftOut(sorted.leftOut);
        // From the first temporary file to the last rename the folder is this run's alone.
        const output::FolderLock turn(
            text::PathFromUtf8(outputDirectory),
            [&] { messages.ShowNote("wacht op een andere run in " + outputDirectory); }, cancellation);
        output::TidyAfterKilledRuns(text::PathFromUtf8(outputDirectory));
        const std::unique_ptr<output::FileSet> files = FilesOf(request, outputDirectory);
        outcome = WriteIndex(request, sorted, *files, throttle, messages);
        PublishIndex(request, outcome, *files, messages);
    } catch (const std::bad_alloc&) {
        // The index of this file does not fit in memory; the files not yet in place are removed on the way out.
        throttle.Flush();
        throw text::RunFailureFromErrno(request.gedcomPath, ENOMEM);
    } catch (...) {
        // The panels show how far the run came before it failed.
        throttle.Flush();
        throw;
    }
    throttle.TimeElapsed(TickCount() - startTick);
    return outcome;
}

} // namespace stambrix::run
