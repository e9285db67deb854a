#pragma once

#include "progress/status_panels.h"

#include <string>
#include <string_view>

class QLabel;
class QStatusBar;

namespace stambrix::app {

/// The three status panels on the main window's status bar. Every call keeps its panel's text; a
/// default caption is set and painted at once, other texts are put on the panels and painted by
/// Flush, which a run calls at most every 50 ms, so a run over a million records spends its time
/// neither on labels nor on painting.
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
    /// A panel and the text it is to show by the next repaint.
    struct Panel
    {
        QLabel* label;
        std::string text;
        bool changed = false;
    };

    void Show(Panel& panel, std::string_view text, std::string_view caption);

    QStatusBar* statusBar_;
    Panel read_;
    Panel time_;
    Panel written_;
};

} // namespace stambrix::app
