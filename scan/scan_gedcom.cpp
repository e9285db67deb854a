#include "scan/scan_gedcom.h"

#include "index/index_sort.h"
#include "scan/scan_state.h"
#include "scan/scanners.h"

namespace stambrix::scan {

namespace {
Next Scan(const ScanChoices& choices, ScanState& state)
{
    switch (choices.eventKind) {
    case EventKind::Naam:
        return ScanNames(state, choices.nameForm, choices.prefixes);
    case EventKind::Beroepen:
        return ScanOccupations(state);
    case EventKind::Plaatsen:
        return ScanPlaces(state, choices.recordGroup);
    }
    return Next::ReadOn;
}
} // namespace

ScanResult ScanGedcom(gedcom::ByteSource& source, const ScanChoices& choices, progress::ProgressThrottle& progress,
                      const FilePart& part)
{
    ScanResult result;
    gedcom::DecodedLines lines(source, gedcom::kReadBufferSize, part.inputEnd, part.declaredElsewhere);
    ScanState state(lines, result.indexList, progress, part.recordTotal);
    if (choices.zonderLevenden)
        state.LeaveOutLiving(choices.thisYear);
    bool more = state.ReadLine();
    while (more) {
        // A record that ended at the header of the next one the scanner takes up leaves that header
        // to be examined again before any further line is read.
        if (Scan(choices, state) == Next::ReadOn)
            more = !state.AtEnd() && state.ReadLine();
    }
    state.SettleRecord();
    progress.Flush();
    // This is the one decision on the encoding: the text index and the pages both take it.
    if (lines.Declared() == gedcom::DeclaredCharset::None)
        result.undeclared = Utf8EvidenceOf(result.indexList);
    result.encoding = gedcom::EncodingOf(lines.Declared(), lines.ConvertedBeyondAscii(),
                                         result.undeclared.value_or(gedcom::Utf8Evidence{}));
    result.records = state.RecordCounter();
    result.leftOut = state.LeftOut();
    return result;
}

ScanResult ScanSorted(gedcom::ByteSource& source, const ScanChoices& choices, progress::ProgressThrottle& progress,
                      const std::string& locale)
{
    ScanResult result = ScanGedcom(source, choices, progress);
    index::SortIndexList(result.indexList, result.encoding, locale);
    return result;
}

} // namespace stambrix::scan
