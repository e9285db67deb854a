#include "names/ascii.h"
#include "output/index_pages.h"
#include "output/letter_pages.h"

#include <string>

namespace stambrix::output {

namespace {
constexpr std::string_view kItemStart = "      <LI CLASS=\"inhoudkop\">";
constexpr std::string_view kLetterPageItemStart = "   <LI CLASS=\"inhoudkop\">";
constexpr std::string_view kItemEnd = "</LI>";

// The family names of one initial, joined by "; ".
class FamilyNameLine
{
public:
    void Collect(std::string_view name)
    {
        if (!names::Trim(text_).empty())
            text_ += "; ";
        else
            text_.clear();
        text_ += name;
    }
    bool Empty() const { return names::Trim(text_).empty(); }
    const std::string& Text() const { return text_; }
    void Clear() { text_.clear(); }

private:
    std::string text_;
};

std::string_view WholeLine(std::string_view line)
{
    return line;
}

// The pages of letters with names, "a" first (the frameset shows it), then the others in the
// order their names come; then the empty pages.
template <typename WritePage> void WriteLetterPages(const IndexList& indexList, HtmlPages& pages, WritePage writePage)
{
    pages.WriteFramePages();
    const LetterGroups groups = GatherByLetter(indexList, WholeLine);
    writePage('a', groups.lines[0]);
    for (const char letter : groups.letters)
        if (letter != 'a')
            writePage(letter, groups.lines[static_cast<std::size_t>(letter - 'a')]);
    pages.FillMissingLetterPages();
}
} // namespace

void WriteFamilyNameListPages(const IndexList& indexList, bool framed, HtmlPages& pages, WrittenCounter& counter)
{
    if (!framed) {
        pages.OpenSinglePage();
        pages.WriteListStart();
        std::string_view previous;
        for (const std::string_view line : indexList) {
            counter.Count();
            if (SameHeading(previous, line))
                continue;
            if (!SameInitial(previous, line, pages.Utf8()))
                pages.WriteLetterAnchor(FirstCharacterOf(line, pages.Utf8()));
            previous = line;
            pages.WriteTextLine(kItemStart, line, kItemEnd);
        }
        pages.WriteListEnd();
        pages.FinishContentPage();
        return;
    }
    WriteLetterPages(indexList, pages, [&](char letter, const std::vector<std::string_view>& lines) {
        pages.OpenLetterPage(letter);
        pages.WriteListStart();
        std::string_view previous;
        for (const std::string_view line : lines) {
            counter.Count();
            if (SameHeading(previous, line))
                continue;
            previous = line;
            pages.WriteTextLine(kItemStart, line, kItemEnd);
        }
        pages.WriteListEnd();
        pages.FinishContentPage();
    });
}

void WriteFamilyNameLinePages(const IndexList& indexList, bool framed, HtmlPages& pages, WrittenCounter& counter)
{
    if (!framed) {
        pages.OpenSinglePage();
        pages.WriteListStart();
        std::string_view previous;
        FamilyNameLine names;
        for (const std::string_view line : indexList) {
            counter.Count();
            if (SameHeading(previous, line))
                continue;
            if (!SameInitial(previous, line, pages.Utf8())) {
                if (!names.Empty()) {
                    pages.WriteTextLine(kItemStart, names.Text(), kItemEnd);
                    names.Clear();
                }
                pages.WriteLetterAnchor(FirstCharacterOf(line, pages.Utf8()));
            }
            previous = line;
            names.Collect(line);
        }
        if (!names.Empty())
            pages.WriteTextLine(kItemStart, names.Text(), kItemEnd);
        pages.WriteListEnd();
        pages.FinishContentPage();
        return;
    }
    WriteLetterPages(indexList, pages, [&](char letter, const std::vector<std::string_view>& lines) {
        pages.OpenLetterPage(letter);
        pages.WriteListStart();
        std::string_view previous;
        FamilyNameLine names;
        for (const std::string_view line : lines) {
            counter.Count();
            if (SameHeading(previous, line))
                continue;
            previous = line;
            names.Collect(line);
        }
        // A letter page holds its one item even when it has no names ("a" without names).
        pages.WriteTextLine(kLetterPageItemStart, names.Text(), kItemEnd);
        pages.WriteListEnd();
        pages.FinishContentPage();
    });
}

} // namespace stambrix::output
