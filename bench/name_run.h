#pragma once

#include "progress/status_panels.h"
#include "scan/byte_source.h"
#include "scan/run_index.h"

namespace stambrix::bench {

/// A name run's reading of `source`: its index lines in file order, their encoding and the persons read.
inline scan::ScanResult ScanNameIndex(scan::ByteSource& source, progress::StatusPanels& panels)
{
    scan::RunRequest request;
    request.prefixes = names::DefaultPrefixes();
    return scan::ScanGedcom(source, request, panels);
}

} // namespace stambrix::bench
