#pragma once

#include "output/index_list.h"
#include "progress/status_panels.h"

#include <cstdint>
#include <filesystem>

namespace stambrix::output {

/// Writes the index lines to `file`, each followed by CR LF, counting every entry on the
/// written panel. The file is replaced only when complete: a failure (IoError) leaves an
/// earlier file exactly as it was.
void WriteTextIndex(const IndexList& indexList, const std::filesystem::path& file, progress::StatusPanels& panels,
                    std::uint64_t& writtenCounter);

} // namespace stambrix::output
