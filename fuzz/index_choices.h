#pragma once

#include "run/run_request.h"

namespace stambrix::fuzz {

/// One way of indexing a file that the front ends offer.
struct IndexChoice
{
    scan::EventKind eventKind;
    scan::RecordGroup recordGroup;
    run::OutputKind outputKind;
    bool inFrame;
};

/// Every combination the front ends accept: the HTML forms for names only, each as one page and
/// in frames; the record group matters to the place index alone.
inline constexpr IndexChoice kIndexChoices[] = {
    {scan::EventKind::Naam, scan::RecordGroup::Personen, run::OutputKind::NaarTekst, false},
    {scan::EventKind::Naam, scan::RecordGroup::Personen, run::OutputKind::Html, false},
    {scan::EventKind::Naam, scan::RecordGroup::Personen, run::OutputKind::Html, true},
    {scan::EventKind::Naam, scan::RecordGroup::Personen, run::OutputKind::Familienamen, false},
    {scan::EventKind::Naam, scan::RecordGroup::Personen, run::OutputKind::Familienamen, true},
    {scan::EventKind::Naam, scan::RecordGroup::Personen, run::OutputKind::FamilienamenEenRegel, false},
    {scan::EventKind::Naam, scan::RecordGroup::Personen, run::OutputKind::FamilienamenEenRegel, true},
    {scan::EventKind::Beroepen, scan::RecordGroup::Personen, run::OutputKind::NaarTekst, false},
    {scan::EventKind::Plaatsen, scan::RecordGroup::Personen, run::OutputKind::NaarTekst, false},
    {scan::EventKind::Plaatsen, scan::RecordGroup::Gezinnen, run::OutputKind::NaarTekst, false},
    {scan::EventKind::Plaatsen, scan::RecordGroup::Beiden, run::OutputKind::NaarTekst, false},
};

/// The text indexes of the three event kinds (places from persons and families): what a file
/// read in two halves is compared on.
inline constexpr IndexChoice kTextIndexChoices[] = {kIndexChoices[0], kIndexChoices[7], kIndexChoices[10]};

} // namespace stambrix::fuzz
