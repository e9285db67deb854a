#pragma once

#include "charsets/text_encoding.h"
#include "index/index_list.h"

#include <memory>
#include <string>

namespace stambrix::index {

/// The ICU locale the index is sorted for: the default locale from the environment, the root
/// locale when that is C or POSIX.
std::string CollationLocale();

/// The lines of an index list with the heads of their sort keys, in collation order: an ICU collator of the
/// locale at secondary strength (case ignored, accents not), blanks and punctuation counted; lines
/// that collate equal in the order of their bytes. Each line keeps the first bytes of its sort key
/// alone; lines whose first bytes are equal are compared by the collator on their text.
/// Making one throws text::RunFailure «ICU-sortering voor <locale>: <ICU error name>» when ICU has no
/// collator for the locale, and std::bad_alloc when ICU runs out of memory.
class CollatedLines
{
public:
    CollatedLines(const IndexList& indexList, charsets::TextEncoding encoding, const std::string& locale);
    ~CollatedLines();
    CollatedLines(CollatedLines&&) noexcept;
    CollatedLines& operator=(CollatedLines&&) noexcept;

    /// Takes in the lines of `later`, collated from the list that is appended to this one's list.
    /// Lines are merged once: neither these lines nor `later` have taken in others before.
    void Merge(CollatedLines&& later);

    /// Puts the list these lines were collated from (with the list of merged lines appended) in
    /// their order. The keys are spent: nothing is left to apply afterwards. Throws as making one
    /// does.
    void ApplyTo(IndexList& indexList) &&;

private:
    struct Keys;
    std::unique_ptr<Keys> keys_;
};

/// Sorts the lines as the user's language orders them: an ICU collator of `locale` at secondary
/// strength (case ignored, accents not), blanks and punctuation counted. Lines that collate
/// equal stay in the order of their bytes, so the same file always gives the same index. Throws as
/// CollatedLines does.
void SortIndexList(IndexList& indexList, charsets::TextEncoding encoding, const std::string& locale);

} // namespace stambrix::index
