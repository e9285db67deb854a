#pragma once

#include <string>
#include <string_view>

namespace stambrix::gedcom {

/// `dateText` with the English month words and the date qualifiers replaced by Dutch ones, in the
/// fixed order of the translation table (each step over the whole text, left to right, a
/// replacement never taking part in a match of its own step), full stops finally turned into "-".
/// Words are matched whole: «August» is not found inside «augustus», nor «mar» inside «Marken».
std::string TranslateDateWords(std::string_view dateText);

/// The index form of a DATE value: "dd-mm-yyyy" when the translated text is a complete Dutch
/// calendar date (DAY SEP MONTH SEP YEAR, SEP one or more of blank, "-" and "/"; a month as 1-12
/// or a Dutch month name or abbreviation in any case; a year of 3 or 4 digits from 100 to 9999;
/// a day that exists in that month), the translated text otherwise. Empty gives empty.
/// The common complete date is read straight from its parts; anything else takes RenderAnyDate.
std::string RenderGedcomDate(std::string_view value);

/// RenderGedcomDate by the rule alone: the words translated, then the text read as a date.
std::string RenderAnyDate(std::string_view value);

} // namespace stambrix::gedcom
