#pragma once

#include "names/prefix_table.h"
#include "output/html_pages.h"
#include "output/source_date_epoch.h"
#include "scan/scan_choices.h"

#include <string>

namespace stambrix::run {

// The names the front ends use, from the layers below.
using names::kPrefixFileName;
using names::LoadPrefixTable;
using names::PrefixTable;
using output::OptionPaths;
using scan::EventKind;
using scan::RecordGroup;

/// The form of the index: a text file, or HTML pages (names only), or the website (names only).
enum class OutputKind
{
    NaarTekst,
    Html,
    Familienamen,
    FamilienamenEenRegel,
    Website
};

/// Everything one run needs, as plain values.
struct RunRequest
{
    std::string gedcomPath; ///< as the user gave it, untrimmed
    EventKind eventKind = EventKind::Naam;
    RecordGroup recordGroup = RecordGroup::Personen;
    OutputKind outputKind = OutputKind::NaarTekst;
    bool inFrame = false;        ///< HTML as a frameset with one page per letter
    bool zonderLevenden = false; ///< persons who may be alive, or are marked private, give no lines
    OptionPaths optionPaths;
    PrefixTable prefixes;
};

/// How a run ended when it did not throw.
enum class RunOutcome
{
    Written,      ///< the index was written
    NothingFound, ///< no index lines: nothing written, or with zonderLevenden an empty index (WriteIndex)
    NoFileGiven   ///< "Er is geen bestand opgegeven om te openen." was shown, nothing done
};

/// What reading the file for `request` collects: the family-name forms take the family name alone.
/// Persons are judged alive or not against the year of output::DateOfRun, looked at here once.
inline scan::ScanChoices ScanChoicesOf(const RunRequest& request)
{
    const bool familyName =
        request.outputKind == OutputKind::Familienamen || request.outputKind == OutputKind::FamilienamenEenRegel;
    constexpr int kTmYearBase = 1900;
    return {request.eventKind,
            request.recordGroup,
            familyName ? names::NameForm::FamilyName : names::NameForm::Full,
            request.prefixes,
            request.zonderLevenden,
            request.zonderLevenden ? output::DateOfRun().tm_year + kTmYearBase : 0};
}

} // namespace stambrix::run
