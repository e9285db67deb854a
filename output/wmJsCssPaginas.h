#pragma once

#include "progress/status_panels.h"

#include <filesystem>
#include <string>

namespace stambrix::output {

/// Writes the fixed stylesheet of the index pages (31 rules, 309 lines, CR LF) as
/// `directory`/`fileName`, whole or not at all. With `overwrite` false an existing file is left
/// alone. Returns true when the file was written. A file that cannot be written is reported
/// through `messages` ("Het bestand ", the path, "kon niet aangemaakt worden.", joined by CR) and
/// left as it was; the result is then false.
bool WriteStylesheet(const std::filesystem::path& directory, const std::string& fileName, bool overwrite,
                     progress::UserMessages& messages);

/// The stylesheet's text.
std::string StylesheetText();

} // namespace stambrix::output
