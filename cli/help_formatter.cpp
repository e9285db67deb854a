#include "cli/help_formatter.h"

#include <algorithm>

namespace stambrix::cli {

namespace {
constexpr std::size_t kOptionColumn = 26;

// Characters, not bytes: a UTF-8 continuation byte adds nothing to a line's width.
std::size_t Width(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void WrapLine(std::string_view line, std::size_t width, std::string& out)
{
    std::size_t lineWidth = 0;
    while (!line.empty()) {
        const std::size_t end = line.find(' ');
        const std::string_view word = line.substr(0, end);
        if (lineWidth > 0 && lineWidth + 1 + Width(word) > width) {
            out += '\n';
            lineWidth = 0;
        } else if (lineWidth > 0) {
            out += ' ';
            ++lineWidth;
        }
        out += word;
        lineWidth += Width(word);
        line.remove_prefix(end == std::string_view::npos ? line.size() : end + 1);
    }
}
} // namespace

std::string WrapText(std::string_view text, std::size_t width)
{
    std::string out;
    for (;;) {
        const std::size_t end = text.find('\n');
        WrapLine(text.substr(0, end), width, out);
        if (end == std::string_view::npos)
            return out;
        out += '\n';
        text.remove_prefix(end + 1);
    }
}

HelpFormatter::HelpFormatter()
{
    label("Usage", "Gebruik");
    label("OPTIONS", "OPTIES");
    label("Options", "Opties");
    label("Positionals", "Argumenten");
    label("POSITIONALS", "ARGUMENTEN");
    column_width(kOptionColumn);
}

std::string HelpFormatter::make_description(const CLI::App* app) const
{
    return WrapText(app->get_description(), kHelpWidth) + '\n';
}

// The usage line names the GEDCOM file without brackets: the parser leaves it optional only so that
// a missing file gets the run's own Dutch message, as a usage error.
std::string HelpFormatter::make_option_usage(const CLI::Option* option) const
{
    return make_option_name(option, true);
}

std::string HelpFormatter::make_option_opts(const CLI::Option* option) const
{
    return option->get_positional() ? std::string() : CLI::Formatter::make_option_opts(option);
}

std::string HelpFormatter::make_option_desc(const CLI::Option* option) const
{
    return WrapText(option->get_description(), kHelpWidth - kOptionColumn);
}

} // namespace stambrix::cli
