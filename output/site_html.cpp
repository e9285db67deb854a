#include "output/site_html.h"

#include "charsets/utf8_text.h"
#include "output/html_pages.h"

#include <algorithm>
#include <cassert>

namespace stambrix::output {

namespace {
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The ASCII bytes written otherwise than as they are: the four escaped, the controls replaced.
constexpr std::array<bool, 128> kSpecialAscii = [] {
    std::array<bool, 128> special{};
    for (std::size_t byte = 0; byte < 0x20; ++byte)
        special[byte] = byte != '\t' && byte != '\n' && byte != '\f' && byte != '\r';
    special[0x7F] = true;
    special['&'] = special['<'] = special['>'] = special['"'] = true;
    return special;
}();

// An escaped byte as its reference, a control as the replacement character.
void AppendSpecialAscii(char byte, std::string& to)
{
    if (static_cast<unsigned char>(byte) < 0x20 || byte == 0x7F)
        to += kReplacement;
    else
        AppendEscapedHtml(std::string_view(&byte, 1), to);
}

// True for a well-formed sequence of two or more bytes that is a C1 control or a noncharacter.
bool ForbiddenSequence(std::string_view sequence)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(sequence[i]); };
    if (sequence.size() == 2)
        return byte(0) == 0xC2 && byte(1) < 0xA0;
    if (sequence.size() == 3)
        return byte(0) == 0xEF &&
               ((byte(1) == 0xB7 && byte(2) >= 0x90 && byte(2) <= 0xAF) || (byte(1) == 0xBF && byte(2) >= 0xBE));
    // U+xFFFE and U+xFFFF of the planes above the first: the last two bytes are BF BE or BF BF.
    return (byte(1) & 0x0F) == 0x0F && byte(2) == 0xBF && byte(3) >= 0xBE;
}
} // namespace

char SiteLetterAt(std::size_t place)
{
    assert(place < kSiteLetters);
    return place + 1 == kSiteLetters ? kOtherPage : static_cast<char>('a' + place);
}

void AppendSitePageName(char letter, std::uint32_t number, std::string& to)
{
    to.append(LetterNameOf(letter));
    if (number > 1)
        to.append("-").append(std::to_string(number));
    to.append(".html");
}

char CapitalOf(char letter)
{
    return letter == kOtherPage ? kOtherPage : static_cast<char>(letter - 'a' + 'A');
}

void AppendHtmlText(std::string_view text, charsets::TextEncoding encoding, std::string& scratch, std::string& to)
{
    // Most names are plain ASCII, the same in either encoding and with nothing to escape.
    if (std::all_of(text.begin(), text.end(), [](char byte) {
            const auto unit = static_cast<unsigned char>(byte);
            return unit < 0x80 && !kSpecialAscii[unit];
        })) {
        to.append(text);
        return;
    }
    scratch.clear();
    charsets::AppendAsUtf8(text, encoding, scratch);
    std::size_t plain = 0;
    for (std::size_t i = 0; i < scratch.size();) {
        const auto lead = static_cast<unsigned char>(scratch[i]);
        if (lead < 0x80) {
            if (kSpecialAscii[lead]) {
                to.append(scratch, plain, i - plain);
                AppendSpecialAscii(scratch[i], to);
                plain = i + 1;
            }
            ++i;
            continue;
        }
        // Well-formed: a lead byte of 2, 3 or 4 bytes.
        const std::size_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (ForbiddenSequence(std::string_view(scratch).substr(i, length))) {
            to.append(scratch, plain, i - plain);
            to += kReplacement;
            plain = i + length;
        }
        i += length;
    }
    to.append(scratch, plain);
}

void AppendPageTop(const PageTop& top, std::string& to)
{
    to.append("<!DOCTYPE html>\n<html lang=\"nl\">\n<head>\n<meta charset=\"utf-8\">\n"
              "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>")
        .append(top.title)
        .append("</title>\n<meta name=\"description\" content=\"")
        .append(top.description)
        .append("\">\n<link rel=\"stylesheet\" href=\"stambrix.css\">"
                "<link rel=\"icon\" href=\"stambrix.svg\" type=\"image/svg+xml\">\n"
                "<script src=\"stambrix.js\" defer></script>\n"
                "<noscript><style>.zoeken { display: none; }</style></noscript>\n"
                "</head>\n<body>\n<header class=\"kop\">\n"
                "<p class=\"site\"><a href=\"index.html\">Namenindex</a></p>\n"
                "<form class=\"zoeken\" role=\"search\">\n"
                "  <label for=\"zoek\">Zoek een naam</label>\n"
                "  <input type=\"search\" id=\"zoek\" name=\"zoek\" autocomplete=\"off\" spellcheck=\"false\">\n"
                "</form>\n<div id=\"treffers\" aria-live=\"polite\"></div>\n</header>\n"
                "<nav class=\"alfabet\" aria-label=\"Alfabet\">\n<ul>\n");
    for (std::size_t place = 0; place < kSiteLetters; ++place) {
        const char letter = SiteLetterAt(place);
        const std::uint64_t count = top.counts[place];
        to.append("<li>");
        if (count == 0) {
            to.append("<span class=\"leeg\">");
        } else {
            to.append("<a href=\"");
            AppendSitePageName(letter, 1, to);
            to.append(letter == top.current ? "\" aria-current=\"page\">" : "\">");
        }
        to.push_back(CapitalOf(letter));
        if (top.withCounts)
            to.append(" <span class=\"aantal-letter\">")
                .append(std::to_string(count))
                .append(count == 1 ? "<span class=\"vh\"> naam</span></span>"
                                   : "<span class=\"vh\"> namen</span></span>");
        to.append(count == 0 ? "</span></li>\n" : "</a></li>\n");
    }
    to.append("</ul>\n</nav>\n<main>\n<h1>").append(top.title).append("</h1>\n");
}

void AppendPageFoot(std::string_view date, std::string& to)
{
    to.append("</main>\n<footer>\n<p>laatst bijgewerkt : ").append(date).append("</p>\n</footer>\n</body>\n</html>\n");
}

} // namespace stambrix::output
