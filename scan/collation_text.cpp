#include "scan/collation_text.h"

#include <unicode/ustring.h>

#include <cstdint>

namespace stambrix::scan {

namespace {
// windows-1252 0x80-0x9F; its five undefined bytes stand for the C1 controls of the same value.
constexpr std::uint16_t kWindows1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The iterator over windows-1252 bytes: one UTF-16 unit a byte, so an index is a byte position.
// The context holds the bytes, start is 0 and limit the length.
UChar32 UnitAt(const UCharIterator* iterator, int32_t index)
{
    const auto byte = static_cast<const unsigned char*>(iterator->context)[index];
    return byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte;
}

int32_t GetIndex(UCharIterator* iterator, UCharIteratorOrigin origin)
{
    switch (origin) {
    case UITER_ZERO:
    case UITER_START:
        return 0;
    case UITER_CURRENT:
        return iterator->index;
    case UITER_LIMIT:
    case UITER_LENGTH:
        return iterator->length;
    }
    return -1;
}

int32_t Move(UCharIterator* iterator, int32_t delta, UCharIteratorOrigin origin)
{
    const int32_t index = GetIndex(iterator, origin) + delta;
    iterator->index = index < 0 ? 0 : index > iterator->length ? iterator->length : index;
    return iterator->index;
}

UBool HasNext(UCharIterator* iterator)
{
    return iterator->index < iterator->length ? 1 : 0;
}

UBool HasPrevious(UCharIterator* iterator)
{
    return iterator->index > 0 ? 1 : 0;
}

UChar32 Current(UCharIterator* iterator)
{
    return iterator->index < iterator->length ? UnitAt(iterator, iterator->index) : U_SENTINEL;
}

UChar32 Next(UCharIterator* iterator)
{
    return iterator->index < iterator->length ? UnitAt(iterator, iterator->index++) : U_SENTINEL;
}

UChar32 Previous(UCharIterator* iterator)
{
    return iterator->index > 0 ? UnitAt(iterator, --iterator->index) : U_SENTINEL;
}

uint32_t GetState(const UCharIterator* iterator)
{
    return static_cast<uint32_t>(iterator->index);
}

void SetState(UCharIterator* iterator, uint32_t state, UErrorCode* status)
{
    if (U_FAILURE(*status))
        return;
    if (state > static_cast<uint32_t>(iterator->length))
        *status = U_INDEX_OUTOFBOUNDS_ERROR;
    else
        iterator->index = static_cast<int32_t>(state);
}
} // namespace

UCharIterator& CollationText::Over(std::string_view line, TextEncoding encoding)
{
    if (encoding == TextEncoding::Windows1252) {
        iterator_ = UCharIterator{};
        iterator_.context = line.data();
        iterator_.length = static_cast<int32_t>(line.size());
        iterator_.limit = iterator_.length;
        iterator_.getIndex = GetIndex;
        iterator_.move = Move;
        iterator_.hasNext = HasNext;
        iterator_.hasPrevious = HasPrevious;
        iterator_.current = Current;
        iterator_.next = Next;
        iterator_.previous = Previous;
        iterator_.getState = GetState;
        iterator_.setState = SetState;
        return iterator_;
    }
    decoded_.resize(line.size() + 1);
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(decoded_.data(), static_cast<int32_t>(decoded_.size()), &length, line.data(),
                         static_cast<int32_t>(line.size()), 0xFFFD, nullptr, &status);
    uiter_setString(&iterator_, decoded_.data(), length);
    return iterator_;
}

} // namespace stambrix::scan
