#pragma once

#include "app/interaction.h"
#include "progress/user_messages.h"
#include "run/run_request.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include <QString>

class QWidget;

namespace stambrix::app {

class StatusBarPanels;

/// «Met de optie "Levende personen weglaten" zijn 3 personen weggelaten.»: what a run that found nothing
/// adds to its message when it left `persons` out.
QString LeftOutLine(std::uint64_t persons);

/// What a run tells the user besides its progress, as the main window shows it. A note goes to the panel
/// of entries written at once; messages are kept until the run is over and then shown in message boxes,
/// so that every panel shows its final text while a box is open.
class RunMessages final : public progress::UserMessages
{
public:
    explicit RunMessages(StatusBarPanels& panels) : panels_(panels) {}

    void ShowMessage(std::string_view text) override;
    void ShowFileNotCreated(std::string_view path, std::string_view reason) override;
    void ShowNote(std::string_view text) override;

    /// Paints the panels, then shows the kept messages over `parent` in the order the run gave them, and
    /// last `failure`, as an error, when the run ended on one. The run's own messages say why nothing was
    /// written: a warning when it had no file to read, information when the file held nothing to index;
    /// when it left persons out, the last of them says so on a line of its own (LeftOutLine).
    void ShowAfterRun(QWidget* parent, run::RunOutcome outcome, const QString& failure);

    /// Forgets the kept messages: the run's end is not told.
    void Drop() { kept_.clear(); }

private:
    struct Kept
    {
        QString text;
        std::optional<MessageKind> kind; ///< none for the run's own messages, whose kind its outcome gives
    };

    StatusBarPanels& panels_;
    std::vector<Kept> kept_;
};

} // namespace stambrix::app
