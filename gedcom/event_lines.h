#pragma once

#include "gedcom/decoded_lines.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace stambrix::gedcom {

/// The lines of DecodedLines handed on one structure at a time: a line of level 0 or 1 and the
/// lines below it up to the next such line. Each structure is read to its end before its first
/// line is handed on, so every line comes knowing whether it belongs to a hidden event: a
/// level-1 structure with a level-2 RESN holding «confidential» or «privacy» (IsPrivateRestriction),
/// which may come after the event's DATE and PLAC. A structure takes the memory of its lines.
class EventLines
{
public:
    explicit EventLines(DecodedLines& lines) : lines_(lines) {}

    /// The next line; false, with an empty line, at the end of the input. The view stays valid
    /// until the next call.
    bool ReadLine(std::string_view& line);
    /// True when the line ReadLine gave last belongs to a hidden event.
    bool Hidden() const { return hidden_; }

private:
    bool HoldNextStructure();
    void Hold(std::string_view line);

    DecodedLines& lines_;
    std::string held_;               // the held lines one after the other
    std::vector<std::size_t> ends_;  // where each held line ends in held_
    std::size_t structureLines_ = 0; // the held lines of the structure being handed on; one more
                                     // held line begins the next structure
    std::size_t next_ = 0;           // the held line to hand on next
    bool hidden_ = false;
};

} // namespace stambrix::gedcom
