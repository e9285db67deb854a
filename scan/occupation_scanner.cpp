#include "names/ascii.h"
#include "scan/field_extractors.h"
#include "scan/gedcom_line.h"
#include "scan/scanners.h"

#include <string>

namespace stambrix::scan {

namespace {
// Takes the occupation of the current line and the CONC lines after it; leaves the first line
// after them as the current line. Returns false at the end of the file.
bool TakeOccupation(ScanState& state)
{
    std::string occupation(OccupationOf(state.line));
    bool more = state.ReadLine();
    while (more && IsContinuation(state.line)) {
        occupation += TextAfterTagOf(state.line);
        more = state.ReadLine();
    }
    state.AddValueLine(occupation);
    return more;
}
} // namespace

Next ScanOccupations(ScanState& state)
{
    if (!OpensPersonRecord(state.line))
        return Next::ReadOn;
    state.OpenRecord();
    while (state.ReadLine()) {
        while (names::ContainsNoCase(state.line, "1 OCCU "))
            if (!TakeOccupation(state))
                return Next::ReadOn;
        if (OpensPersonRecord(state.line))
            return Next::ExamineAgain;
        if (OpensFamilyRecord(state.line) || IsLevelZero(state.line))
            return Next::ReadOn;
    }
    return Next::ReadOn;
}

} // namespace stambrix::scan
