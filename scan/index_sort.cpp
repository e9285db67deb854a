#include "scan/index_sort.h"

#include "text/io_error.h"

#include <unicode/ucol.h>
#include <unicode/uiter.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

namespace stambrix::scan {

namespace {
// windows-1252 0x80-0x9F; its five undefined bytes stand for the C1 controls of the same value.
constexpr std::uint16_t kWindows1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct CollatorCloser
{
    void operator()(UCollator* collator) const { ucol_close(collator); }
};
using Collator = std::unique_ptr<UCollator, CollatorCloser>;

Collator OpenCollator(const std::string& locale)
{
    UErrorCode status = U_ZERO_ERROR;
    Collator collator(ucol_open(locale.c_str(), &status));
    if (U_SUCCESS(status)) {
        ucol_setStrength(collator.get(), UCOL_SECONDARY);
        ucol_setAttribute(collator.get(), UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    }
    // The front ends report what ends a run as an IoError: the cause where a path would stand.
    if (U_FAILURE(status))
        throw IoError("ICU-sortering voor " + locale, u_errorName(status));
    return collator;
}

void DecodeLine(std::string_view line, TextEncoding encoding, std::vector<UChar>& text)
{
    if (encoding == TextEncoding::Windows1252) {
        text.resize(line.size());
        for (std::size_t i = 0; i < line.size(); ++i) {
            const auto byte = static_cast<unsigned char>(line[i]);
            text[i] = byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte;
        }
        return;
    }
    text.resize(line.size() + 1);
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(text.data(), static_cast<int32_t>(text.size()), &length, line.data(),
                         static_cast<int32_t>(line.size()), 0xFFFD, nullptr, &status);
    text.resize(static_cast<std::size_t>(length));
}

// The first bytes of a line's sort key decide most comparisons on their own; they are kept in the
// entry itself, so a comparison reads no other memory, and no line keeps a whole key.
constexpr std::size_t kHeadSize = 32;
static_assert(kHeadSize % 8 == 0);

struct KeyedLine
{
    std::array<std::uint8_t, kHeadSize> head; // zero after the end of a shorter key
    std::uint32_t line;
};

// Eight bytes of a head from `at` as one number, the first byte highest: numbers compare as the bytes do.
std::uint64_t WordAt(const std::array<std::uint8_t, kHeadSize>& head, std::size_t at)
{
    std::uint64_t word = 0;
    std::memcpy(&word, head.data() + at, sizeof word);
    return std::endian::native == std::endian::little ? __builtin_bswap64(word) : word;
}

void ThrowOnFailure(UErrorCode status, const std::string& locale)
{
    if (status == U_MEMORY_ALLOCATION_ERROR)
        throw std::bad_alloc();
    if (U_FAILURE(status))
        throw IoError("ICU-sortering voor " + locale, u_errorName(status));
}

// The head of the key of `text`: the collator computes no more of the key than that.
KeyedLine KeyedLineOf(const UCollator* collator, const std::vector<UChar>& text, std::uint32_t line,
                      const std::string& locale)
{
    UCharIterator iterator;
    uiter_setString(&iterator, text.data(), static_cast<int32_t>(text.size()));
    std::uint32_t state[2] = {0, 0};
    UErrorCode status = U_ZERO_ERROR;
    KeyedLine entry{};
    ucol_nextSortKeyPart(collator, &iterator, state, entry.head.data(), static_cast<int32_t>(kHeadSize), &status);
    ThrowOnFailure(status, locale);
    entry.line = line;
    return entry;
}

// Collation order, then the order of the bytes. A sort key holds no zero byte, so heads that end in
// zero hold whole keys; other equal heads leave the rest of the keys to decide, which the collator
// compares on the text of the two lines.
class CollationLess
{
public:
    CollationLess(const UCollator* collator, TextEncoding encoding, const scan::IndexList& indexList)
        : collator_(collator), encoding_(encoding), indexList_(&indexList),
          texts_(std::make_shared<std::array<std::vector<UChar>, 2>>())
    {
    }

    bool operator()(const KeyedLine& a, const KeyedLine& b) const
    {
        for (std::size_t i = 0; i < kHeadSize; i += 8) {
            const std::uint64_t wordA = WordAt(a.head, i);
            const std::uint64_t wordB = WordAt(b.head, i);
            if (wordA != wordB)
                return wordA < wordB;
        }
        const std::string_view lineA = (*indexList_)[a.line];
        const std::string_view lineB = (*indexList_)[b.line];
        if (a.head.back() != 0) {
            auto& [textA, textB] = *texts_;
            DecodeLine(lineA, encoding_, textA);
            DecodeLine(lineB, encoding_, textB);
            const UCollationResult order = ucol_strcoll(collator_, textA.data(), static_cast<int32_t>(textA.size()),
                                                        textB.data(), static_cast<int32_t>(textB.size()));
            if (order != UCOL_EQUAL)
                return order == UCOL_LESS;
        }
        return lineA < lineB;
    }

private:
    const UCollator* collator_;
    TextEncoding encoding_;
    const scan::IndexList* indexList_;
    // The sort copies its comparison; the copies share one pair of buffers for decoded lines.
    std::shared_ptr<std::array<std::vector<UChar>, 2>> texts_;
};
} // namespace

std::string CollationLocale()
{
    std::string locale = uloc_getDefault();
    if (locale.empty() || locale == "c" || locale == "C" || locale == "en_US_POSIX" || locale == "POSIX")
        return "root";
    return locale;
}

struct CollatedLines::Keys
{
    Collator collator;
    TextEncoding encoding;
    std::vector<KeyedLine> lines;
    std::vector<KeyedLine> later; // those of a merged later list, each line counted from the start of both
};

CollatedLines::CollatedLines(const scan::IndexList& indexList, TextEncoding encoding, const std::string& locale)
    : keys_(std::make_unique<Keys>(OpenCollator(locale), encoding))
{
    assert(indexList.size() <= UINT32_MAX);
    keys_->lines.reserve(indexList.size());
    std::vector<UChar> text;
    for (std::size_t i = 0; i < indexList.size(); ++i) {
        DecodeLine(indexList[i], encoding, text);
        keys_->lines.push_back(KeyedLineOf(keys_->collator.get(), text, static_cast<std::uint32_t>(i), locale));
    }
    std::sort(keys_->lines.begin(), keys_->lines.end(), CollationLess(keys_->collator.get(), encoding, indexList));
}

CollatedLines::~CollatedLines() = default;
CollatedLines::CollatedLines(CollatedLines&&) noexcept = default;
CollatedLines& CollatedLines::operator=(CollatedLines&&) noexcept = default;

void CollatedLines::Merge(CollatedLines&& later)
{
    assert(keys_->later.empty() && later.keys_->later.empty());
    assert(keys_->lines.size() + later.keys_->lines.size() <= UINT32_MAX);
    const auto offset = static_cast<std::uint32_t>(keys_->lines.size());
    keys_->later = std::move(later.keys_->lines);
    for (KeyedLine& entry : keys_->later)
        entry.line += offset;
    later.keys_.reset();
}

void CollatedLines::ApplyTo(scan::IndexList& indexList) &&
{
    const std::unique_ptr<Keys> keys = std::move(keys_);
    const std::vector<KeyedLine>& first = keys->lines;
    const std::vector<KeyedLine>& later = keys->later;
    assert(first.size() + later.size() == indexList.size());
    // Merged lines are merged here, straight into the order, so no merged copy of their keys is made.
    const CollationLess less(keys->collator.get(), keys->encoding, indexList);
    std::vector<std::size_t> order;
    order.reserve(indexList.size());
    for (std::size_t i = 0, j = 0; i < first.size() || j < later.size();) {
        const bool fromLater = i == first.size() || (j < later.size() && less(later[j], first[i]));
        order.push_back(fromLater ? later[j++].line : first[i++].line);
    }
    keys->lines = {};
    keys->later = {};
    indexList.Reorder(order);
}

void SortIndexList(scan::IndexList& indexList, TextEncoding encoding, const std::string& locale)
{
    std::move(CollatedLines(indexList, encoding, locale)).ApplyTo(indexList);
}

} // namespace stambrix::scan
