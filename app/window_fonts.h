#pragma once

#include <QFont>

namespace stambrix::app {

/// "MS Sans Serif" `pixelSize` pixels high, the face the windows are laid out for. Where it is missing, a
/// face of about its width stands in (Microsoft Sans Serif, Arial, or Liberation Sans, which is installed
/// with the program), not the desktop's wider sans serif.
QFont WindowFont(int pixelSize);

/// "Comic Sans MS", `pointSize` points, bold and italic. Where it is missing, Comic Neue, which is
/// installed with the program, stands in.
QFont ComicFont(int pointSize);

} // namespace stambrix::app
