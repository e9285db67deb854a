#include "app/options_window.h"

#include "output/html_pages.h"
#include "output/memory_files.h"

#include "app_tests.h"

#include <string>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

namespace stambrix::app::test {
namespace {

const char* const kEditNames[] = {"edtJavaScriptPath", "edtStyleSheetPath", "edtAchtergrondPath"};

QLineEdit* Edit(const QWidget& window, const char* name)
{
    auto* edit = window.findChild<QLineEdit*>(QString::fromLatin1(name));
    Q_ASSERT(edit != nullptr);
    return edit;
}

/// Types `texts` into the three edits, replacing what they held.
void TypeInto(const QWidget& window, const QStringList& texts)
{
    for (int i = 0; i < 3; ++i) {
        QLineEdit* edit = Edit(window, kEditNames[i]);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, texts[i]);
    }
}

QStringList EditTexts(const QWidget& window)
{
    QStringList texts;
    for (const char* name : kEditNames)
        texts << Edit(window, name)->text();
    return texts;
}

QStringList PathsOf(const run::OptionPaths& paths)
{
    return {QString::fromStdString(paths.javaScriptPath), QString::fromStdString(paths.styleSheetPath),
            QString::fromStdString(paths.achtergrondPath)};
}

/// The whole page head written with `paths`, as the next HTML run writes it.
std::string PageHeadWith(const run::OptionPaths& paths)
{
    output::MemoryFiles files;
    output::HtmlPages pages(files, paths, charsets::TextEncoding::Utf8);
    pages.OpenPage("index.htm");
    pages.WritePageHead("Index.htm", true);
    pages.ClosePage();
    files.Publish();
    return files.files.at("index.htm");
}

} // namespace

class TfrmOptiesTest : public QObject
{
    Q_OBJECT

private slots:
    // The three ways to close the window; whichever was taken, the next showing has what is in force.
    void ClosingStoresOnlyThroughSluiten_data()
    {
        QTest::addColumn<QString>("closeBy");
        QTest::addColumn<bool>("stores");
        QTest::newRow("Sluiten stores") << "Sluiten" << true;
        QTest::newRow("close box keeps what is in force") << "close box" << false;
        QTest::newRow("Escape keeps what is in force") << "Escape" << false;
    }

    void ClosingStoresOnlyThroughSluiten()
    {
        QFETCH(QString, closeBy);
        QFETCH(bool, stores);
        const QStringList former{"oud/js/", "oud/css/", "oud/"};
        // Texts are taken as typed: blanks, backslashes and an empty edit included.
        const QStringList typed{" ../js ", "CSS\\", ""};
        OptionChoices optionChoices{{"oud/js/", "oud/css/", "oud/"}, true};
        TfrmOpties window(optionChoices);
        auto* box = window.findChild<QCheckBox*>(QStringLiteral("cbxZonderLevenden"));
        window.show();
        QCOMPARE(EditTexts(window), former);
        QVERIFY(box->isChecked());

        TypeInto(window, typed);
        box->setChecked(false);
        if (closeBy == "Sluiten")
            window.findChild<QAbstractButton*>(QStringLiteral("bbtnSluiten"))->click();
        else if (closeBy == "close box")
            QVERIFY(window.close());
        else
            QTest::keyClick(Edit(window, "edtStyleSheetPath"), Qt::Key_Escape);

        QVERIFY(!window.isVisible());
        const QStringList inForce = stores ? typed : former;
        QCOMPARE(PathsOf(optionChoices.optionPaths), inForce);
        QCOMPARE(optionChoices.zonderLevenden, !stores);
        window.show();
        QCOMPARE(EditTexts(window), inForce);
        QCOMPARE(box->isChecked(), !stores);
    }

    void EnterDoesNothing()
    {
        OptionChoices optionChoices{{"a/", "b/", "c/"}};
        TfrmOpties window(optionChoices);
        window.show();
        TypeInto(window, {"x/", "y/", "z/"});
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(Edit(window, "edtStyleSheetPath"), key);
            QVERIFY(window.isVisible());
        }
        QCOMPARE(PathsOf(optionChoices.optionPaths), QStringList({"a/", "b/", "c/"}));
        QCOMPARE(EditTexts(window), QStringList({"x/", "y/", "z/"}));
    }

    void StoredPathsReachTheNextPageHead_data()
    {
        QTest::addColumn<QString>("styleSheetPath");
        QTest::addColumn<QString>("expectedLink");
        QTest::newRow("directory with slash") << "css/"
                                              << "HREF=\"css/genealogie.css\"";
        QTest::newRow("upper case with backslash") << "CSS\\"
                                                   << "HREF=\"css\\genealogie.css\"";
        QTest::newRow("empty") << ""
                               << "HREF=\"genealogie.css\"";
    }

    void StoredPathsReachTheNextPageHead()
    {
        QFETCH(QString, styleSheetPath);
        QFETCH(QString, expectedLink);
        OptionChoices optionChoices;
        TfrmOpties window(optionChoices);
        window.show();
        TypeInto(window, {"Scripts/", styleSheetPath, ""});
        window.findChild<QAbstractButton*>(QStringLiteral("bbtnSluiten"))->click();

        const std::string head = PageHeadWith(optionChoices.optionPaths);
        QVERIFY2(head.find(expectedLink.toStdString()) != std::string::npos, head.c_str());
        QVERIFY2(head.find("SRC=\"scripts/genealogie.js\"") != std::string::npos, head.c_str());
    }
};

namespace {
const AppTestRegistration<TfrmOptiesTest> registration;
} // namespace

} // namespace stambrix::app::test

#include "options_window_test.moc"
