#pragma once

#include "names/prefix_table.h"
#include "output/html_pages.h"
#include "output/source_date_epoch.h"
#include "run/run_choices.h"
#include "scan/scan_choices.h"
#include "text/system_path.h"

#include <string>

namespace stambrix::run {

// The names the front ends use, from the layers below.
using names::kPrefixFileName;
using names::LoadPrefixTable;
using names::PrefixTable;
using output::OptionPaths;
using text::PathFromUtf8;
/// Everything one run needs, as plain values.
struct RunRequest
{
    std::string gedcomPath; ///< as the user gave it, untrimmed
    RunChoices choices;
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
    const bool familyName = FactsOf(request.choices.outputKind).familyNames;
    constexpr int kTmYearBase = 1900;
    return {request.choices.eventKind,
            request.choices.recordGroup,
            familyName ? names::NameForm::FamilyName : names::NameForm::Full,
            request.prefixes,
            request.zonderLevenden,
            request.zonderLevenden ? output::DateOfRun().tm_year + kTmYearBase : 0};
}

} // namespace stambrix::run
