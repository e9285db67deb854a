#pragma once

#include "run/run_request.h"

namespace stambrix::app {

/// The caption of the option that leaves out the persons who may be alive.
inline constexpr const char* kZonderLevendenCaption = "Levende personen weglaten";

/// What the options window sets for the runs to come, kept in memory only: empty and unticked at
/// every start of the program.
struct OptionChoices
{
    run::OptionPaths optionPaths;
    bool zonderLevenden = false; ///< «Levende personen weglaten»
};

} // namespace stambrix::app
