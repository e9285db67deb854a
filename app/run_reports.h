#pragma once

#include "progress/run_progress.h"
#include "progress/user_messages.h"

#include <cstdint>
#include <string_view>

#include <QByteArray>
#include <QObject>

namespace stambrix::app {

/// What a run reports on the thread that runs it, handed to `progress` and `messages` on the thread
/// that made this object (the window's) by queued signals: the same calls, in the order the run made
/// them, with the bytes of every text as it gave them. The object stays on the thread that made it.
class RunReports final : public QObject, public progress::RunProgress, public progress::UserMessages
{
    Q_OBJECT

public:
    RunReports(progress::RunProgress& progress, progress::UserMessages& messages);

    void Reset() override;
    void RecordsRead(std::uint64_t records) override;
    void EntriesWritten(std::uint64_t entries) override;
    void PersonsLeftOut(std::uint64_t persons) override;
    void TimeElapsed(std::uint32_t milliseconds) override;
    void ShowMessage(std::string_view text) override;
    void ShowFileNotCreated(std::string_view path, std::string_view reason) override;
    void ShowNote(std::string_view text) override;

signals:
    void reset();
    void recordsRead(quint64 records);
    void entriesWritten(quint64 entries);
    void personsLeftOut(quint64 persons);
    void timeElapsed(quint32 milliseconds);
    void message(const QByteArray& text);
    void fileNotCreated(const QByteArray& path, const QByteArray& reason);
    void note(const QByteArray& text);

private:
    /// Makes `call` on this object's thread for every `signal`, queued.
    template <typename Signal, typename Call> void Forward(Signal signal, Call call);
};

} // namespace stambrix::app
