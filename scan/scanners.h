#pragma once

#include "names/name_splitting.h"
#include "scan/scan_choices.h"
#include "scan/scan_state.h"

// One pass of the run's main loop per event kind. Each looks at the current line; when it opens
// a record the scanner wants, the scanner reads the record to its end and adds index lines. Any
// other line is left alone. Each returns what the driver does with the line it stopped on.
namespace stambrix::scan {

/// What the run driver does after a pass.
enum class Next
{
    /// Reads the next line: the current line was passed over, or the record ended at a line no
    /// scanner pass takes up, or at the end of the file.
    ReadOn,
    /// Hands the current line to the scanner again: the record ended at a header that opens a
    /// record this scanner takes up.
    ExamineAgain
};

/// A person record gives one line: name text, tab, life event, tab, sex, tab, «[id]»; in the
/// family-name form the name text alone. The life event is the first dated BIRT ("* "), CHR
/// ("~ "), DEAT ("+ ") or BURI ("[] ") with its date on one of the two lines below the event.
/// A record ending at the next person's header gives ExamineAgain. The date of a hidden event
/// (ScanState::InHiddenEvent) is passed over.
[[nodiscard]] Next ScanNames(ScanState& state, names::NameForm form, const names::PrefixTable& prefixes);

/// Every level-1 OCCU of a person record gives «occupation», tab, «[id]»; CONC lines that follow
/// are joined to it; a hidden one (ScanState::InHiddenEvent) gives none. A record ending at the next
/// person's header gives ExamineAgain.
[[nodiscard]] Next ScanOccupations(ScanState& state);

/// Every PLAC, at any level, of a person or family record of the chosen group gives «place»,
/// tab, «[id]», but one of a hidden event (ScanState::InHiddenEvent). A person record that ends
/// at a family header is followed by that family in the same pass when the group takes both; a
/// record ending at a header of the group gives ExamineAgain.
[[nodiscard]] Next ScanPlaces(ScanState& state, RecordGroup group);

} // namespace stambrix::scan
