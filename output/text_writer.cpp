#include "output/text_writer.h"

#include "output/atomic_file.h"

#include <string>

namespace stambrix::output {

void WriteTextIndex(const IndexList& indexList, const std::filesystem::path& file, progress::StatusPanels& panels,
                    std::uint64_t& writtenCounter)
{
    AtomicFile output(file);
    std::string writtenText;
    for (const std::string_view line : indexList) {
        ++writtenCounter;
        writtenText.assign("geschreven : ").append(std::to_string(writtenCounter));
        panels.ShowWrittenStatus(writtenText);
        output.Write(line);
        output.Write("\r\n");
    }
    output.Commit();
}

} // namespace stambrix::output
