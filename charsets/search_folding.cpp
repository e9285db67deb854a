#include "charsets/search_folding.h"

#include "charsets/base_letter.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <array>
#include <cstdint>
#include <vector>

namespace stambrix::charsets {

namespace {
struct Block
{
    char32_t first;
    char32_t end;
};
// Latin to Cyrillic with the combining marks between, the supplement of the marks, Latin and Greek
// extended, general punctuation.
constexpr std::array<Block, 2> kFoldedBlocks = {{{0x0000, 0x0530}, {0x1DC0, 0x2070}}};
constexpr char32_t kFoldedEnd = 0x2070;
constexpr std::int32_t kFoldsToItself = -1;

enum class Kind
{
    Word,
    Mark,
    Between,
    Unassigned
};

Kind KindOf(UChar32 character)
{
    switch (u_charType(character)) {
    case U_UNASSIGNED:
        return Kind::Unassigned;
    case U_UPPERCASE_LETTER:
    case U_LOWERCASE_LETTER:
    case U_TITLECASE_LETTER:
    case U_MODIFIER_LETTER:
    case U_OTHER_LETTER:
    case U_DECIMAL_DIGIT_NUMBER:
    case U_LETTER_NUMBER:
    case U_OTHER_NUMBER:
        return Kind::Word;
    case U_NON_SPACING_MARK:
    case U_ENCLOSING_MARK:
    case U_COMBINING_SPACING_MARK:
        return Kind::Mark;
    default:
        return Kind::Between;
    }
}

void AppendUtf8(UChar32 character, std::string& to)
{
    std::array<std::uint8_t, U8_MAX_LENGTH> bytes{};
    std::int32_t length = 0;
    U8_APPEND_UNSAFE(bytes.data(), length, character);
    to.append(reinterpret_cast<const char*>(bytes.data()), static_cast<std::size_t>(length));
}

// The folding of one letter or digit: its compatibility decomposition, each part folded in turn.
std::string FoldedWordCharacter(UChar32 character, const UNormalizer2* nfkd)
{
    std::array<UChar, 2> single{};
    std::int32_t singleLength = 0;
    U16_APPEND_UNSAFE(single.data(), singleLength, character);
    std::array<UChar, 32> decomposed{};
    UErrorCode status = U_ZERO_ERROR;
    const std::int32_t length =
        unorm2_normalize(nfkd, single.data(), singleLength, decomposed.data(), decomposed.size(), &status);
    std::string folded;
    for (std::int32_t at = 0; U_SUCCESS(status) && at < length;) {
        UChar32 part;
        U16_NEXT(decomposed.data(), at, length, part);
        switch (KindOf(part)) {
        case Kind::Word:
        case Kind::Unassigned: {
            // Lower case first: ẞ becomes ß, which is filed under s.
            const UChar32 lower = u_tolower(part);
            if (const char extra = ExtraBaseOf(static_cast<char32_t>(lower)))
                folded.push_back(extra);
            else
                AppendUtf8(lower, folded);
            break;
        }
        case Kind::Mark:
            break;
        case Kind::Between:
            folded.push_back(' ');
            break;
        }
    }
    return folded;
}

std::string FoldingOf(UChar32 character, const UNormalizer2* nfkd)
{
    switch (KindOf(character)) {
    case Kind::Word:
        return FoldedWordCharacter(character, nfkd);
    case Kind::Mark:
        return {};
    case Kind::Between:
        return " ";
    case Kind::Unassigned:
        break;
    }
    std::string itself;
    AppendUtf8(character, itself);
    return itself;
}

// The table, and for each character below kFoldedEnd its place in it.
class Foldings
{
public:
    Foldings()
    {
        UErrorCode status = U_ZERO_ERROR;
        const UNormalizer2* nfkd = unorm2_getNFKDInstance(&status);
        std::vector<std::pair<char32_t, std::string>> foldings;
        places_.fill(kFoldsToItself);
        for (const Block& block : kFoldedBlocks)
            for (char32_t character = block.first; character < block.end; ++character) {
                std::string folded = FoldingOf(static_cast<UChar32>(character), nfkd);
                std::string itself;
                AppendUtf8(static_cast<UChar32>(character), itself);
                if (folded != itself) {
                    places_[character] = static_cast<std::int32_t>(foldings.size());
                    foldings.emplace_back(character, std::move(folded));
                }
            }
        for (const auto& [character, folded] : foldings)
            texts_.append(folded);
        std::size_t at = 0;
        for (const auto& [character, folded] : foldings) {
            table_.push_back({character, std::string_view(texts_).substr(at, folded.size())});
            at += folded.size();
        }
        for (std::size_t byte = 0; byte < ascii_.size(); ++byte) {
            const std::int32_t place = places_[byte];
            ascii_[byte] = place == kFoldsToItself ? static_cast<char>(byte) : table_[place].folded.front();
        }
    }

    std::span<const SearchFolding> Table() const { return table_; }
    // The folding of a character; `itself` is the character's own UTF-8.
    std::string_view FoldedOf(char32_t character, std::string_view itself) const
    {
        if (character >= kFoldedEnd || places_[character] == kFoldsToItself)
            return itself;
        return table_[static_cast<std::size_t>(places_[character])].folded;
    }
    // Every ASCII character folds to one byte.
    char AsciiFoldedOf(char byte) const { return ascii_[static_cast<unsigned char>(byte)]; }

private:
    std::string texts_;
    std::vector<SearchFolding> table_;
    std::array<std::int32_t, kFoldedEnd> places_{};
    std::array<char, 0x80> ascii_{};
};

const Foldings& TheFoldings()
{
    static const Foldings foldings;
    return foldings;
}

// Appends folded text, a space only between two words.
class WordsOut
{
public:
    explicit WordsOut(std::string& to) : to_(to), start_(to.size()) {}
    void Add(char byte)
    {
        if (byte == ' ') {
            between_ = true;
            return;
        }
        if (between_ && to_.size() > start_)
            to_.push_back(' ');
        between_ = false;
        to_.push_back(byte);
    }

private:
    std::string& to_;
    std::size_t start_;
    bool between_ = false;
};
} // namespace

std::span<const SearchFolding> SearchFoldingTable()
{
    return TheFoldings().Table();
}

void AppendSearchWords(std::string_view text, std::string& to)
{
    const Foldings& foldings = TheFoldings();
    WordsOut words(to);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    for (std::int32_t at = 0; at < length;) {
        if (bytes[at] < 0x80) {
            words.Add(foldings.AsciiFoldedOf(static_cast<char>(bytes[at++])));
            continue;
        }
        const std::int32_t start = at;
        UChar32 character;
        U8_NEXT(bytes, at, length, character);
        const std::string_view itself =
            character < 0 ? std::string_view("\xEF\xBF\xBD")
                          : text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(at - start));
        for (const char byte : foldings.FoldedOf(character < 0 ? 0xFFFD : static_cast<char32_t>(character), itself))
            words.Add(byte);
    }
}

} // namespace stambrix::charsets
