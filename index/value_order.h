#pragma once

#include "charsets/text_encoding.h"
#include "index/index_list.h"
#include "index/latin_keys.h"

#include <unicode/ucol.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace stambrix::index {

/// The collation order (then the order of the bytes) of the lines of a list of values and rests,
/// whose rests begin with a tab, found from the values: each value is keyed once, the lines are
/// grouped by the primary weights of their values, and within a group of one value ordered by
/// their rests alone. The line numbers in order, or nothing when the table cannot key every value
/// and rest, a rest does not begin with a tab, or a value holds one. With `secondCollator`, a
/// second thread orders about half of the lines with it.
std::optional<std::vector<std::uint32_t>> OrderByValues(const IndexList& indexList, const UCollator* collator,
                                                        const UCollator* secondCollator, const LatinKeys& latinKeys,
                                                        charsets::TextEncoding encoding);

} // namespace stambrix::index
