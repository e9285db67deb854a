#include "app/file_type_translator.h"

#include <string_view>
#include <utility>

namespace stambrix::app {

namespace {
// The types Qt gives on Linux: the root folder, a folder, a link that leads nowhere, and anything else
// (a device, a socket); a file's type is its MIME type's own description.
constexpr std::pair<std::string_view, const char*> kFileTypes[] = {
    {"Drive", "Station"},
    {"Folder", "Map"},
    {"Shortcut", "Koppeling"},
    {"Unknown", "Onbekend"},
};
} // namespace

QString FileTypeTranslator::translate(const char* context, const char* sourceText, const char* /*disambiguation*/,
                                      int /*n*/) const
{
    if (context == nullptr || sourceText == nullptr || std::string_view(context) != "QAbstractFileIconProvider")
        return {};
    for (const auto& [english, dutch] : kFileTypes)
        if (english == sourceText)
            return QString::fromUtf8(dutch);
    return {};
}

} // namespace stambrix::app
