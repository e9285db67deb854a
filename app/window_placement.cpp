#include "app/window_placement.h"

#include <QRect>
#include <QWidget>

namespace stambrix::app {

void CentreWindow(QWidget& window, const QRect& area)
{
    // setGeometry places the client area whether the window has been shown or not; move() places the
    // frame once the frame is known and the client area before.
    window.setGeometry(QRect(area.center() - window.rect().center(), window.size()));
}

} // namespace stambrix::app
