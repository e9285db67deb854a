#pragma once

#include "names/prefix_table.h"
#include "output/html_pages.h"

#include <string>

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

/// The form of the index: a text file, or HTML pages (names only).
enum class OutputKind
{
    NaarTekst,
    Html,
    Familienamen,
    FamilienamenEenRegel
};

/// Everything one run needs, as plain values.
struct RunRequest
{
    std::string gedcomPath; ///< as the user gave it, untrimmed
    EventKind eventKind = EventKind::Naam;
    RecordGroup recordGroup = RecordGroup::Personen;
    OutputKind outputKind = OutputKind::NaarTekst;
    bool inFrame = false; ///< HTML as a frameset with one page per letter
    output::OptionPaths optionPaths;
    names::PrefixTable prefixes;
};

/// How a run ended when it did not throw.
enum class RunOutcome
{
    Written,      ///< the index was written
    NothingFound, ///< "Er zijn geen items gevonden." was shown, nothing written
    NoFileGiven   ///< "Er is geen bestand opgegeven om te openen." was shown, nothing done
};

} // namespace stambrix::scan
