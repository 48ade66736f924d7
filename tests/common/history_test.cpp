// AddToHistory: order, duplicates, drive-only texts and the limit.
#include "common/history.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(HistoryTest, NewestFirstWithoutCaseInsensitiveDuplicates) {
    std::vector<std::string> h = {"ls", "CD \\TEMP", "cp a b"};
    AddToHistory(h, "cd \\temp");
    EXPECT_EQ(h, (std::vector<std::string>{"cd \\temp", "ls", "cp a b"}));
}

TEST(HistoryTest, DriveOnlyTextsAreNotRecordedUnlessPlain) {
    std::vector<std::string> h;
    for (const char* t : {"", "c", "c:", "C:\\"}) AddToHistory(h, t);
    EXPECT_TRUE(h.empty());
    AddToHistory(h, "c:", true);
    EXPECT_EQ(h, (std::vector<std::string>{"c:"}));
    AddToHistory(h, "c:\\work");
    EXPECT_EQ(h.front(), "c:\\work");
}

TEST(HistoryTest, CutToTheLimit) {
    std::vector<std::string> h;
    for (int i = 0; i < 30; ++i) AddToHistory(h, "cmd" + std::to_string(i));
    ASSERT_EQ(h.size(), kHistoryLimit);
    EXPECT_EQ(h.front(), "cmd29");
    EXPECT_EQ(h.back(), "cmd6");
}

}  // namespace
}  // namespace kestrum
