#include "app/gedcom_drop.h"

#include "app/main_window.h"

#include "app_tests.h"
#include "recorded_interaction.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <optional>

namespace stambrix::app::test {

class GedcomDropTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        scope_.emplace();
        for (const char* name : {"fam.ged", "kwartier.Gedcom", "notities.txt"}) {
            QFile file(folder_.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir(folder_.path()).mkpath("oud.ged"));
    }
    void cleanup() { scope_.reset(); }

    // Dropped on the window or on its read-only path field, one GEDCOM file on this machine is taken, whatever
    // the case of its ending; anything else shows as refused and leaves the path field as it was.
    void dropIsTakenOnlyForOneGedcomFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("urls");
        QTest::addColumn<bool>("taken");
        const QString window = QStringLiteral("frmStambrix");
        QTest::newRow(".ged on the path field") << QStringLiteral("edtBestandOpenen") << QStringList{"fam.ged"} << true;
        QTest::newRow(".Gedcom, in any case") << window << QStringList{"kwartier.Gedcom"} << true;
        QTest::newRow(".txt") << window << QStringList{"notities.txt"} << false;
        QTest::newRow("two files") << window << QStringList{"fam.ged", "kwartier.Gedcom"} << false;
        QTest::newRow("folder") << window << QStringList{"oud.ged"} << false;
        QTest::newRow("not on this machine") << window << QStringList{"https://example.org/fam.ged"} << false;
    }

    void dropIsTakenOnlyForOneGedcomFile()
    {
        QFETCH(QString, target);
        QFETCH(QStringList, urls);
        QFETCH(bool, taken);
        OptionChoices optionChoices;
        TfrmStambrix window({"eerder.ged"}, optionChoices);
        window.FormActivate();
        auto* read = window.findChild<QLabel*>("sbarStambrixPanel1");
        read->setText("  gelezen : 7");
        QWidget* on = target == window.objectName() ? &window : window.findChild<QWidget*>(target);
        QMimeData data;
        QList<QUrl> dropped;
        for (const QString& url : urls)
            dropped << (url.contains(':') ? QUrl(url) : QUrl::fromLocalFile(folder_.filePath(url)));
        data.setUrls(dropped);
        data.setText(folder_.filePath("fam.ged"));

        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(on, &enter);
        QCOMPARE(enter.isAccepted(), taken);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        drop.setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(on, &drop);

        auto* path = window.findChild<QLineEdit*>("edtBestandOpenen");
        if (taken) {
            QCOMPARE(path->text(), folder_.filePath(urls.front()));
            QCOMPARE(read->text(), QStringLiteral("  regels gelezen"));
            // Only the path is taken: the file manager is told the file was copied, so it does not remove it.
            QCOMPARE(drop.dropAction(), Qt::CopyAction);
        } else {
            QCOMPARE(path->text(), QStringLiteral("eerder.ged"));
            QCOMPARE(read->text(), QStringLiteral("  gelezen : 7"));
        }
    }

private:
    QTemporaryDir folder_;
    std::optional<WindowTestScope> scope_;
};

namespace {
const AppTestRegistration<GedcomDropTest> kRegistration;
}

} // namespace stambrix::app::test

#include "gedcom_drop_test.moc"
