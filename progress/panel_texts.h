#pragma once

#include "progress/run_progress.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace stambrix::progress {

/// The default captions of the three panels, the two leading blanks included.
inline constexpr std::string_view kReadCaption = "  regels gelezen";
inline constexpr std::string_view kTimeCaption = "  (dd:uu:mm:ss)";
inline constexpr std::string_view kWrittenCaption = "  regels geschreven";

/// "gelezen : 12": what the read panel says after 12 records, without the blanks before it.
std::string ReadText(std::uint64_t records);
/// "geschreven : 12": what the written panel says after 12 entries, without the blanks before it.
std::string WrittenText(std::uint64_t entries);
/// "weggelaten : 3": the persons a run left out, without the blanks before it.
std::string LeftOutText(std::uint64_t persons);

/// The texts of the three status panels as a run's progress makes them, in the one way both front ends
/// show them: a panel's default caption until the run reports to it, then two blanks and ReadText,
/// ElapsedText or WrittenText of what it reported.
class PanelTexts final : public RunProgress
{
public:
    void Reset() override;
    void RecordsRead(std::uint64_t records) override;
    void EntriesWritten(std::uint64_t entries) override;
    void TimeElapsed(std::uint32_t milliseconds) override;
    void PersonsLeftOut(std::uint64_t persons) override;
    /// `text` on the written panel, after two blanks: a note such as why the run waits.
    void ShowNote(std::string_view text);

    const std::string& Read() const { return read_; }
    const std::string& Time() const { return time_; }
    const std::string& Written() const { return written_; }
    /// Two blanks and LeftOutText once the run reported the persons it left out; empty before.
    const std::string& LeftOut() const { return leftOut_; }

private:
    std::string read_{kReadCaption};
    std::string time_{kTimeCaption};
    std::string written_{kWrittenCaption};
    std::string leftOut_;
};

} // namespace stambrix::progress
