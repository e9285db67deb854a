#include "scan/scan_state.h"

#include "gedcom/field_extractors.h"
#include "text/ascii.h"

namespace stambrix::scan {

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
}

void ScanState::AddIndexLine(std::initializer_list<std::string_view> parts)
{
    scratch_.clear();
    for (const std::string_view part : parts)
        scratch_.append(part);
    indexList_.Add(scratch_);
}

} // namespace stambrix::scan
