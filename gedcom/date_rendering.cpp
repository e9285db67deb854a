#include "gedcom/date_rendering.h"

#include "text/ascii.h"

#include <array>
#include <cassert>
#include <cstdint>
#include <span>
#include <utility>

namespace stambrix::gedcom {

namespace {

struct Translation
{
    std::string_view find;
    std::string_view replacement;
};

// English month words first, so that "October" becomes "oktober" before "oct" is looked for, and the
// qualifiers with a full stop before the full stop itself becomes "-".
constexpr std::array<Translation, 23> kWordTranslations{{
    {"January", "januari"},
    {"February", "februari"},
    {"March", "maart"},
    {"May", "mei"},
    {"June", "juni"},
    {"July", "juli"},
    {"August", "augustus"},
    {"October", "oktober"},
    {"mar", "mrt"},
    {"oct", "okt"},
    {"ABT ", "ca "},
    {"CAL ", "ca "},
    {"EST ", "ca "},
    {"BEF ", "voor "},
    {"AFT ", "na "},
    {"BET ", "tussen "},
    {"ABT. ", "ca "},
    {"CAL. ", "ca "},
    {"EST. ", "ca "},
    {"BEF. ", "voor "},
    {"AFT. ", "na "},
    {"BET. ", "tussen "},
    {"  ", " "},
}};

constexpr bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

/// True when `find`, found at `at` of `text`, stands there as a whole word: where `find` begins with
/// a letter, `before` (the character before it, 0 for none) is no letter; where it ends with one,
/// none follows.
bool IsWholeWordAt(char before, std::string_view text, std::size_t at, std::string_view find)
{
    const std::size_t end = at + find.size();
    if (IsLetter(find.front()) && IsLetter(before))
        return false;
    return !(IsLetter(find.back()) && end < text.size() && IsLetter(text[end]));
}

/// Replaces every whole-word occurrence of `find` in `text`, left to right, A-Z and a-z taken as
/// equal; the search goes on behind each inserted replacement, so a replacement never takes part in
/// a match. The new text is built in one pass, however many matches there are. Returns true when
/// anything was replaced.
bool ReplaceAllNoCase(std::string& text, std::string_view find, std::string_view replacement)
{
    std::size_t at = text::FindNoCase(text, find);
    if (at == std::string::npos)
        return false;
    bool replaced = false;
    std::string result;
    result.reserve(text.size());
    std::size_t copied = 0;
    for (; at != std::string::npos; at = text::FindNoCase(text, find, at + 1)) {
        result.append(text, copied, at - copied);
        copied = at;
        // What stands before the match is what the text holds there by now: a replacement included.
        if (!IsWholeWordAt(result.empty() ? '\0' : result.back(), text, at, find))
            continue;
        result.append(replacement);
        copied = at + find.size();
        replaced = true;
        at = copied - 1;
    }
    if (!replaced)
        return false;
    result.append(text, copied);
    text = std::move(result);
    return true;
}

// Month words of a date, each with its month number; full names and abbreviations alike.
struct MonthWord
{
    std::string_view word;
    int month;
};

constexpr std::array<MonthWord, 24> kMonthWords{{
    {"januari", 1},  {"jan", 1},      {"februari", 2},  {"feb", 2},       {"maart", 3},     {"mrt", 3},
    {"april", 4},    {"apr", 4},      {"mei", 5},       {"juni", 6},      {"jun", 6},       {"juli", 7},
    {"jul", 7},      {"augustus", 8}, {"aug", 8},       {"september", 9}, {"sep", 9},       {"sept", 9},
    {"oktober", 10}, {"okt", 10},     {"november", 11}, {"nov", 11},      {"december", 12}, {"dec", 12},
}};

// The letters A-Z that occur in `text`, case folded, one bit each.
constexpr std::uint32_t LettersIn(std::string_view text)
{
    std::uint32_t letters = 0;
    for (const char c : text)
        if (IsLetter(c))
            letters |= 1u << (text::ToLowerAscii(c) - 'a');
    return letters;
}

bool IsSeparator(char c)
{
    return c == ' ' || c == '-' || c == '/';
}

/// Reads a run of digits at `pos` of `text` when it has `minDigits` to `maxDigits` digits, moving
/// `pos` behind it; -1 (and `pos` unchanged) otherwise.
int ReadNumber(std::string_view text, std::size_t& pos, std::size_t minDigits, std::size_t maxDigits)
{
    std::size_t end = pos;
    int value = 0;
    while (end < text.size() && text::IsAsciiDigit(text[end]) && end - pos <= maxDigits) {
        value = value * 10 + (text[end] - '0');
        ++end;
    }
    const std::size_t digits = end - pos;
    if (digits < minDigits || digits > maxDigits)
        return -1;
    pos = end;
    return value;
}

/// Moves `pos` behind one or more separators; false when there is none at `pos`.
bool SkipSeparators(std::string_view text, std::size_t& pos)
{
    const std::size_t start = pos;
    while (pos < text.size() && IsSeparator(text[pos]))
        ++pos;
    return pos > start;
}

/// The month at `pos`: 1 or 2 digits from 1 to 12, or a whole word of `words` in any case; 0 when
/// there is none. Moves `pos` behind it.
int ReadMonth(std::string_view text, std::size_t& pos, std::span<const MonthWord> words)
{
    if (pos < text.size() && text::IsAsciiDigit(text[pos])) {
        const int month = ReadNumber(text, pos, 1, 2);
        return month >= 1 && month <= 12 ? month : 0;
    }
    std::size_t end = pos;
    while (end < text.size() && IsLetter(text[end]))
        ++end;
    const std::string_view word = text.substr(pos, end - pos);
    for (const MonthWord& candidate : words) {
        if (text::EqualsNoCase(word, candidate.word)) {
            pos = end;
            return candidate.month;
        }
    }
    return 0;
}

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int month, int year)
{
    assert(month >= 1 && month <= 12);
    constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

struct CalendarDate
{
    int day = 0;
    int month = 0;
    int year = 0;
};

/// True when the whole of `text` is DAY SEP MONTH SEP YEAR naming a day that exists, the month a
/// number or a word of `words`; `date` then holds it.
bool ReadCalendarDate(std::string_view text, std::span<const MonthWord> words, CalendarDate& date)
{
    std::size_t pos = 0;
    date.day = ReadNumber(text, pos, 1, 2);
    if (date.day < 1 || !SkipSeparators(text, pos))
        return false;
    date.month = ReadMonth(text, pos, words);
    if (date.month == 0 || !SkipSeparators(text, pos))
        return false;
    date.year = ReadNumber(text, pos, 3, 4);
    return pos == text.size() && date.year >= 100 && date.day <= DaysInMonth(date.month, date.year);
}

/// Writes `value` as `width` digits, padded with zeros, into `out` from `pos` on.
void PutDigits(std::string& out, std::size_t pos, int value, std::size_t width)
{
    for (std::size_t i = width; i > 0; --i) {
        out[pos + i - 1] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

// Every month word a date can hold before its words are translated: the Dutch ones and the English
// ones the translation turns into Dutch ones, each with its month number. The date most values are,
// DAY SEP MONTH SEP YEAR with nothing else, is read with these: its index form comes straight from its
// parts, since no word of it is a qualifier and the translation would change nothing but the month
// word itself. Anything else takes the whole rule.
constexpr std::array<MonthWord, 34> kAnyMonthWords{{
    {"januari", 1},   {"jan", 1},  {"january", 1},   {"februari", 2}, {"feb", 2},    {"february", 2},
    {"maart", 3},     {"mrt", 3},  {"mar", 3},       {"march", 3},    {"april", 4},  {"apr", 4},
    {"mei", 5},       {"may", 5},  {"juni", 6},      {"jun", 6},      {"june", 6},   {"juli", 7},
    {"jul", 7},       {"july", 7}, {"augustus", 8},  {"aug", 8},      {"august", 8}, {"september", 9},
    {"sep", 9},       {"sept", 9}, {"oktober", 10},  {"okt", 10},     {"oct", 10},   {"october", 10},
    {"november", 11}, {"nov", 11}, {"december", 12}, {"dec", 12},
}};

std::string IndexFormOf(const CalendarDate& date)
{
    std::string text("dd-mm-yyyy");
    PutDigits(text, 0, date.day, 2);
    PutDigits(text, 3, date.month, 2);
    PutDigits(text, 6, date.year, 4);
    return text;
}

} // namespace

std::string TranslateDateWords(std::string_view dateText)
{
    std::string text(dateText);
    // A row whose first letter is not in the text cannot match; a date holds few letters. A
    // replacement can only bring in the letters it is made of.
    std::uint32_t letters = LettersIn(text);
    for (const Translation& row : kWordTranslations) {
        const std::uint32_t first = LettersIn(row.find.substr(0, 1));
        if (first != 0 && (letters & first) == 0)
            continue;
        if (ReplaceAllNoCase(text, row.find, row.replacement))
            letters |= LettersIn(row.replacement);
    }
    // The full stop is compared exactly, and one character stands for one: no search needed.
    for (char& c : text)
        if (c == '.')
            c = '-';
    return text;
}

std::string RenderGedcomDate(std::string_view value)
{
    CalendarDate date;
    if (ReadCalendarDate(value, kAnyMonthWords, date))
        return IndexFormOf(date);
    return RenderAnyDate(value);
}

std::string RenderAnyDate(std::string_view value)
{
    std::string text = TranslateDateWords(value);
    CalendarDate date;
    return ReadCalendarDate(text, kMonthWords, date) ? IndexFormOf(date) : text;
}

} // namespace stambrix::gedcom
