#include "app/main_window.h"

#include "app/interaction.h"
#include "app/options_window.h"
#include "app/radio_group.h"
#include "output/folder_lock.h"
#include "run/run_choices.h"

#include "app_tests.h"
#include "recorded_interaction.h"
#include "window_run.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <chrono>
#include <clocale>
#include <future>
#include <optional>
#include <set>
#include <thread>
#include <tuple>

namespace stambrix::app::test {

// The texts a label showed each time it was painted.
class PaintedTexts : public QObject
{
public:
    explicit PaintedTexts(QLabel* label) : label_(label) { label->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == label_ && event->type() == QEvent::Paint)
            texts.append(label_->text());
        return false;
    }
    QStringList texts;

private:
    QLabel* label_;
};

class TStambrixTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { scope_.emplace(); }
    void cleanup() { scope_.reset(); }

    void selectionRulesHoldAfterEveryChange()
    {
        OptionChoices optionChoices;
        TfrmStambrix window({}, optionChoices);
        auto* event = Group(window, "rgrpEvent");
        auto* group = Group(window, "rgrpGroep");
        auto* kind = Group(window, "rgrpSoortUitvoer");
        auto* frame = window.findChild<QCheckBox*>("cbxInFrame");
        // Every sequence of up to four changes from the start state.
        std::function<void(int)> explore = [&](int depth) {
            CheckInvariants(event->ItemIndex(), group->ItemIndex(), kind->ItemIndex(), frame);
            if (depth == 0)
                return;
            const auto state =
                std::make_tuple(event->ItemIndex(), group->ItemIndex(), kind->ItemIndex(), frame->isChecked());
            for (int action = 0; action < 11; ++action) {
                if (action < 3)
                    event->SetItemIndex(action);
                else if (action < 6)
                    group->SetItemIndex(action - 3);
                else if (action < 10)
                    kind->SetItemIndex(action - 6);
                else if (frame->isEnabled())
                    frame->setChecked(!frame->isChecked());
                explore(depth - 1);
                Restore(event, group, kind, frame, state);
            }
        };
        explore(4);
    }

    // The states the window can be brought to are exactly the combinations the run's table allows, the
    // ones stambrix-cli takes.
    void windowReachesExactlyTheAllowedChoices()
    {
        OptionChoices optionChoices;
        TfrmStambrix window({}, optionChoices);
        auto* event = Group(window, "rgrpEvent");
        auto* group = Group(window, "rgrpGroep");
        auto* kind = Group(window, "rgrpSoortUitvoer");
        auto* frame = window.findChild<QCheckBox*>("cbxInFrame");
        std::set<std::tuple<int, int, int, bool>> reached;
        for (int e = 0; e < static_cast<int>(run::kEventKinds.size()); ++e)
            for (int g = 0; g < static_cast<int>(run::kRecordGroups.size()); ++g)
                for (int k = 0; k < static_cast<int>(run::kOutputKinds.size()); ++k)
                    for (const bool framed : {false, true}) {
                        event->SetItemIndex(e);
                        group->SetItemIndex(g);
                        kind->SetItemIndex(k);
                        frame->setChecked(framed && frame->isEnabled());
                        reached.emplace(event->ItemIndex(), group->ItemIndex(), kind->ItemIndex(), frame->isChecked());
                    }
        std::set<std::tuple<int, int, int, bool>> allowed;
        for (const run::RunChoices& choices : run::kAllowedChoices)
            allowed.emplace(static_cast<int>(choices.eventKind), static_cast<int>(choices.recordGroup),
                            static_cast<int>(choices.outputKind), choices.inFrame);
        QCOMPARE(reached, allowed);
    }

    void selectionRulesExamples()
    {
        OptionChoices optionChoices;
        TfrmStambrix window({}, optionChoices);
        auto* event = Group(window, "rgrpEvent");
        auto* group = Group(window, "rgrpGroep");
        auto* kind = Group(window, "rgrpSoortUitvoer");
        auto* frame = window.findChild<QCheckBox*>("cbxInFrame");
        kind->SetItemIndex(1);
        frame->setChecked(true);
        kind->SetItemIndex(2);
        QVERIFY(frame->isChecked());
        event->SetItemIndex(2);
        group->SetItemIndex(2);
        QCOMPARE(group->ItemIndex(), 2);
        QCOMPARE(kind->ItemIndex(), 0);
        QVERIFY(!frame->isChecked() && !frame->isEnabled());
        event->SetItemIndex(0);
        QCOMPARE(group->ItemIndex(), 0);
        QCOMPARE(kind->ItemIndex(), 0);
        QVERIFY(!frame->isEnabled());
    }

    void firstActivationRunsTheStartUpStepsOnce()
    {
        OptionChoices optionChoices{{"js/", "css/", "img/"}, true};
        TfrmStambrix window({"a.ged", "b.ged"}, optionChoices);
        window.FormActivate();
        QCOMPARE(window.findChild<QLineEdit*>("edtBestandOpenen")->text(), QStringLiteral("a.ged"));
        const run::OptionPaths& paths = optionChoices.optionPaths;
        QVERIFY(paths.javaScriptPath.empty() && paths.styleSheetPath.empty() && paths.achtergrondPath.empty());
        QVERIFY(!optionChoices.zonderLevenden);
        QCOMPARE(window.MailAddress(), QStringLiteral("stambrix@example.org"));
        QCOMPARE(window.HomePageAddress(), QStringLiteral("https://www.example.com/wendmoor/"));
        QCOMPARE(window.ProgramDirectory(), QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
        QCOMPARE(Panel(window, 1), QStringLiteral("  regels gelezen"));
        QCOMPARE(Panel(window, 2), QStringLiteral("  (dd:uu:mm:ss)"));
        QCOMPARE(Panel(window, 3), QStringLiteral("  regels geschreven"));
        QVERIFY(scope_->interaction.messages.isEmpty());

        optionChoices.optionPaths.styleSheetPath = "stijl/";
        window.findChild<QLineEdit*>("edtBestandOpenen")->setText("gekozen.ged");
        window.FormActivate();
        QCOMPARE(optionChoices.optionPaths.styleSheetPath, std::string("stijl/"));
        QCOMPARE(window.findChild<QLineEdit*>("edtBestandOpenen")->text(), QStringLiteral("gekozen.ged"));
    }

    void openenCancelledKeepsThePathAndResetsThePanels()
    {
        OptionChoices optionChoices;
        TfrmStambrix window({"oud.ged"}, optionChoices);
        window.FormActivate();
        window.findChild<QLabel*>("sbarStambrixPanel1")->setText("  gelezen : 7");
        scope_->interaction.answer.clear();
        window.findChild<QToolButton*>("tbtnOpenen")->click();
        QCOMPARE(window.findChild<QLineEdit*>("edtBestandOpenen")->text(), QStringLiteral("oud.ged"));
        QCOMPARE(Panel(window, 1), QStringLiteral("  regels gelezen"));
        scope_->interaction.answer = "/genea/nieuw.ged";
        window.findChild<QToolButton*>("tbtnOpenen")->click();
        QCOMPARE(window.findChild<QLineEdit*>("edtBestandOpenen")->text(), QStringLiteral("/genea/nieuw.ged"));
    }

    void openenStartsInTheFolderOfThePathOrAtHome()
    {
        QTemporaryDir folder;
        OptionChoices optionChoices;
        TfrmStambrix window({folder.filePath("fam.ged")}, optionChoices);
        window.FormActivate();
        auto* openen = window.findChild<QToolButton*>("tbtnOpenen");
        scope_->interaction.answer = "/nergens/weg.ged";
        openen->click();
        openen->click();
        TfrmStambrix empty({}, optionChoices);
        empty.FormActivate();
        empty.findChild<QToolButton*>("tbtnOpenen")->click();
        QCOMPARE(scope_->interaction.startFolders, QStringList({folder.path(), QDir::homePath(), QDir::homePath()}));
    }

    void functionKeysActWithoutTheMenu()
    {
        OptionChoices optionChoices;
        TfrmStambrix window({}, optionChoices);
        QDialog options;
        window.SetSecondaryWindows({&options, &options, &options});
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_F10);
        QTest::keyClick(&window, Qt::Key_F11);
        QCOMPARE(scope_->interaction.addresses,
                 QStringList({"Mailto:stambrix@example.org", "https://www.example.com/wendmoor/"}));
        QTest::keyClick(&window, Qt::Key_F9);
        QTest::keyClick(&window, Qt::Key_F1);
        QTest::keyClick(&window, Qt::Key_F12);
        QCOMPARE(scope_->interaction.modals, 3);
    }

    void contextMenuOpensFromEveryControlEnabledOrNot()
    {
        OptionChoices optionChoices;
        TfrmStambrix window({}, optionChoices);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* menu = window.findChild<QMenu*>("pmnuStambrix");
        const QList<QWidget*> controls = window.findChildren<QWidget*>();
        QVERIFY(!window.findChild<QCheckBox*>("cbxInFrame")->isEnabled());
        for (QWidget* control : controls) {
            if (control == menu || !control->isVisible())
                continue;
            const QPoint centre = control->mapTo(&window, control->rect().center());
            QTest::mouseClick(window.windowHandle(), Qt::RightButton, {}, centre);
            // The window's menu, not one of the control's own (the path field's edit menu).
            QVERIFY2(menu->isVisible() && QApplication::activePopupWidget() == menu,
                     qPrintable(control->objectName() + " " + control->metaObject()->className()));
            menu->hide();
        }
    }

    void statusPanelsSitSideBySideInsideTheWindow()
    {
        OptionChoices optionChoices;
        TfrmStambrix window({}, optionChoices);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.FormActivate();
        auto* bar = window.findChild<QWidget*>("sbarStambrix");
        QCOMPARE(bar->width(), 361);
        int left = 0;
        for (const auto& [number, width] : {std::pair{1, 135}, std::pair{2, 90}, std::pair{3, 135}}) {
            auto* panel = window.findChild<QLabel*>(QStringLiteral("sbarStambrixPanel%1").arg(number));
            const QRect inWindow(panel->mapTo(&window, QPoint(0, 0)), panel->size());
            QCOMPARE(inWindow.left(), left);
            QCOMPARE(inWindow.width(), width);
            QVERIFY(panel->frameWidth() > 0);
            QVERIFY(window.rect().contains(inWindow));
            left += width;
        }
    }

    void runWritesTheFramedHtmlIndex()
    {
        QTemporaryDir folder;
        const QString gedcom = folder.filePath("fam.ged");
        QFile file(gedcom);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Jan /van der Berg/\r\n1 SEX M\r\n0 @I2@ INDI\r\n"
                   "1 NAME Anna /Aa/\r\n0 TRLR\r\n");
        file.close();
        OptionChoices optionChoices;
        TfrmStambrix window({}, optionChoices);
        window.FormActivate();
        optionChoices.optionPaths.styleSheetPath = "Stijl/";
        scope_->interaction.answer = gedcom;
        window.findChild<QToolButton*>("tbtnOpenen")->click();
        Group(window, "rgrpSoortUitvoer")->SetItemIndex(1);
        window.findChild<QCheckBox*>("cbxInFrame")->setChecked(true);
        QVERIFY(RunToTheEnd(window));
        QVERIFY2(scope_->interaction.messages.isEmpty(), qPrintable(scope_->interaction.messages.join('\n')));
        QCOMPARE(Panel(window, 1), QStringLiteral("  gelezen : 2"));
        QCOMPARE(Panel(window, 3), QStringLiteral("  geschreven : 2"));
        QVERIFY(QFile::exists(folder.filePath("Stambrix/alfabet.htm")));
        QFile page(folder.filePath("Stambrix/indexb.htm"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QByteArray html = page.readAll();
        QVERIFY(html.contains("<LI CLASS=\"inhoudtekst\">Jan van der, man</LI>"));
        QVERIFY(html.contains("HREF=\"stijl/genealogie.css\""));
    }

    void zonderLevendenTickedInTheOptionsWindowReachesTheRun()
    {
        QTemporaryDir folder;
        const QString gedcom = WriteGedcom(folder, "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Jan /Berg/\r\n1 BIRT\r\n2 DATE "
                                                   "1990\r\n0 @I2@ INDI\r\n1 NAME Anna /Aa/\r\n1 DEAT\r\n0 TRLR\r\n");
        OptionChoices optionChoices;
        TfrmStambrix window({gedcom}, optionChoices);
        TfrmOpties options(optionChoices, &window);
        window.FormActivate();
        options.show();
        options.findChild<QCheckBox*>("cbxZonderLevenden")->setChecked(true);
        options.findChild<QAbstractButton*>("bbtnSluiten")->click();
        QVERIFY(RunToTheEnd(window));
        QVERIFY2(scope_->interaction.messages.isEmpty(), qPrintable(scope_->interaction.messages.join('\n')));
        QCOMPARE(Panel(window, 1), QStringLiteral("  gelezen : 2"));
        QCOMPARE(Panel(window, 3), QStringLiteral("  geschreven : 1"));
        QFile index(folder.filePath("Stambrix/Namen.txt"));
        QVERIFY(index.open(QIODevice::ReadOnly));
        QCOMPARE(index.readAll(), QByteArray("Aa, Anna\t\t\t[@I2@]\r\n"));
    }

    void inputDuringARunIsDropped()
    {
        QTemporaryDir folder;
        const QString gedcom = WriteGedcom(folder, "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Jan /Berg/\r\n0 TRLR\r\n");
        OptionChoices optionChoices;
        TfrmStambrix window({gedcom}, optionChoices);
        QDialog help;
        window.SetSecondaryWindows({&help, &help, &help});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.FormActivate();
        // What the user does while the run is under way: the close box (answered «Nee»), «Afsluiten», «HTML»
        // and " Uitvoeren ", F1.
        QCoreApplication::postEvent(window.windowHandle(), new QCloseEvent);
        bool given = false;
        QTimer::singleShot(0, &window, [&] {
            QWindow* screenWindow = window.windowHandle();
            QTest::mouseClick(screenWindow, Qt::LeftButton, {}, Centre(window, "tbtnAfsluiten"));
            QTest::mouseClick(screenWindow, Qt::LeftButton, {}, Centre(window, "rgrpSoortUitvoer", "HTML"));
            QTest::mouseClick(screenWindow, Qt::LeftButton, {}, Centre(window, "tbtnUitvoeren"));
            QTest::keyClick(screenWindow, Qt::Key_F1);
            given = true;
        });
        QVERIFY(RunToTheEnd(window));
        QCoreApplication::processEvents();

        QVERIFY(given);
        QVERIFY(window.isVisible());
        QCOMPARE(scope_->interaction.questions, QStringList("De index wordt nog gemaakt. Stoppen?"));
        QCOMPARE(Group(window, "rgrpSoortUitvoer")->ItemIndex(), 0);
        QCOMPARE(scope_->interaction.modals, 0);
        QVERIFY(QFile::exists(folder.filePath("Stambrix/Namen.txt")));
        QVERIFY(!QFile::exists(folder.filePath("Stambrix/index.htm")));
        // Afterwards the window takes input again.
        QTest::keyClick(window.windowHandle(), Qt::Key_F1);
        QCOMPARE(scope_->interaction.modals, 1);
    }

    void resetOfThePanelsIsPaintedBeforeTheRunGoesOn()
    {
        QTemporaryDir folder;
        const QString gedcom = WriteGedcom(
            folder, "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Jan /Berg/\r\n0 @I2@ INDI\r\n1 NAME Anna /Aa/\r\n0 TRLR\r\n");
        OptionChoices optionChoices;
        TfrmStambrix window({gedcom}, optionChoices);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.FormActivate();
        QVERIFY(RunToTheEnd(window));
        QCOMPARE(Panel(window, 1), QStringLiteral("  gelezen : 2"));

        PaintedTexts painted(window.findChild<QLabel*>("sbarStambrixPanel1"));
        QVERIFY(RunToTheEnd(window));
        QVERIFY(!painted.texts.isEmpty());
        QCOMPARE(painted.texts.first(), QStringLiteral("  regels gelezen"));
        QCOMPARE(painted.texts.last(), QStringLiteral("  gelezen : 2"));
    }

    // The run waits for another run's turn in its folder on a thread of its own: the window's thread goes on
    // meanwhile, shows the note, and ends the other run's turn.
    void runWaitsOnItsOwnThreadWhileTheWindowShowsWhy()
    {
        QTemporaryDir folder;
        const QString gedcom = WriteGedcom(folder, "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Jan /Berg/\r\n0 TRLR\r\n");
        const QString output = folder.filePath("Stambrix");
        QVERIFY(QDir().mkpath(output));
        OptionChoices optionChoices;
        TfrmStambrix window({gedcom}, optionChoices);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.FormActivate();

        // Should the run keep the window's thread, nothing below is handled until it ends: the other turn then
        // ends by itself after a while, and the test fails rather than waits for ever.
        std::promise<void> taken;
        std::promise<void> over;
        std::thread otherRun([&output, &taken, ended = over.get_future()] {
            const output::FolderLock turn(output.toStdString(), [] {});
            taken.set_value();
            ended.wait_for(std::chrono::seconds(20));
        });
        taken.get_future().wait();
        QString shownWhileWaiting;
        QTimer watch;
        connect(&watch, &QTimer::timeout, &window, [&] {
            if (!Panel(window, 3).startsWith("  wacht"))
                return;
            shownWhileWaiting = Panel(window, 3);
            watch.stop();
            over.set_value();
        });
        watch.start(5);
        QVERIFY(RunToTheEnd(window));
        if (shownWhileWaiting.isEmpty())
            over.set_value();
        otherRun.join();

        QCOMPARE(shownWhileWaiting, "  wacht op een andere run in " + output);
        QVERIFY2(scope_->interaction.messages.isEmpty(), qPrintable(scope_->interaction.messages.join('\n')));
        QCOMPARE(Panel(window, 3), QStringLiteral("  geschreven : 1"));
        QVERIFY(QFile::exists(output + "/Namen.txt"));
    }

    // The prefix list is read for each run: one that cannot be read stops the run with its path and reason and
    // leaves everything on disk as it was; mended, it counts at the next run, and without it the built-in list does.
    void prefixListIsReadForEachRunAndAnUnreadableOneStopsIt()
    {
        QTemporaryDir folder;
        const QString gedcom = WriteGedcom(folder, "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Jan /van der Berg/\r\n0 TRLR\r\n");
        const QString output = folder.filePath("Stambrix");
        QVERIFY(QDir().mkpath(output));
        QFile earlier(output + "/Namen.txt");
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("eerder\r\n") == 8);
        earlier.close();
        const QString list = folder.filePath("Voorzetsels.txt");
        QVERIFY(QDir().mkpath(list));
        OptionChoices optionChoices;
        TfrmStambrix window({gedcom}, optionChoices);
        window.FormActivate();
        window.SetPrefixFilePlaces({list.toStdString()});
        auto* run = window.findChild<QToolButton*>("tbtnUitvoeren");
        const QMap<QString, QByteArray> before = FilesIn(folder.path());
        const QMap<QString, QByteArray> beforeInOutput = FilesIn(output);

        run->click();
        QCOMPARE(scope_->interaction.messages.size(), 1);
        QVERIFY2(scope_->interaction.messages.front().startsWith("Het bestand \"" + list +
                                                                 "\" kan niet worden gelezen: Is a directory."),
                 qPrintable(scope_->interaction.messages.front()));
        QCOMPARE(scope_->interaction.kinds, QList{MessageKind::Error});
        QCOMPARE(FilesIn(folder.path()), before);
        QCOMPARE(FilesIn(output), beforeInOutput);

        QVERIFY(QDir(list).removeRecursively());
        QFile mended(list);
        QVERIFY(mended.open(QIODevice::WriteOnly) && mended.write("van\r\n") == 5);
        mended.close();
        QVERIFY(RunToTheEnd(window));
        QCOMPARE(ReadAll(output + "/Namen.txt"), QByteArray("der Berg, Jan van\t\t\t[@I1@]\r\n"));
        QVERIFY(mended.remove());
        QVERIFY(RunToTheEnd(window));
        QCOMPARE(ReadAll(output + "/Namen.txt"), QByteArray("Berg, Jan van der\t\t\t[@I1@]\r\n"));
        QCOMPARE(scope_->interaction.messages.size(), 1);
    }

    void missingFileIsShownInAMessage()
    {
        OptionChoices optionChoices;
        TfrmStambrix window({"/nergens/weg.ged"}, optionChoices);
        window.FormActivate();
        QVERIFY(RunToTheEnd(window));
        QCOMPARE(scope_->interaction.messages,
                 QStringList("Het bestand \"/nergens/weg.ged\" kan niet worden gelezen: No such file or directory."));
        QCOMPARE(scope_->interaction.kinds, QList{MessageKind::Error});
    }

    // A footer date that would not be a date stops the run before anything is read or made.
    void sourceDateEpochThatIsNoMomentIsShownAndNothingRuns()
    {
        QTemporaryDir folder;
        const QString gedcom = WriteGedcom(folder, "0 @I1@ INDI\r\n1 NAME Jan /Berg/\r\n");
        OptionChoices optionChoices;
        TfrmStambrix window({gedcom}, optionChoices);
        window.FormActivate();
        qputenv("SOURCE_DATE_EPOCH", "-1");
        window.findChild<QToolButton*>("tbtnUitvoeren")->click();
        qunsetenv("SOURCE_DATE_EPOCH");
        QCOMPARE(scope_->interaction.messages, QStringList("SOURCE_DATE_EPOCH is geen geldig tijdstip: -1"));
        QCOMPARE(scope_->interaction.kinds, QList{MessageKind::Warning});
        QVERIFY(!QDir(folder.filePath("Stambrix")).exists());
    }

    void gedcomFileGoneOrUnreadableAfterTheChoiceKeepsTheIndex_data()
    {
        QTest::addColumn<bool>("unreadable");
        QTest::addColumn<QString>("reason");
        QTest::newRow("verdwenen") << false << QStringLiteral("No such file or directory");
        QTest::newRow("onleesbaar") << true << QStringLiteral("Permission denied");
    }

    void gedcomFileGoneOrUnreadableAfterTheChoiceKeepsTheIndex()
    {
        QFETCH(bool, unreadable);
        QFETCH(QString, reason);
        QTemporaryDir folder;
        const QString gedcom = folder.filePath("fam.ged");
        QFile file(gedcom);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Jan /van der Berg/\r\n0 TRLR\r\n");
        file.close();
        OptionChoices optionChoices;
        TfrmStambrix window({}, optionChoices);
        window.FormActivate();
        scope_->interaction.answer = gedcom;
        window.findChild<QToolButton*>("tbtnOpenen")->click();
        QVERIFY(RunToTheEnd(window));
        QVERIFY2(scope_->interaction.messages.isEmpty(), qPrintable(scope_->interaction.messages.join('\n')));
        const QString output = folder.filePath("Stambrix");
        const QMap<QString, QByteArray> before = FilesIn(output);
        QVERIFY(before.contains("Namen.txt"));

        if (unreadable) {
            QVERIFY(file.setPermissions({}));
            if (file.open(QIODevice::ReadOnly))
                QSKIP("this process reads files whatever their permissions (root), and the window runs in it");
        } else {
            QVERIFY(file.remove());
        }
        QVERIFY(RunToTheEnd(window));

        QCOMPARE(scope_->interaction.messages,
                 QStringList("Het bestand \"" + gedcom + "\" kan niet worden gelezen: " + reason + "."));
        QCOMPARE(FilesIn(output), before);
    }

    void outputThatCannotBeWrittenIsNamedInDutchAndKeepsWhatIsThere_data()
    {
        QTest::addColumn<QString>("inTheWay");
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QString>("message");
        QTest::newRow("bestand op de plaats van de map")
            << "Stambrix" << QByteArray("C.UTF-8")
            << QStringLiteral("De map \"%1/Stambrix\" kan niet worden gemaakt: Not a directory.");
        QTest::newRow("in het Nederlands")
            << "Stambrix" << QByteArray("nl_NL.UTF-8")
            << QStringLiteral("De map \"%1/Stambrix\" kan niet worden gemaakt: Is geen map.");
        QTest::newRow("map op de plaats van het bestand")
            << "Stambrix/Namen.txt" << QByteArray("C.UTF-8")
            << QStringLiteral("Het bestand \"%1/Stambrix/Namen.txt\" kan niet worden geschreven: Is a directory.");
        QTest::newRow("map zonder schrijfrecht")
            << "" << QByteArray("nl_NL.UTF-8")
            << QStringLiteral("Het bestand \"%1/Stambrix/Namen.txt\" kan niet worden geschreven: Toegang geweigerd.");
    }

    void outputThatCannotBeWrittenIsNamedInDutchAndKeepsWhatIsThere()
    {
        QFETCH(QString, inTheWay);
        QFETCH(QByteArray, locale);
        QFETCH(QString, message);
        const QByteArray previousLocale = setlocale(LC_MESSAGES, nullptr);
        if (setlocale(LC_MESSAGES, locale.constData()) == nullptr)
            QSKIP(qPrintable("the locale " + locale + " is not installed (scripts/install-deps.sh --tests makes it)"));
        const auto restoreLocale = qScopeGuard([&previousLocale] { setlocale(LC_MESSAGES, previousLocale.data()); });
        QTemporaryDir folder;
        const QString gedcom = WriteGedcom(folder, "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Jan /Berg/\r\n0 TRLR\r\n");
        const QString output = folder.filePath("Stambrix");
        if (inTheWay.isEmpty()) {
            QVERIFY(QDir().mkpath(output));
            QFile earlier(output + "/Namen.txt");
            QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("eerder\r\n") == 8);
            earlier.close();
            QVERIFY(QFile::setPermissions(output, QFile::ReadOwner | QFile::ExeOwner));
            if (QFile probe(output + "/proef"); probe.open(QIODevice::WriteOnly))
                QSKIP("this process writes in any folder (root), and the window runs in it");
        } else if (inTheWay == "Stambrix") {
            QFile file(output);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("oud") == 3);
        } else {
            QVERIFY(QDir().mkpath(folder.filePath(inTheWay)));
        }
        const QMap<QString, QByteArray> before = FilesIn(folder.path());
        const QMap<QString, QByteArray> beforeInOutput = FilesIn(output);

        OptionChoices optionChoices;
        TfrmStambrix window({gedcom}, optionChoices);
        window.FormActivate();
        QVERIFY(RunToTheEnd(window));
        QFile::setPermissions(output, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(scope_->interaction.messages, QStringList(message.arg(folder.path())));
        QCOMPARE(FilesIn(folder.path()), before);
        QCOMPARE(FilesIn(output), beforeInOutput);
    }

private:
    /// Every entry of `folder`, hidden ones (temporary files) included, with the bytes of the files.
    static QMap<QString, QByteArray> FilesIn(const QString& folder)
    {
        QMap<QString, QByteArray> files;
        for (const QFileInfo& entry :
             QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            QFile file(entry.filePath());
            files.insert(entry.fileName(), entry.isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : "");
        }
        return files;
    }

    static QByteArray ReadAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QString WriteGedcom(const QTemporaryDir& folder, const QByteArray& content)
    {
        const QString path = folder.filePath("fam.ged");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    /// The centre of the control `name` (or of its button captioned `caption`) in window coordinates.
    static QPoint Centre(TfrmStambrix& window, const char* name, const QString& caption = {})
    {
        QWidget* control = window.findChild<QWidget*>(name);
        if (!caption.isEmpty())
            for (auto* button : control->findChildren<QAbstractButton*>())
                if (button->text() == caption)
                    control = button;
        return control->mapTo(&window, control->rect().center());
    }

    static RadioGroup* Group(TfrmStambrix& window, const char* name) { return window.findChild<RadioGroup*>(name); }

    static QString Panel(TfrmStambrix& window, int number)
    {
        return window.findChild<QLabel*>(QStringLiteral("sbarStambrixPanel%1").arg(number))->text();
    }

    static void CheckInvariants(int event, int group, int kind, QCheckBox* frame)
    {
        if (event != 2)
            QCOMPARE(group, 0);
        if (event != 0)
            QCOMPARE(kind, 0);
        if (kind == 0)
            QVERIFY(!frame->isEnabled() && !frame->isChecked());
        else
            QVERIFY(frame->isEnabled());
    }

    static void Restore(RadioGroup* event, RadioGroup* group, RadioGroup* kind, QCheckBox* frame,
                        const std::tuple<int, int, int, bool>& state)
    {
        event->SetItemIndex(2);
        group->SetItemIndex(std::get<1>(state));
        event->SetItemIndex(std::get<0>(state));
        kind->SetItemIndex(std::get<2>(state));
        if (frame->isEnabled())
            frame->setChecked(std::get<3>(state));
    }

    std::optional<WindowTestScope> scope_;
};

namespace {
const AppTestRegistration<TStambrixTest> kRegistration;
}

} // namespace stambrix::app::test

#include "main_window_test.moc"
