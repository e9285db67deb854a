#pragma once

#include "output/file_set.h"

namespace stambrix::output {

/// Writes "stambrix.js", the search of the website's pages: it shows the search form, and on the
/// first keystroke loads the search data (SearchData) beside itself as script elements. It
/// folds the query with the table of charsets::SearchFoldingTable, written into it, and shows the
/// first kShownHits persons whose names have a word starting with each word of the query, as links
/// to their places on the letter pages, under the count of all of them.
void WriteSearchScript(FileSet& files);

} // namespace stambrix::output
