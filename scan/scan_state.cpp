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
    panels_.ShowReadStatus("gelezen : " + std::to_string(recordCounter_));
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
