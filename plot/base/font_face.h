#pragma once
// Fonts of the scene text, found by family name through fontconfig and read
// with FreeType. The Windows faces the control has always named are looked
// up as the Liberation fonts that share their metrics. Glyphs come as
// triangles in em units (outline glyphs) or as bitmaps of a pixel size,
// both cached here, apart from any GL context. Text is 8-bit, code page
// 1251.

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace halvex {

struct GlyphOutline {
    // x, y pairs in em units (y up, the pen at the origin), three corners
    // a triangle.
    std::vector<float> triangles;
    // The flattened contours: x, y pairs, and where each contour ends
    // (counted in points).
    std::vector<float> contours;
    std::vector<std::uint32_t> contourEnds;
    float advance = 0.0f; // em units
};

struct GlyphBitmap {
    int width = 0;
    int height = 0;
    // From the pen to the bitmap's lower left corner, negated, as the GL's
    // bitmap drawing takes it.
    float xorig = 0.0f;
    float yorig = 0.0f;
    float advance = 0.0f; // pixels
    // Rows from the bottom, (width + 7) / 8 bytes each, leftmost pixel in
    // the most significant bit.
    std::vector<std::uint8_t> bits;
};

class FontFace {
public:
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // The face for a family name; the system's sans-serif face when the
    // name is unknown; nullptr when no font can be read at all. Faces are
    // shared by every caller of the process.
    static std::shared_ptr<FontFace> Find(std::string_view family);
    // The family the system offers for a name the control uses.
    static std::string SubstituteFamily(std::string_view family);

    const std::string& family() const noexcept { return family_; }
    // An outline (TrueType or other scalable) font: drawn as outline glyphs.
    bool scalable() const noexcept { return scalable_; }
    // Above and below the baseline, em units (descent positive).
    float ascent() const noexcept { return ascent_; }
    float descent() const noexcept { return descent_; }

    // The glyph of a character; control characters are empty and do not
    // advance.
    const GlyphOutline& Outline(unsigned char code);
    GlyphBitmap Bitmap(unsigned char code, int pixelSize);
    // Ascent and descent in whole pixels at a pixel size.
    std::array<int, 2> PixelExtent(int pixelSize);

private:
    struct Impl;
    explicit FontFace(std::unique_ptr<Impl> impl);

    std::unique_ptr<Impl> impl_;
    std::mutex mutex_;
    std::string family_;
    bool scalable_ = false;
    float ascent_ = 0.8f;
    float descent_ = 0.2f;
    std::array<std::unique_ptr<GlyphOutline>, 256> outlines_;
};

} // namespace halvex
