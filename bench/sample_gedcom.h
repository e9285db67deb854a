#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace stambrix::bench {

/// A GEDCOM file as a Dutch family-tree program exports it, for benchmarks that must not depend on
/// files from elsewhere: a header declaring ANSI (windows-1252 bytes, accented names included), then
/// `persons` person records (names with and without surname prefixes, SEX, BIRT/CHR/DEAT/BURI with
/// DATE and PLAC in varying order and form, OCCU, FAMC/FAMS, CHAN), a family record for every third
/// person, and the trailer. Lines end in CR LF. The same arguments always give the same bytes.
std::string SampleGedcom(std::size_t persons, std::uint64_t seed = 7);

} // namespace stambrix::bench
