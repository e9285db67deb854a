#pragma once

#include "progress/silent_progress.h"
#include "progress/status_panels.h"

#include <string_view>

namespace stambrix::progress {

/// Status panels that show nothing: for the part of a run that is read beside the part that
/// reports, and wherever the work is measured or exercised without anyone watching.
class SilentPanels final : public StatusPanels
{
public:
    void ShowReadStatus(std::string_view) override {}
    void ShowTimeStatus(std::string_view) override {}
    void ShowWrittenStatus(std::string_view) override {}
};

} // namespace stambrix::progress
