#pragma once

#include "run/run_choices.h"

namespace stambrix::fuzz {

/// One way of indexing a file that the front ends offer.
using IndexChoice = run::RunChoices;

/// Every combination the front ends accept.
inline constexpr const auto& kIndexChoices = run::kAllowedChoices;

/// The text indexes of the three event kinds (places from persons and families): what a file
/// read in two halves is compared on.
inline constexpr IndexChoice kTextIndexChoices[] = {
    {scan::EventKind::Naam, scan::RecordGroup::Personen, run::OutputKind::NaarTekst, false},
    {scan::EventKind::Beroepen, scan::RecordGroup::Personen, run::OutputKind::NaarTekst, false},
    {scan::EventKind::Plaatsen, scan::RecordGroup::Beiden, run::OutputKind::NaarTekst, false},
};

} // namespace stambrix::fuzz
