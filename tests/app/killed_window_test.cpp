#include "progress/silent_progress.h"
#include "run/run_index.h"

#include "app_tests.h"
#include "test_support/child_run.h"
#include "test_support/generated_gedcom.h"
#include "window_run.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>
#include <string>
#include <vector>

// The program with windows, in a child process, ended by SIGINT, SIGTERM or SIGHUP: with 128 + the signal's
// number, the run under way stopped and nothing of it left, or, while it puts its files in place, finished.
namespace stambrix::app::test {
namespace {

using test_support::Child;
using test_support::ChildResult;
using test_support::ChildSetup;

/// The window's child with `args`, the library `preload` loaded into it, and `environment`.
ChildSetup WindowChild(std::vector<std::string> args, const char* preload, std::vector<std::string> environment = {})
{
    ChildSetup setup;
    setup.args = std::move(args);
    // AddressSanitizer wants to be the first library; the preloaded one comes before it.
    environment.push_back(std::string("LD_PRELOAD=") + preload);
    environment.push_back("ASAN_OPTIONS=" + qgetenv("ASAN_OPTIONS").toStdString() + ":verify_asan_link_order=0");
    setup.environment = std::move(environment);
    return setup;
}

void AddSignalRows()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
}

} // namespace

class KilledWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        registry_.emplace();
        QVERIFY(work_.emplace().isValid());
    }
    void cleanup()
    {
        work_.reset();
        registry_.reset();
    }

    void whileWritingRemovesItsTemporaryFileAndKeepsTheEarlierIndex_data() { AddSignalRows(); }
    void whileWritingRemovesItsTemporaryFileAndKeepsTheEarlierIndex()
    {
        QFETCH(int, signalNumber);
        const QMap<QString, QByteArray> before = WriteEarlierIndex(run::OutputKind::NaarTekst, false);
        Child child(STAMBRIX_WINDOW_CHILD_PATH, WindowChild({Gedcom()}, STAMBRIX_STOP_AT_TEMPORARY_PRELOAD));
        QVERIFY2(child.WaitUntilStopped(), "the run made no temporary file, or did not load the library");

        // A stopped process takes the signal when it goes on.
        child.Send(signalNumber);
        child.Send(SIGCONT);
        const ChildResult result = child.Wait();

        QCOMPARE(result.exitCode, 128 + signalNumber);
        QCOMPARE(FilesIn(Output()).keys(), before.keys());
        QVERIFY(FilesIn(Output()) == before);
    }

    // The signal comes with the fifth rename of a framed index of thirty files; the settings store cannot
    // be written, so the index's renames are the program's only ones.
    void duringThePublishLeavesTheNewSetWhole()
    {
        qputenv("SOURCE_DATE_EPOCH", "1700000000");
        const auto restore = qScopeGuard([] { qunsetenv("SOURCE_DATE_EPOCH"); });
        const QMap<QString, QByteArray> complete = CompleteIndex(run::OutputKind::Html, true);
        QVERIFY(WriteEarlierIndex(run::OutputKind::Html, true) != complete);
        const QString log = work_->filePath("hernoemd.log");

        const ChildResult result = Child(STAMBRIX_WINDOW_CHILD_PATH,
                                         WindowChild({Gedcom(), "html"}, STAMBRIX_RENAME_ERROR_PRELOAD,
                                                     {"STAMBRIX_RENAME_ERROR_AT=5", "STAMBRIX_RENAME_ERROR_SIGNAL=1",
                                                      "STAMBRIX_RENAME_ERROR_LOG=" + log.toStdString(),
                                                      "STAMBRIX_REGISTRY_FILE=/dev/null/registry.ini"}))
                                       .Wait();

        QFile renames(log);
        QVERIFY2(renames.open(QIODevice::ReadOnly) && renames.readAll().contains("SIGTERM"), "no signal was sent");
        QCOMPARE(result.exitCode, 128 + SIGTERM);
        QCOMPARE(FilesIn(Output()).keys(), complete.keys());
        QVERIFY(FilesIn(Output()) == complete);
    }

    // Once the run is over, the window ends at once on a signal.
    void hangUpStartedIgnoredAsUnderNohupLetsTheRunFinish()
    {
        WriteEarlierIndex(run::OutputKind::NaarTekst, false);
        const QMap<QString, QByteArray> complete = CompleteIndex(run::OutputKind::NaarTekst, false);
        ChildSetup setup = WindowChild({Gedcom()}, STAMBRIX_STOP_AT_TEMPORARY_PRELOAD);
        setup.ignoredSignals = {SIGHUP};
        Child child(STAMBRIX_WINDOW_CHILD_PATH, setup);
        QVERIFY2(child.WaitUntilStopped(), "the run made no temporary file, or did not load the library");

        child.Send(SIGHUP);
        child.Send(SIGCONT);
        const bool finished = QTest::qWaitFor([&] { return FilesIn(Output()) == complete; }, 60000);
        child.Send(SIGTERM);

        QCOMPARE(child.Wait().exitCode, 128 + SIGTERM);
        QVERIFY2(finished, "the run did not put its index in place");
    }

private:
    std::string Gedcom() const { return work_->filePath("stamboom.ged").toStdString(); }
    QString Output() const { return work_->filePath("Stambrix"); }

    /// Writes a generated tree of `persons` persons at `gedcom`, and with `index` its index, in this process.
    static void WriteTree(const std::string& gedcom, std::size_t persons, bool index, run::OutputKind outputKind,
                          bool inFrame)
    {
        WriteFile(QString::fromStdString(gedcom), QByteArray::fromStdString(test_support::GeneratedGedcom(persons)));
        run::RunRequest request;
        request.gedcomPath = gedcom;
        request.choices.outputKind = outputKind;
        request.choices.inFrame = inFrame;
        request.prefixes = names::DefaultPrefixes();
        progress::SilentProgress progress;
        progress::SilentMessages messages;
        if (index && run::RunIndex(request, progress, messages) != run::RunOutcome::Written)
            qFatal("no index of %s", gedcom.c_str());
    }

    /// The index of a small tree, as an earlier run left it; the tree then grows.
    QMap<QString, QByteArray> WriteEarlierIndex(run::OutputKind outputKind, bool inFrame)
    {
        WriteTree(Gedcom(), 40, true, outputKind, inFrame);
        WriteTree(Gedcom(), kPersons, false, outputKind, inFrame);
        return FilesIn(Output());
    }

    /// What a run on the grown tree leaves over the earlier index when nothing stops it.
    QMap<QString, QByteArray> CompleteIndex(run::OutputKind outputKind, bool inFrame)
    {
        const QString elsewhere = work_->filePath("volledig");
        QDir().mkpath(elsewhere);
        WriteTree((elsewhere + "/stamboom.ged").toStdString(), 40, true, outputKind, inFrame);
        WriteTree((elsewhere + "/stamboom.ged").toStdString(), kPersons, true, outputKind, inFrame);
        return FilesIn(elsewhere + "/Stambrix");
    }

    static constexpr std::size_t kPersons = 2000;

    std::optional<ScopedRegistryFile> registry_;
    std::optional<QTemporaryDir> work_;
};

namespace {
const AppTestRegistration<KilledWindowTest> kRegistration;
}

} // namespace stambrix::app::test

#include "killed_window_test.moc"
