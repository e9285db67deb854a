#include "gedcom/line_markers.h"

#include "text/ascii.h"

#include <array>
#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace stambrix::gedcom {

namespace {
constexpr unsigned BitOf(Marker marker)
{
    return 1u << static_cast<unsigned>(marker);
}

unsigned MarkerIfAt(std::string_view rest, Marker marker)
{
    return text::StartsWithNoCase(rest, kMarkerTexts[static_cast<unsigned>(marker)]) ? BitOf(marker) : 0u;
}

// The markers that begin at the start of `rest`, whose first byte may begin one.
unsigned MarkersAt(std::string_view rest)
{
    if (rest.size() < 5 || rest[1] != ' ') {
        // Only " PLAC " has a second byte other than a blank.
        return rest.front() == ' ' ? MarkerIfAt(rest, Marker::Place) : 0u;
    }
    switch (rest.front()) {
    case '1':
        switch (text::ToUpperAscii(rest[2])) {
        case 'N':
            return MarkerIfAt(rest, Marker::Name);
        case 'S':
            return MarkerIfAt(rest, Marker::Sex);
        case 'B':
            return MarkerIfAt(rest, Marker::Birth) | MarkerIfAt(rest, Marker::Burial);
        case 'C':
            return MarkerIfAt(rest, Marker::Christening);
        case 'D':
            return MarkerIfAt(rest, Marker::Death);
        case 'O':
            return MarkerIfAt(rest, Marker::Occupation);
        default:
            return 0u;
        }
    case '2':
        return MarkerIfAt(rest, Marker::Date);
    case '@':
        return MarkerIfAt(rest, Marker::PersonRecord) | MarkerIfAt(rest, Marker::FamilyRecord);
    default:
        return 0u;
    }
}

// What a byte may be in a marker: first byte of one with a blank after it (1), first byte of
// " PLAC " (2); second byte likewise. A pair begins a marker only where the two share a bit.
constexpr std::array<std::uint8_t, 256> kFirstByte = [] {
    std::array<std::uint8_t, 256> bits{};
    bits['1'] = bits['2'] = bits['@'] = 1;
    bits[' '] = 2;
    return bits;
}();
constexpr std::array<std::uint8_t, 256> kSecondByte = [] {
    std::array<std::uint8_t, 256> bits{};
    bits[' '] = 1;
    bits['P'] = bits['p'] = 2;
    return bits;
}();

#if defined(__SSE2__)
// The markers beginning in the sixteen bytes of `line` from `at`, which `bytes` holds, and `next`
// the sixteen from one further on. Only a digit 1 or 2 or an "@" with a blank after it, or a blank
// with a P after it, can begin one.
unsigned MarkersInBlock(__m128i bytes, __m128i next, std::string_view line, std::size_t at)
{
    const __m128i beforeBlank =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('1')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('2'))),
                     _mm_cmpeq_epi8(bytes, _mm_set1_epi8('@')));
    const __m128i nextBlank = _mm_cmpeq_epi8(next, _mm_set1_epi8(' '));
    const __m128i blank = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(' '));
    const __m128i nextP = _mm_cmpeq_epi8(_mm_or_si128(next, _mm_set1_epi8(0x20)), _mm_set1_epi8('p'));
    const __m128i candidates = _mm_or_si128(_mm_and_si128(beforeBlank, nextBlank), _mm_and_si128(blank, nextP));
    unsigned found = 0;
    for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(candidates)); mask != 0; mask &= mask - 1) {
        const std::size_t start = at + static_cast<unsigned>(std::countr_zero(mask));
        found |= MarkersAt(std::string_view(line.data() + start, line.size() - start));
    }
    return found;
}
#endif
} // namespace

LineMarkers MarkersOf(std::string_view line)
{
    unsigned found = 0;
    std::size_t at = 0;
#if defined(__SSE2__)
    for (; line.size() - at >= 17; at += 16) {
        const char* const bytes = line.data() + at;
        found |= MarkersInBlock(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)),
                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 1)), line, at);
    }
#endif
    // Byte by byte: a short line, or the end of a long one.
    for (; at + 1 < line.size(); ++at)
        if ((kFirstByte[static_cast<unsigned char>(line[at])] &
             kSecondByte[static_cast<unsigned char>(line[at + 1])]) != 0)
            found |= MarkersAt(line.substr(at));
    return LineMarkers(found);
}

} // namespace stambrix::gedcom
