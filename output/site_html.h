#pragma once

#include "charsets/text_encoding.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The blocks every page of the website is made of: the head with the search form, the alphabet,
// the foot, and text from the GEDCOM file as HTML. Every byte is UTF-8.
namespace stambrix::output {

/// The letter pages of the website: "a" to "z", then kOtherPage.
inline constexpr std::size_t kSiteLetters = 27;

/// The number of names of each letter page, in the order of kSiteLetters.
using LetterCounts = std::array<std::uint64_t, kSiteLetters>;

/// The letter ("a" to "z", or kOtherPage) at place `place` among the letter pages.
char SiteLetterAt(std::size_t place);

/// The name of page `number` (from 1) of `letter`: "a.html", "a-2.html"; "overig.html" for kOtherPage.
void AppendSitePageName(char letter, std::uint32_t number, std::string& to);

/// The letter as the alphabet shows it: "A" for "a", "#" for kOtherPage.
char CapitalOf(char letter);

/// Appends `text`, read in `encoding`, to `to` as UTF-8 HTML text: "&", "<", ">" and the double
/// quote as character references, and every code point HTML forbids in text (the controls other
/// than tab, line feed, form feed and carriage return; the noncharacters) as U+FFFD. `scratch` is
/// used on the way.
void AppendHtmlText(std::string_view text, charsets::TextEncoding encoding, std::string& scratch, std::string& to);

/// What the top of a page shows: its title (also its h1) and description, both plain ASCII or
/// escaped already, and the alphabet: a link to the first page of each letter with names, the others
/// without a link; `current` (or '\0') marked as the page's own; with `withCounts` each letter says
/// its number of names.
struct PageTop
{
    std::string_view title;
    std::string_view description;
    const LetterCounts& counts;
    char current = '\0';
    bool withCounts = false;
};

/// The page from the doctype through the search form and the alphabet to the h1 inside <main>.
void AppendPageTop(const PageTop& top, std::string& to);

/// From the end of <main> to the end of the page, with the date of FooterDate `date`.
void AppendPageFoot(std::string_view date, std::string& to);

} // namespace stambrix::output
