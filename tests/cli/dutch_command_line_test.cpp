#include "test_support/child_run.h"
#include "test_support/cli_run.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using stambrix::test_support::ChildResult;
using stambrix::test_support::ChildSetup;
using stambrix::test_support::CliResult;
using stambrix::test_support::RunChild;
using stambrix::test_support::RunCommandLine;
using stambrix::test_support::TempFolder;

constexpr std::string_view kSeeHelp = "\nZie stambrix-cli --help.\n";

struct ParserCase
{
    std::string name;
    std::vector<std::string> args;
    std::string message;
};

std::ostream& operator<<(std::ostream& os, const ParserCase& c)
{
    return os << c.name;
}

class DutchParserMessage : public testing::TestWithParam<ParserCase>
{
};

// What the option parser refuses is said in Dutch, naming the option as the user typed it.
TEST_P(DutchParserMessage, NamesTheFault)
{
    const TempFolder program("stambrix-parser");

    const CliResult result = RunCommandLine(GetParam().args, program.path());

    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "stambrix-cli: " + GetParam().message + std::string(kSeeHelp));
    EXPECT_EQ(result.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, DutchParserMessage,
    testing::Values(ParserCase{"ValueGivenToASwitch",
                               {"--in-frame=ja", "boom.ged"},
                               "--in-frame krijgt geen waarde: --in-frame=ja"},
                    ParserCase{"ValueGivenToAShortSwitch", {"-q=1", "boom.ged"}, "-q krijgt geen waarde: -q=1"},
                    ParserCase{"OptionGivenTwice",
                               {"--uitvoer", "html", "--uitvoer", "tekst", "boom.ged"},
                               "De optie --uitvoer is meer dan één keer gegeven."},
                    ParserCase{"OptionGivenTwiceOnceWithEquals",
                               {"--event=naam", "--event", "beroepen", "boom.ged"},
                               "De optie --event is meer dan één keer gegeven."},
                    ParserCase{"ValueMissingAtTheEnd", {"boom.ged", "--uitvoer"}, "Bij --uitvoer ontbreekt de waarde."},
                    ParserCase{"UnknownOptionWithAValue", {"--kleur=rood", "boom.ged"}, "Onbekende optie: --kleur"},
                    ParserCase{"FileNameLikeAnOptionWithoutTwoDashes", {"-boom.ged"}, "Onbekende optie: -boom.ged"},
                    // «--opt=» gives the option the empty value; the next argument stays what it is.
                    ParserCase{"EmptyValueAfterEquals",
                               {"--event=", "--uitvoer", "html", "boom.ged"},
                               "Onbekende waarde voor --event: \"\". Kies naam, beroepen of plaatsen."},
                    ParserCase{"EmptyPrefixFileAfterEquals",
                               {"--voorzetsels=", "boom.ged"},
                               "Bij --voorzetsels ontbreekt het bestand; laat de optie weg om Voorzetsels.txt op de "
                               "gewone plaatsen te zoeken."}),
    [](const auto& testInfo) { return testInfo.param.name; });

std::size_t Columns(const std::string& line)
{
    return static_cast<std::size_t>(
        std::count_if(line.begin(), line.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

TEST(DutchHelp, FitsATerminalAndShowsTheGedcomFileAsNeeded)
{
    const CliResult help = RunCommandLine({"--help"}, {});

    ASSERT_EQ(help.exitCode, 0);
    std::istringstream lines(help.out);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(Columns(line), 80U) << line;
    EXPECT_NE(help.out.find("Gebruik: stambrix-cli [OPTIES] GEDCOM\n"), std::string::npos) << help.out;
}

// After "--" an argument is a file name even when it begins with "-".
TEST(DutchCommandLine, FileAfterTwoDashesMayBeginWithADash)
{
    const TempFolder tree("stambrix-dashes");
    const TempFolder program("stambrix-dashes-program");
    stambrix::test_support::WriteBytes(tree.path() / "-boom.ged",
                                       "0 HEAD\n0 @I1@ INDI\n1 NAME Jan /Berg/\n1 SEX M\n0 TRLR\n");
    const fs::path before = fs::current_path();
    fs::current_path(tree.path());

    const CliResult result = RunCommandLine({"-q", "--", "-boom.ged"}, program.path());

    fs::current_path(before);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(stambrix::test_support::ReadBytes(tree.path() / "Stambrix" / "Namen.txt"),
              "Berg, Jan\t\tman\t[@I1@]\r\n");
}

struct LocaleCase
{
    std::string locale;
    std::string noSuchFile; ///< the system's reason for ENOENT in that language
};

std::ostream& operator<<(std::ostream& os, const LocaleCase& c)
{
    return os << c.locale;
}

class CliLanguage : public testing::TestWithParam<LocaleCase>
{
};

// stambrix-cli takes the language of its environment for the system's reasons, as other programs do;
// its own messages are Dutch whatever the language.
TEST_P(CliLanguage, SystemReasonsFollowTheLocaleOwnMessagesStayDutch)
{
    const locale_t installed = newlocale(LC_ALL_MASK, GetParam().locale.c_str(), static_cast<locale_t>(nullptr));
    ASSERT_NE(installed, static_cast<locale_t>(nullptr))
        << "the locale " << GetParam().locale << " is missing: scripts/install-deps.sh --tests makes it";
    freelocale(installed);
    const TempFolder work("stambrix-language");
    const fs::path missing = work.path() / "weg.ged";
    ChildSetup setup;
    setup.environment = {"LC_ALL=" + GetParam().locale};

    setup.args = {"-q", missing.string()};
    const ChildResult failed = RunChild(STAMBRIX_CLI_PATH, setup);
    EXPECT_EQ(failed.exitCode, 3);
    EXPECT_EQ(failed.err, "stambrix-cli: " + missing.string() + ": " + GetParam().noSuchFile + "\n");

    setup.args = {missing.string(), "--uitvoer"};
    const ChildResult refused = RunChild(STAMBRIX_CLI_PATH, setup);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, "stambrix-cli: Bij --uitvoer ontbreekt de waarde." + std::string(kSeeHelp));
}

INSTANTIATE_TEST_SUITE_P(Locales, CliLanguage,
                         testing::Values(LocaleCase{"nl_NL.UTF-8", "Bestand of map bestaat niet"},
                                         LocaleCase{"C.UTF-8", "No such file or directory"}),
                         [](const auto& testInfo) {
                             return testInfo.param.locale.substr(0, testInfo.param.locale.find('.'));
                         });

} // namespace
