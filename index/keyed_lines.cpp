#include "index/keyed_lines.h"

#include <algorithm>
#include <cassert>
#include <new>
#include <numeric>
#include <span>
#include <string>
#include <string_view>

namespace stambrix::index {

bool CollationLess::operator()(const KeyedLine& a, const KeyedLine& b) const
{
    if (HeadLess(a, b))
        return true;
    if (HeadLess(b, a))
        return false;
    const std::string_view lineA = texts_.Of(a.line, buffers_->bytes[0]);
    const std::string_view lineB = texts_.Of(b.line, buffers_->bytes[1]);
    if (!HoldsWholeKey(a)) {
        auto& [textA, textB] = buffers_->units;
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

namespace {
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
    WholeKeyOrder(const UCollator* collator, const LatinKeys* latinKeys, charsets::TextEncoding encoding,
                  SortTexts texts)
        : collator_(collator), latinKeys_(latinKeys), encoding_(encoding), texts_(texts)
    {
    }

    void Order(std::span<KeyedLine> run)
    {
        keyBytes_.clear();
        keyStarts_.assign(1, 0);
        for (const KeyedLine& entry : run) {
            AppendWholeKey(text_.Of(texts_.Of(entry.line, bytes_[0]), encoding_), collator_, latinKeys_, keyBytes_);
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
            return order != 0 ? order < 0 : texts_.Of(run[a].line, bytes_[0]) < texts_.Of(run[b].line, bytes_[1]);
        });
        ordered_.clear();
        for (const std::uint32_t position : positions_)
            ordered_.push_back(run[position]);
        std::copy(ordered_.begin(), ordered_.end(), run.begin());
    }

private:
    const UCollator* collator_;
    const LatinKeys* latinKeys_;
    charsets::TextEncoding encoding_;
    SortTexts texts_;
    CollationText text_;
    std::string bytes_[2];
    std::vector<std::uint8_t> keyBytes_;
    std::vector<std::size_t> keyStarts_;
    std::vector<std::uint32_t> positions_;
    std::vector<KeyedLine> ordered_;
};

} // namespace

void SortKeyedLines(std::vector<KeyedLine>& lines, const UCollator* collator, const LatinKeys* latinKeys,
                    charsets::TextEncoding encoding, SortTexts texts)
{
    std::sort(lines.begin(), lines.end(), HeadLess);
    WholeKeyOrder wholeKeyOrder(collator, latinKeys, encoding, texts);
    std::string bytes[2];
    for (auto runStart = lines.begin(); runStart != lines.end();) {
        const auto runEnd =
            std::find_if(runStart + 1, lines.end(), [&](const KeyedLine& entry) { return HeadLess(*runStart, entry); });
        const std::span<KeyedLine> run(runStart, runEnd);
        if (run.size() > 1 && HoldsWholeKey(run.front()))
            std::sort(run.begin(), run.end(), [&](const KeyedLine& a, const KeyedLine& b) {
                return texts.Of(a.line, bytes[0]) < texts.Of(b.line, bytes[1]);
            });
        else if (run.size() > 1 && run.size() <= kLongestKeyedRun)
            wholeKeyOrder.Order(run);
        else if (run.size() > 1)
            std::sort(run.begin(), run.end(), CollationLess(collator, encoding, texts));
        runStart = runEnd;
    }
}

} // namespace stambrix::index
