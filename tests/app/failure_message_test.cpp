#include "app/failure_message.h"

#include "app_tests.h"

#include <QTest>

#include <cerrno>

namespace stambrix::app::test {

class FailureMessageTest : public QObject
{
    Q_OBJECT

private slots:
    // The folder, the GEDCOM file and the index files are shown through the main window's runs.
    void SortThatCannotBeSetUpIsNamedWithIcusError()
    {
        run::RunRequest request;
        request.gedcomPath = "/genea/fam.ged";
        QCOMPARE(
            RunFailureMessage(text::RunFailure("ICU-sortering voor nl", "U_MISSING_RESOURCE_ERROR"), request),
            QStringLiteral("De index kan niet worden gesorteerd (ICU-sortering voor nl): U_MISSING_RESOURCE_ERROR."));
    }

    void IndexBeyondTheMemoryIsNamedAsSuch()
    {
        run::RunRequest request;
        request.gedcomPath = "/genea/fam.ged";
        QCOMPARE(
            RunFailureMessage(text::RunFailure(request.gedcomPath, "Kan geen geheugen reserveren", ENOMEM), request),
            QStringLiteral("De index van \"/genea/fam.ged\" past niet in het geheugen: Kan geen geheugen reserveren."));
    }

    void GedcomFileChangedWhileReadSaysNothingWasWritten()
    {
        run::RunRequest request;
        request.gedcomPath = "/genea/fam.ged";
        QCOMPARE(RunFailureMessage(text::RunFailure(request.gedcomPath, run::kChangedWhileRead), request),
                 QStringLiteral("Het bestand \"/genea/fam.ged\" is veranderd terwijl het gelezen werd; er is niets "
                                "geschreven. Voer de opdracht opnieuw uit als het bestand klaar is."));
    }

    void UnreadablePrefixFileIsNamedWithItsReason()
    {
        QCOMPARE(UnreadableFileMessage(text::RunFailure("/opt/stambrix/Voorzetsels.txt", "Is een map")),
                 QStringLiteral("Het bestand \"/opt/stambrix/Voorzetsels.txt\" kan niet worden gelezen: Is een map."));
    }
};

namespace {
const AppTestRegistration<FailureMessageTest> registration;
} // namespace

} // namespace stambrix::app::test

#include "failure_message_test.moc"
