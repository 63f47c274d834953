// The arithmetic of the exports: how large pictures are cut into bands,
// the resolution rule for printers, the bitmap file's layout and sizes in
// 64 bits, and which format a file name asks for.
#include "plot/core/band_plan.h"
#include "plot/export/bmp_format.h"
#include "plot/export/export_formats.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace halvex;

namespace {

std::uint32_t u32(const std::string& s, std::size_t at)
{
    std::uint32_t v = 0;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}

std::uint16_t u16(const std::string& s, std::size_t at)
{
    std::uint16_t v = 0;
    std::memcpy(&v, s.data() + at, 2);
    return v;
}

} // namespace

TEST(BandPlan, FollowsTheLargestBitmapRule)
{
    BandPlan one = PlanBands(1280, 1024, 16384);
    EXPECT_EQ(one.bands, 1);
    // 2000000 / 1310720 is 1: one band, however large.
    BandPlan p = PlanBands(2000, 1000, 16384);
    EXPECT_EQ(p.bands, 1);
    EXPECT_EQ(p.columns, 1);
    // 6000000 / 1310720 is 4: bands of 500 rows.
    p = PlanBands(3000, 2000, 16384);
    EXPECT_EQ(p.bands, 4);
    EXPECT_EQ(p.Band(0), (PixelRect{0, 0, 3000, 500}));
    EXPECT_EQ(p.Band(3), (PixelRect{0, 1500, 3000, 2000}));
    // The last band takes the rows left over.
    p = PlanBands(3000, 2003, 16384);
    EXPECT_EQ(p.bands, 4);
    EXPECT_EQ(p.Band(3), (PixelRect{0, 1500, 3000, 2003}));
    EXPECT_EQ(p.TileHeight(), 503);
    // 10000 × 10000: 76 bands of 131 rows, each well under the memory bound.
    p = PlanBands(10000, 10000, 16384);
    EXPECT_EQ(p.bands, 76);
    EXPECT_EQ(p.bandHeight, 131);
    EXPECT_LE(std::int64_t(p.TileWidth()) * p.TileHeight(), 2 * kLargestBitmapPixels);
}

TEST(BandPlan, CutsFurtherWhereTheFramebufferEnds)
{
    // 17500 pixels across (1200 dpi from a 1400-pixel control): two columns.
    BandPlan p = PlanBands(17500, 13125, 16384);
    EXPECT_EQ(p.columns, 2);
    EXPECT_EQ(p.Tile(0, 0), (PixelRect{0, 0, 8750, p.bandHeight}));
    EXPECT_EQ(p.Tile(0, 1), (PixelRect{8750, 0, 17500, p.bandHeight}));
    EXPECT_LE(p.TileWidth(), 16384);
    // A tall thin picture: no band taller than the framebuffer, none empty.
    p = PlanBands(10, 100000, 16384);
    EXPECT_LE(p.TileHeight(), 16384);
    EXPECT_GE(p.bandHeight, 1);
    int rows = 0;
    for (int k = 0; k < p.bands; ++k)
        rows += p.Band(k).height();
    EXPECT_EQ(rows, 100000);
    // A wide one row high: one band, many columns.
    p = PlanBands(100000, 1, 16384);
    EXPECT_EQ(p.bands, 1);
    EXPECT_EQ(p.columns, 7);
    EXPECT_EQ(PlanBands(0, 10, 16384).bands, 0);
}

TEST(PrinterResolution, LimitedTo150UnlessHighQuality)
{
    // A 240 × 240 control onto 600 dpi paper: 1500 × 1500 device pixels.
    OffscreenResolution r = ResolutionFor(1500, 1500, 240, 240, false);
    EXPECT_EQ(r.rx, 150);
    EXPECT_EQ(r.ry, 150);
    EXPECT_EQ(r.width, 375);
    EXPECT_EQ(r.height, 375);
    EXPECT_TRUE(r.reduced);
    EXPECT_TRUE(r.smoothLines);
    r = ResolutionFor(1500, 1500, 240, 240, true);
    EXPECT_EQ(r.rx, 600);
    EXPECT_EQ(r.width, 1500);
    EXPECT_FALSE(r.reduced);
    EXPECT_FALSE(r.smoothLines); // 300 dpi and finer
    // Only the direction past the limit shrinks; the other keeps its size.
    r = ResolutionFor(2000, 100, 400, 200, false);
    EXPECT_EQ(r.rx, 150);
    EXPECT_EQ(r.width, 2000 * 150 / 480);
    EXPECT_EQ(r.ry, 48);
    EXPECT_EQ(r.height, 100);
    // A control without size does not divide by zero.
    r = ResolutionFor(100, 100, 0, 0, true);
    EXPECT_EQ(r.rx, 9600);
}

TEST(BmpFormat, HeadersStateTheTrueSizes)
{
    // 300 dpi from a 240 × 240 control: 750 × 750 pixels.
    BmpLayout l;
    std::string error;
    ASSERT_TRUE(PlanBmp(750, 750, 16, l, error)) << error;
    EXPECT_EQ(l.rowBytes, 1500u);
    EXPECT_EQ(l.pixelOffset, 56u);
    EXPECT_EQ(l.fileSize, 56u + 1500u * 750u);
    std::string h = BmpHeaders(l);
    ASSERT_EQ(h.size(), 56u);
    EXPECT_EQ(h.substr(0, 2), "BM");
    EXPECT_EQ(u32(h, 2), l.fileSize); // the file's own size, whatever the depth
    EXPECT_EQ(u32(h, 10), 56u);
    EXPECT_EQ(u32(h, 14), 40u);
    EXPECT_EQ(u32(h, 18), 750u);
    EXPECT_EQ(u32(h, 22), 750u);
    EXPECT_EQ(u16(h, 26), 1u);
    EXPECT_EQ(u16(h, 28), 16u);
    EXPECT_EQ(u32(h, 34), 1500u * 750u);
    EXPECT_EQ(u32(h, 46), 0u);
    ASSERT_TRUE(PlanBmp(3, 2, 8, l, error));
    h = BmpHeaders(l);
    EXPECT_EQ(l.pixelOffset, 1080u);
    EXPECT_EQ(l.rowBytes, 4u);
    EXPECT_EQ(u32(h, 2), 1080u + 8u);
    EXPECT_EQ(u32(h, 46), 256u);
    // The colour table follows the information header (offset 54); entry
    // 255: white; 7: pure red.
    EXPECT_EQ(std::string(h.data() + 54 + 255 * 4, 3), std::string("\xFF\xFF\xFF", 3));
    EXPECT_EQ(std::string(h.data() + 54 + 7 * 4, 3), std::string("\x00\x00\xFF", 3));
}

TEST(BmpFormat, SizesInSixtyFourBitsAndRefusedPastTwoGigabytes)
{
    BmpLayout l;
    std::string error;
    // 30000 × 30000 × 3 bytes is past 2^31.
    EXPECT_FALSE(PlanBmp(30000, 30000, 24, l, error));
    EXPECT_NE(error.find("2 GB"), std::string::npos) << error;
    // 17500 × 17500 × 4 bytes is not, though its product overflows 32-bit
    // arithmetic on the way.
    ASSERT_TRUE(PlanBmp(17500, 17500, 32, l, error)) << error;
    EXPECT_EQ(l.imageBytes, 17500ull * 17500ull * 4ull);
    EXPECT_EQ(l.fileSize, 56ull + 17500ull * 17500ull * 4ull);
    EXPECT_FALSE(PlanBmp(0x7FFFFFFF, 0x7FFFFFFF, 32, l, error));
    EXPECT_FALSE(PlanBmp(100, 0, 24, l, error));
    EXPECT_FALSE(PlanBmp(100, 100, 12, l, error));
}

TEST(BmpFormat, RowsOfEveryDepth)
{
    const std::uint8_t rgba[] = {255, 0, 0, 255, 0, 128, 255, 255};
    BmpLayout l;
    std::string error, out;
    ASSERT_TRUE(PlanBmp(2, 1, 24, l, error));
    AppendBmpRows(rgba, l, 1, out);
    EXPECT_EQ(out, std::string("\x00\x00\xFF\xFF\x80\x00\x00\x00", 8)); // BGR, padded to 8
    ASSERT_TRUE(PlanBmp(2, 1, 32, l, error));
    out.clear();
    AppendBmpRows(rgba, l, 1, out);
    EXPECT_EQ(out, std::string("\x00\x00\xFF\x00\xFF\x80\x00\x00", 8));
    ASSERT_TRUE(PlanBmp(2, 1, 16, l, error));
    out.clear();
    AppendBmpRows(rgba, l, 1, out);
    // Red 31 << 10; green 16 << 5 | blue 31.
    EXPECT_EQ(out, std::string("\x00\x7C\x1F\x02", 4));
    ASSERT_TRUE(PlanBmp(2, 1, 8, l, error));
    out.clear();
    AppendBmpRows(rgba, l, 1, out);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(std::uint8_t(out[0]), 7);
    EXPECT_EQ(std::uint8_t(out[1]), PaletteIndex(0, 128, 255));
    auto c = PaletteEntry(PaletteIndex(0, 128, 255));
    EXPECT_EQ(c[2], 255);
    EXPECT_LT(std::abs(int(c[1]) - 128), 20);
}

TEST(ExportFormats, KnownByTheExtensionInAnyCase)
{
    EXPECT_EQ(FormatOfPath("a/b.PNG"), ExportFormat::Png);
    EXPECT_EQ(FormatOfPath("x.bmp"), ExportFormat::Bmp);
    EXPECT_EQ(FormatOfPath("x.dib"), ExportFormat::Bmp);
    EXPECT_EQ(FormatOfPath("x.Eps"), ExportFormat::Eps);
    EXPECT_EQ(FormatOfPath("x.wrl"), ExportFormat::Vrml);
    EXPECT_EQ(FormatOfPath("x.vrml"), ExportFormat::Vrml);
    EXPECT_EQ(FormatOfPath("x.pov"), ExportFormat::Pov);
    EXPECT_EQ(FormatOfPath("x.pdf"), ExportFormat::Pdf);
    EXPECT_FALSE(FormatOfPath("x.jpg"));
    EXPECT_FALSE(FormatOfPath("dir.png/x"));
}

TEST(ExportFormats, TheFilterGivesTheExtensionOfANameWithout)
{
    std::string path = "/home/a.b/plot";
    // The folder's dot does not count: the POV-Ray filter's extension is added.
    EXPECT_EQ(ChosenFormat(path, 2), ExportFormat::Pov);
    EXPECT_EQ(path, "/home/a.b/plot.pov");
    path = "scene";
    EXPECT_EQ(ChosenFormat(path, 0), ExportFormat::Vrml);
    EXPECT_EQ(path, "scene.wrl");
    path = "picture";
    EXPECT_EQ(ChosenFormat(path, 3), ExportFormat::Bmp);
    EXPECT_EQ(path, "picture.bmp");
    // A typed extension names the format, whatever filter was left chosen.
    path = "x.eps";
    EXPECT_EQ(ChosenFormat(path, 0), ExportFormat::Eps);
    EXPECT_EQ(path, "x.eps");
    path = "x.data";
    EXPECT_EQ(ChosenFormat(path, 1), ExportFormat::Eps);
    EXPECT_EQ(path, "x.data");
}
