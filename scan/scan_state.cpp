#include "scan/scan_state.h"

#include "gedcom/field_extractors.h"
#include "text/ascii.h"

namespace stambrix::scan {

namespace {
// The first this many lines of values and rests decide whether values are kept once; a reading
// that follows looks at the decision every so many lines.
constexpr std::size_t kValuesJudgedAt = 65536;
constexpr std::size_t kValuesFollowedEvery = 4096;
} // namespace

bool ScanState::ReadLine()
{
    markersFound_ = false;
    if (!lines_.ReadLine(line)) {
        atEnd_ = true;
        return false;
    }
    return true;
}

void ScanState::OpenRecord()
{
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

void ScanState::AddValueLine(std::string_view value)
{
    scratch_.assign(value);
    text::BlankControls(scratch_);
    rest_.assign("\t[").append(recordId_).append("]");
    indexList_.AddValueLine(scratch_, rest_);
    if (keeping_ != ValueKeeping::Undecided)
        return;
    if (decidesKeeping_ && indexList_.size() == kValuesJudgedAt) {
        keeping_ = indexList_.ValuesWorthKeeping() ? ValueKeeping::Once : ValueKeeping::Whole;
        if (sharedKeeping_ != nullptr)
            sharedKeeping_->store(keeping_, std::memory_order_relaxed);
    } else if (!decidesKeeping_ && indexList_.size() % kValuesFollowedEvery == 0) {
        keeping_ = sharedKeeping_->load(std::memory_order_relaxed);
    }
    if (keeping_ == ValueKeeping::Whole)
        indexList_.KeepValueLinesWhole();
}

void ScanState::ShareValueKeeping(std::atomic<ValueKeeping>* shared, bool decides)
{
    sharedKeeping_ = shared;
    decidesKeeping_ = decides;
}

void ScanState::FinishValueKeeping()
{
    if (decidesKeeping_ && keeping_ == ValueKeeping::Undecided && sharedKeeping_ != nullptr)
        sharedKeeping_->store(ValueKeeping::Once, std::memory_order_relaxed);
}

void ScanState::AddIndexLine(std::initializer_list<std::string_view> parts)
{
    scratch_.clear();
    for (const std::string_view part : parts)
        scratch_.append(part);
    indexList_.Add(scratch_);
}

} // namespace stambrix::scan
