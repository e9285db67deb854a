#pragma once

#include <array>

#include <QObject>

#include <signal.h>

class QSocketNotifier;

namespace stambrix::app {

/// SIGINT, SIGTERM and SIGHUP (Ctrl-C, `kill`, the end of the session) as the Qt signal `received` on
/// the thread that made this object: a handler writes the signal's number into a pipe, whatever thread
/// the system gives it to, and a QSocketNotifier reads it here. A signal the program was started with
/// ignored (as nohup starts it with SIGHUP) stays ignored. One object at a time; the handlers it put in
/// place go with it. Where no pipe can be made, the signals end the program as they did before.
class TerminationSignals final : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

signals:
    void received(int signalNumber);

private:
    void ReadPipe();

    static constexpr std::array<int, 3> kSignals{SIGINT, SIGTERM, SIGHUP};

    int readEnd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    std::array<bool, kSignals.size()> handled_{};
    std::array<struct sigaction, kSignals.size()> previous_{};
};

/// The exit code of a program ended by `signalNumber`, as a shell reports one killed by it: 128 + the number.
constexpr int ExitCodeFor(int signalNumber)
{
    return 128 + signalNumber;
}

} // namespace stambrix::app
