#include "app/run_messages.h"

#include "app/core_text.h"
#include "app/status_bar_panels.h"

namespace stambrix::app {

void RunMessages::ShowMessage(std::string_view text)
{
    kept_.push_back({FromUtf8(text), std::nullopt});
}

void RunMessages::ShowFileNotCreated(std::string_view path, std::string_view reason)
{
    // The reason comes from the system in the user's language and encoding.
    kept_.push_back(
        {FromUtf8(progress::FileNotCreatedText(path)) + '\r' + FromLocal8Bit(reason), MessageKind::Warning});
}

void RunMessages::ShowNote(std::string_view text)
{
    panels_.ShowNote(text);
}

void RunMessages::ShowAfterRun(QWidget* parent, run::RunOutcome outcome, const QString& failure)
{
    panels_.Repaint();
    const MessageKind runKind =
        outcome == run::RunOutcome::NoFileGiven ? MessageKind::Warning : MessageKind::Information;
    for (const Kept& message : kept_)
        app::ShowMessage(parent, message.text, message.kind.value_or(runKind));
    kept_.clear();
    if (!failure.isEmpty())
        app::ShowMessage(parent, failure, MessageKind::Error);
}

} // namespace stambrix::app
