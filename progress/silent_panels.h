#pragma once

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

/// Messages to the user that nobody reads: for work exercised without a user.
class SilentMessages final : public UserMessages
{
public:
    void ShowMessage(std::string_view) override {}
    void ShowFileNotCreated(std::string_view, std::string_view) override {}
    void ShowNote(std::string_view) override {}
};

} // namespace stambrix::progress
