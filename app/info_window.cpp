#include "app/info_window.h"

#include "app/record_identity.h"
#include "app/registry_store.h"
#include "app/window_fonts.h"
#include "app/window_placement.h"

#include <algorithm>

#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>

namespace stambrix::app {

namespace {

/// A label in a bevelled panel, centred text, with the design caption and a font `pixelSize` high.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, const QRect& geometry, int pixelSize,
                  bool bold = false)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    QFont labelFont = parent->font();
    labelFont.setPixelSize(pixelSize);
    labelFont.setBold(bold);
    label->setFont(labelFont);
    return label;
}

QFrame* MakePanel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(geometry);
    // A lowered outer and a raised inner bevel.
    panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    return panel;
}

QString ReadProgram(const char* valueName)
{
    return TRegRead().ReadValue(RootKey::CurrentUser, kProgramBaseKey, kProgramSubKey, valueName);
}

QString ReadMaker(const char* valueName)
{
    return TRegRead().ReadValue(RootKey::CurrentUser, kMakerKey, QString(), valueName);
}

/// The width `text` takes in `font`, its slanted ends included.
int LogoWidth(const QFont& font, const QString& text)
{
    const QFontMetrics metrics(font);
    const QRect ink = metrics.boundingRect(text);
    return std::max(metrics.horizontalAdvance(text), ink.right() + 1) - std::min(0, ink.left()) + 4;
}

void SetTextColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

TfrmwmInfoTool::TfrmwmInfoTool(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), logoTimer_(new QTimer(this))
{
    setObjectName(QStringLiteral("frmwmInfoTool"));
    setWindowTitle(QStringLiteral("Informatie"));
    setModal(true);
    setFont(WindowFont(13));
    setFixedSize(184, 239);

    pnlInfo = new QFrame(this);
    pnlInfo->setObjectName(QStringLiteral("pnlInfo"));
    pnlInfo->setFrameStyle(QFrame::NoFrame);
    pnlInfo->setGeometry(rect());

    pnlProgramma = MakePanel(pnlInfo, "pnlProgramma", QRect(6, 9, 171, 61));
    lblProgrammaNaam =
        MakeLabel(pnlProgramma, "lblProgrammaNaam", QStringLiteral("Programma naam"), QRect(8, 6, 150, 15), 11, true);
    lblVersieNummer =
        MakeLabel(pnlProgramma, "lblVersieNummer", QStringLiteral("Versie nummer"), QRect(8, 22, 150, 15), 11);
    lblVersieDatum =
        MakeLabel(pnlProgramma, "lblVersieDatum", QStringLiteral("Versie datum"), QRect(8, 38, 150, 16), 11);

    pnlCopyRight = MakePanel(pnlInfo, "pnlCopyRight", QRect(6, 75, 171, 123));
    lblCopyRight =
        MakeLabel(pnlCopyRight, "lblCopyRight", QStringLiteral("Inlichtingen bij :"), QRect(8, 9, 150, 15), 11, true);
    lblNaam = MakeLabel(pnlCopyRight, "lblNaam", QStringLiteral("Naam"), QRect(8, 25, 150, 16), 12);
    lblAdres = MakeLabel(pnlCopyRight, "lblAdres", QStringLiteral("Adres"), QRect(8, 39, 150, 15), 11);
    lblWoonplaats =
        MakeLabel(pnlCopyRight, "lblWoonplaats", QStringLiteral("Postcode  Plaats"), QRect(8, 54, 150, 16), 11);
    lblTelefoon = MakeLabel(pnlCopyRight, "lblTelefoon", QStringLiteral("Telefoon"), QRect(8, 69, 150, 16), 11);
    lblSoftware = MakeLabel(pnlCopyRight, "lblSoftware", QStringLiteral("Wendmoor"), QRect(8, 125, 155, 36), 37);
    QFont designLogoFont = lblSoftware->font();
    designLogoFont.setFamily(QStringLiteral("Garamond"));
    designLogoFont.setItalic(true);
    lblSoftware->setFont(designLogoFont);

    bbtnSluiten = new QPushButton(QStringLiteral("Sluiten"), pnlInfo);
    bbtnSluiten->setObjectName(QStringLiteral("bbtnSluiten"));
    bbtnSluiten->setGeometry(45, 204, 99, 27);
    QFont boldFont = bbtnSluiten->font();
    boldFont.setBold(true);
    bbtnSluiten->setFont(boldFont);
    connect(bbtnSluiten, &QPushButton::clicked, this, &TfrmwmInfoTool::bbtnSluitenClick);

    logoTimer_->setObjectName(QStringLiteral("tmrLogo"));
    logoTimer_->setInterval(kLogoStepMilliseconds);
    logoTimer_->setTimerType(Qt::PreciseTimer);
    connect(logoTimer_, &QTimer::timeout, this, &TfrmwmInfoTool::MoveLogo);
}

void TfrmwmInfoTool::FormActivate()
{
    FillLabels();
    SetTextColour(lblSoftware, QColor(0, 128, 128));
    FitLogoToText();
    logoSteps_ = 0;
    exposure_ = QDeadlineTimer(1000);
    logoTimer_->start();
}

bool TfrmwmInfoTool::LogoAtRest() const
{
    return !logoTimer_->isActive();
}

void TfrmwmInfoTool::bbtnSluitenClick()
{
    accept();
}

void TfrmwmInfoTool::showEvent(QShowEvent* event)
{
    if (const QScreen* shownOn = screen())
        CentreWindow(*this, shownOn->availableGeometry());
    QDialog::showEvent(event);
    // The animation must run on the window as it stands on the screen, which is only after this event.
    if (!event->spontaneous())
        QMetaObject::invokeMethod(this, &TfrmwmInfoTool::FormActivate, Qt::QueuedConnection);
}

void TfrmwmInfoTool::FillLabels()
{
    lblProgrammaNaam->setText(ReadProgram("Naam"));
    lblVersieNummer->setText(QStringLiteral("versie ") + ReadProgram("Versie"));
    lblVersieDatum->setText(ReadProgram("Datum"));
    lblNaam->setText(ReadMaker("Naam"));
    lblAdres->setText(ReadMaker("Adres"));
    lblWoonplaats->setText(ReadMaker("PostCode") + QStringLiteral("  ") + ReadMaker("Plaats"));
    lblTelefoon->setText(ReadMaker("Telefoon"));
    lblSoftware->setText(ReadMaker("Logo"));
}

void TfrmwmInfoTool::MoveLogo()
{
    // A window that the desktop has not yet put on the screen would show none of the steps: the animation
    // waits for it, a second at most.
    const QWindow* window = windowHandle();
    if (window != nullptr && !window->isExposed() && !exposure_.hasExpired())
        return;
    lblSoftware->move(lblSoftware->x(), lblSoftware->y() - kLogoStepPixels);
    repaint();
    if (++logoSteps_ < kLogoSteps)
        return;
    logoTimer_->stop();
    SetTextColour(lblSoftware, QColor(0, 0, 255));
}

void TfrmwmInfoTool::FitLogoToText()
{
    // The face standing in for Comic Sans MS may be wider: the label takes the width of the text in the
    // face in use, centred in the panel, and a smaller size where the panel is narrower than the text.
    const QRect room = pnlCopyRight->contentsRect();
    QFont logoFont = ComicFont(21);
    int width = LogoWidth(logoFont, lblSoftware->text());
    while (width > room.width() && logoFont.pointSize() > 1) {
        logoFont.setPointSize(logoFont.pointSize() - 1);
        width = LogoWidth(logoFont, lblSoftware->text());
    }
    lblSoftware->setFont(logoFont);
    const int height = std::max(33, QFontMetrics(logoFont).height());
    if (width <= 159)
        lblSoftware->setGeometry(6, kLogoStartTop, 159, height);
    else
        lblSoftware->setGeometry(room.left() + (room.width() - width) / 2, kLogoStartTop, width, height);
}

} // namespace stambrix::app
