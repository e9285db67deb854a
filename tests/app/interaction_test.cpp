#include "app/interaction.h"

#include "app_tests.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace stambrix::app::test {

class InteractionTest : public QObject
{
    Q_OBJECT

private slots:
    void MessageBoxShowsTheIconOfItsKind_data()
    {
        QTest::addColumn<MessageKind>("kind");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::newRow("information") << MessageKind::Information << QMessageBox::Information;
        QTest::newRow("warning") << MessageKind::Warning << QMessageBox::Warning;
        QTest::newRow("error") << MessageKind::Error << QMessageBox::Critical;
    }

    void MessageBoxShowsTheIconOfItsKind()
    {
        QFETCH(MessageKind, kind);
        QFETCH(QMessageBox::Icon, icon);
        QMessageBox::Icon shown = QMessageBox::NoIcon;
        QString title;
        qsizetype buttons = 0;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->icon();
                title = box->windowTitle();
                buttons = box->buttons().size();
                box->accept();
            }
        });
        ShowMessage(nullptr, QStringLiteral("Tekst"), kind);
        QCOMPARE(shown, icon);
        QCOMPARE(title, QStringLiteral("Stambrix"));
        QCOMPARE(buttons, qsizetype{1});
    }
};

namespace {
const AppTestRegistration<InteractionTest> kRegistration;
}

} // namespace stambrix::app::test

#include "interaction_test.moc"
