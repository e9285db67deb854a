#include "cli/interrupt_handler.h"

#include "run/run_index.h"

#include <string_view>

#include <windows.h>

namespace stambrix::cli {

namespace {
// What the console asks the program to end by, with the name it is told by and the exit code: as
// the signals on Linux, 128 plus the number the C library gives it (SIGINT 2, SIGBREAK 21), and the
// closing of the console window as a hang-up (SIGHUP, 1).
struct Interruption
{
    DWORD event;
    std::string_view name;
    UINT exitCode;
};
constexpr Interruption kInterruptions[] = {
    {CTRL_C_EVENT, "Ctrl+C", 130},
    {CTRL_BREAK_EVENT, "Ctrl+Break", 149},
    {CTRL_CLOSE_EVENT, "het sluiten van het venster", 129},
};

// Whether the message starts on a new line, below a live progress line; set before the handler is.
bool newLineFirst = false;

void WriteToErr(std::string_view text)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// Windows calls this on a thread of its own; the index being put in place is put in place whole first.
BOOL WINAPI EndRun(DWORD event)
{
    for (const Interruption& interruption : kInterruptions) {
        if (interruption.event != event)
            continue;
        run::WaitWhileTerminationHeld();
        run::RemoveTemporaryFiles();
        if (newLineFirst)
            WriteToErr("\n");
        WriteToErr("stambrix-cli: onderbroken door ");
        WriteToErr(interruption.name);
        // Once every file is in place there is nothing unfinished: the index is whole.
        WriteToErr(run::IndexPublished() ? "; de index was al volledig geschreven\n"
                                         : "; onvoltooide bestanden zijn verwijderd\n");
        ExitProcess(interruption.exitCode);
    }
    return FALSE;
}
} // namespace

void InstallInterruptHandler()
{
    DWORD mode = 0;
    newLineFirst = GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
    SetConsoleCtrlHandler(EndRun, TRUE);
}

} // namespace stambrix::cli
