#pragma once
// Packed colours of the automation properties: 32 bits, red in the low
// byte, then green, blue and alpha. A float channel c becomes the byte
// truncate(c × 255 + 0.5); a byte b becomes b / 255.

#include <array>
#include <cstdint>

namespace halvex {

using ColorF = std::array<float, 4>; // red, green, blue, alpha

constexpr float kByteToUnit = 0.003921569f; // 1 / 255 as the channels hold it

constexpr std::uint32_t channelByte(float c) noexcept
{
    double b = double(c) * 255.0 + 0.5;
    if (!(b >= 0.0)) // negative or NaN
        return 0;
    return b >= 255.0 ? 255u : static_cast<std::uint32_t>(b);
}

constexpr float byteChannel(std::uint32_t packed, int shift) noexcept
{
    return static_cast<float>((packed >> shift) & 0xFFu) * kByteToUnit;
}

// Red, green and blue from the colour; the high byte is highByte.
constexpr std::uint32_t packRgb(const ColorF& c, std::uint32_t highByte) noexcept
{
    return channelByte(c[0]) | channelByte(c[1]) << 8 | channelByte(c[2]) << 16 | (highByte & 0xFFu) << 24;
}

constexpr std::uint32_t packRgba(const ColorF& c) noexcept
{
    return packRgb(c, channelByte(c[3]));
}

constexpr ColorF unpackRgba(std::uint32_t packed) noexcept
{
    return {byteChannel(packed, 0), byteChannel(packed, 8), byteChannel(packed, 16), byteChannel(packed, 24)};
}

// Red, green and blue from the packed value; alpha 1.
constexpr ColorF unpackRgbOpaque(std::uint32_t packed) noexcept
{
    return {byteChannel(packed, 0), byteChannel(packed, 8), byteChannel(packed, 16), 1.0f};
}

} // namespace halvex
