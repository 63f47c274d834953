// The ways a matrix gets built (one thread or two, points kept between the
// passes or lines read again, text in memory or a mapped file) must all give
// the matrix of the plain rules, bit for bit.

#include "tests/test_support.h"
#include "tests/viewer/reference_reader.h"
#include "viewer/data/matrix_builder.h"
#include "viewer/data/matrix_error.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>
#include <unistd.h>

using namespace tavrin;

namespace {

bool sameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// Step group C written out plainly over the reference reader.
std::vector<double> referenceMatrix(const std::vector<std::string>& prefix, std::string_view text,
                                    const MatrixSettings& s)
{
    std::vector<std::array<double, 3>> pts;
    const double defaults[3] = {s.xdef, s.ydef, s.zdef};
    auto take = [&](std::string_view line) {
        std::array<double, 3> p;
        if (reference::point(line, defaults, p.data()))
            pts.push_back(p);
    };
    for (const std::string& line : prefix)
        take(line);
    for (std::string_view line : reference::lines(text))
        take(line);
    double mn[3] = {0, 0, 0}, mx[3] = {0, 0, 0};
    for (std::size_t k = 0; k < pts.size(); ++k)
        for (int f = 0; f < 3; ++f) {
            if (k == 0 || pts[k][f] < mn[f])
                mn[f] = pts[k][f];
            if (k == 0 || pts[k][f] > mx[f])
                mx[f] = pts[k][f];
        }
    const IndexRect& r = s.rect;
    double sx = 1, sy = 1;
    if (s.yesScale) {
        if (std::fabs(mx[0] - mn[0]) > 0.0001)
            sx = std::fabs((double(r.xmax) - r.xmin) / (mx[0] - mn[0]));
        if (std::fabs(mx[1] - mn[1]) > 0.0001)
            sy = std::fabs((double(r.ymax) - r.ymin) / (mx[1] - mn[1]));
    }
    const std::size_t nx = std::size_t(r.xmax - r.xmin + 1), ny = std::size_t(r.ymax - r.ymin + 1);
    double fill = s.modeMatrixFill == FillMin ? mn[2] : s.modeMatrixFill == FillMax ? mx[2]
                  : s.modeMatrixFill == FillMid ? (mx[2] + mn[2]) / 2 : 0.0;
    std::vector<double> cells(nx * ny, fill);
    for (const auto& p : pts) {
        std::int64_t i, j;
        if (MapIndex((p[0] - mn[0]) * sx, r.xmin, r.xmax, i) && MapIndex((p[1] - mn[1]) * sy, r.ymin, r.ymax, j))
            cells[std::size_t(i - r.xmin) + std::size_t(j - r.ymin) * nx] = p[2];
    }
    return cells;
}

void expectMatrix(const std::optional<VisualizationMatrix>& m, const std::vector<double>& want, const char* how)
{
    ASSERT_TRUE(m) << how;
    ASSERT_EQ(m->cellCount(), want.size()) << how;
    for (std::size_t c = 0; c < want.size(); ++c)
        ASSERT_TRUE(sameBits(m->cells()[c], want[c])) << how << ": cell " << c << " " << m->cells()[c] << " vs "
                                                      << want[c];
}

// The ways of building, from one thread reading twice to two threads
// keeping points in parts of a few bytes.
std::vector<std::pair<const char*, BuildOptions>> allWays(std::size_t partBytes)
{
    BuildOptions oneRereading;
    oneRereading.parallelMinBytes = SIZE_MAX;
    oneRereading.keepShareOfMappedText = oneRereading.keepShareOfTextInMemory = 0;
    BuildOptions oneKeeping = oneRereading;
    oneKeeping.keepShareOfMappedText = oneKeeping.keepShareOfTextInMemory = 1e9;
    oneKeeping.partBytes = partBytes;
    BuildOptions twoKeeping = oneKeeping;
    twoKeeping.parallelMinBytes = 0;
    BuildOptions twoRereading = twoKeeping;
    twoRereading.keepShareOfMappedText = twoRereading.keepShareOfTextInMemory = 0;
    twoRereading.overlayShareOfFile = 1e9;
    // A budget that runs out halfway: the points kept so far are dropped
    // and the lines read again.
    BuildOptions twoRunningOut = twoKeeping;
    twoRunningOut.keepShareOfMappedText = twoRunningOut.keepShareOfTextInMemory = 0.3;
    return {{"one thread, reading again", oneRereading},
            {"one thread, keeping", oneKeeping},
            {"two threads, keeping", twoKeeping},
            {"two threads, reading again", twoRereading},
            {"two threads, budget running out", twoRunningOut}};
}

std::string randomFile(std::mt19937& rng, int points, int spread)
{
    static const char* kEnds[] = {"\n", "\r\n", "\r"};
    static const char* kOdd[] = {"abc", "1e", "-0", "0", "1e400", "1,5", "2.5e-3", "1e5", "0.1234567890123456789",
                                 "-0.000", "7.", ".25", "\t", "1e-400",
                                 "0.000000000000001", "0.00000000000001", "134217728", "-134217727"};
    std::string text = "* X Y Z\r\n";
    for (int k = 0; k < points; ++k) {
        if (rng() % 40 == 0)
            text += "/ comment\n";
        if (rng() % 60 == 0)
            text += "   \r\n";
        for (int f = 0; f < 3; ++f) {
            if (f)
                text += rng() % 3 ? " " : rng() % 2 ? ";" : "\t";
            if (rng() % 25 == 0)
                text += kOdd[rng() % std::size(kOdd)];
            else if (f < 2)
                text += std::to_string(static_cast<int>(rng() % static_cast<unsigned>(spread)) - spread / 4) +
                        (rng() % 2 ? ",5" : ".25");
            else
                text += std::to_string(k) + "." + std::to_string(rng() % 1000);
        }
        if (rng() % 30 == 0)
            text += " extra 1 2";
        text += kEnds[rng() % 3];
    }
    return text;
}

} // namespace

TEST(MatrixPasses, EveryWayGivesThePlainRulesMatrix)
{
    std::mt19937 rng(4242);
    for (int round = 0; round < 24; ++round) {
        std::string text = randomFile(rng, 200 + static_cast<int>(rng() % 3000), 10 + static_cast<int>(rng() % 40));
        if (round % 4 == 3)
            text.pop_back(); // no final line end
        MatrixSettings s;
        s.rect = round % 5 == 0 ? IndexRect{-3, 7, 2, 9} : IndexRect{0, 30, -5, 25};
        s.yesScale = round % 2 == 0;
        s.modeMatrixFill = static_cast<int>(rng() % 5);
        s.xdef = 1.5;
        s.ydef = -2;
        s.zdef = round % 3 ? 9.75 : -0.0;
        std::vector<std::string> prefix;
        if (round % 3 == 0)
            prefix = {"5 5 -1", "0;0;-2", "* computed", "1e3 1e3 4"};
        std::vector<double> want = referenceMatrix(prefix, text, s);
        DataLines lines{std::string_view(text)};
        lines.setPrefix(prefix);
        for (const auto& [how, options] : allWays(1 + rng() % 700))
            expectMatrix(BuildMatrix(lines, s, nullptr, options), want, how);
    }
}

TEST(MatrixPasses, ExtremesAgreeWithOneWalk)
{
    std::mt19937 rng(77);
    std::string text = randomFile(rng, 5000, 100);
    DataLines lines{std::string_view(text)};
    MatrixSettings s;
    for (const auto& [how, options] : allWays(97)) {
        DataExtremes e = ScanExtremes(lines, s, nullptr, options);
        DataExtremes one = ScanExtremes(lines, s, nullptr, allWays(1).front().second);
        const double got[] = {e.minX, e.maxX, e.minY, e.maxY, e.minZ, e.maxZ};
        const double want[] = {one.minX, one.maxX, one.minY, one.maxY, one.minZ, one.maxZ};
        for (int k = 0; k < 6; ++k)
            EXPECT_TRUE(sameBits(got[k], want[k])) << how << " " << k;
    }
}

// Signed zeros tie with each other: the first one met must stay the
// extreme, whichever thread met it, since a fill value shows its sign.
TEST(MatrixPasses, TiesKeepTheFirstValueAcrossParts)
{
    std::string text;
    for (int k = 0; k < 2000; ++k)
        text += k < 1000 ? "-0 -0 -0\n" : "0 0 0\n";
    DataLines lines{std::string_view(text)};
    MatrixSettings s;
    s.rect = {0, 1, 0, 0};
    s.modeMatrixFill = FillMin;
    for (const auto& [how, options] : allWays(100)) {
        auto m = BuildMatrix(lines, s, nullptr, options);
        EXPECT_TRUE(std::signbit(m->at(1, 0))) << how; // the fill: the first minimum, -0
        EXPECT_FALSE(std::signbit(m->at(0, 0))) << how; // the last point: +0
        DataExtremes e = ScanExtremes(lines, s, nullptr, options);
        for (double v : {e.minX, e.maxX, e.minY, e.maxY, e.minZ, e.maxZ})
            EXPECT_TRUE(std::signbit(v)) << how;
    }
}

TEST(MatrixPasses, MappedFileGivesTheSameMatrixAsText)
{
    testsupport::TempDir dir;
    std::mt19937 rng(5);
    std::string text = randomFile(rng, 30000, 60);
    std::string path = dir.write("points.txt", text);
    MatrixSettings s;
    s.rect = {0, 49, 0, 49};
    s.yesScale = true;
    s.modeMatrixFill = FillMid;
    std::vector<double> want = referenceMatrix({}, text, s);
    DataLines lines = DataLines::fromFile(path);
    ASSERT_TRUE(lines.file().mapped());
    for (const auto& [how, options] : allWays(4096))
        expectMatrix(BuildMatrix(lines, s, nullptr, options), want, how);
    expectMatrix(BuildMatrix(lines, s), want, "defaults");
}

TEST(MatrixPasses, AFileCutShortWhileReadIsAnError)
{
    testsupport::TempDir dir;
    std::string text;
    for (int k = 0; k < 200000; ++k)
        text += "1 2 3\n";
    std::string path = dir.write("shrinks.txt", text);
    DataLines lines = DataLines::fromFile(path);
    ASSERT_TRUE(lines.file().mapped());
    ASSERT_EQ(::truncate(path.c_str(), 100), 0);
    try {
        BuildMatrix(lines, MatrixSettings{});
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("shrinks.txt"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("shortened"), std::string::npos) << e.what();
    }
    EXPECT_THROW(lines.toStrings(), FileError);
}

TEST(MatrixPasses, PacerTicksWhileBuilding)
{
    std::string text;
    for (int k = 0; k < 100000; ++k)
        text += std::to_string(k % 100) + " " + std::to_string(k % 37) + " " + std::to_string(k) + "\n";
    DataLines lines{std::string_view(text)};
    for (const auto& [how, options] : allWays(1 << 16)) {
        int ticks = 0;
        Pacer pacer([&] { ++ticks; }, std::chrono::milliseconds(0));
        BuildMatrix(lines, MatrixSettings{}, &pacer, options);
        EXPECT_GT(ticks, 50) << how;
    }
}

TEST(DataLines, PartsSplitAfterLineEndsAndCoverEverything)
{
    std::mt19937 rng(3);
    for (std::string text : {std::string("aaaa\r\nbbbb\r\ncc"), std::string("aaaaaaaaaa"), std::string("ab\rcd\ref\r"),
                             std::string("x\n"), std::string(""), std::string("\r\n\r\n\r\n")}) {
        for (std::size_t size : {1u, 2u, 3u, 5u, 100u}) {
            DataLines d{std::string_view(text)};
            std::vector<std::string> joined;
            std::size_t expectBegin = 0;
            for (DataLines::Part p : d.parts(size)) {
                EXPECT_FALSE(p.prefix);
                EXPECT_EQ(p.begin, expectBegin);
                EXPECT_LT(p.begin, p.end);
                if (p.end < text.size()) {
                    EXPECT_TRUE(text[p.end - 1] == '\n' || text[p.end - 1] == '\r') << text << " " << size;
                    EXPECT_FALSE(text[p.end - 1] == '\r' && text[p.end] == '\n') << text << " " << size;
                }
                expectBegin = p.end;
                auto c = d.cursor(p);
                std::string_view l;
                while (c.next(l))
                    joined.emplace_back(l);
            }
            EXPECT_EQ(expectBegin, text.size());
            EXPECT_EQ(joined, d.toStrings()) << text;
        }
    }
    DataLines withPrefix{std::string_view("1 1 1\n")};
    withPrefix.setPrefix({"0 0 0"});
    auto parts = withPrefix.parts(1);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_TRUE(parts[0].prefix);
    EXPECT_EQ(parts[0].end, 0u);
    EXPECT_FALSE(parts[1].prefix);
}
