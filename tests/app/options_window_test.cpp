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
    void ClosingStoresOnlyThroughSluiten_data()
    {
        QTest::addColumn<bool>("bySluiten");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("storedAfter");
        const QStringList former{"oud/js/", "oud/css/", "oud/"};
        // Texts are taken as typed: blanks, backslashes and an empty edit included.
        const QStringList typed{" ../js ", "CSS\\", ""};
        QTest::newRow("Sluiten stores the edits") << true << typed << typed;
        QTest::newRow("close box keeps the former paths") << false << typed << former;
    }

    void ClosingStoresOnlyThroughSluiten()
    {
        QFETCH(bool, bySluiten);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, storedAfter);
        OptionChoices optionChoices{{"oud/js/", "oud/css/", "oud/"}};
        TfrmOpties window(optionChoices);
        window.show();
        QCOMPARE(EditTexts(window), QStringList({"", "", ""}));

        TypeInto(window, typed);
        if (bySluiten)
            window.findChild<QAbstractButton*>(QStringLiteral("bbtnSluiten"))->click();
        else
            QVERIFY(window.close());

        QVERIFY(!window.isVisible());
        QCOMPARE(PathsOf(optionChoices.optionPaths), storedAfter);
        // The window is only hidden: the next showing has what was typed, stored or not.
        window.show();
        QCOMPARE(EditTexts(window), typed);
    }

    void EnterDoesNothingAndEscapeClosesWithoutStoring()
    {
        OptionChoices optionChoices{{"a/", "b/", "c/"}};
        TfrmOpties window(optionChoices);
        window.show();
        TypeInto(window, {"x/", "y/", "z/"});
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(Edit(window, "edtStyleSheetPath"), key);
            QVERIFY(window.isVisible());
        }
        QTest::keyClick(Edit(window, "edtStyleSheetPath"), Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QCOMPARE(PathsOf(optionChoices.optionPaths), QStringList({"a/", "b/", "c/"}));
        window.show();
        QCOMPARE(EditTexts(window), QStringList({"x/", "y/", "z/"}));
    }

    void CheckBoxIsStoredOnlyThroughSluiten()
    {
        OptionChoices optionChoices;
        TfrmOpties window(optionChoices);
        auto* box = window.findChild<QCheckBox*>(QStringLiteral("cbxZonderLevenden"));
        window.show();
        QVERIFY(!box->isChecked());
        box->setChecked(true);
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QVERIFY(!optionChoices.zonderLevenden);
        window.show();
        QVERIFY(box->isChecked());
        window.findChild<QAbstractButton*>(QStringLiteral("bbtnSluiten"))->click();
        QVERIFY(optionChoices.zonderLevenden);
        window.show();
        box->setChecked(false);
        QVERIFY(window.close());
        QVERIFY(optionChoices.zonderLevenden);
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
