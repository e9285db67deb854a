#include "index/latin_keys.h"

#include <gtest/gtest.h>

#include <unicode/ucol.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

// Heads from the table against the collator: whatever two heads decide, the collator decides the same.
namespace stambrix::index {
namespace {

using Collator = std::unique_ptr<UCollator, void (*)(UCollator*)>;

Collator IndexCollator(const char* locale)
{
    UErrorCode status = U_ZERO_ERROR;
    Collator collator(ucol_open(locale, &status), ucol_close);
    ucol_setStrength(collator.get(), UCOL_SECONDARY);
    ucol_setAttribute(collator.get(), UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    return collator;
}

TEST(LatinKeys, HeadsOrderAsTheCollatorDoes)
{
    const Collator collator = IndexCollator("nl");
    const std::unique_ptr<LatinKeys> keys = LatinKeys::For(collator.get());
    ASSERT_NE(keys, nullptr);
    // Letters in both cases and with accents, letters that stand for two (ß, æ, Œ), digits,
    // blanks, punctuation, a tab, an ignorable control and the windows-1252 characters above 0x7F.
    const std::u16string pieces[] = {
        u"a",      u"A",      u"\u00E1", u"\u00C4", u"ae",     u"\u00E6", u"\u00C6", u"ss",    u"\u00DF", u"oe",
        u"\u0152", u"e",      u"\u00EB", u"\u0133", u"ij",     u"l",      u"L",      u"z",     u"\u017E", u"0",
        u"9",      u"\u00BD", u" ",      u"-",      u",",      u"\t",     u"\u0001", u"[",     u"@",      u"\u2026",
        u"...",    u"\u20AC", u"\u2122", u"\u00A0", u"\u0192", u"\u01C4", u"\u0131", u"\u00F8"};
    std::vector<std::u16string> texts{u""};
    for (const std::u16string& a : pieces)
        for (const std::u16string& b : pieces) {
            texts.push_back(a + b);
            texts.push_back(a + u"x" + b + u"e");
        }
    std::vector<std::array<std::uint8_t, 12>> heads(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        ASSERT_TRUE(keys->HeadOf(texts[i], heads[i]));
    for (std::size_t i = 0; i < texts.size(); ++i)
        for (std::size_t j = 0; j < texts.size(); ++j) {
            const int byHeads = std::memcmp(heads[i].data(), heads[j].data(), heads[i].size());
            if (byHeads == 0 && heads[i].back() != 0)
                continue; // the heads leave it to the rest of the keys
            const UCollationResult byCollator =
                ucol_strcoll(collator.get(), texts[i].data(), static_cast<int32_t>(texts[i].size()), texts[j].data(),
                             static_cast<int32_t>(texts[j].size()));
            ASSERT_EQ(byHeads < 0   ? UCOL_LESS
                      : byHeads > 0 ? UCOL_GREATER
                                    : UCOL_EQUAL,
                      byCollator)
                << "texts " << i << " and " << j;
        }
}

TEST(LatinKeys, CharactersWhoseWeightsDependOnOthersAreLeftToTheCollator)
{
    const Collator collator = IndexCollator("nl");
    const std::unique_ptr<LatinKeys> keys = LatinKeys::For(collator.get());
    ASSERT_NE(keys, nullptr);
    std::array<std::uint8_t, 4> head{};
    // «l·» is one letter to the collator; a combining accent, a character beyond the table and an
    // unpaired surrogate are not in the table. Past a full head too.
    for (const std::u16string text : {u"Paral\u00B7lel", u"e\u0301", u"\u0394", u"\xD800", u"Amsterdam\u0301"})
        EXPECT_FALSE(keys->HeadOf(text, head));
    // Orders that are not the characters' weights one after another.
    for (const char* locale : {"fr_CA", "da"}) {
        const Collator other = IndexCollator(locale);
        const std::unique_ptr<LatinKeys> otherKeys = LatinKeys::For(other.get());
        EXPECT_TRUE(otherKeys == nullptr || !otherKeys->HeadOf(std::u16string(u"Aalborg"), head)) << locale;
    }
    UErrorCode status = U_ZERO_ERROR;
    ucol_setAttribute(collator.get(), UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    EXPECT_EQ(LatinKeys::For(collator.get()), nullptr);
}

} // namespace
} // namespace stambrix::index
