// Colour-map files, the lookup along a map, the built-in ramps and the ramp
// position of every spectrum direction.
#include "plot/model/colormaps.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>

using namespace halvex;

namespace {

std::string colormapBytes(std::string_view header, std::int32_t count, const std::vector<std::uint32_t>& colors)
{
    std::string b;
    b += char(header.size());
    b += header;
    auto u32 = [&b](std::uint32_t v) {
        for (int k = 0; k < 4; ++k)
            b += char(v >> (8 * k) & 0xFF);
    };
    u32(std::uint32_t(count));
    for (std::uint32_t c : colors)
        u32(c);
    return b;
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

class Colormaps : public ::testing::Test {
protected:
    ~Colormaps() override { ColormapList::instance().LoadFrom(dir.path() + "/none"); }
    testsupport::TempDir dir;
};

TEST_F(Colormaps, FilesAreCheckedByteByByte)
{
    Colormap m;
    EXPECT_TRUE(ParseColormapFile(colormapBytes("Corvane Colormap", 2, {0x00FF0000, 0x000000FF}), "Ocean", m));
    EXPECT_EQ(m.name, "Ocean");
    EXPECT_EQ(m.colors, (std::vector<std::uint32_t>{0xFFFF0000, 0xFF0000FF}));
    EXPECT_FALSE(ParseColormapFile(colormapBytes("Corvane colormap", 2, {1, 2}), "x", m));
    EXPECT_FALSE(ParseColormapFile(colormapBytes("Corvane Colormap ", 2, {1, 2}), "x", m));
    EXPECT_FALSE(ParseColormapFile(colormapBytes("Corvane Colormap", 0, {}), "x", m));
    EXPECT_FALSE(ParseColormapFile(colormapBytes("Corvane Colormap", -3, {1, 2, 3}), "x", m));
    // Counts that the file does not hold are refused before anything is made.
    EXPECT_FALSE(ParseColormapFile(colormapBytes("Corvane Colormap", 3, {1, 2}), "x", m));
    EXPECT_FALSE(ParseColormapFile(colormapBytes("Corvane Colormap", 0x7FFFFFFF, {1}), "x", m));
    std::string cut = colormapBytes("Corvane Colormap", 1, {5});
    EXPECT_FALSE(ParseColormapFile(cut.substr(0, cut.size() - 1), "x", m));
    EXPECT_FALSE(ParseColormapFile("", "x", m));
    // A header length past the end.
    EXPECT_FALSE(ParseColormapFile(std::string(1, char(200)) + "Corvane", "x", m));
    // The long length forms of the archive's text.
    std::string longForm = std::string("\xFF\x10\x00", 3) + "Corvane Colormap" + std::string("\x01\0\0\0\x07\0\0\0", 8);
    ASSERT_TRUE(ParseColormapFile(longForm, "long", m));
    EXPECT_EQ(m.colors, std::vector<std::uint32_t>{0xFF000007});
    EXPECT_FALSE(ParseColormapFile(std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7), "x", m));
    EXPECT_EQ(m.name, "long"); // untouched by the refusals
}

TEST_F(Colormaps, TheFolderIsReadInNameOrder)
{
    writeFile(dir.path() + "/zeta.cmp", colormapBytes("Corvane Colormap", 1, {0x0000FF00}));
    writeFile(dir.path() + "/Ocean.cmp", colormapBytes("Corvane Colormap", 2, {0x00FF0000, 0x000000FF}));
    writeFile(dir.path() + "/bad.cmp", colormapBytes("Corvane colormap", 1, {1}));
    writeFile(dir.path() + "/alpha.txt", colormapBytes("Corvane Colormap", 1, {1}));
    ColormapList& list = ColormapList::instance();
    list.LoadFrom(dir.path());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.at(0).name, "Ocean");
    EXPECT_EQ(list.at(1).name, "zeta");

    Rgb c;
    ASSERT_TRUE(LookupColormap(0, 0.0f, c));
    EXPECT_EQ(c, (Rgb{0.0f, 0.0f, 1.0f}));
    LookupColormap(0, 1.0f, c);
    EXPECT_EQ(c, (Rgb{1.0f, 0.0f, 0.0f}));
    LookupColormap(0, 0.5f, c);
    EXPECT_EQ(c, (Rgb{0.5f, 0.0f, 0.5f}));
    // Outside 0..1 and NaN stay inside the map.
    LookupColormap(0, 7.0f, c);
    EXPECT_EQ(c, (Rgb{1.0f, 0.0f, 0.0f}));
    LookupColormap(0, std::numeric_limits<float>::quiet_NaN(), c);
    EXPECT_EQ(c, (Rgb{0.0f, 0.0f, 1.0f}));
    LookupColormap(1, 0.3f, c); // one colour everywhere
    EXPECT_EQ(c, (Rgb{0.0f, 1.0f, 0.0f}));
    EXPECT_FALSE(LookupColormap(2, 0.5f, c));

    // Map indices: 2 and 3 are the files; past the end falls back to hue.
    EXPECT_EQ(SpectrumRgb(2, 0.0f), (Rgb{0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(SpectrumRgb(5, 0.25f), SpectrumRgb(0, 0.25f));
    EXPECT_EQ(SpectrumRgb(1, 0.25f), (Rgb{0.25f, 0.25f, 0.25f}));

    list.LoadFrom(dir.path() + "/missing");
    EXPECT_EQ(list.size(), 0u);
}

TEST_F(Colormaps, TheHueRampRunsFromVioletToRed)
{
    Rgb lo = HueRamp(0.0f), hi = HueRamp(1.0f);
    // h 4.6, value 0.5: sector 4 with f 0.6.
    EXPECT_NEAR(lo[0], 0.3f, 1e-5f);
    EXPECT_EQ(lo[1], 0.0f);
    EXPECT_EQ(lo[2], 0.5f);
    // h 0.05, value 1: sector 0.
    EXPECT_EQ(hi[0], 1.0f);
    EXPECT_NEAR(hi[1], 0.05f, 1e-5f);
    EXPECT_EQ(hi[2], 0.0f);
    for (float t = 0.0f; t <= 1.0f; t += 0.01f)
        for (float ch : HueRamp(t))
            EXPECT_TRUE(ch >= 0.0f && ch <= 1.0f);
}

TEST_F(Colormaps, RampPositionFollowsTheSpectrumDirection)
{
    BoundingRecord box;
    box.min = {0.0f, 10.0f, 100.0f};
    box.max = {4.0f, 20.0f, 103.0f};
    float p[3] = {1.0f, 15.0f, 101.5f};
    EXPECT_FLOAT_EQ(RampPosition(box, p, 4), 0.5f);  // Z: display y
    EXPECT_FLOAT_EQ(RampPosition(box, p, 2), 0.25f); // Y: display x
    EXPECT_FLOAT_EQ(RampPosition(box, p, 1), 0.5f);  // X: display z
    // X and Y: the distance from the corner in the plane, not the height.
    float q[3] = {4.0f, 10.0f, 103.0f};
    EXPECT_FLOAT_EQ(RampPosition(box, q, 3), 1.0f);
    q[1] = 20.0f;
    EXPECT_FLOAT_EQ(RampPosition(box, q, 3), 1.0f);
    EXPECT_FLOAT_EQ(RampPosition(box, p, 5), std::sqrt(1.5f * 1.5f + 25.0f) / std::sqrt(9.0f + 100.0f));
    EXPECT_FLOAT_EQ(RampPosition(box, p, 6), std::sqrt(1.0f + 25.0f) / std::sqrt(16.0f + 100.0f));
    EXPECT_FLOAT_EQ(RampPosition(box, box.max.data(), 7), 1.0f);
    EXPECT_FLOAT_EQ(RampPosition(box, box.min.data(), 7), 0.0f);
    // Outside the box, an empty range, NaN and no direction at all.
    float below[3] = {0.0f, -50.0f, 100.0f};
    EXPECT_EQ(RampPosition(box, below, 4), 0.0f);
    float above[3] = {0.0f, 500.0f, 100.0f};
    EXPECT_EQ(RampPosition(box, above, 4), 1.0f);
    float nan[3] = {0.0f, std::numeric_limits<float>::quiet_NaN(), 100.0f};
    EXPECT_EQ(RampPosition(box, nan, 4), 0.0f);
    BoundingRecord flat = box;
    flat.max[1] = flat.min[1];
    EXPECT_EQ(RampPosition(flat, flat.min.data(), 4), 0.0f);
    EXPECT_EQ(RampPosition(box, p, 0), 0.0f);
}

} // namespace
