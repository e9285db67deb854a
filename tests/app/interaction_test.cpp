#include "app/interaction.h"

#include "app_tests.h"

#include <QAbstractItemView>
#include <QApplication>
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

    // Qt's own dialog in its detail view with the filter of GEDCOM files; size, type and date stand whole in
    // their columns, so no date loses its year, and what other programs take over of them are widths only.
    void FileDialogShowsGedcomFilesInWholeColumns()
    {
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("fam.ged")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(1234, '0')) == 1234);
        // The dialog stores its state for every Qt program of the user; here in a folder of the test's own.
        QTemporaryDir configuration;
        const QString userConfiguration = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configuration.path());
        const auto restore = qScopeGuard([&userConfiguration] {
            QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, userConfiguration);
        });

        QStringList filters;
        bool detailed = false;
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
                whole = details->model()->rowCount(details->rootIndex()) == 1;
                for (int column = 1; column < 4; ++column)
                    whole = whole && details->header()->sectionSize(column) >=
                                         static_cast<QAbstractItemView*>(details)->sizeHintForColumn(column);
            }
            // The file comes in and the columns widen a moment after the dialog opens.
            if (!whole && waited.elapsed() < 5000)
                QTimer::singleShot(10, inspect);
            else if (dialog != nullptr)
                dialog->reject();
        };
        QTimer::singleShot(0, inspect);
        (void)CurrentInteraction().chooseGedcomFile(nullptr, folder.path());

        QCOMPARE(filters, QStringList(QStringLiteral("GEDCOM-bestanden (*.ged *.gedcom)")));
        QVERIFY(detailed);
        QVERIFY(whole);
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
