#pragma once

#include <QList>
#include <QObject>

class QWidget;

namespace stambrix::app {

/// The main window while a run lasts: clicks, keys, shortcuts, the context menu and the close box for the
/// window or any of its controls are dropped, not kept for after the run, while the window goes on being
/// painted. Other windows take input as usual.
class RunningWindow final : public QObject
{
    Q_OBJECT

public:
    explicit RunningWindow(QWidget& window);
    ~RunningWindow() override;
    RunningWindow(const RunningWindow&) = delete;
    RunningWindow& operator=(const RunningWindow&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The window and its controls.
    QList<QWidget*> Filtered() const;

    QWidget& window_;
};

} // namespace stambrix::app
