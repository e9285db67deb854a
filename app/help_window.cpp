#include "app/help_window.h"

#include "app/window_fonts.h"
#include "app/window_placement.h"

#include <algorithm>
#include <cmath>

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>

namespace stambrix::app {

namespace {

// Lines broken by hand; paragraphs begin with "*", sub-items are indented and begin with "-".
constexpr const char* kHelpLines[] = {
    "* Het bestand Voorzetsels.txt bevat een standaardreeks voorvoegsels van achternamen,",
    "  zoals \"van\", \"van der\", \"de\" en \"ter\". Het programma leest het bij elke run van",
    "  de eerste plaats waar het staat: de map van het programma, dan ~/.config/stambrix/",
    "  (of $XDG_CONFIG_HOME/stambrix/), dan /etc/stambrix/, waar het pakket het neerzet;",
    "  staat het nergens, dan gebruikt het programma zijn ingebouwde reeks.",
    "  Deze reeks kunt en moet u zelf aanvullen met de voorvoegsels die in uw eigen",
    "  bestanden voorkomen, want het sorteren berust op de voorvoegsels die daarin staan.",
    "  Kopieer daarvoor /etc/stambrix/Voorzetsels.txt naar ~/.config/stambrix/ en vul",
    "  die kopie aan; de wijzigingen gelden vanaf de volgende run.",
    "  Een naam waarvan het voorvoegsel niet in Voorzetsels.txt staat, komt niet op zijn",
    "  juiste plaats in het alfabet terecht.",
    "* Alle uitvoerbestanden komen in de submap Stambrix naast het gebruikte GEDCOM-",
    "  bestand; die map wordt zo nodig aangemaakt en bestanden met dezelfde naam worden",
    "  overschreven. Tijdens en na een run toont de statusbalk het aantal gelezen regels,",
    "  de verstreken tijd en het aantal geschreven regels. Zijn er geen items gevonden, dan",
    "  meldt het programma dat en wordt er niets geschreven; met \"Levende personen",
    "  weglaten\" aangevinkt komt er dan een lege index in de plaats van de vorige.",
    "* De uitvoer gaat naar TEKST (het eerste item, \"naar tekst\") of anders naar HTML-",
    "  pagina's, met of zonder frames: vink daarvoor \"in frame\" aan of laat het leeg.",
    "  Het vakje \"in frame\" kan alleen bij HTML-uitvoer worden aangevinkt, niet bij",
    "  de website.",
    "* TEKST-uitvoer werkt bij elke soort event: \"Naam\" schrijft Namen.txt, \"Beroepen\"",
    "  schrijft Beroepen.txt en \"Plaatsen\" schrijft Plaatsen.txt.",
    "  Alleen bij \"Plaatsen\" kunt u onder \" Groep \" ook gezinnen of beiden kiezen.",
    "  - De velden in deze tekstbestanden zijn gescheiden door een tab, zodat ze in",
    "    kolommen komen te staan als u ze importeert in een tekstverwerker of rekenblad.",
    "* HTML-uitvoer werkt alleen bij de soort event \"Naam\". De pagina's krijgen namen in",
    "  kleine letters; per keuze onder \" Soort uitvoer \" wordt het volgende geschreven:",
    "  - HTML zonder frame: een enkel bestand, index.htm, met bovenaan een balk met het",
    "    alfabet.",
    "  - HTML in frame: een bestand per letter, indexa.htm ... indexz.htm, zodat een pagina",
    "    snel laadt, en een apart bestand alfabet.htm voor de alfabetbalk, die bovenaan",
    "    blijft staan; index.htm zet die twee samen in een frame.",
    "  - familienamen zonder frame: een enkel bestand, index.htm, met de familienamen onder",
    "    elkaar en de alfabetbalk bovenaan.",
    "  - familienamen in frame: per letter een bestand, indexa.htm ... indexz.htm, met de",
    "    familienamen onder elkaar, en een aparte pagina alfabet.htm met de alfabetbalk,",
    "    die op zijn plaats blijft staan terwijl de pagina schuift.",
    "  - familienamen een regel zonder frame: zoals familienamen zonder frame, maar met de",
    "    familienamen naast elkaar.",
    "  - familienamen een regel in frame: zoals familienamen in frame, maar met de",
    "    familienamen naast elkaar.",
    "  - website: een doorzoekbare namenindex in de submap web, voor een telefoon en een",
    "    computer: index.html met het alfabet en een zoekveld, en een pagina per letter",
    "    (a.html ... z.html, overig.html; een grote letter in delen, a-2.html ...). De",
    "    map web heeft zijn eigen stijlblad, script en pictogram en wordt bij elke run in",
    "    zijn geheel vervangen; genealogie.css en de drie paden onder \"Opties\" gelden",
    "    er niet voor. Zet de hele map web op uw website, of open index.html van schijf",
    "    of een USB-stick: het zoeken werkt ook zonder webserver.",
    "  - Bij HTML-uitvoer wordt ook het bestand genealogie.css geschreven. Daarin kunt u",
    "    lettertype, grootte en dergelijke op een plaats wijzigen, vooral in de secties",
    "    LI.inhoudkop en LI.inhoudtekst, de stijlen van de koppelingen (A:link, A:visited),",
    "    H6.copyright en H6.standaard. Het bestand is zo groot omdat het de standaard",
    "    stylesheet is die Wendmoor voor al zijn programma's gebruikt.",
    "  - Zet u een bestand met de naam achtergrond.jpg in de map van de HTML-bestanden,",
    "    dan vervangt de kleur of afbeelding daarvan de standaard witte achtergrond.",
    "    Met het derde pad onder \"Opties\" kan dat bestand ook ergens anders staan.",
    "  - In de HTML-uitvoer worden deze tekens gebruikt:",
    "    * = geboren; ~ = gedoopt; + = overleden; [] = begraven",
    "",
    "* Onder \"Opties\" (rechter muisknop, of F9) kunt u drie paden opgeven. Ze worden",
    "  nergens bewaard en moeten na elke start van het programma opnieuw worden ingevuld:",
    "     1. Javascript path  : de plaats waar de scripts staan (of komen te staan);",
    "     2. Style sheet path : de plaats waar de stylesheets staan (of komen te staan);",
    "     3. Achtergrond path : de plaats waar de achtergronden staan (of komen te staan).",
    "  Standaard, met een leeg pad, is dat de map waar alle indexpagina's staan. Een pad",
    "  wordt precies zo gebruikt als het is getypt en er wordt geen scheidingsteken aan",
    "  toegevoegd: laat een map dus eindigen op \"/\", bijvoorbeeld ../gemeenschappelijk/.",
    "  De paden gelden vanaf de volgende run nadat u op \"Sluiten\" hebt gedrukt; wie het",
    "  venster met het kruisje sluit, houdt de vorige paden.",
    "  Met \"Levende personen weglaten\" aangevinkt komen personen die nog kunnen",
    "  leven, of die het bestand als privé markeert (RESN confidential of privacy), in",
    "  geen enkele index. Iemand kan nog leven als zijn record geen overlijden, begrafenis",
    "  of crematie heeft en geen datum met een jaartal van 100 jaar of langer geleden.",
    "  Alleen het eigen record telt, niet de datums van ouders, kinderen of een huwelijk:",
    "  een oude persoon zonder eigen datum wordt dus ook weggelaten. Gezinnen worden niet",
    "  beoordeeld. Ook dit vakje wordt nergens bewaard en geldt pas na \"Sluiten\".",
    "",
    "* Een GEDCOM-bestand (.ged) kunt u ook openen door het naar het programma of zijn",
    "  pictogram te slepen en het daar los te laten. Het programma neemt het bestand dan",
    "  over in het vak met het pad; druk daarna op \" Uitvoeren \" om de run te starten.",
    "  Met \"Openen\" kiest u een bestand op de gewone manier.",
    "",
    "Problemen, wensen en waardering kunt u per e-mail kwijt: kies met de rechter",
    "muisknop \"Email\" (of druk op F10). Met \"Homepage\" (F11) komt u op de website van",
    "de maker, en \"Info\" (F12) toont de versie van het programma en het adres van de",
    "maker.",
};

} // namespace

QString HelpText()
{
    QStringList lines;
    for (const char* line : kHelpLines)
        lines << QString::fromUtf8(line);
    return lines.join(QLatin1Char('\n'));
}

TfrmHelp::TfrmHelp(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Help"));
    setModal(true);
    const QFont windowFont = WindowFont(11);
    setFont(windowFont);

    QFont boldFont = windowFont;
    boldFont.setBold(true);

    lblHelp = new QLabel(QStringLiteral("Uitleg bij dit programma :"), this);
    lblHelp->setObjectName(QStringLiteral("lblHelp"));
    lblHelp->setFont(boldFont);
    lblHelp->move(12, 12);
    lblHelp->adjustSize();

    mmHelp = new QPlainTextEdit(this);
    mmHelp->setObjectName(QStringLiteral("mmHelp"));
    mmHelp->setReadOnly(true);
    mmHelp->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmHelp->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mmHelp->setPlainText(HelpText());

    bbtnSluiten = new QPushButton(QStringLiteral("Sluiten"), this);
    bbtnSluiten->setObjectName(QStringLiteral("bbtnSluiten"));
    bbtnSluiten->setFont(boldFont);
    connect(bbtnSluiten, &QPushButton::clicked, this, &TfrmHelp::bbtnSluitenClick);

    setTabOrder(mmHelp, bbtnSluiten);
    FitToText();
}

void TfrmHelp::FitToText()
{
    // The text's lines are broken by hand: the box is as wide as the widest of them in the face in use,
    // so none wraps again or loses its end.
    const QFontMetrics metrics(mmHelp->font());
    int widest = 0;
    for (const QString& line : HelpText().split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const auto margin = static_cast<int>(std::ceil(mmHelp->document()->documentMargin()));
    const int boxWidth = widest + 2 * margin + 2 * mmHelp->frameWidth() +
                         mmHelp->verticalScrollBar()->sizeHint().width() + mmHelp->cursorWidth();
    // The window stays below kMaximumHeight, or the height of the screen less a title bar: the text scrolls.
    int height = kMaximumHeight;
    if (const QScreen* shownOn = screen())
        height = std::min(height, shownOn->availableGeometry().height() - kTitleBarAllowance);
    mmHelp->setGeometry(12, 30, boxWidth, height - 36);
    bbtnSluiten->setGeometry(12 + boxWidth - 75, 3, 75, 25);
    setFixedSize(boxWidth + 25, height);
}

void TfrmHelp::bbtnSluitenClick()
{
    accept();
}

void TfrmHelp::showEvent(QShowEvent* event)
{
    FitToText();
    if (const QScreen* shownOn = screen())
        CentreWindow(*this, shownOn->availableGeometry());
    QDialog::showEvent(event);
}

} // namespace stambrix::app
