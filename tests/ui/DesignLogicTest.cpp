// The main window's hit-testing and hover state machine on their own, without a window, over
// every point and element they answer for; the window tests check only that the window uses them.
#include "ui/main/Form1Design.h"
#include "ui/main/HoverFeedback.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using form1::Element;

std::string Highlighted(const HoverFeedback& hover)
{
    std::string frames;
    for (int tile = 0; tile < 5; ++tile)
        frames += hover.IsHighlighted(tile) ? '1' : '0';
    return frames;
}

TEST(Form1HitTest, Shape5AnswersExactlyOnTheStripNoLabelOrIconCovers)
{
    // Shape5 spans columns 17 to 122 and rows 207 to 231; Label6 covers its rows from 213 on,
    // Image5 columns 21 to 52 of rows 207 to 211, Image6 the same columns of row 212.
    int strip = 0;
    for (int y = 200; y <= 235; ++y)
        for (int x = 10; x <= 130; ++x) {
            const bool uncovered = y >= 207 && y <= 212 && ((x >= 17 && x <= 20) || (x >= 53 && x <= 122));
            ASSERT_EQ(form1::HitTest(x, y) == Element::Shape5, uncovered) << x << "," << y;
            strip += uncovered;
        }
    EXPECT_EQ(strip, 6 * (4 + 70));
}

TEST(Form1HitTest, TopmostElementTakesThePointAndTheBandClipsTheBanner)
{
    EXPECT_EQ(form1::HitTest(30, 95), Element::Image2) << "the icon lies over its label";
    EXPECT_EQ(form1::HitTest(90, 94), Element::Label2);
    EXPECT_EQ(form1::HitTest(40, 113), Element::Image2) << "and reaches into the next frame";
    EXPECT_EQ(form1::HitTest(125, 94), Element::Label2) << "the label lies over the divider";
    EXPECT_EQ(form1::HitTest(126, 94), Element::Bevel1);
    EXPECT_EQ(form1::HitTest(134, 94), Element::None);
    EXPECT_EQ(form1::HitTest(310, 28), Element::Label7);
    EXPECT_EQ(form1::HitTest(467, 48), Element::Image1);
    EXPECT_EQ(form1::HitTest(468, 49), Element::None) << "the banner's last column and row lie outside the band";
}

TEST(Form1HitTest, ScaledDesignAnswersAtTheScaledPoints)
{
    const auto doubled = [](const form1::Bounds& b) { return form1::Bounds{2 * b.left, 2 * b.top, 2 * b.width, 2 * b.height}; };
    EXPECT_EQ(form1::HitTest(180, 188, doubled), Element::Label2);
    EXPECT_EQ(form1::HitTest(90, 94, doubled), Element::Image1) << "the 96-dpi point of Label2 is banner there";
    EXPECT_EQ(form1::HitTest(270, 300, doubled), Element::None);
}

TEST(HoverStates, EachElementSetsTheFramesAndTheStatusAsItsHandlerSays)
{
    HoverFeedback hover;
    EXPECT_EQ(Highlighted(hover), "00000");
    EXPECT_EQ(hover.StatusText(), "系统优化Kelvane");

    const Element labels[] = {Element::Label2, Element::Label3, Element::Label4, Element::Label5, Element::Label6};
    for (int tile = 0; tile < 5; ++tile) {
        hover.PointerMovedOver(labels[tile]);
        EXPECT_EQ(Highlighted(hover), std::string(5, '0').replace(static_cast<size_t>(tile), 1, "1"));
        EXPECT_EQ(hover.StatusText(), form1::kTiles[static_cast<size_t>(tile)].statusText);
    }

    // Elements without a handler change nothing; the banner restores only the title.
    for (Element quiet : {Element::Image6, Element::Shape1, Element::Bevel1, Element::Label7, Element::CoolBar1}) {
        const HoverFeedback::Change change = hover.PointerMovedOver(quiet);
        EXPECT_EQ(Highlighted(hover), "00001");
        EXPECT_FALSE(change.statusChanged);
    }
    hover.PointerMovedOver(Element::Image1);
    EXPECT_EQ(Highlighted(hover), "00001");
    EXPECT_EQ(hover.StatusText(), "系统优化Kelvane");

    hover.PointerMovedOver(Element::Label3);
    const HoverFeedback::Change change = hover.PointerMovedOverToolBarSpacer();
    EXPECT_EQ(Highlighted(hover), "00000");
    EXPECT_EQ(hover.StatusText(), "系统优化Kelvane");
    // Only the frame that changed is repainted.
    EXPECT_EQ(change.framesChanged, (std::array<bool, 5>{false, true, false, false, false}));
    EXPECT_TRUE(change.statusChanged);
}

} // namespace
