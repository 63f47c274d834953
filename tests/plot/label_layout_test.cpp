// The layout of axis texts: crowded numbers thinned to every s-th with
// both ends kept, texts at the picture's edge moved inside or dropped, and
// no two shown texts overlapping, whatever their axes.
#include "plot/model/label_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace halvex;

namespace {

const PixelBox kArea{0.0f, 0.0f, 400.0f, 300.0f};

// count numbers of one axis, w × h pixels, their left edges step apart
// along x from x0 at height y.
std::vector<TextBox> row(int group, int count, float x0, float step, float y = 100.0f, float w = 20.0f,
                         float h = 10.0f)
{
    std::vector<TextBox> r;
    for (int k = 0; k < count; ++k) {
        TextBox t;
        t.box = {x0 + step * float(k), y, x0 + step * float(k) + w, y + h};
        t.group = group;
        t.index = k;
        t.count = count;
        r.push_back(t);
    }
    return r;
}

std::vector<int> shownIndices(const std::vector<TextBox>& boxes, int group)
{
    std::vector<int> r;
    for (const TextBox& t : boxes)
        if (t.group == group && !t.title && t.shown)
            r.push_back(t.index);
    return r;
}

void expectNoOverlapInside(const std::vector<TextBox>& boxes, const PixelBox& area)
{
    for (std::size_t a = 0; a < boxes.size(); ++a) {
        if (!boxes[a].shown)
            continue;
        PixelBox p = boxes[a].box.Moved(boxes[a].dx, boxes[a].dy);
        EXPECT_TRUE(p.Inside(area)) << a;
        for (std::size_t b = a + 1; b < boxes.size(); ++b)
            if (boxes[b].shown)
                EXPECT_FALSE(p.Overlaps(boxes[b].box.Moved(boxes[b].dx, boxes[b].dy))) << a << " " << b;
    }
}

TEST(TextLayout, NumbersWithRoomAreAllShown)
{
    std::vector<TextBox> b = row(0, 5, 20.0f, 60.0f);
    LayOutText(b, kArea, 3.0f);
    EXPECT_EQ(shownIndices(b, 0), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(TextLayout, CrowdedNumbersKeepEveryOtherAndBothEnds)
{
    // 20 pixels wide, 15 apart: each overlaps its neighbour.
    std::vector<TextBox> b = row(0, 9, 20.0f, 15.0f);
    LayOutText(b, kArea, 3.0f);
    EXPECT_EQ(shownIndices(b, 0), (std::vector<int>{0, 2, 4, 6, 8}));
    expectNoOverlapInside(b, kArea);
    // Ten numbers: every other from the first, and the last in place of
    // the one before it.
    b = row(0, 10, 20.0f, 15.0f);
    LayOutText(b, kArea, 3.0f);
    EXPECT_EQ(shownIndices(b, 0), (std::vector<int>{0, 2, 4, 6, 9}));
    expectNoOverlapInside(b, kArea);
}

TEST(TextLayout, NumbersOnTopOfEachOtherLeaveOneEnd)
{
    // An axis seen end on: every number at one place ("2468000").
    std::vector<TextBox> b = row(0, 5, 100.0f, 0.0f);
    LayOutText(b, kArea, 3.0f);
    EXPECT_EQ(shownIndices(b, 0), (std::vector<int>{0}));
    // Two that do not overlap keep both.
    b = row(0, 2, 100.0f, 40.0f);
    LayOutText(b, kArea, 3.0f);
    EXPECT_EQ(shownIndices(b, 0), (std::vector<int>{0, 1}));
}

TEST(TextLayout, TextsAtTheEdgeMoveInsideOrGo)
{
    std::vector<TextBox> b = row(0, 3, 0.0f, 150.0f);
    // The last one sticks out by 5 pixels at the right: moved in.
    b[2].box = {385.0f, 100.0f, 405.0f, 110.0f};
    // The first lies wholly outside the picture: dropped.
    b[0].box = {-60.0f, 100.0f, -40.0f, 110.0f};
    TextBox label;
    label.box = {370.0f, 50.0f, 450.0f, 62.0f}; // an axis label, far out
    label.group = 0;
    label.title = true;
    b.push_back(label);
    LayOutText(b, kArea, 3.0f);
    EXPECT_FALSE(b[0].shown);
    EXPECT_TRUE(b[1].shown);
    ASSERT_TRUE(b[2].shown);
    EXPECT_FLOAT_EQ(b[2].dx, -5.0f);
    ASSERT_TRUE(b[3].shown);
    EXPECT_FLOAT_EQ(b[3].dx, -50.0f);
    expectNoOverlapInside(b, kArea);
    // Larger than the picture: never shown, never cut.
    std::vector<TextBox> big = row(1, 1, 10.0f, 0.0f, 10.0f, 500.0f, 10.0f);
    LayOutText(big, kArea, 3.0f);
    EXPECT_FALSE(big[0].shown);
}

TEST(TextLayout, EndsComeBeforeLabelsAndLabelsBeforeOtherNumbers)
{
    // The X axis's numbers along the bottom, the Y axis's crossing them.
    std::vector<TextBox> b = row(0, 5, 20.0f, 80.0f, 50.0f);
    std::vector<TextBox> y = row(1, 5, 100.0f, 0.0f, 20.0f);
    for (int k = 0; k < 5; ++k)
        y[std::size_t(k)].box = y[std::size_t(k)].box.Moved(0.0f, 20.0f * float(k));
    b.insert(b.end(), y.begin(), y.end());
    TextBox label;
    label.box = {170.0f, 45.0f, 250.0f, 60.0f};
    label.group = 0;
    label.title = true;
    b.push_back(label);
    LayOutText(b, kArea, 3.0f);
    expectNoOverlapInside(b, kArea);
    // X's ends stand; the label pushes out X's middle number, which would
    // overlap it; Y's ends stand too.
    std::vector<int> x = shownIndices(b, 0);
    EXPECT_EQ(x.front(), 0);
    EXPECT_EQ(x.back(), 4);
    EXPECT_TRUE(b.back().shown);
    EXPECT_FALSE(b[2].shown);
    std::vector<int> yShown = shownIndices(b, 1);
    EXPECT_EQ(yShown.front(), 0);
    EXPECT_EQ(yShown.back(), 4);
}

TEST(TextLayout, BoxesWithoutInkOrPlaceAreLeftOut)
{
    std::vector<TextBox> b = row(0, 3, 20.0f, 60.0f);
    b[0].box = {};
    b[1].box.x0 = std::numeric_limits<float>::quiet_NaN();
    LayOutText(b, kArea, 3.0f);
    EXPECT_EQ(shownIndices(b, 0), (std::vector<int>{2}));
}

} // namespace
