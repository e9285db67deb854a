#include "app/options_window.h"

#include "app/window_fonts.h"
#include "app/window_placement.h"

#include <QCheckBox>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace stambrix::app {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, int top)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(9, top, 201, 21);
    return edit;
}

} // namespace

TfrmOpties::TfrmOpties(OptionChoices& optionChoices, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      optionChoices_(optionChoices)
{
    setObjectName(QStringLiteral("frmOpties"));
    setWindowTitle(QStringLiteral("Opties"));
    setModal(true);
    setFont(WindowFont(11));
    setFixedSize(217, 209);

    lblJavaScriptPath = MakeLabel(this, "lblJavaScriptPath", QStringLiteral("Javascript path"), 9, 9);
    edtJavaScriptPath = MakeEdit(this, "edtJavaScriptPath", 27);
    lblStyleSheetPath = MakeLabel(this, "lblStyleSheetPath", QStringLiteral("Style sheet path"), 9, 57);
    edtStyleSheetPath = MakeEdit(this, "edtStyleSheetPath", 75);
    lblAchtergrondPath = MakeLabel(this, "lblAchtergrondPath", QStringLiteral("Achtergrond path"), 9, 105);
    edtAchtergrondPath = MakeEdit(this, "edtAchtergrondPath", 123);
    cbxZonderLevenden = new QCheckBox(QString::fromUtf8(kZonderLevendenCaption), this);
    cbxZonderLevenden->setObjectName(QStringLiteral("cbxZonderLevenden"));
    cbxZonderLevenden->setGeometry(9, 150, 201, 21);

    bbtnSluiten = new QPushButton(QStringLiteral("Sluiten"), this);
    bbtnSluiten->setObjectName(QStringLiteral("bbtnSluiten"));
    bbtnSluiten->setGeometry(75, 176, 75, 25);
    QFont boldFont = bbtnSluiten->font();
    boldFont.setBold(true);
    bbtnSluiten->setFont(boldFont);
    // Not the window's default button, so Enter in an edit does not press it.
    bbtnSluiten->setAutoDefault(false);
    bbtnSluiten->setDefault(false);
    connect(bbtnSluiten, &QPushButton::clicked, this, &TfrmOpties::bbtnSluitenClick);

    setTabOrder(edtJavaScriptPath, edtStyleSheetPath);
    setTabOrder(edtStyleSheetPath, edtAchtergrondPath);
    setTabOrder(edtAchtergrondPath, cbxZonderLevenden);
    setTabOrder(cbxZonderLevenden, bbtnSluiten);
}

void TfrmOpties::bbtnSluitenClick()
{
    optionChoices_.optionPaths.javaScriptPath = edtJavaScriptPath->text().toStdString();
    optionChoices_.optionPaths.styleSheetPath = edtStyleSheetPath->text().toStdString();
    optionChoices_.optionPaths.achtergrondPath = edtAchtergrondPath->text().toStdString();
    optionChoices_.zonderLevenden = cbxZonderLevenden->isChecked();
    accept();
}

void TfrmOpties::ShowChoices()
{
    edtJavaScriptPath->setText(QString::fromStdString(optionChoices_.optionPaths.javaScriptPath));
    edtStyleSheetPath->setText(QString::fromStdString(optionChoices_.optionPaths.styleSheetPath));
    edtAchtergrondPath->setText(QString::fromStdString(optionChoices_.optionPaths.achtergrondPath));
    cbxZonderLevenden->setChecked(optionChoices_.zonderLevenden);
}

void TfrmOpties::showEvent(QShowEvent* event)
{
    // A window the desktop shows again (after switching workspaces, say) keeps what is being typed.
    if (!event->spontaneous()) {
        ShowChoices();
        if (const QWidget* parent = parentWidget())
            CentreWindow(*this, parent->window()->geometry());
    }
    QDialog::showEvent(event);
}

void TfrmOpties::keyPressEvent(QKeyEvent* event)
{
    // No button is the default one. Escape is left to the dialog, which closes as by the close box.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace stambrix::app
