#include "cli/run_cli.h"

#include "cli/help_formatter.h"
#include "cli/terminal_panels.h"
#include "cli/usage_problem.h"
#include "run/prefix_file_places.h"
#include "run/run_choices.h"
#include "run/run_index.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace stambrix::cli {

namespace {
constexpr int kWritten = 0;
constexpr int kNothingFound = 1;
constexpr int kUsage = 2;
constexpr int kInputOutput = 3;

struct Arguments
{
    std::string event{run::kEventKinds.front().word};
    std::string group{run::kRecordGroups.front().word};
    std::string output{run::kOutputKinds.front().word};
    bool inFrame = false;
    bool zonderLevenden = false;
    run::OptionPaths optionPaths;
    std::string prefixFile;
    bool prefixFileGiven = false; ///< --voorzetsels was given, perhaps with an empty value
    std::string gedcomPath;
    bool quiet = false;
};

// The row of `table` whose option word is `word`; nothing for an unknown word.
template <typename Table> const typename Table::value_type* RowFor(const Table& table, std::string_view word)
{
    const auto row = std::find_if(table.begin(), table.end(), [word](const auto& facts) { return facts.word == word; });
    return row == table.end() ? nullptr : &*row;
}

// "naam, beroepen of plaatsen": the option words of the rows of `table` that `take`, as a choice, or
// with `lastJoin` " en " as a list.
template <typename Table, typename Take>
std::string WordsOf(const Table& table, Take take, std::string_view lastJoin = " of ")
{
    std::vector<std::string_view> words;
    for (const auto& row : table)
        if (take(row))
            words.push_back(row.word);
    std::string choice;
    for (std::size_t i = 0; i < words.size(); ++i)
        choice.append(i == 0 ? "" : i + 1 == words.size() ? lastJoin : ", ").append(words[i]);
    return choice;
}

template <typename Table> std::string WordsOf(const Table& table)
{
    return WordsOf(table, [](const auto&) { return true; });
}

// "naam (standaard), beroepen of plaatsen": the words of `table`, the first the default.
template <typename Table> std::string WordsWithDefault(const Table& table)
{
    std::string words = WordsOf(table);
    return words.insert(table.front().word.size(), " (standaard)");
}

// The help of --uitvoer: each kind with what it writes, and which kinds go with which event kinds.
std::string OutputKindsHelp()
{
    std::string help = "De vorm: ";
    for (std::size_t i = 0; i < run::kOutputKinds.size(); ++i) {
        const run::OutputKindFacts& row = run::kOutputKinds[i];
        help.append(i == 0 ? "" : i + 1 == run::kOutputKinds.size() ? " of " : ", ").append(row.word);
        if (i == 0)
            help.append(" (standaard)");
        else if (!row.explanation.empty())
            help.append(" (").append(row.explanation).append(")");
    }
    return help + "; " +
           WordsOf(
               run::kOutputKinds, [](const auto& row) { return row.pages; }, " en ") +
           " alleen bij --event " + WordsOf(run::kEventKinds, [](const auto& row) { return row.takesPages; });
}

// The help of --groep: which event kinds choose a group, from which groups.
std::string RecordGroupsHelp()
{
    return "Bij " + WordsOf(run::kEventKinds, [](const auto& row) { return row.choosesRecordGroup; }) + ": uit " +
           WordsWithDefault(run::kRecordGroups) + "; " +
           WordsOf(
               run::kEventKinds, [](const auto& row) { return !row.choosesRecordGroup; }, " en ") +
           " lezen alleen " + std::string(run::kRecordGroups.front().word);
}

void DescribeOptions(CLI::App& app, Arguments& arguments)
{
    app.formatter(std::make_shared<HelpFormatter>());
    app.description("Schrijft een alfabetische index van een GEDCOM-bestand in de map \"Stambrix\" naast dat "
                    "bestand: Namen.txt, Beroepen.txt of Plaatsen.txt, tekst met tabs tussen de velden, of een "
                    "namenindex als HTML-pagina's (index.htm) met het stijlblad genealogie.css, of als "
                    "doorzoekbare website (web/index.html).");
    app.option_defaults()->group("Opties")->disable_flag_override();
    app.add_option("--event", arguments.event, "Wat geïndexeerd wordt: " + WordsWithDefault(run::kEventKinds))
        ->type_name("SOORT");
    app.add_option("--groep", arguments.group, RecordGroupsHelp())->type_name("GROEP");
    app.add_option("--uitvoer", arguments.output, OutputKindsHelp())->type_name("VORM");
    app.add_flag("--in-frame", arguments.inFrame,
                 "HTML in frames: een alfabetpagina boven en een pagina per letter eronder (anders een pagina)");
    app.add_flag("--zonder-levenden", arguments.zonderLevenden,
                 "Personen weglaten die nog kunnen leven (geen overlijden, begrafenis of crematie en geen "
                 "datum van 100 jaar of langer geleden) of die het bestand als privé markeert (RESN), en de "
                 "gebeurtenissen die het zo afschermt");
    app.add_option("--javascript-path", arguments.optionPaths.javaScriptPath,
                   "Map of voorvoegsel van genealogie.js in de kop van elke pagina, precies zoals getypt")
        ->type_name("PAD");
    app.add_option("--stylesheet-path", arguments.optionPaths.styleSheetPath,
                   "Map of voorvoegsel van genealogie.css in de kop van elke pagina, precies zoals getypt")
        ->type_name("PAD");
    app.add_option("--achtergrond-path", arguments.optionPaths.achtergrondPath,
                   "Map of voorvoegsel van achtergrond.jpg, de achtergrond van elke pagina, precies zoals getypt")
        ->type_name("PAD");
    app.add_option("--voorzetsels", arguments.prefixFile,
                   "Bestand met de voorvoegsels van achternamen. Zonder deze optie: " + run::PrefixFilePlacesText() +
                       ", anders de ingebouwde lijst")
        ->type_name("BESTAND");
    app.add_flag("-q,--quiet", arguments.quiet,
                 "Geen voortgang en geen eindstand tonen; meldingen en fouten wel, ook «wacht op een andere run "
                 "in MAP»");
    app.add_option("GEDCOM", arguments.gedcomPath, "Het GEDCOM-bestand (.ged); na -- mag de naam ook met - beginnen");
    app.set_help_flag("-h,--help", "Deze hulp tonen");
    app.set_version_flag("--version", std::string("stambrix-cli ") + STAMBRIX_VERSION, "De versie tonen");
    app.allow_extras();
}

// The Dutch sentence for choices that don't go together.
std::string ConflictMessage(run::ChoiceConflict conflict, const run::RunChoices& choices)
{
    const run::EventKindFacts& event = run::FactsOf(choices.eventKind);
    switch (conflict) {
    case run::ChoiceConflict::PagesNeedNames: {
        const std::string written = WordsOf(run::kOutputKinds, [&](const run::OutputKindFacts& row) {
            return !run::ConflictIn({choices.eventKind, choices.recordGroup, row.kind, false});
        });
        return "De uitvoer \"" + std::string(run::FactsOf(choices.outputKind).word) + "\" kan alleen bij --event " +
               WordsOf(run::kEventKinds, [](const auto& row) { return row.takesPages; }) + "; " +
               std::string(event.word) + " wordt altijd als " + written + " geschreven.";
    }
    case run::ChoiceConflict::FrameNeedsPages:
        return "--in-frame kan alleen bij --uitvoer " +
               WordsOf(run::kOutputKinds, [](const auto& row) { return row.framed; }) + ".";
    case run::ChoiceConflict::GroupNeedsPlaces:
        break;
    }
    return "De groep \"" + std::string(run::FactsOf(choices.recordGroup).word) + "\" kan alleen bij --event " +
           WordsOf(run::kEventKinds, [](const auto& row) { return row.choosesRecordGroup; }) + "; " +
           std::string(event.word) + " wordt altijd uit " + std::string(run::kRecordGroups.front().word) + " gelezen.";
}

// Checks what the parser cannot: the values and how they go together. Returns the Dutch message for
// the first problem, nothing when the choices hold; `choices` then holds them.
std::optional<std::string> CheckChoices(const Arguments& arguments, const std::vector<std::string>& extraFiles,
                                        run::RunChoices& choices)
{
    if (!extraFiles.empty())
        return "Er kan maar één GEDCOM-bestand tegelijk worden geïndexeerd; te veel: " + extraFiles.front();
    const auto* event = RowFor(run::kEventKinds, arguments.event);
    if (event == nullptr)
        return "Onbekende waarde voor --event: \"" + arguments.event + "\". Kies " + WordsOf(run::kEventKinds) + ".";
    const auto* group = RowFor(run::kRecordGroups, arguments.group);
    if (group == nullptr)
        return "Onbekende waarde voor --groep: \"" + arguments.group + "\". Kies " + WordsOf(run::kRecordGroups) + ".";
    const auto* output = RowFor(run::kOutputKinds, arguments.output);
    if (output == nullptr)
        return "Onbekende waarde voor --uitvoer: \"" + arguments.output + "\". Kies " + WordsOf(run::kOutputKinds) +
               ".";
    choices = {event->kind, group->group, output->kind, arguments.inFrame};
    if (const auto conflict = run::ConflictIn(choices))
        return ConflictMessage(*conflict, choices);
    if (arguments.prefixFileGiven && arguments.prefixFile.empty())
        return "Bij --voorzetsels ontbreekt het bestand; laat de optie weg om Voorzetsels.txt op de gewone "
               "plaatsen te zoeken.";
    // A file that may exist behind a folder this user may not search is left to the run, which names
    // the reason.
    std::error_code error;
    if (!arguments.prefixFile.empty() && !std::filesystem::exists(arguments.prefixFile, error) && !error)
        return "Het bestand met voorzetsels bestaat niet: " + arguments.prefixFile;
    if (run::NamesNoFile(arguments.gedcomPath))
        return std::string(run::kNoFileGiven);
    return std::nullopt;
}

int ExitCodeOf(run::RunOutcome outcome)
{
    switch (outcome) {
    case run::RunOutcome::Written:
        return kWritten;
    case run::RunOutcome::NothingFound:
        return kNothingFound;
    case run::RunOutcome::NoFileGiven:
        break;
    }
    return kUsage;
}
} // namespace

int RunCli(std::span<const std::string_view> args, const CliEnvironment& environment, std::ostream& out,
           std::ostream& err)
{
    CLI::App app("", "stambrix-cli");
    Arguments arguments;
    DescribeOptions(app, arguments);
    // After "--" every argument is a file name, also one that begins with "-".
    const auto dashes = std::find(args.begin(), args.end(), "--");
    const std::vector<std::string> options(args.begin(), dashes);
    try {
        const std::vector<std::string> apart = WithEmptyValuesApart(app, options);
        app.parse(std::vector<std::string>(apart.rbegin(), apart.rend()));
    } catch (const CLI::Success& done) {
        return app.exit(done, out, err);
    } catch (const CLI::ParseError&) {
        err << "stambrix-cli: " << UsageProblem(app, options) << "\nZie stambrix-cli --help.\n";
        return kUsage;
    }
    std::vector<std::string> files = app.remaining();
    if (std::any_of(files.begin(), files.end(), LooksLikeOption)) {
        err << "stambrix-cli: " << UsageProblem(app, options) << "\nZie stambrix-cli --help.\n";
        return kUsage;
    }
    if (dashes != args.end())
        files.insert(files.end(), std::next(dashes), args.end());
    arguments.prefixFileGiven = app.count("--voorzetsels") != 0;
    if (arguments.gedcomPath.empty() && app.count("GEDCOM") == 0 && !files.empty()) {
        arguments.gedcomPath = files.front();
        files.erase(files.begin());
    }
    run::RunChoices choices;
    if (const auto problem = CheckChoices(arguments, files, choices)) {
        err << "stambrix-cli: " << *problem << "\nZie stambrix-cli --help.\n";
        return kUsage;
    }
    if (const auto problem = run::SourceDateEpochProblem()) {
        err << "stambrix-cli: " << *problem << '\n';
        return kUsage;
    }

    TerminalPanels panels(err, environment.progressToTerminal && !arguments.quiet);
    try {
        run::RunRequest request;
        request.gedcomPath = arguments.gedcomPath;
        request.choices = choices;
        request.zonderLevenden = arguments.zonderLevenden;
        request.optionPaths = arguments.optionPaths;
        request.prefixes = arguments.prefixFile.empty() ? run::LoadPrefixTable(environment.prefixFilePlaces)
                                                        : run::LoadPrefixTable(run::PathFromUtf8(arguments.prefixFile));
        const run::RunOutcome outcome = run::RunIndex(request, panels, panels);
        if (!arguments.quiet && outcome != run::RunOutcome::NoFileGiven)
            panels.PrintFinalTexts();
        return ExitCodeOf(outcome);
    } catch (const text::RunFailure& error) {
        panels.ClearLine();
        err << "stambrix-cli: " << error.what() << '\n';
        return kInputOutput;
    }
}

} // namespace stambrix::cli
