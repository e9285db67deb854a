#include "progress/silent_progress.h"
#include "run/run_index.h"
#include "run/run_request.h"

#include "app_tests.h"
#include "test_support/child_run.h"
#include "test_support/generated_gedcom.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The program with windows ended by SIGINT, SIGTERM or SIGHUP (Ctrl-C, `kill`, the end of the session), in a
// child process: it ends with 128 + the signal's number, as stambrix-cli does, the run under way stopped with
// nothing of it left, or, in the middle of putting its files in place, finished whole.
namespace stambrix::app::test {
namespace {

using test_support::Child;
using test_support::ChildResult;
using test_support::ChildSetup;
using test_support::GeneratedGedcom;

const std::filesystem::path kWindowChild = STAMBRIX_WINDOW_CHILD_PATH;
const std::string kStopPreload = STAMBRIX_STOP_AT_TEMPORARY_PRELOAD;
const std::string kRenamePreload = STAMBRIX_RENAME_ERROR_PRELOAD;

/// Every entry of `folder`, hidden ones (temporary files) included, with the bytes of the files.
QMap<QString, QByteArray> FilesIn(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QFileInfo& entry : QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        QFile file(entry.filePath());
        files.insert(entry.fileName(), file.open(QIODevice::ReadOnly) ? file.readAll() : "");
    }
    return files;
}

/// The files in which two folders differ, one a line: missing, unexpected or with other bytes; "" when
/// they hold the same files with the same bytes.
QString DifferencesBetween(const QMap<QString, QByteArray>& expected, const QMap<QString, QByteArray>& actual)
{
    QStringList differences;
    for (auto file = expected.begin(); file != expected.end(); ++file)
        if (!actual.contains(file.key()))
            differences << file.key() + ": missing";
        else if (actual.value(file.key()) != file.value())
            differences << file.key() + QStringLiteral(": %1 bytes instead of %2")
                                            .arg(actual.value(file.key()).size())
                                            .arg(file.value().size());
    for (auto file = actual.begin(); file != actual.end(); ++file)
        if (!expected.contains(file.key()))
            differences << file.key() + ": unexpected";
    return differences.join('\n');
}

/// The number, counted from 1, of the first rename in the rename library's log at `path` that puts a
/// temporary file («.indexa.htm.<pid>.<n>.<n>.<n>.tmp») in its place; 0 when there is none.
int FirstRenameOfATemporaryFile(const QString& path)
{
    QFile log(path);
    if (!log.open(QIODevice::ReadOnly))
        return 0;
    int number = 0;
    for (const QByteArray& line : log.readAll().split('\n')) {
        if (!line.startsWith("rename "))
            continue;
        ++number;
        const QByteArray from = line.split(' ').value(1);
        if (from.startsWith('.') && from.endsWith(".tmp"))
            return number;
    }
    return 0;
}

/// The window's child with `args`, `library` preloaded into it with `variables` for it.
ChildSetup Preloading(std::vector<std::string> args, const std::string& library,
                      std::vector<std::string> variables = {})
{
    ChildSetup setup;
    setup.args = std::move(args);
    const QByteArray sanitizerOptions = qgetenv("ASAN_OPTIONS");
    variables.push_back("LD_PRELOAD=" + library);
    // AddressSanitizer wants to be the first library; this one comes before it.
    variables.push_back("ASAN_OPTIONS=" + sanitizerOptions.toStdString() + ":verify_asan_link_order=0");
    setup.environment = std::move(variables);
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

    void withoutARunEndsAtOnce_data() { AddSignalRows(); }
    void withoutARunEndsAtOnce()
    {
        QFETCH(int, signalNumber);
        Child child(kWindowChild, ChildSetup());
        QVERIFY2(child.WaitUntilStopped(), "the window did not come up");
        child.Send(signalNumber);
        child.Send(SIGCONT);
        const ChildResult result = child.Wait();
        QCOMPARE(result.signal, 0);
        QCOMPARE(result.exitCode, 128 + signalNumber);
    }

    void whileWritingRemovesItsTemporaryFileAndKeepsTheEarlierIndex_data() { AddSignalRows(); }
    void whileWritingRemovesItsTemporaryFileAndKeepsTheEarlierIndex()
    {
        QFETCH(int, signalNumber);
        const QMap<QString, QByteArray> before = WriteEarlierIndex(run::OutputKind::NaarTekst, false);
        Child child(kWindowChild, Preloading({Gedcom()}, kStopPreload));
        QVERIFY2(child.WaitUntilStopped(), "the run made no temporary file, or did not load the library");
        QCOMPARE(FilesIn(Output()).size(), before.size() + 1);

        // A stopped process takes the signal when it goes on.
        child.Send(signalNumber);
        child.Send(SIGCONT);
        const ChildResult result = child.Wait();

        QCOMPARE(result.signal, 0);
        QCOMPARE(result.exitCode, 128 + signalNumber);
        QVERIFY2(DifferencesBetween(before, FilesIn(Output())).isEmpty(),
                 qPrintable(DifferencesBetween(before, FilesIn(Output()))));
    }

    // The signal comes with the fifth of the thirty renames of a framed index: the renames go on to the
    // last, and the program ends with the new set whole.
    void duringThePublishLeavesTheNewSetWhole()
    {
        qputenv("SOURCE_DATE_EPOCH", "1700000000");
        const auto restore = qScopeGuard([] { qunsetenv("SOURCE_DATE_EPOCH"); });
        const QMap<QString, QByteArray> complete = CompleteIndex(run::OutputKind::Html, true);
        const QString log = work_->filePath("hernoemd.log");
        const std::vector<std::string> logged = {"STAMBRIX_RENAME_ERROR_LOG=" + log.toStdString()};

        // A run left alone tells which of the program's renames are the index's: the settings store's come first.
        WriteEarlierIndex(run::OutputKind::Html, true);
        Child undisturbed(kWindowChild, Preloading({Gedcom(), "html"}, kRenamePreload, logged));
        const bool published = QTest::qWaitFor([&] { return FilesIn(Output()) == complete; }, 60000);
        undisturbed.Send(SIGTERM);
        QCOMPARE(undisturbed.Wait().exitCode, 128 + SIGTERM);
        QVERIFY2(published, "the run left alone did not put its index in place");
        const int firstOfTheIndex = FirstRenameOfATemporaryFile(log);
        QVERIFY2(firstOfTheIndex > 0, "the library did not load, or logged no rename of the index");
        QFile::remove(log);

        const QMap<QString, QByteArray> earlier = WriteEarlierIndex(run::OutputKind::Html, true);
        QVERIFY(earlier != complete);
        std::vector<std::string> disturbed = logged;
        disturbed.push_back("STAMBRIX_RENAME_ERROR_AT=" + std::to_string(firstOfTheIndex + 4));
        disturbed.push_back("STAMBRIX_RENAME_ERROR_SIGNAL=1");
        const ChildResult result =
            Child(kWindowChild, Preloading({Gedcom(), "html"}, kRenamePreload, disturbed)).Wait();

        QFile renames(log);
        QVERIFY2(renames.open(QIODevice::ReadOnly) && renames.readAll().contains("SIGTERM"),
                 "the library did not send the signal");
        QCOMPARE(result.signal, 0);
        QCOMPARE(result.exitCode, 128 + SIGTERM);
        QVERIFY2(DifferencesBetween(complete, FilesIn(Output())).isEmpty(),
                 qPrintable(DifferencesBetween(complete, FilesIn(Output()))));
    }

    void hangUpStartedIgnoredAsUnderNohupLetsTheRunFinish()
    {
        const QMap<QString, QByteArray> before = WriteEarlierIndex(run::OutputKind::NaarTekst, false);
        const QMap<QString, QByteArray> complete = CompleteIndex(run::OutputKind::NaarTekst, false);
        ChildSetup setup = Preloading({Gedcom()}, kStopPreload);
        setup.ignoredSignals = {SIGHUP};
        Child child(kWindowChild, setup);
        QVERIFY2(child.WaitUntilStopped(), "the run made no temporary file, or did not load the library");

        child.Send(SIGHUP);
        child.Send(SIGCONT);
        const bool finished = QTest::qWaitFor([&] { return FilesIn(Output()) == complete; }, 60000);
        child.Send(SIGTERM);
        const ChildResult result = child.Wait();

        QVERIFY2(finished, "the run did not put the new index in place");
        QCOMPARE(result.exitCode, 128 + SIGTERM);
        QVERIFY2(DifferencesBetween(complete, FilesIn(Output())).isEmpty(),
                 qPrintable(DifferencesBetween(complete, FilesIn(Output()))));
    }

private:
    std::string Gedcom() const { return work_->filePath("stamboom.ged").toStdString(); }
    QString Output() const { return work_->filePath("Stambrix"); }

    /// Writes the index of a generated tree of `persons` persons at `gedcom` in this process.
    static void WriteIndexOf(const std::string& gedcom, std::size_t persons, run::OutputKind outputKind, bool inFrame)
    {
        WriteTree(gedcom, persons);
        run::RunRequest request;
        request.gedcomPath = gedcom;
        request.outputKind = outputKind;
        request.inFrame = inFrame;
        request.prefixes = names::DefaultPrefixes();
        progress::SilentProgress progress;
        progress::SilentMessages messages;
        if (run::RunIndex(request, progress, messages) != run::RunOutcome::Written)
            qFatal("no index of %s", gedcom.c_str());
    }

    static void WriteTree(const std::string& gedcom, std::size_t persons)
    {
        QFile file(QString::fromStdString(gedcom));
        const std::string tree = GeneratedGedcom(persons);
        if (!file.open(QIODevice::WriteOnly) || file.write(tree.data(), static_cast<qint64>(tree.size())) < 0)
            qFatal("cannot write %s", gedcom.c_str());
    }

    /// The index of a small tree, as an earlier run left it; the tree then grows.
    QMap<QString, QByteArray> WriteEarlierIndex(run::OutputKind outputKind, bool inFrame)
    {
        WriteIndexOf(Gedcom(), 40, outputKind, inFrame);
        WriteTree(Gedcom(), kPersons);
        return FilesIn(Output());
    }

    /// What a run on the grown tree writes over the earlier index when nothing stops it.
    QMap<QString, QByteArray> CompleteIndex(run::OutputKind outputKind, bool inFrame)
    {
        const QString elsewhere = work_->filePath("volledig");
        QDir().mkpath(elsewhere);
        const std::string gedcom = (elsewhere + "/stamboom.ged").toStdString();
        WriteIndexOf(gedcom, 40, outputKind, inFrame);
        WriteIndexOf(gedcom, kPersons, outputKind, inFrame);
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
