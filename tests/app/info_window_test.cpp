#include "app/info_window.h"

#include "app/record_identity.h"
#include "app/registry_store.h"

#include "app_tests.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

namespace stambrix::app::test {
namespace {

const char* const kFilledLabels[] = {"lblProgrammaNaam", "lblVersieNummer", "lblVersieDatum", "lblNaam",
                                     "lblAdres",         "lblWoonplaats",   "lblTelefoon",    "lblSoftware"};

QLabel* Label(const QWidget& window, const char* name)
{
    auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    Q_ASSERT(label != nullptr);
    return label;
}

QStringList LabelTexts(const QWidget& window)
{
    QStringList texts;
    for (const char* name : kFilledLabels)
        texts << Label(window, name)->text();
    return texts;
}

void WriteMaker(const char* valueName, const char* value)
{
    TRegWrite().WriteValue(RootKey::CurrentUser, kMakerKey, QString(), valueName, value);
}

/// One pause of the animation as the window asked for it, with where the logo stood at that moment.
struct Pause
{
    int milliseconds;
    int logoTop;
    QColor logoColour;
    bool operator==(const Pause&) const = default;
};

/// The information window with a pause seam that records instead of sleeping.
struct RecordedWindow
{
    RecordedWindow()
    {
        window.SetPause([this](int milliseconds) {
            const QLabel* logo = Label(window, "lblSoftware");
            pauses.push_back({milliseconds, logo->y(), logo->palette().color(QPalette::WindowText)});
        });
    }

    /// Shows the window and waits until its activation has played the animation.
    bool ShowAndAnimate()
    {
        pauses.clear();
        window.show();
        // The animation runs whole in one call once the window is on the screen.
        return QTest::qWaitFor([this] { return !pauses.empty(); }, 10000);
    }

    TfrmwmInfoTool window;
    std::vector<Pause> pauses;
};

std::vector<Pause> ExpectedPauses()
{
    std::vector<Pause> pauses;
    for (int top = 124; top >= 82; top -= 3)
        pauses.push_back({20, top, QColor(0, 128, 128)});
    return pauses;
}

} // namespace

class TfrmwmInfoToolTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { registry_ = std::make_unique<ScopedRegistryFile>(); }
    void cleanup() { registry_.reset(); }

    void ShowingFillsLabelsFromTheRecords()
    {
        RecordIdentity(QStringLiteral("/opt/stambrix/bin"));
        // The postcode is read as "PostCode"; the store's own spelling differs only in case.
        WriteMaker("Postcode", "1234 AB");
        WriteMaker("Plaats", "Dalfsen");
        WriteMaker("Naam", "J. de Vries");
        WriteMaker("Adres", "Kerkstraat 1");
        WriteMaker("Telefoon", "0529 - 000000");
        RecordedWindow recorded;
        QVERIFY(recorded.ShowAndAnimate());

        QCOMPARE(LabelTexts(recorded.window),
                 QStringList({"Stambrix", "versie 1.00", "10 september 2006", "J. de Vries", "Kerkstraat 1",
                              "1234 AB  Dalfsen", "0529 - 000000", "Wendmoor"}));
        QCOMPARE(Label(recorded.window, "lblCopyRight")->text(), QStringLiteral("Inlichtingen bij :"));
    }

    void EveryShowingReadsTheRecordsAgain()
    {
        RecordedWindow recorded;
        QVERIFY(recorded.ShowAndAnimate());
        recorded.window.findChild<QAbstractButton*>(QStringLiteral("bbtnSluiten"))->click();
        QVERIFY(!recorded.window.isVisible());

        RecordIdentity(QStringLiteral("/opt/stambrix/bin"));
        QVERIFY(recorded.ShowAndAnimate());
        QCOMPARE(Label(recorded.window, "lblProgrammaNaam")->text(), QStringLiteral("Stambrix"));
        QVERIFY(!Label(recorded.window, "lblNaam")->text().isEmpty());
    }

    void EmptyRegistryGivesEmptyLabelsAndStillAnimates()
    {
        RecordedWindow recorded;
        QVERIFY(recorded.ShowAndAnimate());
        QCOMPARE(LabelTexts(recorded.window), QStringList({"", "versie ", "", "", "", "  ", "", ""}));
        QCOMPARE(recorded.pauses, ExpectedPauses());
    }

    void LogoRisesFromTopOneTwentySevenToEightyTwoAtEveryShowing()
    {
        RecordIdentity(QStringLiteral("/opt/stambrix/bin"));
        RecordedWindow recorded;
        const QLabel* logo = Label(recorded.window, "lblSoftware");
        for (int showing = 1; showing <= 2; ++showing) {
            QVERIFY(recorded.ShowAndAnimate());
            QCOMPARE(recorded.pauses, ExpectedPauses());
            QCOMPARE(logo->geometry(), QRect(6, 82, 159, 33));
            QCOMPARE(logo->palette().color(QPalette::WindowText), QColor(0, 0, 255));
            QCOMPARE(logo->font().family(), QStringLiteral("Comic Sans MS"));
            QCOMPARE(logo->font().pointSize(), 21);
            QVERIFY(logo->font().bold());
            QVERIFY(logo->font().italic());
            recorded.window.findChild<QAbstractButton*>(QStringLiteral("bbtnSluiten"))->click();
            QVERIFY(!recorded.window.isVisible());
        }
    }

    void EscapeDoesNotClose()
    {
        RecordedWindow recorded;
        QVERIFY(recorded.ShowAndAnimate());
        QTest::keyClick(&recorded.window, Qt::Key_Escape);
        QVERIFY(recorded.window.isVisible());
    }

private:
    std::unique_ptr<ScopedRegistryFile> registry_;
};

namespace {
const AppTestRegistration<TfrmwmInfoToolTest> registration;
} // namespace

} // namespace stambrix::app::test

#include "info_window_test.moc"
