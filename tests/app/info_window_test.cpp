#include "app/info_window.h"

#include "app/record_identity.h"
#include "app/registry_store.h"

#include "app_tests.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QScopeGuard>
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

/// Where the logo stood after one of its moves, and in which colour.
struct Step
{
    int logoTop;
    QColor logoColour;
    bool operator==(const Step&) const = default;
};

/// The logo's text is whole in its label, and the label within its panel's sides, in the face in use.
bool LogoIsWhole(const QLabel& logo)
{
    const QFontMetrics metrics(logo.font());
    const QRect ink = metrics.boundingRect(logo.text());
    const int left = (logo.width() - metrics.horizontalAdvance(logo.text())) / 2;
    const QRect panel = logo.parentWidget()->contentsRect();
    return left + ink.left() >= 0 && left + ink.right() < logo.width() && logo.height() >= metrics.height() &&
           logo.x() >= panel.left() && logo.geometry().right() <= panel.right();
}

/// The information window with every move of its logo recorded.
class RecordedWindow final : public QObject
{
public:
    RecordedWindow() { Label(window, "lblSoftware")->installEventFilter(this); }

    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == QEvent::Move) {
            const QLabel* logo = Label(window, "lblSoftware");
            steps.push_back({logo->y(), logo->palette().color(QPalette::WindowText)});
            logoWhole = logoWhole && LogoIsWhole(*logo);
        }
        return false;
    }

    /// Shows the window and waits until its activation has played the animation to its end.
    bool ShowAndAnimate()
    {
        Show();
        return QTest::qWaitFor([this] { return !steps.empty() && window.LogoAtRest(); }, 10000);
    }

    /// Shows the window; the steps recorded from here on are those of its activation, which comes later.
    void Show()
    {
        window.show();
        steps.clear();
        logoWhole = true;
    }

    TfrmwmInfoTool window;
    std::vector<Step> steps;
    bool logoWhole = true;
};

/// The logo put at its start, then each step of 3 pixels up to top 82, in teal.
std::vector<Step> ExpectedSteps()
{
    std::vector<Step> steps;
    for (int top = 127; top >= 82; top -= 3)
        steps.push_back({top, QColor(0, 128, 128)});
    return steps;
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
        QCOMPARE(recorded.steps, ExpectedSteps());
    }

    void LogoRisesFromTopOneTwentySevenToEightyTwoAtEveryShowing()
    {
        RecordIdentity(QStringLiteral("/opt/stambrix/bin"));
        RecordedWindow recorded;
        const QLabel* logo = Label(recorded.window, "lblSoftware");
        for (int showing = 1; showing <= 2; ++showing) {
            QVERIFY(recorded.ShowAndAnimate());
            QCOMPARE(recorded.steps, ExpectedSteps());
            QCOMPARE(logo->geometry(), QRect(6, 82, 159, 33));
            QCOMPARE(logo->palette().color(QPalette::WindowText), QColor(0, 0, 255));
            QVERIFY(recorded.logoWhole);
            QCOMPARE(logo->font().family(), QStringLiteral("Comic Sans MS"));
            // Where Comic Sans MS is missing, the comic face installed with the program stands in.
            if (!QFontDatabase::hasFamily(QStringLiteral("Comic Sans MS")))
                QCOMPARE(QFontInfo(logo->font()).family(), QStringLiteral("Comic Neue"));
            QCOMPARE(logo->font().pointSize(), 21);
            QVERIFY(logo->font().bold());
            QVERIFY(logo->font().italic());
            recorded.window.findChild<QAbstractButton*>(QStringLiteral("bbtnSluiten"))->click();
            QVERIFY(!recorded.window.isVisible());
        }
    }

    void LogoInAWiderStandInIsWholeAtEveryStep()
    {
        RecordIdentity(QStringLiteral("/opt/stambrix/bin"));
        const QStringList standIns = QFont::substitutes(QStringLiteral("Comic Sans MS"));
        QFont::removeSubstitutions(QStringLiteral("Comic Sans MS"));
        QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("DejaVu Sans"));
        const auto restore = qScopeGuard([&standIns] {
            QFont::removeSubstitutions(QStringLiteral("Comic Sans MS"));
            QFont::insertSubstitutions(QStringLiteral("Comic Sans MS"), standIns);
        });
        RecordedWindow recorded;
        QVERIFY(recorded.ShowAndAnimate());
        const QLabel* logo = Label(recorded.window, "lblSoftware");
        if (QFontInfo(logo->font()).family() != QStringLiteral("DejaVu Sans"))
            QSKIP("DejaVu Sans is not installed");
        QCOMPARE(recorded.steps.size(), ExpectedSteps().size());
        QVERIFY(recorded.logoWhole);
        QCOMPARE(logo->y(), 82);
    }

    // The animation goes by a timer: the window takes input between its steps.
    void EscapeClosesWhileTheLogoRises()
    {
        RecordedWindow recorded;
        recorded.Show();
        QVERIFY(QTest::qWaitFor([&recorded] { return recorded.steps.size() >= 2; }, 10000));
        QVERIFY(!recorded.window.LogoAtRest());
        QTest::keyClick(&recorded.window, Qt::Key_Escape);
        QVERIFY(!recorded.window.isVisible());
    }

    void EscapeCloses()
    {
        RecordedWindow recorded;
        QVERIFY(recorded.ShowAndAnimate());
        QTest::keyClick(&recorded.window, Qt::Key_Escape);
        QVERIFY(!recorded.window.isVisible());
    }

private:
    std::unique_ptr<ScopedRegistryFile> registry_;
};

namespace {
const AppTestRegistration<TfrmwmInfoToolTest> registration;
} // namespace

} // namespace stambrix::app::test

#include "info_window_test.moc"
