#include "scan/scan_state.h"

#include "scan/field_extractors.h"

namespace stambrix::scan {

bool ScanState::ReadLine()
{
    if (!reader_.ReadLine(line))
        atEnd_ = true;
    return !atEnd_;
}

void ScanState::OpenRecord()
{
    ++recordCounter_;
    const std::uint64_t shown =
        recordTotal_ != nullptr ? recordTotal_->fetch_add(1, std::memory_order_relaxed) + 1 : recordCounter_;
    panels_.ShowReadStatus("gelezen : " + std::to_string(shown));
    recordId_ = RecordIdOf(line);
}

void ScanState::AddValueLine(std::string_view value)
{
    scratch_.assign(value);
    scratch_ += "\t[";
    scratch_ += recordId_;
    scratch_ += ']';
    indexList_.Add(scratch_);
}

} // namespace stambrix::scan
