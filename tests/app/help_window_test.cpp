#include "app/help_window.h"

#include "app_tests.h"

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

namespace stambrix::app::test {
namespace {

QStringList HelpLines(const QWidget& window)
{
    return window.findChild<QPlainTextEdit*>(QStringLiteral("mmHelp"))->toPlainText().split(QLatin1Char('\n'));
}

} // namespace

class TfrmHelpTest : public QObject
{
    Q_OBJECT

private slots:
    void TextStandsWholeInItsParagraphs()
    {
        TfrmHelp window;
        const QStringList lines = HelpLines(window);

        // Seven paragraphs open with "*" at the line start, the last one (contact) with no mark; blank lines
        // stand only before the last three.
        QStringList paragraphStarts;
        QList<int> blankLines;
        for (int i = 0; i < lines.size(); ++i) {
            if (lines[i].isEmpty())
                blankLines << i;
            else if (lines[i].startsWith(QLatin1Char('*')))
                paragraphStarts << lines[i];
            QVERIFY2(lines[i].size() <= 88, qPrintable(lines[i]));
        }
        QCOMPARE(paragraphStarts.size(), 7);
        QCOMPARE(blankLines.size(), 3);
        for (const int blank : blankLines)
            QVERIFY(!lines.value(blank + 1).isEmpty());
        QVERIFY(lines[blankLines[0] + 1].contains(QStringLiteral("Opties")));
        QVERIFY(!lines[blankLines[2] + 1].startsWith(QLatin1Char('*')));
        QVERIFY(lines.first().startsWith(QLatin1Char('*')));
    }

    void TextNamesTheFilesAsWritten_data()
    {
        QTest::addColumn<QString>("text");
        for (const char* text : {"Voorzetsels.txt",
                                 "~/.config/stambrix/",
                                 "$XDG_CONFIG_HOME/stambrix/",
                                 "/etc/stambrix/Voorzetsels.txt",
                                 "ingebouwde reeks",
                                 "submap Stambrix",
                                 "Namen.txt",
                                 "Beroepen.txt",
                                 "Plaatsen.txt",
                                 "index.htm",
                                 "alfabet.htm",
                                 "indexa.htm ... indexz.htm",
                                 "genealogie.css",
                                 "achtergrond.jpg",
                                 "\"in frame\"",
                                 "1. Javascript path",
                                 "2. Style sheet path",
                                 "3. Achtergrond path",
                                 "\"Levende personen weglaten\"",
                                 "100 jaar",
                                 "Gezinnen worden niet",
                                 "een lege index in de plaats van de vorige",
                                 "* = geboren; ~ = gedoopt; + = overleden; [] = begraven"})
            QTest::newRow(text) << QString::fromUtf8(text);
    }

    void TextNamesTheFilesAsWritten()
    {
        QFETCH(QString, text);
        TfrmHelp window;
        QVERIFY(HelpLines(window).join(QLatin1Char('\n')).contains(text));
    }

    void EveryHandBrokenLineShowsWholeOnOneLineAndTheWindowFitsTheScreen()
    {
        TfrmHelp window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* memo = window.findChild<QPlainTextEdit*>(QStringLiteral("mmHelp"));
        const qreal room = memo->viewport()->width() - 2 * memo->document()->documentMargin();
        for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next()) {
            memo->document()->documentLayout()->blockBoundingRect(block);
            QCOMPARE(block.layout()->lineCount(), 1);
            QVERIFY2(block.layout()->lineAt(0).naturalTextWidth() <= room, qPrintable(block.text()));
        }
        QVERIFY(window.rect().contains(memo->geometry()));
        // Room for a title bar above the window, on the screen it is shown on.
        QVERIFY(window.height() + 30 <= window.screen()->availableGeometry().height());
    }

    void SluitenHidesAndTheTextStays()
    {
        TfrmHelp window;
        window.show();
        auto* memo = window.findChild<QPlainTextEdit*>(QStringLiteral("mmHelp"));
        QVERIFY(memo->isReadOnly());
        window.findChild<QAbstractButton*>(QStringLiteral("bbtnSluiten"))->click();
        QVERIFY(!window.isVisible());
        window.show();
        QCOMPARE(memo->toPlainText(), HelpText());
    }

    void EscapeCloses()
    {
        TfrmHelp window;
        window.show();
        QTest::keyClick(window.findChild<QPlainTextEdit*>(QStringLiteral("mmHelp")), Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }
};

namespace {
const AppTestRegistration<TfrmHelpTest> registration;
} // namespace

} // namespace stambrix::app::test

#include "help_window_test.moc"
