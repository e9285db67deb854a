#include "cli/interrupt_handler.h"

#include "run/run_index.h"

#include <signal.h>
#include <unistd.h>

#include <string_view>

namespace stambrix::cli {

namespace {
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Whether the message starts on a new line, below a live progress line; set before any handler is.
volatile sig_atomic_t newLineFirst = 0;

// Only async-signal-safe calls from here on: write, unlink and _exit.
void WriteToErr(std::string_view text)
{
    const ssize_t written = write(STDERR_FILENO, text.data(), text.size());
    (void)written;
}

std::string_view NameOf(int signal)
{
    switch (signal) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    default:
        return "SIGHUP";
    }
}

void EndRun(int signal)
{
    run::RemoveTemporaryFiles();
    if (newLineFirst != 0)
        WriteToErr("\n");
    WriteToErr("stambrix-cli: onderbroken door ");
    WriteToErr(NameOf(signal));
    // Once every file is in place there is nothing unfinished: the index is whole.
    WriteToErr(run::IndexPublished() ? "; de index was al volledig geschreven\n"
                                     : "; onvoltooide bestanden zijn verwijderd\n");
    _exit(128 + signal);
}
} // namespace

void InstallInterruptHandler()
{
    newLineFirst = isatty(STDERR_FILENO) != 0 ? 1 : 0;
    struct sigaction action = {};
    action.sa_handler = EndRun;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals)
        sigaddset(&action.sa_mask, signal);
    for (const int signal : kSignals) {
        struct sigaction previous = {};
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN)
            sigaction(signal, &action, nullptr);
    }
}

} // namespace stambrix::cli
