#pragma once

#include "output/index_list.h"

#include <array>
#include <string_view>
#include <vector>

// What the index pages need to know of a heading: when two headings are the same, when they
// share their initial, and which letter page a heading belongs on. Case folding touches A-Z only.
namespace stambrix::output {

/// The two headings, trimmed and with A-Z folded, are equal.
bool SameHeading(std::string_view previous, std::string_view heading);

/// The first characters of the two headings (whole UTF-8 sequences in UTF-8 text), with A-Z
/// folded, are equal; the first character of an empty heading is empty.
bool SameInitial(std::string_view previous, std::string_view heading, bool utf8);

/// The letter page of a heading, "a" to "z"; 0 when its trimmed text is empty or it begins with
/// anything but a letter A-Z.
char LetterOf(std::string_view heading);

/// The lines of an index list gathered per letter page, each letter's lines in their sorted order,
/// and the letters in the order their first lines come. Lines without a letter page are left out.
struct LetterGroups
{
    std::array<std::vector<std::string_view>, 26> lines;
    std::vector<char> letters;
};

/// Gathers the lines of `indexList` by the letter of `headingOf`(line).
template <typename HeadingOf> LetterGroups GatherByLetter(const IndexList& indexList, HeadingOf headingOf)
{
    LetterGroups groups;
    for (const std::string_view line : indexList) {
        const char letter = LetterOf(headingOf(line));
        if (letter == 0)
            continue;
        auto& lines = groups.lines[static_cast<std::size_t>(letter - 'a')];
        if (lines.empty())
            groups.letters.push_back(letter);
        lines.push_back(line);
    }
    return groups;
}

} // namespace stambrix::output
