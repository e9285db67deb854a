#pragma once

#include "progress/status_panels.h"

#include <QElapsedTimer>

class QLabel;
class QStatusBar;

namespace stambrix::app {

/// The three status panels on the main window's status bar. Every call sets its panel's text; a
/// default caption is painted at once, other texts at most every 50 ms, so a run over a million
/// records does not spend its time painting, and Flush shows the last texts whatever the time.
class StatusBarPanels final : public progress::StatusPanels
{
public:
    explicit StatusBarPanels(QStatusBar* statusBar);

    void ShowReadStatus(std::string_view text) override;
    void ShowTimeStatus(std::string_view text) override;
    void ShowWrittenStatus(std::string_view text) override;

    /// Widths of three eighths, two eighths and three eighths of the bar, side by side from its left edge
    /// and as high as the bar.
    void SetStatusPanelWidths();
    /// Repaints the bar now.
    void Flush();

private:
    void Show(QLabel* panel, std::string_view text, std::string_view caption);

    QStatusBar* statusBar_;
    QLabel* read_;
    QLabel* time_;
    QLabel* written_;
    QElapsedTimer sinceRepaint_;
};

} // namespace stambrix::app
