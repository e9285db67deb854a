#include "output/memory_files.h"
#include "output/site_html.h"
#include "output/site_pages.h"
#include "output/web_site.h"
#include "progress/progress_throttle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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

WrittenSite SiteOf(const std::vector<std::string>& lines, TextEncoding encoding = TextEncoding::Utf8,
                   std::size_t pageLimit = kSitePageLimit)
{
    index::IndexList list;
    for (const std::string& line : lines)
        list.Add(line);
    MemoryFiles files;
    progress::ProgressThrottle progress;
    WrittenSite site;
    WrittenCounter counter(progress, site.written);
    WriteSitePages(list, encoding, files, counter, site.plan, pageLimit);
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

TEST(SitePages, EveryPageHasTheHeadAndTheSearchForm)
{
    const WrittenSite site = SiteOf(kFewPersons);
    ASSERT_EQ(site.files.size(), 3u) << "index.html, b.html and overig.html";
    for (const auto& [name, page] : site.files) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(page.starts_with("<!DOCTYPE html>\n<html lang=\"nl\">\n<head>\n<meta charset=\"utf-8\">\n"));
        EXPECT_TRUE(Holds(page, "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"));
        EXPECT_TRUE(Holds(page, "<meta name=\"description\" content=\""));
        EXPECT_TRUE(Holds(page, "<link rel=\"stylesheet\" href=\"stambrix.css\"><link rel=\"icon\" "
                                "href=\"stambrix.svg\" type=\"image/svg+xml\">\n<script src=\"stambrix.js\" "
                                "defer></script>"));
        EXPECT_TRUE(Holds(page, "<form class=\"zoeken\" role=\"search\" hidden>\n  <label for=\"zoek\">Zoek een "
                                "naam</label>\n  <input type=\"search\" id=\"zoek\" name=\"zoek\" autocomplete=\"off\" "
                                "spellcheck=\"false\">\n</form>\n<div id=\"treffers\" aria-live=\"polite\"></div>"));
        EXPECT_FALSE(Holds(page, "://")) << "nothing is asked for outside the site";
    }
}

TEST(SitePages, EntryPageCountsPersonsAndLinksOnlyLettersWithNames)
{
    const WrittenSite site = SiteOf(kFewPersons);
    const std::string& page = site.files.at("index.html");
    EXPECT_TRUE(Holds(page, "<title>Namenindex</title>"));
    EXPECT_TRUE(Holds(page, "<h1>Namenindex</h1>"));
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

struct SignCase
{
    const char* name;
    std::string sign;
    std::string word;
};

class SignsOnAPage : public testing::TestWithParam<SignCase>
{
};

TEST_P(SignsOnAPage, SignIsHiddenFromScreenReadersThatSayItsWord)
{
    const SignCase& sign = GetParam();
    const std::string page = SiteOf({"Berg, Jan\t" + sign.sign + " 01-02-1850\tman\t[@I1@]"}).files.at("b.html");
    EXPECT_TRUE(Holds(page, "<i aria-hidden=\"true\">" + sign.sign + "</i><b>" + sign.word + "</b> 01-02-1850"));
    EXPECT_EQ(Occurrences(page, "class=\"legenda\""), 1u);
    EXPECT_TRUE(Holds(page, sign.sign + " " + sign.word)) << "the legend explains the sign";
}

// Without given names the event is still the second field, not taken for a name.
TEST(SitePages, PersonWithoutGivenNamesKeepsTheSignOfTheEvent)
{
    const std::string page = SiteOf({"Moens, \t* 03-11-1896\t\t[@I33@]"}).files.at("m.html");
    EXPECT_TRUE(Holds(page, "<li id=\"I33\">(geen voornaam), <i aria-hidden=\"true\">*</i><b>geboren</b> 03-11-1896"))
        << page;
}

INSTANTIATE_TEST_SUITE_P(Signs, SignsOnAPage,
                         testing::Values(SignCase{"Geboren", "*", "geboren"}, SignCase{"Gedoopt", "~", "gedoopt"},
                                         SignCase{"Overleden", "+", "overleden"},
                                         SignCase{"Begraven", "[]", "begraven"}),
                         [](const testing::TestParamInfo<SignCase>& sign) { return std::string(sign.param.name); });

TEST(SitePages, Windows1252TextBecomesEscapedUtf8WithoutForbiddenCharacters)
{
    const std::string page =
        SiteOf({"M\xFCller, <b>Kees & \"Co\"\x81\x01!\t* 1850\tman\t[@I1@]"}, TextEncoding::Windows1252)
            .files.at("m.html");
    EXPECT_TRUE(Holds(page, ">M\xC3\xBCller</h2>"));
    EXPECT_TRUE(Holds(page, "<li id=\"I1\">&lt;b&gt;Kees &amp; &quot;Co&quot;\xEF\xBF\xBD\xEF\xBF\xBD!, "));
}

struct TextCase
{
    const char* name;
    std::string text;
    std::string html;
};

class HtmlText : public testing::TestWithParam<TextCase>
{
};

TEST_P(HtmlText, ForbiddenCodePointsBecomeTheReplacementCharacter)
{
    std::string scratch;
    std::string html = "voor ";
    AppendHtmlText(GetParam().text, TextEncoding::Utf8, scratch, html);
    EXPECT_EQ(html, "voor " + GetParam().html);
}

const std::string kReplacement = "\xEF\xBF\xBD";
INSTANTIATE_TEST_SUITE_P(
    Utf8, HtmlText,
    testing::Values(TextCase{"LettersAndTabStay", "\xC3\xA9\t\xE2\x82\xAC\xF0\x9F\x8C\xB3",
                             "\xC3\xA9\t\xE2\x82\xAC\xF0\x9F\x8C\xB3"},
                    TextCase{"ControlsOfC0AndDelete", "a\x01\x1F\x7F",
                             "a" + kReplacement + kReplacement + kReplacement},
                    TextCase{"ControlsOfC1", "\xC2\x80\xC2\x9F\xC2\xA0", kReplacement + kReplacement + "\xC2\xA0"},
                    TextCase{"Noncharacters", "\xEF\xB7\x90\xEF\xBF\xBE\xF0\x9F\xBF\xBF\xF4\x8F\xBF\xBD",
                             kReplacement + kReplacement + kReplacement + "\xF4\x8F\xBF\xBD"},
                    TextCase{"IllFormedBytes", "\xFF", kReplacement}),
    [](const testing::TestParamInfo<TextCase>& text) { return std::string(text.param.name); });

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
    EXPECT_EQ(site.plan.idTakenBefore, (std::vector<bool>{false, true, false, false}));
    ExpectPlanAgreesWithPages(site, lines);
}

TEST(SitePages, LargeLetterGoesOnOverPagesUnderTheLimitBetweenPersons)
{
    // A family a person first, so a page ends where a family does, then one family over pages.
    std::vector<std::string> lines;
    for (int person = 0; person < 300; ++person)
        lines.push_back("Berg" + std::to_string(std::min(person, 150)) + ", Jan\t* 01-01-1900\tman\t[@I" +
                        std::to_string(person) + "@]");
    constexpr std::size_t kLimit = 12 << 10;
    const WrittenSite site = SiteOf(lines, TextEncoding::Utf8, kLimit);
    ASSERT_GT(site.plan.pageNames.size(), 2u);
    EXPECT_EQ(site.written, lines.size());
    for (std::size_t number = 0; number < site.plan.pageNames.size(); ++number) {
        const std::string& name = site.plan.pageNames[number];
        SCOPED_TRACE(name);
        EXPECT_EQ(name, number == 0 ? "b.html" : "b-" + std::to_string(number + 1) + ".html");
        const std::string& page = site.files.at(name);
        EXPECT_LE(page.size(), kLimit);
        EXPECT_EQ(Holds(page, "rel=\"prev\""), number > 0);
        if (number > 0) {
            EXPECT_TRUE(Holds(page, "<a href=\"" + site.plan.pageNames[number - 1] + "\" rel=\"prev\">"));
        }
        if (number + 1 < site.plan.pageNames.size()) {
            EXPECT_TRUE(Holds(page, "<a href=\"" + site.plan.pageNames[number + 1] + "\" rel=\"next\">"));
        } else {
            EXPECT_FALSE(Holds(page, "rel=\"next\""));
        }
        // The family name of the first person stands above it, also where it goes on from the page
        // before; the page says it holds the names from that one to the last heading on it.
        std::vector<std::string> headings;
        const std::regex heading("<h2 id=\"[^\"]+\">(Berg[0-9]+)</h2>\n<ul class=\"personen\">\n<li");
        for (std::sregex_iterator it(page.begin(), page.end(), heading); it != std::sregex_iterator(); ++it)
            headings.push_back((*it)[1].str());
        ASSERT_FALSE(headings.empty());
        EXPECT_LT(page.find("<h2"), page.find("<li id=")) << "no person before the first heading";
        const std::string range = headings.front() == headings.back()
                                      ? headings.front()
                                      : headings.front() + " tot en met " + headings.back();
        EXPECT_TRUE(Holds(page, "<p class=\"bereik\">Op deze pagina: " + range + "</p>"));
    }
    ExpectPlanAgreesWithPages(site, lines);
}

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
        index::IndexList list;
        for (const std::string& line : kFewPersons)
            list.Add(line);
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
