#include "output/family_name_pages.h"
#include "output/folder_files.h"
#include "output/html_pages.h"
#include "output/letter_pages.h"
#include "output/memory_files.h"
#include "output/name_index_pages.h"
#include "output/stylesheet.h"
#include "output/termination_signals_held.h"
#include "progress/progress_throttle.h"
#include "test_support/recording_progress.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

namespace stambrix::output {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string EntryTextOf(std::string_view line)
{
    std::string entry = "left from an earlier line";
    output::EntryTextOf(line, entry);
    return entry;
}

TEST(EntryTextOf, FromAfterTheCommaToBeforeTheId)
{
    EXPECT_EQ(EntryTextOf("Berg, Jan van der\t* 12-05-1850\tman\t[@I1@]"), "Jan van der, * 12-05-1850, man");
    EXPECT_EQ(EntryTextOf("Berg, Piet\t\tman\t[@I2@]"), "Piet, man");
    EXPECT_EQ(EntryTextOf("Berg, Kees\t+ 1900\t\t[@I3@]"), "Kees, + 1900");
    EXPECT_EQ(EntryTextOf("Berg, \t\t\t[@I4@]"), "");
    // Pairs of tabs first, from the left: three give ", , ".
    EXPECT_EQ(EntryTextOf("Berg, a\t\t\tb\t[@I6@]"), "a, , b");
    EXPECT_EQ(HeadingOf("Berg, Jan\t\t\t[@I1@]"), "Berg");
    EXPECT_EQ(HeadingOf(", Jan\t\t\t[@I1@]"), "");
    // A person without a NAME line: no comma, so no heading; the entry is the rest.
    EXPECT_EQ(HeadingOf("\t* 1850\tman\t[@I5@]"), "");
    EXPECT_EQ(EntryTextOf("\t* 1850\tman\t[@I5@]"), "* 1850, man");
}

// The record id is the field after the last tab, whatever it holds.
TEST(EntryTextOf, EndsAtTheTabBeforeTheRecordId)
{
    EXPECT_EQ(EntryTextOf("Berg, Jan [@ Piet\t* 1850\tman\t[@I7@]"), "Jan [@ Piet, * 1850, man");
    // A record without an id.
    EXPECT_EQ(EntryTextOf("Berg, Jan\t* 1850\tman\t[]"), "Jan, * 1850, man");
    EXPECT_EQ(EntryTextOf("Berg, Jan\t\t\t[]"), "Jan");
    // No tab, so no id to leave out; a comma inside the id only, so no name text before it.
    EXPECT_EQ(EntryTextOf("Berg, Jan"), "Jan");
    EXPECT_EQ(EntryTextOf("\t\t\t[@I,8@]"), "");
}

TEST(SameHeading, TrimmedWithOnlyAToZFolded)
{
    EXPECT_TRUE(SameHeading("Berg", " BERG "));
    EXPECT_FALSE(SameHeading("M\xC3\xBCller", "M\xC3\x9CLLER"));
}

TEST(AppendEscapedHtml, OnlyTheFourSpecialCharacters)
{
    std::string escaped = "<";
    AppendEscapedHtml("Kees <b>Vet</b> & \"Zn\" 't", escaped);
    EXPECT_EQ(escaped, "<Kees &lt;b&gt;Vet&lt;/b&gt; &amp; &quot;Zn&quot; 't");
}

TEST(FooterDate, SourceDateEpochGivesThatUtcDate)
{
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    EXPECT_EQ(FooterDate(), "14-11-2023");
    setenv("SOURCE_DATE_EPOCH", "0", 1);
    EXPECT_EQ(FooterDate(), "01-01-1970");
    setenv("SOURCE_DATE_EPOCH", "geen getal", 1);
    EXPECT_EQ(FooterDate().size(), 10u);
    unsetenv("SOURCE_DATE_EPOCH");
}

TEST(Stylesheet, ThreeHundredNineLinesAndRule26WithoutItsLastSemicolon)
{
    const std::string text = StylesheetText();
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, 309u);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
    EXPECT_TRUE(text.starts_with("BODY\r\n   {\r\n      font-family: Arial;\r\n"));
    EXPECT_TRUE(text.ends_with("      margin-bottom: 0;\r\n   }\r\n"));
    EXPECT_NE(text.find("A:active.1\r\n   {\r\n      color: #FF3300;\r\n      font-family: Arial;\r\n      "
                        "font-weight: normal;\r\n      word-spacing: 0;\r\n      line-height: 110%;\r\n      "
                        "margin-top: 0;\r\n      margin-bottom: 0\r\n   }\r\n"),
              std::string::npos);
}

TEST(Stylesheet, ReadOnlyFileIsReportedWithItsPathAndKept)
{
    test_support::TempFolder folder("stambrix-css");
    const fs::path css = folder.path() / "genealogie.css";
    std::ofstream(css, std::ios::binary) << "eigen opmaak";
    fs::permissions(css, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    test_support::RecordingMessages messages;
    FolderFiles refused(folder.path());
    WriteStylesheet(refused, messages);
    refused.Publish();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0], "Het bestand \r" + css.string() + "\rkon niet aangemaakt worden.");
    EXPECT_EQ(Contents(css), "eigen opmaak");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);

    fs::permissions(css, fs::perms::owner_write, fs::perm_options::add);
    FolderFiles files(folder.path());
    WriteStylesheet(files, messages);
    EXPECT_EQ(Contents(css), "eigen opmaak") << "replaced only when put in place";
    files.Publish();
    EXPECT_EQ(Contents(css), StylesheetText());
}

// Under a collation where a letter's names are not together, each letter page still gets all of them.
TEST(NameIndexPages, LettersThatComeApartShareOnePage)
{
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    test_support::TempFolder folder("stambrix-pages");
    index::IndexList lines;
    for (const char* line : {"Berg, Jan\t\tman\t[@I1@]", "Cate, An\t\t\t[@I2@]", "bos, Piet\t\t\t[@I3@]"})
        lines.Add(line);
    FolderFiles files(folder.path());
    HtmlPages pages(files, {}, charsets::TextEncoding::Windows1252);
    progress::ProgressThrottle progress;
    std::uint64_t written = 0;
    WrittenCounter counter(progress, written);
    WriteNameIndexPages(lines, true, pages, counter);
    EXPECT_FALSE(fs::exists(folder.path() / "indexb.htm")) << "no page is in place before the set is complete";
    files.Publish();
    const std::string pageB = Contents(folder.path() / "indexb.htm");
    EXPECT_NE(
        pageB.find("<LI CLASS=\"inhoudkop\">Berg</LI>\r\n         <UL><LI CLASS=\"inhoudtekst\">Jan, man</LI></UL>\r\n"
                   "      <LI CLASS=\"inhoudkop\">bos</LI>"),
        std::string::npos);
    EXPECT_EQ(written, 3u);
    std::size_t pageCount = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path()))
        ++pageCount;
    EXPECT_EQ(pageCount, 28u);
    unsetenv("SOURCE_DATE_EPOCH");
}

using WritePages = void (*)(const index::IndexList&, bool, HtmlPages&, WrittenCounter&);

struct WrittenPages
{
    std::map<std::string, std::string> files;
    std::uint64_t written = 0;
};

// The pages `write` makes of `lines` (windows-1252, in the order given) into a folder that holds
// the pages `earlier` already.
WrittenPages PagesOf(WritePages write, std::initializer_list<const char*> lines, bool framed,
                     std::initializer_list<const char*> earlier = {})
{
    index::IndexList list;
    for (const char* line : lines)
        list.Add(line);
    MemoryFiles files;
    for (const char* name : earlier)
        files.files[name] = "eerder";
    HtmlPages pages(files, {}, charsets::TextEncoding::Windows1252);
    progress::ProgressThrottle progress;
    WrittenPages written;
    WrittenCounter counter(progress, written.written);
    write(list, framed, pages, counter);
    files.Publish();
    written.files = std::move(files.files);
    return written;
}

// The anchors ("#" and their letter) and headings of a page, in order, separated by "|".
std::string OutlineOf(const std::string& page)
{
    static const std::regex item(R"~(<A NAME="inhoud([^"]*)"></A>|<LI CLASS="inhoudkop">([^<]*)</LI>)~");
    std::string outline;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), item); it != std::sregex_iterator(); ++it)
        outline += ((*it)[1].matched ? "#" + (*it)[1].str() : (*it)[2].str()) + "|";
    return outline;
}

constexpr std::string_view kOtherCell = "\r\n      <H6 CLASS=\"standaard\">\r\n"
                                        "      <A CLASS=\"1\" HREF=\"index.htm#inhoudoverig\"><B>#</B></A>\r\n";

// The single page anchors each letter of LetterOf once, before its first heading, whatever order
// the letters come in, and links the anchor of the other headings from a cell "#".
TEST(SinglePage, EveryLetterAnchoredOnceAndLinked)
{
    const std::string names = PagesOf(WriteNameIndexPages,
                                      {"Evers, Jan\t\t\t[@I1@]", "\xC9rard, Piet\t\t\t[@I2@]", "Zwart, An\t\t\t[@I3@]",
                                       "Eik, Kees\t\t\t[@I4@]", "1e Berg, Bob\t\t\t[@I5@]"},
                                      false)
                                  .files.at("index.htm");
    EXPECT_EQ(OutlineOf(names), "#e|Evers|\xC9rard|#z|Zwart|Eik|#overig|1e Berg|");
    EXPECT_NE(names.find(kOtherCell), std::string::npos);

    const std::initializer_list<const char*> familyNames = {"Evers", "\xC9rard", "Zwart", "Eik", "1e Berg"};
    EXPECT_EQ(OutlineOf(PagesOf(WriteFamilyNameListPages, familyNames, false).files.at("index.htm")),
              "#e|Evers|\xC9rard|#z|Zwart|Eik|#overig|1e Berg|");
    // An item runs while the letter stays the same.
    const std::string line = PagesOf(WriteFamilyNameLinePages, familyNames, false).files.at("index.htm");
    EXPECT_EQ(OutlineOf(line), "#e|Evers; \xC9rard|#z|Zwart|Eik|#overig|1e Berg|");
    EXPECT_NE(line.find(kOtherCell), std::string::npos);

    EXPECT_EQ(
        PagesOf(WriteFamilyNameLinePages, {"Evers", "\xC9rard"}, false).files.at("index.htm").find("#inhoudoverig"),
        std::string::npos);
}

// A person without a surname has no family name: the line is counted but makes no item, so it
// calls neither the page "indexoverig.htm" nor the cell "#" into being; that page of an earlier
// run is written empty.
TEST(FamilyNamePages, LineWithoutNameMakesNoOtherPage)
{
    for (const WritePages write : {WriteFamilyNameListPages, WriteFamilyNameLinePages}) {
        const WrittenPages framed = PagesOf(write, {"", "  ", "Berg"}, true);
        EXPECT_FALSE(framed.files.contains("indexoverig.htm"));
        EXPECT_EQ(framed.files.at("alfabet.htm").find("<B>#</B>"), std::string::npos);
        EXPECT_EQ(framed.written, 3u);

        const WrittenPages earlier = PagesOf(write, {"", "Berg"}, true, {"indexoverig.htm"});
        const std::string& other = earlier.files.at("indexoverig.htm");
        EXPECT_TRUE(other.starts_with("<!DOCTYPE") && other.find("<UL") == std::string::npos) << other;

        const WrittenPages single = PagesOf(write, {"Berg", " "}, false);
        EXPECT_EQ(OutlineOf(single.files.at("index.htm")), "#b|Berg|");
        EXPECT_EQ(single.files.at("index.htm").find("<B>#</B>"), std::string::npos);
        EXPECT_EQ(single.written, 2u);
    }
}

int caught = 0;

// A signal that comes while the pages are renamed waits until they are all in place.
TEST(TerminationSignalsHeld, DeliversASignalWhenReleased)
{
    caught = 0;
    const auto before = std::signal(SIGHUP, [](int) { ++caught; });
    {
        const TerminationSignalsHeld held;
        std::raise(SIGHUP);
        EXPECT_EQ(caught, 0);
    }
    EXPECT_EQ(caught, 1);
    std::signal(SIGHUP, before);
}

} // namespace
} // namespace stambrix::output
