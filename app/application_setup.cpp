#include "app/application_setup.h"

#include <QApplication>

namespace stambrix::app {

void SetUpApplication(QApplication& /*application*/)
{
    QApplication::setApplicationName(QStringLiteral("Stambrix"));
}

} // namespace stambrix::app
