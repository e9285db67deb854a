#include "app/application_setup.h"

#include "app/file_type_translator.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace stambrix::app {

void SetUpApplication(QApplication& application)
{
    QApplication::setApplicationName(QStringLiteral("Stambrix"));
    // Windows without an icon of their own, message boxes and the file dialog included, show this one.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("stambrix"), QIcon(QStringLiteral(":/stambrix.svg"))));
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Dutch, QLocale::Netherlands), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
    QApplication::installTranslator(new FileTypeTranslator(&application));
}

} // namespace stambrix::app
