#pragma once

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

/// A message for the user, shown and acknowledged before the run goes on.
class UserMessages
{
public:
    virtual ~UserMessages() = default;
    virtual void ShowMessage(std::string_view text) = 0;
};

inline constexpr std::string_view kReadCaption = "  regels gelezen";
inline constexpr std::string_view kTimeCaption = "  (dd:uu:mm:ss)";
inline constexpr std::string_view kWrittenCaption = "  regels geschreven";

/// What panel 1 shows before the records read, and panel 3 before the entries written.
inline constexpr std::string_view kReadPrefix = "gelezen : ";
inline constexpr std::string_view kWrittenPrefix = "geschreven : ";

} // namespace stambrix::progress
