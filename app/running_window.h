#pragma once

#include "progress/run_progress.h"

#include <cstdint>

#include <QObject>

class QWidget;

namespace stambrix::app {

class StatusBarPanels;

/// The main window while a run lasts, as the run reports to it. The run's counts go to the status bar
/// panels; after a report the panels are painted and the events that are waiting are handled (at once
/// for the first report, then at most every 50 ms), so what was covered is drawn again, while clicks,
/// keys, the context menu and the close box for the window are dropped, not kept for after the run. Other
/// windows take input as usual. Ending the guard drops the input that arrived since the last report the
/// same way.
class RunningWindow final : public QObject, public progress::RunProgress
{
    Q_OBJECT

public:
    RunningWindow(QWidget& window, StatusBarPanels& panels);
    ~RunningWindow() override;
    RunningWindow(const RunningWindow&) = delete;
    RunningWindow& operator=(const RunningWindow&) = delete;

    void Reset() override;
    void RecordsRead(std::uint64_t records) override;
    void EntriesWritten(std::uint64_t entries) override;
    void TimeElapsed(std::uint32_t milliseconds) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AfterReport();
    void HandleWaitingEvents();
    bool IsForWindow(QObject* receiver) const;

    QWidget& window_;
    StatusBarPanels& panels_;
    qint64 lastEvents_ = 0; ///< when the waiting events were last handled, in CoarseMilliseconds
    bool eventsHandled_ = false;
};

} // namespace stambrix::app
