// The aligning panel's layout and the divider's sizes, without windows.
#include "common/panels.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

PanelRect Box(int w, int h) { return PanelRect{0, 0, w, h}; }

TEST(AlignChildren, EdgesTakeTheirStripsInOrderAndTheClientTheRest) {
    const PanelRect client{0, 0, 200, 100};
    const std::vector<AlignedChild> children{
        {TAlign::Left, Box(30, 5)},   {TAlign::Top, Box(7, 10)},       {TAlign::Right, Box(20, 5)},
        {TAlign::Bottom, Box(9, 15)}, {TAlign::Client, Box(1, 1)},     {TAlign::None, {5, 6, 25, 36}},
    };
    const std::vector<PanelRect> want{
        {0, 0, 30, 100},     // the whole height
        {30, 0, 200, 10},    // across what the left one left
        {180, 10, 200, 100}, // below the top one
        {30, 85, 180, 100},  // between left and right
        {30, 10, 180, 85},   // what is left
        {5, 6, 25, 36},      // untouched
    };
    EXPECT_EQ(AlignChildren(client, children), want);
}

TEST(AlignChildren, OrderDecidesWhoSpansTheCorner) {
    const PanelRect client{0, 0, 100, 80};
    EXPECT_EQ(AlignChildren(client, {{TAlign::Top, Box(1, 20)}, {TAlign::Left, Box(10, 1)}}),
              (std::vector<PanelRect>{{0, 0, 100, 20}, {0, 20, 10, 80}}));
    EXPECT_EQ(AlignChildren(client, {{TAlign::Left, Box(10, 1)}, {TAlign::Top, Box(1, 20)}}),
              (std::vector<PanelRect>{{0, 0, 10, 80}, {10, 0, 100, 20}}));
}

TEST(AlignChildren, AClientChildBeforeTheEdgesStillGetsWhatTheyLeave) {
    const PanelRect client{8, 40, 208, 140};
    EXPECT_EQ(AlignChildren(client, {{TAlign::Client, Box(1, 1)}, {TAlign::Right, Box(50, 1)}}),
              (std::vector<PanelRect>{{8, 40, 158, 140}, {158, 40, 208, 140}}));
}

TEST(AlignChildren, EdgesWiderThanThePanelLeaveNoRoomButNoNegativeSizes) {
    const std::vector<PanelRect> r =
        AlignChildren(Box(100, 50), {{TAlign::Left, Box(80, 1)}, {TAlign::Left, Box(60, 1)},
                                      {TAlign::Top, Box(1, 70)}, {TAlign::Client, Box(1, 1)}});
    EXPECT_EQ(r[1], (PanelRect{80, 0, 140, 50}));  // keeps its width beyond the edge
    EXPECT_EQ(r[2].Width(), 0);
    EXPECT_EQ(r[3].Width(), 0);
    EXPECT_EQ(r[3].Height(), 0);
    EXPECT_TRUE(AlignChildren(Box(10, 10), {}).empty());
}

TEST(Split, TheDraggedEdgeAndTheHostsNewSizeForEachAlignment) {
    const PanelRect host{10, 20, 110, 70};  // 100 wide, 50 high
    struct Case {
        TAlign align;
        int edge;        // the edge the divider moves
        int draggedTo;
        int size;        // the host's width or height then
    };
    for (const Case& c : {Case{TAlign::Left, 110, 140, 130}, Case{TAlign::Right, 10, 0, 110},
                          Case{TAlign::Top, 70, 60, 40}, Case{TAlign::Bottom, 20, 30, 40},
                          Case{TAlign::None, 110, 40, 30}}) {
        SCOPED_TRACE(static_cast<int>(c.align));
        EXPECT_EQ(SplitEdge(c.align, host), c.edge);
        EXPECT_EQ(SplitHostSize(c.align, host, c.edge), c.align == TAlign::Top || c.align == TAlign::Bottom ? 50 : 100);
        EXPECT_EQ(SplitHostSize(c.align, host, c.draggedTo), c.size);
    }
    // Past the host's far side nothing is left, never less.
    EXPECT_EQ(SplitHostSize(TAlign::Left, host, -1000), 0);
    EXPECT_EQ(SplitHostSize(TAlign::Right, host, 1000), 0);
    EXPECT_EQ(SplitHostSize(TAlign::Top, host, 0), 0);
    EXPECT_EQ(SplitHostSize(TAlign::Bottom, host, 500), 0);
}

}  // namespace
}  // namespace kestrum
