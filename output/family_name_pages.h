#pragma once

#include "index/index_list.h"
#include "output/html_pages.h"
#include "output/written_counter.h"

// The two family-name kinds. Each writes its pages through `pages`, framed (a page per letter and
// "indexoverig.htm" beside an alphabet page) or as a single page; the counter counts every line. The
// caller adds the stylesheet and puts the completed pages in place.
namespace stambrix::output {

/// Family names, one item each.
void WriteFamilyNameListPages(const index::IndexList& indexList, bool framed, HtmlPages& pages,
                              WrittenCounter& counter);

/// Family names run together per initial, separated by "; ".
void WriteFamilyNameLinePages(const index::IndexList& indexList, bool framed, HtmlPages& pages,
                              WrittenCounter& counter);

} // namespace stambrix::output
