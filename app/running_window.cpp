#include "app/running_window.h"

#include <QApplication>
#include <QEvent>
#include <QList>
#include <QWidget>

namespace stambrix::app {

namespace {
bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}
} // namespace

// The filter sits on the window and on each of its controls, the last one put on them, so it sees their
// events before the window's own filter does; the windows the main window owns (its menu, the dialogs) are
// left alone.
RunningWindow::RunningWindow(QWidget& window, const QList<QWidget*>& choices)
    : window_(window), focus_(window.focusWidget())
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (QWidget* choice : choices)
        if (choice->isEnabled()) {
            choice->setEnabled(false);
            disabled_.append(choice);
        }
    for (QWidget* widget : Filtered())
        widget->installEventFilter(this);
}

RunningWindow::~RunningWindow()
{
    for (QWidget* widget : Filtered())
        widget->removeEventFilter(this);
    for (QWidget* choice : disabled_)
        choice->setEnabled(true);
    // A control that was disabled gave its focus away, to whatever came next in the window.
    if (focus_ != nullptr)
        focus_->setFocus();
    QApplication::restoreOverrideCursor();
}

QList<QWidget*> RunningWindow::Filtered() const
{
    QList<QWidget*> widgets{&window_};
    for (QWidget* control : window_.findChildren<QWidget*>())
        if (control->window() == &window_)
            widgets.append(control);
    return widgets;
}

bool RunningWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (IsUserInput(event->type())) {
        // A drag shows as refused; anything else is accepted, so a key is not tried as a shortcut of the
        // window either.
        const QEvent::Type type = event->type();
        event->setAccepted(type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace stambrix::app
