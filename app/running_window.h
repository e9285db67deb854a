#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

namespace stambrix::app {

/// The main window while a run lasts: its choices disabled and the busy cursor shown; clicks, keys,
/// shortcuts and the context menu for the window or any of its controls dropped, not kept for after the
/// run, and a file dragged onto them refused, while the window goes on being painted. A request to close
/// still reaches the window. Other windows take input as usual. At the end the choices that were enabled
/// are enabled again and the focus is where it was.
class RunningWindow final : public QObject
{
    Q_OBJECT

public:
    RunningWindow(QWidget& window, const QList<QWidget*>& choices);
    ~RunningWindow() override;
    RunningWindow(const RunningWindow&) = delete;
    RunningWindow& operator=(const RunningWindow&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The window and its controls.
    QList<QWidget*> Filtered() const;

    QWidget& window_;
    QList<QWidget*> disabled_;
    QPointer<QWidget> focus_;
};

} // namespace stambrix::app
