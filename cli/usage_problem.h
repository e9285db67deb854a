#pragma once

#include <CLI/CLI.hpp>

#include <span>
#include <string>
#include <string_view>

namespace stambrix::cli {

/// True for an argument the parser reads as an option: "-" followed by anything ("-" alone is a file).
bool LooksLikeOption(std::string_view argument);

/// The Dutch sentence for the first fault in `options` (the arguments before "--") once the parser has
/// refused them: an option it does not know, a value given to a switch, a missing value, a value option
/// given twice. A general sentence when none of these is the cause.
std::string UsageProblem(const CLI::App& app, std::span<const std::string> options);

} // namespace stambrix::cli
