// The text view's state: property checks, scroll keys and accelerated
// scrolling, the caret table, selections by keys, mouse and double click,
// scroll-bar mapping and width growth.
#include "viewers/view_model.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum {
namespace {

// A fixed-pitch font: 8 pixels a byte, tabs every 8 * tabStop pixels.
class FixedMeasure : public TextMeasure {
public:
    int tabStop = 8;
    int Width(std::string_view text) const override {
        int x = 0;
        for (char c : text) x = c == '\t' ? (x / (8 * tabStop) + 1) * (8 * tabStop) : x + 8;
        return x;
    }
};

std::string Numbered(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "line " + std::to_string(i) + "\r\n";
    return text;
}

class ViewModelTest : public testing::Test {
protected:
    void SetUp() override {
        m.SetGeometry(400, 160, 8, 16);  // 10 lines of 50 characters
    }
    void Text(const std::string& text) { m.SetText(TextBuffer::Copy(text)); }
    ViewChange Key(ViewKey k, bool shift = false, bool ctrl = false) { return m.KeyDown(k, shift, ctrl, now += 1000); }

    FixedMeasure measure;
    TViewModel m{measure};
    unsigned now = 100000;
};

TEST_F(ViewModelTest, PropertyChecks) {
    EXPECT_EQ(m.ScrollSense(), 1);
    EXPECT_TRUE(m.SetScrollSense(10));
    EXPECT_FALSE(m.SetScrollSense(11));
    EXPECT_EQ(m.ScrollSense(), 10);
    EXPECT_FALSE(m.SetScrollSense(0));
    EXPECT_EQ(m.ScrollSense(), 10);
    m.SetPCanLimit(-4);
    EXPECT_EQ(m.PCanLimit(), 0);
    m.SetPCanLimit(3);
    EXPECT_EQ(m.PCanLimit(), 3);
    EXPECT_FALSE(m.SetViewTabStop(-1));
    EXPECT_EQ(m.ViewTabStop(), 8);
    EXPECT_TRUE(m.SetViewTabStop(4));
    m.SetMaxChar(0);
    EXPECT_EQ(m.MaxChar(), 1);
    m.SetScrollBar(7);
    EXPECT_EQ(m.ScrollBar(), sbBoth);
}

TEST_F(ViewModelTest, ScrollKeysWithoutCaret) {
    Text(Numbered(100));
    // Without a vertical scroll bar the vertical keys are not the view's.
    EXPECT_FALSE(Key(ViewKey::Down).handled);
    EXPECT_EQ(m.TopLine(), 0);
    m.SetScrollBar(sbVertical);
    ASSERT_TRUE(m.SetScrollSense(3));
    EXPECT_EQ(Key(ViewKey::Down).scrolled, 1);
    EXPECT_EQ(m.TopLine(), 1);
    EXPECT_EQ(Key(ViewKey::PageDown).scrolled, 9);  // a page is the visible lines - 1
    EXPECT_EQ(Key(ViewKey::Down, false, true).scrolled, 9);
    EXPECT_EQ(m.TopLine(), 19);
    Key(ViewKey::End, false, true);
    EXPECT_EQ(m.TopLine(), 90);  // the last line at the bottom
    EXPECT_EQ(Key(ViewKey::Down).scrolled, 0);
    Key(ViewKey::PageUp);
    EXPECT_EQ(m.TopLine(), 81);
    Key(ViewKey::Home, false, true);
    EXPECT_EQ(m.TopLine(), 0);
    // Left and Right need a horizontal scroll bar.
    EXPECT_FALSE(Key(ViewKey::Right).handled);
}

TEST_F(ViewModelTest, AcceleratedScrolling) {
    Text(Numbered(100));
    m.SetScrollBar(sbVertical);
    ASSERT_TRUE(m.SetScrollSense(4));
    // Keys: more than 200 ms apart, one line each; closer, ScrollSense lines.
    unsigned t = 5000;
    EXPECT_EQ(m.KeyDown(ViewKey::Down, false, false, t).scrolled, 1);
    EXPECT_EQ(m.KeyDown(ViewKey::Down, false, false, t += 250).scrolled, 1);
    EXPECT_EQ(m.KeyDown(ViewKey::Down, false, false, t += 150).scrolled, 4);
    // Scroll-bar steps 250 ms apart: less than 300 ms, so ScrollSense lines.
    EXPECT_EQ(m.ScrollBarLine(1, t += 1000).scrolled, 1);
    EXPECT_EQ(m.ScrollBarLine(1, t += 250).scrolled, 4);
    EXPECT_EQ(m.ScrollBarLine(-1, t += 350).scrolled, -1);
    // The tick counter wraps round without a jump.
    EXPECT_EQ(m.ScrollBarLine(1, 0xFFFFFF00u).scrolled, 1);
    EXPECT_EQ(m.ScrollBarLine(1, 0x00000010u).scrolled, 4);
}

TEST_F(ViewModelTest, ShiftRightSelectsADoubleByteThenASingleByteCharacter) {
    Text("あa漢\r\n");
    m.SetCaretOn(true);
    m.PlaceCaret(TextPos{1, 0});
    Key(ViewKey::Right, true);
    EXPECT_EQ(m.Caret(), (TextPos{3, 0}));
    Key(ViewKey::Right, true);
    EXPECT_EQ(m.Caret(), (TextPos{4, 0}));
    EXPECT_EQ(m.SelStart(), (TextPos{1, 0}));
    ASSERT_TRUE(m.SelectedText().has_value());
    EXPECT_EQ(*m.SelectedText(), "あa");
    // Without Shift the selection goes.
    Key(ViewKey::Left);
    EXPECT_FALSE(m.HasSelection());
    EXPECT_EQ(m.Caret(), (TextPos{3, 0}));
    Key(ViewKey::Left);
    EXPECT_EQ(m.Caret(), (TextPos{1, 0}));
    Key(ViewKey::End);
    EXPECT_EQ(m.Caret(), (TextPos{6, 0}));
    Key(ViewKey::Right);
    EXPECT_EQ(m.Caret(), (TextPos{6, 0}));
    Key(ViewKey::Left);
    EXPECT_EQ(m.Caret(), (TextPos{4, 0}));
    // With selecting off, Shift moves nothing.
    m.SetSelect(false);
    Key(ViewKey::Home, true);
    EXPECT_EQ(m.Caret(), (TextPos{4, 0}));
    EXPECT_FALSE(m.HasSelection());
}

TEST_F(ViewModelTest, CaretTableMovesAndScrollsJustEnough) {
    Text(Numbered(30) + "abc\r\nあい\r\n");
    m.SetCaretOn(true);
    m.SetScrollBar(sbVertical);
    m.PlaceCaret(TextPos{3, 30});  // after "ab" of abc
    EXPECT_EQ(Key(ViewKey::Down).scrolled, 22);  // line 31 shown at the bottom
    EXPECT_EQ(m.TopLine(), 22);
    EXPECT_EQ(m.Caret(), (TextPos{3, 31}));  // the start of い
    // Column 2 falls inside あ: the caret goes to its start.
    m.PlaceCaret(TextPos{2, 30});
    Key(ViewKey::Down);
    EXPECT_EQ(m.Caret(), (TextPos{1, 31}));
    Key(ViewKey::Down);
    EXPECT_EQ(m.Caret().line, 31);  // not past the last line
    Key(ViewKey::PageUp);
    EXPECT_EQ(m.Caret().line, 22);
    EXPECT_EQ(m.TopLine(), 22);
    Key(ViewKey::Up);
    EXPECT_EQ(m.TopLine(), 21);  // one line up shows it at the top
    Key(ViewKey::Home, false, true);
    EXPECT_EQ(m.Caret().line, 0);
    EXPECT_EQ(m.TopLine(), 0);
    Key(ViewKey::End, true, true);
    EXPECT_EQ(m.Caret().line, 31);
    EXPECT_TRUE(m.HasSelection());
    // Ctrl+Down is not in the caret table: it scrolls a page.
    Key(ViewKey::Home, false, true);
    EXPECT_EQ(Key(ViewKey::Down, false, true).scrolled, 9);
    EXPECT_EQ(m.Caret().line, 0);
}

TEST_F(ViewModelTest, CaretScrollsSidewaysToStayVisible) {
    m.Lines().SetWrapWidth(300);
    Text(std::string(200, 'x') + "\r\n");
    m.SetCaretOn(true);
    m.SetScrollBar(sbBoth);
    EXPECT_EQ(m.MaxChar(), 255);
    m.PlaceCaret(TextPos{1, 0});
    Key(ViewKey::End);
    EXPECT_EQ(m.Caret().col, 201);
    EXPECT_GT(m.HOffset(), 0);
    EXPECT_GE(m.CaretX(), 0);
    EXPECT_LE(m.CaretX() + 2, 400);
    Key(ViewKey::Home);
    EXPECT_EQ(m.HOffset(), 0);
    EXPECT_EQ(m.CaretX(), 0);
}

TEST_F(ViewModelTest, SelectionTextJoinsLinesOfOneParagraph) {
    m.Lines().SetWrapWidth(4);
    Text("abcdefgh\r\nij\r\n");  // abcd efgh | ij
    m.SetSelection(TextPos{3, 0}, TextPos{3, 1});
    EXPECT_EQ(*m.SelectedText(), "cdef");
    m.SetSelection(TextPos{2, 2}, TextPos{3, 1});  // backwards
    EXPECT_EQ(*m.SelectedText(), "gh\r\ni");
    m.SetSelection(TextPos{1, 0}, TextPos{3, 2});
    EXPECT_EQ(*m.SelectedText(), "abcdefgh\r\nij");
    std::size_t from = 0, to = 0;
    EXPECT_TRUE(m.SelectedBytes(1, from, to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 4u);
    m.ClearSelection();
    EXPECT_EQ(m.SelectedText(), std::nullopt);
    m.SetSelection(TextPos{2, 0}, TextPos{2, 0});
    EXPECT_EQ(m.SelectedText(), std::nullopt);
}

TEST_F(ViewModelTest, DoubleClickSelectsWordsAndWholeCharacters) {
    Text("foo_bar1 あ表x+y\r\n");
    // bytes: f0 o1 o2 _3 b4 a5 r6 1(7) ' '8 あ9-10 表11-12 x13 +14 y15
    m.SelectWordAt(0, 5);
    EXPECT_EQ(*m.SelectedText(), "foo_bar1");
    // The trail byte of 表 (0x5C) selects the whole character.
    m.SelectWordAt(0, 12);
    EXPECT_EQ(*m.SelectedText(), "表");
    m.SelectWordAt(0, 9);
    EXPECT_EQ(*m.SelectedText(), "あ");
    // A letter next to a double-byte character is a word of its own.
    m.SelectWordAt(0, 13);
    EXPECT_EQ(*m.SelectedText(), "x");
    m.SelectWordAt(0, 14);
    EXPECT_EQ(*m.SelectedText(), "+");
    // Past the end: nothing changes.
    EXPECT_FALSE(m.SelectWordAt(0, 99).Any());
    // Pixels to bytes: the right half of 表 is its trail byte.
    EXPECT_EQ(m.ByteAt(0, 11 * 8 + 12), 12u);
    EXPECT_EQ(m.ByteAt(0, 11 * 8 + 2), 11u);
    EXPECT_EQ(m.ByteAt(0, 1000), 16u);
}

TEST_F(ViewModelTest, MousePositionsKeepDoubleByteCharactersWhole) {
    Text(Numbered(40) + "あいう\r\n" + Numbered(10));
    m.SetTopLine(35);
    // Line 40 is the sixth visible line; x 20 is inside い (16-31): nearer
    // its start.
    EXPECT_EQ(m.PositionAt(20, 5 * 16 + 3), (TextPos{3, 40}));
    EXPECT_EQ(m.PositionAt(28, 5 * 16), (TextPos{5, 40}));
    EXPECT_EQ(m.PositionAt(-5, 5 * 16), (TextPos{1, 40}));
    EXPECT_EQ(m.PositionAt(9999, 5 * 16), (TextPos{7, 40}));
    // Above the view: column 1 of the top line.
    EXPECT_EQ(m.PositionAt(100, -1), (TextPos{1, 35}));
    // With the view scrolled sideways the text moves left.
    m.SetScrollBar(sbBoth);
    ASSERT_TRUE(m.SetHOffset(2));
    EXPECT_EQ(m.PositionAt(0, 5 * 16), (TextPos{3, 40}));
    // Below the last line: the end of the last line.
    Text("xy\r\nあ\r\n");
    EXPECT_EQ(m.PositionAt(0, 5 * 16), (TextPos{3, 1}));
}

TEST_F(ViewModelTest, DragSelectsAndScrollsPastTheEdges) {
    Text(Numbered(100));
    m.SetTopLine(50);
    m.MouseDown(8, 0);
    EXPECT_TRUE(m.Dragging());
    EXPECT_EQ(m.Caret(), (TextPos{2, 50}));
    // Below the view: one line down per step, the selection end follows.
    EXPECT_TRUE(m.MouseMove(16, 170));
    ViewChange ch = m.AutoScrollStep(now);
    EXPECT_EQ(ch.scrolled, 1);
    EXPECT_EQ(m.TopLine(), 51);
    EXPECT_EQ(m.Caret().line, 61);  // the line under y 170
    EXPECT_TRUE(m.HasSelection());
    m.AutoScrollStep(now += 10);
    EXPECT_EQ(m.TopLine(), 52);
    // Above: one line up, the end at column 1 of the top line.
    m.MouseMove(16, -3);
    m.AutoScrollStep(now += 10);
    EXPECT_EQ(m.TopLine(), 51);
    EXPECT_EQ(m.Caret(), (TextPos{1, 51}));
    // Inside the view: no scrolling, nothing more to post.
    m.MouseMove(24, 16);
    EXPECT_EQ(m.AutoScrollStep(now += 10).scrolled, 0);
    m.MouseUp(24, 16);
    EXPECT_FALSE(m.Dragging());
    EXPECT_FALSE(m.MouseMove(0, 300));
    EXPECT_EQ(*m.SelectedText(), "ine 50\r\nline 51\r\nlin");
    EXPECT_FALSE(m.AutoScrollStep(now).Any());
}

TEST_F(ViewModelTest, LosingTheMouseEndsTheDragAndKeepsTheSelection) {
    Text(Numbered(100));
    m.MouseDown(8, 0);
    m.MouseMove(24, 16);
    m.AutoScrollStep(now);
    const TextPos end = m.Caret();
    m.EndDrag();
    EXPECT_FALSE(m.Dragging());
    EXPECT_FALSE(m.MouseMove(0, 300));
    EXPECT_FALSE(m.AutoScrollStep(now += 10).Any());
    EXPECT_EQ(m.Caret(), end);
    EXPECT_EQ(*m.SelectedText(), "ine 0\r\nlin");
}

TEST_F(ViewModelTest, WheelPartsAddUpToLines) {
    Text(Numbered(100));
    m.SetTopLine(50);
    // A precision touchpad: a quarter notch at a time, three lines a notch
    // (0.75, 1.5, 2.25, 3 lines).
    EXPECT_EQ(m.Wheel(-30, 3).scrolled, 0);
    EXPECT_EQ(m.Wheel(-30, 3).scrolled, 1);
    EXPECT_EQ(m.Wheel(-30, 3).scrolled, 1);
    EXPECT_EQ(m.Wheel(-30, 3).scrolled, 1);
    EXPECT_EQ(m.TopLine(), 53);
    // Whole notches, the system's lines a notch.
    EXPECT_EQ(m.Wheel(240, 5).scrolled, -10);
    EXPECT_EQ(m.Wheel(-120, 1).scrolled, 1);
    // A turn the other way drops what was left over.
    m.Wheel(-100, 1);
    EXPECT_EQ(m.Wheel(30, 1).scrolled, 0);
    EXPECT_EQ(m.Wheel(90, 1).scrolled, -1);
    // A page a notch, and no lines when the system says 0.
    EXPECT_EQ(m.Wheel(-120, TViewModel::kWheelPage).scrolled, m.Page());
    EXPECT_EQ(m.Wheel(-1200, 0).scrolled, 0);
    // Huge deltas stop at the ends.
    m.Wheel(-120 * 30000, 1000);
    EXPECT_EQ(m.TopLine(), m.MaxTop());
    m.Wheel(32767, TViewModel::kWheelPage);
    EXPECT_EQ(m.TopLine(), 0);
}

TEST_F(ViewModelTest, ScrollBarPositionsMapProportionally) {
    Text(Numbered(20));
    EXPECT_EQ(m.VScrollRange(), 10);
    m.SetTopLine(4);
    EXPECT_EQ(m.VScrollPos(), 4);
    EXPECT_EQ(m.TopLineOfScrollPos(7), 7);
    Text(Numbered(5));
    EXPECT_EQ(m.VScrollRange(), 1);  // at least 1
    EXPECT_EQ(m.VScrollPos(), 0);
    EXPECT_EQ(m.TopLineOfScrollPos(1), 0);
    // A long text: the range stays within a scroll message's 16 bits.
    std::vector<std::string> many(100010, "x");
    m.Assign(many);
    EXPECT_EQ(m.VScrollRange(), 32767);
    EXPECT_EQ(m.TopLineOfScrollPos(32767), 100000);
    EXPECT_EQ(m.TopLineOfScrollPos(0), 0);
    m.SetTopLine(50000);
    EXPECT_NEAR(m.TopLineOfScrollPos(m.VScrollPos()), 50000, 4);
}

TEST_F(ViewModelTest, WidthGrowth) {
    EXPECT_EQ(m.MaxChar(), 255);
    m.SetMaxChar(40);
    m.SetGeometry(480, 160, 8, 16);  // 60 characters wide
    EXPECT_EQ(m.MaxChar(), 61);
    // A longer line widens it; a line added while the end shows scrolls.
    Text(Numbered(10));
    EXPECT_EQ(m.AddLine(std::string(300, 'w')), 10);
    EXPECT_EQ(m.MaxChar(), 300);
    EXPECT_EQ(m.TopLine(), 1);
    m.SetTopLine(0);
    m.AddLine("more");
    EXPECT_EQ(m.TopLine(), 0);  // the end was not showing
    m.Lines().Set(0, std::string(400, 'z'));
    m.ListChanged();
    EXPECT_EQ(m.MaxChar(), 400);
}

TEST_F(ViewModelTest, TurnRightWrapsAtTheClientWidth) {
    m.SetGeometry(400, 32, 8, 16);  // 2 lines of 50 characters
    const std::string text = std::string(100, 'a') + "\r\n" + std::string(30, 'b') + "\r\n" + Numbered(5);
    Text(text);
    EXPECT_EQ(m.LineCount(), 8);  // 80 + 20, 30, five short lines
    EXPECT_TRUE(m.SetTurnRight(true));
    EXPECT_EQ(m.Lines().WrapWidth(), 50);
    EXPECT_EQ(m.LineCount(), 8);  // 50 + 50 now
    m.SetTopLine(2);
    EXPECT_TRUE(m.SetGeometry(160, 32, 8, 16));  // 20 characters
    EXPECT_EQ(m.LineCount(), 12);
    EXPECT_EQ(m.TopLine(), 5);  // still the first line of the second paragraph
    EXPECT_FALSE(m.SetGeometry(160, 64, 8, 16));
    EXPECT_TRUE(m.SetTurnRight(false));
    EXPECT_EQ(m.Lines().WrapWidth(), 80);
    EXPECT_EQ(m.Lines().GetText(), text);
}

}  // namespace
}  // namespace kestrum
