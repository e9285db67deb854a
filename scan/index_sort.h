#pragma once

#include "output/index_list.h"

#include <string>

namespace stambrix::scan {

/// How the bytes of the index lines are to be read for comparing them.
enum class TextEncoding
{
    Windows1252,
    Utf8
};

/// The ICU locale the index is sorted for: the default locale from the environment, the root
/// locale when that is C or POSIX.
std::string CollationLocale();

/// Sorts the lines as the user's language orders them: an ICU collator of `locale` at secondary
/// strength (case ignored, accents not), blanks and punctuation counted. Lines that collate
/// equal stay in the order of their bytes, so the same file always gives the same index. Each
/// line's sort key is computed once.
void SortIndexList(output::IndexList& indexList, TextEncoding encoding, const std::string& locale);

} // namespace stambrix::scan
