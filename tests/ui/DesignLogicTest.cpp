// The main window's design table, hit-testing and hover state machine on their own, without a
// window, over every point and element they answer for; the window tests check only that the
// window uses them.
#include "common/Text.h"
#include "ui/main/Form1Design.h"
#include "ui/main/HoverFeedback.h"
#include "ui/main/TForm1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using form1::Element;

// The parts of the tiles, first tile 0 (Shape1, Label2, Image2).
constexpr Element Frame(size_t tile) { return {Element::TileFrame, tile}; }
constexpr Element Label(size_t tile) { return {Element::TileLabel, tile}; }
constexpr Element Icon(size_t tile) { return {Element::TileIcon, tile}; }
constexpr Element Background{};

std::string Highlighted(const HoverFeedback& hover)
{
    std::string frames;
    for (size_t tile = 0; tile < form1::kTiles.size(); ++tile)
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
            ASSERT_EQ(form1::HitTest(x, y) == Frame(4), uncovered) << x << "," << y;
            strip += uncovered;
        }
    EXPECT_EQ(strip, 6 * (4 + 70));
}

TEST(Form1HitTest, TopmostElementTakesThePointAndTheBandClipsTheBanner)
{
    EXPECT_EQ(form1::HitTest(30, 95), Icon(0)) << "the icon lies over its label";
    EXPECT_EQ(form1::HitTest(90, 94), Label(0));
    EXPECT_EQ(form1::HitTest(40, 113), Icon(0)) << "and reaches into the next frame";
    EXPECT_EQ(form1::HitTest(125, 94), Label(0)) << "the label lies over the divider";
    EXPECT_EQ(form1::HitTest(126, 94), Element{Element::Bevel1});
    EXPECT_EQ(form1::HitTest(134, 94), Background);
    EXPECT_EQ(form1::HitTest(310, 28), Element{Element::Label7});
    EXPECT_EQ(form1::HitTest(467, 48), Element{Element::Image1});
    EXPECT_EQ(form1::HitTest(468, 49), Background) << "the banner's last column and row lie outside the band";
}

TEST(Form1HitTest, ScaledDesignAnswersAtTheScaledPoints)
{
    const auto doubled = [](const form1::Bounds& b) { return form1::Bounds{2 * b.left, 2 * b.top, 2 * b.width, 2 * b.height}; };
    EXPECT_EQ(form1::HitTest(180, 188, doubled), Label(0));
    EXPECT_EQ(form1::HitTest(90, 94, doubled), Element{Element::Image1}) << "the 96-dpi point of Label2 is banner there";
    EXPECT_EQ(form1::HitTest(270, 300, doubled), Background);
}

TEST(HoverStates, EachElementSetsTheFramesAndTheStatusAsItsHandlerSays)
{
    HoverFeedback hover;
    EXPECT_EQ(Highlighted(hover), "00000");
    EXPECT_EQ(hover.StatusText(), "系统优化Kelvane");

    for (size_t tile = 0; tile < 5; ++tile) {
        hover.PointerMovedOver(Label(tile));
        EXPECT_EQ(Highlighted(hover), std::string(5, '0').replace(tile, 1, "1"));
        EXPECT_EQ(hover.StatusText(), form1::kTiles[tile].statusHint);
    }

    // Elements without a handler change nothing; the banner restores only the title.
    for (Element quiet : {Icon(4), Frame(0), Element{Element::Bevel1}, Element{Element::Label7},
                          Element{Element::CoolBar1}}) {
        const HoverFeedback::Change change = hover.PointerMovedOver(quiet);
        EXPECT_EQ(Highlighted(hover), "00001");
        EXPECT_FALSE(change.statusChanged);
    }
    hover.PointerMovedOver(Element{Element::Image1});
    EXPECT_EQ(Highlighted(hover), "00001");
    EXPECT_EQ(hover.StatusText(), "系统优化Kelvane");

    hover.PointerMovedOver(Label(1));
    const HoverFeedback::Change change = hover.PointerMovedOverToolBarSpacer();
    EXPECT_EQ(Highlighted(hover), "00000");
    EXPECT_EQ(hover.StatusText(), "系统优化Kelvane");
    // Only the frame that changed is repainted.
    EXPECT_EQ(change.unhighlighted, 1u);
    EXPECT_EQ(change.highlighted, std::nullopt);
    EXPECT_TRUE(change.statusChanged);
}

} // namespace

namespace {

TEST(Form1Tiles, EveryRowHasItsCommandShortcutIconAndHelpTopic)
{
    std::vector<WORD> keys;
    for (size_t tile = 0; tile < form1::kTiles.size(); ++tile) {
        const form1::Tile& row = form1::kTiles[tile];
        SCOPED_TRACE(row.caption);
        ASSERT_NE(TForm1::BindingOf(row.command), nullptr);
        EXPECT_NE(row.shortcut.key, 0);
        EXPECT_EQ(std::count(keys.begin(), keys.end(), row.shortcut.key), 0) << "a key runs one tile";
        keys.push_back(row.shortcut.key);
        // The resource list is made from the rows: each row's icon is in the program.
        const std::wstring icon = WideFromGbk(row.iconResource);
        EXPECT_NE(::FindResourceW(nullptr, icon.c_str(), RT_GROUP_ICON), nullptr);
        // The topic starts with its heading, the caption the menu shows.
        EXPECT_EQ(std::string(row.help.text).rfind(std::string(19, ' ') + row.help.menuCaption + "\n", 0), 0u);
    }
    EXPECT_EQ(TForm1::BindingOf(form1::Command(form1::kFirstTileCommand + form1::kTiles.size())), nullptr);
}

TEST(Form1Bindings, EveryCommandARowNamesHasExactlyOneBindingAndEveryBindingARow)
{
    std::vector<form1::Command> named;
    for (const form1::Tile& row : form1::kTiles)
        named.push_back(row.command);
    for (const form1::ToolButton& row : form1::kToolButtons)
        named.push_back(row.command);
    for (const form1::Command command : named) {
        SCOPED_TRACE(static_cast<int>(command));
        EXPECT_EQ(std::ranges::count(named, command), 1) << "a command runs from one row";
        EXPECT_EQ(std::ranges::count(TForm1::Bindings(), command, &TForm1::Binding::command), 1);
        EXPECT_NE(TForm1::BindingOf(command)->run, nullptr);
    }
    EXPECT_EQ(TForm1::Bindings().size(), named.size()) << "a command no row names";
}

TEST(Form1Tiles, ElementsArePaintedInTheDesignsOrder)
{
    std::string order;
    form1::ForEachElement([&](const Element& element, const form1::Bounds&) {
        const char* names[] = {"-", "Shape", "Bevel1", "Label", "Image", "CoolBar1", "Image1", "Label7"};
        order += names[element.kind];
        // The components are numbered from Shape1, Label2 and Image2 for the first tile.
        if (element.kind == Element::TileFrame)
            order += std::to_string(element.tile + 1);
        else if (element.kind == Element::TileLabel || element.kind == Element::TileIcon)
            order += std::to_string(element.tile + 2);
        order += ' ';
    });
    EXPECT_EQ(order, "Shape1 Shape2 Shape3 Shape4 Shape5 Bevel1 Label2 Label3 Label4 Label5 Label6 "
                     "Image3 Image4 Image5 Image6 Image2 CoolBar1 Image1 Label7 ");
}

} // namespace
