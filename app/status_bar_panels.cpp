#include "app/status_bar_panels.h"

#include <utility>

#include <QLabel>
#include <QStatusBar>

namespace stambrix::app {

namespace {
QLabel* AddPanel(QStatusBar* statusBar, const char* objectName, std::string_view caption)
{
    // Placed by hand rather than added as the bar's items: the bar would put gaps between its items and
    // lay them out past its own edge.
    auto* panel = new QLabel(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())), statusBar);
    panel->setObjectName(objectName);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    return panel;
}
} // namespace

StatusBarPanels::StatusBarPanels(QStatusBar* statusBar)
    : statusBar_(statusBar), read_{AddPanel(statusBar, "sbarStambrixPanel1", progress::kReadCaption), {}},
      time_{AddPanel(statusBar, "sbarStambrixPanel2", progress::kTimeCaption), {}},
      written_{AddPanel(statusBar, "sbarStambrixPanel3", progress::kWrittenCaption), {}}
{
}

void StatusBarPanels::Show(Panel& panel, std::string_view text, std::string_view caption)
{
    if (text.empty())
        panel.text.assign(caption);
    else
        panel.text.assign("  ").append(text);
    panel.changed = true;
    // A panel brought back to its caption (the reset at the start of a run) is seen at once.
    if (text.empty())
        Flush();
}

void StatusBarPanels::ShowReadStatus(std::string_view text)
{
    Show(read_, text, progress::kReadCaption);
}

void StatusBarPanels::ShowTimeStatus(std::string_view text)
{
    Show(time_, text, progress::kTimeCaption);
}

void StatusBarPanels::ShowWrittenStatus(std::string_view text)
{
    Show(written_, text, progress::kWrittenCaption);
}

void StatusBarPanels::SetStatusPanelWidths()
{
    const int width = statusBar_->width();
    int left = 0;
    for (const auto& [panel, eighths] :
         {std::pair{read_.label, 3}, std::pair{time_.label, 2}, std::pair{written_.label, 3}}) {
        const int panelWidth = width * eighths / 8;
        panel->setGeometry(left, 0, panelWidth, statusBar_->height());
        left += panelWidth;
    }
}

void StatusBarPanels::Flush()
{
    for (Panel* panel : {&read_, &time_, &written_}) {
        if (!panel->changed)
            continue;
        // The GEDCOM bytes are not converted; a name that is not UTF-8 shows as Latin-1.
        panel->label->setText(QString::fromLocal8Bit(panel->text.data(), static_cast<qsizetype>(panel->text.size())));
        panel->changed = false;
    }
    statusBar_->repaint();
}

} // namespace stambrix::app
