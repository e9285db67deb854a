#include "names/name_splitting.h"
#include "names/prefix_table.h"
#include "text/ascii.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// libFuzzer target over surname splitting with a prefix table from the input: the bytes before the
// first zero byte are the text of a prefix file, the rest is the text between the slashes of a
// NAME. An input fails when a table entry or a split part breaks the rules of their form.
namespace {

using namespace stambrix::names;

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "surname_fuzzer: %s\n", what);
    std::abort();
}

bool HasCapital(std::string_view text)
{
    for (const char c : text)
        if (c >= 'A' && c <= 'Z')
            return true;
    return false;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t zero = input.find('\0');
    const std::string_view fileText = input.substr(0, zero);
    const std::string_view surnameText = zero == std::string_view::npos ? std::string_view() : input.substr(zero + 1);

    const PrefixTable table = ParsePrefixFile(fileText);
    for (const std::string& entry : table.Entries())
        if (entry.empty() || HasCapital(entry) || stambrix::text::Trim(entry).empty())
            Fail("a prefix table entry that is empty or not folded");

    const SplitName split = SplitSurname(surnameText, table);
    if (HasCapital(split.prefix) || stambrix::text::Trim(split.prefix) != split.prefix ||
        stambrix::text::Trim(split.surname) != split.surname)
        Fail("a split part that is not trimmed or a prefix not folded");
    const std::string full = ComposeNameText("", split, NameForm::Full);
    if (full.compare(0, split.surname.size() + 2, split.surname + ", ") != 0)
        Fail("the full form does not begin with the surname and a comma");
    return 0;
}
