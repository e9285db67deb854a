#include "cli/run_cli.h"

#include "test_support/cli_run.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>
#include <unicode/uloc.h>

#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;
using stambrix::test_support::CliResult;
using stambrix::test_support::EntriesOf;
using stambrix::test_support::ReadBytes;
using stambrix::test_support::RunCommandLine;
using stambrix::test_support::WriteBytes;

const fs::path kDataDir = STAMBRIX_TEST_DATA;
const fs::path kFixtureDir = kDataDir / "html";
const fs::path kExpectedDir = kDataDir / "expected" / "html";

// 1700000000 seconds after the epoch is 14-11-2023 22:13:20 UTC.
constexpr const char* kFixedMoment = "1700000000";

constexpr fs::perms kReadOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;

const std::vector<std::string> kLetterPages = [] {
    std::vector<std::string> names;
    for (char letter = 'a'; letter <= 'z'; ++letter)
        names.push_back(std::string("index") + letter + ".htm");
    return names;
}();

/// `line` with its control bytes and bytes above 127 as escapes, so a message shows every byte.
std::string Visible(std::string_view line)
{
    std::string shown;
    for (const char ch : line) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte == '\r') {
            shown += "\\r";
        } else if (byte == '\t') {
            shown += "\\t";
        } else if (byte < 32 || byte > 126) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            shown += hex;
        } else {
            shown += ch;
        }
    }
    return shown;
}

/// The lines of `text`, each with what ends it ("\r" stays visible, the "\n" is dropped).
std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start) + "<no line end>");
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

/// The pages a run writes: the stylesheet, and the frameset, alphabet and 26 letter pages or the
/// single page; `caseFolder` ends in "-frame" for the framed layout.
std::set<std::string> ExpectedNamesOf(const fs::path& caseFolder)
{
    std::set<std::string> names = EntriesOf(caseFolder);
    names.insert({"genealogie.css", "index.htm"});
    if (caseFolder.filename().string().ends_with("-frame")) {
        names.insert("alfabet.htm");
        for (char letter = 'a'; letter <= 'z'; ++letter)
            names.insert(std::string("index") + letter + ".htm");
    }
    return names;
}

/// The expected page `name` of a case: its own, or else the page all cases of its character set
/// share (the stylesheet, the frameset and alphabet pages, the empty letter pages). A case with a
/// page "indexoverig.htm" has the alphabet page with the cell "#".
fs::path ExpectedFile(const fs::path& caseFolder, const std::string& name)
{
    if (fs::exists(caseFolder / name))
        return caseFolder / name;
    if (name == "genealogie.css")
        return kExpectedDir / "common" / name;
    const std::string fixture = caseFolder.parent_path().filename().string();
    const bool utf8 = fixture == "utf8_names" || fixture == "danish_aa";
    const fs::path common = kExpectedDir / "common" / (utf8 ? "utf-8" : "windows-1252");
    if (name == "alfabet.htm" && fs::exists(caseFolder / "indexoverig.htm"))
        return common / "alfabet-overig.htm";
    return common / name;
}

/// Where `actual` first departs from `expected`, line by line; empty when they are equal.
std::string DifferenceOf(const std::string& expected, const std::string& actual)
{
    if (expected == actual)
        return {};
    const std::vector<std::string> want = LinesOf(expected);
    const std::vector<std::string> got = LinesOf(actual);
    std::size_t line = 0;
    while (line < want.size() && line < got.size() && want[line] == got[line])
        ++line;
    std::ostringstream message;
    message << "first difference at line " << line + 1 << " (expected " << want.size() << " lines, got " << got.size()
            << ")\n";
    const std::size_t from = line >= 2 ? line - 2 : 0;
    for (std::size_t i = from; i < line; ++i)
        message << "    " << Visible(want[i]) << '\n';
    message << "  - " << (line < want.size() ? Visible(want[line]) : std::string("<end of file>")) << '\n';
    message << "  + " << (line < got.size() ? Visible(got[line]) : std::string("<end of file>")) << '\n';
    return message.str();
}

/// Each test works in a folder of its own with a blank in its name, with the built-in prefixes
/// and with SOURCE_DATE_EPOCH fixed, so the footer date is known.
class HtmlOutput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const char* before = std::getenv("SOURCE_DATE_EPOCH"))
            epochBefore_ = before;
        setenv("SOURCE_DATE_EPOCH", kFixedMoment, 1);
    }
    void TearDown() override
    {
        if (epochBefore_)
            setenv("SOURCE_DATE_EPOCH", epochBefore_->c_str(), 1);
        else
            unsetenv("SOURCE_DATE_EPOCH");
    }

    fs::path TreeFolder() const { return work_.path() / "Mijn stamboom"; }
    fs::path OutputFolder() const { return TreeFolder() / "Stambrix"; }

    fs::path CopyIntoTree(const std::string& fixture)
    {
        fs::create_directories(TreeFolder());
        const fs::path target = TreeFolder() / fixture;
        fs::copy_file(kFixtureDir / fixture, target, fs::copy_options::overwrite_existing);
        return target;
    }

    /// A file put into the output folder before a run, as an earlier run or the user left it.
    fs::path PutIntoOutputFolder(const std::string& name, std::string_view bytes)
    {
        fs::create_directories(OutputFolder());
        const fs::path target = OutputFolder() / name;
        WriteBytes(target, bytes);
        return target;
    }

    CliResult Run(std::vector<std::string> options, const fs::path& gedcom) const
    {
        options.push_back(gedcom.string());
        return RunCommandLine(options, programDir_.path());
    }

    /// Compares every file of the output folder with the expected folder: the same names, the
    /// same bytes. Names in `skip` are left out on both sides.
    void ExpectOutputFolderMatches(const fs::path& expectedFolder, const std::set<std::string>& skip = {}) const
    {
        std::set<std::string> expectedNames = ExpectedNamesOf(expectedFolder);
        std::set<std::string> writtenNames = EntriesOf(OutputFolder());
        for (const auto& name : skip) {
            expectedNames.erase(name);
            writtenNames.erase(name);
        }
        EXPECT_EQ(writtenNames, expectedNames) << "files in " << OutputFolder();
        for (const auto& name : expectedNames) {
            if (!writtenNames.contains(name))
                continue;
            const fs::path expectedFile = ExpectedFile(expectedFolder, name);
            const std::string expected = ReadBytes(expectedFile);
            const std::string written = ReadBytes(OutputFolder() / name);
            EXPECT_TRUE(written == expected)
                << name << " differs from " << expectedFile << ": " << DifferenceOf(expected, written);
        }
    }

    stambrix::test_support::TempFolder work_{"stambrix-html"};
    stambrix::test_support::TempFolder programDir_{"stambrix-html-program"};

private:
    std::optional<std::string> epochBefore_;
};

// ---------------------------------------------------------------------------------------------
// Every page of a run compared with hand-written pages.

struct PageSetCase
{
    std::string fixture; ///< a .ged file in the html fixture folder
    std::string kind;    ///< the value of --uitvoer
    bool framed = false;
    int read = 0;    ///< person records, "gelezen : N"
    int written = 0; ///< entries handed out, "geschreven : N"

    std::string ExpectedFolder() const
    {
        return fs::path(fixture).stem().string() + "/" + kind + (framed ? "-frame" : "-single");
    }
    std::vector<std::string> Options() const
    {
        std::vector<std::string> options = {"--uitvoer", kind};
        if (framed)
            options.push_back("--in-frame");
        return options;
    }
};

std::ostream& operator<<(std::ostream& os, const PageSetCase& c)
{
    return os << c.fixture << " --uitvoer " << c.kind << (c.framed ? " --in-frame" : "");
}

// Every line is written and counted in both layouts. Framed, "Émile", "Édouard", "Ölberg",
// "Østergaard" and "Öztürk" are on the pages of their base letters; "-Streep", "'Amico", "<i>Raar",
// "1e Berg" and, in the name index, the persons with an empty surname on the page "indexoverig.htm".
// Without a surname a person has no family name: counted, but on no page.
const std::vector<PageSetCase> kPageSets = {
    {"almost_every_letter.ged", "html", false, 34, 34},
    {"almost_every_letter.ged", "html", true, 34, 34},
    {"almost_every_letter.ged", "familienamen", false, 34, 34},
    {"almost_every_letter.ged", "familienamen", true, 34, 34},
    {"almost_every_letter.ged", "familienamen-een-regel", false, 34, 34},
    {"almost_every_letter.ged", "familienamen-een-regel", true, 34, 34},
    {"no_a.ged", "html", false, 10, 10},
    {"no_a.ged", "html", true, 10, 10},
    {"no_a.ged", "familienamen", false, 10, 10},
    {"no_a.ged", "familienamen", true, 10, 10},
    {"no_a.ged", "familienamen-een-regel", false, 10, 10},
    {"no_a.ged", "familienamen-een-regel", true, 10, 10},
    {"odd_initials.ged", "html", false, 17, 17},
    {"odd_initials.ged", "html", true, 17, 17},
    {"odd_initials.ged", "familienamen", false, 17, 17},
    {"odd_initials.ged", "familienamen", true, 17, 17},
    {"odd_initials.ged", "familienamen-een-regel", false, 17, 17},
    {"odd_initials.ged", "familienamen-een-regel", true, 17, 17},
    {"utf8_names.ged", "html", false, 8, 8},
    {"utf8_names.ged", "html", true, 8, 8},
    {"utf8_names.ged", "familienamen", false, 8, 8},
    {"utf8_names.ged", "familienamen-een-regel", false, 8, 8},
    // Converted to UTF-8 from code page 437 and Mac OS Roman, and declared so.
    {"ibmpc_names.ged", "html", false, 8, 8},
    {"macintosh_names.ged", "html", false, 8, 8},
};

std::string CaseName(const PageSetCase& c)
{
    std::string name = fs::path(c.fixture).stem().string() + "_" + c.kind + (c.framed ? "_frame" : "_single");
    std::replace_if(
        name.begin(), name.end(), [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
    return name;
}

class HtmlPageSet : public HtmlOutput, public ::testing::WithParamInterface<PageSetCase>
{
};

TEST_P(HtmlPageSet, WritesTheHandWrittenPages)
{
    const PageSetCase& c = GetParam();
    std::vector<std::string> options = c.Options();
    options.push_back("-q");

    const CliResult result = Run(options, CopyIntoTree(c.fixture));

    ASSERT_EQ(result.exitCode, 0) << "err: " << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "") << "a quiet run that wrote its pages says nothing";
    ExpectOutputFolderMatches(kExpectedDir / c.ExpectedFolder());
}

TEST_P(HtmlPageSet, EndsWithTheReadAndWrittenCounts)
{
    const PageSetCase& c = GetParam();

    const CliResult result = Run(c.Options(), CopyIntoTree(c.fixture));

    ASSERT_EQ(result.exitCode, 0) << "err: " << result.err;
    const std::regex panels(R"((^|\n)  gelezen : (\d+)\n  \d\d:\d\d:\d\d:\d\d\n  geschreven : (\d+)\n$)");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(result.err, match, panels)) << "err was:\n" << result.err;
    EXPECT_EQ(std::stoi(match[2]), c.read);
    EXPECT_EQ(std::stoi(match[3]), c.written);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, HtmlPageSet, ::testing::ValuesIn(kPageSets),
                         [](const auto& testInfo) { return CaseName(testInfo.param); });

// In Danish "aa" sorts after "z" and "ø", so the lines of "a" come in two runs: at the start
// ("Andersen") and at the end ("Aagaard"). The letter page of "a" holds both runs in their sorted
// order; it is not written a second time with the last run only.
class HtmlDanishOrder : public HtmlOutput, public ::testing::WithParamInterface<PageSetCase>
{
protected:
    void SetUp() override
    {
        HtmlOutput::SetUp();
        localeBefore_ = uloc_getDefault();
        UErrorCode status = U_ZERO_ERROR;
        uloc_setDefault("da_DK", &status);
        ASSERT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    }
    void TearDown() override
    {
        UErrorCode status = U_ZERO_ERROR;
        uloc_setDefault(localeBefore_.c_str(), &status);
        HtmlOutput::TearDown();
    }

private:
    std::string localeBefore_;
};

TEST_P(HtmlDanishOrder, GathersEveryLineOfALetterOnItsOnePage)
{
    const PageSetCase& c = GetParam();
    const CliResult result = Run(c.Options(), CopyIntoTree(c.fixture));

    ASSERT_EQ(result.exitCode, 0) << "err: " << result.err;
    ExpectOutputFolderMatches(kExpectedDir / c.ExpectedFolder());
    const std::regex written(R"(\n  geschreven : (\d+)\n$)");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(result.err, match, written)) << "err was:\n" << result.err;
    EXPECT_EQ(std::stoi(match[1]), c.written);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, HtmlDanishOrder,
                         ::testing::Values(PageSetCase{"danish_aa.ged", "html", false, 7, 7},
                                           PageSetCase{"danish_aa.ged", "html", true, 7, 7},
                                           PageSetCase{"danish_aa.ged", "familienamen", true, 7, 7},
                                           PageSetCase{"danish_aa.ged", "familienamen-een-regel", true, 7, 7}),
                         [](const auto& testInfo) { return CaseName(testInfo.param); });

TEST_F(HtmlOutput, ByteOrderMarkMakesTheFileUtf8Too)
{
    std::string bytes = ReadBytes(kFixtureDir / "utf8_names.ged");
    const std::string charLine = "1 CHAR UTF-8\r\n";
    const auto at = bytes.find(charLine);
    ASSERT_NE(at, std::string::npos);
    bytes.erase(at, charLine.size());
    fs::create_directories(TreeFolder());
    const fs::path gedcom = TreeFolder() / "utf8_bom.ged";
    WriteBytes(gedcom, "\xEF\xBB\xBF" + bytes);

    const CliResult result = Run({"--uitvoer", "html", "-q"}, gedcom);

    ASSERT_EQ(result.exitCode, 0) << "err: " << result.err;
    ExpectOutputFolderMatches(kExpectedDir / "utf8_names" / "html-single");
}

// Framed, every person is on one page: that of the base letter of the surname's first character
// (É e, Ö o, Æ a), or "indexoverig.htm" for a digit, another script, an empty surname or no NAME.
TEST_F(HtmlOutput, FramedPagesHoldEveryPersonOnThePageOfTheInitial)
{
    const CliResult result = Run({"--uitvoer", "html", "--in-frame"}, CopyIntoTree("every_initial.ged"));

    ASSERT_EQ(result.exitCode, 0) << "err: " << result.err;
    EXPECT_TRUE(result.err.ends_with("  geschreven : 8\n")) << result.err;
    const std::map<std::string, std::multiset<std::string>> expected = {
        {"indexa.htm", {"Karen"}},
        {"indexb.htm", {"Piet"}},
        {"indexe.htm", {"Paul"}},
        {"indexo.htm", {"Ali"}},
        {"indexoverig.htm", {"Jan", "Kees", "Ivan", "vrouw"}},
    };
    const std::regex entry(R"(<LI CLASS="inhoudtekst">([^<]*)</LI>)");
    for (const std::string& name : EntriesOf(OutputFolder())) {
        if (!name.starts_with("index") || name == "index.htm")
            continue;
        const std::string page = ReadBytes(OutputFolder() / name);
        std::multiset<std::string> entries;
        for (auto it = std::sregex_iterator(page.begin(), page.end(), entry); it != std::sregex_iterator(); ++it)
            entries.insert((*it)[1]);
        const auto wanted = expected.find(name);
        EXPECT_EQ(entries, wanted == expected.end() ? std::multiset<std::string>() : wanted->second) << name;
    }
    EXPECT_NE(ReadBytes(OutputFolder() / "alfabet.htm")
                  .find("\r\n      <A CLASS=\"1\" TARGET=\"inhoudalfabet\" HREF=\"indexoverig.htm\"><B>#</B></A>\r\n"),
              std::string::npos);
}

// A person without a NAME line has an empty heading: on the single page no anchor or heading is made
// of the rest of the line, and the entry is written.
TEST_F(HtmlOutput, SinglePageGivesAPersonWithoutNameNoHeading)
{
    const CliResult result = Run({"--uitvoer", "html", "-q"}, CopyIntoTree("every_initial.ged"));

    ASSERT_EQ(result.exitCode, 0) << "err: " << result.err;
    const std::string page = ReadBytes(OutputFolder() / "index.htm");
    EXPECT_EQ(page.find('\t'), std::string::npos) << page;
    EXPECT_NE(page.find("\r\n         <UL><LI CLASS=\"inhoudtekst\">vrouw</LI></UL>\r\n"), std::string::npos) << page;
}

// ---------------------------------------------------------------------------------------------
// The footer date and the option paths in the page head.

struct FooterDateCase
{
    std::string name;
    std::string seconds;
    std::string date;
};

class HtmlFooterDate : public HtmlOutput, public ::testing::WithParamInterface<FooterDateCase>
{
};

TEST_P(HtmlFooterDate, IsTheUtcDateOfSourceDateEpoch)
{
    setenv("SOURCE_DATE_EPOCH", GetParam().seconds.c_str(), 1);

    const CliResult result = Run({"--uitvoer", "html", "-q"}, CopyIntoTree("no_a.ged"));

    ASSERT_EQ(result.exitCode, 0) << "err: " << result.err;
    const std::string page = ReadBytes(OutputFolder() / "index.htm");
    const std::string footer = "\r\nlaatst bijgewerkt : " + GetParam().date + "<BR>\r\n</H6>\r\n";
    EXPECT_NE(page.find(footer), std::string::npos) << page.substr(page.size() > 160 ? page.size() - 160 : 0);
}

INSTANTIATE_TEST_SUITE_P(Moments, HtmlFooterDate,
                         ::testing::Values(FooterDateCase{"Epoch", "0", "01-01-1970"},
                                           FooterDateCase{"LeapDayFirstSecond", "951782400", "29-02-2000"},
                                           FooterDateCase{"LeapDayLastSecond", "951868799", "29-02-2000"},
                                           FooterDateCase{"NextDay", "951868800", "01-03-2000"}),
                         [](const auto& testInfo) { return testInfo.param.name; });

struct OptionPathCase
{
    std::string name;
    std::string javaScriptPath;
    std::string styleSheetPath;
    std::string achtergrondPath;
    std::string linkLine;
    std::string scriptLine;
    std::string bodyLine;
};

class HtmlOptionPaths : public HtmlOutput, public ::testing::WithParamInterface<OptionPathCase>
{
};

// The paths are lower-cased (A to Z only), joined to the file name without a separator, and
// escaped, on every page that has a head (and a body).
TEST_P(HtmlOptionPaths, ReachEveryPageHead)
{
    const OptionPathCase& c = GetParam();

    const CliResult result = Run({"--uitvoer", "html", "--in-frame", "-q", "--javascript-path", c.javaScriptPath,
                                  "--stylesheet-path", c.styleSheetPath, "--achtergrond-path", c.achtergrondPath},
                                 CopyIntoTree("no_a.ged"));

    ASSERT_EQ(result.exitCode, 0) << "err: " << result.err;
    std::vector<std::string> pages = kLetterPages;
    pages.push_back("index.htm");
    pages.push_back("alfabet.htm");
    for (const auto& page : pages) {
        const std::string bytes = ReadBytes(OutputFolder() / page);
        EXPECT_NE(bytes.find("\r\n" + c.linkLine + "\r\n"), std::string::npos) << page << ":\n" << bytes;
        EXPECT_NE(bytes.find("\r\n" + c.scriptLine + "\r\n"), std::string::npos) << page << ":\n" << bytes;
        const bool framesetPage = page == "index.htm";
        EXPECT_EQ(bytes.find("\r\n" + c.bodyLine + "\r\n") != std::string::npos, !framesetPage) << page << ":\n"
                                                                                                << bytes;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, HtmlOptionPaths,
    ::testing::Values(
        OptionPathCase{"FoldersWithSeparator", "Script/", "Stijl/", "Beelden/",
                       R"(<LINK REL="STYLESHEET" TYPE="text/css" HREF="stijl/genealogie.css">)",
                       R"(<SCRIPT TYPE="text/javascript" LANGUAGE="javascript" SRC="script/genealogie.js"></SCRIPT>)",
                       R"(<BODY BACKGROUND="beelden/achtergrond.jpg">)"},
        OptionPathCase{"NoSeparatorAdded", "../JS", "../css", "http://Example.NL/img",
                       R"(<LINK REL="STYLESHEET" TYPE="text/css" HREF="../cssgenealogie.css">)",
                       R"(<SCRIPT TYPE="text/javascript" LANGUAGE="javascript" SRC="../jsgenealogie.js"></SCRIPT>)",
                       R"(<BODY BACKGROUND="http://example.nl/imgachtergrond.jpg">)"},
        OptionPathCase{
            "Escaped", "<Script>/", "Jan & Piet/", "Foto's \"Oud\"\\",
            R"(<LINK REL="STYLESHEET" TYPE="text/css" HREF="jan &amp; piet/genealogie.css">)",
            R"(<SCRIPT TYPE="text/javascript" LANGUAGE="javascript" SRC="&lt;script&gt;/genealogie.js"></SCRIPT>)",
            R"(<BODY BACKGROUND="foto's &quot;oud&quot;\achtergrond.jpg">)"},
        // Only A to Z are lowered: the UTF-8 bytes of "É" and "Ö" stay as they are.
        OptionPathCase{"OnlyAToZLowered", "", "\xC3\x89TUDES/", "Bj\xC3\x96RK/",
                       "<LINK REL=\"STYLESHEET\" TYPE=\"text/css\" HREF=\"\xC3\x89tudes/genealogie.css\">",
                       R"(<SCRIPT TYPE="text/javascript" LANGUAGE="javascript" SRC="genealogie.js"></SCRIPT>)",
                       "<BODY BACKGROUND=\"bj\xC3\x96rk/achtergrond.jpg\">"}),
    [](const auto& testInfo) { return testInfo.param.name; });

// «--stylesheet-path=» is the empty path, as «--stylesheet-path ""» is: the files beside the pages.
TEST_F(HtmlOutput, EmptyPathsAfterEqualsAreTheFilesBesideThePages)
{
    const CliResult result = Run(
        {"--stylesheet-path=", "--uitvoer", "html", "--javascript-path=", "-q", "--achtergrond-path=", "--in-frame"},
        CopyIntoTree("no_a.ged"));

    ASSERT_EQ(result.exitCode, 0) << "err: " << result.err;
    const std::string page = ReadBytes(OutputFolder() / "indexb.htm");
    EXPECT_NE(page.find(R"(<LINK REL="STYLESHEET" TYPE="text/css" HREF="genealogie.css">)"), std::string::npos);
    EXPECT_NE(page.find(R"(SRC="genealogie.js")"), std::string::npos);
    EXPECT_NE(page.find(R"(<BODY BACKGROUND="achtergrond.jpg">)"), std::string::npos);
}

// ---------------------------------------------------------------------------------------------
// Choices the window would never allow.

struct RefusalCase
{
    std::string name;
    std::vector<std::string> options;
};

class HtmlRefusal : public HtmlOutput, public ::testing::WithParamInterface<RefusalCase>
{
};

TEST_P(HtmlRefusal, ExitsWithTwoAndWritesNothing)
{
    std::vector<std::string> options = GetParam().options;
    options.push_back("-q");

    const CliResult result = Run(options, CopyIntoTree("almost_every_letter.ged"));

    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err, "");
    EXPECT_EQ(result.out, "");
    EXPECT_FALSE(fs::exists(OutputFolder())) << "a refused command line writes nothing";
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, HtmlRefusal,
    ::testing::Values(RefusalCase{"HtmlWithBeroepen", {"--uitvoer", "html", "--event", "beroepen"}},
                      RefusalCase{"HtmlWithPlaatsen", {"--event", "plaatsen", "--uitvoer", "html", "--in-frame"}},
                      RefusalCase{"FamilienamenWithPlaatsen", {"--uitvoer", "familienamen", "--event", "plaatsen"}},
                      RefusalCase{"EenRegelWithBeroepen",
                                  {"--uitvoer", "familienamen-een-regel", "--event", "beroepen"}},
                      RefusalCase{"InFrameWithDefaultTekst", {"--in-frame"}},
                      RefusalCase{"InFrameWithTekst", {"--uitvoer", "tekst", "--in-frame"}},
                      RefusalCase{"InFrameWithBeroepen", {"--event", "beroepen", "--in-frame"}},
                      RefusalCase{"UnknownOutputKind", {"--uitvoer", "pdf"}},
                      RefusalCase{"OutputKindWithoutValue", {"--uitvoer"}}),
    [](const auto& testInfo) { return testInfo.param.name; });

// ---------------------------------------------------------------------------------------------
// What was on disk before a run.

// Whatever stands in the stylesheet's place and cannot be replaced is reported with its path and
// the reason, and left as it was; the pages are written all the same.
TEST_F(HtmlOutput, UnreplaceableStylesheetIsReportedAndThePagesAreStillWritten)
{
    const std::string ownStyle = "BODY\r\n   {\r\n      color: #000000;\r\n   }\r\n";
    const fs::path stylesheet = PutIntoOutputFolder("genealogie.css", ownStyle);
    fs::permissions(stylesheet, kReadOnly);

    CliResult result = Run({"--uitvoer", "html", "--in-frame", "-q"}, CopyIntoTree("almost_every_letter.ged"));

    EXPECT_EQ(result.exitCode, 0) << "err: " << result.err;
    EXPECT_EQ(result.err,
              "stambrix-cli: Het bestand " + stylesheet.string() + " kon niet aangemaakt worden: Permission denied\n");
    EXPECT_EQ(ReadBytes(stylesheet), ownStyle);
    EXPECT_EQ(fs::status(stylesheet).permissions() & fs::perms::all, kReadOnly);
    ExpectOutputFolderMatches(kExpectedDir / "almost_every_letter" / "html-frame", {"genealogie.css"});

    fs::remove(stylesheet);
    fs::create_directory(stylesheet);
    result = Run({"--uitvoer", "html", "--in-frame", "-q"}, CopyIntoTree("almost_every_letter.ged"));

    EXPECT_EQ(result.exitCode, 0) << "err: " << result.err;
    EXPECT_EQ(result.err,
              "stambrix-cli: Het bestand " + stylesheet.string() + " kon niet aangemaakt worden: Is a directory\n");
    EXPECT_TRUE(fs::is_directory(stylesheet));
    ExpectOutputFolderMatches(kExpectedDir / "almost_every_letter" / "html-frame", {"genealogie.css"});
}

TEST_F(HtmlOutput, WritableStylesheetOfTheUserIsReplaced)
{
    PutIntoOutputFolder("genealogie.css", "BODY { color: red; }\r\n");

    const CliResult result = Run({"--uitvoer", "familienamen", "-q"}, CopyIntoTree("no_a.ged"));

    ASSERT_EQ(result.exitCode, 0) << "err: " << result.err;
    ExpectOutputFolderMatches(kExpectedDir / "no_a" / "familienamen-single");
}

struct UnwritablePageCase
{
    std::string name;
    std::vector<std::string> options;
    std::string page;    ///< read-only, or a folder, before the second run
    bool folder = false; ///< a folder in the page's place instead of a read-only page
    std::string reason;
};

class HtmlUnwritablePage : public HtmlOutput, public ::testing::WithParamInterface<UnwritablePageCase>
{
};

// The pages are replaced as a set: a page that cannot be replaced ends the run before any page is,
// so the index of the earlier run stays whole, and no temporary file stays behind.
TEST_P(HtmlUnwritablePage, EndsTheRunAndKeepsEveryEarlierPage)
{
    const UnwritablePageCase& c = GetParam();
    std::vector<std::string> options = c.options;
    options.push_back("-q");
    ASSERT_EQ(Run(options, CopyIntoTree("no_a.ged")).exitCode, 0);
    const fs::path page = OutputFolder() / c.page;
    if (c.folder) {
        fs::remove(page);
        fs::create_directory(page);
    } else {
        fs::permissions(page, kReadOnly);
    }
    const stambrix::test_support::FolderContents before = stambrix::test_support::ContentsOf(OutputFolder());
    const std::set<std::string> namesBefore = EntriesOf(OutputFolder());

    const CliResult result = Run(options, CopyIntoTree("almost_every_letter.ged"));

    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, "stambrix-cli: " + page.string() + ": " + c.reason + "\n");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(EntriesOf(OutputFolder()), namesBefore) << "no temporary file";
    EXPECT_EQ(stambrix::test_support::DifferencesBetween(before, stambrix::test_support::ContentsOf(OutputFolder())),
              "");
}

INSTANTIATE_TEST_SUITE_P(
    Pages, HtmlUnwritablePage,
    ::testing::Values(
        UnwritablePageCase{"LetterPage", {"--uitvoer", "html", "--in-frame"}, "indexm.htm", false, "Permission denied"},
        UnwritablePageCase{"AlphabetPage",
                           {"--uitvoer", "familienamen-een-regel", "--in-frame"},
                           "alfabet.htm",
                           false,
                           "Permission denied"},
        UnwritablePageCase{"SinglePage", {"--uitvoer", "familienamen"}, "index.htm", false, "Permission denied"},
        UnwritablePageCase{
            "FolderInPlaceOfALetterPage", {"--uitvoer", "html", "--in-frame"}, "indexm.htm", true, "Is a directory"}),
    [](const auto& testInfo) { return testInfo.param.name; });

// A later run writes every letter page, so nothing of a tree that has since changed stays published:
// the page of "q" without names now, and "indexoverig.htm" that this tree does not need, are empty.
TEST_F(HtmlOutput, PagesOfAnEarlierRunWithoutLinesNowAreWrittenEmpty)
{
    fs::create_directories(TreeFolder());
    const fs::path gedcom = TreeFolder() / "utf8_names.ged";
    WriteBytes(gedcom, "0 HEAD\r\n1 CHAR UTF-8\r\n0 @I1@ INDI\r\n1 NAME Jan /Quist/\r\n0 @I2@ INDI\r\n"
                       "1 NAME Piet /1e Berg/\r\n0 TRLR\r\n");
    ASSERT_EQ(Run({"--uitvoer", "html", "--in-frame", "-q"}, gedcom).exitCode, 0);
    ASSERT_NE(ReadBytes(OutputFolder() / "indexq.htm").find("Quist"), std::string::npos);
    PutIntoOutputFolder("aantekeningen.txt", "eigen aantekeningen\r\n");
    fs::copy_file(kFixtureDir / "utf8_names.ged", gedcom, fs::copy_options::overwrite_existing);

    const CliResult result = Run({"--uitvoer", "html", "--in-frame", "-q"}, gedcom);

    ASSERT_EQ(result.exitCode, 0) << "err: " << result.err;
    ExpectOutputFolderMatches(kExpectedDir / "utf8_names" / "html-frame", {"indexoverig.htm", "aantekeningen.txt"});
    const std::string emptyOther = ReadBytes(kExpectedDir / "common" / "utf-8" / "indexoverig.htm");
    EXPECT_EQ(ReadBytes(OutputFolder() / "indexoverig.htm"), emptyOther);
    EXPECT_EQ(ReadBytes(OutputFolder() / "aantekeningen.txt"), "eigen aantekeningen\r\n");
}

TEST_F(HtmlOutput, SecondRunOfAnotherKindReplacesThePagesItWalks)
{
    const fs::path gedcom = CopyIntoTree("odd_initials.ged");
    ASSERT_EQ(Run({"--uitvoer", "html", "--in-frame", "-q"}, gedcom).exitCode, 0);

    const CliResult result = Run({"--uitvoer", "familienamen", "--in-frame", "-q"}, gedcom);

    ASSERT_EQ(result.exitCode, 0) << "err: " << result.err;
    ExpectOutputFolderMatches(kExpectedDir / "odd_initials" / "familienamen-frame");
}

// ---------------------------------------------------------------------------------------------
// --zonder-levenden with everyone left out: the pages of the earlier run are written again, empty.

// Persons born in 1985 and 2015 may be alive. The same set of pages is written as before, every page
// with an empty list: neither name is left on any page.
TEST_F(HtmlOutput, EveryoneLeftOutReplacesEveryFramedPageByAnEmptyOne)
{
    fs::create_directories(TreeFolder());
    const fs::path gedcom = TreeFolder() / "levenden.ged";
    WriteBytes(gedcom, "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Jan /Visser/\r\n1 BIRT\r\n2 DATE 1985\r\n"
                       "0 @I2@ INDI\r\n1 NAME Piet /Mulder/\r\n1 BIRT\r\n2 DATE 2015\r\n0 TRLR\r\n");
    std::vector<std::string> options{"--uitvoer", "html", "--in-frame", "-q"};
    ASSERT_EQ(Run(options, gedcom).exitCode, 0);
    const std::set<std::string> pages = EntriesOf(OutputFolder());
    options.push_back("--zonder-levenden");

    const CliResult result = Run(options, gedcom);

    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Er zijn geen items gevonden; de vorige index is vervangen door een lege.\n");
    EXPECT_EQ(EntriesOf(OutputFolder()), pages);
    for (const std::string& page : pages) {
        const std::string bytes = ReadBytes(OutputFolder() / page);
        EXPECT_EQ(bytes.find("Visser"), std::string::npos) << page;
        EXPECT_EQ(bytes.find("Mulder"), std::string::npos) << page;
        EXPECT_EQ(bytes.find("<LI CLASS=\"inhoudtekst\">"), std::string::npos) << page;
    }
}

} // namespace
