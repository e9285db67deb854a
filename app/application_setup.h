#pragma once

class QApplication;

namespace stambrix::app {

/// Names the program "Stambrix" without a display name, so the window system shows every window title
/// exactly as the window sets it (Qt puts a display name after each title), gives every window the
/// program's icon (the desktop's icon theme's "stambrix", else the one compiled in), and installs Qt's
/// own Dutch translations (qtbase_nl from Qt's translations folder), so the file dialog, the buttons Qt
/// makes and its messages read Dutch. Without that file Qt's texts stay English, except the types in the
/// file dialog, which the program translates itself.
void SetUpApplication(QApplication& application);

} // namespace stambrix::app
