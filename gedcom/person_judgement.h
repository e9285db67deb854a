#pragma once

#include <string_view>

namespace stambrix::gedcom {

/// True when a RESN value, split at commas and each part trimmed, holds «confidential» or
/// «privacy» in any case: «confidential», «CONFIDENTIAL, LOCKED»; «locked» alone gives false.
bool IsPrivateRestriction(std::string_view value);

/// True when the DATE value holds a year of at most `latest`: a run of three or four digits that
/// no other digit touches («ABT 1850», «1850/51», «@#DJULIAN@ 1700»); a day number of one or two
/// digits, or a run of five digits or more, is no year. Text in parentheses is a phrase, not the
/// date: «INT 3 MAR 2015 (akte nr. 412)» holds 2015 only, «(rond 1850)» no year at all; a "(" that
/// is never closed runs to the end.
bool HoldsYearUpTo(std::string_view value, int latest);

/// Whether a person record may be left out of the index: it is marked private (a level-1 RESN
/// holding «confidential» or «privacy»), or the person may be alive (no level-1 DEAT, BURI or CREM,
/// and no DATE at any level holding a year of at most this year - 100). A DATE below a level-1 NO
/// («1 NO DEAT»: the person did not die then) is no date of the person's life. The record's lines
/// after its header are examined one by one as they are read.
class PersonJudgement
{
public:
    explicit PersonJudgement(int thisYear) : latestOldYear_(thisYear - 100) {}

    /// A new record opens: nothing seen yet, so it counts as possibly alive.
    void Begin()
    {
        private_ = false;
        pastLife_ = false;
        belowNo_ = false;
    }
    /// Examines one line read after the record's header. Returns false, examining nothing, for a
    /// level-0 line: the record ended before it.
    bool Examine(std::string_view line);
    /// True when the lines examined since Begin make the person one to leave out.
    bool LeavesOut() const { return private_ || !pastLife_; }

private:
    int latestOldYear_;
    bool private_ = false;
    bool pastLife_ = false; ///< died, was buried or cremated, or has an old date
    bool belowNo_ = false;  ///< the lines examined are below a level-1 NO
};

} // namespace stambrix::gedcom
