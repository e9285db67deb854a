#include "text/system_reason.h"
#include "text/windows_error.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <string>

#include <windows.h>

namespace stambrix::text {

namespace {
struct ErrorPair
{
    unsigned long windowsError;
    int errorNumber;
};

// The first Windows code of an errno value is the one whose text stands for it.
constexpr std::array<ErrorPair, 22> kErrorPairs{{
    {ERROR_FILE_NOT_FOUND, ENOENT},      {ERROR_PATH_NOT_FOUND, ENOENT},
    {ERROR_INVALID_DRIVE, ENOENT},       {ERROR_BAD_NETPATH, ENOENT},
    {ERROR_ACCESS_DENIED, EACCES},       {ERROR_SHARING_VIOLATION, EBUSY},
    {ERROR_LOCK_VIOLATION, EBUSY},       {ERROR_FILE_EXISTS, EEXIST},
    {ERROR_ALREADY_EXISTS, EEXIST},      {ERROR_DISK_FULL, ENOSPC},
    {ERROR_HANDLE_DISK_FULL, ENOSPC},    {ERROR_WRITE_PROTECT, EROFS},
    {ERROR_NOT_ENOUGH_MEMORY, ENOMEM},   {ERROR_OUTOFMEMORY, ENOMEM},
    {ERROR_TOO_MANY_OPEN_FILES, EMFILE}, {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
    {ERROR_DIR_NOT_EMPTY, ENOTEMPTY},    {ERROR_DIRECTORY, ENOTDIR},
    {ERROR_NOT_SAME_DEVICE, EXDEV},      {ERROR_INVALID_PARAMETER, EINVAL},
    {ERROR_NOT_SUPPORTED, ENOSYS},       {ERROR_WRITE_FAULT, EIO},
}};

// The text of the Windows error `windowsError` in UTF-8, Dutch where Windows has Dutch texts, else
// in the system's language; empty when Windows has none.
std::string WindowsText(unsigned long windowsError)
{
    constexpr DWORD kFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    wchar_t buffer[512];
    DWORD length = FormatMessageW(kFlags, nullptr, windowsError, MAKELANGID(LANG_DUTCH, SUBLANG_DUTCH), buffer,
                                  static_cast<DWORD>(std::size(buffer)), nullptr);
    if (length == 0)
        length =
            FormatMessageW(kFlags, nullptr, windowsError, 0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    while (length > 0 && (buffer[length - 1] == L'\r' || buffer[length - 1] == L'\n' || buffer[length - 1] == L' ' ||
                          buffer[length - 1] == L'.'))
        --length;
    if (length == 0)
        return {};
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), text.data(), bytes, nullptr, nullptr);
    return text;
}
} // namespace

int ErrnoOfWindowsError(unsigned long windowsError)
{
    for (const ErrorPair& pair : kErrorPairs)
        if (pair.windowsError == windowsError)
            return pair.errorNumber;
    return EIO;
}

int LastWindowsError()
{
    return ErrnoOfWindowsError(GetLastError());
}

// The C library of Windows has its reasons in English only; Windows itself has them in the
// language of the system.
std::string SystemReason(int errorNumber)
{
    for (const ErrorPair& pair : kErrorPairs)
        if (pair.errorNumber == errorNumber) {
            if (std::string text = WindowsText(pair.windowsError); !text.empty())
                return text;
            break;
        }
    return std::strerror(errorNumber);
}

} // namespace stambrix::text
