#include "cli/program_environment.h"

#include <clocale>

#include <windows.h>

#include <shellapi.h>

namespace stambrix::cli {

namespace {
std::string Utf8Of(const wchar_t* text)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(bytes - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}
} // namespace

void PrepareProcess()
{
    SetConsoleOutputCP(CP_UTF8);
    std::setlocale(LC_ALL, "");
}

std::vector<std::string> ArgumentsOf(int /*argc*/, char** /*argv*/)
{
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr)
        return arguments;
    for (int at = 1; at < count; ++at)
        arguments.push_back(Utf8Of(wide[at]));
    LocalFree(wide);
    return arguments;
}

std::filesystem::path ProgramDirectory(const char* /*argv0*/)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return std::filesystem::path(path).parent_path();
}

bool ErrorOutputIsTerminal()
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

} // namespace stambrix::cli
