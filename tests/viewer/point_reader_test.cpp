#include "tests/viewer/reference_reader.h"
#include "viewer/data/data_lines.h"
#include "viewer/data/kept_points.h"
#include "viewer/data/point_reader.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <string>
#include <vector>

using namespace tavrin;

namespace {

const PointDefaults kDefaults{{-1.25, -2.5, -3.75}};

struct Point {
    double v[3];
};

bool sameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// The points of a text by the plain rules.
std::vector<Point> referencePoints(std::string_view text)
{
    std::vector<Point> out;
    for (std::string_view line : reference::lines(text)) {
        Point p;
        if (reference::point(line, kDefaults.v, p.v))
            out.push_back(p);
    }
    return out;
}

// The points of a text read in place, part by part, as the builder reads
// them; every kept code must give back the value read.
std::vector<Point> fastPoints(const DataLines& lines, std::size_t partBytes)
{
    std::vector<Point> out;
    std::string_view text = lines.text();
    for (DataLines::Part part : lines.parts(partBytes)) {
        const char* p = text.data() + part.begin;
        const char* end = text.data() + part.end;
        while (p < end) {
            LinePoint pt;
            bool data = false;
            const char* next = readLinePoint<true>(p, end, text.data() + text.size(), kDefaults, pt, data);
            EXPECT_GT(next, p);
            p = next;
            if (!data)
                continue;
            for (int f = 0; f < 3; ++f) {
                if (pt.code[f] == kCodeDefault) {
                    EXPECT_TRUE(sameBits(pt.v[f], kDefaults.v[f]));
                } else if (pt.code[f] != kCodeAside) {
                    EXPECT_TRUE(sameBits(decodeValue(pt.code[f]), pt.v[f])) << pt.v[f];
                }
            }
            out.push_back({{pt.v[0], pt.v[1], pt.v[2]}});
        }
    }
    return out;
}

void expectSamePoints(const std::string& text, std::size_t partBytes)
{
    std::vector<Point> want = referencePoints(text);
    DataLines lines{std::string_view(text)};
    std::vector<Point> got = fastPoints(lines, partBytes);
    ASSERT_EQ(got.size(), want.size()) << text.substr(0, 200);
    for (std::size_t i = 0; i < want.size(); ++i)
        for (int f = 0; f < 3; ++f)
            ASSERT_TRUE(sameBits(got[i].v[f], want[i].v[f]))
                << "point " << i << " field " << f + 1 << ": " << got[i].v[f] << " vs " << want[i].v[f];
    // The same lines one at a time, each with its end given.
    std::size_t k = 0;
    for (std::string_view line : reference::lines(text)) {
        double p[3];
        if (!readDataPoint(line, kDefaults, p))
            continue;
        ASSERT_LT(k, want.size());
        for (int f = 0; f < 3; ++f)
            ASSERT_TRUE(sameBits(p[f], want[k].v[f])) << '"' << line << '"';
        ++k;
    }
    EXPECT_EQ(k, want.size());
}

// Texts that are hard on a number reader.
using namespace std::string_literals;
const std::string kHostile[] = {
    "1e", "1e+", "1e-", "e5", ".", ",", "+", "-", "+-1", "--1", ".5", "5.", ",5", "5,", "-.5", "+5,", "1,5,5",
    "1..5", "1.5,5", "nan", "NaN", "-nan", "inf", "-Inf", "infinity", "0x1F", "0x1p3", "$1F", "1d", "1f",
    "1e400", "-1e400", "1e-400", "-1e-400", "1.7976931348623157e308", "1.7976931348623159e308",
    "4.9406564584124654e-324", "2.4703282292062327e-324", "2.4703282292062328e-324", "1e-320",
    "2.2250738585072011e-308", "2.2250738585072014e-308", "9007199254740993", "9007199254740992.5",
    "18446744073709551615", "18446744073709551616", "123456789012345678901234567890",
    "0.000000000000000000000000000001", "00000000000000000000000000001", "0e999999999", "-0", "-0.0e-5",
    "1e0000000000000000000000005", "1e99999999999999999999", "0.1e-99999999999999", "134217727", "134217728",
    "-134217727e-14", "1.00000000000000", "0,000000000000001", "99999999999999999999e-20", "1E5", "1e+05",
    "1:5", "1/2", "9:", "0:0", "/5", "\xFA\xFB", "12\xFF", "\xA0" "1", "1\xA0", "1\xB9" "2", "\xD0\x96" "5",
    "5\xD0\x96", "1\xE2\x80\xAF" "2", "1\0 2"s, "1\0"s, "\0" "9"s, "\xFF" "9",
};

std::string randomNumber(std::mt19937& rng)
{
    std::string t;
    if (rng() % 4 == 0)
        t += rng() % 2 ? '-' : '+';
    int intDigits = static_cast<int>(rng() % 4 == 0 ? rng() % 40 : rng() % 8);
    for (int i = 0; i < intDigits; ++i)
        t += static_cast<char>('0' + rng() % 10);
    if (rng() % 3)
        t += rng() % 3 ? '.' : ',';
    int fracDigits = static_cast<int>(rng() % 5 == 0 ? rng() % 40 : rng() % 9);
    for (int i = 0; i < fracDigits; ++i)
        t += static_cast<char>('0' + rng() % 10);
    if (rng() % 4 == 0) {
        t += rng() % 2 ? 'e' : 'E';
        if (rng() % 2)
            t += rng() % 2 ? '-' : '+';
        static const int kExps[] = {0, 1, 5, 22, 23, 30, 290, 307, 308, 309, 320, 323, 324, 325, 400, 99999, 100000};
        t += std::to_string(kExps[rng() % std::size(kExps)] + static_cast<int>(rng() % 3));
    }
    return t;
}

std::string randomText(std::mt19937& rng, int lines)
{
    static const char* kEnds[] = {"\n", "\r\n", "\r"};
    static const char* kSeps[] = {" ", ";", "\t", "  ", " ; ", "\t\t", ";;"};
    std::string text;
    for (int l = 0; l < lines; ++l) {
        switch (rng() % 12) {
        case 0: text += "* comment 1 2 3"; break;
        case 1: text += "   / also a comment"; break;
        case 2: text += std::string(rng() % 4, ' '); break;
        case 3: text += '\t'; break;
        default: break;
        }
        int fields = static_cast<int>(rng() % 6);
        for (int f = 0; f < fields; ++f) {
            if (f > 0 || rng() % 4 == 0)
                text += kSeps[rng() % std::size(kSeps)];
            switch (rng() % 8) {
            case 0: text += kHostile[rng() % std::size(kHostile)]; break;
            case 1: text += randomNumber(rng) + static_cast<char>("x\xFA.,e\0"[rng() % 6]); break;
            default: text += randomNumber(rng); break;
            }
        }
        if (rng() % 5 == 0)
            text += kSeps[rng() % std::size(kSeps)];
        if (l + 1 < lines || rng() % 2)
            text += kEnds[rng() % 3];
    }
    return text;
}

} // namespace

TEST(PointReader, AgreesWithThePlainRulesOnRandomText)
{
    std::mt19937 rng(2718);
    for (int round = 0; round < 400; ++round) {
        std::string text = randomText(rng, 1 + static_cast<int>(rng() % 300));
        expectSamePoints(text, 1 + rng() % 512);
    }
}

TEST(PointReader, AgreesOnHostileFieldsAnywhereInTheLine)
{
    std::string text;
    for (const std::string& a : kHostile)
        for (const char* b : {"1", "1,5", "-0", "1e"}) {
            text += a + " " + b + ";" + a + "\n";
            text += b + ("\t" + a) + "\r\n";
            text += "\t" + a + "\r";
        }
    // Every hostile field as the very last bytes of the text, with nothing
    // after it to stop a read-ahead.
    for (const std::string& a : kHostile) {
        expectSamePoints(text + a, 64);
        expectSamePoints("1 2 " + a, 1);
    }
}

TEST(PointReader, LongLinesAndLongDigitStrings)
{
    std::string digits(800, '9');
    std::string text = digits + " 0." + digits + " " + digits + "e-800\n";
    text += "1 2 3" + std::string(100000, ' ') + "4\r\n";
    text += std::string(70000, ';') + "5;6;7\n";
    text += "0." + std::string(400, '0') + "1e400 1" + std::string(30, '0') + "e-330 " + digits + "," + digits;
    text += std::string(100000, 'x') + " 1 2 3\n";
    expectSamePoints(text, 4096);
    expectSamePoints(text, 1);
}

TEST(PointReader, LineEndsNulBytesAndMissingFinalNewline)
{
    using namespace std::string_literals;
    for (std::string text : {""s, "\n"s, "\r\n\r\n"s, "1 2 3"s, "1 2 3\r"s, "1\r\n2\n\r3"s, "\r\r\n\n"s,
                             "1 2\0 3\n4 5 6"s, "\0\0\0"s, "1 2 3\n\0"s, "   \n*\r/\n \t\n"s, "5 6 7\r\n8"s})
        for (std::size_t part : {1u, 2u, 3u, 1000u})
            expectSamePoints(text, part);
}

TEST(PointReader, ShortDecimalsKeepInFourBytesOthersAside)
{
    auto codeOf = [](const char* t) {
        LinePoint pt;
        bool data = false;
        std::string line = std::string(t) + " 0 0";
        readLinePoint<false>(line.data(), line.data() + line.size(), line.data() + line.size(), kDefaults, pt, data);
        return pt.code[0];
    };
    EXPECT_NE(codeOf("752.145"), kCodeAside);
    EXPECT_NE(codeOf("-36.37273"), kCodeAside);
    EXPECT_NE(codeOf("-0"), kCodeAside);
    EXPECT_NE(codeOf("134217727"), kCodeAside);
    EXPECT_NE(codeOf("0.00000000000001"), kCodeAside);
    EXPECT_EQ(codeOf("134217728"), kCodeAside);
    EXPECT_EQ(codeOf("0.000000000000001"), kCodeAside);
    EXPECT_EQ(codeOf("1e5"), kCodeAside);
    EXPECT_EQ(codeOf("x"), kCodeDefault);
    EXPECT_EQ(codeOf("1e400"), kCodeDefault);
    EXPECT_TRUE(std::signbit(decodeValue(codeOf("-0.000"))));
}
