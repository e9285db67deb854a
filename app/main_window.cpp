#include "app/main_window.h"

#include "app/core_text.h"
#include "app/failure_message.h"
#include "app/gedcom_drop.h"
#include "app/interaction.h"
#include "app/radio_group.h"
#include "app/record_identity.h"
#include "app/registry_store.h"
#include "app/run_messages.h"
#include "app/running_window.h"
#include "app/status_bar_panels.h"
#include "app/window_fonts.h"
#include "app/worker_run.h"
#include "progress/cancellation.h"
#include "progress/panel_texts.h"
#include "run/prefix_file_places.h"
#include "run/run_choices.h"
#include "run/run_index.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace stambrix::app {

namespace {
// The three choice groups stand side by side from kGroupsTop down. The output kinds' box is as high as
// its items take, the box "in frame" right below it, and what stands below the choices moves down
// with them.
constexpr int kGroupsTop = 63;
constexpr int kGroupHeight = 139;
constexpr int kItemPitch = 22;
constexpr int kOutputBoxHeight = 27 + kItemPitch * static_cast<int>(run::kOutputKinds.size());
constexpr int kChoicesBottom = std::max(kGroupsTop + kGroupHeight, kGroupsTop + kOutputBoxHeight + 5 + 17);
constexpr int kBelowChoices = 75; // the line of the living persons, the status bar and the margins

template <typename Table> QStringList CaptionsOf(const Table& table)
{
    QStringList captions;
    for (const auto& row : table)
        captions.append(FromUtf8(row.caption));
    return captions;
}

// Where the file dialog opens: in the folder of the file in the path field, at home when the field is
// empty or that folder is gone.
QString StartFolderFor(const QString& path)
{
    if (!path.trimmed().isEmpty())
        if (const QDir folder = QFileInfo(path).absoluteDir(); folder.exists())
            return folder.absolutePath();
    return QDir::homePath();
}

QToolButton* AddButton(QToolBar* bar, const char* objectName, const QString& caption)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(objectName);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFixedSize(71, 21);
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    bar->addWidget(button);
    return button;
}

void AddGap(QToolBar* bar, const char* objectName, int width)
{
    auto* gap = new QWidget(bar);
    gap->setObjectName(objectName);
    gap->setFixedWidth(width);
    bar->addWidget(gap);
}
} // namespace

TfrmStambrix::TfrmStambrix(QStringList arguments, OptionChoices& optionChoices)
    : arguments_(std::move(arguments)), optionChoices_(optionChoices)
{
    setObjectName("frmStambrix");
    setWindowTitle("Stambrix");
    setFont(WindowFont(11));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildButtonBar());
    layout->addWidget(BuildChoices(), 1);
    auto* statusPanel = new QWidget(this);
    statusPanel->setObjectName("pnlStatusBalk");
    statusPanel->setFixedHeight(30);
    auto* statusLayout = new QVBoxLayout(statusPanel);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    auto* statusBar = new QStatusBar(statusPanel);
    statusBar->setObjectName("sbarStambrix");
    statusBar->setSizeGripEnabled(false);
    statusLayout->addWidget(statusBar);
    panels_ = std::make_unique<StatusBarPanels>(statusBar);
    messages_ = std::make_unique<RunMessages>(*panels_);
    layout->addWidget(statusPanel);
    BuildContextMenu();
    // A GEDCOM file dropped on the window or on its path field is taken as one chosen with "Openen".
    new GedcomDrop(
        {this, edtBestandOpenen_},
        [this](const QString& path) {
            panels_->Reset();
            edtBestandOpenen_->setText(QDir::toNativeSeparators(path));
        },
        this);
    setFixedSize(361, kChoicesBottom + kBelowChoices);
    // The panels stand in place from the first showing, also where the desktop never activates the window.
    layout->activate();
    statusLayout->activate();
    panels_->SetStatusPanelWidths();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

TfrmStambrix::~TfrmStambrix() = default;

QWidget* TfrmStambrix::BuildButtonBar()
{
    auto* panel = new QWidget(this);
    panel->setObjectName("pnlKnoppenBalk");
    panel->setFixedHeight(30);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QToolBar(panel);
    bar->setObjectName("tlbStambrix");
    layout->addWidget(bar);
    AddGap(bar, "tbtnSep01", 8);
    tbtnOpenen_ = AddButton(bar, "tbtnOpenen", "Openen");
    AddGap(bar, "tbtnSep02", 18);
    AddGap(bar, "tbtnOpslaan", 71);
    AddGap(bar, "tbtnSep03", 18);
    tbtnUitvoeren_ = AddButton(bar, "tbtnUitvoeren", " Uitvoeren ");
    AddGap(bar, "tbtnSep04", 18);
    tbtnAfsluiten_ = AddButton(bar, "tbtnAfsluiten", "Afsluiten");
    connect(tbtnOpenen_, &QToolButton::clicked, this, &TfrmStambrix::tbtnOpenenClick);
    connect(tbtnUitvoeren_, &QToolButton::clicked, this, &TfrmStambrix::tbtnUitvoerenClick);
    connect(tbtnAfsluiten_, &QToolButton::clicked, this, &TfrmStambrix::tbtnAfsluitenClick);
    return panel;
}

QWidget* TfrmStambrix::BuildChoices()
{
    auto* panel = new QWidget(this);
    panel->setObjectName("pnlStambrix");
    auto* label = new QLabel("Welk bestand moet geopend worden :", panel);
    label->setObjectName("lblBestandOpenen");
    label->setGeometry(15, 15, 334, 15);
    edtBestandOpenen_ = new QLineEdit(panel);
    edtBestandOpenen_->setObjectName("edtBestandOpenen");
    edtBestandOpenen_->setGeometry(15, 30, 334, 21);
    // Filled only by "Openen" and the command line, but legible: the cursor keys and the mouse scroll
    // through a long path and select in it, and the tooltip holds the whole path.
    edtBestandOpenen_->setReadOnly(true);
    connect(edtBestandOpenen_, &QLineEdit::textChanged, edtBestandOpenen_, &QLineEdit::setToolTip);
    rgrpEvent_ = new RadioGroup("rgrpEvent", " Event ", CaptionsOf(run::kEventKinds), panel);
    rgrpEvent_->setGeometry(15, kGroupsTop, 84, kGroupHeight);
    rgrpGroep_ = new RadioGroup("rgrpGroep", " Groep ", CaptionsOf(run::kRecordGroups), panel);
    rgrpGroep_->setGeometry(111, kGroupsTop, 84, kGroupHeight);
    rgrpSoortUitvoer_ = new RadioGroup("rgrpSoortUitvoer", " Soort uitvoer ", CaptionsOf(run::kOutputKinds), panel);
    rgrpSoortUitvoer_->setGeometry(207, kGroupsTop, 142, kOutputBoxHeight);
    cbxInFrame_ = new QCheckBox("in frame", panel);
    cbxInFrame_->setObjectName("cbxInFrame");
    cbxInFrame_->setGeometry(210, kGroupsTop + kOutputBoxHeight + 5, 136, 17);
    cbxInFrame_->setEnabled(false);
    lblZonderLevenden_ = new QLabel(panel);
    lblZonderLevenden_->setObjectName("lblZonderLevenden");
    lblZonderLevenden_->setGeometry(15, kChoicesBottom + 1, 334, 14);
    lblZonderLevenden_->hide();
    QWidget::setTabOrder(edtBestandOpenen_, rgrpEvent_);
    QWidget::setTabOrder(rgrpEvent_, rgrpGroep_);
    QWidget::setTabOrder(rgrpGroep_, rgrpSoortUitvoer_);
    QWidget::setTabOrder(rgrpSoortUitvoer_, cbxInFrame_);
    connect(rgrpEvent_, &RadioGroup::itemIndexChanged, this, &TfrmStambrix::rgrpEventClick);
    connect(rgrpGroep_, &RadioGroup::itemIndexChanged, this, &TfrmStambrix::rgrpGroepClick);
    connect(rgrpSoortUitvoer_, &RadioGroup::itemIndexChanged, this, &TfrmStambrix::rgrpSoortUitvoerClick);
    return panel;
}

void TfrmStambrix::BuildContextMenu()
{
    pmnuStambrix_ = new QMenu(this);
    pmnuStambrix_->setObjectName("pmnuStambrix");
    auto addItem = [this](const char* objectName, const QString& caption, Qt::Key key,
                          void (TfrmStambrix::*handler)()) {
        QAction* action = pmnuStambrix_->addAction(caption);
        action->setObjectName(objectName);
        action->setShortcut(QKeySequence(key));
        action->setShortcutContext(Qt::WindowShortcut);
        // Added to the window too, so the key works without the menu open.
        addAction(action);
        connect(action, &QAction::triggered, this, handler);
    };
    auto addLine = [this](const char* objectName) { pmnuStambrix_->addSeparator()->setObjectName(objectName); };
    addItem("pmnuStambrixOpties", "Opties", Qt::Key_F9, &TfrmStambrix::pmnuStambrixOptiesClick);
    addLine("pmnuStambrixLijn01");
    addItem("pmnuStambrixHelp", "Help", Qt::Key_F1, &TfrmStambrix::pmnuStambrixHelpClick);
    addLine("pmnuStambrixLijn02");
    addItem("pmnuStambrixEmail", "Email", Qt::Key_F10, &TfrmStambrix::pmnuStambrixEmailClick);
    addItem("pmnuStambrixpage", "Homepage", Qt::Key_F11, &TfrmStambrix::pmnuStambrixpageClick);
    addLine("pmnuStambrixLijn03");
    addItem("pmnuStambrixInfo", "Info", Qt::Key_F12, &TfrmStambrix::pmnuStambrixInfoClick);
    // A disabled control keeps a context menu request to itself instead of passing it to the window, and the
    // path field would open its own edit menu, so the window takes the request from every control before the
    // control sees it.
    installEventFilter(this);
    for (QWidget* control : findChildren<QWidget*>())
        if (control != pmnuStambrix_)
            control->installEventFilter(this);
}

bool TfrmStambrix::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ContextMenu) {
        pmnuStambrix_->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (event->type() == QEvent::KeyPress && IsToolbarCommand(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
            static_cast<QToolButton*>(watched)->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TfrmStambrix::IsToolbarCommand(const QObject* object) const
{
    return object == tbtnOpenen_ || object == tbtnUitvoeren_ || object == tbtnAfsluiten_;
}

bool TfrmStambrix::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        FormActivate();
        // Back from the options window, say.
        ShowZonderLevenden();
    }
    return QWidget::event(event);
}

void TfrmStambrix::closeEvent(QCloseEvent* event)
{
    if (!IsRunning()) {
        QWidget::closeEvent(event);
        return;
    }
    const bool stop = CurrentInteraction().askYesNo(this, QStringLiteral("De index wordt nog gemaakt. Stoppen?"));
    // The run may have ended while the question was open; then the window closes now.
    if (stop && IsRunning()) {
        closeWhenStopped_ = true;
        run_->Cancel();
    }
    event->setAccepted(stop && !IsRunning());
}

void TfrmStambrix::FormCreate()
{
    RecordIdentity(QCoreApplication::applicationDirPath());
}

void TfrmStambrix::FormActivate()
{
    if (activated_)
        return;
    activated_ = true;
    panels_->SetStatusPanelWidths();
    panels_->Reset();
    optionChoices_ = {};
    QString directory = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    while (directory.endsWith(QDir::separator()) && directory.size() > 1)
        directory.chop(1);
    programDirectory_ = directory;
    const TRegRead registry;
    mailAddress_ = registry.ReadValue(RootKey::CurrentUser, kProgramBaseKey, "Programma", "Email");
    homePageAddress_ = registry.ReadValue(RootKey::CurrentUser, kMakerKey, "", "Homepage");
    if (!arguments_.isEmpty())
        edtBestandOpenen_->setText(arguments_.front());
    prefixFilePlaces_ = run::PrefixFilePlaces(programDirectory_.toStdString());
}

// The list is read for every run, so a list mended, added or removed meanwhile counts without a restart. One
// that stands there but cannot be read stops the run before anything is made, rather than letting it sort
// without the prefixes the user put in it.
bool TfrmStambrix::LoadPrefixesForRun()
{
    try {
        prefixes_ = run::LoadPrefixTable(prefixFilePlaces_);
        return true;
    } catch (const text::RunFailure& error) {
        ShowMessage(this,
                    UnreadableFileMessage(error) +
                        QStringLiteral(" Er is geen index gemaakt. Herstel of verwijder dit bestand met voorvoegsels "
                                       "van achternamen en voer de opdracht opnieuw uit."),
                    MessageKind::Error);
        return false;
    }
}

void TfrmStambrix::tbtnOpenenClick()
{
    panels_->Reset();
    ShowZonderLevenden();
    const QString chosen = CurrentInteraction().chooseGedcomFile(this, StartFolderFor(edtBestandOpenen_->text()));
    if (!chosen.isEmpty())
        edtBestandOpenen_->setText(QDir::toNativeSeparators(chosen));
}

void TfrmStambrix::tbtnUitvoerenClick()
{
    if (!LoadPrefixesForRun())
        return;
    run::RunRequest request;
    request.gedcomPath = edtBestandOpenen_->text().toStdString();
    request.choices.eventKind = static_cast<run::EventKind>(rgrpEvent_->ItemIndex());
    request.choices.recordGroup = static_cast<run::RecordGroup>(rgrpGroep_->ItemIndex());
    request.choices.outputKind = static_cast<run::OutputKind>(rgrpSoortUitvoer_->ItemIndex());
    request.choices.inFrame = cbxInFrame_->isChecked();
    request.optionPaths = optionChoices_.optionPaths;
    request.zonderLevenden = optionChoices_.zonderLevenden;
    request.prefixes = prefixes_;
    if (const auto problem = run::SourceDateEpochProblem()) {
        ShowMessage(this, FromUtf8(*problem), MessageKind::Warning);
        return;
    }
    running_ =
        std::make_unique<RunningWindow>(*this, QList<QWidget*>{tbtnOpenen_, tbtnUitvoeren_, tbtnAfsluiten_, rgrpEvent_,
                                                               rgrpGroep_, rgrpSoortUitvoer_, cbxInFrame_});
    run_ = std::make_unique<WorkerRun>(std::move(request), *panels_, *messages_);
    connect(run_.get(), &WorkerRun::finished, this, &TfrmStambrix::RunFinished);
    ShowZonderLevenden();
}

void TfrmStambrix::CancelRun()
{
    if (IsRunning())
        run_->Cancel();
}

bool TfrmStambrix::IsRunning() const
{
    return run_ != nullptr && run_->IsRunning();
}

void TfrmStambrix::RunFinished()
{
    running_.reset();
    run::RunOutcome outcome = run::RunOutcome::Written;
    QString failure;
    try {
        outcome = run_->Outcome();
    } catch (const progress::RunCancelled&) {
        // Asked for by the close box, which closes the window now.
    } catch (const text::RunFailure& error) {
        failure = RunFailureMessage(error, run_->Request());
    }
    if (closeWhenStopped_) {
        closeWhenStopped_ = false;
        messages_->Drop();
        close();
    } else {
        ShowZonderLevenden();
        messages_->ShowAfterRun(this, outcome, failure);
    }
    emit runEnded();
}

void TfrmStambrix::ShowZonderLevenden()
{
    QString text = FromUtf8(kZonderLevendenCaption) + QStringLiteral(" staat aan");
    if (const std::optional<std::uint64_t> leftOut = panels_->LeftOut())
        text += QStringLiteral("; ") + FromUtf8(progress::LeftOutText(*leftOut));
    lblZonderLevenden_->setText(text);
    lblZonderLevenden_->setVisible(optionChoices_.zonderLevenden);
}

void TfrmStambrix::tbtnAfsluitenClick()
{
    close();
}

void TfrmStambrix::pmnuStambrixOptiesClick()
{
    if (windows_.options != nullptr)
        CurrentInteraction().showModal(windows_.options);
}

void TfrmStambrix::pmnuStambrixHelpClick()
{
    if (windows_.help != nullptr)
        CurrentInteraction().showModal(windows_.help);
}

void TfrmStambrix::pmnuStambrixEmailClick()
{
    CurrentInteraction().openAddress("Mailto:" + mailAddress_);
}

void TfrmStambrix::pmnuStambrixpageClick()
{
    CurrentInteraction().openAddress(homePageAddress_);
}

void TfrmStambrix::pmnuStambrixInfoClick()
{
    if (windows_.info != nullptr)
        CurrentInteraction().showModal(windows_.info);
}

// The items of the three groups are the rows of the run's tables, in order: an item index is the value
// of its kind. After every click the window shows the choices as the table reconciles them.
void TfrmStambrix::ShowReconciledChoices()
{
    const run::RunChoices chosen{
        static_cast<run::EventKind>(rgrpEvent_->ItemIndex()), static_cast<run::RecordGroup>(rgrpGroep_->ItemIndex()),
        static_cast<run::OutputKind>(rgrpSoortUitvoer_->ItemIndex()), cbxInFrame_->isChecked()};
    const run::RunChoices reconciled = run::Reconciled(chosen);
    rgrpGroep_->SetItemIndex(static_cast<int>(reconciled.recordGroup));
    rgrpSoortUitvoer_->SetItemIndex(static_cast<int>(reconciled.outputKind));
    cbxInFrame_->setChecked(reconciled.inFrame);
    cbxInFrame_->setEnabled(run::FactsOf(reconciled.outputKind).framed);
}

void TfrmStambrix::rgrpEventClick()
{
    ShowReconciledChoices();
}

void TfrmStambrix::rgrpGroepClick()
{
    ShowReconciledChoices();
}

void TfrmStambrix::rgrpSoortUitvoerClick()
{
    ShowReconciledChoices();
}

} // namespace stambrix::app
