#pragma once

#include "progress/status_panels.h"
#include "scan/run_request.h"

#include <string>
#include <string_view>

namespace stambrix::scan {

/// One run: reads the GEDCOM file once, collects the index lines of the chosen event kind, sorts
/// them and writes the index into the folder "Stambrix" beside the file. Progress goes to the
/// three panels; "Er is geen bestand opgegeven om te openen." and "Er zijn geen items gevonden."
/// go to `messages`. Throws IoError when the file cannot be read or the index cannot be written;
/// an index written earlier then stays as it was.
[[nodiscard]] RunOutcome RunIndex(const RunRequest& request, progress::StatusPanels& panels,
                                  progress::UserMessages& messages);

/// The folder the index goes into: the GEDCOM path up to and including its last separator
/// ("/"; on Windows also "\" and ":"), followed by "Stambrix".
std::string OutputDirectoryOf(std::string_view gedcomPath);

/// "Namen.txt", "Beroepen.txt" or "Plaatsen.txt".
std::string_view IndexFileNameOf(EventKind eventKind);

} // namespace stambrix::scan
