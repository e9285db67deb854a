#include "app/status_bar_panels.h"

#include "app/core_text.h"

#include <string>
#include <utility>

#include <QLabel>
#include <QStatusBar>

namespace stambrix::app {

namespace {
QLabel* AddPanel(QStatusBar* statusBar, const char* objectName, const std::string& caption)
{
    // Placed by hand rather than added as the bar's items: the bar would put gaps between its items and
    // lay them out past its own edge.
    auto* panel = new QLabel(FromLocal8Bit(caption), statusBar);
    panel->setObjectName(objectName);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    return panel;
}
} // namespace

StatusBarPanels::StatusBarPanels(QStatusBar* statusBar)
    : statusBar_(statusBar), read_(AddPanel(statusBar, "sbarStambrixPanel1", texts_.Read())),
      time_(AddPanel(statusBar, "sbarStambrixPanel2", texts_.Time())),
      written_(AddPanel(statusBar, "sbarStambrixPanel3", texts_.Written()))
{
}

void StatusBarPanels::Reset()
{
    texts_.Reset();
    leftOut_.reset();
    ShowTexts();
    Repaint();
}

void StatusBarPanels::RecordsRead(std::uint64_t records)
{
    texts_.RecordsRead(records);
    ShowTexts();
}

void StatusBarPanels::EntriesWritten(std::uint64_t entries)
{
    texts_.EntriesWritten(entries);
    ShowTexts();
}

void StatusBarPanels::PersonsLeftOut(std::uint64_t persons)
{
    leftOut_ = persons;
}

void StatusBarPanels::TimeElapsed(std::uint32_t milliseconds)
{
    texts_.TimeElapsed(milliseconds);
    ShowTexts();
}

void StatusBarPanels::ShowNote(std::string_view text)
{
    texts_.ShowNote(text);
    ShowTexts();
    Repaint();
}

void StatusBarPanels::ShowTexts()
{
    // A label that is given the text it shows does nothing.
    read_->setText(FromLocal8Bit(texts_.Read()));
    time_->setText(FromLocal8Bit(texts_.Time()));
    written_->setText(FromLocal8Bit(texts_.Written()));
}

void StatusBarPanels::SetStatusPanelWidths()
{
    const int width = statusBar_->width();
    int left = 0;
    for (const auto& [panel, eighths] : {std::pair{read_, 3}, std::pair{time_, 2}, std::pair{written_, 3}}) {
        const int panelWidth = width * eighths / 8;
        panel->setGeometry(left, 0, panelWidth, statusBar_->height());
        left += panelWidth;
    }
}

void StatusBarPanels::Repaint()
{
    statusBar_->repaint();
}

} // namespace stambrix::app
