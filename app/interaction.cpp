#include "app/interaction.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace stambrix::app {

namespace {
QMessageBox::Icon IconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        break;
    }
    return QMessageBox::Information;
}

Interaction RealInteraction()
{
    Interaction real;
    real.showMessage = [](QWidget* parent, const QString& text, MessageKind kind) {
        QMessageBox box(IconOf(kind), QStringLiteral("Stambrix"), text, QMessageBox::Ok, parent);
        box.exec();
    };
    real.chooseGedcomFile = [](QWidget* parent, const QString& startFolder) {
        QFileDialog dialog(parent, QStringLiteral("Openen GedCom bestand"), startFolder,
                           QStringLiteral("GedCom bestanden (*.ged)"));
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().front();
    };
    real.showModal = [](QDialog* window) { window->exec(); };
    real.openAddress = [](const QString& address) { QDesktopServices::openUrl(QUrl(address)); };
    real.askYesNo = [](QWidget* parent, const QString& question) {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Stambrix"), question, QMessageBox::NoButton, parent);
        QPushButton* yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("Nee"), QMessageBox::NoRole);
        box.setDefaultButton(no);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes;
    };
    return real;
}
} // namespace

Interaction& CurrentInteraction()
{
    static Interaction interaction = RealInteraction();
    return interaction;
}

void ShowMessage(QWidget* parent, const QString& text, MessageKind kind)
{
    CurrentInteraction().showMessage(parent, text, kind);
}

} // namespace stambrix::app
