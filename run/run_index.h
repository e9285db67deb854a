#pragma once

#include "output/temporary_files.h"
#include "progress/status_panels.h"
#include "run/run_request.h"
#include "text/io_error.h"

#include <string>
#include <string_view>

namespace stambrix::run {

/// One run: reads the GEDCOM file once, collects the index lines of the chosen event kind, sorts
/// them and writes the index into the folder "Stambrix" beside the file, where it first removes the
/// temporary files that killed runs left (RemoveStaleTemporaryFiles). Progress goes to the
/// three panels; "Er is geen bestand opgegeven om te openen." and "Er zijn geen items gevonden."
/// go to `messages`. Throws IoError when the file cannot be read, the index cannot be sorted (ICU),
/// does not fit in memory (ENOMEM, with the GEDCOM path) or cannot be written; an index written
/// earlier then stays as it was.
[[nodiscard]] RunOutcome RunIndex(const RunRequest& request, progress::StatusPanels& panels,
                                  progress::UserMessages& messages);

/// Removes the temporary files of the runs under way; safe to call from a signal handler.
using output::RemoveTemporaryFiles;

/// The folder the index goes into: the GEDCOM path up to and including its last separator
/// ("/"; on Windows also "\" and ":"), followed by "Stambrix".
std::string OutputDirectoryOf(std::string_view gedcomPath);

} // namespace stambrix::run
