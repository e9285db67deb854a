#include "app/window_fonts.h"

#include <QStringList>

namespace stambrix::app {

namespace {
void InsertStandIns()
{
    static const bool inserted = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   QStringList{QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                                               QStringLiteral("Liberation Sans"), QStringLiteral("Helvetica")});
        QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
        return true;
    }();
    (void)inserted;
}
} // namespace

QFont WindowFont(int pixelSize)
{
    InsertStandIns();
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

QFont ComicFont(int pointSize)
{
    InsertStandIns();
    QFont font(QStringLiteral("Comic Sans MS"));
    font.setPointSize(pointSize);
    font.setBold(true);
    font.setItalic(true);
    return font;
}

} // namespace stambrix::app
