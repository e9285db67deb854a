#pragma once

#include "charsets/text_encoding.h"
#include "index/index_list.h"
#include "output/file_set.h"
#include "output/site_plan.h"
#include "output/written_counter.h"

#include <cstddef>
#include <functional>

// The pages of the website: the entry page index.html and the letter pages of the name index.
namespace stambrix::output {

/// No page of the website is larger than this.
inline constexpr std::size_t kSitePageLimit = std::size_t{128} << 10;

/// Writes index.html and the letter pages of the name index `indexList` into `files`, and fills
/// `plan` with the page and id of every line. Each line goes on the page of the letter of its family
/// name (LetterOf), persons without a family name on the page kOtherPage under «zonder achternaam»;
/// a letter whose persons make its page larger than `pageLimit` goes on over "a-2.html",
/// "a-3.html" ..., split between persons. Letters without names get no page. Every line is counted
/// on `counter`. The letters are written on two threads, one taking them from A on once it has shared
/// the lines out and written index.html, the other from the end back, after it has done `besides`
/// (which must not touch `files`, `counter` or `plan`);
/// each file is written whole before the next is opened. Throws text::RunFailure, and what `besides`
/// throws.
void WriteSitePages(const index::IndexList& indexList, charsets::TextEncoding encoding, FileSet& files,
                    WrittenCounter& counter, SitePlan& plan, const std::function<void()>& besides = {},
                    std::size_t pageLimit = kSitePageLimit);

} // namespace stambrix::output
