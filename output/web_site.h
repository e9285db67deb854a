#pragma once

#include "charsets/text_encoding.h"
#include "index/index_list.h"
#include "output/file_set.h"
#include "output/written_counter.h"

// The website: a static, searchable name index for the browser, every file flat in one folder.
namespace stambrix::output {

/// Writes every file of the website of the name index `indexList`, whose lines are in `encoding`,
/// into `files`: the pages (WriteSitePages), the stylesheet and the icon, and the search. Every line
/// is counted on `counter`; the caller puts the files in place. Throws text::RunFailure.
void WriteWebSite(const index::IndexList& indexList, charsets::TextEncoding encoding, FileSet& files,
                  WrittenCounter& counter);

} // namespace stambrix::output
