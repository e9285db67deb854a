#pragma once

#include "output/file_set.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace stambrix::output {

/// The files of an index held in memory, for the pipeline without a disk (tests, fuzzing).
class MemoryFiles final : public FileSet
{
public:
    void Open(std::string_view name) override { open_ = {std::string(name), {}}; }
    void Write(std::string_view bytes) override { open_.second.append(bytes); }
    void Close() override { closed_.push_back(std::move(open_)); }
    void Remove(std::string_view name) override { removed_.emplace_back(name); }
    void Publish() override
    {
        for (auto& [name, bytes] : closed_)
            files[name] = std::move(bytes);
        for (const std::string& name : removed_)
            files.erase(name);
        closed_.clear();
        removed_.clear();
    }
    bool Holds(std::string_view name) const override { return files.contains(std::string(name)); }
    std::string PathOf(std::string_view name) const override { return std::string(name); }

    /// The published files by name.
    std::map<std::string, std::string> files;

private:
    std::pair<std::string, std::string> open_;
    std::vector<std::pair<std::string, std::string>> closed_;
    std::vector<std::string> removed_;
};

} // namespace stambrix::output
