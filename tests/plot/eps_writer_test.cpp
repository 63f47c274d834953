// The PostScript writer on streams made by hand: every count checked
// against the stream, the depth order, the text of each primitive, and
// ghostscript drawing the prolog's shading.
#include "plot/base/feedback_marks.h"
#include "plot/export/eps_writer.h"
#include "tests/plot/reader_support.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace eps = halvex::eps;

namespace {

struct V {
    float x, y, z, r, g, b;
};

void vertex(std::vector<float>& s, const V& v)
{
    s.insert(s.end(), {v.x, v.y, v.z, v.r, v.g, v.b, 1.0f});
}

void point(std::vector<float>& s, const V& v)
{
    s.push_back(float(0x0701));
    vertex(s, v);
}

void line(std::vector<float>& s, const V& a, const V& b, int token = 0x0702)
{
    s.push_back(float(token));
    vertex(s, a);
    vertex(s, b);
}

void polygon(std::vector<float>& s, std::initializer_list<V> corners)
{
    s.push_back(float(0x0703));
    s.push_back(float(corners.size()));
    for (const V& v : corners)
        vertex(s, v);
}

std::string write(const std::vector<float>& s, bool sort = false, eps::Page page = {})
{
    std::vector<eps::Primitive> prims;
    std::string error;
    EXPECT_TRUE(eps::ParseFeedback(s, prims, error)) << error;
    if (sort)
        eps::SortByDepth(prims);
    if (page.viewport[2] == 0)
        page.viewport = {0, 0, 400, 300};
    halvex::StringSink sink;
    EXPECT_TRUE(eps::WriteEps(s, prims, page, sink));
    return sink.text_;
}

int occurrences(const std::string& text, const std::string& what)
{
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(EpsFeedback, ReadsEveryTokenAndSkipsRasterOnes)
{
    std::vector<float> s;
    point(s, {1, 2, 0.5f, 1, 0, 0});
    line(s, {0, 0, 0.2f, 0, 0, 0}, {10, 0, 0.4f, 0, 0, 0});
    line(s, {0, 0, 0.2f, 0, 0, 0}, {0, 10, 0.4f, 0, 0, 0}, 0x0707);
    s.insert(s.end(), {float(0x0704), 5, 5, 0, 0, 0, 0, 1}); // a bitmap
    s.insert(s.end(), {float(0x0700), 42.0f});                // pass-through
    polygon(s, {{0, 0, 0.1f, 1, 1, 1}, {10, 0, 0.2f, 1, 1, 1}, {0, 10, 0.3f, 1, 1, 1}});
    std::vector<eps::Primitive> prims;
    std::string error;
    ASSERT_TRUE(eps::ParseFeedback(s, prims, error)) << error;
    ASSERT_EQ(prims.size(), 4u);
    EXPECT_EQ(prims[0].kind, eps::PrimitiveKind::Point);
    EXPECT_FLOAT_EQ(prims[0].depth, 0.5f);
    EXPECT_EQ(prims[1].kind, eps::PrimitiveKind::Line);
    EXPECT_FLOAT_EQ(prims[1].depth, 0.3f);
    EXPECT_EQ(prims[2].kind, eps::PrimitiveKind::Line);
    EXPECT_EQ(prims[3].kind, eps::PrimitiveKind::Polygon);
    EXPECT_EQ(prims[3].count, 3u);
    EXPECT_FLOAT_EQ(prims[3].depth, 0.3f); // its farthest corner
}

TEST(EpsFeedback, RefusesStreamsThatDoNotHoldWhatTheySay)
{
    std::vector<eps::Primitive> prims;
    std::string error;
    std::vector<float> s;
    polygon(s, {{0, 0, 0, 1, 1, 1}, {10, 0, 0, 1, 1, 1}, {0, 10, 0, 1, 1, 1}});
    for (std::size_t cut = 1; cut < s.size(); ++cut) {
        std::vector<float> shorter(s.begin(), s.begin() + std::ptrdiff_t(cut));
        EXPECT_FALSE(eps::ParseFeedback(shorter, prims, error)) << "cut at " << cut;
    }
    // Counts far past the stream, negative or not numbers at all.
    for (float count : {1e9f, 3e9f, -1.0f, NAN, INFINITY}) {
        std::vector<float> bad = s;
        bad[1] = count;
        EXPECT_FALSE(eps::ParseFeedback(bad, prims, error)) << count;
    }
    EXPECT_FALSE(eps::ParseFeedback(std::vector<float>{float(0x0799)}, prims, error));
    EXPECT_NE(error.find("unknown"), std::string::npos) << error;
    // A colour-index stream (four values a vertex) is no RGBA stream: its
    // tokens fall out of step and are refused.
    std::vector<float> indexed{float(0x0701), 1, 2, 0.5f, 7, float(0x0701), 3, 4, 0.5f, 7};
    EXPECT_FALSE(eps::ParseFeedback(indexed, prims, error));
    EXPECT_TRUE(eps::ParseFeedback(std::vector<float>{}, prims, error));
    EXPECT_TRUE(prims.empty());
}

TEST(EpsFeedback, LeavesOutWhatHasNoAreaAndMarksHiddenFills)
{
    std::vector<float> s;
    // Strips joined by triangles of no area, and a line of no length.
    polygon(s, {{0, 0, 0, 1, 1, 1}, {10, 0, 0, 1, 1, 1}, {20, 0, 0, 1, 1, 1}});
    polygon(s, {{5, 5, 0, 1, 1, 1}, {5, 5, 0, 1, 1, 1}, {6, 7, 0, 1, 1, 1}});
    line(s, {3, 3, 0, 0, 0, 0}, {3, 3, 0.5f, 0, 0, 0});
    s.insert(s.end(), {float(0x0700), halvex::feedback_mark::kHiddenFillBegin});
    polygon(s, {{0, 0, 0, 0.2f, 0.3f, 0.4f}, {10, 0, 0, 0.2f, 0.3f, 0.4f}, {0, 10, 0, 0.2f, 0.3f, 0.4f}});
    s.insert(s.end(), {float(0x0700), halvex::feedback_mark::kHiddenFillEnd});
    polygon(s, {{0, 0, 0, 0.2f, 0.3f, 0.4f}, {10, 0, 0, 0.2f, 0.3f, 0.4f}, {0, 10, 0, 0.2f, 0.3f, 0.4f}});
    std::vector<eps::Primitive> prims;
    std::string error;
    ASSERT_TRUE(eps::ParseFeedback(s, prims, error)) << error;
    ASSERT_EQ(prims.size(), 2u);
    EXPECT_TRUE(prims[0].hiddenFill);
    EXPECT_FALSE(prims[1].hiddenFill);
    // The hidden-line fill is painted in the background's colour.
    eps::Page page;
    page.clearColor = {0.9f, 0.8f, 0.7f};
    std::string text = write(s, false, page);
    EXPECT_EQ(occurrences(text, "0.9 0.8 0.7 setrgbcolor"), 2) << text; // the background, the fill
    EXPECT_EQ(occurrences(text, "0.2 0.3 0.4 setrgbcolor"), 1);
}

TEST(EpsDepthSort, FarthestFirstAndTiesInStreamOrder)
{
    // A line on a polygon's edge comes after the polygon, as the renderer's
    // polygon offset shows it in front.
    std::vector<float> edge;
    polygon(edge, {{0, 0, 0.4f, 0, 0, 1}, {10, 0, 0.6f, 0, 0, 1}, {0, 10, 0.2f, 0, 0, 1}});
    line(edge, {0, 0, 0.4f, 1, 0, 0}, {10, 0, 0.6f, 1, 0, 0});
    polygon(edge, {{0, 0, 0.4f, 0, 1, 0}, {10, 0, 0.6f, 0, 1, 0}, {5, -10, 0.7f, 0, 1, 0}});
    std::string drawn = write(edge, true);
    EXPECT_LT(drawn.find("0 1 0 setrgbcolor"), drawn.find("1 0 0 setrgbcolor"));
    EXPECT_LT(drawn.find("0 0 1 setrgbcolor\n0 0 moveto"), drawn.find("1 0 0 setrgbcolor"));

    std::vector<float> s;
    polygon(s, {{0, 0, 0.1f, 1, 0, 0}, {10, 0, 0.1f, 1, 0, 0}, {0, 10, 0.1f, 1, 0, 0}}); // near
    polygon(s, {{0, 0, 0.9f, 0, 1, 0}, {10, 0, 0.9f, 0, 1, 0}, {0, 10, 0.9f, 0, 1, 0}}); // far
    for (int k = 0; k < 40; ++k)
        point(s, {float(k), 0, 0.5f, 0, 0, float(k) / 64});
    std::string text = write(s, true);
    std::size_t far = text.find("0 1 0 setrgbcolor"), near = text.find("1 0 0 setrgbcolor");
    ASSERT_NE(far, std::string::npos);
    ASSERT_NE(near, std::string::npos);
    EXPECT_LT(far, near);
    // The forty points of one depth stay in their order, between the two.
    std::size_t last = far;
    for (int k = 0; k < 40; ++k) {
        std::string at = std::to_string(k) + " 0 0.5 0 360 arc fill";
        std::size_t pos = text.find(at);
        ASSERT_NE(pos, std::string::npos) << at;
        EXPECT_GT(pos, last);
        last = pos;
    }
    EXPECT_LT(last, near);
    EXPECT_EQ(write(s, true), text); // the same bytes every time
}

TEST(EpsWriter, HeaderBoundingBoxBackgroundAndTrailer)
{
    eps::Page page;
    page.viewport = {0, 0, 400, 300};
    page.clearColor = {1.0f, 0.5f, 0.25f};
    page.lineWidth = 2.5f;
    std::string text = write({}, false, page);
    EXPECT_EQ(text.rfind("%!PS-Adobe-2.0 EPSF-2.0\n%%Creator: Corvane, Inc. (using OpenGL feedback)\n"
                         "%%BoundingBox: 0 0 400 300\n%%EndComments\n\ngsave\n\n",
                         0),
              0u)
        << text.substr(0, 200);
    EXPECT_NE(text.find("/threshold 0.005 def\n/bd { bind def } bind def\n"), std::string::npos);
    EXPECT_NE(text.find("\n2.5 setlinewidth\n1 0.5 0.25 setrgbcolor\n0 0 400 300 rectfill\n\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("grestore\n\n%Add `showpage' to the end of this file to be able to print to a "
                               "printer.\n"));
    // Lower left and upper right, whole points, wherever the viewport is.
    page.viewport = {10, 20, 400, 300};
    EXPECT_NE(write({}, false, page).find("%%BoundingBox: 10 20 410 320\n"), std::string::npos);
}

TEST(EpsWriter, FlatPolygonsFillAndSmoothOnesShade)
{
    std::vector<float> flat;
    polygon(flat, {{0, 0, 0, 1, 0, 0}, {10, 0, 0, 1, 0, 0}, {10, 10, 0, 1, 0, 0}, {0, 10, 0, 1, 0, 0.5f}});
    std::string text = write(flat);
    EXPECT_EQ(occurrences(text, "] gouraudtriangle\n"), 2); // the fourth corner differs
    std::vector<float> quad;
    polygon(quad, {{0, 0, 0, 1, 0, 0}, {10, 0, 0, 1, 0, 0}, {10, 10, 0, 1, 0, 0}, {0, 10, 0, 1, 0, 0}});
    text = write(quad);
    EXPECT_EQ(occurrences(text, "] gouraudtriangle"), 0);
    EXPECT_NE(text.find("newpath\n1 0 0 setrgbcolor\n0 0 moveto\n10 0 lineto\n10 10 lineto\n0 10 lineto\n"
                        "closepath fill\n\n"),
              std::string::npos);
    std::vector<float> smooth;
    polygon(smooth, {{0, 0, 0, 1, 0, 0}, {10, 0, 0, 0, 1, 0}, {10, 10, 0, 0, 0, 1}, {0, 10, 0, 1, 1, 1}});
    text = write(smooth);
    EXPECT_EQ(occurrences(text, "] gouraudtriangle\n"), 2);
    EXPECT_NE(text.find("[0 10 10 0 0 10] [1 0 0] [0 1 0] [0 0 1] gouraudtriangle\n"), std::string::npos) << text;
}

TEST(EpsWriter, LinesChangingColourAreDrawnInSteps)
{
    std::vector<float> s;
    line(s, {0, 0, 0, 0, 0, 0}, {100, 0, 0, 1, 1, 1});
    std::string text = write(s);
    // 1.0 × 0.06 × 100 = 6 steps, then the last piece to the end.
    EXPECT_EQ(occurrences(text, "lineto stroke\n"), 7) << text;
    EXPECT_NE(text.find("0 0 0 setrgbcolor\n0 0 moveto\n8.33333 0 lineto stroke\n"), std::string::npos) << text;
    EXPECT_NE(text.find("100 0 lineto stroke\n"), std::string::npos);
    std::vector<float> plain;
    line(plain, {0, 0, 0, 0.5f, 0.5f, 0.5f}, {100, 0, 0, 0.5f, 0.5f, 0.5f});
    text = write(plain);
    EXPECT_EQ(occurrences(text, "lineto stroke\n"), 1);
    // Whatever the locale, the point is ".".
    EXPECT_NE(text.find("0.5 0.5 0.5 setrgbcolor\n0 0 moveto\n100 0 lineto stroke\n"), std::string::npos) << text;
}

TEST(EpsWriter, PointsAreDiscsOfHalfThePointSize)
{
    std::vector<float> s;
    point(s, {12, 34, 0, 0, 0, 1});
    eps::Page page;
    page.pointSize = 4.0f;
    EXPECT_NE(write(s, false, page).find("0 0 1 setrgbcolor\n12 34 2 0 360 arc fill\n"), std::string::npos);
}

TEST(EpsWriter, GhostscriptShadesWithTheProlog)
{
    testsupport::TempDir dir;
    std::vector<float> s;
    // A triangle shaded from red through green to blue, and a flat grey
    // square, on a white page of 200 × 100 points.
    polygon(s, {{10, 10, 0.5f, 1, 0, 0}, {90, 10, 0.5f, 0, 1, 0}, {50, 90, 0.5f, 0, 0, 1}});
    polygon(s, {{120, 20, 0.5f, 0.5f, 0.5f, 0.5f},
                {180, 20, 0.5f, 0.5f, 0.5f, 0.5f},
                {180, 80, 0.5f, 0.5f, 0.5f, 0.5f},
                {120, 80, 0.5f, 0.5f, 0.5f, 0.5f}});
    eps::Page page;
    page.viewport = {0, 0, 200, 100};
    std::string file = dir.write("t.eps", write(s, true, page));
    readers::Run gs = readers::ghostscript(file, dir.file("t.ppm"), dir.path());
    ASSERT_EQ(gs.status, 0) << gs.output;
    readers::Picture p = readers::readPpm(dir.file("t.ppm"));
    ASSERT_EQ(p.width, 200);
    ASSERT_EQ(p.height, 100);
    auto near = [&](int x, int y, int r, int g, int b) {
        const std::uint8_t* c = p.at(x, 99 - y); // PostScript's y runs up
        return std::abs(c[0] - r) < 40 && std::abs(c[1] - g) < 40 && std::abs(c[2] - b) < 40;
    };
    EXPECT_TRUE(near(16, 13, 255, 0, 0));
    EXPECT_TRUE(near(84, 13, 0, 255, 0));
    EXPECT_TRUE(near(50, 84, 0, 0, 255));
    EXPECT_TRUE(near(50, 36, 85, 85, 85)); // the middle mixes all three
    EXPECT_TRUE(near(150, 50, 128, 128, 128));
    EXPECT_TRUE(near(105, 50, 255, 255, 255));
}
