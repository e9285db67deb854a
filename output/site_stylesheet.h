#pragma once

#include "output/file_set.h"

#include <string_view>

// The website's own stylesheet and icon.
namespace stambrix::output {

/// Writes "stambrix.css" into `files`: mobile first with a readable width on a desktop, a light and a
/// dark scheme, tap targets of at least 48 pixels, and for print the pages without search and alphabet.
void WriteSiteStylesheet(FileSet& files);

/// Writes "stambrix.svg", the icon of the pages, into `files`.
void WriteSiteIcon(FileSet& files);

} // namespace stambrix::output
