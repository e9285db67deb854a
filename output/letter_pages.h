#pragma once

#include "charsets/text_encoding.h"
#include "index/index_list.h"
#include "output/html_pages.h"
#include "output/written_counter.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the index pages need to know of a heading: when two headings are the same, and which
// letter page and anchor a heading belongs to. Case folding touches A-Z only.
namespace stambrix::output {

/// The two headings, trimmed and with A-Z folded, are equal.
bool SameHeading(std::string_view previous, std::string_view heading);

/// Tells, heading after heading, where a new heading begins: one that is not the same heading as
/// the one before, the first compared with an empty heading.
class NewHeadings
{
public:
    /// True for a new heading, which then is the one before.
    bool IsNew(std::string_view heading)
    {
        if (SameHeading(previous_, heading))
            return false;
        previous_.assign(heading);
        return true;
    }

private:
    std::string previous_;
};

/// The letter page of a heading: the base letter of its first character (charsets::BaseLetterOf),
/// "a" to "z"; kOtherPage when it has none, an empty heading included.
char LetterOf(std::string_view heading, charsets::TextEncoding encoding);

/// The letter pages: "a" to "z" and kOtherPage.
inline constexpr std::size_t kLetterPages = 27;

/// The letter of a line that writes nothing on any page, so it calls no page into being.
inline constexpr char kNoPage = '\0';

/// The place of `letter` ("a" to "z", or kOtherPage) among the letter pages, kOtherPage last.
inline std::size_t LetterIndexOf(char letter)
{
    return letter == kOtherPage ? kLetterPages - 1 : static_cast<std::size_t>(letter - 'a');
}

/// The letter anchors of one page: the anchor of a letter stands before the first heading of that
/// letter, once, also where the sorted order does not keep the headings of a letter together.
class LetterAnchors
{
public:
    explicit LetterAnchors(HtmlPages& pages) : pages_(pages) {}

    /// Writes the anchor of `letter` unless the page has it already.
    void Write(char letter)
    {
        bool& anchored = anchored_[LetterIndexOf(letter)];
        if (anchored)
            return;
        anchored = true;
        pages_.WriteLetterAnchor(letter);
    }

private:
    HtmlPages& pages_;
    std::array<bool, kLetterPages> anchored_{};
};

/// Whether a single page writes a heading of the page kOtherPage, so its bar needs the cell "#": of
/// the headings `headingOf`(line) gives (nothing for a line that writes none), one that is new
/// (NewHeadings) and has that letter.
template <typename HeadingOf>
bool WritesOtherHeading(const index::IndexList& indexList, charsets::TextEncoding encoding, HeadingOf headingOf)
{
    NewHeadings headings;
    bool other = false;
    index::VisitLines(indexList, [&](std::string_view line) {
        const std::optional<std::string_view> heading = headingOf(line);
        if (heading && headings.IsNew(*heading) && LetterOf(*heading, encoding) == kOtherPage)
            other = true;
    });
    return other;
}

/// The lines of an index list gathered per letter page, "a" to "z" and then kOtherPage, each
/// page's lines in their sorted order; of the lines of kNoPage only their number.
class LetterGroups
{
public:
    explicit LetterGroups(const index::IndexList& indexList) : indexList_(&indexList) {}

    void Add(char letter, std::uint32_t line)
    {
        if (letter == kNoPage)
            ++withoutPage_;
        else
            numbers_[LetterIndexOf(letter)].push_back(line);
    }
    index::SelectedLines LinesOf(char letter) const { return {*indexList_, numbers_[LetterIndexOf(letter)]}; }
    std::uint64_t LinesWithoutPage() const { return withoutPage_; }

private:
    const index::IndexList* indexList_;
    std::array<std::vector<std::uint32_t>, kLetterPages> numbers_;
    std::uint64_t withoutPage_ = 0;
};

/// Gathers the lines of `indexList` by their letter `letterOf`(line): "a" to "z", kOtherPage or
/// kNoPage.
template <typename LetterOfLine> LetterGroups GatherByLetter(const index::IndexList& indexList, LetterOfLine letterOf)
{
    LetterGroups groups(indexList);
    std::uint32_t line = 0;
    index::VisitLines(indexList, [&](std::string_view text) { groups.Add(letterOf(text), line++); });
    return groups;
}

/// The single page: its head (with the cell "#" when `otherCell`), the list that `writeItems`()
/// fills, its foot.
template <typename WriteItems> void WriteSinglePage(HtmlPages& pages, bool otherCell, WriteItems writeItems)
{
    pages.OpenSinglePage(otherCell);
    pages.WriteListStart();
    writeItems();
    pages.WriteListEnd();
    pages.FinishContentPage();
}

/// What fills the list of one letter page: `lines` written into `pages`, each counted on `counter`.
using LetterItems = std::function<void(HtmlPages& pages, WrittenCounter& counter, const index::SelectedLines& lines)>;

/// Below this many lines the letter pages are all made by the calling thread.
inline constexpr std::size_t kLetterPagesInParallelFrom = 100000;

/// The framed page set: the frameset and alphabet pages, then the page of "a" (which the frameset
/// shows first) and of every letter with lines, each a list that `writeItems` fills; every other
/// letter, and a page kOtherPage that an earlier run left, gets an empty page, so no page of an
/// earlier run stays. The lines without a page are counted first. From `parallelFrom` lines on, a
/// second thread makes about half of the letter pages with lines, one page at a time in memory,
/// which this thread writes as they come; their lines are counted when their page is written.
void WriteLetterPageSet(const LetterGroups& groups, HtmlPages& pages, WrittenCounter& counter,
                        const LetterItems& writeItems, std::size_t parallelFrom = kLetterPagesInParallelFrom);

} // namespace stambrix::output
