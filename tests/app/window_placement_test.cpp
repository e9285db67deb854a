#include "app/window_placement.h"

#include "app/help_window.h"
#include "app/info_window.h"
#include "app/main_window.h"
#include "app/options_window.h"

#include "app_tests.h"

#include <utility>

#include <QDialog>
#include <QScreen>
#include <QTest>

namespace stambrix::app::test {

class WindowPlacementTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { registry_ = std::make_unique<ScopedRegistryFile>(); }
    void cleanup() { registry_.reset(); }

    // The desktop's frame adds a few pixels on the offscreen platform: a window placed by its frame stands
    // off the centre by as much.
    void SecondaryWindowsOpenCentredAtTheSamePlaceEveryTime()
    {
        OptionChoices optionChoices;
        TfrmStambrix main({}, optionChoices);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        TfrmHelp help(&main);
        TfrmwmInfoTool info(&main);
        TfrmOpties options(optionChoices, &main);
        const QRect screen = main.screen()->availableGeometry();
        for (const auto& [window, area] :
             {std::pair<QDialog*, QRect>{&help, screen}, {&info, screen}, {&options, main.geometry()}}) {
            QList<QRect> places;
            for (int showing = 0; showing < 2; ++showing) {
                window->show();
                QVERIFY(QTest::qWaitForWindowExposed(window));
                places << window->geometry();
                window->close();
            }
            QCOMPARE(places[1], places[0]);
            QCOMPARE(places[0].center(), area.center());
        }
    }

private:
    std::unique_ptr<ScopedRegistryFile> registry_;
};

namespace {
const AppTestRegistration<WindowPlacementTest> kRegistration;
}

} // namespace stambrix::app::test

#include "window_placement_test.moc"
