#include "app/application_setup.h"

#include "app/help_window.h"
#include "app/info_window.h"
#include "app/interaction.h"
#include "app/main_window.h"
#include "app/options_window.h"

#include "app_tests.h"

#include <initializer_list>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace stambrix::app::test {
namespace {

/// The title of the modal window that `open` shows, then the texts of its labels and buttons; the window
/// is closed unanswered.
QStringList TextsOfModal(const std::function<void()>& open)
{
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            texts << modal->windowTitle();
            for (const QLabel* label : modal->findChildren<QLabel*>())
                texts << label->text();
            for (const QAbstractButton* button : modal->findChildren<QAbstractButton*>())
                texts << button->text();
            modal->reject();
        }
    });
    open();
    return texts;
}

} // namespace

class ApplicationSetupTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { registry_ = std::make_unique<ScopedRegistryFile>(); }
    void cleanup() { registry_.reset(); }

    void WindowTitlesStandWithoutTheProgramNameAfterThem()
    {
        SetUpApplication(*qApp);
        OptionChoices optionChoices;
        TfrmStambrix main({}, optionChoices);
        QCOMPARE(main.windowTitle(), QStringLiteral("Stambrix"));
        QCOMPARE(TfrmOpties(optionChoices).windowTitle(), QStringLiteral("Opties"));
        QCOMPARE(TfrmHelp().windowTitle(), QStringLiteral("Help"));
        QCOMPARE(TfrmwmInfoTool().windowTitle(), QStringLiteral("Informatie"));
        QCOMPARE(TextsOfModal([&main] { CurrentInteraction().chooseGedcomFile(&main, QString()); }).value(0),
                 QStringLiteral("Openen GedCom bestand"));
        QCOMPARE(
            TextsOfModal([&main] { ShowMessage(&main, QStringLiteral("Tekst"), MessageKind::Information); }).value(0),
            QStringLiteral("Stambrix"));

        // Qt puts a display name of the program's own after every window title; without one the display
        // name is only the application name, and follows it.
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Stambrix"));
        QCoreApplication::setApplicationName(QStringLiteral("Ander"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Ander"));
        QCoreApplication::setApplicationName(QStringLiteral("Stambrix"));
    }

    void EveryWindowShowsTheProgramsIcon()
    {
        SetUpApplication(*qApp);
        OptionChoices optionChoices;
        TfrmStambrix main({}, optionChoices);
        const TfrmHelp help(&main);
        const TfrmwmInfoTool info(&main);
        const TfrmOpties options(optionChoices, &main);
        for (const QWidget* window : std::initializer_list<const QWidget*>{&main, &help, &info, &options}) {
            // Drawn, not only named: the SVG takes Qt's SVG plugins.
            const QImage icon = window->windowIcon().pixmap(32).toImage();
            QVERIFY2(!icon.isNull(), qPrintable(window->objectName()));
            QCOMPARE(icon.pixelColor(icon.rect().center()).alpha(), 255);
        }
    }

    void FileDialogReadsDutch()
    {
        SetUpApplication(*qApp);
        const QTemporaryDir start;
        QVERIFY(QDir(start.path()).mkdir(QStringLiteral("Stamboom")));
        QString shownFolder;
        QString folderType;
        QStringList texts;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            shownFolder = dialog->directory().absolutePath();
            auto* model = dialog->findChild<QFileSystemModel*>();
            const QModelIndex folder = model->index(start.filePath(QStringLiteral("Stamboom")));
            // The model learns the type from a thread of its own.
            (void)QTest::qWaitFor([&] { return !model->type(folder).isEmpty(); });
            folderType = model->type(folder);
            for (int column = 0; column < model->columnCount(); ++column)
                texts << model->headerData(column, Qt::Horizontal).toString();
            for (const QLabel* label : dialog->findChildren<QLabel*>())
                texts << label->text();
            for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
                texts << button->text();
            dialog->reject();
        });
        (void)CurrentInteraction().chooseGedcomFile(nullptr, start.path());

        QCOMPARE(shownFolder, start.path());
        QCOMPARE(folderType, QStringLiteral("Map"));
        for (const char* text : {"Zoeken in:", "Bestands&naam:", "Bestanden van type:", "&Openen", "Annuleren", "Naam",
                                 "Grootte", "Datum gewijzigd"})
            QVERIFY2(texts.contains(QString::fromUtf8(text)), qPrintable(text + (" in " + texts.join('|'))));
    }

private:
    std::unique_ptr<ScopedRegistryFile> registry_;
};

namespace {
const AppTestRegistration<ApplicationSetupTest> registration;
} // namespace

} // namespace stambrix::app::test

#include "application_setup_test.moc"
