#pragma once

#include <string>
#include <string_view>

namespace stambrix::progress {

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

} // namespace stambrix::progress
