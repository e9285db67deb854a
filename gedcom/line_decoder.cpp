#include "gedcom/line_decoder.h"

#include "charsets/ansel_table.h"
#include "charsets/code_page_tables.h"
#include "text/utf8.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cassert>

namespace stambrix::gedcom {

namespace {
constexpr char32_t kReplacementCharacter = 0xFFFD;

bool IsAscii(std::string_view line)
{
    return std::none_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}
} // namespace

// A letter with the marks written before it, put in Unicode order and composed.
struct LineDecoder::Composer
{
    const icu::Normalizer2* nfc = nullptr;
    icu::UnicodeString cluster;
    icu::UnicodeString composed;
    std::string utf8;

    Composer()
    {
        UErrorCode status = U_ZERO_ERROR;
        nfc = icu::Normalizer2::getNFCInstance(status);
        assert(U_SUCCESS(status));
    }

    void Append(char32_t letter, const icu::UnicodeString& marks, std::string& out)
    {
        cluster.setTo(static_cast<UChar32>(letter)).append(marks);
        UErrorCode status = U_ZERO_ERROR;
        nfc->normalize(cluster, composed, status);
        utf8.clear();
        (U_SUCCESS(status) ? composed : cluster).toUTF8String(utf8);
        out += utf8;
    }
};

LineDecoder::LineDecoder(const charsets::HighHalf& characters)
    : characters_(&characters), composer_(std::make_unique<Composer>())
{
    for (std::size_t i = 0; i < characters.size(); ++i)
        marks_[i] = u_getCombiningClass(static_cast<UChar32>(characters[i])) != 0;
}

LineDecoder::~LineDecoder() = default;
LineDecoder::LineDecoder(LineDecoder&&) noexcept = default;
LineDecoder& LineDecoder::operator=(LineDecoder&&) noexcept = default;

std::string_view LineDecoder::Decode(std::string_view line)
{
    if (IsAscii(line))
        return line;
    sawNonAscii_ = true;
    out_.clear();
    icu::UnicodeString marks;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsMark(byte)) {
            marks.append(static_cast<UChar32>(CharacterOf(byte)));
            continue;
        }
        const char32_t character = CharacterOf(byte);
        const char32_t letter = character != 0 ? character : kReplacementCharacter;
        if (marks.isEmpty()) {
            text::AppendUtf8(out_, letter);
        } else {
            composer_->Append(letter, marks, out_);
            marks.remove();
        }
    }
    for (int i = 0; i < marks.length(); ++i)
        text::AppendUtf8(out_, marks.charAt(i));
    return out_;
}

std::optional<LineDecoder> LineDecoderFor(DeclaredCharset declared)
{
    switch (declared) {
    case DeclaredCharset::Ansel:
        return LineDecoder(charsets::kAnsel);
    case DeclaredCharset::Ibmpc:
        return LineDecoder(charsets::kCodePage437);
    case DeclaredCharset::Macintosh:
        return LineDecoder(charsets::kMacOsRoman);
    case DeclaredCharset::None:
    case DeclaredCharset::Other:
    case DeclaredCharset::Utf8:
        break;
    }
    return std::nullopt;
}

} // namespace stambrix::gedcom
