#include "gedcom/field_extractors.h"
#include "gedcom/gedcom_line.h"
#include "scan/scanners.h"

namespace stambrix::scan {

namespace {
enum class RecordEnd
{
    EndOfFile,
    PersonHeader,
    FamilyHeader,
    OtherLevelZero
};

// Reads the open record to its end, adding a line for every place in it.
RecordEnd ReadPlacesOfRecord(ScanState& state)
{
    while (state.ReadLine()) {
        // A level-0 line ends the record: a place on it is not the record's.
        if (state.Has(gedcom::Marker::Place) && !gedcom::IsLevelZero(state.line) && !state.InHiddenEvent())
            state.AddValueLine(gedcom::PlaceOf(state.line));
        if (gedcom::OpensPersonRecord(state.line, state.Markers()))
            return RecordEnd::PersonHeader;
        if (gedcom::OpensFamilyRecord(state.line, state.Markers()))
            return RecordEnd::FamilyHeader;
        if (gedcom::IsLevelZero(state.line))
            return RecordEnd::OtherLevelZero;
    }
    return RecordEnd::EndOfFile;
}

// What the driver does with the line that ended a record as `end`: examine it again only when it
// is a header this scanner takes up, in this pass or the next.
Next NextAfter(RecordEnd end, RecordGroup group)
{
    switch (end) {
    case RecordEnd::PersonHeader:
        return group == RecordGroup::Gezinnen ? Next::ReadOn : Next::ExamineAgain;
    case RecordEnd::FamilyHeader:
        return group == RecordGroup::Personen ? Next::ReadOn : Next::ExamineAgain;
    case RecordEnd::EndOfFile:
    case RecordEnd::OtherLevelZero:
        break;
    }
    return Next::ReadOn;
}
} // namespace

Next ScanPlaces(ScanState& state, RecordGroup group)
{
    Next next = Next::ReadOn;
    if (group != RecordGroup::Gezinnen && gedcom::OpensPersonRecord(state.line, state.Markers())) {
        state.OpenRecord();
        next = NextAfter(ReadPlacesOfRecord(state), group);
    }
    if (group != RecordGroup::Personen && !state.AtEnd() && gedcom::OpensFamilyRecord(state.line, state.Markers())) {
        state.OpenRecord();
        next = NextAfter(ReadPlacesOfRecord(state), group);
    }
    return next;
}

} // namespace stambrix::scan
