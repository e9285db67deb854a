#include "scan/scan_gedcom.h"

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
    gedcom::GedcomReader reader(source, gedcom::kReadBufferSize, part.inputEnd);
    ScanState state(reader, result.indexList, progress, part.recordTotal);
    if (part.declaredElsewhere)
        state.AssumeCharset(*part.declaredElsewhere);
    if (part.valueKeeping != nullptr)
        state.ShareValueKeeping(part.valueKeeping, part.atStart);
    bool more = state.ReadLine();
    while (more) {
        // A record that ended at the header of the next one the scanner takes up leaves that header
        // to be examined again before any further line is read.
        if (Scan(choices, state) == Next::ReadOn)
            more = !state.AtEnd() && state.ReadLine();
    }
    progress.Flush();
    state.FinishValueKeeping();
    // An ANSEL file of nothing but ASCII reads the same as windows-1252 and is left that way. A
    // file that declares nothing is UTF-8 when its lines read as UTF-8, as GEDCOM 7 files do.
    // This is the one decision on the encoding: the text index and the pages both take it.
    const gedcom::DeclaredCharset declared = state.Declared();
    if (declared == gedcom::DeclaredCharset::None)
        result.undeclared = Utf8EvidenceOf(result.indexList);
    if (declared == gedcom::DeclaredCharset::Utf8 || state.DecodedNonAscii() ||
        (result.undeclared && result.undeclared->ReadsAsUtf8()))
        result.encoding = TextEncoding::Utf8;
    result.records = state.RecordCounter();
    return result;
}

ScanResult ScanSorted(gedcom::ByteSource& source, const ScanChoices& choices, progress::ProgressThrottle& progress,
                      const std::string& locale)
{
    ScanResult result = ScanGedcom(source, choices, progress);
    SortIndexList(result.indexList, result.encoding, locale);
    return result;
}

} // namespace stambrix::scan
