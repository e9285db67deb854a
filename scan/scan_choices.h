#pragma once

#include "names/name_splitting.h"
#include "names/prefix_table.h"

namespace stambrix::scan {

/// What is indexed: persons by name, occupations or places.
enum class EventKind
{
    Naam,
    Beroepen,
    Plaatsen
};

/// Which records the place index reads; the other event kinds read person records only.
enum class RecordGroup
{
    Personen,
    Gezinnen,
    Beiden
};

/// What one reading of a file collects: the event kind, the record group of the place index, and
/// for the name index the form of the name (with the prefix table that splits off the prefixes).
/// With `zonderLevenden` a person record that may be alive or is marked private gives no lines
/// (gedcom::PersonJudgement), judged against `thisYear`.
struct ScanChoices
{
    EventKind eventKind = EventKind::Naam;
    RecordGroup recordGroup = RecordGroup::Personen;
    names::NameForm nameForm = names::NameForm::Full;
    const names::PrefixTable& prefixes;
    bool zonderLevenden = false;
    int thisYear = 0;
};

} // namespace stambrix::scan
