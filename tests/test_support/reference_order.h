#pragma once

#include "charsets/text_encoding.h"

#include <gtest/gtest.h>

#include <unicode/ucnv.h>
#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace stambrix::test_support {

/// The UTF-16 text of `line` read in `encoding`, ill-formed bytes replaced.
inline std::u16string Decoded(const std::string& line, charsets::TextEncoding encoding)
{
    std::u16string text(line.size() + 1, u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    if (encoding == charsets::TextEncoding::Utf8) {
        u_strFromUTF8WithSub(text.data(), static_cast<int32_t>(text.size()), &length, line.data(),
                             static_cast<int32_t>(line.size()), 0xFFFD, nullptr, &status);
    } else {
        const std::unique_ptr<UConverter, void (*)(UConverter*)> windows1252(ucnv_open("windows-1252", &status),
                                                                             ucnv_close);
        length = ucnv_toUChars(windows1252.get(), text.data(), static_cast<int32_t>(text.size()), line.data(),
                               static_cast<int32_t>(line.size()), &status);
    }
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

/// `lines` in the plainest order there is: a stable sort that has the collator of "nl" compare the
/// decoded text of every pair of lines, equal lines then in the order of their bytes.
inline std::vector<std::string> ReferenceOrder(const std::vector<std::string>& lines, charsets::TextEncoding encoding)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UCollator, void (*)(UCollator*)> collator(ucol_open("nl", &status), ucol_close);
    ucol_setStrength(collator.get(), UCOL_SECONDARY);
    ucol_setAttribute(collator.get(), UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    std::vector<std::u16string> texts;
    for (const std::string& line : lines)
        texts.push_back(Decoded(line, encoding));
    std::vector<std::size_t> order(lines.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const UCollationResult result =
            ucol_strcoll(collator.get(), texts[a].data(), static_cast<int32_t>(texts[a].size()), texts[b].data(),
                         static_cast<int32_t>(texts[b].size()));
        return result == UCOL_LESS || (result == UCOL_EQUAL && lines[a] < lines[b]);
    });
    std::vector<std::string> ordered;
    for (const std::size_t i : order)
        ordered.push_back(lines[i]);
    return ordered;
}

} // namespace stambrix::test_support
