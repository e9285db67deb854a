#include "output/text_writer.h"

namespace stambrix::output {

void WriteTextIndex(const index::IndexList& indexList, FileSet& files, std::string_view name, WrittenCounter& counter)
{
    files.Open(name);
    index::VisitLines(indexList, [&](std::string_view line) {
        counter.Count();
        files.Write(line);
        files.Write("\r\n");
    });
    files.Close();
}

} // namespace stambrix::output
