#pragma once

#include <span>
#include <string>
#include <string_view>

namespace stambrix::charsets {

/// The characters whose search folding is not the character itself, with their folding, in order of
/// code point. Characters beyond the blocks the table covers (Latin, IPA, Greek, Cyrillic, the
/// combining marks and general punctuation) fold to themselves.
struct SearchFolding
{
    char32_t character;
    std::string_view folded; ///< UTF-8; "" for a combining mark, " " for a character between words
};

/// The search folding of every character that does not fold to itself: a letter or digit becomes
/// its compatibility decomposition without marks, in lower case, with Æ a, Ø o, Œ o, ß s, Ł l, Đ d,
/// Ð d, Þ t and ı i as the index files them; a combining mark becomes nothing; any other character
/// (space, punctuation, symbol, control) becomes a space. The one table both the search data and
/// the search script fold with.
std::span<const SearchFolding> SearchFoldingTable();

/// Appends the search words of the UTF-8 `text` to `to`: every character folded (SearchFoldingTable),
/// the words that come out separated by one space, without a space before the first or after the
/// last. A byte that begins no well-formed sequence is taken as U+FFFD. Nothing for text without
/// letters or digits.
void AppendSearchWords(std::string_view text, std::string& to);

} // namespace stambrix::charsets
