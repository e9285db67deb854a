#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace stambrix::output {

/// Where the lines of a name index stand on the pages of the website: the page of each line and
/// the id of its element there, so that a link can point at a person. Made by the writer of the
/// pages, read by whatever links to them.
struct SitePlan
{
    std::vector<std::string> pageNames;    ///< the letter pages in the order they are written: "a.html", "a-2.html" ...
    std::vector<std::uint32_t> pageOfLine; ///< for every index line, in index order, its page in pageNames
    /// For every index line, 1 where its id is taken by an earlier line of the same page, so that
    /// the line number is added to it (AppendIdOf); a byte each, so that two threads can write the
    /// pages of different letters.
    std::vector<std::uint8_t> idTakenBefore;
    std::size_t longestId = 0; ///< the bytes of the longest id of a line (AppendIdOf)
};

/// Appends the id of the index line `line`, whose text is `lineText`, to `to`: its record id without
/// the "[@" and "@]" ("I12"), every byte other than A-Z, a-z, 0-9, "_" and "-" written as "_"; "r"
/// and the line number from 1 when the line has no record id. Where SitePlan::idTakenBefore says so,
/// "-" and the line number from 1 follow. The id is the same in an attribute and in a link.
void AppendIdOf(const SitePlan& plan, std::uint32_t line, std::string_view lineText, std::string& to);

/// Appends the link to the index line `line` to `to`: the name of its page, "#" and its id.
void AppendLinkTo(const SitePlan& plan, std::uint32_t line, std::string_view lineText, std::string& to);

} // namespace stambrix::output
