#include "scan/index_list.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace stambrix::scan {
namespace {

TEST(IndexList, ReorderPutsTheLinesInTheGivenOrder)
{
    IndexList list;
    // Lines large and many enough to need several blocks; the views must stay valid as blocks are added.
    std::vector<std::string> lines;
    for (int i = 0; i < 3000; ++i)
        lines.push_back(std::string(700, static_cast<char>('a' + i % 26)) + std::to_string(i));
    lines.push_back(std::string(2 * 1024 * 1024 + 3, 'L'));
    lines.push_back("");
    lines.push_back("laatste");
    for (const std::string& line : lines)
        list.Add(line);
    ASSERT_EQ(list.size(), lines.size());

    std::vector<std::size_t> order(lines.size());
    std::iota(order.rbegin(), order.rend(), 0u);
    std::swap(order[0], order[1]);
    list.Reorder(order);

    ASSERT_EQ(list.size(), lines.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        ASSERT_TRUE(list[i] == lines[order[i]]) << "line " << i << " is not the former line " << order[i];
}

} // namespace
} // namespace stambrix::scan
