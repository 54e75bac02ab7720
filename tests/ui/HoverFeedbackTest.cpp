// The pointer over the main window: which tile frame is shown red and what status panel 0 says,
// moving from element to element with real WM_MOUSEMOVE messages addressed to whichever window
// lies under the point.
#include "testkit/KelvaneWindowsTest.h"

#include <string>

namespace {

const char kTitle[] = "系统优化Kelvane";
const char* const kTileStatus[5] = {
    "检测并显示系统信息",
    "系统内部优化达到最佳的运行状态",
    "优化网络配置使上网速度达到最快",
    "清理系统内部的垃圾文件和垃圾信息",
    "网络自动修复、IE修复、广告拦截",
};

std::string OnlyTile(int tile)
{
    std::string frames(5, '0');
    if (tile >= 0)
        frames[static_cast<size_t>(tile)] = '1';
    return frames;
}

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kTileFill = RGB(134, 216, 247);

class HoverFeedback : public KelvaneWindowsTest {
protected:
    // The frames as the screen shows them: a highlighted frame has a red outline two pixels
    // wide, a normal one a black outline one pixel wide. Read at column 80 of each frame's top
    // edge, clear of labels and icons. '?' for anything else.
    std::string PaintedFrames()
    {
        ::UpdateWindow(Main());
        std::string frames;
        for (int tile = 0; tile < 5; ++tile) {
            const int top = 79 + 32 * tile;
            const COLORREF edge = probe::PixelAt(Main(), 80, top);
            const COLORREF inner = probe::PixelAt(Main(), 80, top + 1);
            if (edge == kRed && inner == kRed)
                frames += '1';
            else if (edge == kBlack && inner == kTileFill)
                frames += '0';
            else
                frames += '?';
        }
        return frames;
    }

    void ExpectState(const std::string& frames, const std::string& status)
    {
        EXPECT_EQ(Frames(), frames);
        EXPECT_EQ(Status(), status);
    }

    void HighlightTile(int tile)
    {
        MoveTo(kTilePoints[tile].label.x, kTilePoints[tile].label.y);
        ASSERT_EQ(Frames(), OnlyTile(tile));
    }
};

TEST_F(HoverFeedback, StartsWithAllFramesNormalAndTheTitle)
{
    ExpectState("00000", kTitle);
    EXPECT_EQ(PaintedFrames(), "00000");
}

TEST_F(HoverFeedback, EachTileLabelHighlightsItsOwnFrameAndExplainsItsCommand)
{
    for (int tile = 0; tile < 5; ++tile) {
        SCOPED_TRACE(kTilePoints[tile].name);
        MoveTo(kTilePoints[tile].label.x, kTilePoints[tile].label.y);
        ExpectState(OnlyTile(tile), kTileStatus[tile]);
        EXPECT_EQ(PaintedFrames(), OnlyTile(tile));
    }
}

TEST_F(HoverFeedback, HighlightedFrameIsRedTwoPixelsAndNormalFrameBlackOnePixel)
{
    // Shape2 spans columns 17 to 122 and rows 111 to 135.
    MoveTo(kTilePoints[1].label.x, kTilePoints[1].label.y);
    ::UpdateWindow(Main());
    EXPECT_EQ(probe::PixelAt(Main(), 17, 120), kRed);
    EXPECT_EQ(probe::PixelAt(Main(), 18, 120), kRed);
    EXPECT_EQ(probe::PixelAt(Main(), 19, 120), kTileFill);
    EXPECT_EQ(probe::PixelAt(Main(), 122, 135), kRed);
    EXPECT_EQ(probe::PixelAt(Main(), 121, 134), kRed);
    EXPECT_EQ(probe::PixelAt(Main(), 16, 120), ::GetSysColor(COLOR_BTNFACE)) << "the outline stays inside the frame";

    MoveTo(138, 150);  // window background
    ::UpdateWindow(Main());
    EXPECT_EQ(probe::PixelAt(Main(), 17, 120), kBlack);
    EXPECT_EQ(probe::PixelAt(Main(), 18, 120), kTileFill);
    EXPECT_EQ(probe::PixelAt(Main(), 122, 135), kBlack);
    EXPECT_EQ(probe::PixelAt(Main(), 121, 134), kTileFill);
}

TEST_F(HoverFeedback, MovingFromLabel3ToLabel4TurnsShape2BackAndShape3Red)
{
    HighlightTile(1);
    EXPECT_EQ(PaintedFrames(), "01000");
    MoveTo(kTilePoints[2].label.x, kTilePoints[2].label.y);
    ExpectState("00100", kTileStatus[2]);
    EXPECT_EQ(PaintedFrames(), "00100");
}

TEST_F(HoverFeedback, WindowBackgroundRestoresAllFramesAndTheTitle)
{
    for (POINT background : {POINT{138, 150}, POINT{8, 150}, POINT{70, 240}, POINT{300, 247}}) {
        SCOPED_TRACE(std::to_string(background.x) + "," + std::to_string(background.y));
        HighlightTile(3);
        MoveTo(background.x, background.y);
        ExpectState("00000", kTitle);
        EXPECT_EQ(PaintedFrames(), "00000");
    }
}

TEST_F(HoverFeedback, IconOverItsLabelKeepsTheHighlightMadeOnTheLabel)
{
    for (int tile = 0; tile < 5; ++tile) {
        SCOPED_TRACE(kTilePoints[tile].name);
        MoveTo(kTilePoints[tile].label.x, kTilePoints[tile].label.y);
        MoveTo(kTilePoints[tile].iconOverLabel.x, kTilePoints[tile].iconOverLabel.y);
        ExpectState(OnlyTile(tile), kTileStatus[tile]);
        EXPECT_EQ(PaintedFrames(), OnlyTile(tile));
    }
}

TEST_F(HoverFeedback, IconReachedFromElsewhereMakesNoHighlight)
{
    for (int tile = 0; tile < 5; ++tile) {
        SCOPED_TRACE(kTilePoints[tile].name);
        MoveTo(138, 150);
        MoveTo(kTilePoints[tile].iconOverLabel.x, kTilePoints[tile].iconOverLabel.y);
        ExpectState("00000", kTitle);
    }
    // An icon's lower rows lie over the next tile's frame, not its label: still nothing.
    MoveTo(40, 113);  // Image2 over Shape2
    ExpectState("00000", kTitle);
}

TEST_F(HoverFeedback, DividerNextToLabel2KeepsTheHighlightAndTheStripBeyondRestores)
{
    // Label2 reaches column 125; the divider Bevel1 takes columns 126 to 133 beside it.
    for (int x = 100; x <= 133; ++x) {
        MoveTo(x, 94);
        ASSERT_EQ(Frames(), "10000") << "column " << x;
        ASSERT_EQ(Status(), kTileStatus[0]) << "column " << x;
    }
    MoveTo(134, 94);
    ExpectState("00000", kTitle);
    EXPECT_EQ(PaintedFrames(), "00000");
}

TEST_F(HoverFeedback, EveryColumnOfTheStripBetweenDividerAndReportAreaRestores)
{
    for (int x = 134; x <= 143; ++x) {
        SCOPED_TRACE("column " + std::to_string(x));
        MoveTo(100, 94);
        MoveTo(130, 94);  // on the divider, still highlighted
        ASSERT_EQ(Frames(), "10000");
        MoveTo(x, 94);
        ExpectState("00000", kTitle);
    }
    // Column 144 is the report area, which has no handler of its own.
    HighlightTile(0);
    MoveTo(144 + 20, 94);
    ExpectState("10000", kTileStatus[0]);
}

TEST_F(HoverFeedback, BannerWhileAFrameIsRedRestoresTheTitleAndLeavesTheFrameRed)
{
    HighlightTile(1);
    // Up along the tool bar's lower strip, which has no handler...
    MoveTo(100, 77);
    ExpectState("01000", kTileStatus[1]);
    // ...onto the banner.
    MoveTo(100, 30);
    ExpectState("01000", kTitle);
    EXPECT_EQ(PaintedFrames(), "01000");
}

TEST_F(HoverFeedback, BannerReachedOverTheToolButtonsLeavesTheFrameRed)
{
    HighlightTile(4);
    MoveOnToolBar(360, 12);  // the help button
    ExpectState("00001", kTileStatus[4]);
    MoveTo(360, 40);
    ExpectState("00001", kTitle);
}

TEST_F(HoverFeedback, VersionLabelOnTheBannerHasNoHandler)
{
    HighlightTile(2);
    MoveTo(310, 28);  // Label7, "V2.6"
    ExpectState("00100", kTileStatus[2]);
}

TEST_F(HoverFeedback, ToolBarSpacerRestoresEverything)
{
    HighlightTile(3);
    MoveOnToolBar(100, 10);
    ExpectState("00000", kTitle);
    EXPECT_EQ(PaintedFrames(), "00000");

    // Its last column and row.
    HighlightTile(0);
    MoveOnToolBar(336, 24);
    ExpectState("00000", kTitle);
}

TEST_F(HoverFeedback, ToolBarOutsideTheSpacerHasNoHandler)
{
    const POINT outside[] = {
        {337, 10},  // the separator after the spacer
        {361, 12},  // the help button
        {441, 12},  // the exit button
        {462, 12},  // right of the last button
        {100, 25},  // the lower strip below the spacer
        {100, 29},
    };
    for (POINT point : outside) {
        SCOPED_TRACE(std::to_string(point.x) + "," + std::to_string(point.y));
        HighlightTile(2);
        MoveOnToolBar(point.x, point.y);
        ExpectState("00100", kTileStatus[2]);
    }
}

TEST_F(HoverFeedback, FramesDividerReportAreaAndStatusBarHaveNoHandler)
{
    const POINT neutral[] = {
        {80, 208},   // Shape5, clear of label and icon
        {80, 81},    // Shape1, above Label2
        {18, 114},   // Shape2's left edge, above Label3
        {129, 200},  // Bevel1
        {300, 150},  // Memo1
        {100, 262},  // StatusBar1, panel 0
        {400, 262},  // StatusBar1, panel 1
    };
    for (POINT point : neutral) {
        SCOPED_TRACE(std::to_string(point.x) + "," + std::to_string(point.y));
        MoveTo(138, 150);
        HighlightTile(4);
        MoveTo(point.x, point.y);
        ExpectState("00001", kTileStatus[4]);
    }
}

} // namespace
