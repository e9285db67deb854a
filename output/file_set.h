#pragma once

#include <string>
#include <string_view>

namespace stambrix::output {

/// The files one index is made of. They are written one at a time (opened, written, closed) and
/// put in place together by Publish: until then nothing of them is visible, and a set that is not
/// published leaves what was there before as it was. Throws text::RunFailure.
class FileSet
{
public:
    virtual ~FileSet() = default;

    /// Starts the file `name`; a file started before and not closed is dropped.
    virtual void Open(std::string_view name) = 0;
    /// Appends `bytes` to the open file.
    virtual void Write(std::string_view bytes) = 0;
    /// Completes the open file.
    virtual void Close() = 0;
    /// Has the file `name` of an earlier run go when the set is published.
    virtual void Remove(std::string_view name) = 0;
    /// Puts every closed file in its place and removes the files to remove, all at once.
    virtual void Publish() = 0;

    /// True when a file `name` is there from before this set.
    virtual bool Holds(std::string_view name) const = 0;
    /// The file `name` as a message to the user names it.
    virtual std::string PathOf(std::string_view name) const = 0;
};

} // namespace stambrix::output
