// Cursor keys on the grid: edges, pages and wrapping.
#include "filer/cursor_moves.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

FileListModel Listing(int count, int rows = 3, int cols = 2) {
    const std::vector<std::string> masks = {"0*.*"};
    DisplayOptions o;
    FileListModel m;
    for (int i = 0; i < count; ++i) {
        FindRecord f;
        f.name = std::string(1, static_cast<char>('a' + i % 26)) + std::to_string(i);
        m.Offer(f, {true, &masks}, o);
    }
    m.SetGrid(rows, cols);
    m.PlaceCursor(0);
    return m;
}

TEST(CursorMovesTest, DownRunsThroughColumnsPagesAndWraps) {
    FileListModel m = Listing(8);  // pages of 6: [0..5] [6..7]
    CursorSettings s;
    for (int i = 1; i <= 5; ++i) {
        EXPECT_FALSE(MoveDown(m, s));
        EXPECT_EQ(m.CursorIndex(), i);
    }
    EXPECT_TRUE(MoveDown(m, s));  // next page, cell 0
    EXPECT_EQ(m.CursorIndex(), 6);
    MoveDown(m, s);
    EXPECT_EQ(m.CursorIndex(), 7);
    MoveDown(m, s);  // last entry of the last page: back to entry 0
    EXPECT_EQ(m.CursorIndex(), 0);
    s.cursorLoop = false;
    m.PlaceCursor(7);
    MoveDown(m, s);
    EXPECT_EQ(m.CursorIndex(), 7);
    s.cursorMode = false;
    m.PlaceCursor(5);
    MoveDown(m, s);  // cell 0 of the same page
    EXPECT_EQ(m.CursorIndex(), 0);
}

TEST(CursorMovesTest, UpAtTheTop) {
    FileListModel m = Listing(8);
    CursorSettings s;
    MoveUp(m, s);
    EXPECT_EQ(m.CursorIndex(), 7);  // loop to the last entry
    s.cursorLoop = false;
    m.PlaceCursor(0);
    MoveUp(m, s);
    EXPECT_EQ(m.CursorIndex(), 0);
    s.cursorMode = false;
    MoveUp(m, s);  // the last used cell of the first page
    EXPECT_EQ(m.CursorIndex(), 5);
    m.PlaceCursor(6);
    s.cursorMode = true;
    EXPECT_TRUE(MoveUp(m, s));  // previous page, its last used cell
    EXPECT_EQ(m.CursorIndex(), 5);
    m.PlaceCursor(3);  // column 1, row 0: up goes to the previous column's last row
    MoveUp(m, s);
    EXPECT_EQ(m.CursorIndex(), 2);
}

TEST(CursorMovesTest, LeftAndRight) {
    FileListModel m = Listing(8);
    CursorSettings s;
    m.PlaceCursor(1);
    MoveRight(m, s);
    EXPECT_EQ(m.CursorIndex(), 4);
    MoveRight(m, s);  // last column: back to column 0 on the same row
    EXPECT_EQ(m.CursorIndex(), 1);
    MoveLeft(m, s);  // column 0: the last column of the row
    EXPECT_EQ(m.CursorIndex(), 4);
    s.cursorKeyMode = true;
    EXPECT_TRUE(MoveRight(m, s));  // turns the page, keeps the row but not past the last entry
    EXPECT_EQ(m.CursorIndex(), 7);
    EXPECT_TRUE(MoveLeft(m, s));
    EXPECT_EQ(m.PageTop(), 0);
}

TEST(CursorMovesTest, PagingKeys) {
    FileListModel m = Listing(8);
    m.PlaceCursor(2);
    EXPECT_TRUE(PageDownKey(m));
    EXPECT_EQ(m.CursorIndex(), 6);
    PageDownKey(m);  // on the last page: the last entry
    EXPECT_EQ(m.CursorIndex(), 7);
    EXPECT_TRUE(PageUpKey(m));
    EXPECT_EQ(m.CursorIndex(), 0);
    EXPECT_FALSE(PageUpKey(m));
    EXPECT_EQ(m.CursorIndex(), 0);
}

TEST(CursorMovesTest, InitialLetterJumpsWrapping) {
    FileListModel m = Listing(30, 10, 1);
    m.PlaceCursor(3);
    EXPECT_EQ(FindByInitial(m, 'c'), 28);  // "c28" after the cursor, not "c2" before it
    m.PlaceCursor(28);
    EXPECT_EQ(FindByInitial(m, 'C'), 2);
    EXPECT_EQ(FindByInitial(m, 'z'), 25);
    EXPECT_EQ(FindByInitial(Listing(0), 'a'), -1);
}

}  // namespace
}  // namespace kestrum
