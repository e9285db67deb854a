#include "app_tests.h"

#include <QApplication>
#include <QTest>

int main(int argc, char** argv)
{
    // Windows are never put on a screen, also when the tests are started by hand.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The reasons the system gives for a failure read English whatever the machine's language; a test of
    // another language sets that itself.
    qputenv("LC_ALL", "C.UTF-8");
    qunsetenv("LANGUAGE");
    QApplication application(argc, argv);
    int failures = 0;
    for (const auto& makeTest : stambrix::app::test::AppTests()) {
        const std::unique_ptr<QObject> test = makeTest();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
