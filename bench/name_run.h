#pragma once

#include "progress/status_panels.h"
#include "scan/byte_source.h"
#include "scan/run_index.h"

#include <string_view>

namespace stambrix::bench {

/// Panels that show nothing, so a benchmark measures the work and not a terminal.
class SilentPanels final : public progress::StatusPanels
{
public:
    void ShowReadStatus(std::string_view) override {}
    void ShowTimeStatus(std::string_view) override {}
    void ShowWrittenStatus(std::string_view) override {}
};

/// A name run's reading of `source`: its index lines in file order, their encoding and the persons read.
inline scan::ScanResult ScanNameIndex(scan::ByteSource& source, progress::StatusPanels& panels)
{
    scan::RunRequest request;
    request.prefixes = names::DefaultPrefixes();
    return scan::ScanGedcom(source, request, panels);
}

} // namespace stambrix::bench
