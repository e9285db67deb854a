#include "app/run_messages.h"

#include "app/main_window.h"
#include "app/radio_group.h"
#include "app/status_bar_panels.h"

#include "app_tests.h"
#include "recorded_interaction.h"
#include "window_run.h"

#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <optional>

namespace stambrix::app::test {
namespace {

QStringList PanelTexts(const QWidget& window)
{
    QStringList texts;
    for (int number = 1; number <= 3; ++number)
        texts << window.findChild<QLabel*>(QStringLiteral("sbarStambrixPanel%1").arg(number))->text();
    return texts;
}

QString WriteGedcom(const QTemporaryDir& folder, const QByteArray& content)
{
    const QString path = folder.filePath("fam.ged");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// Enough records that the panels are not painted after every one of them while the run lasts.
const QByteArray kThreePersonsWithoutOccupation = "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Jan /Berg/\r\n0 @I2@ INDI\r\n"
                                                  "1 NAME Anna /Aa/\r\n0 @I3@ INDI\r\n1 NAME Piet /Dijk/\r\n0 TRLR\r\n";

} // namespace

class RunMessagesTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { scope_.emplace(); }
    void cleanup() { scope_.reset(); }

    void nothingFoundIsInformationOverTheFinalPanels()
    {
        QTemporaryDir folder;
        OptionChoices optionChoices;
        TfrmStambrix window({WriteGedcom(folder, kThreePersonsWithoutOccupation)}, optionChoices);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.FormActivate();
        window.findChild<RadioGroup*>("rgrpEvent")->SetItemIndex(1);
        QStringList panelsWhileShown;
        scope_->interaction.whileShown = [&] { panelsWhileShown = PanelTexts(window); };
        QVERIFY(RunToTheEnd(window));

        QCOMPARE(scope_->interaction.messages, QStringList("Er zijn geen items gevonden."));
        QCOMPARE(scope_->interaction.kinds, QList{MessageKind::Information});
        QCOMPARE(panelsWhileShown.value(0), QStringLiteral("  gelezen : 3"));
        QVERIFY2(QRegularExpression("^  \\d\\d:\\d\\d:\\d\\d:\\d\\d$").match(panelsWhileShown.value(1)).hasMatch(),
                 qPrintable(panelsWhileShown.value(1)));
        QCOMPARE(panelsWhileShown.value(2), QStringLiteral("  regels geschreven"));
        QCOMPARE(PanelTexts(window), panelsWhileShown);
    }

    void noFileIsAWarning()
    {
        OptionChoices optionChoices;
        TfrmStambrix window({}, optionChoices);
        window.FormActivate();
        QVERIFY(RunToTheEnd(window));
        QCOMPARE(scope_->interaction.messages, QStringList("Er is geen bestand opgegeven om te openen."));
        QCOMPARE(scope_->interaction.kinds, QList{MessageKind::Warning});
    }

    // The stylesheet that cannot be made is told when the pages have been written, with their count.
    void fileNotCreatedWaitsForTheEndAsAWarning()
    {
        QStatusBar bar;
        StatusBarPanels panels(&bar);
        RunMessages messages(panels);
        messages.ShowFileNotCreated("/genea/Stambrix/genealogie.css", "No space left on device");
        panels.EntriesWritten(12);
        QVERIFY(scope_->interaction.messages.isEmpty());
        QString writtenWhileShown;
        scope_->interaction.whileShown = [&] {
            writtenWhileShown = bar.findChild<QLabel*>("sbarStambrixPanel3")->text();
        };
        messages.ShowAfterRun(nullptr, run::RunOutcome::Written, {});

        QCOMPARE(scope_->interaction.messages,
                 QStringList("Het bestand \r/genea/Stambrix/genealogie.css\rkon niet aangemaakt "
                             "worden.\rNo space left on device"));
        QCOMPARE(scope_->interaction.kinds, QList{MessageKind::Warning});
        QCOMPARE(writtenWhileShown, QStringLiteral("  geschreven : 12"));
    }

private:
    std::optional<WindowTestScope> scope_;
};

namespace {
const AppTestRegistration<RunMessagesTest> kRegistration;
}

} // namespace stambrix::app::test

#include "run_messages_test.moc"
