#include "run/run_index.h"
#include "run/run_request.h"
#include "scan/scan_test_support.h"
#include "test_support/recording_progress.h"
#include "test_support/temp_folder.h"
#include "text/run_failure.h"
#include "text/utf8.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unicode/uloc.h>

namespace stambrix::run {
namespace {

namespace fs = std::filesystem;

class RunIndexTest : public ::testing::Test
{
protected:
    std::string WriteGedcom(const std::string& name, const std::string& text)
    {
        const fs::path path = folder_.path() / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    run::RunOutcome Run(const std::string& path, EventKind kind = EventKind::Naam,
                        run::OutputKind outputKind = run::OutputKind::NaarTekst)
    {
        run::RunRequest request;
        request.gedcomPath = path;
        request.choices.eventKind = kind;
        request.choices.outputKind = outputKind;
        request.prefixes = names::DefaultPrefixes();
        return run::RunIndex(request, progress_, messages_);
    }

    static std::string Contents(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    test_support::TempFolder folder_{"stambrix-run"};
    test_support::RecordingProgress progress_;
    test_support::RecordingMessages messages_;
};

TEST_F(RunIndexTest, BlankPathShowsItsMessageAndDoesNothingElse)
{
    // A blank path has no folder part: "Stambrix" would be made in the current folder.
    const fs::path previous = fs::current_path();
    fs::current_path(folder_.path());
    EXPECT_EQ(Run(" \t "), run::RunOutcome::NoFileGiven);
    EXPECT_TRUE(fs::is_empty(folder_.path()));
    fs::current_path(previous);
    EXPECT_EQ(messages_.messages, std::vector<std::string>{"Er is geen bestand opgegeven om te openen."});
    // The panels are cleared, not merely left alone.
    EXPECT_EQ(progress_.resets, 1);
    EXPECT_TRUE(progress_.read.empty());
    EXPECT_TRUE(progress_.time.empty());
}

TEST_F(RunIndexTest, NoWantedRecordLeavesTheFolderButWritesNothing)
{
    const std::string path = WriteGedcom("leeg.ged", scan::testing::Gedcom({"0 HEAD", "0 @F1@ FAM", "0 TRLR"}));
    EXPECT_EQ(Run(path), run::RunOutcome::NothingFound);
    EXPECT_EQ(messages_.messages, std::vector<std::string>{"Er zijn geen items gevonden."});
    EXPECT_TRUE(fs::is_directory(folder_.path() / "Stambrix"));
    EXPECT_TRUE(fs::is_empty(folder_.path() / "Stambrix"));
    EXPECT_EQ(progress_.time.size(), 1u);
}

TEST_F(RunIndexTest, WritesTheSortedIndexWithCounts)
{
    const std::string path = WriteGedcom(
        "fam.ged", scan::testing::Gedcom({"0 HEAD", "0 @I1@ INDI", "1 NAME Piet /Berg/", "1 OCCU smid", "0 @I2@ INDI",
                                          "1 NAME Jan /berg/", "1 OCCU Bakker", "0 @I3@ INDI", "1 NAME Anna /van Aken/",
                                          "1 OCCU arts", "0 TRLR"}));
    EXPECT_EQ(Run(path), run::RunOutcome::Written);
    EXPECT_EQ(Contents(folder_.path() / "Stambrix" / "Namen.txt"),
              "Aken, Anna van\t\t\t[@I3@]\r\nberg, Jan\t\t\t[@I2@]\r\nBerg, Piet\t\t\t[@I1@]\r\n");
    EXPECT_EQ(test_support::LastOf(progress_.read), 3u);
    EXPECT_EQ(test_support::LastOf(progress_.written), 3u);
    EXPECT_TRUE(messages_.messages.empty());

    EXPECT_EQ(Run(path, EventKind::Beroepen), run::RunOutcome::Written);
    EXPECT_EQ(Contents(folder_.path() / "Stambrix" / "Beroepen.txt"),
              "arts\t[@I3@]\r\nBakker\t[@I2@]\r\nsmid\t[@I1@]\r\n");
}

TEST_F(RunIndexTest, LinesEqualExceptForCaseAlwaysComeInTheSameOrder)
{
    const std::string path =
        WriteGedcom("case.ged", scan::testing::Gedcom({"0 @I1@ INDI", "1 NAME /BERG/", "0 @I1@ INDI", "1 NAME /berg/",
                                                       "0 @I1@ INDI", "1 NAME /Berg/", "0 TRLR"}));
    ASSERT_EQ(Run(path), run::RunOutcome::Written);
    EXPECT_EQ(Contents(folder_.path() / "Stambrix" / "Namen.txt"),
              "BERG, \t\t\t[@I1@]\r\nBerg, \t\t\t[@I1@]\r\nberg, \t\t\t[@I1@]\r\n");
}

// Entries of megabytes (a sort key larger than a block of keys) beside ordinary ones.
TEST_F(RunIndexTest, EntriesOfMegabytesAreIndexedBesideOthers)
{
    const std::string longName(2 << 20, 'x');
    std::string gedcom = scan::testing::Gedcom({"0 @I1@ INDI", "1 NAME Jan /Berg/", "1 OCCU smid", "0 @I2@ INDI"});
    gedcom += "1 NAME " + longName + " /Groot/\r\n0 @I3@ INDI\r\n1 NAME Kees /Dam/\r\n1 OCCU a\r\n";
    for (int i = 0; i < 300000; ++i)
        gedcom += "2 CONC abcdefghij\r\n";
    gedcom += "0 TRLR\r\n";
    const std::string path = WriteGedcom("groot.ged", gedcom);

    ASSERT_EQ(Run(path), run::RunOutcome::Written);
    EXPECT_EQ(Contents(folder_.path() / "Stambrix" / "Namen.txt"),
              "Berg, Jan\t\t\t[@I1@]\r\nDam, Kees\t\t\t[@I3@]\r\nGroot, " + longName + "\t\t\t[@I2@]\r\n");
    ASSERT_EQ(Run(path, EventKind::Beroepen), run::RunOutcome::Written);
    std::string occupation = "a";
    for (int i = 0; i < 300000; ++i)
        occupation += "abcdefghij";
    EXPECT_EQ(Contents(folder_.path() / "Stambrix" / "Beroepen.txt"), occupation + "\t[@I3@]\r\nsmid\t[@I1@]\r\n");
}

// A tab or another control character in a value is a blank: every line keeps its fields.
TEST_F(RunIndexTest, ControlCharactersInValuesBecomeBlanks)
{
    const std::string path =
        WriteGedcom("tab.ged", scan::testing::Gedcom({"0 @I\t1@ INDI", "1 NAME Jan\tEVIL /Jan\x7fsen/", "1 BIRT",
                                                      "2 DATE 12\tMAY 1850", "2 PLAC Goes\x1aZeeland",
                                                      "1 OCCU smid\tbaas", "0 TRLR"}));
    ASSERT_EQ(Run(path), run::RunOutcome::Written);
    EXPECT_EQ(Contents(folder_.path() / "Stambrix" / "Namen.txt"), "Jan sen, Jan EVIL\t* 12-05-1850\t\t[@I 1@]\r\n");
    ASSERT_EQ(Run(path, EventKind::Beroepen), run::RunOutcome::Written);
    EXPECT_EQ(Contents(folder_.path() / "Stambrix" / "Beroepen.txt"), "smid baas\t[@I 1@]\r\n");
    ASSERT_EQ(Run(path, EventKind::Plaatsen), run::RunOutcome::Written);
    EXPECT_EQ(Contents(folder_.path() / "Stambrix" / "Plaatsen.txt"), "Goes Zeeland\t[@I 1@]\r\n");
}

TEST_F(RunIndexTest, MissingFileThrowsWithItsPathAndCreatesNoFolder)
{
    const std::string path = (folder_.path() / "nergens" / "weg.ged").string();
    try {
        (void)Run(path);
        FAIL() << "no text::RunFailure";
    } catch (const text::RunFailure& error) {
        EXPECT_EQ(std::string(error.what()), path + ": No such file or directory");
    }
    EXPECT_FALSE(fs::exists(folder_.path() / "nergens"));
}

TEST_F(RunIndexTest, OutputFolderThatIsAFileThrowsAndKeepsIt)
{
    const std::string path = WriteGedcom("fam.ged", scan::testing::Gedcom({"0 @I1@ INDI", "0 TRLR"}));
    WriteGedcom("Stambrix", "geen map");
    EXPECT_THROW((void)Run(path), text::RunFailure);
    EXPECT_EQ(Contents(folder_.path() / "Stambrix"), "geen map");
}

// The user's locale as ICU sees it, set for one test and put back afterwards.
class DefaultLocale
{
public:
    explicit DefaultLocale(const char* locale) : previous_(uloc_getDefault()) { Set(locale); }
    ~DefaultLocale() { Set(previous_.c_str()); }
    DefaultLocale(const DefaultLocale&) = delete;
    DefaultLocale& operator=(const DefaultLocale&) = delete;

private:
    static void Set(const char* locale)
    {
        UErrorCode status = U_ZERO_ERROR;
        uloc_setDefault(locale, &status);
        EXPECT_TRUE(U_SUCCESS(status)) << locale;
    }
    std::string previous_;
};

// ICU has no collator for a locale whose collation strength is no strength at all.
TEST_F(RunIndexTest, CollatorIcuCannotMakeThrowsWithLocaleAndReasonAndKeepsTheIndex)
{
    const std::string path =
        WriteGedcom("fam.ged", scan::testing::Gedcom({"0 @I1@ INDI", "1 NAME Jan /Berg/", "0 TRLR"}));
    fs::create_directory(folder_.path() / "Stambrix");
    WriteGedcom("Stambrix/Namen.txt", "Dam, Kees\t\t\t[@I7@]\r\n");
    const DefaultLocale failing("nl@colStrength=bogus");
    try {
        (void)Run(path);
        FAIL() << "no text::RunFailure";
    } catch (const text::RunFailure& error) {
        EXPECT_EQ(std::string(error.what()), "ICU-sortering voor nl@colstrength=bogus: U_ILLEGAL_ARGUMENT_ERROR");
    }
    EXPECT_EQ(Contents(folder_.path() / "Stambrix" / "Namen.txt"), "Dam, Kees\t\t\t[@I7@]\r\n");
}

TEST_F(RunIndexTest, AnselPagesDeclareUtf8AndTheTextIndexIsUtf8)
{
    const std::string path = WriteGedcom("ansel.ged", scan::testing::Gedcom({"0 HEAD", "1 CHAR ANSEL", "0 @I1@ INDI",
                                                                             "1 NAME Fran\xF0"
                                                                             "cois /Dvo\xE9r\xE2"
                                                                             "ak/",
                                                                             "0 TRLR"}));
    ASSERT_EQ(Run(path, EventKind::Naam, run::OutputKind::Html), run::RunOutcome::Written);
    const std::string page = Contents(folder_.path() / "Stambrix" / "index.htm");
    EXPECT_NE(page.find("charset=utf-8"), std::string::npos);
    EXPECT_NE(page.find(">Dvo\u0159\u00E1k<"), std::string::npos);
    EXPECT_NE(page.find(">Fran\u00E7ois<"), std::string::npos);

    ASSERT_EQ(Run(path), run::RunOutcome::Written);
    EXPECT_EQ(Contents(folder_.path() / "Stambrix" / "Namen.txt"), "Dvo\u0159\u00E1k, Fran\u00E7ois\t\t\t[@I1@]\r\n");
}

// One decision on the encoding for both outputs: the mark says UTF-8, so the CHAR line is not
// taken and the name is not read as ANSEL.
TEST_F(RunIndexTest, ByteOrderMarkDecidesForTheTextIndexAndThePagesAlike)
{
    const std::string path =
        WriteGedcom("bom.ged", "\xEF\xBB\xBF" + scan::testing::Gedcom({"0 HEAD", "1 CHAR ANSEL", "0 @I1@ INDI",
                                                                       "1 NAME C\u00E9line /M\u00FCller/", "0 TRLR"}));
    ASSERT_EQ(Run(path), run::RunOutcome::Written);
    EXPECT_EQ(Contents(folder_.path() / "Stambrix" / "Namen.txt"), "M\u00FCller, C\u00E9line\t\t\t[@I1@]\r\n");

    ASSERT_EQ(Run(path, EventKind::Naam, run::OutputKind::Html), run::RunOutcome::Written);
    const std::string page = Contents(folder_.path() / "Stambrix" / "index.htm");
    EXPECT_NE(page.find("charset=utf-8"), std::string::npos);
    EXPECT_NE(page.find(">M\u00FCller<"), std::string::npos);
    EXPECT_NE(page.find(">C\u00E9line<"), std::string::npos);
}

TEST_F(RunIndexTest, HundredMegabyteLastLineWithoutLineEndLeavesTheIndexWhole)
{
    std::string text = scan::testing::Gedcom({"0 HEAD", "0 @I1@ INDI", "1 NAME Jan /Berg/", "100 NOTE level 100"});
    text += "1 NOTE ";
    text.append(100u << 20, 'x');
    ASSERT_EQ(Run(WriteGedcom("lang.ged", text)), run::RunOutcome::Written);
    EXPECT_EQ(Contents(folder_.path() / "Stambrix" / "Namen.txt"), "Berg, Jan\t\t\t[@I1@]\r\n");
}

TEST(OutputDirectoryOf, EndsAtTheLastSeparator)
{
    EXPECT_EQ(run::OutputDirectoryOf("/home/an/genea/fam.ged"), "/home/an/genea/Stambrix");
    EXPECT_EQ(run::OutputDirectoryOf("fam.ged"), "Stambrix");
    EXPECT_EQ(run::OutputDirectoryOf("/fam.ged"), "/Stambrix");
}

} // namespace
} // namespace stambrix::run
