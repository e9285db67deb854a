#include "app/termination_signals.h"

#include <cassert>
#include <cerrno>

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

namespace stambrix::app {

namespace {
// The pipe's end the handler writes to; -1 while no TerminationSignals lives.
volatile sig_atomic_t writeEnd = -1;

// Only async-signal-safe calls: write, and errno kept for the code the signal interrupted. A full pipe
// drops the number: the signals in it already end the program.
void WriteSignalNumber(int signalNumber)
{
    const int savedErrno = errno;
    const auto number = static_cast<unsigned char>(signalNumber);
    (void)!write(writeEnd, &number, 1);
    errno = savedErrno;
}
} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    assert(writeEnd == -1 && "one TerminationSignals at a time");
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    readEnd_ = ends[0];
    writeEnd = ends[1];
    notifier_ = new QSocketNotifier(readEnd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::ReadPipe);
    struct sigaction action = {};
    action.sa_handler = WriteSignalNumber;
    sigemptyset(&action.sa_mask);
    // Calls that a signal interrupts in another thread (a read, a write, a wait) go on.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        if (sigaction(kSignals[i], nullptr, &previous_[i]) != 0 || previous_[i].sa_handler == SIG_IGN)
            continue;
        handled_[i] = sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

TerminationSignals::~TerminationSignals()
{
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        if (handled_[i])
            sigaction(kSignals[i], &previous_[i], nullptr);
    if (readEnd_ < 0)
        return;
    delete notifier_;
    const int ownWriteEnd = writeEnd;
    writeEnd = -1;
    close(ownWriteEnd);
    close(readEnd_);
}

void TerminationSignals::ReadPipe()
{
    unsigned char number = 0;
    while (read(readEnd_, &number, 1) == 1)
        emit received(number);
}

} // namespace stambrix::app
