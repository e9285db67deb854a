#pragma once

#include <string_view>

#include <QString>

// The core's texts as the windows show them.
namespace stambrix::app {

/// The core's own texts (messages, captions) are UTF-8.
inline QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// Paths, the system's reasons and the GEDCOM file's own bytes come in the local encoding.
inline QString FromLocal8Bit(std::string_view text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace stambrix::app
