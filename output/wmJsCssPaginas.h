#pragma once

#include "output/atomic_file.h"
#include "progress/status_panels.h"

#include <filesystem>
#include <memory>
#include <string>

namespace stambrix::output {

/// The fixed stylesheet of the index pages (31 rules, 309 lines, CR LF) written completely into a
/// temporary file, to replace `path` together with the pages. A file that cannot be written is
/// reported through `messages` ("Het bestand ", the path, "kon niet aangemaakt worden.", joined by
/// CR) and left as it was; the result is then empty.
std::unique_ptr<AtomicFile> CompleteStylesheet(const std::filesystem::path& path, progress::UserMessages& messages);

/// The stylesheet's text.
std::string StylesheetText();

} // namespace stambrix::output
