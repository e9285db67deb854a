#include "app/registry_store.h"

#include "app_tests.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace stambrix::app::test {
namespace {

const QString kBase = QStringLiteral("Software\\Wendmoor\\");

QString Read(const QString& baseKey, const QString& subKey, const QString& valueName)
{
    return TRegRead().ReadValue(RootKey::CurrentUser, baseKey, subKey, valueName);
}

void Write(const QString& baseKey, const QString& subKey, const QString& valueName, const QString& value)
{
    TRegWrite().WriteValue(RootKey::CurrentUser, baseKey, subKey, valueName, value);
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class WmRegTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { registry_ = std::make_unique<ScopedRegistryFile>(); }
    void cleanup() { registry_.reset(); }

    void ValueNamesMatchWithoutCase_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("read");
        QTest::newRow("HomePage read as Homepage") << "HomePage"
                                                   << "Homepage";
        QTest::newRow("Postcode read as PostCode") << "Postcode"
                                                   << "PostCode";
        QTest::newRow("same case") << "Logo"
                                   << "Logo";
        QTest::newRow("all capitals") << "Naam"
                                      << "NAAM";
    }
    void ValueNamesMatchWithoutCase()
    {
        QFETCH(QString, written);
        QFETCH(QString, read);
        Write(kBase, QString(), written, QStringLiteral("waarde"));
        QCOMPARE(Read(kBase, QString(), read), QStringLiteral("waarde"));
    }

    void WriteInOtherCaseReplacesTheValue()
    {
        Write(kBase, QString(), QStringLiteral("HomePage"), QStringLiteral("oud"));
        Write(kBase, QString(), QStringLiteral("homepage"), QStringLiteral("nieuw"));
        QCOMPARE(Read(kBase, QString(), QStringLiteral("HOMEPAGE")), QStringLiteral("nieuw"));
        const QMap<QString, QString> expected{{QStringLiteral("Software/Wendmoor/HomePage"), QStringLiteral("nieuw")}};
        QCOMPARE(StoreContents(registry_->Path()), expected);
    }

    void SpellingsOfOneKey_data()
    {
        QTest::addColumn<QString>("writeBase");
        QTest::addColumn<QString>("writeSub");
        QTest::addColumn<QString>("readBase");
        QTest::addColumn<QString>("readSub");
        QTest::newRow("sub-key with and without trailing backslash") << "Software\\Wendmoor\\Stambrix\\1.00\\"
                                                                     << "Programma\\"
                                                                     << "Software\\Wendmoor\\Stambrix\\1.00\\"
                                                                     << "Programma";
        QTest::newRow("base key without trailing backslash") << "Software\\Wendmoor\\"
                                                             << ""
                                                             << "Software\\Wendmoor"
                                                             << "";
        QTest::newRow("split between base and sub-key elsewhere") << "Software\\Wendmoor\\Stambrix\\1.00\\"
                                                                  << "Programma"
                                                                  << "Software\\Wendmoor\\"
                                                                  << "Stambrix\\1.00\\Programma\\";
        QTest::newRow("key names in another case") << "Software\\Wendmoor\\"
                                                   << "Programma"
                                                   << "SOFTWARE\\wendmoor\\"
                                                   << "programma";
    }
    void SpellingsOfOneKey()
    {
        QFETCH(QString, writeBase);
        QFETCH(QString, writeSub);
        QFETCH(QString, readBase);
        QFETCH(QString, readSub);
        Write(writeBase, writeSub, QStringLiteral("Naam"), QStringLiteral("eerste"));
        QCOMPARE(Read(readBase, readSub, QStringLiteral("Naam")), QStringLiteral("eerste"));
        // Writing through the other spelling changes the same value instead of making a second key.
        Write(readBase, readSub, QStringLiteral("Naam"), QStringLiteral("tweede"));
        QCOMPARE(Read(writeBase, writeSub, QStringLiteral("Naam")), QStringLiteral("tweede"));
        QCOMPARE(StoreContents(registry_->Path()).size(), 1);
    }

    void ReadOfMissingStoreCreatesNothing()
    {
        QCOMPARE(Read(kBase, QString(), QStringLiteral("Logo")), QString());
        QVERIFY(!QFileInfo::exists(registry_->Path()));
    }

    void ReadOfMissingKeyOrValueCreatesNothing_data()
    {
        QTest::addColumn<QString>("subKey");
        QTest::addColumn<QString>("valueName");
        QTest::newRow("missing key") << "Programma\\Oud\\"
                                     << "Naam";
        QTest::newRow("missing value in existing key") << ""
                                                       << "Adres";
    }
    void ReadOfMissingKeyOrValueCreatesNothing()
    {
        QFETCH(QString, subKey);
        QFETCH(QString, valueName);
        Write(kBase, QString(), QStringLiteral("Logo"), QStringLiteral("Wendmoor"));
        const QByteArray before = FileBytes(registry_->Path());
        QCOMPARE(Read(kBase, subKey, valueName), QString());
        QCOMPARE(FileBytes(registry_->Path()), before);
        QSettings store(registry_->Path(), QSettings::IniFormat);
        store.beginGroup(QStringLiteral("Software/Wendmoor"));
        QCOMPARE(store.childGroups(), QStringList());
    }

    void RemoveKeyTakesSubKeysAndLeavesTheRest()
    {
        Write(kBase, QStringLiteral("Programma\\"), QStringLiteral("Naam"), QStringLiteral("oud"));
        Write(kBase, QStringLiteral("Programma\\Sub\\Dieper\\"), QStringLiteral("Waarde"), QStringLiteral("diep"));
        Write(kBase, QStringLiteral("Stambrix\\1.00\\Programma\\"), QStringLiteral("Naam"), QStringLiteral("Stambrix"));
        Write(kBase, QStringLiteral("ProgrammaNaast\\"), QStringLiteral("Naam"), QStringLiteral("buur"));
        Write(kBase, QString(), QStringLiteral("Logo"), QStringLiteral("Wendmoor"));

        QVERIFY(TRegDeleteBool().RemoveKey(RootKey::CurrentUser, kBase, QStringLiteral("programma")));

        const QMap<QString, QString> expected{
            {QStringLiteral("Software/Wendmoor/Logo"), QStringLiteral("Wendmoor")},
            {QStringLiteral("Software/Wendmoor/ProgrammaNaast/Naam"), QStringLiteral("buur")},
            {QStringLiteral("Software/Wendmoor/Stambrix/1.00/Programma/Naam"), QStringLiteral("Stambrix")},
        };
        QCOMPARE(StoreContents(registry_->Path()), expected);
    }

    void RemoveOfMissingKeyIsFalse_data()
    {
        QTest::addColumn<bool>("storeExists");
        QTest::addColumn<QString>("subKey");
        QTest::newRow("no store at all") << false << "Programma";
        QTest::newRow("key missing from the store") << true << "Programma";
        QTest::newRow("empty key path") << true << "";
    }
    void RemoveOfMissingKeyIsFalse()
    {
        QFETCH(bool, storeExists);
        QFETCH(QString, subKey);
        if (storeExists)
            Write(QStringLiteral("Anders\\"), QString(), QStringLiteral("Logo"), QStringLiteral("Wendmoor"));
        const QByteArray before = FileBytes(registry_->Path());
        const QString base = subKey.isEmpty() ? QString() : kBase;
        QVERIFY(!TRegDeleteBool().RemoveKey(RootKey::CurrentUser, base, subKey));
        QCOMPARE(QFileInfo::exists(registry_->Path()), storeExists);
        QCOMPARE(FileBytes(registry_->Path()), before);
    }

    void UnwritableStoreFailsSilently()
    {
        // A file where the store's folder should be: no one, not even root, can make the store there.
        const QString blocker = QDir(registry_->Folder()).filePath(QStringLiteral("bezet"));
        {
            QFile file(blocker);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("niet van de registry\n");
        }
        qputenv("STAMBRIX_REGISTRY_FILE", QDir(blocker).filePath(QStringLiteral("registry.ini")).toLocal8Bit());

        Write(kBase, QString(), QStringLiteral("Logo"), QStringLiteral("Wendmoor"));
        QCOMPARE(Read(kBase, QString(), QStringLiteral("Logo")), QString());
        QVERIFY(!TRegDeleteBool().RemoveKey(RootKey::CurrentUser, kBase, QString()));
        QCOMPARE(FileBytes(blocker), QByteArray("niet van de registry\n"));
    }

    void MalformedStoreKeepsWhatCanBeRead()
    {
        {
            QFile file(registry_->Path());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[[kapot\n\x01\x02 geen sleutel\n[Software]\nAnder\\Naam=van een ander programma\n");
        }
        Write(kBase, QString(), QStringLiteral("Logo"), QStringLiteral("Wendmoor"));
        QCOMPARE(Read(kBase, QString(), QStringLiteral("Logo")), QStringLiteral("Wendmoor"));
        QCOMPARE(StoreContents(registry_->Path()).value(QStringLiteral("Software/Ander/Naam")),
                 QStringLiteral("van een ander programma"));
    }

    void ReadOnlyStoreKeepsItsContents()
    {
        Write(kBase, QString(), QStringLiteral("Logo"), QStringLiteral("Wendmoor"));
        const QByteArray before = FileBytes(registry_->Path());
        // The folder is made unwritable and the file read-only; root ignores both, so then there is nothing
        // to show.
        QFile::setPermissions(registry_->Path(), QFileDevice::ReadOwner);
        QFile::setPermissions(registry_->Folder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (QFile probe(registry_->Path()); probe.open(QIODevice::ReadWrite)) {
            QFile::setPermissions(registry_->Folder(),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QSKIP("the store stays writable for this user (root)");
        }

        Write(kBase, QString(), QStringLiteral("Logo"), QStringLiteral("anders"));
        Write(kBase, QStringLiteral("Nieuw\\"), QStringLiteral("Naam"), QStringLiteral("nieuw"));
        const bool removed = TRegDeleteBool().RemoveKey(RootKey::CurrentUser, kBase, QString());
        QFile::setPermissions(registry_->Folder(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        QVERIFY(!removed);
        QCOMPARE(Read(kBase, QString(), QStringLiteral("Logo")), QStringLiteral("Wendmoor"));
        QCOMPARE(Read(kBase, QStringLiteral("Nieuw"), QStringLiteral("Naam")), QString());
        QCOMPARE(FileBytes(registry_->Path()), before);
    }

private:
    std::unique_ptr<ScopedRegistryFile> registry_;
};

namespace {
const AppTestRegistration<WmRegTest> registration;
} // namespace

} // namespace stambrix::app::test

#include "registry_store_test.moc"
