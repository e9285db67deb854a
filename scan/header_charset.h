#pragma once

#include <string_view>

namespace stambrix::scan {

/// Watches the lines of the file header for a character-set declaration of UTF-8
/// («1 CHAR UTF-8» or «1 CHAR UTF8», any case). The header ends at the second level-0 line.
class HeaderCharset
{
public:
    void Examine(std::string_view line);
    bool DeclaresUtf8() const { return utf8_; }

private:
    int levelZeroLines_ = 0;
    bool utf8_ = false;
};

} // namespace stambrix::scan
