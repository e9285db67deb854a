#include "app/main_window.h"

#include "app_tests.h"
#include "recorded_interaction.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <optional>

namespace stambrix::app::test {

class TStambrixKeyboardTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { scope_.emplace(); }
    void cleanup() { scope_.reset(); }

    void pathFieldIsReadAndSelectedButNotChanged()
    {
        const QString path = "/home/gebruiker/Stamboom/" + QString(80, 'a') + "/voorbeeld.ged";
        OptionChoices optionChoices;
        TfrmStambrix window({path}, optionChoices);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* field = window.findChild<QLineEdit*>("edtBestandOpenen");
        QCOMPARE(field->toolTip(), path);

        field->setFocus();
        QTest::keyClick(field, Qt::Key_Home);
        QTest::keyClick(field, Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(field->selectedText(), path);
        QGuiApplication::clipboard()->setText("ander.ged");
        QTest::keyClicks(field, "x");
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(field->text(), path);

        scope_->interaction.answer = "/home/gebruiker/nieuw.ged";
        window.findChild<QToolButton*>("tbtnOpenen")->click();
        QCOMPARE(field->toolTip(), scope_->interaction.answer);
    }

    void enterRunsTheFocusedToolbarCommand_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("Return") << Qt::Key_Return;
        QTest::newRow("Enter") << Qt::Key_Enter;
    }

    void enterRunsTheFocusedToolbarCommand()
    {
        QFETCH(Qt::Key, key);
        OptionChoices optionChoices;
        TfrmStambrix window({}, optionChoices);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const auto press = [&window, key](const char* name) {
            auto* button = window.findChild<QToolButton*>(name);
            button->setFocus();
            QTest::keyClick(button, key);
        };
        press("tbtnOpenen");
        QCOMPARE(scope_->interaction.startFolders.size(), 1);
        QSignalSpy runEnded(&window, &TfrmStambrix::runEnded);
        press("tbtnUitvoeren");
        QVERIFY(runEnded.wait());
        QCOMPARE(scope_->interaction.messages, QStringList("Er is geen bestand opgegeven om te openen."));
        press("tbtnAfsluiten");
        QVERIFY(!window.isVisible());
    }

private:
    std::optional<WindowTestScope> scope_;
};

namespace {
const AppTestRegistration<TStambrixKeyboardTest> kRegistration;
}

} // namespace stambrix::app::test

#include "main_window_keyboard_test.moc"
