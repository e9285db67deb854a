#include "gedcom/field_extractors.h"
#include "gedcom/gedcom_line.h"
#include "scan/scanners.h"

#include <string>

namespace stambrix::scan {

namespace {
// Takes the occupation of the current line and the CONC lines after it, unless it is hidden; leaves
// the first line after them as the current line. Returns false at the end of the file.
bool TakeOccupation(ScanState& state)
{
    const bool hidden = state.InHiddenEvent();
    std::string occupation(gedcom::OccupationOf(state.line));
    bool more = state.ReadLine();
    while (more && gedcom::IsContinuation(state.line)) {
        occupation += gedcom::TextAfterTagOf(state.line);
        more = state.ReadLine();
    }
    if (!hidden)
        state.AddValueLine(occupation);
    return more;
}
} // namespace

Next ScanOccupations(ScanState& state)
{
    if (!gedcom::OpensPersonRecord(state.line, state.Markers()))
        return Next::ReadOn;
    state.OpenRecord();
    while (state.ReadLine()) {
        while (state.Has(gedcom::Marker::Occupation))
            if (!TakeOccupation(state))
                return Next::ReadOn;
        if (gedcom::OpensPersonRecord(state.line, state.Markers()))
            return Next::ExamineAgain;
        if (gedcom::OpensFamilyRecord(state.line, state.Markers()) || gedcom::IsLevelZero(state.line))
            return Next::ReadOn;
    }
    return Next::ReadOn;
}

} // namespace stambrix::scan
