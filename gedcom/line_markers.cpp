#include "gedcom/line_markers.h"

#include "text/ascii.h"

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

bool MayBeginMarker(char c)
{
    return c == '1' || c == '2' || c == '@' || c == ' ';
}
} // namespace

LineMarkers MarkersOf(std::string_view line)
{
    unsigned found = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a mask of the bytes that may begin a marker, each then looked at.
    const __m128i one = _mm_set1_epi8('1');
    const __m128i two = _mm_set1_epi8('2');
    const __m128i at = _mm_set1_epi8('@');
    const __m128i blank = _mm_set1_epi8(' ');
    for (; line.size() - i >= 16; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + i));
        const __m128i candidates =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, one), _mm_cmpeq_epi8(bytes, two)),
                         _mm_or_si128(_mm_cmpeq_epi8(bytes, at), _mm_cmpeq_epi8(bytes, blank)));
        for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(candidates)); mask != 0; mask &= mask - 1)
            found |= MarkersAt(line.substr(i + static_cast<unsigned>(std::countr_zero(mask))));
    }
#endif
    for (; i < line.size(); ++i)
        if (MayBeginMarker(line[i]))
            found |= MarkersAt(line.substr(i));
    return LineMarkers(found);
}

} // namespace stambrix::gedcom
