#include "app/run_reports.h"

#include "app_tests.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QTest>
#include <QThread>

#include <string>
#include <thread>

namespace stambrix::app::test {
namespace {

// Every call in order, marked with whether it was made on the test's own thread.
class RecordedCalls final : public progress::RunProgress, public progress::UserMessages
{
public:
    void Reset() override { Add("reset"); }
    void RecordsRead(std::uint64_t records) override { Add("read " + std::to_string(records)); }
    void EntriesWritten(std::uint64_t entries) override { Add("written " + std::to_string(entries)); }
    void TimeElapsed(std::uint32_t milliseconds) override { Add("time " + std::to_string(milliseconds)); }
    void ShowMessage(std::string_view text) override { Add("message " + std::string(text)); }
    void ShowFileNotCreated(std::string_view path, std::string_view reason) override
    {
        Add("not created " + std::string(path) + ": " + std::string(reason));
    }
    void ShowNote(std::string_view text) override { Add("note " + std::string(text)); }

    QList<QByteArray> calls;

private:
    void Add(const std::string& call)
    {
        const bool here = QThread::currentThread() == QCoreApplication::instance()->thread();
        calls.append((here ? "" : "elsewhere: ") + QByteArray::fromStdString(call));
    }
};

} // namespace

class RunReportsTest : public QObject
{
    Q_OBJECT

private slots:
    // A name that is not UTF-8 (windows-1252 «é») keeps its bytes on the way.
    void callsOnTheRunsThreadArriveHereInTheirOrder()
    {
        RecordedCalls recorded;
        RunReports reports(recorded, recorded);
        std::thread run([&reports] {
            reports.Reset();
            reports.RecordsRead(3);
            reports.ShowNote("wacht op een andere run in /genea/Ren\xE9/Stambrix");
            reports.EntriesWritten(2);
            reports.ShowFileNotCreated("/genea/Ren\xE9/Stambrix/genealogie.css", "No space left on device");
            reports.ShowMessage("Er zijn geen items gevonden.");
            reports.TimeElapsed(61'500);
        });
        run.join();
        QVERIFY(recorded.calls.isEmpty());
        QCoreApplication::processEvents();
        const QList<QByteArray> expected = {
            "reset",
            "read 3",
            "note wacht op een andere run in /genea/Ren\xE9/Stambrix",
            "written 2",
            "not created /genea/Ren\xE9/Stambrix/genealogie.css: No space left on device",
            "message Er zijn geen items gevonden.",
            "time 61500",
        };
        QCOMPARE(recorded.calls, expected);
    }
};

namespace {
const AppTestRegistration<RunReportsTest> kRegistration;
}

} // namespace stambrix::app::test

#include "run_reports_test.moc"
