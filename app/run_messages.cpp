#include "app/run_messages.h"

#include "app/core_text.h"
#include "app/option_choices.h"
#include "app/status_bar_panels.h"

#include <algorithm>

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

QString LeftOutLine(std::uint64_t persons)
{
    const QString caption = QString::fromUtf8(kZonderLevendenCaption);
    if (persons == 1)
        return QStringLiteral("Met de optie \"%1\" is 1 persoon weggelaten.").arg(caption);
    return QStringLiteral("Met de optie \"%1\" zijn %2 personen weggelaten.").arg(caption).arg(persons);
}

void RunMessages::ShowAfterRun(QWidget* parent, run::RunOutcome outcome, const QString& failure)
{
    panels_.Repaint();
    const std::uint64_t leftOut = panels_.LeftOut().value_or(0);
    if (outcome == run::RunOutcome::NothingFound && leftOut > 0) {
        // The persons left out may be why nothing was found: the run's own message says so.
        const auto own = std::find_if(kept_.rbegin(), kept_.rend(), [](const Kept& kept) { return !kept.kind; });
        if (own != kept_.rend())
            own->text += '\r' + LeftOutLine(leftOut);
    }
    const MessageKind runKind =
        outcome == run::RunOutcome::NoFileGiven ? MessageKind::Warning : MessageKind::Information;
    for (const Kept& message : kept_)
        app::ShowMessage(parent, message.text, message.kind.value_or(runKind));
    kept_.clear();
    if (!failure.isEmpty())
        app::ShowMessage(parent, failure, MessageKind::Error);
}

} // namespace stambrix::app
