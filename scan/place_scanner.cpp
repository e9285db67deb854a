#include "names/ascii.h"
#include "scan/field_extractors.h"
#include "scan/gedcom_line.h"
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
        if (names::ContainsNoCase(state.line, " PLAC ") && !IsLevelZero(state.line))
            state.AddValueLine(PlaceOf(state.line));
        if (OpensPersonRecord(state.line))
            return RecordEnd::PersonHeader;
        if (OpensFamilyRecord(state.line))
            return RecordEnd::FamilyHeader;
        if (IsLevelZero(state.line))
            return RecordEnd::OtherLevelZero;
    }
    return RecordEnd::EndOfFile;
}

// The read-next flag after a record that ended as `end`: false only for a header that this
// scanner takes up, in this pass or the next.
void SetReadNext(ScanState& state, RecordEnd end, RecordGroup group)
{
    switch (end) {
    case RecordEnd::EndOfFile:
        break;
    case RecordEnd::PersonHeader:
        state.readNext = group == RecordGroup::Gezinnen;
        break;
    case RecordEnd::FamilyHeader:
        state.readNext = group == RecordGroup::Personen;
        break;
    case RecordEnd::OtherLevelZero:
        state.readNext = true;
        break;
    }
}
} // namespace

void ScanPlaces(ScanState& state, RecordGroup group)
{
    if (group != RecordGroup::Gezinnen && OpensPersonRecord(state.line)) {
        state.OpenRecord();
        SetReadNext(state, ReadPlacesOfRecord(state), group);
    }
    if (group != RecordGroup::Personen && !state.AtEnd() && OpensFamilyRecord(state.line)) {
        state.OpenRecord();
        SetReadNext(state, ReadPlacesOfRecord(state), group);
    }
}

} // namespace stambrix::scan
