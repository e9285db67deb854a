#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace stambrix::gedcom {

/// Turns lines of ANSEL into UTF-8. ANSEL writes a combining diacritic before the letter it
/// belongs to; here the letter comes first and the marks follow, composed into one character
/// where Unicode has one («E8 61» gives «ä»), the letter and the combining mark where it has none.
/// Marks with no letter after them on the line stand on their own. A byte ANSEL has no character
/// for becomes U+FFFD.
class AnselDecoder
{
public:
    AnselDecoder();
    ~AnselDecoder();
    AnselDecoder(const AnselDecoder&) = delete;
    AnselDecoder& operator=(const AnselDecoder&) = delete;

    /// The UTF-8 form of `line`; a line of ASCII comes back as it is. Valid until the next call.
    std::string_view Decode(std::string_view line);

    /// True once a line held a byte above 127.
    bool SawNonAscii() const { return sawNonAscii_; }

private:
    struct Composer;

    std::unique_ptr<Composer> composer_;
    std::string out_;
    bool sawNonAscii_ = false;
};

} // namespace stambrix::gedcom
