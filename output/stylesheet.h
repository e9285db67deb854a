#pragma once

#include "output/file_set.h"
#include "progress/user_messages.h"

#include <string>

// The stylesheet writer (unit wmJsCssPaginas).
namespace stambrix::output {

/// The name of the stylesheet file the pages refer to.
inline constexpr const char* kStylesheetName = "genealogie.css";

/// Writes the fixed stylesheet of the index pages (31 rules, 309 lines, CR LF) into `files`, to be
/// put in place with the pages. A file that cannot be written (read-only, immutable, a folder in
/// its place) is reported through `messages` (ShowFileNotCreated, with its path and the reason) and
/// left as it was; the pages go on.
void WriteStylesheet(FileSet& files, progress::UserMessages& messages);

/// The stylesheet's text.
std::string StylesheetText();

} // namespace stambrix::output
