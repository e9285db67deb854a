#pragma once

#include "progress/panel_texts.h"
#include "progress/run_progress.h"

#include <cstdint>
#include <optional>
#include <string_view>

class QLabel;
class QStatusBar;

namespace stambrix::app {

/// The three status panels on the main window's status bar, showing PanelTexts of the run's progress;
/// used on the window's thread only. A report is put on its panel at once, to be painted with the
/// window; a reset and a note are painted before the call returns, so they are seen before the run goes on.
class StatusBarPanels final : public progress::RunProgress
{
public:
    explicit StatusBarPanels(QStatusBar* statusBar);

    void Reset() override;
    void RecordsRead(std::uint64_t records) override;
    void EntriesWritten(std::uint64_t entries) override;
    void PersonsLeftOut(std::uint64_t persons) override;
    void TimeElapsed(std::uint32_t milliseconds) override;
    /// `text` on the panel of entries written.
    void ShowNote(std::string_view text);

    /// Widths of three eighths, two eighths and three eighths of the bar, side by side from its left edge
    /// and as high as the bar.
    void SetStatusPanelWidths();
    /// Repaints the bar now.
    void Repaint();

    /// The persons the run since the last reset left out, once it reported them.
    std::optional<std::uint64_t> LeftOut() const { return leftOut_; }

private:
    void ShowTexts();

    QStatusBar* statusBar_;
    progress::PanelTexts texts_; ///< before the labels, which start from its captions
    QLabel* read_;
    QLabel* time_;
    QLabel* written_;
    std::optional<std::uint64_t> leftOut_;
};

} // namespace stambrix::app
