#pragma once
// The layout of a device-independent bitmap file: a 14-byte file header, a
// 40-byte information header, two bytes of padding, for 8 bits per pixel a
// palette of 256 colours, then the rows bottom up, each padded to four
// bytes. Every size is computed in 64 bits; a file past 2^31 − 1 bytes is
// refused, as its 32-bit size fields could not say it.

#include <array>
#include <cstdint>
#include <string>

namespace halvex {

struct BmpLayout {
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bits = 24; // 8, 16, 24 or 32
    std::uint64_t rowBytes = 0;
    std::uint64_t imageBytes = 0;
    std::uint64_t pixelOffset = 0; // 56, or 1080 with the palette
    std::uint64_t fileSize = 0;
};

constexpr std::uint64_t kLargestBmpFile = 0x7FFFFFFF;

// False with a message for a size without area, a depth other than 8, 16,
// 24 or 32, or a file that would be too large.
bool PlanBmp(std::int64_t width, std::int64_t height, int bits, BmpLayout& out, std::string& error);

// The headers, the padding and the palette: pixelOffset bytes.
std::string BmpHeaders(const BmpLayout& layout);

// The palette of 8-bit files: 3 bits of red (lowest), 3 of green, 2 of blue,
// each level spread over 0..255 (entry i: red = (i & 7) × 255 / 7, green =
// (i >> 3 & 7) × 255 / 7, blue = (i >> 6) × 255 / 3).
std::array<std::uint8_t, 3> PaletteEntry(int index) noexcept;
// The entry nearest a colour, channel by channel.
std::uint8_t PaletteIndex(std::uint8_t r, std::uint8_t g, std::uint8_t b) noexcept;

// Appends the file's form of rows of RGBA pixels (in the order given) to
// out: each row width pixels, padded to rowBytes.
void AppendBmpRows(const std::uint8_t* rgba, const BmpLayout& layout, int rows, std::string& out);

} // namespace halvex
