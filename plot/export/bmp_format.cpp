#include "plot/export/bmp_format.h"

namespace halvex {

namespace {

constexpr std::uint64_t kHeaderBytes = 56; // 14 + 40, padded to a multiple of four
// Readers take the colour table straight after the information header; the
// two bytes of padding come after it.
constexpr std::size_t kPaletteAt = 14 + 40;
constexpr std::uint64_t kPaletteBytes = 256 * 4;

void put16(std::string& s, std::size_t at, std::uint32_t v)
{
    s[at] = char(v & 0xFF);
    s[at + 1] = char(v >> 8 & 0xFF);
}

void put32(std::string& s, std::size_t at, std::uint32_t v)
{
    put16(s, at, v & 0xFFFF);
    put16(s, at + 2, v >> 16);
}

} // namespace

bool PlanBmp(std::int64_t width, std::int64_t height, int bits, BmpLayout& out, std::string& error)
{
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        error = "a bitmap has 8, 16, 24 or 32 bits per pixel, not " + std::to_string(bits);
        return false;
    }
    if (width < 1 || height < 1 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
        error = "a bitmap of " + std::to_string(width) + " x " + std::to_string(height) + " pixels cannot be made";
        return false;
    }
    BmpLayout l;
    l.width = std::int32_t(width);
    l.height = std::int32_t(height);
    l.bits = bits;
    // At most 32 × (2^31 − 1) + 31 bits a row: well within 64 bits, and so
    // is its product with a height below 2^31.
    l.rowBytes = (std::uint64_t(bits) * std::uint64_t(width) + 31) / 32 * 4;
    l.pixelOffset = kHeaderBytes + (bits == 8 ? kPaletteBytes : 0);
    if (l.rowBytes > kLargestBmpFile || std::uint64_t(height) > (kLargestBmpFile - l.pixelOffset) / l.rowBytes) {
        error = "a bitmap of " + std::to_string(width) + " x " + std::to_string(height) + " pixels at " +
                std::to_string(bits) + " bits per pixel would be larger than 2 GB, more than a bitmap file can hold";
        return false;
    }
    l.imageBytes = l.rowBytes * std::uint64_t(height);
    l.fileSize = l.pixelOffset + l.imageBytes;
    out = l;
    return true;
}

std::string BmpHeaders(const BmpLayout& l)
{
    std::string h(std::size_t(l.pixelOffset), '\0');
    h[0] = 'B';
    h[1] = 'M';
    put32(h, 2, std::uint32_t(l.fileSize));
    put32(h, 10, std::uint32_t(l.pixelOffset));
    put32(h, 14, 40);
    put32(h, 18, std::uint32_t(l.width));
    put32(h, 22, std::uint32_t(l.height)); // positive: bottom up
    put16(h, 26, 1);
    put16(h, 28, std::uint32_t(l.bits));
    put32(h, 30, 0); // no compression
    put32(h, 34, std::uint32_t(l.imageBytes));
    put32(h, 46, l.bits == 8 ? 256 : 0);
    if (l.bits == 8)
        for (int i = 0; i < 256; ++i) {
            auto c = PaletteEntry(i);
            std::size_t at = kPaletteAt + std::size_t(i) * 4;
            h[at] = char(c[2]);
            h[at + 1] = char(c[1]);
            h[at + 2] = char(c[0]);
        }
    return h;
}

std::array<std::uint8_t, 3> PaletteEntry(int i) noexcept
{
    return {std::uint8_t((i & 7) * 255 / 7), std::uint8_t((i >> 3 & 7) * 255 / 7), std::uint8_t((i >> 6 & 3) * 255 / 3)};
}

std::uint8_t PaletteIndex(std::uint8_t r, std::uint8_t g, std::uint8_t b) noexcept
{
    unsigned ri = (unsigned(r) * 7 + 127) / 255, gi = (unsigned(g) * 7 + 127) / 255, bi = (unsigned(b) * 3 + 127) / 255;
    return std::uint8_t(ri | gi << 3 | bi << 6);
}

void AppendBmpRows(const std::uint8_t* rgba, const BmpLayout& l, int rows, std::string& out)
{
    const std::size_t w = std::size_t(l.width);
    const std::size_t row = std::size_t(l.rowBytes);
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* p = rgba + std::size_t(y) * w * 4;
        std::size_t start = out.size();
        out.resize(start + row, '\0');
        auto* q = reinterpret_cast<std::uint8_t*>(out.data() + start);
        switch (l.bits) {
        case 32:
            for (std::size_t x = 0; x < w; ++x, p += 4, q += 4)
                q[0] = p[2], q[1] = p[1], q[2] = p[0], q[3] = 0;
            break;
        case 24:
            for (std::size_t x = 0; x < w; ++x, p += 4, q += 3)
                q[0] = p[2], q[1] = p[1], q[2] = p[0];
            break;
        case 16:
            // Five bits a channel, red highest, rounded to the nearest level.
            for (std::size_t x = 0; x < w; ++x, p += 4, q += 2) {
                unsigned r = (unsigned(p[0]) * 31 + 127) / 255, g = (unsigned(p[1]) * 31 + 127) / 255,
                         b = (unsigned(p[2]) * 31 + 127) / 255;
                unsigned v = r << 10 | g << 5 | b;
                q[0] = std::uint8_t(v & 0xFF);
                q[1] = std::uint8_t(v >> 8);
            }
            break;
        default:
            for (std::size_t x = 0; x < w; ++x, p += 4, ++q)
                *q = PaletteIndex(p[0], p[1], p[2]);
            break;
        }
    }
}

} // namespace halvex
