#pragma once

#include "charsets/text_encoding.h"
#include "index/index_list.h"
#include "output/file_set.h"
#include "output/site_plan.h"

#include <cstddef>
#include <memory>
#include <string_view>

namespace stambrix::output {

/// The file the search script loads first: which data file holds the persons of which word start.
inline constexpr std::string_view kSearchManifest = "zoek.js";
/// The hits a search shows at most; a word start whose persons are spread over several files has a
/// file of this many of its first persons.
inline constexpr std::size_t kShownHits = 100;
/// The longest start of words, in characters, that has persons of its own: the persons of a start
/// this long that do not fit in a file have only a file of their first persons.
inline constexpr std::size_t kLongestStart = 24;
/// No file of the search data is larger.
inline constexpr std::size_t kSearchFileLimit = std::size_t{1} << 20;
/// The first persons of several starts share a file up to this size.
inline constexpr std::size_t kPackedFileLimit = std::size_t{64} << 10;

/// The search data of the name index `indexList` (lines in `encoding`), made in two steps: Gather
/// needs no page plan, so that it can run on a thread of its own beside the writing of the pages,
/// and Write then writes the files for the pages of the plan.
///
/// The data is kSearchManifest and the data files "zoek-1.js", "zoek-2.js" ..., none larger than
/// `fileLimit` bytes. A person stands in the file of each distinct start of the search words of its
/// name (charsets::AppendSearchWords), as one line "page TAB id TAB name": its page's number in the
/// plan, its element's id there and its name in UTF-8, the name without the comma before it where
/// there is no family name; the search script folds the name into its words. All persons go in one
/// file as long as it stays within the limit; otherwise they are shared out by the first letter of
/// their words, a letter whose file would pass the limit by the first two letters, and so on up to
/// kLongestStart characters, and such a letter (or start of letters) gets a part of its first
/// persons in index order: kShownHits, or as many as the limit takes. A start with all its persons
/// has a file of its own; the parts of first persons, small as they are, share files up to
/// kPackedFileLimit. The manifest calls `stambrixZoek.inhoud(pages, starts)` with the page names and,
/// a line each, every start of words: "start TAB persons TAB file TAB part TAB h" for all its
/// persons, "... TAB b" for its first persons (file and part 0: none). A data file calls
/// `stambrixZoek.deel(part, lines)` for each of its parts.
class SearchData
{
public:
    SearchData(const index::IndexList& indexList, charsets::TextEncoding encoding,
               std::size_t fileLimit = kSearchFileLimit);
    ~SearchData();
    SearchData(const SearchData&) = delete;
    SearchData& operator=(const SearchData&) = delete;

    /// Folds every name into its search words and counts the persons of every start of words.
    void Gather();
    /// After Gather: writes the search data of the pages of `plan` to `files`.
    void Write(const SitePlan& plan, FileSet& files);

private:
    class Writer;
    std::unique_ptr<Writer> writer_;
};

} // namespace stambrix::output
