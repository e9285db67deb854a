#include "output/family_name_pages.h"
#include "output/letter_pages.h"
#include "text/ascii.h"

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
        if (!text::Trim(text_).empty())
            text_ += "; ";
        else
            text_.clear();
        text_ += name;
    }
    bool Empty() const { return text::Trim(text_).empty(); }
    const std::string& Text() const { return text_; }
    void Clear() { text_.clear(); }

private:
    std::string text_;
};

// A line of a person without a surname is empty or blank: it gives no family name to write.
bool HasFamilyName(std::string_view line)
{
    return !text::Trim(line).empty();
}

// The lines gathered by their letter page; a line without a family name is on none.
LetterGroups GatherFamilyNames(const index::IndexList& indexList, charsets::TextEncoding encoding)
{
    return GatherByLetter(indexList, [encoding](std::string_view line) {
        return HasFamilyName(line) ? LetterOf(line, encoding) : kNoPage;
    });
}

// Counts every line and hands each family name once, where it differs from the one before, with
// its letter.
template <typename Lines, typename TakeName>
void ForEachNewName(const Lines& lines, charsets::TextEncoding encoding, WrittenCounter& counter, TakeName takeName)
{
    NewHeadings names;
    index::VisitLines(lines, [&](std::string_view line) {
        counter.Count();
        if (HasFamilyName(line) && names.IsNew(line))
            takeName(line, LetterOf(line, encoding));
    });
}

// Whether the single page writes a family name of the page kOtherPage, so its bar needs the cell "#".
bool HasOtherName(const index::IndexList& indexList, charsets::TextEncoding encoding)
{
    return WritesOtherHeading(indexList, encoding, [](std::string_view line) {
        return HasFamilyName(line) ? std::optional(line) : std::nullopt;
    });
}

} // namespace

void WriteFamilyNameListPages(const index::IndexList& indexList, bool framed, HtmlPages& pages, WrittenCounter& counter)
{
    if (framed) {
        WriteLetterPageSet(GatherFamilyNames(indexList, pages.Encoding()), pages, counter,
                           [](HtmlPages& into, WrittenCounter& counted, const index::SelectedLines& lines) {
                               ForEachNewName(lines, into.Encoding(), counted, [&](std::string_view name, char) {
                                   into.WriteTextLine(kItemStart, name, kItemEnd);
                               });
                           });
        return;
    }
    WriteSinglePage(pages, HasOtherName(indexList, pages.Encoding()), [&] {
        LetterAnchors anchors(pages);
        ForEachNewName(indexList, pages.Encoding(), counter, [&](std::string_view name, char letter) {
            anchors.Write(letter);
            pages.WriteTextLine(kItemStart, name, kItemEnd);
        });
    });
}

void WriteFamilyNameLinePages(const index::IndexList& indexList, bool framed, HtmlPages& pages, WrittenCounter& counter)
{
    if (framed) {
        WriteLetterPageSet(GatherFamilyNames(indexList, pages.Encoding()), pages, counter,
                           [](HtmlPages& into, WrittenCounter& counted, const index::SelectedLines& lines) {
                               FamilyNameLine names;
                               ForEachNewName(lines, into.Encoding(), counted,
                                              [&](std::string_view name, char) { names.Collect(name); });
                               // A letter page holds its one item even when it has no names ("a" without names).
                               into.WriteTextLine(kLetterPageItemStart, names.Text(), kItemEnd);
                           });
        return;
    }
    WriteSinglePage(pages, HasOtherName(indexList, pages.Encoding()), [&] {
        FamilyNameLine names;
        LetterAnchors anchors(pages);
        char itemLetter = 0;
        // An item holds the names of one letter; where the letter changes the item is written.
        ForEachNewName(indexList, pages.Encoding(), counter, [&](std::string_view name, char letter) {
            if (letter != itemLetter) {
                if (!names.Empty()) {
                    pages.WriteTextLine(kItemStart, names.Text(), kItemEnd);
                    names.Clear();
                }
                itemLetter = letter;
            }
            anchors.Write(letter);
            names.Collect(name);
        });
        if (!names.Empty())
            pages.WriteTextLine(kItemStart, names.Text(), kItemEnd);
    });
}

} // namespace stambrix::output
