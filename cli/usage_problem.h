#pragma once

#include <CLI/CLI.hpp>

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stambrix::cli {

/// True for an argument the parser reads as an option: "-" followed by anything ("-" alone is a file).
bool LooksLikeOption(std::string_view argument);

/// `options` (the arguments before "--") as the parser is to read them: «--opt=», an option that takes
/// a value with nothing after its "=", becomes «--opt» and the empty value, which the parser would
/// otherwise take from the next argument. Every other argument stays as it is.
std::vector<std::string> WithEmptyValuesApart(const CLI::App& app, std::span<const std::string> options);

/// The Dutch sentence for the first fault in `options` (the arguments before "--") once the parser has
/// refused them: an option it does not know, a value given to a switch, a missing value, a value option
/// given twice. A general sentence when none of these is the cause.
std::string UsageProblem(const CLI::App& app, std::span<const std::string> options);

} // namespace stambrix::cli
