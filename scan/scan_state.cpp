#include "scan/scan_state.h"

#include "gedcom/field_extractors.h"
#include "gedcom/gedcom_line.h"
#include "text/ascii.h"

namespace stambrix::scan {

bool ScanState::ReadLine()
{
    markersFound_ = false;
    if (!(events_ ? events_->ReadLine(line) : lines_.ReadLine(line))) {
        atEnd_ = true;
        return false;
    }
    if (judging_)
        JudgeLine();
    return true;
}

void ScanState::JudgeLine()
{
    // The record ends at a level-0 line; lines after it are another record's.
    judging_ = judgement_->Examine(line);
}

void ScanState::OpenRecord()
{
    SettleRecord();
    if (judgement_ && gedcom::OpensPersonRecord(line, Markers())) {
        judgement_->Begin();
        judging_ = true;
        holding_ = true;
    }
    ++recordCounter_;
    std::uint64_t shown = recordCounter_;
    if (recordTotal_ != nullptr) {
        // The parts add their counts to the total in batches: a count the threads share changed
        // with every record would pass between their caches all the time.
        if (++unshared_ == kRecordsSharedAtOnce) {
            sharedTotal_ = recordTotal_->fetch_add(unshared_, std::memory_order_relaxed) + unshared_;
            unshared_ = 0;
        }
        shown = sharedTotal_ + unshared_;
    }
    progress_.RecordsRead(shown);
    recordId_ = gedcom::RecordIdOf(line);
}

void ScanState::SettleRecord()
{
    if (!holding_)
        return;
    holding_ = false;
    judging_ = false;
    if (judgement_->LeavesOut()) {
        ++leftOut_;
    } else {
        std::size_t begin = 0;
        for (const HeldLine& held : heldLines_) {
            const std::string_view text = std::string_view(heldText_).substr(begin, held.end - begin);
            if (held.valueLine)
                indexList_.AddValueLine(text.substr(0, held.valueEnd - begin), text.substr(held.valueEnd - begin));
            else
                indexList_.Add(text);
            begin = held.end;
        }
    }
    heldText_.clear();
    heldLines_.clear();
}

void ScanState::AddValueLine(std::string_view value)
{
    scratch_.assign(value);
    text::BlankControls(scratch_);
    rest_.assign("\t[").append(recordId_).append("]");
    if (holding_) {
        heldText_.append(scratch_);
        const std::size_t valueEnd = heldText_.size();
        heldText_.append(rest_);
        heldLines_.push_back({valueEnd, heldText_.size(), true});
        return;
    }
    indexList_.AddValueLine(scratch_, rest_);
}

void ScanState::AddIndexLine(std::initializer_list<std::string_view> parts)
{
    if (holding_) {
        for (const std::string_view part : parts)
            heldText_.append(part);
        heldLines_.push_back({heldText_.size(), heldText_.size(), false});
        return;
    }
    scratch_.clear();
    for (const std::string_view part : parts)
        scratch_.append(part);
    indexList_.Add(scratch_);
}

} // namespace stambrix::scan
