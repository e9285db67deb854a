#include "output/name_index_pages.h"
#include "output/letter_pages.h"
#include "text/ascii.h"

#include <string>

namespace stambrix::output {

namespace {
// Writes name index lines under their headings; the headings and anchors are those of one page.
class NameEntryWriter
{
public:
    NameEntryWriter(HtmlPages& pages, WrittenCounter& counter) : pages_(pages), counter_(counter), anchors_(pages) {}

    void Write(std::string_view line)
    {
        counter_.Count();
        const std::string_view heading = HeadingOf(line);
        if (headings_.IsNew(heading)) {
            anchors_.Write(LetterOf(heading, pages_.Encoding()));
            pages_.WriteTextLine("      <LI CLASS=\"inhoudkop\">", heading, "</LI>");
        }
        EntryTextOf(line, entry_);
        pages_.WriteTextLine("         <UL><LI CLASS=\"inhoudtekst\">", entry_, "</LI></UL>");
    }

private:
    HtmlPages& pages_;
    WrittenCounter& counter_;
    NewHeadings headings_;
    LetterAnchors anchors_;
    std::string entry_;
};

// The lines gathered by the letter page of their heading.
LetterGroups GatherNames(const index::IndexList& indexList, charsets::TextEncoding encoding)
{
    return GatherByLetter(indexList, [encoding](std::string_view line) { return LetterOf(HeadingOf(line), encoding); });
}

} // namespace

std::string_view HeadingOf(std::string_view line)
{
    const auto comma = line.find(',');
    return comma == std::string_view::npos ? std::string_view() : line.substr(0, comma);
}

void EntryTextOf(std::string_view line, std::string& entry)
{
    entry.clear();
    const auto comma = line.find(',');
    const auto idTab = line.rfind('\t');
    // From just after the comma (the start of the line when there is none) to the tab before the
    // record id, the last of the line: a name may hold "[@" and the id may be empty. Without a tab
    // there is no id to leave out; a comma only inside the id leaves nothing.
    const std::size_t start = comma == std::string_view::npos ? 0 : comma + 1;
    const std::size_t end = idTab == std::string_view::npos ? line.size() : idTab;
    if (end < start)
        return;
    const std::string_view fields = text::Trim(line.substr(start, end - start));
    // A pair of tabs (an empty field between two) and a single tab alike become ", ", pairs taken
    // first from the left: three tabs give ", , ".
    std::size_t from = 0;
    for (auto tab = fields.find('\t'); tab != std::string_view::npos; tab = fields.find('\t', from)) {
        entry.append(fields.substr(from, tab - from)).append(", ");
        from = tab + (tab + 1 < fields.size() && fields[tab + 1] == '\t' ? 2 : 1);
    }
    entry.append(fields.substr(from));
}

void WriteNameIndexPages(const index::IndexList& indexList, bool framed, HtmlPages& pages, WrittenCounter& counter)
{
    // Each page starts its headings afresh.
    const auto writeEntries = [](HtmlPages& into, WrittenCounter& counted, const auto& lines) {
        NameEntryWriter writer(into, counted);
        index::VisitLines(lines, [&](std::string_view line) { writer.Write(line); });
    };
    if (framed)
        WriteLetterPageSet(GatherNames(indexList, pages.Encoding()), pages, counter,
                           [&](HtmlPages& into, WrittenCounter& counted, const index::SelectedLines& lines) {
                               writeEntries(into, counted, lines);
                           });
    else
        // Lines with an empty heading before the first heading are written without one.
        WriteSinglePage(pages,
                        WritesOtherHeading(indexList, pages.Encoding(),
                                           [](std::string_view line) { return std::optional(HeadingOf(line)); }),
                        [&] { writeEntries(pages, counter, indexList); });
}

} // namespace stambrix::output
