#pragma once

#include "gedcom/byte_source.h"
#include "gedcom/gedcom_reader.h"
#include "gedcom/utf16_source.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace stambrix::gedcom::testing {

/// Every line the reader gives of `bytes`, read in blocks of `bufferSize` bytes; UTF-16 is
/// converted as a run converts it.
inline std::vector<std::string> ReadLines(std::string_view bytes, std::size_t bufferSize = kReadBufferSize)
{
    MemorySource source(bytes);
    Utf16Source utf16(source);
    GedcomReader reader(utf16, bufferSize);
    std::vector<std::string> lines;
    for (std::string_view line; reader.ReadLine(line);)
        lines.emplace_back(line);
    return lines;
}

/// GEDCOM text from lines joined by CR LF, as most files have them.
inline std::string Gedcom(std::initializer_list<std::string_view> lines)
{
    std::string text;
    for (const std::string_view line : lines)
        text.append(line).append("\r\n");
    return text;
}

} // namespace stambrix::gedcom::testing
