#include "app/run_reports.h"

#include <utility>

namespace stambrix::app {

namespace {
QByteArray BytesOf(std::string_view text)
{
    return {text.data(), static_cast<qsizetype>(text.size())};
}

std::string_view ViewOf(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}
} // namespace

template <typename Signal, typename Call> void RunReports::Forward(Signal signal, Call call)
{
    // Made on the run's thread, the calls are posted to this object's, in the order they were made.
    connect(this, signal, this, std::move(call), Qt::QueuedConnection);
}

RunReports::RunReports(progress::RunProgress& progress, progress::UserMessages& messages)
{
    Forward(&RunReports::reset, [&progress] { progress.Reset(); });
    Forward(&RunReports::recordsRead, [&progress](quint64 records) { progress.RecordsRead(records); });
    Forward(&RunReports::entriesWritten, [&progress](quint64 entries) { progress.EntriesWritten(entries); });
    Forward(&RunReports::personsLeftOut, [&progress](quint64 persons) { progress.PersonsLeftOut(persons); });
    Forward(&RunReports::timeElapsed, [&progress](quint32 milliseconds) { progress.TimeElapsed(milliseconds); });
    Forward(&RunReports::message, [&messages](const QByteArray& text) { messages.ShowMessage(ViewOf(text)); });
    Forward(&RunReports::fileNotCreated, [&messages](const QByteArray& path, const QByteArray& reason) {
        messages.ShowFileNotCreated(ViewOf(path), ViewOf(reason));
    });
    Forward(&RunReports::note, [&messages](const QByteArray& text) { messages.ShowNote(ViewOf(text)); });
}

void RunReports::Reset()
{
    emit reset();
}

void RunReports::RecordsRead(std::uint64_t records)
{
    emit recordsRead(records);
}

void RunReports::EntriesWritten(std::uint64_t entries)
{
    emit entriesWritten(entries);
}

void RunReports::PersonsLeftOut(std::uint64_t persons)
{
    emit personsLeftOut(persons);
}

void RunReports::TimeElapsed(std::uint32_t milliseconds)
{
    emit timeElapsed(milliseconds);
}

void RunReports::ShowMessage(std::string_view text)
{
    emit message(BytesOf(text));
}

void RunReports::ShowFileNotCreated(std::string_view path, std::string_view reason)
{
    emit fileNotCreated(BytesOf(path), BytesOf(reason));
}

void RunReports::ShowNote(std::string_view text)
{
    emit note(BytesOf(text));
}

} // namespace stambrix::app
