#pragma once

namespace stambrix::charsets {

/// How the bytes of the index lines are read: one byte a character in windows-1252, or UTF-8. A file
/// in UTF-8 or UTF-16, or in a set that is converted as it is read, gives UTF-8; any other gives its
/// bytes as they stand, read as windows-1252.
enum class TextEncoding
{
    Windows1252,
    Utf8
};

} // namespace stambrix::charsets
