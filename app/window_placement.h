#pragma once

class QRect;
class QWidget;

namespace stambrix::app {

/// Puts the centre of `window`'s client area (the window without the frame the desktop draws around it)
/// on the centre of `area`, in screen coordinates. Placed by the client area on purpose: the desktop
/// makes the frame known only once the window has been on the screen, so a place given by the frame
/// would put the window lower by its title bar from the second showing on.
void CentreWindow(QWidget& window, const QRect& area);

} // namespace stambrix::app
