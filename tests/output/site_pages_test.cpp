#include "output/memory_files.h"
#include "output/site_html.h"
#include "output/site_pages.h"
#include "output/web_site.h"
#include "progress/progress_throttle.h"
#include "text/run_failure.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace stambrix::output {
namespace {

using charsets::TextEncoding;

struct WrittenSite
{
    std::map<std::string, std::string> files;
    SitePlan plan;
    std::uint64_t written = 0;
};

index::IndexList IndexOf(const std::vector<std::string>& lines)
{
    index::IndexList list;
    for (const std::string& line : lines)
        list.Add(line);
    return list;
}

WrittenSite SiteOf(const std::vector<std::string>& lines, TextEncoding encoding = TextEncoding::Utf8,
                   std::size_t pageLimit = kSitePageLimit, const std::function<void()>& besides = {})
{
    const index::IndexList list = IndexOf(lines);
    MemoryFiles files;
    progress::ProgressThrottle progress;
    WrittenSite site;
    WrittenCounter counter(progress, site.written);
    WriteSitePages(list, encoding, files, counter, site.plan, besides, pageLimit);
    files.Publish();
    site.files = std::move(files.files);
    return site;
}

bool Holds(std::string_view page, std::string_view part)
{
    return page.find(part) != std::string_view::npos;
}

std::size_t Occurrences(std::string_view page, std::string_view part)
{
    std::size_t count = 0;
    for (auto at = page.find(part); at != std::string_view::npos; at = page.find(part, at + 1))
        ++count;
    return count;
}

const std::vector<std::string> kFewPersons = {"Berg, Jan van der\t* 12-05-1850\tman\t[@I12@]",
                                              "Berg, Piet\t+ 1900\tman\t[@I13@]", ", Kees\t\tman\t[@I14@]",
                                              "'t Hoen, Klaas\t~ 1801\t\t[@I15@]"};

TEST(SitePages, EveryPageHasTheHeadAndTheSearchField)
{
    for (const auto& [name, page] : SiteOf(kFewPersons).files) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(page.starts_with("<!DOCTYPE html>\n<html lang=\"nl\">\n<head>\n<meta charset=\"utf-8\">\n"));
        EXPECT_TRUE(Holds(page, "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"));
        EXPECT_TRUE(Holds(page, "<link rel=\"stylesheet\" href=\"stambrix.css\">"));
        EXPECT_TRUE(Holds(page, "<input type=\"search\" id=\"zoek\""));
        EXPECT_FALSE(Holds(page, "://")) << "nothing is asked for outside the site";
    }
}

TEST(SitePages, EntryPageCountsPersonsAndLinksOnlyLettersWithNames)
{
    const WrittenSite site = SiteOf(kFewPersons);
    const std::string& page = site.files.at("index.html");
    EXPECT_TRUE(Holds(page, ">" + std::to_string(kFewPersons.size()) + " personen<"));
    EXPECT_TRUE(Holds(page, "<a href=\"b.html\">B <span class=\"aantal-letter\">2<"));
    EXPECT_TRUE(Holds(page, "<a href=\"overig.html\"># <span class=\"aantal-letter\">2<"));
    EXPECT_TRUE(Holds(page, "<span class=\"leeg\">A <span class=\"aantal-letter\">0<"));
    EXPECT_FALSE(Holds(page, "href=\"a.html\""));
    EXPECT_TRUE(Holds(site.files.at("b.html"), "<a href=\"b.html\" aria-current=\"page\">B</a>"));
}

TEST(SitePages, PersonsWithoutFamilyNameHaveAHeadingOfTheirOwn)
{
    const std::string page = SiteOf(kFewPersons).files.at("overig.html");
    EXPECT_TRUE(Holds(page, "\">zonder achternaam</h2>\n<ul class=\"personen\">\n<li id=\"I14\">Kees, man (I14)</li>"));
    EXPECT_TRUE(Holds(page, "\">'t Hoen</h2>")) << "a family name that begins with no letter";
}

// Screen readers say the word, not the sign; the legend explains the sign once. Without given names
// the event is still the second field, not taken for a name.
TEST(SitePages, SignsAreHiddenFromScreenReadersThatSayTheirWord)
{
    for (const auto& [sign, word] : std::map<std::string, std::string>{
             {"*", "geboren"}, {"~", "gedoopt"}, {"+", "overleden"}, {"[]", "begraven"}}) {
        const std::string page = SiteOf({"Moens, \t" + sign + " 1850\t\t[@I1@]"}).files.at("m.html");
        const std::string spoken = std::string("<i aria-hidden=\"true\">").append(sign).append("</i><b>").append(word);
        EXPECT_TRUE(Holds(page, "(geen voornaam), " + spoken + "</b> 1850")) << page;
        EXPECT_EQ(Occurrences(page, "class=\"legenda\""), 1u);
        EXPECT_TRUE(Holds(page, std::string(sign).append(" ").append(word))) << "the legend explains the sign";
    }
}

TEST(SitePages, Windows1252TextBecomesEscapedUtf8WithoutForbiddenCharacters)
{
    const std::string page =
        SiteOf({"M\xFCller, <b>Kees & \"Co\"\x81\x01!\t* 1850\tman\t[@I1@]"}, TextEncoding::Windows1252)
            .files.at("m.html");
    EXPECT_TRUE(Holds(page, ">M\xC3\xBCller</h2>"));
    EXPECT_TRUE(Holds(page, "<li id=\"I1\">&lt;b&gt;Kees &amp; &quot;Co&quot;\xEF\xBF\xBD\xEF\xBF\xBD!, "));
}

// Controls but the tab, noncharacters and ill-formed bytes become U+FFFD; letters beyond U+FFFF
// and the last private use character stay.
TEST(SiteHtml, ForbiddenCodePointsBecomeTheReplacementCharacter)
{
    std::string scratch;
    std::string html = "voor ";
    AppendHtmlText("\xC3\xA9\t\xF0\x9F\x8C\xB3 a\x01\x7F\xC2\x9F\xC2\xA0 "
                   "\xEF\xB7\x90\xEF\xBF\xBE\xF0\x9F\xBF\xBF\xF4\x8F\xBF\xBD \xFF",
                   TextEncoding::Utf8, scratch, html);
    const std::string replaced = "\xEF\xBF\xBD";
    EXPECT_EQ(html, "voor \xC3\xA9\t\xF0\x9F\x8C\xB3 a" + replaced + replaced + replaced + "\xC2\xA0 " + replaced +
                        replaced + replaced + "\xF4\x8F\xBF\xBD " + replaced);
}

// Every line stands on exactly one page, the one of the plan, under the id its link names.
void ExpectPlanAgreesWithPages(const WrittenSite& site, const std::vector<std::string>& lines)
{
    std::vector<std::size_t> persons(site.plan.pageNames.size());
    for (std::uint32_t line = 0; line < lines.size(); ++line) {
        std::string link;
        AppendLinkTo(site.plan, line, lines[line], link);
        const std::string element = "<li id=\"" + link.substr(link.find('#') + 1) + "\">";
        EXPECT_EQ(Occurrences(site.files.at(link.substr(0, link.find('#'))), element), 1u) << link;
        ++persons[site.plan.pageOfLine[line]];
    }
    for (std::size_t page = 0; page < persons.size(); ++page)
        EXPECT_EQ(Occurrences(site.files.at(site.plan.pageNames[page]), "<li id=\""), persons[page])
            << site.plan.pageNames[page];
}

TEST(SitePages, IdTakenOnThePageGetsTheLineNumber)
{
    const std::vector<std::string> lines = {"Berg, Jan\t\t\t[@I1@]", "Berg, Johannes\t\t\t[@I1@]", "Bos, An\t\t\t",
                                            "Aa, Piet\t\t\t[@I1@]"};
    const WrittenSite site = SiteOf(lines);
    EXPECT_EQ(site.plan.idTakenBefore, (std::vector<std::uint8_t>{0, 1, 0, 0}));
    ExpectPlanAgreesWithPages(site, lines);
}

// A family a person first, so a page ends where a family does, then one family over pages. Each
// page begins with the family name of its first person and says which names it holds.
TEST(SitePages, LargeLetterGoesOnOverPagesUnderTheLimitLinkedToTheirNeighbours)
{
    std::vector<std::string> lines;
    lines.reserve(300);
    for (int person = 0; person < 300; ++person)
        lines.push_back("Berg" + std::to_string(std::min(person, 150)) + ", Jan\t* 01-01-1900\tman\t[@I" +
                        std::to_string(person) + "@]");
    constexpr std::size_t kLimit = 12 << 10;
    const WrittenSite site = SiteOf(lines, TextEncoding::Utf8, kLimit);
    const std::vector<std::string>& names = site.plan.pageNames;
    ASSERT_GT(names.size(), 2u);
    EXPECT_EQ(site.written, lines.size());
    const std::regex heading("<h2 id=\"[^\"]+\">(Berg[0-9]+)</h2>");
    for (std::size_t number = 0; number < names.size(); ++number) {
        const std::string& page = site.files.at(names[number]);
        SCOPED_TRACE(names[number]);
        EXPECT_EQ(names[number], number == 0 ? "b.html" : "b-" + std::to_string(number + 1) + ".html");
        EXPECT_LE(page.size(), kLimit);
        EXPECT_EQ(Holds(page, "rel=\"prev\""),
                  number > 0 && Holds(page, "<a href=\"" + names[number - 1] + "\" rel=\"prev\">"));
        EXPECT_EQ(Holds(page, "rel=\"next\""),
                  number + 1 < names.size() && Holds(page, "<a href=\"" + names[number + 1] + "\" rel=\"next\">"));
        EXPECT_LT(page.find("<h2"), page.find("<li id=")) << "no person before the first heading";
        std::vector<std::string> families;
        for (auto it = std::sregex_iterator(page.begin(), page.end(), heading); it != std::sregex_iterator(); ++it)
            families.push_back((*it)[1].str());
        ASSERT_FALSE(families.empty());
        const std::string range = families.front() == families.back()
                                      ? families.front()
                                      : families.front() + " tot en met " + families.back();
        EXPECT_TRUE(Holds(page, "<p class=\"bereik\">Op deze pagina: " + range + "</p>"));
    }
    ExpectPlanAgreesWithPages(site, lines);
}

// The letters are shared between two threads, the second after the work it does besides: the
// pages still come in letter order, and every line on the page the plan names.
TEST(SitePages, LettersOfBothThreadsComeInOrderWithTheirLines)
{
    std::vector<std::string> lines;
    for (const std::string family : {"Aa", "Berg", "Kok", "Zee"})
        for (int person = 0; person < 100; ++person)
            lines.push_back(family + ", Jan\t* 01-01-1900\tman\t[@I" + std::to_string(lines.size()) + "@]");
    int besides = 0;
    const WrittenSite site = SiteOf(lines, TextEncoding::Utf8, 8 << 10, [&] { ++besides; });
    EXPECT_EQ(besides, 1);
    EXPECT_EQ(site.written, lines.size());
    std::vector<std::string> letters;
    for (const std::string& name : site.plan.pageNames)
        if (letters.empty() || letters.back() != name.substr(0, 1))
            letters.push_back(name.substr(0, 1));
    EXPECT_EQ(letters, (std::vector<std::string>{"a", "b", "k", "z"}));
    EXPECT_GE(site.plan.pageNames.size(), 2 * letters.size()) << "every letter over pages";
    ExpectPlanAgreesWithPages(site, lines);
}

// Files in memory of which one cannot be opened, as on a full disk.
class FailingFiles final : public FileSet
{
public:
    explicit FailingFiles(std::string failing) : failing_(std::move(failing)) {}
    void Open(std::string_view name) override
    {
        if (name == failing_)
            throw text::RunFailure(std::string(name), "schijf vol", ENOSPC);
        files_.Open(name);
    }
    void Write(std::string_view bytes) override { files_.Write(bytes); }
    void Close() override { files_.Close(); }
    void Remove(std::string_view name) override { files_.Remove(name); }
    void Publish() override { files_.Publish(); }
    bool Holds(std::string_view name) const override { return files_.Holds(name); }
    std::string PathOf(std::string_view name) const override { return files_.PathOf(name); }

private:
    std::string failing_;
    MemoryFiles files_;
};

// A page that cannot be written stops both threads, whichever writes it: index.html before the
// letters are shared out, a letter of the front or of the back.
class FailingPage : public ::testing::TestWithParam<std::string>
{
};

TEST_P(FailingPage, FailsTheSiteNamingThePage)
{
    std::vector<std::string> lines;
    for (const std::string family : {"Aa", "Berg", "Zee"})
        for (int person = 0; person < 50; ++person)
            lines.push_back(family + ", Jan\t\tman\t[@I" + std::to_string(lines.size()) + "@]");
    const index::IndexList list = IndexOf(lines);
    FailingFiles files(GetParam());
    progress::ProgressThrottle progress;
    std::uint64_t written = 0;
    WrittenCounter counter(progress, written);
    SitePlan plan;
    try {
        WriteSitePages(
            list, TextEncoding::Utf8, files, counter, plan, [] {}, kSitePageLimit);
        ADD_FAILURE() << "no failure for " << GetParam();
    } catch (const text::RunFailure& failure) {
        EXPECT_EQ(failure.path(), GetParam());
    }
}

INSTANTIATE_TEST_SUITE_P(SitePages, FailingPage, ::testing::Values("index.html", "a.html", "z.html"),
                         [](const ::testing::TestParamInfo<std::string>& page) {
                             return page.param.substr(0, page.param.find('.'));
                         });

TEST(SitePages, EmptyIndexHasOnlyTheEntryPageWithoutLetterLinks)
{
    const WrittenSite site = SiteOf({});
    ASSERT_EQ(site.files.size(), 1u);
    const std::string& page = site.files.at("index.html");
    EXPECT_TRUE(Holds(page, ">0 personen<"));
    EXPECT_FALSE(std::regex_search(page, std::regex("href=\"([a-z]|overig)\\.html\"")));
}

TEST(WebSite, SameInputGivesTheSameBytes)
{
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    const auto write = [] {
        const index::IndexList list = IndexOf(kFewPersons);
        MemoryFiles files;
        progress::ProgressThrottle progress;
        std::uint64_t written = 0;
        WrittenCounter counter(progress, written);
        WriteWebSite(list, TextEncoding::Utf8, files, counter);
        files.Publish();
        return files.files;
    };
    const std::map<std::string, std::string> first = write();
    EXPECT_EQ(first, write());
    EXPECT_TRUE(first.contains("stambrix.css") && first.contains("stambrix.svg"));
    EXPECT_TRUE(Holds(first.at("index.html"), "laatst bijgewerkt : 14-11-2023"));
    unsetenv("SOURCE_DATE_EPOCH");
}

} // namespace
} // namespace stambrix::output
