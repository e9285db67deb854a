#pragma once

#include "progress/panel_texts.h"
#include "progress/user_messages.h"

#include <string_view>

namespace stambrix::progress {

/// The three status panels a run reports through: records read, elapsed time, entries written.
/// Callers pass the text without the two leading blanks a panel shows before it; an empty text
/// brings back the panel's default caption.
class StatusPanels
{
public:
    virtual ~StatusPanels() = default;
    virtual void ShowReadStatus(std::string_view text) = 0;
    virtual void ShowTimeStatus(std::string_view text) = 0;
    virtual void ShowWrittenStatus(std::string_view text) = 0;
};

/// What panel 1 shows before the records read, and panel 3 before the entries written.
inline constexpr std::string_view kReadPrefix = "gelezen : ";
inline constexpr std::string_view kWrittenPrefix = "geschreven : ";

} // namespace stambrix::progress
