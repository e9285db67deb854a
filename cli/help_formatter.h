#pragma once

#include <CLI/CLI.hpp>

#include <cstddef>
#include <string>
#include <string_view>

namespace stambrix::cli {

/// The width --help keeps to: a terminal's default.
inline constexpr std::size_t kHelpWidth = 80;

/// `text` with its words moved to a new line where a line would grow past `width` characters (UTF-8
/// characters, not bytes); its own line ends stay. A word longer than `width` stands on a line of its own.
std::string WrapText(std::string_view text, std::size_t width);

/// --help in Dutch within kHelpWidth columns: the headings in Dutch, every text wrapped under its
/// column, and the GEDCOM file shown as the argument a run needs rather than as an optional one.
class HelpFormatter : public CLI::Formatter
{
public:
    HelpFormatter();

    std::string make_description(const CLI::App* app) const override;
    std::string make_option_usage(const CLI::Option* option) const override;
    std::string make_option_opts(const CLI::Option* option) const override;
    std::string make_option_desc(const CLI::Option* option) const override;
};

} // namespace stambrix::cli
