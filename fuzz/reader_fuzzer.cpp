#include "gedcom/byte_source.h"
#include "gedcom/gedcom_reader.h"
#include "gedcom/line_decoder.h"
#include "gedcom/utf16_source.h"
#include "text/utf8.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// libFuzzer target over the line reader and its decoders, in memory. The first byte of an input
// chooses a small block size, the rest is the file. An input fails when the reader splits it into
// other lines with the small blocks than with the usual ones, when a UTF-16 file gives lines that
// are not well-formed UTF-8, or when the ANSEL decoder does.
namespace {

using namespace stambrix;

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "reader_fuzzer: %s\n", what);
    std::abort();
}

// Hands every line of `bytes`, read in blocks of `bufferSize`, to `take` with whether the input is
// UTF-16.
template <typename Take> void ForEachLine(std::string_view bytes, std::size_t bufferSize, Take take)
{
    gedcom::MemorySource source(bytes);
    gedcom::Utf16Source utf16(source);
    gedcom::GedcomReader reader(utf16, bufferSize);
    for (std::string_view line; reader.ReadLine(line);)
        take(line, utf16.IsUtf16());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t smallBuffer = data[0] % 7 + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    std::vector<std::string> lines;
    gedcom::LineDecoder ansel = *gedcom::LineDecoderFor(gedcom::DeclaredCharset::Ansel);
    ForEachLine(bytes, gedcom::kReadBufferSize, [&](std::string_view line, bool utf16) {
        if (utf16 && !text::IsWellFormedUtf8(line))
            Fail("a UTF-16 file gave a line that is not UTF-8");
        lines.emplace_back(line);
        if (!text::IsWellFormedUtf8(ansel.Decode(line)))
            Fail("ANSEL decoding gave a line that is not UTF-8");
    });
    std::size_t next = 0;
    ForEachLine(bytes, smallBuffer, [&](std::string_view line, bool) {
        if (next == lines.size() || lines[next++] != line)
            Fail("other lines with a small block size");
    });
    if (next != lines.size())
        Fail("fewer lines with a small block size");
    return 0;
}
