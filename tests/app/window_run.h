#pragma once

#include "app/main_window.h"

#include <QSignalSpy>
#include <QToolButton>

namespace stambrix::app::test {

/// Clicks " Uitvoeren " and waits until the run has ended and its messages have been shown; false when
/// no run ended within a minute.
inline bool RunToTheEnd(TfrmStambrix& window)
{
    QSignalSpy ended(&window, &TfrmStambrix::runEnded);
    window.findChild<QToolButton*>("tbtnUitvoeren")->click();
    return !ended.isEmpty() || ended.wait(60000);
}

} // namespace stambrix::app::test
