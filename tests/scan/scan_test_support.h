#pragma once

#include "names/prefix_table.h"
#include "scan/byte_source.h"
#include "scan/gedcom_reader.h"
#include "scan/run_index.h"
#include "scan/scan_state.h"
#include "test_support/recording_panels.h"

#include <string>
#include <string_view>
#include <vector>

namespace stambrix::scan::testing {

/// Every line the reader gives of `bytes`, read in blocks of `bufferSize` bytes.
inline std::vector<std::string> ReadLines(std::string_view bytes, std::size_t bufferSize = kReadBufferSize)
{
    MemorySource source(bytes);
    GedcomReader reader(source, bufferSize);
    std::vector<std::string> lines;
    for (std::string_view line; reader.ReadLine(line);)
        lines.emplace_back(line);
    return lines;
}

/// GEDCOM text from lines joined by CR LF, as most files have them.
inline std::string Gedcom(std::initializer_list<std::string_view> lines)
{
    std::string text;
    for (const std::string_view line : lines)
        text.append(line).append("\r\n");
    return text;
}

/// The index lines one reading of `gedcom` gives, in file order.
inline std::vector<std::string> ScanLines(std::string_view gedcom, EventKind kind = EventKind::Naam,
                                          RecordGroup group = RecordGroup::Personen,
                                          test_support::RecordingPanels* panels = nullptr)
{
    RunRequest request;
    request.eventKind = kind;
    request.recordGroup = group;
    request.prefixes = names::DefaultPrefixes();
    MemorySource source(gedcom);
    test_support::RecordingPanels ignored;
    const ScanResult result = ScanGedcom(source, request, panels != nullptr ? *panels : ignored);
    return {result.indexList.begin(), result.indexList.end()};
}

/// A scan state over `gedcom` with its first line read, for handing lines to a scanner one pass at a time.
struct ScanPasses
{
    explicit ScanPasses(std::string_view gedcom) : source(gedcom) { state.ReadLine(); }

    MemorySource source;
    GedcomReader reader{source};
    output::IndexList indexList;
    test_support::RecordingPanels panels;
    ScanState state{reader, indexList, panels};
};

} // namespace stambrix::scan::testing
