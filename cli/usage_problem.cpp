#include "cli/usage_problem.h"

#include <set>
#include <string_view>

namespace stambrix::cli {

bool LooksLikeOption(std::string_view argument)
{
    return argument.size() > 1 && argument.front() == '-';
}

namespace {
bool IsSwitch(const CLI::Option& option)
{
    return option.get_expected_max() == 0;
}
} // namespace

std::vector<std::string> WithEmptyValuesApart(const CLI::App& app, std::span<const std::string> options)
{
    std::vector<std::string> apart;
    for (const std::string& argument : options) {
        const std::size_t equals = argument.find('=');
        const bool emptyValue = LooksLikeOption(argument) && equals == argument.size() - 1;
        const CLI::Option* option = emptyValue ? app.get_option_no_throw(argument.substr(0, equals)) : nullptr;
        if (option != nullptr && !option->get_positional() && !IsSwitch(*option)) {
            apart.push_back(argument.substr(0, equals));
            apart.emplace_back();
        } else {
            apart.push_back(argument);
        }
    }
    return apart;
}

std::string UsageProblem(const CLI::App& app, std::span<const std::string> options)
{
    std::set<const CLI::Option*> given;
    for (std::size_t i = 0; i < options.size(); ++i) {
        const std::string& argument = options[i];
        if (!LooksLikeOption(argument))
            continue;
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const CLI::Option* option = app.get_option_no_throw(name);
        if (option == nullptr || option->get_positional())
            return "Onbekende optie: " + name;
        if (IsSwitch(*option)) {
            if (equals != std::string::npos)
                return std::string(name).append(" krijgt geen waarde: ").append(argument);
            continue;
        }
        if (!given.insert(option).second)
            return "De optie " + name + " is meer dan één keer gegeven.";
        if (equals == std::string::npos) {
            if (i + 1 == options.size() || LooksLikeOption(options[i + 1]))
                return "Bij " + name + " ontbreekt de waarde.";
            ++i;
        }
    }
    return "De opdracht is niet goed opgebouwd.";
}

} // namespace stambrix::cli
