#include "app/interaction.h"

#include "app_tests.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <functional>

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

    // Qt's own dialog in its detail view lists folders and the GEDCOM files, whatever the case of their
    // ending; size, type and date stand whole in their columns, so no date loses its year.
    void FileDialogShowsGedcomFilesInWholeColumns()
    {
        QTemporaryDir folder;
        for (const char* name : {"fam.ged", "FAM2.GED", "kwartier.gedcom", "notities.txt"}) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(1234, '0')) == 1234);
        }
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("Oude map")));
        // The dialog stores its state for every Qt program of the user; here in a folder of the test's own.
        QTemporaryDir configuration;
        const QString userConfiguration = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configuration.path());
        const auto restore = qScopeGuard([&userConfiguration] {
            QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, userConfiguration);
        });

        QStringList filters;
        bool detailed = false;
        QStringList shown;
        bool whole = false;
        QElapsedTimer waited;
        waited.start();
        std::function<void()> inspect = [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* details = dialog == nullptr ? nullptr : dialog->findChild<QTreeView*>();
            if (details != nullptr) {
                filters = dialog->nameFilters();
                detailed = dialog->viewMode() == QFileDialog::Detail && details->isVisible() &&
                           dialog->testOption(QFileDialog::DontUseNativeDialog);
                shown.clear();
                for (int row = 0; row < details->model()->rowCount(details->rootIndex()); ++row)
                    shown << details->model()->index(row, 0, details->rootIndex()).data().toString();
                whole = true;
                for (int column = 1; column < 4; ++column)
                    whole = whole && details->header()->sectionSize(column) >=
                                         static_cast<QAbstractItemView*>(details)->sizeHintForColumn(column);
            }
            // Files come in and columns widen a moment after the dialog opens.
            if ((shown.size() < 4 || !whole) && waited.elapsed() < 5000) {
                QTimer::singleShot(10, inspect);
                return;
            }
            if (dialog != nullptr) {
                // Typed, as the focus is in the name field.
                QTest::keyClicks(dialog->focusWidget(), QStringLiteral("FAM2.GED"));
                static_cast<QDialog*>(dialog)->accept();
                if (dialog->isVisible())
                    dialog->reject();
            }
        };
        QTimer::singleShot(0, inspect);
        const QString chosen = CurrentInteraction().chooseGedcomFile(nullptr, folder.path());

        QCOMPARE(filters, QStringList(QStringLiteral("GEDCOM-bestanden (*.ged *.gedcom)")));
        QVERIFY(detailed);
        shown.sort();
        QCOMPARE(shown, QStringList({"FAM2.GED", "Oude map", "fam.ged", "kwartier.gedcom"}));
        QVERIFY(whole);
        QCOMPARE(chosen, folder.filePath(QStringLiteral("FAM2.GED")));
        // What other programs' dialogs take over are widths, not columns they cannot adjust by hand.
        const QSettings stored(QSettings::UserScope, QStringLiteral("QtProject"));
        QTreeView columns;
        QStandardItemModel model(0, 4);
        columns.setModel(&model);
        QVERIFY(
            columns.header()->restoreState(stored.value(QStringLiteral("FileDialog/treeViewHeader")).toByteArray()));
        for (int column = 0; column < 4; ++column)
            QCOMPARE(columns.header()->sectionResizeMode(column), QHeaderView::Interactive);
    }
};

namespace {
const AppTestRegistration<InteractionTest> kRegistration;
}

} // namespace stambrix::app::test

#include "interaction_test.moc"
