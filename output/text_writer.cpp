#include "output/text_writer.h"

#include "output/atomic_file.h"

#include <string>

namespace stambrix::output {

void WriteTextIndex(const IndexList& indexList, const std::filesystem::path& file, progress::StatusPanels& panels,
                    std::uint64_t& writtenCounter)
{
    AtomicFile output(file);
    for (const std::string_view line : indexList) {
        ++writtenCounter;
        panels.ShowWrittenStatus("geschreven : " + std::to_string(writtenCounter));
        output.Write(line);
        output.Write("\r\n");
    }
    output.Commit();
}

} // namespace stambrix::output
