#pragma once

#include "index/index_list.h"
#include "output/html_pages.h"
#include "output/written_counter.h"

#include <string>
#include <string_view>

// The HTML name index. It writes its pages through `pages`, in the framed layout (a frameset, an
// alphabet page, a page per letter "a" to "z" and, for headings that begin with no letter, the page
// "indexoverig.htm") or as a single page; the counter counts every line. The caller adds the
// stylesheet and puts the completed pages in place.
namespace stambrix::output {

/// Names: a heading per surname, under it a line per person.
void WriteNameIndexPages(const index::IndexList& indexList, bool framed, HtmlPages& pages, WrittenCounter& counter);

/// The heading of a name index line: the text before its first comma; empty without a comma.
std::string_view HeadingOf(std::string_view line);

/// Puts in `entry` the entry of a name index line: from after the first comma to before the last
/// tab, the one before the record id, trimmed, its tabs (and pairs of tabs) turned into ", ". A line
/// without a tab gives all after the comma; a line whose first comma follows its last tab, nothing.
void EntryTextOf(std::string_view line, std::string& entry);

} // namespace stambrix::output
