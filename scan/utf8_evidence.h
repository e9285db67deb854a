#pragma once

#include "gedcom/header_charset.h"
#include "index/index_list.h"

namespace stambrix::scan {

/// What the bytes of the lines of `lines` tell of their encoding.
gedcom::Utf8Evidence Utf8EvidenceOf(const index::IndexList& lines);

} // namespace stambrix::scan
