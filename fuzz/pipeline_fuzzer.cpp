#include "fuzz/index_choices.h"
#include "gedcom/byte_source.h"
#include "names/prefix_table.h"
#include "output/memory_files.h"
#include "progress/silent_panels.h"
#include "run/index_files.h"
#include "run/run_request.h"
#include "scan/index_sort.h"
#include "scan/scan_gedcom.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <tuple>

// libFuzzer target over the whole pipeline in memory: the input is a GEDCOM file, read, scanned,
// sorted and written for every event kind and output form into files held in memory. Besides the
// sanitizers' reports, an input fails when the pipeline throws, when a text index line has other
// fields than its kind's, or when an index does not hold every one of its lines: the text file
// one line each, the pages one entry each (every form of the name index, framed or not).
namespace {

using namespace stambrix;

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "pipeline_fuzzer: %s\n", what.c_str());
    std::abort();
}

std::size_t CountOf(std::string_view text, std::string_view part)
{
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// Every line of the text file ends in CR LF and has the tabs of its kind; one line per index line.
void CheckTextIndex(std::string_view text, const fuzz::IndexChoice& choice, std::size_t lines)
{
    const std::size_t tabs = choice.eventKind == scan::EventKind::Naam ? 3 : 1;
    std::size_t count = 0;
    for (std::size_t start = 0; start < text.size(); ++count) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos)
            Fail("a text line without CR LF");
        const std::string_view line = text.substr(start, end - start);
        if (static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t')) != tabs ||
            line.find_first_of("\r\n") != std::string_view::npos)
            Fail("a text line with other fields than its kind's");
        start = end + 2;
    }
    if (count != lines)
        Fail("the text index does not hold every line");
}

// The name index pages hold one entry line per index line, over all pages together.
void CheckNamePages(const output::MemoryFiles& files, std::size_t lines)
{
    std::size_t entries = 0;
    for (const auto& [name, page] : files.files)
        if (name.ends_with(".htm"))
            entries += CountOf(page, "<LI CLASS=\"inhoudtekst\">");
    if (entries != lines)
        Fail("the pages do not hold every person");
}

// The sorted index lines of `gedcom` as `request` reads them.
scan::ScanResult SortedLinesOf(std::string_view gedcom, const run::RunRequest& request)
{
    gedcom::MemorySource source(gedcom);
    progress::SilentPanels panels;
    scan::ScanResult result = scan::ScanGedcom(source, run::ScanChoicesOf(request), panels);
    scan::SortIndexList(result.indexList, result.encoding, "nl");
    return result;
}

bool FamilyNameForm(run::OutputKind kind)
{
    return kind == run::OutputKind::Familienamen || kind == run::OutputKind::FamilienamenEenRegel;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const names::PrefixTable prefixes = names::DefaultPrefixes();
    const std::string_view gedcom(reinterpret_cast<const char*>(data), size);
    progress::SilentPanels panels;
    progress::SilentMessages messages;
    // The output forms that read the file alike share one reading of it.
    std::map<std::tuple<scan::EventKind, scan::RecordGroup, bool>, scan::ScanResult> readings;
    for (const fuzz::IndexChoice& choice : fuzz::kIndexChoices) {
        run::RunRequest request;
        request.eventKind = choice.eventKind;
        request.recordGroup = choice.recordGroup;
        request.outputKind = choice.outputKind;
        request.inFrame = choice.inFrame;
        request.prefixes = prefixes;
        const auto key = std::make_tuple(choice.eventKind, choice.recordGroup, FamilyNameForm(choice.outputKind));
        auto reading = readings.find(key);
        if (reading == readings.end())
            reading = readings.emplace(key, SortedLinesOf(gedcom, request)).first;
        const scan::ScanResult& result = reading->second;
        if (result.indexList.empty())
            continue;
        output::MemoryFiles files;
        run::WriteIndexFiles(request, result, files, panels, messages);
        files.Publish();
        if (choice.outputKind == run::OutputKind::NaarTekst)
            CheckTextIndex(files.files.at(std::string(run::IndexFileNameOf(choice.eventKind))), choice,
                           result.indexList.size());
        else if (choice.outputKind == run::OutputKind::Html)
            CheckNamePages(files, result.indexList.size());
    }
    return 0;
}
