// The NUL-separated path list.
#include "common/pathlist.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(PathListTest, BlockIsDoubleNulTerminated) {
    PathList list({"C:\\a.txt", "", "C:\\表"});
    EXPECT_EQ(list.Count(), 2u);  // the empty path would end the list early
    const std::string block = list.Block();
    EXPECT_EQ(block, std::string("C:\\a.txt\0C:\\表\0\0", 16));
    EXPECT_EQ(PathList::Parse(list.Data(), block.size()),
              (std::vector<std::string>{"C:\\a.txt", "C:\\表"}));
    EXPECT_EQ(PathList().Block(), std::string("\0\0", 2));
    EXPECT_TRUE(PathList::Parse(PathList().Data(), 2).empty());
}

TEST(PathListTest, ParseStaysInsideTheBuffer) {
    const char unterminated[] = {'a', 'b', '\0', 'c', 'd'};
    EXPECT_EQ(PathList::Parse(unterminated, sizeof unterminated), (std::vector<std::string>{"ab", "cd"}));
    EXPECT_TRUE(PathList::Parse(nullptr, 10).empty());
}

}  // namespace
}  // namespace kestrum
