#include "app/record_identity.h"

#include "app/registry_store.h"

#include "app_tests.h"

#include <QDir>
#include <QTest>
#include <QUrl>

namespace stambrix::app::test {
namespace {

QString Read(const QString& baseKey, const QString& subKey, const QString& valueName)
{
    return TRegRead().ReadValue(RootKey::CurrentUser, baseKey, subKey, valueName);
}

QString ReadMaker(const char* valueName)
{
    return Read(kMakerKey, QString(), valueName);
}

QString ReadProgram(const char* valueName)
{
    return Read(kProgramBaseKey, kProgramSubKey, valueName);
}

const QString kProgramFolder = QStringLiteral("/opt/stambrix/bin");

} // namespace

class RecordIdentityTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { registry_ = std::make_unique<ScopedRegistryFile>(); }
    void cleanup() { registry_.reset(); }

    void FirstStartWritesBothRecords()
    {
        RecordIdentity(kProgramFolder);

        const QMap<QString, QString> contents = StoreContents(registry_->Path());
        QStringList maker;
        QStringList program;
        for (auto it = contents.cbegin(); it != contents.cend(); ++it) {
            QVERIFY2(!it.value().isEmpty(), qPrintable(it.key()));
            if (it.key().startsWith(QStringLiteral("Software/Wendmoor/Stambrix/1.00/Programma/")))
                program << it.key().section(QLatin1Char('/'), -1);
            else if (it.key().count(QLatin1Char('/')) == 2 && it.key().startsWith(QStringLiteral("Software/Wendmoor/")))
                maker << it.key().section(QLatin1Char('/'), -1);
            else
                QFAIL(qPrintable(QStringLiteral("unexpected value ") + it.key()));
        }
        maker.sort();
        program.sort();
        QCOMPARE(maker, QStringList({"Adres", "Email", "GiroNummer", "HomePage", "Logo", "Naam", "Plaats", "Postcode",
                                     "Telefoon", "Versie"}));
        QCOMPARE(program, QStringList({"Datum", "Email", "Exe", "Help", "Naam", "Path", "Versie"}));
    }

    void ValuesReadByTheWindows_data()
    {
        QTest::addColumn<bool>("makerRecord");
        QTest::addColumn<QString>("valueName");
        QTest::addColumn<QString>("expected");
        QTest::newRow("logo") << true << "Logo"
                              << "Wendmoor";
        QTest::newRow("maker version") << true << "Versie"
                                       << "4";
        QTest::newRow("program name") << false << "Naam"
                                      << "Stambrix";
        QTest::newRow("program version") << false << "Versie"
                                         << "1.00";
        QTest::newRow("program date") << false << "Datum"
                                      << "10 september 2006";
        QTest::newRow("executable") << false << "Exe"
                                    << "Stambrix.exe";
        QTest::newRow("help file") << false << "Help"
                                   << "Stambrix.hlp";
    }
    void ValuesReadByTheWindows()
    {
        QFETCH(bool, makerRecord);
        QFETCH(QString, valueName);
        QFETCH(QString, expected);
        RecordIdentity(kProgramFolder);
        const QString actual = makerRecord ? Read(kMakerKey, QString(), valueName)
                                           : Read(kProgramBaseKey, QStringLiteral("Programma"), valueName);
        QCOMPARE(actual, expected);
    }

    void AddressesAreOnReservedExampleDomains()
    {
        RecordIdentity(kProgramFolder);
        const QStringList hosts{ReadMaker("Email").section(QLatin1Char('@'), 1),
                                ReadProgram("Email").section(QLatin1Char('@'), 1), QUrl(ReadMaker("Homepage")).host()};
        for (const QString& host : hosts) {
            const bool reserved = host == QStringLiteral("example.org") || host == QStringLiteral("example.com") ||
                                  host.endsWith(QStringLiteral(".example.org")) ||
                                  host.endsWith(QStringLiteral(".example.com"));
            QVERIFY2(reserved, qPrintable(host));
        }
    }

    void SecondStartRestoresEditedAndRemovedValues()
    {
        RecordIdentity(kProgramFolder);
        const QMap<QString, QString> first = StoreContents(registry_->Path());
        {
            QSettings store(registry_->Path(), QSettings::IniFormat);
            store.setValue(QStringLiteral("Software/Wendmoor/Logo"), QStringLiteral("Iemand anders"));
            store.remove(QStringLiteral("Software/Wendmoor/Stambrix/1.00/Programma/Datum"));
        }
        QCOMPARE(ReadMaker("Logo"), QStringLiteral("Iemand anders"));

        RecordIdentity(kProgramFolder);

        QCOMPARE(ReadMaker("Logo"), QStringLiteral("Wendmoor"));
        QCOMPARE(ReadProgram("Datum"), QStringLiteral("10 september 2006"));
        QCOMPARE(StoreContents(registry_->Path()), first);
    }

    void PathFollowsTheProgramFolder_data()
    {
        QTest::addColumn<QString>("programFolder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("folder") << "/opt/stambrix/bin"
                                << "/opt/stambrix/bin/";
        QTest::newRow("folder given with separator") << "/opt/stambrix/bin/"
                                                     << "/opt/stambrix/bin/";
        QTest::newRow("file system root") << "/"
                                          << "/";
    }
    void PathFollowsTheProgramFolder()
    {
        QFETCH(QString, programFolder);
        QFETCH(QString, expected);
        RecordIdentity(QStringLiteral("/elders"));
        RecordIdentity(programFolder);
        QCOMPARE(ReadProgram("Path"), QDir::toNativeSeparators(expected));
    }

    void StaleProgramKeyGoesAndTheRecordStays()
    {
        TRegWrite().WriteValue(RootKey::CurrentUser, kMakerKey, QStringLiteral("Programma\\"), QStringLiteral("Naam"),
                               QStringLiteral("oud"));
        TRegWrite().WriteValue(RootKey::CurrentUser, kMakerKey, QStringLiteral("Programma\\Sub\\"),
                               QStringLiteral("Waarde"), QStringLiteral("oud"));
        RecordIdentity(kProgramFolder);
        QSettings store(registry_->Path(), QSettings::IniFormat);
        store.beginGroup(QStringLiteral("Software/Wendmoor"));
        QCOMPARE(store.childGroups(), QStringList({"Stambrix"}));
        QCOMPARE(ReadProgram("Naam"), QStringLiteral("Stambrix"));
    }

    void UnwritableStoreLetsTheStartGoOn()
    {
        const QString blocker = QDir(registry_->Folder()).filePath(QStringLiteral("bezet"));
        {
            QFile file(blocker);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("bezet\n");
        }
        qputenv("STAMBRIX_REGISTRY_FILE", QDir(blocker).filePath(QStringLiteral("registry.ini")).toLocal8Bit());
        RecordIdentity(kProgramFolder);
        QCOMPARE(ReadMaker("Homepage"), QString());
        QCOMPARE(ReadProgram("Email"), QString());
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("bezet\n"));
    }

private:
    std::unique_ptr<ScopedRegistryFile> registry_;
};

namespace {
const AppTestRegistration<RecordIdentityTest> registration;
} // namespace

} // namespace stambrix::app::test

#include "record_identity_test.moc"
