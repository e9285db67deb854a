#include "scan/run_index.h"

#include "names/ascii.h"
#include "names/io_error.h"
#include "output/folder_files.h"
#include "output/index_list.h"
#include "output/index_pages.h"
#include "output/stale_temporary_files.h"
#include "output/text_writer.h"
#include "output/wmJsCssPaginas.h"
#include "output/written_counter.h"
#include "progress/elapsed_text.h"
#include "scan/byte_source.h"
#include "scan/gedcom_reader.h"
#include "scan/index_sort.h"
#include "scan/scan_state.h"
#include "scan/scanners.h"
#include "scan/split_scan.h"

#include <chrono>
#include <cstdint>
#include <filesystem>

namespace stambrix::scan {

namespace {
std::uint32_t TickCount()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void CreateOutputDirectory(const std::string& directory)
{
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error)
        throw IoError(directory, error.message());
    if (!std::filesystem::is_directory(directory, error))
        throw IoError(directory, std::make_error_code(std::errc::not_a_directory).message());
}

Next Scan(const RunRequest& request, ScanState& state)
{
    switch (request.eventKind) {
    case EventKind::Naam:
        return ScanNames(state,
                         request.outputKind == OutputKind::Familienamen ||
                                 request.outputKind == OutputKind::FamilienamenEenRegel
                             ? names::NameForm::FamilyName
                             : names::NameForm::Full,
                         request.prefixes);
    case EventKind::Beroepen:
        return ScanOccupations(state);
    case EventKind::Plaatsen:
        return ScanPlaces(state, request.recordGroup);
    }
    return Next::ReadOn;
}

} // namespace

void WriteIndexFiles(const RunRequest& request, const ScanResult& sorted, output::FileSet& files,
                     progress::StatusPanels& panels, progress::UserMessages& messages)
{
    std::uint64_t writtenCounter = 0;
    output::WrittenCounter counter(panels, writtenCounter);
    if (request.outputKind == OutputKind::NaarTekst) {
        output::WriteTextIndex(sorted.indexList, files, IndexFileNameOf(request.eventKind), counter);
        return;
    }
    // A stylesheet that cannot be written has been reported; the pages are written all the same.
    output::WriteStylesheet(files, messages);
    output::HtmlPages pages(files, request.optionPaths, sorted.encoding == TextEncoding::Utf8);
    switch (request.outputKind) {
    case OutputKind::Html:
        output::WriteNameIndexPages(sorted.indexList, request.inFrame, pages, counter);
        break;
    case OutputKind::Familienamen:
        output::WriteFamilyNameListPages(sorted.indexList, request.inFrame, pages, counter);
        break;
    case OutputKind::FamilienamenEenRegel:
        output::WriteFamilyNameLinePages(sorted.indexList, request.inFrame, pages, counter);
        break;
    case OutputKind::NaarTekst:
        break;
    }
}

ScanResult ScanGedcom(ByteSource& source, const RunRequest& request, progress::StatusPanels& panels,
                      const FilePart& part)
{
    ScanResult result;
    GedcomReader reader(source, kReadBufferSize, part.inputEnd);
    ScanState state(reader, result.indexList, panels, part.recordTotal);
    if (part.declaredElsewhere)
        state.AssumeCharset(*part.declaredElsewhere);
    bool more = state.ReadLine();
    while (more) {
        // A record that ended at the header of the next one the scanner takes up leaves that header
        // to be examined again before any further line is read.
        if (Scan(request, state) == Next::ReadOn)
            more = !state.AtEnd() && state.ReadLine();
    }
    // An ANSEL file of nothing but ASCII reads the same as windows-1252 and is left that way. A
    // file that declares nothing is UTF-8 when its lines read as UTF-8, as GEDCOM 7 files do.
    // This is the one decision on the encoding: the text index and the pages both take it.
    const DeclaredCharset declared = state.Declared();
    if (declared == DeclaredCharset::None)
        result.undeclared = Utf8EvidenceOf(result.indexList);
    if (declared == DeclaredCharset::Utf8 || state.DecodedNonAscii() ||
        (result.undeclared && result.undeclared->ReadsAsUtf8()))
        result.encoding = TextEncoding::Utf8;
    result.records = state.RecordCounter();
    return result;
}

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

std::string_view IndexFileNameOf(EventKind eventKind)
{
    switch (eventKind) {
    case EventKind::Beroepen:
        return "Beroepen.txt";
    case EventKind::Plaatsen:
        return "Plaatsen.txt";
    case EventKind::Naam:
        break;
    }
    return "Namen.txt";
}

RunOutcome RunIndex(const RunRequest& request, progress::StatusPanels& panels, progress::UserMessages& messages)
{
    panels.ShowReadStatus({});
    panels.ShowTimeStatus({});
    panels.ShowWrittenStatus({});
    if (names::Trim(request.gedcomPath).empty()) {
        messages.ShowMessage("Er is geen bestand opgegeven om te openen.");
        return RunOutcome::NoFileGiven;
    }
    const std::uint32_t startTick = TickCount();
    // The file is opened before the output folder is made, so a mistyped path leaves no folder behind.
    FileSource source(request.gedcomPath);
    const std::string outputDirectory = OutputDirectoryOf(request.gedcomPath);
    CreateOutputDirectory(outputDirectory);
    output::RemoveStaleTemporaryFiles(outputDirectory);

    const ScanResult sorted = ReadSortedIndex(source, request.gedcomPath, request, panels, CollationLocale());

    RunOutcome outcome = RunOutcome::NothingFound;
    if (sorted.indexList.empty()) {
        messages.ShowMessage("Er zijn geen items gevonden.");
    } else {
        output::FolderFiles files(outputDirectory);
        WriteIndexFiles(request, sorted, files, panels, messages);
        files.Publish();
        outcome = RunOutcome::Written;
    }
    panels.ShowTimeStatus(progress::ElapsedText(TickCount() - startTick));
    return outcome;
}

} // namespace stambrix::scan
