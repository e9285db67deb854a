#include "app/failure_message.h"

#include "app_tests.h"

#include <QTest>

namespace stambrix::app::test {

class FailureMessageTest : public QObject
{
    Q_OBJECT

private slots:
    void RunFailureSaysWhatFailed_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("message");
        QTest::newRow("map") << "/genea/Stambrix"
                             << "Toegang geweigerd"
                             << "De map \"/genea/Stambrix\" kan niet worden gemaakt: Toegang geweigerd.";
        QTest::newRow("stamboom")
            << "/genea/fam.ged"
            << "Bestand of map bestaat niet"
            << "Het bestand \"/genea/fam.ged\" kan niet worden gelezen: Bestand of map bestaat niet.";
        QTest::newRow("index") << "/genea/Stambrix/indexb.htm"
                               << "Geen ruimte meer over op apparaat"
                               << "Het bestand \"/genea/Stambrix/indexb.htm\" kan niet worden geschreven: Geen ruimte "
                                  "meer over op apparaat.";
        QTest::newRow("sortering") << "ICU-sortering voor nl"
                                   << "U_MISSING_RESOURCE_ERROR"
                                   << "De index kan niet worden gesorteerd (ICU-sortering voor nl): "
                                      "U_MISSING_RESOURCE_ERROR.";
    }

    void RunFailureSaysWhatFailed()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QFETCH(QString, message);
        scan::RunRequest request;
        request.gedcomPath = "/genea/fam.ged";
        QCOMPARE(RunFailureMessage(IoError(path.toStdString(), reason.toStdString()), request), message);
    }

    void UnreadablePrefixFileIsNamedWithItsReason()
    {
        QCOMPARE(UnreadableFileMessage(IoError("/opt/stambrix/Voorzetsels.txt", "Is een map")),
                 QStringLiteral("Het bestand \"/opt/stambrix/Voorzetsels.txt\" kan niet worden gelezen: Is een map."));
    }
};

namespace {
const AppTestRegistration<FailureMessageTest> registration;
} // namespace

} // namespace stambrix::app::test

#include "failure_message_test.moc"
