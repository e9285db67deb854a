#include "app/main_window.h"

#include "app/interaction.h"
#include "output/folder_lock.h"

#include "app_tests.h"
#include "recorded_interaction.h"
#include "window_run.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

// The main window's run while it is under way: the close box asks whether to stop it, the window may go,
// and the line that tells that living persons are left out.
namespace stambrix::app::test {
namespace {

/// Another run's turn in `folder`, held on a thread of its own until Release, or for 20 s at most, so that
/// a run that waits for it ends also when a test fails.
class OtherRunsTurn
{
public:
    explicit OtherRunsTurn(const QString& folder)
        : thread_([this, path = folder.toStdString()] {
              const output::FolderLock turn(path, [] {});
              taken_.set_value();
              release_.get_future().wait_for(std::chrono::seconds(20));
          })
    {
        taken_.get_future().wait();
    }
    ~OtherRunsTurn()
    {
        Release();
        thread_.join();
    }
    OtherRunsTurn(const OtherRunsTurn&) = delete;
    OtherRunsTurn& operator=(const OtherRunsTurn&) = delete;

    void Release()
    {
        if (!std::exchange(released_, true))
            release_.set_value();
    }

private:
    std::promise<void> taken_;
    std::promise<void> release_;
    bool released_ = false;
    std::thread thread_;
};

QString Panel(const TfrmStambrix& window, int number)
{
    return window.findChild<QLabel*>(QStringLiteral("sbarStambrixPanel%1").arg(number))->text();
}

const QByteArray kOnePerson = "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Jan /Berg/\r\n1 DEAT\r\n0 TRLR\r\n";
const QString kStopQuestion = QStringLiteral("De index wordt nog gemaakt. Stoppen?");

} // namespace

class TStambrixRunTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        scope_.emplace();
        QVERIFY(folder_.emplace().isValid());
        QVERIFY(QDir().mkpath(Output()));
        QFile earlier(Output() + "/Namen.txt");
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("Aa, Anna\t\t\t[@I7@]\r\n") > 0);
    }
    void cleanup()
    {
        folder_.reset();
        scope_.reset();
    }

    void closeBoxDuringARunAnsweredNeeLetsTheRunGoOn()
    {
        OtherRunsTurn otherRun(Output());
        OptionChoices optionChoices;
        TfrmStambrix window({Gedcom(kOnePerson)}, optionChoices);
        QSignalSpy ended(&window, &TfrmStambrix::runEnded);
        QVERIFY(StartWaitingRun(window));

        QVERIFY(!window.close());
        otherRun.Release();

        QVERIFY(ended.wait());
        QCOMPARE(scope_->interaction.questions, QStringList(kStopQuestion));
        QVERIFY(window.isVisible());
        QVERIFY2(scope_->interaction.messages.isEmpty(), qPrintable(scope_->interaction.messages.join('\n')));
        QCOMPARE(FilesIn(Output()).value("Namen.txt"), QByteArray("Berg, Jan\t\t\t[@I1@]\r\n"));
    }

    void closeBoxDuringARunAnsweredJaStopsItAndThenClosesKeepingTheEarlierIndex()
    {
        OtherRunsTurn otherRun(Output());
        const QMap<QString, QByteArray> before = FilesIn(Output());
        OptionChoices optionChoices;
        TfrmStambrix window({Gedcom(kOnePerson)}, optionChoices);
        QSignalSpy ended(&window, &TfrmStambrix::runEnded);
        QVERIFY(StartWaitingRun(window));
        scope_->interaction.yes = true;

        QVERIFY(!window.close());
        QVERIFY(window.isVisible());

        QVERIFY(ended.wait());
        QCOMPARE(scope_->interaction.questions, QStringList(kStopQuestion));
        QVERIFY(!window.isVisible());
        QVERIFY2(scope_->interaction.messages.isEmpty(), qPrintable(scope_->interaction.messages.join('\n')));
        QCOMPARE(FilesIn(Output()), before);
    }

    // A GEDCOM file dragged onto the window during a run shows as refused and is not taken afterwards either.
    void dropDuringARunIsRefused()
    {
        OtherRunsTurn otherRun(Output());
        OptionChoices optionChoices;
        TfrmStambrix window({Gedcom(kOnePerson)}, optionChoices);
        QSignalSpy ended(&window, &TfrmStambrix::runEnded);
        QVERIFY(StartWaitingRun(window));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(WriteFile(folder_->filePath("ander.ged"), kOnePerson))});

        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&window, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&window, &drop);
        otherRun.Release();

        QVERIFY(ended.wait());
        QVERIFY(!enter.isAccepted());
        QCOMPARE(window.findChild<QLineEdit*>("edtBestandOpenen")->text(), folder_->filePath("fam.ged"));
    }

    // As when the program ends during a run: the window's run is cancelled and waited for.
    void windowGoneDuringARunEndsTheRunFirst()
    {
        OtherRunsTurn otherRun(Output());
        const QMap<QString, QByteArray> before = FilesIn(Output());
        OptionChoices optionChoices;
        auto window = std::make_unique<TfrmStambrix>(QStringList(Gedcom(kOnePerson)), optionChoices);
        QVERIFY(StartWaitingRun(*window));

        window.reset();

        QCOMPARE(FilesIn(Output()), before);
    }

    void leftOutLineShowsWhileTheOptionIsOnWithTheNumberTheRunLeftOut()
    {
        OptionChoices optionChoices;
        TfrmStambrix window({Gedcom("0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Jan /Berg/\r\n1 BIRT\r\n"
                                    "2 DATE 1990\r\n0 @I2@ INDI\r\n1 NAME Anna /Aa/\r\n1 DEAT\r\n"
                                    "0 TRLR\r\n")},
                            optionChoices);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.FormActivate();
        auto* line = window.findChild<QLabel*>("lblZonderLevenden");
        QVERIFY(!line->isVisible());

        optionChoices.zonderLevenden = true;
        QVERIFY(RunToTheEnd(window));
        QVERIFY(line->isVisible());
        QCOMPARE(line->text(), QStringLiteral("Levende personen weglaten staat aan; weggelaten : 1"));
        QVERIFY(window.rect().contains(QRect(line->mapTo(&window, QPoint(0, 0)), line->size())));
        QVERIFY(line->sizeHint().width() <= line->width());

        optionChoices.zonderLevenden = false;
        QVERIFY(RunToTheEnd(window));
        QVERIFY(!line->isVisible());
    }

    // Whatever the run says when it finds nothing, the window adds why.
    void everyoneLeftOutSaysTheOptionDidIt()
    {
        OptionChoices optionChoices;
        TfrmStambrix window({Gedcom("0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Jan /Berg/\r\n0 @I2@ INDI\r\n"
                                    "1 NAME Anna /Aa/\r\n0 TRLR\r\n")},
                            optionChoices);
        window.FormActivate();
        optionChoices.zonderLevenden = true;
        QVERIFY(RunToTheEnd(window));

        QCOMPARE(scope_->interaction.messages.size(), 1);
        const QString message = scope_->interaction.messages.front();
        QVERIFY2(message.startsWith(QStringLiteral("Er zijn geen items gevonden")), qPrintable(message));
        QVERIFY2(message.endsWith(
                     QStringLiteral("\rMet de optie \"Levende personen weglaten\" zijn 2 personen weggelaten.")),
                 qPrintable(message));
        QCOMPARE(scope_->interaction.kinds, QList{MessageKind::Information});
    }

private:
    QString Output() const { return folder_->filePath("Stambrix"); }
    QString Gedcom(const QByteArray& bytes) const { return WriteFile(folder_->filePath("fam.ged"), bytes); }

    /// Shows the window and starts its run; true once the run says it waits for another run's turn.
    static bool StartWaitingRun(TfrmStambrix& window)
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        window.FormActivate();
        window.findChild<QToolButton*>("tbtnUitvoeren")->click();
        return QTest::qWaitFor(
            [&window] { return Panel(window, 3).startsWith(QStringLiteral("  wacht op een andere run")); });
    }

    std::optional<WindowTestScope> scope_;
    std::optional<QTemporaryDir> folder_;
};

namespace {
const AppTestRegistration<TStambrixRunTest> kRegistration;
}

} // namespace stambrix::app::test

#include "main_window_run_test.moc"
