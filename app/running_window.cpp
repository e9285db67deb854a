#include "app/running_window.h"

#include "app/status_bar_panels.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <ctime>

namespace stambrix::app {

namespace {
constexpr qint64 kEventInterval = 50;

// A clock of a few milliseconds' grain that is read in a fraction of the time of the precise one: a
// run reports a million times a second.
qint64 CoarseMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<qint64>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

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
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}
} // namespace

RunningWindow::RunningWindow(QWidget& window, StatusBarPanels& panels) : window_(window), panels_(panels)
{
    QCoreApplication::instance()->installEventFilter(this);
}

RunningWindow::~RunningWindow()
{
    HandleWaitingEvents();
    QCoreApplication::instance()->removeEventFilter(this);
}

void RunningWindow::Reset()
{
    panels_.Reset();
    AfterReport();
}

void RunningWindow::RecordsRead(std::uint64_t records)
{
    panels_.RecordsRead(records);
    AfterReport();
}

void RunningWindow::EntriesWritten(std::uint64_t entries)
{
    panels_.EntriesWritten(entries);
    AfterReport();
}

void RunningWindow::TimeElapsed(std::uint32_t milliseconds)
{
    panels_.TimeElapsed(milliseconds);
    AfterReport();
}

void RunningWindow::AfterReport()
{
    if (!eventsHandled_ || CoarseMilliseconds() - lastEvents_ >= kEventInterval)
        HandleWaitingEvents();
}

void RunningWindow::HandleWaitingEvents()
{
    panels_.Repaint();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    lastEvents_ = CoarseMilliseconds();
    eventsHandled_ = true;
}

bool RunningWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (IsUserInput(event->type()) && IsForWindow(watched)) {
        // Accepted, so a key is not tried as a shortcut of the window either.
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool RunningWindow::IsForWindow(QObject* receiver) const
{
    // The window on the screen, or a control in it; a message box or menu is a window of its own.
    for (QObject* object = receiver; object != nullptr; object = object->parent()) {
        if (object->isWindowType())
            return object == window_.windowHandle();
        if (const auto* widget = qobject_cast<QWidget*>(object); widget != nullptr && widget->isWindow())
            return widget == &window_;
    }
    return false;
}

} // namespace stambrix::app
