#pragma once

#include "gedcom/byte_source.h"
#include "progress/progress_throttle.h"
#include "run/run_request.h"
#include "scan/scan_gedcom.h"

namespace stambrix::bench {

/// A name run's reading of `source`: its index lines in file order, their encoding and the persons read.
inline scan::ScanResult ScanNameIndex(gedcom::ByteSource& source, progress::ProgressThrottle& progress)
{
    run::RunRequest request;
    request.prefixes = names::DefaultPrefixes();
    return scan::ScanGedcom(source, run::ScanChoicesOf(request), progress);
}

} // namespace stambrix::bench
