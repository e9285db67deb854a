#pragma once

class QApplication;

namespace stambrix::app {

/// Names the program "Stambrix" without a display name, so the window system shows every window title
/// exactly as the window sets it (Qt puts a display name after each title).
void SetUpApplication(QApplication& application);

} // namespace stambrix::app
