#pragma once

#include <cstdint>

namespace stambrix::progress {

/// What a run reports of its progress, as counts and a duration: the texts the panels show are the
/// front end's (PanelTexts). The run reports through a ProgressThrottle, which decides how often
/// the counts come here.
class RunProgress
{
public:
    virtual ~RunProgress() = default;
    /// A run begins: nothing read, nothing written, no time yet; the panels show their default captions.
    virtual void Reset() = 0;
    /// The records the run has opened so far.
    virtual void RecordsRead(std::uint64_t records) = 0;
    /// The index entries the run has handed out so far.
    virtual void EntriesWritten(std::uint64_t entries) = 0;
    /// The persons the run left out as possibly alive or private, once the file is read; only a
    /// run that leaves them out reports it, and a front end that shows no such count ignores it.
    virtual void PersonsLeftOut(std::uint64_t /*persons*/) {}
    /// How long the run took, at its end.
    virtual void TimeElapsed(std::uint32_t milliseconds) = 0;
};

} // namespace stambrix::progress
