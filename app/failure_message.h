#pragma once

#include "run/run_index.h"

#include <QString>

namespace stambrix::app {

/// What the user reads when the run of `request` ends on `error`: what failed, in Dutch, with the path
/// and the reason as the system gives it in the user's language, for example
/// «De map "/home/an/Stambrix" kan niet worden gemaakt: Toegang geweigerd.». The output folder could not
/// be made, the GEDCOM file could not be read, or a file in the output folder could not be written;
/// an index that could not be sorted names the sort and ICU's error.
QString RunFailureMessage(const text::RunFailure& error, const run::RunRequest& request);

/// «Het bestand "<path>" kan niet worden gelezen: <reason>.» for a file read outside a run.
QString UnreadableFileMessage(const text::RunFailure& error);

} // namespace stambrix::app
