#include "scan/index_sort.h"

#include "text/io_error.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <memory>
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

// Sort keys of all lines, back to back in blocks that never move.
class KeyStore
{
public:
    const std::uint8_t* Add(const UCollator* collator, const std::vector<UChar>& text, std::uint32_t& length)
    {
        const auto textLength = static_cast<int32_t>(text.size());
        int32_t needed =
            ucol_getSortKey(collator, text.data(), textLength, scratch_.data(), static_cast<int32_t>(scratch_.size()));
        if (static_cast<std::size_t>(needed) > scratch_.size()) {
            scratch_.resize(static_cast<std::size_t>(needed));
            needed = ucol_getSortKey(collator, text.data(), textLength, scratch_.data(), needed);
        }
        length = static_cast<std::uint32_t>(needed);
        if (blocks_.empty() || blockSize_ - used_ < length) {
            // Blocks start small and double up to a megabyte; a longer key gets a block of its size.
            const std::size_t grown =
                std::min(kLargestBlockSize, kFirstBlockSize << std::min<std::size_t>(blocks_.size(), 6));
            blockSize_ = std::max(grown, std::size_t{length});
            blocks_.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(blockSize_));
            used_ = 0;
        }
        std::uint8_t* key = blocks_.back().get() + used_;
        std::memcpy(key, scratch_.data(), length);
        used_ += length;
        return key;
    }

private:
    static constexpr std::size_t kFirstBlockSize = 1 << 14;
    static constexpr std::size_t kLargestBlockSize = 1 << 20;
    std::vector<std::unique_ptr<std::uint8_t[]>> blocks_;
    std::size_t used_ = 0;
    std::size_t blockSize_ = 0;
    std::vector<std::uint8_t> scratch_ = std::vector<std::uint8_t>(256);
};

struct KeyedLine
{
    std::uint64_t head; // the first eight key bytes, big-endian, decide most comparisons
    const std::uint8_t* key;
    std::uint32_t keyLength;
    std::uint32_t line;
};

std::uint64_t HeadOf(const std::uint8_t* key, std::uint32_t length)
{
    std::uint64_t head = 0;
    for (std::uint32_t i = 0; i < 8; ++i)
        head = head << 8 | (i < length ? key[i] : 0);
    return head;
}

// Collation order; equal keys fall back on the bytes of the lines.
auto CollationLess(const scan::IndexList& indexList)
{
    return [&indexList](const KeyedLine& a, const KeyedLine& b) {
        if (a.head != b.head)
            return a.head < b.head;
        // A sort key ends in its only zero byte, so comparing the common length decides unless equal.
        const int byKey = std::memcmp(a.key, b.key, std::min(a.keyLength, b.keyLength));
        if (byKey != 0 || a.keyLength != b.keyLength)
            return byKey < 0 || (byKey == 0 && a.keyLength < b.keyLength);
        return indexList[a.line] < indexList[b.line];
    };
}
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
    std::vector<KeyStore> stores;
    std::vector<KeyedLine> lines;
};

CollatedLines::CollatedLines(const scan::IndexList& indexList, TextEncoding encoding, const std::string& locale)
    : keys_(std::make_unique<Keys>())
{
    assert(indexList.size() <= UINT32_MAX);
    const Collator collator = OpenCollator(locale);
    KeyStore& store = keys_->stores.emplace_back();
    keys_->lines.reserve(indexList.size());
    std::vector<UChar> text;
    for (std::size_t i = 0; i < indexList.size(); ++i) {
        DecodeLine(indexList[i], encoding, text);
        KeyedLine entry{};
        entry.key = store.Add(collator.get(), text, entry.keyLength);
        entry.head = HeadOf(entry.key, entry.keyLength);
        entry.line = static_cast<std::uint32_t>(i);
        keys_->lines.push_back(entry);
    }
    std::sort(keys_->lines.begin(), keys_->lines.end(), CollationLess(indexList));
}

CollatedLines::~CollatedLines() = default;
CollatedLines::CollatedLines(CollatedLines&&) noexcept = default;
CollatedLines& CollatedLines::operator=(CollatedLines&&) noexcept = default;

void CollatedLines::Merge(CollatedLines&& later, const scan::IndexList& combined)
{
    const auto offset = static_cast<std::uint32_t>(keys_->lines.size());
    for (KeyedLine& entry : later.keys_->lines)
        entry.line += offset;
    std::vector<KeyedLine> merged(keys_->lines.size() + later.keys_->lines.size());
    std::merge(keys_->lines.begin(), keys_->lines.end(), later.keys_->lines.begin(), later.keys_->lines.end(),
               merged.begin(), CollationLess(combined));
    keys_->lines = std::move(merged);
    for (KeyStore& store : later.keys_->stores)
        keys_->stores.push_back(std::move(store));
    later.keys_.reset();
}

void CollatedLines::ApplyTo(scan::IndexList& indexList) &&
{
    const std::unique_ptr<Keys> keys = std::move(keys_);
    keys->stores.clear();
    std::vector<std::size_t> order;
    order.reserve(keys->lines.size());
    for (const KeyedLine& entry : keys->lines)
        order.push_back(entry.line);
    keys->lines = {};
    indexList.Reorder(order);
}

void SortIndexList(scan::IndexList& indexList, TextEncoding encoding, const std::string& locale)
{
    std::move(CollatedLines(indexList, encoding, locale)).ApplyTo(indexList);
}

} // namespace stambrix::scan
