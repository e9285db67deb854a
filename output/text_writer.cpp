#include "output/text_writer.h"

#include "output/atomic_file.h"
#include "output/written_counter.h"

#include <string>

namespace stambrix::output {

void WriteTextIndex(const IndexList& indexList, const std::filesystem::path& file, progress::StatusPanels& panels,
                    std::uint64_t& writtenCounter)
{
    AtomicFile output(file);
    WrittenCounter counter(panels, writtenCounter);
    for (const std::string_view line : indexList) {
        counter.Count();
        output.Write(line);
        output.Write("\r\n");
    }
    output.Commit();
}

} // namespace stambrix::output
