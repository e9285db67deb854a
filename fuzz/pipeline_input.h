#pragma once

#include "fuzz/index_choices.h"
#include "gedcom/gedcom_line.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace stambrix::fuzz {

/// What one input of the pipeline target asks for: a GEDCOM file and one way of indexing it.
struct PipelineInput
{
    IndexChoice choice;
    /// The file, a view on the input or on `grown`.
    std::string_view gedcom;
    /// The file when a piece of it was repeated; empty otherwise.
    std::string grown;
};

/// Last bytes from this one up grow the file: 22 values, each way of indexing twice.
inline constexpr unsigned kGrowMark = 256 - 2 * std::size(kIndexChoices);
/// The repeated piece takes kSmallestGrowth << 4n bytes, n from 0 to kGrowthSteps - 1: 4 KiB, 64 KiB
/// or 1 MiB, a value over a megabyte at the largest step.
inline constexpr std::size_t kSmallestGrowth = 4 << 10;
inline constexpr unsigned kGrowthSteps = 3;

/// Reads an input: the last byte chooses the way of indexing (its remainder by the number of ways),
/// the bytes before it are the file. When the last byte is kGrowMark or more, a piece of the file is
/// repeated in its place: where, which piece and how long it grows come from a hash of the file
/// (std::hash), so every change to a grown input tries another piece. So a NAME value, a CONC line
/// or a whole record grows up to a megabyte, and the entries of the index past a sort-key block:
/// sizes that inputs of 16 KiB never reach.
inline PipelineInput ReadPipelineInput(std::string_view input)
{
    PipelineInput read{kIndexChoices[0], input, {}};
    if (input.empty())
        return read;
    const auto mark = static_cast<std::uint8_t>(input.back());
    read.choice = kIndexChoices[mark % std::size(kIndexChoices)];
    const std::string_view file = input.substr(0, input.size() - 1);
    read.gedcom = file;
    if (mark < kGrowMark || file.empty())
        return read;

    const std::uint64_t hash = std::hash<std::string_view>{}(file);
    const std::size_t offset = hash % file.size();
    // A piece byte below 32 takes 1 to 32 bytes from the offset on, lines and records too; from 32 up
    // the first 1 to 4 bytes of the value of the line at the offset, so that one value grows long.
    const auto pieceByte = static_cast<std::uint8_t>(hash >> 32);
    std::size_t start = offset;
    std::size_t length = 1 + pieceByte % 32;
    if (pieceByte >= 32) {
        const std::size_t lineStart = file.find_last_of("\r\n", offset) + 1;
        const std::string_view line = file.substr(lineStart, file.find_first_of("\r\n", lineStart) - lineStart);
        const std::string_view value = gedcom::TextAfterTagOf(line);
        start = value.empty() ? offset : static_cast<std::size_t>(value.data() - file.data());
        length = value.empty() ? 1 : std::min<std::size_t>(1 + pieceByte % 4, value.size());
    }
    const std::string_view piece = file.substr(start, length);
    const std::size_t grownLength = kSmallestGrowth << 4 * ((hash >> 40) % kGrowthSteps);

    read.grown.reserve(file.size() + grownLength);
    read.grown.append(file.substr(0, start));
    while (read.grown.size() - start < grownLength)
        read.grown.append(piece);
    read.grown.append(file.substr(start + piece.size()));
    read.gedcom = read.grown;
    return read;
}

} // namespace stambrix::fuzz
