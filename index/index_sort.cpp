#include "index/index_sort.h"

#include "index/collation_text.h"
#include "index/keyed_lines.h"
#include "index/latin_keys.h"
#include "index/value_order.h"
#include "text/run_failure.h"

#include <unicode/ucol.h>
#include <unicode/uiter.h>
#include <unicode/uloc.h>

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace stambrix::index {

namespace {
// From this many lines on a list of values and rests is ordered by two threads.
constexpr std::size_t kValueLinesInParallelFrom = 100000;

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
    // The front ends report what ends a run as an text::RunFailure: the cause where a path would stand.
    if (U_FAILURE(status))
        throw text::RunFailure("ICU-sortering voor " + locale, u_errorName(status));
    return collator;
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
        throw text::RunFailure("ICU-sortering voor " + locale, u_errorName(status));
    entry.line = line;
    return entry;
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
    Keys(Collator opened, charsets::TextEncoding textEncoding, std::string localeName)
        : collator(std::move(opened)), latinKeys(LatinKeysOf(collator.get(), localeName)), encoding(textEncoding),
          locale(std::move(localeName))
    {
    }

    // Gives `lines` the heads of their lines in `indexList`, from the table where every line allows
    // it, from the collator otherwise: heads of the two kinds do not compare. Returns which kind.
    bool MakeHeads(std::vector<KeyedLine>& entries, const IndexList& indexList) const
    {
        CollationText text;
        std::string scratch;
        bool latin = latinKeys != nullptr;
        for (std::size_t i = 0; latin && i < entries.size(); ++i) {
            entries[i].head = {};
            latin = latinKeys->HeadOf(text.Of(indexList.LineAt(entries[i].line, scratch), encoding), entries[i].head);
        }
        if (!latin)
            for (KeyedLine& entry : entries)
                entry = KeyedLineOf(collator.get(), text.Of(indexList.LineAt(entry.line, scratch), encoding),
                                    entry.line, locale);
        return latin;
    }

    // Every line of `indexList` keyed and sorted; returns which kind of heads they have.
    bool KeyAndSort(std::vector<KeyedLine>& entries, const IndexList& indexList) const
    {
        assert(indexList.size() <= UINT32_MAX);
        entries.resize(indexList.size());
        for (std::size_t i = 0; i < indexList.size(); ++i)
            entries[i].line = static_cast<std::uint32_t>(i);
        const bool latin = MakeHeads(entries, indexList);
        SortKeyedLines(entries, collator.get(), latin ? latinKeys.get() : nullptr, encoding,
                       SortTexts(indexList, SortTexts::Part::Lines));
        return latin;
    }

    // The order of the whole list: found from its values where it keeps them and the table allows,
    // a large list by two threads (the second with a collator of its own); from its keyed lines
    // otherwise.
    std::vector<std::uint32_t> OrderOfWholeList(const IndexList& indexList) const
    {
        if (indexList.HasValues() && latinKeys) {
            const Collator second =
                indexList.size() >= kValueLinesInParallelFrom && std::thread::hardware_concurrency() > 1
                    ? OpenCollator(locale)
                    : Collator();
            std::optional<std::vector<std::uint32_t>> order =
                OrderByValues(indexList, collator.get(), second.get(), *latinKeys, encoding);
            if (order)
                return std::move(*order);
        }
        std::vector<KeyedLine> entries;
        KeyAndSort(entries, indexList);
        std::vector<std::uint32_t> lineOrder(entries.size());
        std::transform(entries.begin(), entries.end(), lineOrder.begin(),
                       [](const KeyedLine& entry) { return entry.line; });
        return lineOrder;
    }

    Collator collator;
    std::shared_ptr<const LatinKeys> latinKeys; // nothing when the collator's order needs its own keys
    charsets::TextEncoding encoding;
    std::string locale;
    std::vector<KeyedLine> lines;
    bool latinLines = false;
    std::vector<KeyedLine> later; // those of a merged later list, each line counted from the start of both
    bool latinLater = false;
    // A list of values and rests with a table has no keyed lines: it is ordered whole once its
    // lines are all there (those of a merged later list too), from its values as long as it keeps them.
    bool orderedWhole = false;
};

CollatedLines::CollatedLines(const IndexList& indexList, charsets::TextEncoding encoding, const std::string& locale)
    : keys_(std::make_unique<Keys>(OpenCollator(locale), encoding, locale))
{
    if (indexList.HasValues() && keys_->latinKeys) {
        keys_->orderedWhole = true;
        return;
    }
    keys_->latinLines = keys_->KeyAndSort(keys_->lines, indexList);
}

CollatedLines::~CollatedLines() = default;
CollatedLines::CollatedLines(CollatedLines&&) noexcept = default;
CollatedLines& CollatedLines::operator=(CollatedLines&&) noexcept = default;

void CollatedLines::Merge(CollatedLines&& later)
{
    assert(keys_->later.empty() && later.keys_->later.empty());
    assert(keys_->lines.size() + later.keys_->lines.size() <= UINT32_MAX);
    if (keys_->orderedWhole || later.keys_->orderedWhole) {
        // Lines of one list may have been keyed: the other list kept its values once, this one its
        // lines whole. Appended, both keep their lines whole and are ordered as one.
        keys_->orderedWhole = true;
        keys_->lines = std::vector<KeyedLine>();
        later.keys_.reset();
        return;
    }
    const auto offset = static_cast<std::uint32_t>(keys_->lines.size());
    keys_->later = std::move(later.keys_->lines);
    keys_->latinLater = later.keys_->latinLines;
    for (KeyedLine& entry : keys_->later)
        entry.line += offset;
    later.keys_.reset();
}

void CollatedLines::ApplyTo(IndexList& indexList) &&
{
    const std::unique_ptr<Keys> keys = std::move(keys_);
    if (keys->orderedWhole) {
        indexList.Reorder(keys->OrderOfWholeList(indexList));
        return;
    }
    assert(keys->lines.size() + keys->later.size() == indexList.size());
    // Heads of both kinds: the part with table heads is given the collator's and sorted again.
    if (!keys->later.empty() && keys->latinLines != keys->latinLater) {
        std::vector<KeyedLine>& tableHeads = keys->latinLines ? keys->lines : keys->later;
        CollationText text;
        std::string scratch;
        for (KeyedLine& entry : tableHeads)
            entry = KeyedLineOf(keys->collator.get(), text.Of(indexList.LineAt(entry.line, scratch), keys->encoding),
                                entry.line, keys->locale);
        SortKeyedLines(tableHeads, keys->collator.get(), nullptr, keys->encoding,
                       SortTexts(indexList, SortTexts::Part::Lines));
    }
    const std::vector<KeyedLine>& first = keys->lines;
    const std::vector<KeyedLine>& later = keys->later;
    // Merged lines are merged here, straight into the order, so no merged copy of their keys is made.
    const CollationLess less(keys->collator.get(), keys->encoding, SortTexts(indexList, SortTexts::Part::Lines));
    std::vector<std::uint32_t> order;
    order.reserve(indexList.size());
    for (std::size_t i = 0, j = 0; i < first.size() || j < later.size();) {
        const bool fromLater = i == first.size() || (j < later.size() && less(later[j], first[i]));
        order.push_back(fromLater ? later[j++].line : first[i++].line);
    }
    // Given back before the lines are put in order (assigning {} would keep the storage).
    keys->lines = std::vector<KeyedLine>();
    keys->later = std::vector<KeyedLine>();
    indexList.Reorder(std::move(order));
}

void SortIndexList(IndexList& indexList, charsets::TextEncoding encoding, const std::string& locale)
{
    std::move(CollatedLines(indexList, encoding, locale)).ApplyTo(indexList);
}

} // namespace stambrix::index
