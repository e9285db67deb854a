#pragma once

#include "charsets/text_encoding.h"
#include "index/index_list.h"
#include "output/file_set.h"
#include "output/site_plan.h"
#include "output/written_counter.h"

#include <cstddef>

// The pages of the website: the entry page index.html and the letter pages of the name index.
namespace stambrix::output {

/// No page of the website is larger than this.
inline constexpr std::size_t kSitePageLimit = std::size_t{128} << 10;

/// Writes index.html and the letter pages of the name index `indexList` into `files`, and fills
/// `plan` with the page and id of every line. Each line goes on the page of the letter of its family
/// name (LetterOf), persons without a family name on the page kOtherPage under «zonder achternaam»;
/// a letter whose persons make its page larger than `pageLimit` goes on over "a-2.html",
/// "a-3.html" ..., split between persons. Letters without names get no page. Every line is counted
/// on `counter`. Throws text::RunFailure.
void WriteSitePages(const index::IndexList& indexList, charsets::TextEncoding encoding, FileSet& files,
                    WrittenCounter& counter, SitePlan& plan, std::size_t pageLimit = kSitePageLimit);

} // namespace stambrix::output
