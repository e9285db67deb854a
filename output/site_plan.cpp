#include "output/site_plan.h"

namespace stambrix::output {

namespace {
constexpr std::string_view kIdStart = "[@";
constexpr std::string_view kIdEnd = "@]";

// The record id of a name index line: between "[@" and "@]" in its last field, behind the last tab.
std::string_view RecordIdOf(std::string_view lineText)
{
    const auto tab = lineText.rfind('\t');
    if (tab == std::string_view::npos)
        return {};
    std::string_view field = lineText.substr(tab + 1);
    while (!field.empty() && (field.back() == '\r' || field.back() == '\n' || field.back() == ' '))
        field.remove_suffix(1);
    if (field.size() <= kIdStart.size() + kIdEnd.size() || !field.starts_with(kIdStart) || !field.ends_with(kIdEnd))
        return {};
    return field.substr(kIdStart.size(), field.size() - kIdStart.size() - kIdEnd.size());
}

bool KeptInId(char byte)
{
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
           byte == '_' || byte == '-';
}
} // namespace

void AppendIdOf(const SitePlan& plan, std::uint32_t line, std::string_view lineText, std::string& to)
{
    const std::string_view recordId = RecordIdOf(lineText);
    if (recordId.empty()) {
        to.append("r").append(std::to_string(std::uint64_t{line} + 1));
        return;
    }
    const std::size_t idStart = to.size();
    to.append(recordId);
    for (std::size_t at = idStart; at < to.size(); ++at)
        if (!KeptInId(to[at]))
            to[at] = '_';
    if (plan.idTakenBefore[line])
        to.append("-").append(std::to_string(std::uint64_t{line} + 1));
}

void AppendLinkTo(const SitePlan& plan, std::uint32_t line, std::string_view lineText, std::string& to)
{
    to.append(plan.pageNames[plan.pageOfLine[line]]).append("#");
    AppendIdOf(plan, line, lineText, to);
}

} // namespace stambrix::output
