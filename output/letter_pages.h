#pragma once

#include "output/html_pages.h"
#include "output/written_counter.h"
#include "scan/index_list.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

// What the index pages need to know of a heading: when two headings are the same, when they
// share their initial, and which letter page a heading belongs on. Case folding touches A-Z only.
namespace stambrix::output {

/// The two headings, trimmed and with A-Z folded, are equal.
bool SameHeading(std::string_view previous, std::string_view heading);

/// The first characters of the two headings (whole UTF-8 sequences in UTF-8 text), with A-Z
/// folded, are equal; the first character of an empty heading is empty.
bool SameInitial(std::string_view previous, std::string_view heading, bool utf8);

/// The letter page of a heading, decided by its first character (a windows-1252 byte, or a whole
/// character in UTF-8 text): "a" to "z" for that letter in either case, for a Latin letter whose
/// canonical decomposition begins with it (É e, Ÿ y), and for Æ a, Ø o, Œ o, ß s, Ł l, Đ d, Ð d,
/// Þ t, ı i; kOtherPage for anything else, an empty heading included.
char LetterOf(std::string_view heading, bool utf8);

/// The lines of an index list gathered per letter page, "a" to "z" and then kOtherPage, each
/// page's lines in their sorted order.
class LetterGroups
{
public:
    explicit LetterGroups(const scan::IndexList& indexList) : indexList_(&indexList) {}

    void Add(char letter, std::uint32_t line) { numbers_[IndexOf(letter)].push_back(line); }
    scan::SelectedLines LinesOf(char letter) const { return {*indexList_, numbers_[IndexOf(letter)]}; }

private:
    static std::size_t IndexOf(char letter)
    {
        return letter == kOtherPage ? kPages - 1 : static_cast<std::size_t>(letter - 'a');
    }

    static constexpr std::size_t kPages = 27;
    const scan::IndexList* indexList_;
    std::array<std::vector<std::uint32_t>, kPages> numbers_;
};

/// Gathers the lines of `indexList` by the letter of `headingOf`(line).
template <typename HeadingOf>
LetterGroups GatherByLetter(const scan::IndexList& indexList, bool utf8, HeadingOf headingOf)
{
    LetterGroups groups(indexList);
    std::uint32_t line = 0;
    scan::VisitLines(indexList, [&](std::string_view text) { groups.Add(LetterOf(headingOf(text), utf8), line++); });
    return groups;
}

/// The single page: its head, the list that `writeItems`() fills, its foot.
template <typename WriteItems> void WriteSinglePage(HtmlPages& pages, WriteItems writeItems)
{
    pages.OpenSinglePage();
    pages.WriteListStart();
    writeItems();
    pages.WriteListEnd();
    pages.FinishContentPage();
}

/// What fills the list of one letter page: `lines` written into `pages`, each counted on `counter`.
using LetterItems = std::function<void(HtmlPages& pages, WrittenCounter& counter, const scan::SelectedLines& lines)>;

/// Below this many lines the letter pages are all made by the calling thread.
inline constexpr std::size_t kLetterPagesInParallelFrom = 100000;

/// The framed page set: the frameset and alphabet pages, then the page of "a" (which the frameset
/// shows first) and of every letter with lines, each a list that `writeItems` fills; every other
/// letter, and a page kOtherPage that an earlier run left, gets an empty page, so no page of an
/// earlier run stays. From `parallelFrom` lines on, a second thread makes about half of the letter
/// pages with lines, one page at a time in memory, which this thread writes as they come; their
/// lines are counted when their page is written.
void WriteLetterPageSet(const LetterGroups& groups, HtmlPages& pages, WrittenCounter& counter,
                        const LetterItems& writeItems, std::size_t parallelFrom = kLetterPagesInParallelFrom);

} // namespace stambrix::output
