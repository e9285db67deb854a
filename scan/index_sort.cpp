#include "scan/index_sort.h"

#include "scan/collation_text.h"
#include "scan/latin_keys.h"
#include "text/io_error.h"

#include <unicode/ucol.h>
#include <unicode/uiter.h>
#include <unicode/uloc.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <numeric>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace stambrix::scan {

namespace {
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

// The head of the key of `text`: the collator makes no more of the key than that.
KeyedLine KeyedLineOf(const UCollator* collator, std::span<const UChar> text, std::uint32_t line,
                      const std::string& locale)
{
    UCharIterator iterator;
    uiter_setString(&iterator, text.data(), static_cast<int32_t>(text.size()));
    std::uint32_t state[2] = {0, 0};
    UErrorCode status = U_ZERO_ERROR;
    KeyedLine entry{};
    ucol_nextSortKeyPart(collator, &iterator, state, entry.head.data(), static_cast<int32_t>(kHeadSize), &status);
    if (status == U_MEMORY_ALLOCATION_ERROR)
        throw std::bad_alloc();
    if (U_FAILURE(status))
        throw IoError("ICU-sortering voor " + locale, u_errorName(status));
    entry.line = line;
    return entry;
}

bool HeadLess(const KeyedLine& a, const KeyedLine& b)
{
    for (std::size_t i = 0; i < kHeadSize; i += 8) {
        const std::uint64_t wordA = WordAt(a.head, i);
        const std::uint64_t wordB = WordAt(b.head, i);
        if (wordA != wordB)
            return wordA < wordB;
    }
    return false;
}

// A sort key holds no zero byte, so a head that ends in zero holds the whole key.
bool HoldsWholeKey(const KeyedLine& entry)
{
    return entry.head.back() == 0;
}

// Collation order, then the order of the bytes. Equal heads that hold whole keys leave the bytes to
// decide; other equal heads leave the rest of the keys to decide, which the collator compares on the
// text of the two lines.
class CollationLess
{
public:
    CollationLess(const UCollator* collator, TextEncoding encoding, const scan::IndexList& indexList)
        : collator_(collator), encoding_(encoding), indexList_(&indexList),
          texts_(std::make_shared<std::array<CollationText, 2>>())
    {
    }

    bool operator()(const KeyedLine& a, const KeyedLine& b) const
    {
        if (HeadLess(a, b))
            return true;
        if (HeadLess(b, a))
            return false;
        const std::string_view lineA = (*indexList_)[a.line];
        const std::string_view lineB = (*indexList_)[b.line];
        if (!HoldsWholeKey(a)) {
            auto& [textA, textB] = *texts_;
            const std::span<const UChar> unitsA = textA.Of(lineA, encoding_);
            const std::span<const UChar> unitsB = textB.Of(lineB, encoding_);
            // The collator passes over the part both lines begin with.
            const UCollationResult order = ucol_strcoll(collator_, unitsA.data(), static_cast<int32_t>(unitsA.size()),
                                                        unitsB.data(), static_cast<int32_t>(unitsB.size()));
            if (order != UCOL_EQUAL)
                return order == UCOL_LESS;
        }
        return lineA < lineB;
    }

private:
    const UCollator* collator_;
    TextEncoding encoding_;
    const scan::IndexList* indexList_;
    // The sort copies its comparison; the copies share one pair of buffers for the lines' text.
    std::shared_ptr<std::array<CollationText, 2>> texts_;
};

// Runs of equal heads longer than this are ordered by comparing their lines' text pairwise rather
// than by whole keys, which would take memory in proportion to the run.
constexpr std::size_t kLongestKeyedRun = 1 << 16;

// The whole key of `text` appended to `keyBytes`: from the table when `latinKeys` made the heads,
// from the collator otherwise.
void AppendWholeKey(std::span<const UChar> text, const UCollator* collator, const LatinKeys* latinKeys,
                    std::vector<std::uint8_t>& keyBytes)
{
    if (latinKeys != nullptr) {
        // Every line of a list with heads from the table is in the table.
        [[maybe_unused]] const bool known = latinKeys->AppendKeyOf(text, keyBytes);
        assert(known);
        return;
    }
    const std::size_t start = keyBytes.size();
    for (std::size_t room = text.size() * 4 + 16;;) {
        keyBytes.resize(start + room);
        const int32_t length = ucol_getSortKey(collator, text.data(), static_cast<int32_t>(text.size()),
                                               keyBytes.data() + start, static_cast<int32_t>(room));
        if (length == 0)
            throw std::bad_alloc();
        if (static_cast<std::size_t>(length) <= room) {
            keyBytes.resize(start + static_cast<std::size_t>(length));
            return;
        }
        room = static_cast<std::size_t>(length);
    }
}

// Puts runs of lines with equal heads that do not hold whole keys in order by the lines' whole
// keys, each made once and of the kind the heads are, then by their bytes. Its buffers serve one
// run after another.
class WholeKeyOrder
{
public:
    WholeKeyOrder(const UCollator* collator, const LatinKeys* latinKeys, TextEncoding encoding,
                  const scan::IndexList& indexList)
        : collator_(collator), latinKeys_(latinKeys), encoding_(encoding), indexList_(indexList)
    {
    }

    void Order(std::span<KeyedLine> run)
    {
        keyBytes_.clear();
        keyStarts_.assign(1, 0);
        for (const KeyedLine& entry : run) {
            AppendWholeKey(text_.Of(indexList_[entry.line], encoding_), collator_, latinKeys_, keyBytes_);
            keyStarts_.push_back(keyBytes_.size());
        }
        const auto keyOf = [&](std::size_t i) {
            return std::string_view(reinterpret_cast<const char*>(keyBytes_.data()) + keyStarts_[i],
                                    keyStarts_[i + 1] - keyStarts_[i]);
        };
        positions_.resize(run.size());
        std::iota(positions_.begin(), positions_.end(), 0u);
        std::sort(positions_.begin(), positions_.end(), [&](std::uint32_t a, std::uint32_t b) {
            // Keys compare as unsigned bytes, as char_traits<char> compares them.
            const int order = keyOf(a).compare(keyOf(b));
            return order != 0 ? order < 0 : indexList_[run[a].line] < indexList_[run[b].line];
        });
        ordered_.clear();
        for (const std::uint32_t position : positions_)
            ordered_.push_back(run[position]);
        std::copy(ordered_.begin(), ordered_.end(), run.begin());
    }

private:
    const UCollator* collator_;
    const LatinKeys* latinKeys_;
    TextEncoding encoding_;
    const scan::IndexList& indexList_;
    CollationText text_;
    std::vector<std::uint8_t> keyBytes_;
    std::vector<std::size_t> keyStarts_;
    std::vector<std::uint32_t> positions_;
    std::vector<KeyedLine> ordered_;
};

// Sorts `lines` in collation order, then by bytes: by their heads first, which decide most
// comparisons without reading a line, then each run of equal heads by what is left to decide.
void SortKeyedLines(std::vector<KeyedLine>& lines, const UCollator* collator, const LatinKeys* latinKeys,
                    TextEncoding encoding, const scan::IndexList& indexList)
{
    std::sort(lines.begin(), lines.end(), HeadLess);
    WholeKeyOrder wholeKeyOrder(collator, latinKeys, encoding, indexList);
    for (auto runStart = lines.begin(); runStart != lines.end();) {
        const auto runEnd =
            std::find_if(runStart + 1, lines.end(), [&](const KeyedLine& entry) { return HeadLess(*runStart, entry); });
        const std::span<KeyedLine> run(runStart, runEnd);
        if (run.size() > 1 && HoldsWholeKey(run.front()))
            std::sort(run.begin(), run.end(),
                      [&](const KeyedLine& a, const KeyedLine& b) { return indexList[a.line] < indexList[b.line]; });
        else if (run.size() > 1 && run.size() <= kLongestKeyedRun)
            wholeKeyOrder.Order(run);
        else if (run.size() > 1)
            std::sort(run.begin(), run.end(), CollationLess(collator, encoding, indexList));
        runStart = runEnd;
    }
}
} // namespace

std::string CollationLocale()
{
    std::string locale = uloc_getDefault();
    if (locale.empty() || locale == "c" || locale == "C" || locale == "en_US_POSIX" || locale == "POSIX")
        return "root";
    return locale;
}

namespace {
// The table of a locale's collator, made once per program: making it asks the collator for all its
// contractions, which takes longer than the keys of a small index.
std::shared_ptr<const LatinKeys> LatinKeysOf(const UCollator* collator, const std::string& locale)
{
    static std::mutex mutex;
    static std::map<std::string, std::shared_ptr<const LatinKeys>> made;
    const std::lock_guard lock(mutex);
    const auto found = made.find(locale);
    if (found != made.end())
        return found->second;
    return made.emplace(locale, LatinKeys::For(collator)).first->second;
}
} // namespace

struct CollatedLines::Keys
{
    Keys(Collator opened, TextEncoding textEncoding, std::string localeName)
        : collator(std::move(opened)), latinKeys(LatinKeysOf(collator.get(), localeName)), encoding(textEncoding),
          locale(std::move(localeName))
    {
    }

    // Gives `lines` the heads of their lines in `indexList`, from the table where every line allows
    // it, from the collator otherwise: heads of the two kinds do not compare. Returns which kind.
    bool MakeHeads(std::vector<KeyedLine>& entries, const scan::IndexList& indexList) const
    {
        CollationText text;
        bool latin = latinKeys != nullptr;
        for (std::size_t i = 0; latin && i < entries.size(); ++i) {
            entries[i].head = {};
            latin = latinKeys->HeadOf(text.Of(indexList[entries[i].line], encoding), entries[i].head);
        }
        if (!latin)
            for (KeyedLine& entry : entries)
                entry = KeyedLineOf(collator.get(), text.Of(indexList[entry.line], encoding), entry.line, locale);
        return latin;
    }

    Collator collator;
    std::shared_ptr<const LatinKeys> latinKeys; // nothing when the collator's order needs its own keys
    TextEncoding encoding;
    std::string locale;
    std::vector<KeyedLine> lines;
    bool latinLines = false;
    std::vector<KeyedLine> later; // those of a merged later list, each line counted from the start of both
    bool latinLater = false;
};

CollatedLines::CollatedLines(const scan::IndexList& indexList, TextEncoding encoding, const std::string& locale)
    : keys_(std::make_unique<Keys>(OpenCollator(locale), encoding, locale))
{
    assert(indexList.size() <= UINT32_MAX);
    keys_->lines.resize(indexList.size());
    for (std::size_t i = 0; i < indexList.size(); ++i)
        keys_->lines[i].line = static_cast<std::uint32_t>(i);
    keys_->latinLines = keys_->MakeHeads(keys_->lines, indexList);
    SortKeyedLines(keys_->lines, keys_->collator.get(), keys_->latinLines ? keys_->latinKeys.get() : nullptr, encoding,
                   indexList);
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
    keys_->latinLater = later.keys_->latinLines;
    for (KeyedLine& entry : keys_->later)
        entry.line += offset;
    later.keys_.reset();
}

void CollatedLines::ApplyTo(scan::IndexList& indexList) &&
{
    const std::unique_ptr<Keys> keys = std::move(keys_);
    assert(keys->lines.size() + keys->later.size() == indexList.size());
    // Heads of both kinds: the part with table heads is given the collator's and sorted again.
    if (!keys->later.empty() && keys->latinLines != keys->latinLater) {
        std::vector<KeyedLine>& tableHeads = keys->latinLines ? keys->lines : keys->later;
        CollationText text;
        for (KeyedLine& entry : tableHeads)
            entry = KeyedLineOf(keys->collator.get(), text.Of(indexList[entry.line], keys->encoding), entry.line,
                                keys->locale);
        SortKeyedLines(tableHeads, keys->collator.get(), nullptr, keys->encoding, indexList);
    }
    const std::vector<KeyedLine>& first = keys->lines;
    const std::vector<KeyedLine>& later = keys->later;
    // Merged lines are merged here, straight into the order, so no merged copy of their keys is made.
    const CollationLess less(keys->collator.get(), keys->encoding, indexList);
    std::vector<std::uint32_t> order;
    order.reserve(indexList.size());
    for (std::size_t i = 0, j = 0; i < first.size() || j < later.size();) {
        const bool fromLater = i == first.size() || (j < later.size() && less(later[j], first[i]));
        order.push_back(fromLater ? later[j++].line : first[i++].line);
    }
    // Given back before the lines are put in order (assigning {} would keep the storage).
    keys->lines = std::vector<KeyedLine>();
    keys->later = std::vector<KeyedLine>();
    indexList.Reorder(order);
}

void SortIndexList(scan::IndexList& indexList, TextEncoding encoding, const std::string& locale)
{
    std::move(CollatedLines(indexList, encoding, locale)).ApplyTo(indexList);
}

} // namespace stambrix::scan
