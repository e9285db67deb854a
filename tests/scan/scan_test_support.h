#pragma once

#include "gedcom/gedcom_test_support.h"
#include "names/prefix_table.h"
#include "progress/progress_throttle.h"
#include "progress/silent_progress.h"
#include "scan/scan_gedcom.h"
#include "scan/scan_state.h"
#include "test_support/recording_progress.h"

#include <string>
#include <string_view>
#include <vector>

namespace stambrix::scan::testing {

using gedcom::testing::Gedcom;

/// The index lines one reading of `gedcom` gives, in file order; its progress to `recorded` when given.
inline std::vector<std::string> ScanLines(std::string_view gedcom, EventKind kind = EventKind::Naam,
                                          RecordGroup group = RecordGroup::Personen,
                                          test_support::RecordingProgress* recorded = nullptr)
{
    static const names::PrefixTable prefixes = names::DefaultPrefixes();
    gedcom::MemorySource source(gedcom);
    progress::SilentProgress ignored;
    progress::ProgressThrottle progress(recorded != nullptr ? static_cast<progress::RunProgress&>(*recorded) : ignored);
    const ScanResult result = ScanGedcom(source, {kind, group, names::NameForm::Full, prefixes}, progress);
    return {result.indexList.begin(), result.indexList.end()};
}

/// A scan state over `gedcom` with its first line read, for handing lines to a scanner one pass at a time.
struct ScanPasses
{
    explicit ScanPasses(std::string_view gedcom) : source(gedcom) { state.ReadLine(); }

    gedcom::MemorySource source;
    gedcom::DecodedLines lines{source};
    index::IndexList indexList;
    progress::ProgressThrottle progress;
    ScanState state{lines, indexList, progress};
};

} // namespace stambrix::scan::testing
