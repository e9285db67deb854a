#pragma once

#include "gedcom/decoded_lines.h"
#include "gedcom/event_lines.h"
#include "gedcom/line_markers.h"
#include "gedcom/person_judgement.h"
#include "index/index_list.h"
#include "progress/progress_throttle.h"

#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stambrix::scan {

/// What the run driver and the scanners share while the file is read: the current line, the
/// record counter and id, and the index list being filled.
class ScanState
{
public:
    /// `recordTotal`, when given, counts the records of every part of a file read in parts at
    /// once; the read panel then shows that total as this part last saw it, plus its own records since.
    ScanState(gedcom::DecodedLines& lines, index::IndexList& indexList, progress::ProgressThrottle& progress,
              std::atomic<std::uint64_t>* recordTotal = nullptr)
        : lines_(lines), indexList_(indexList), progress_(progress), recordTotal_(recordTotal)
    {
    }

    /// The line the next test examines; valid until the next ReadLine.
    std::string_view line;

    /// From now on every person record is judged as it is read (gedcom::PersonJudgement against
    /// `thisYear`); the lines it adds reach the index list only when the record ends and the person is kept.
    /// And the lines come a structure at a time (gedcom::EventLines), so the scanners can pass over
    /// the values of an event the file restricts (InHiddenEvent). Called before the first line is read.
    void LeaveOutLiving(int thisYear)
    {
        judgement_.emplace(thisYear);
        events_.emplace(lines_);
    }

    /// Reads the next line into `line`; false, with an empty line, at the end of the file.
    bool ReadLine();
    /// True once a read found the end of the file.
    bool AtEnd() const { return atEnd_; }
    /// True when the current line belongs to an event whose values stay out of the index: one with
    /// a level-2 RESN «confidential» or «privacy», when persons are judged (LeaveOutLiving).
    bool InHiddenEvent() const { return events_ && events_->Hidden(); }

    /// The markers of the current line, looked for once per line.
    gedcom::LineMarkers Markers()
    {
        if (!markersFound_) {
            markers_ = gedcom::MarkersOf(line);
            markersFound_ = true;
        }
        return markers_;
    }
    bool Has(gedcom::Marker marker) { return Markers().Has(marker); }

    /// Counts the record the current line opens, reports the count and takes its id. Settles the
    /// record before it (SettleRecord).
    void OpenRecord();
    /// When person records are judged: the lines held back for the last person record opened go to
    /// the index list, or are dropped and the person counted as left out. Called at the end of the file.
    void SettleRecord();
    /// The person records left out so far.
    std::uint64_t LeftOut() const { return leftOut_; }
    const std::string& RecordId() const { return recordId_; }
    std::uint64_t RecordCounter() const { return recordCounter_; }

    /// Adds «value», tab, «[id]» to the index list; control characters in the value become blanks.
    void AddValueLine(std::string_view value);
    /// Adds the line made of `parts`, joined without anything between them, to the index list.
    void AddIndexLine(std::initializer_list<std::string_view> parts);

private:
    // A line held back until its person record is settled: the text from where the line before
    // it ends to `end`, a value up to `valueEnd` when it was added as a value and a rest.
    struct HeldLine
    {
        std::size_t valueEnd;
        std::size_t end;
        bool valueLine;
    };

    void JudgeLine();

    gedcom::DecodedLines& lines_;
    index::IndexList& indexList_;
    progress::ProgressThrottle& progress_;
    std::atomic<std::uint64_t>* recordTotal_;
    static constexpr std::uint64_t kRecordsSharedAtOnce = 1024;
    std::uint64_t unshared_ = 0;    // counted here, not yet added to recordTotal_
    std::uint64_t sharedTotal_ = 0; // recordTotal_ after this part last added to it
    std::uint64_t recordCounter_ = 0;
    std::string recordId_;
    std::string scratch_;
    std::string rest_;
    bool atEnd_ = false;
    gedcom::LineMarkers markers_;
    bool markersFound_ = false;
    std::optional<gedcom::PersonJudgement> judgement_;
    std::optional<gedcom::EventLines> events_;
    bool judging_ = false; // the lines read belong to the person record being judged
    bool holding_ = false; // the lines added belong to that record
    std::string heldText_;
    std::vector<HeldLine> heldLines_;
    std::uint64_t leftOut_ = 0;
};

} // namespace stambrix::scan
