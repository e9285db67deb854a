#include "gedcom/field_extractors.h"
#include "gedcom/gedcom_line.h"
#include "scan/scanners.h"
#include "text/ascii.h"

#include <array>
#include <string>

namespace stambrix::scan {

namespace {
using gedcom::Marker;

struct LifeEventTag
{
    Marker marker;
    std::string_view symbol;
};

constexpr std::array<LifeEventTag, 4> kLifeEvents{{
    {Marker::Birth, "* "},
    {Marker::Christening, "~ "},
    {Marker::Death, "+ "},
    {Marker::Burial, "[] "},
}};

struct PersonFields
{
    std::string nameText;
    bool named = false; ///< the first NAME is the preferred name; later ones are passed over
    std::string_view sex;
    std::string lifeEvent;
    bool dated = false;
};

// True when the current line is a date line; its date is the life event's unless the event is hidden,
// which leaves the next event to give the date.
bool TakeDate(ScanState& state, std::string_view symbol, PersonFields& person)
{
    if (!state.Has(Marker::Date))
        return false;
    if (state.InHiddenEvent())
        return true;
    person.lifeEvent.assign(symbol);
    person.lifeEvent += gedcom::DateOf(state.line);
    person.dated = true;
    return true;
}

// One event check on the current line. Returns true when it leaves a line read ahead and not
// taken as the event's date as the current line: that line has not been examined yet.
bool CheckLifeEvent(ScanState& state, const LifeEventTag& event, PersonFields& person)
{
    if (!state.ReadLine())
        return false;
    const std::string_view firstBelow = text::Trim(state.line);
    if (firstBelow.empty() || firstBelow.front() != '2')
        return true;
    if (TakeDate(state, event.symbol, person))
        return false;
    // The first line below the event was a level-2 line without the date: it is passed over.
    if (!state.ReadLine())
        return false;
    return !TakeDate(state, event.symbol, person);
}

// Examines the current line. Returns true when the line it leaves as current still needs
// examining, so no new line may be read.
bool ExamineRecordLine(ScanState& state, PersonFields& person, names::NameForm form, const names::PrefixTable& prefixes)
{
    if (state.Has(Marker::Name) && !person.named) {
        person.nameText = gedcom::NameOf(state.line, form, prefixes);
        person.named = true;
    }
    if (state.Has(Marker::Sex))
        person.sex = gedcom::SexOf(state.line);
    bool unexamined = false;
    if (!person.dated) {
        // Each check looks at the line that is current when its turn comes.
        for (const LifeEventTag& event : kLifeEvents)
            if (state.Has(event.marker))
                unexamined = CheckLifeEvent(state, event, person);
    }
    return unexamined;
}

// Reads the open record to its end into `person`.
Next ReadPersonRecord(ScanState& state, PersonFields& person, names::NameForm form, const names::PrefixTable& prefixes)
{
    for (;;) {
        const bool unexamined = ExamineRecordLine(state, person, form, prefixes);
        if (state.AtEnd() || (!unexamined && !state.ReadLine()))
            return Next::ReadOn;
        if (gedcom::OpensPersonRecord(state.line, state.Markers()))
            return Next::ExamineAgain;
        if (gedcom::IsLevelZero(state.line))
            return Next::ReadOn;
    }
}

void CompleteRecord(ScanState& state, const PersonFields& person, names::NameForm form)
{
    if (form == names::NameForm::FamilyName)
        state.AddIndexLine({person.nameText});
    else
        state.AddIndexLine({person.nameText, "\t", person.lifeEvent, "\t", person.sex, "\t[", state.RecordId(), "]"});
}
} // namespace

Next ScanNames(ScanState& state, names::NameForm form, const names::PrefixTable& prefixes)
{
    if (!gedcom::OpensPersonRecord(state.line, state.Markers()))
        return Next::ReadOn;
    state.OpenRecord();
    PersonFields person;
    const Next next = ReadPersonRecord(state, person, form, prefixes);
    CompleteRecord(state, person, form);
    return next;
}

} // namespace stambrix::scan
