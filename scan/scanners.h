#pragma once

#include "names/name_splitting.h"
#include "scan/run_request.h"
#include "scan/scan_state.h"

// One pass of the run's main loop per event kind. Each looks at the current line; when it opens
// a record the scanner wants, the scanner reads the record to its end, adds index lines and sets
// the read-next flag for the line that ended the record. Any other line is left alone.
namespace stambrix::scan {

/// A person record gives one line: name text, tab, life event, tab, sex, tab, «[id]»; in the
/// family-name form the name text alone. The life event is the first dated BIRT ("* "), CHR
/// ("~ "), DEAT ("+ ") or BURI ("[] ") with its date on one of the two lines below the event.
void ScanNames(ScanState& state, names::NameForm form, const names::PrefixTable& prefixes);

/// Every level-1 OCCU of a person record gives «occupation», tab, «[id]»; CONC lines that follow
/// are joined to it.
void ScanOccupations(ScanState& state);

/// Every PLAC, at any level, of a person or family record of the chosen group gives «place»,
/// tab, «[id]».
void ScanPlaces(ScanState& state, RecordGroup group);

} // namespace stambrix::scan
