#include "engine/media/sheet_animation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media_world.h"

namespace {

// A strip or grid of 10 x 20 cells at (100, 50), stepping along columns.
SheetClipDesc Grid(int columns, int rows, SheetCell start, SheetCell end) {
    SheetClipDesc desc;
    desc.cellRight = 10;
    desc.cellBottom = 20;
    desc.originX = 100;
    desc.originY = 50;
    desc.startColumn = start.column;
    desc.startRow = start.row;
    desc.endColumn = end.column;
    desc.endRow = end.row;
    desc.currentColumn = start.column;
    desc.currentRow = start.row;
    desc.columns = columns;
    desc.rows = rows;
    desc.columnStep = 1;
    desc.frameTime = 0.1f;
    return desc;
}

std::string Cell(SheetCell cell) {
    return std::to_string(cell.column) + "," + std::to_string(cell.row);
}

TEST(SheetAnimationTest, SteppingTable) {
    struct Case {
        const char* name;
        SheetClipDesc desc;
        bool backward;
        bool pingPong;
        float playTime;
        float dt;
        std::vector<std::string> cells;  // after each update
        bool playingAtEnd;
        float everyOtherDt = 0.0f;  // when set, the second, fourth, ... update's dt
    };
    const SheetClipDesc strip = Grid(3, 1, {0, 0}, {2, 0});
    SheetClipDesc rows = Grid(3, 2, {0, 0}, {2, 1});
    rows.columnStep = 0;
    rows.rowStep = 1;
    const Case cases[] = {
        {"loop", strip, false, false, -1.0f, 0.1f, {"1,0", "2,0", "0,0", "1,0"}, true},
        {"ping-pong", strip, false, true, -1.0f, 0.1f, {"1,0", "2,0", "1,0", "0,0", "1,0"}, true},
        {"once", strip, false, false, 0.0f, 0.1f, {"1,0", "2,0", "2,0"}, false},
        {"ping-pong once",
         strip,
         false,
         true,
         0.0f,
         0.1f,
         {"1,0", "2,0", "1,0", "0,0", "0,0"},
         false},
        {"play time runs out", strip, false, false, 0.15f, 0.1f, {"1,0", "2,0", "2,0"}, false},
        {"backward loop", strip, true, false, -1.0f, 0.1f, {"1,0", "0,0", "2,0", "1,0"}, true},
        {"one step per update however long",
         strip,
         false,
         false,
         -1.0f,
         5.0f,
         {"1,0", "2,0", "0,0"},
         true},
        {"shorter than the frame time",
         strip,
         false,
         false,
         -1.0f,
         0.05f,
         {"0,0", "1,0", "1,0", "2,0"},
         true},
        // The step after 0.25 s keeps none of its 0.15 s overshoot.
        {"the timer drops its remainder",
         strip,
         false,
         false,
         -1.0f,
         0.25f,
         {"1,0", "1,0", "2,0", "2,0"},
         true,
         0.05f},
        {"start and end cell equal, endless",
         Grid(3, 1, {1, 0}, {1, 0}),
         false,
         false,
         -1.0f,
         0.1f,
         {"1,0", "1,0"},
         true},
        {"start and end cell equal, once",
         Grid(3, 1, {1, 0}, {1, 0}),
         false,
         false,
         0.0f,
         0.1f,
         {"1,0"},
         false},
        {"columns wrap onto the next row",
         Grid(4, 2, {2, 0}, {1, 1}),
         false,
         false,
         -1.0f,
         0.1f,
         {"3,0", "0,1", "1,1", "2,0"},
         true},
        {"backward wraps onto the row before",
         Grid(4, 2, {2, 0}, {1, 1}),
         true,
         false,
         -1.0f,
         0.1f,
         {"0,1", "3,0", "2,0", "1,1"},
         true},
        {"rows wrap onto the next column",
         rows,
         false,
         false,
         -1.0f,
         0.1f,
         {"0,1", "1,0", "1,1", "2,0", "2,1", "0,0"},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSheetAnimation a;
        a.AddClip(c.desc);
        ASSERT_TRUE(c.backward ? a.PlayBackward(0, true, true, c.playTime)
                               : a.Play(0, true, c.pingPong, c.playTime));
        std::vector<std::string> seen;
        for (std::size_t i = 0; i < c.cells.size(); ++i) {
            a.Update(i % 2 == 1 && c.everyOtherDt > 0.0f ? c.everyOtherDt : c.dt);
            seen.push_back(Cell(a.GetCurrentCell(0)));
        }
        EXPECT_EQ(seen, c.cells);
        EXPECT_EQ(a.IsPlaying(-1), c.playingAtEnd);
    }
}

TEST(SheetAnimationTest, TheRectangleFollowsTheCellAndItsOffsets) {
    CSheetAnimation a;
    a.AddClip(Grid(4, 2, {0, 0}, {3, 1}));
    // Until the first step the described cell shows at the grid origin.
    const backend::Rect& rect = a.GetClip(0)->source;
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.right, 110);
    EXPECT_EQ(rect.bottom, 70);
    EXPECT_FALSE(a.IsPlaying(-1));  // a new animation stays stopped

    ASSERT_TRUE(a.SetCurrentCell(0, 2, 1));
    EXPECT_EQ(rect.left, 120);
    EXPECT_EQ(rect.right, 130);
    EXPECT_EQ(rect.top, 70);
    EXPECT_EQ(rect.bottom, 90);
    // A clip stepping along columns shifts each row by its own offset.
    a.SetCellOffset(0, 1, 3, 4);
    EXPECT_EQ(rect.left, 117);
    EXPECT_EQ(rect.top, 66);
    a.SetCellOffset(0, 20, 9, 9);  // ignored
    EXPECT_EQ(rect.left, 117);
    // Stepping along both, the column's offset wins over the row's.
    SheetClipDesc diagonal = Grid(4, 2, {0, 0}, {3, 1});
    diagonal.rowStep = 1;
    CSheetAnimation both;
    both.AddClip(diagonal);
    both.SetCellOffset(0, 1, 3, 4);  // row 1
    both.SetCellOffset(0, 2, 5, 6);  // column 2
    ASSERT_TRUE(both.SetCurrentCell(0, 2, 1));
    EXPECT_EQ(both.GetClip(0)->source.left, 115);
    EXPECT_EQ(both.GetClip(0)->source.top, 64);
    a.SetCurrentClip(0);
    a.RewindToStart();
    EXPECT_EQ(Cell(a.GetCurrentCell(0)), "0,0");
    EXPECT_EQ(rect.left, 100);
    a.RewindToEnd();
    EXPECT_EQ(Cell(a.GetCurrentCell(0)), "3,1");
    EXPECT_EQ(Cell(a.GetCurrentCell(5)), "0,0");
    EXPECT_FALSE(a.SetCurrentCell(5, 1, 1));
}

TEST(SheetAnimationTest, StepForwardNeverStopsAndTheTimerIsShared) {
    CSheetAnimation a;
    a.AddClip(Grid(3, 1, {0, 0}, {2, 0}));
    a.AddClip(Grid(3, 1, {0, 0}, {2, 0}));
    a.SetCurrentClip(0);
    a.RewindToEnd();
    a.StepForward();  // where Update would stop, the cell stays
    EXPECT_EQ(Cell(a.GetCurrentCell(0)), "2,0");
    EXPECT_FALSE(a.IsPlaying(-1));

    ASSERT_TRUE(a.Play(0, true, false, -1.0f));
    a.Update(0.06f);
    // The next clip inherits the running timer: its first step comes early.
    ASSERT_TRUE(a.Play(1, true, false, -1.0f));
    a.Update(0.06f);
    EXPECT_EQ(Cell(a.GetCurrentCell(1)), "1,0");
    EXPECT_TRUE(a.IsPlaying(1));
    EXPECT_FALSE(a.IsPlaying(0));
    a.StopAtEnd();
    a.Update(0.1f);
    a.Update(0.1f);
    EXPECT_FALSE(a.IsPlaying(-1));
    EXPECT_EQ(Cell(a.GetCurrentCell(1)), "2,0");
}

TEST(SheetAnimationTest, FrameIndexCountAndSwitching) {
    CSheetAnimation a;
    EXPECT_FALSE(a.SwitchClip(0));  // nothing at all
    a.AddClip(Grid(4, 2, {0, 0}, {3, 1}));
    SheetClipDesc down = Grid(2, 3, {1, 0}, {1, 2});
    down.columnStep = 0;
    down.rowStep = 1;
    a.AddClip(down);
    SheetClipDesc still = Grid(4, 0, {0, 0}, {3, 0});
    a.AddClip(still);
    EXPECT_EQ(a.GetFrameCount(0), 8);
    EXPECT_EQ(a.GetFrameCount(1), 6);
    EXPECT_EQ(a.GetFrameCount(3), -1);
    still.columnStep = 0;
    a.AddClip(still);
    EXPECT_EQ(a.GetFrameCount(3), -1);

    ASSERT_TRUE(a.SetCurrentCell(0, 1, 1));
    EXPECT_EQ(a.GetFrameIndex(0), 3);
    EXPECT_EQ(a.GetFrameIndex(7), -1);
    ASSERT_TRUE(a.Play(0, false, true, 2.0f));
    // Index 3 in a grid of 3 rows starting at column 1: column 2, row 0.
    ASSERT_TRUE(a.SwitchClip(1));
    EXPECT_EQ(a.GetCurrentClip(), 1);
    EXPECT_EQ(Cell(a.GetCurrentCell(1)), "2,0");
    EXPECT_TRUE(a.GetClip(1)->pingPong);
    EXPECT_FLOAT_EQ(a.GetClip(1)->playTime, 2.0f);
    // A grid of no rows cannot take a frame index.
    EXPECT_FALSE(a.SwitchClip(2));
    EXPECT_EQ(a.GetCurrentClip(), 1);
    EXPECT_FALSE(a.SwitchClip(9));
}

class SheetAnimationDrawTest : public media_test::MediaWorldTest {};

TEST_F(SheetAnimationDrawTest, TheCurrentCellIsDrawnOnWholePixelsEvenWhenStopped) {
    Start("<Resources/>");
    AddImage("SHEET", 512, 256);
    CSheetAnimation a;
    EXPECT_EQ(a.Draw({1.0f, 1.0f}, 0xFFFFFFFF), RESULT_FAIL);  // no clip
    SheetClipDesc desc = Grid(4, 2, {0, 0}, {3, 1});
    desc.imageId = "SHEET";
    desc.offsetX = 0.3f;
    desc.scaleX = 2.0f;
    a.AddClip(desc);
    a.SetPosition(10.0f, 20.6f);
    a.SetScale(1.0f, -1.0f);
    a.SetClipCrop(0, 2, 1, 3, 4);
    ASSERT_EQ(a.Draw({1.5f, 1.5f}, 0xFF00FF00), RESULT_OK);
    ASSERT_EQ(device.draws.size(), 1u);
    const media_test::RecordedDraw& draw = device.draws[0];
    EXPECT_FLOAT_EQ(draw.translation.x, 15.0f + 2 * 1.5f);  // trunc(10.3 x 1.5) + crop
    EXPECT_FLOAT_EQ(draw.translation.y, 30.0f + 3 * 1.5f);  // trunc(20.6 x 1.5) + crop
    EXPECT_FLOAT_EQ(draw.scale.x, 3.0f);
    EXPECT_FLOAT_EQ(draw.scale.y, -1.5f);
    EXPECT_EQ(draw.source->left, 102);
    EXPECT_EQ(draw.source->top, 53);
    EXPECT_EQ(draw.source->right, 111);
    EXPECT_EQ(draw.source->bottom, 74);

    a.Stop();
    EXPECT_EQ(a.DrawAdditive(&device, {1.0f, 1.0f}, 0xFFFFFFFF), RESULT_OK);
    ASSERT_EQ(device.draws.size(), 2u);
    EXPECT_EQ(device.draws[1].blend, backend::BlendMode::Additive);
}

}  // namespace
