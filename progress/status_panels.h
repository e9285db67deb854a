#pragma once

#include <string>
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

/// What the run tells the user besides its progress.
class UserMessages
{
public:
    virtual ~UserMessages() = default;
    /// A message for the user. The run goes on when the call returns, so a front end may show it at once
    /// or keep it for the end of the run.
    virtual void ShowMessage(std::string_view text) = 0;
    /// The file `path` could not be made, for `reason`; the run goes on without it.
    virtual void ShowFileNotCreated(std::string_view path, std::string_view reason) = 0;
    /// A note that needs no answer, such as why the run waits; the run goes on meanwhile.
    virtual void ShowNote(std::string_view text) = 0;
};

/// The message for a file that could not be made: "Het bestand ", the path and "kon niet aangemaakt
/// worden.", joined by carriage returns.
inline std::string FileNotCreatedText(std::string_view path)
{
    return "Het bestand \r" + std::string(path) + "\rkon niet aangemaakt worden.";
}

inline constexpr std::string_view kReadCaption = "  regels gelezen";
inline constexpr std::string_view kTimeCaption = "  (dd:uu:mm:ss)";
inline constexpr std::string_view kWrittenCaption = "  regels geschreven";

/// What panel 1 shows before the records read, and panel 3 before the entries written.
inline constexpr std::string_view kReadPrefix = "gelezen : ";
inline constexpr std::string_view kWrittenPrefix = "geschreven : ";

} // namespace stambrix::progress
