#include "gedcom/date_rendering.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// libFuzzer target over the rendering of a DATE value. An input fails when the result is neither
// the translated text nor a date "dd-mm-yyyy", or when the translated text still holds a full stop.
namespace {

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "date_fuzzer: %s\n", what);
    std::abort();
}

bool IsIndexDate(std::string_view text)
{
    if (text.size() != 10 || text[2] != '-' || text[5] != '-')
        return false;
    for (const std::size_t i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view value(reinterpret_cast<const char*>(data), size);
    const std::string translated = stambrix::gedcom::TranslateDateWords(value);
    if (translated.find('.') != std::string::npos)
        Fail("a full stop left in the translated text");
    const std::string rendered = stambrix::gedcom::RenderGedcomDate(value);
    if (rendered != translated && !IsIndexDate(rendered))
        Fail("neither the translated text nor a date");
    return 0;
}
