#include "viewer/ui/jpeg_image.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <vector>

using namespace tavrin;

namespace {

std::vector<unsigned char> encode(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return {bytes.begin(), bytes.end()};
}

} // namespace

TEST(Jpeg, DecodesWhatWasEncoded)
{
    QImage source(40, 30, QImage::Format_RGB888);
    source.fill(QColor(200, 40, 60));
    std::vector<unsigned char> bytes = encode(source);
    if (bytes.empty())
        GTEST_SKIP() << "this Qt has no JPEG writer";
    QImage decoded = DecodeJpeg(bytes);
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.size(), QSize(40, 30));
    QColor c = decoded.pixelColor(20, 15);
    EXPECT_NEAR(c.red(), 200, 6);
    EXPECT_NEAR(c.green(), 40, 6);
    EXPECT_NEAR(c.blue(), 60, 6);
}

TEST(Jpeg, DamagedBytesGiveANullImage)
{
    EXPECT_TRUE(DecodeJpeg({}).isNull());
    std::vector<unsigned char> junk(500, 0xAB);
    EXPECT_TRUE(DecodeJpeg(junk).isNull());
    QImage source(16, 16, QImage::Format_RGB888);
    source.fill(Qt::blue);
    std::vector<unsigned char> bytes = encode(source);
    if (bytes.empty())
        GTEST_SKIP() << "this Qt has no JPEG writer";
    bytes.resize(bytes.size() / 3); // truncated: libjpeg pads, it must not crash
    (void)DecodeJpeg(bytes);
    bytes[2] = 0; // a broken marker
    EXPECT_TRUE(DecodeJpeg(bytes).isNull());
}
