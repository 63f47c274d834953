// The byte archive and the two property exchanges.
#include "platform/archive/byte_archive.h"
#include "platform/archive/prop_exchange.h"
#include "platform/archive/property_bag.h"
#include "platform/automation/guid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace platform;

namespace {

std::vector<std::uint8_t> bytes(std::initializer_list<int> values)
{
    std::vector<std::uint8_t> out;
    for (int v : values)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

ArchiveError::Kind errorKind(const std::function<void()>& f)
{
    try {
        f();
    } catch (const ArchiveError& e) {
        return e.kind();
    }
    ADD_FAILURE() << "no archive error";
    return ArchiveError::Kind::BadValue;
}

TEST(ByteArchive, ValuesAreLittleEndianWithoutPadding)
{
    ArchiveWriter w;
    w.writeU8(1);
    w.writeI16(-2);
    w.writeU32(0x00080006);
    w.writeFloat(1.0f);
    w.writeDouble(0.5);
    EXPECT_EQ(w.bytes(), bytes({1, 0xFE, 0xFF, 6, 0, 8, 0, 0, 0, 0x80, 0x3F, 0, 0, 0, 0, 0, 0, 0xE0, 0x3F}));

    ArchiveReader r(w.bytes());
    EXPECT_EQ(r.readU8(), 1);
    EXPECT_EQ(r.readI16(), -2);
    EXPECT_EQ(r.readU32(), 0x00080006u);
    EXPECT_EQ(r.readFloat(), 1.0f);
    EXPECT_EQ(r.readDouble(), 0.5);
    EXPECT_TRUE(r.atEnd());
}

TEST(ByteArchive, TextLengthsTakeOneThreeOrSevenBytes)
{
    for (std::size_t n : {std::size_t(0), std::size_t(254), std::size_t(255), std::size_t(0xFFFE), std::size_t(0xFFFF),
                          std::size_t(70000)}) {
        ArchiveWriter w;
        std::string text(n, 'x');
        w.writeText(text);
        std::size_t prefix = n < 255 ? 1 : n < 0xFFFF ? 3 : 7;
        ASSERT_EQ(w.bytes().size(), prefix + n) << n;
        if (prefix > 1) {
            EXPECT_EQ(w.bytes()[0], 0xFF);
        }
        if (prefix == 7) {
            EXPECT_EQ((w.bytes()[1] | w.bytes()[2] << 8), 0xFFFF);
        }
        ArchiveReader r(w.bytes());
        EXPECT_EQ(r.readText(), text);
        EXPECT_TRUE(r.atEnd());
    }
}

TEST(ByteArchive, CountsBeyondTheStreamFailBeforeAnythingIsAllocated)
{
    // A 32-bit text length of 4 GiB and a blob of as many bytes, in a
    // stream of a few bytes.
    auto text = bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a'});
    EXPECT_EQ(errorKind([&] { ArchiveReader(text).readText(); }), ArchiveError::Kind::EndOfStream);
    auto blob = bytes({0xFF, 0xFF, 0xFF, 0xFF, 1, 2});
    EXPECT_EQ(errorKind([&] { ArchiveReader(blob).readBlob(); }), ArchiveError::Kind::EndOfStream);
    auto shortDouble = bytes({0, 0, 0});
    ArchiveReader r(shortDouble);
    EXPECT_EQ(errorKind([&] { r.readDouble(); }), ArchiveError::Kind::EndOfStream);
    try {
        ArchiveReader(blob).readBlob();
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.offset(), 4u);
        EXPECT_NE(std::string(e.what()).find("at byte 4"), std::string::npos);
    }
}

TEST(ByteArchive, GuidsAndBlobsRoundTrip)
{
    Guid id{0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
    ArchiveWriter w;
    w.writeGuid(id);
    w.writeBlob(bytes({9, 8, 7}));
    w.writeBlob({});
    ArchiveReader r(w.bytes());
    EXPECT_EQ(r.readGuid(), id);
    EXPECT_EQ(r.readBlob(), bytes({9, 8, 7}));
    EXPECT_TRUE(r.readBlob().empty());
    EXPECT_TRUE(r.atEnd());
}

TEST(ArchiveExchange, NonFiniteNumbersReadAsAbsent)
{
    ArchiveWriter w;
    w.writeDouble(std::numeric_limits<double>::quiet_NaN());
    w.writeFloat(std::numeric_limits<float>::infinity());
    w.writeDouble(2.5);
    ArchiveReader r(w.bytes());
    ArchiveExchange px(r);
    double d = 7.0;
    float f = 3.0f;
    EXPECT_FALSE(px.Double("A", d));
    EXPECT_EQ(d, 7.0);
    px.WithDefault(&PropExchange::Float, "B", f, 1.0f);
    EXPECT_EQ(f, 1.0f);
    EXPECT_TRUE(px.Double("C", d));
    EXPECT_EQ(d, 2.5);
}

TEST(ArchiveExchange, ObjectsOfOtherClassesArePassedOver)
{
    Guid mine{1, 2, 3, {4}}, other{9, 9, 9, {9}};
    ArchiveWriter w;
    ArchiveExchange out(w);
    std::int32_t a = 11, b = 22;
    out.Object("first", other, [&](PropExchange& px) { px.Long("v", a); });
    out.Object("second", mine, [&](PropExchange& px) { px.Long("v", b); });
    w.writeGuid(Guid{}); // a null object: no record follows
    w.writeU8(0x5A);

    ArchiveReader r(w.bytes());
    ArchiveExchange in(r);
    int bodies = 0;
    std::int32_t got = 0;
    auto body = [&](PropExchange& px) {
        ++bodies;
        px.Long("v", got);
    };
    EXPECT_FALSE(in.Object("first", mine, body));
    EXPECT_TRUE(in.Object("second", mine, body));
    EXPECT_FALSE(in.Object("third", mine, body));
    EXPECT_EQ(bodies, 1);
    EXPECT_EQ(got, 22);
    EXPECT_EQ(r.readU8(), 0x5A);

    // A record that claims more than its blob holds is an error of the
    // whole stream, placed where the record lies.
    ArchiveWriter bad;
    bad.writeGuid(mine);
    bad.writeBlob(bytes({1, 2}));
    ArchiveReader br(bad.bytes());
    ArchiveExchange bx(br);
    EXPECT_EQ(errorKind([&] { bx.Object("x", mine, body); }), ArchiveError::Kind::EndOfStream);
}

TEST(BagExchange, NamesIgnoreCaseAndAbsentValuesStay)
{
    PropertyBag bag;
    {
        BagExchange out(bag, false);
        std::int16_t s = -3;
        std::uint32_t colour = 0xFF333333;
        std::string text = "Заголовок";
        out.Short("VerticalScale", s);
        out.ULong("AmbientLight", colour);
        out.Text("Title", text);
    }
    EXPECT_EQ(bag.size(), 3u);
    bag.Write("verticalscale", Variant::fromInt16(120));
    EXPECT_EQ(bag.size(), 3u);
    bag.Write("Tilt", Variant("not a number"));
    bag.Write("FogColor", Variant(-1));

    BagExchange in(bag, true);
    std::int16_t s = 0;
    std::uint32_t colour = 0, fog = 0;
    std::string text;
    double tilt = 0.25, twist = 0.5;
    EXPECT_TRUE(in.Short("VERTICALSCALE", s));
    EXPECT_EQ(s, 120);
    EXPECT_TRUE(in.ULong("AmbientLight", colour));
    EXPECT_EQ(colour, 0xFF333333u);
    EXPECT_TRUE(in.ULong("FogColor", fog));
    EXPECT_EQ(fog, 0xFFFFFFFFu);
    EXPECT_TRUE(in.Text("Title", text));
    EXPECT_EQ(text, "Заголовок");
    EXPECT_FALSE(in.Double("Tilt", tilt));
    EXPECT_EQ(tilt, 0.25);
    EXPECT_FALSE(in.Double("Twist", twist));
    EXPECT_EQ(twist, 0.5);
    // Out of range for 16 bits: absent.
    bag.Write("Big", Variant(70000));
    std::int16_t big = 4;
    EXPECT_FALSE(in.Short("Big", big));
    EXPECT_EQ(big, 4);
}

} // namespace
