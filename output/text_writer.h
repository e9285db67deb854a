#pragma once

#include "index/index_list.h"
#include "output/file_set.h"
#include "output/written_counter.h"

#include <string_view>

namespace stambrix::output {

/// Writes the index lines as the file `name` of `files`, each followed by CR LF, counting every
/// entry. Throws text::RunFailure.
void WriteTextIndex(const index::IndexList& indexList, FileSet& files, std::string_view name, WrittenCounter& counter);

} // namespace stambrix::output
