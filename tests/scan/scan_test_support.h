#pragma once

#include "gedcom/gedcom_test_support.h"
#include "names/prefix_table.h"
#include "scan/scan_gedcom.h"
#include "scan/scan_state.h"
#include "test_support/recording_panels.h"

#include <string>
#include <string_view>
#include <vector>

namespace stambrix::scan::testing {

using gedcom::testing::Gedcom;

/// The index lines one reading of `gedcom` gives, in file order.
inline std::vector<std::string> ScanLines(std::string_view gedcom, EventKind kind = EventKind::Naam,
                                          RecordGroup group = RecordGroup::Personen,
                                          test_support::RecordingPanels* panels = nullptr)
{
    static const names::PrefixTable prefixes = names::DefaultPrefixes();
    gedcom::MemorySource source(gedcom);
    test_support::RecordingPanels ignored;
    const ScanResult result =
        ScanGedcom(source, {kind, group, names::NameForm::Full, prefixes}, panels != nullptr ? *panels : ignored);
    return {result.indexList.begin(), result.indexList.end()};
}

/// A scan state over `gedcom` with its first line read, for handing lines to a scanner one pass at a time.
struct ScanPasses
{
    explicit ScanPasses(std::string_view gedcom) : source(gedcom) { state.ReadLine(); }

    gedcom::MemorySource source;
    gedcom::DecodedLines lines{source};
    index::IndexList indexList;
    test_support::RecordingPanels panels;
    ScanState state{lines, indexList, panels};
};

} // namespace stambrix::scan::testing
