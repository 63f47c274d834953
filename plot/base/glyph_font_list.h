#pragma once
// The glyphs of one font at one size as display lists of one GL context:
// outline glyphs (triangles of the tessellated outlines, in em units, and
// their outlines as smooth lines) or bitmap glyphs. A list is recorded when
// its glyph is first drawn and lives as long as its context; a glyph met
// while another list is being recorded is drawn into that list instead.
//
// Scene text is 8-bit (code page 1251). A part between the control
// characters 1 and 2 is a superscript: drawn with the raised glyphs, 0.7
// of the size, lifted by 0.45 em.

#include "plot/base/font_face.h"

#include <array>
#include <bitset>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>

namespace halvex {

struct TextExtent {
    float width = 0.0f;   // pixels
    float ascent = 0.0f;  // above the baseline, raised parts included
    float descent = 0.0f; // below the baseline
    // Where the glyphs' ink lies, from the pen's start on the baseline
    // (pixels, y up); all 0 for a text without ink.
    float inkLeft = 0.0f, inkBottom = 0.0f, inkRight = 0.0f, inkTop = 0.0f;
    float height() const noexcept { return ascent + descent; }
    bool inked() const noexcept { return inkRight > inkLeft && inkTop > inkBottom; }
};

class GlyphFontList {
public:
    // pixelSize: the em size in pixels. bitmap: bitmap glyphs even for a
    // scalable font.
    GlyphFontList(std::shared_ptr<FontFace> face, float pixelSize, bool bitmap);
    ~GlyphFontList();
    GlyphFontList(const GlyphFontList&) = delete;
    GlyphFontList& operator=(const GlyphFontList&) = delete;

    bool outline() const noexcept { return !bitmap_; }
    float pixelSize() const noexcept { return size_; }
    const FontFace& face() const noexcept { return *face_; }

    // The size of a text as Draw lays it out.
    TextExtent Measure(std::string_view text);
    // Draws the text with its baseline starting at the origin of a pixel
    // coordinate system (y up) for outline glyphs; bitmap glyphs start at
    // the current raster position.
    void Draw(std::string_view text);

    // Display lists recorded so far (for tests and the benchmark).
    int recordedLists() const noexcept { return int(recorded_[0].count() + recorded_[1].count()); }

private:
    struct BitmapMetrics {
        float advance = 0.0f;
        // The bitmap's extent from the pen: left, bottom, right, top.
        std::array<float, 4> ink{};
        bool known = false;
    };
    float Advance(unsigned char code, bool raised);
    // The glyph's ink box from the pen (left, bottom, right, top), pixels
    // at the glyph's own size; empty (all 0) for a glyph with none.
    std::array<float, 4> Ink(unsigned char code, bool raised);
    const BitmapMetrics& Metrics(unsigned char code, bool raised);
    void DrawGlyph(unsigned char code, bool raised, bool compiling);
    void EmitOutline(const GlyphOutline& g);
    void EmitBitmap(const GlyphBitmap& b);

    std::shared_ptr<FontFace> face_;
    float size_;
    bool bitmap_;
    int raisedPixels_;
    unsigned base_[2] = {0, 0}; // normal and raised glyphs (the raised only for bitmaps)
    std::bitset<256> recorded_[2];
    BitmapMetrics metrics_[2][256];
    // Outline glyphs' ink boxes in em units, made on first use.
    std::array<std::array<float, 4>, 256> outlineInk_{};
    std::bitset<256> outlineInkKnown_;
    std::array<int, 2> pixelExtent_[2] = {{0, 0}, {0, 0}};
};

// The glyph lists of one GL context, by face, size and kind.
class SceneFonts {
public:
    // The list for a face name at a point size and resolution; nullptr when
    // no font can be read.
    GlyphFontList* Get(std::string_view family, float points, float dpi, bool bitmap = false);

private:
    std::map<std::tuple<std::string, int, bool>, std::unique_ptr<GlyphFontList>> lists_;
};

// The size of a scene text in a font list. Errors: 32788 without a font
// list, 32789 for an empty text.
TextExtent MeasureSceneText(GlyphFontList* list, std::string_view text);

} // namespace halvex
