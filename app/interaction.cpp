#include "app/interaction.h"

#include "app/gedcom_file_names.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeView>
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

// Size, type and date in columns as wide as what they show, so that no date loses its year; the name takes
// the room that is left. Qt keeps the state of the columns for every Qt program of the user, so they are
// handed back adjustable by hand before the dialog stores it.
class WholeColumns
{
public:
    explicit WholeColumns(const QFileDialog& dialog)
    {
        if (const auto* details = dialog.findChild<QTreeView*>()) {
            header_ = details->header();
            header_->setSectionResizeMode(QHeaderView::ResizeToContents);
            header_->setSectionResizeMode(0, QHeaderView::Stretch);
        }
    }
    ~WholeColumns()
    {
        if (header_ != nullptr)
            header_->setSectionResizeMode(QHeaderView::Interactive);
    }
    WholeColumns(const WholeColumns&) = delete;
    WholeColumns& operator=(const WholeColumns&) = delete;

private:
    QHeaderView* header_ = nullptr;
};

Interaction RealInteraction()
{
    Interaction real;
    real.showMessage = [](QWidget* parent, const QString& text, MessageKind kind) {
        QMessageBox box(IconOf(kind), QStringLiteral("Stambrix"), text, QMessageBox::Ok, parent);
        box.exec();
    };
    real.chooseGedcomFile = [](QWidget* parent, const QString& startFolder) {
        QFileDialog dialog(parent, QStringLiteral("Openen GedCom bestand"), startFolder, GedcomFileFilter());
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        // Qt's own dialog, as the desktop's would not show the details in columns.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setViewMode(QFileDialog::Detail);
        const WholeColumns columns(dialog);
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
