#include "index/value_order.h"

#include "index/collation_text.h"
#include "index/keyed_lines.h"
#include "text/two_threads.h"

#include <algorithm>
#include <span>
#include <string>

// A line is its value followed by its rest, and the table keys a text character by character: the
// primary ranks of all its characters, a 1, their secondary ranks, a 0. So two lines of one value
// compare as their rests do. Two lines whose values differ in their primary ranks compare as the
// values do, since the tab a rest begins with ranks below every character a value may go on with.
// Only lines whose values are equal in primary ranks but not in bytes (case or accents apart) are
// compared whole.
namespace stambrix::index {

namespace {
constexpr std::size_t kAhead = 8;

// The values in collation order, grouped by their primary ranks.
struct ValueGroups
{
    std::vector<std::uint32_t> groupOf;    // of each value
    std::vector<std::uint32_t> valueCount; // of each group, in order
};

std::optional<ValueGroups> GroupValues(const IndexList& indexList, const UCollator* collator,
                                       const LatinKeys& latinKeys, charsets::TextEncoding encoding)
{
    const SortTexts values(indexList, SortTexts::Part::Values);
    CollationText text;
    std::vector<KeyedLine> keyed(indexList.ValueCount());
    for (std::uint32_t value = 0; value < keyed.size(); ++value) {
        const std::span<const UChar> units = text.Of(indexList.ValueText(value), encoding);
        if (std::find(units.begin(), units.end(), u'\t') != units.end() || !latinKeys.HeadOf(units, keyed[value].head))
            return std::nullopt;
        keyed[value].line = value;
    }
    SortKeyedLines(keyed, collator, &latinKeys, encoding, values);

    ValueGroups groups;
    groups.groupOf.resize(keyed.size());
    std::vector<std::uint8_t> key;
    std::vector<std::uint8_t> previousPrimaries;
    for (const KeyedLine& entry : keyed) {
        key.clear();
        latinKeys.AppendKeyOf(text.Of(indexList.ValueText(entry.line), encoding), key);
        // Primary ranks are 2 or more; a 1 ends them.
        key.erase(std::find(key.begin(), key.end(), std::uint8_t{1}), key.end());
        if (groups.valueCount.empty() || key != previousPrimaries)
            groups.valueCount.push_back(0);
        ++groups.valueCount.back();
        groups.groupOf[entry.line] = static_cast<std::uint32_t>(groups.valueCount.size() - 1);
        previousPrimaries.swap(key);
    }
    return groups;
}

// Puts the lines of groups in order: by their rests where a group has one value, by the whole
// lines otherwise.
struct GroupOrder
{
    // Orders the lines of groups `first` to `last` (not included) of `order`; false when the table
    // does not hold every character of a rest or line.
    bool Order(std::vector<std::uint32_t>& order, std::size_t first, std::size_t last, const UCollator* collator) const
    {
        CollationText text;
        std::string scratch;
        std::vector<KeyedLine> keyed;
        for (std::size_t group = first; group < last; ++group) {
            const std::span<std::uint32_t> lines(order.begin() + static_cast<std::ptrdiff_t>(groupStart[group]),
                                                 order.begin() + static_cast<std::ptrdiff_t>(groupStart[group + 1]));
            const SortTexts texts(indexList,
                                  groups.valueCount[group] == 1 ? SortTexts::Part::Rests : SortTexts::Part::Lines);
            keyed.resize(lines.size());
            for (std::size_t i = 0; i < lines.size(); ++i) {
                // The lines of a group lie far apart: those some way ahead are asked of the memory now.
                if (i + 2 * kAhead < lines.size())
                    indexList.PrefetchPlace(lines[i + 2 * kAhead]);
                if (i + kAhead < lines.size())
                    indexList.Prefetch(lines[i + kAhead]);
                keyed[i].head = {};
                keyed[i].line = lines[i];
                if (!latinKeys.HeadOf(text.Of(texts.Of(lines[i], scratch), encoding), keyed[i].head))
                    return false;
            }
            SortKeyedLines(keyed, collator, &latinKeys, encoding, texts);
            for (std::size_t i = 0; i < lines.size(); ++i)
                lines[i] = keyed[i].line;
        }
        return true;
    }

    const IndexList& indexList;
    const LatinKeys& latinKeys;
    charsets::TextEncoding encoding;
    const ValueGroups& groups;
    const std::vector<std::size_t>& groupStart;
};
} // namespace

std::optional<std::vector<std::uint32_t>> OrderByValues(const IndexList& indexList, const UCollator* collator,
                                                        const UCollator* secondCollator, const LatinKeys& latinKeys,
                                                        charsets::TextEncoding encoding)
{
    if (!latinKeys.PrimaryBelowAllOthers(u'\t'))
        return std::nullopt;
    const std::optional<ValueGroups> groups = GroupValues(indexList, collator, latinKeys, encoding);
    if (!groups)
        return std::nullopt;

    // The lines by group, in file order within each.
    std::vector<std::size_t> groupStart(groups->valueCount.size() + 1, 0);
    for (std::size_t line = 0; line < indexList.size(); ++line) {
        const std::string_view rest = indexList.RestOf(line);
        if (rest.empty() || rest.front() != '\t')
            return std::nullopt;
        ++groupStart[groups->groupOf[indexList.ValueOf(line)] + 1];
    }
    for (std::size_t group = 1; group < groupStart.size(); ++group)
        groupStart[group] += groupStart[group - 1];
    std::vector<std::uint32_t> order(indexList.size());
    {
        std::vector<std::size_t> next(groupStart.begin(), groupStart.end() - 1);
        for (std::size_t line = 0; line < indexList.size(); ++line)
            order[next[groups->groupOf[indexList.ValueOf(line)]]++] = static_cast<std::uint32_t>(line);
    }

    // The groups in two parts of about as many lines, each ordered by a thread of its own.
    const auto middle = static_cast<std::size_t>(
        std::lower_bound(groupStart.begin(), groupStart.end(), indexList.size() / 2) - groupStart.begin());
    const GroupOrder groupOrder{indexList, latinKeys, encoding, *groups, groupStart};
    bool known = true;
    bool laterKnown = true;
    const std::size_t groupCount = groupStart.size() - 1;
    const bool twoThreads =
        secondCollator != nullptr &&
        text::RunOnTwoThreads([&] { known = groupOrder.Order(order, 0, middle, collator); },
                              [&] { laterKnown = groupOrder.Order(order, middle, groupCount, secondCollator); });
    if (!twoThreads) {
        // No second collator, or no second thread to be had: this one orders every group.
        known = groupOrder.Order(order, 0, groupCount, collator);
    }
    if (!known || !laterKnown)
        return std::nullopt;
    return order;
}

} // namespace stambrix::index
