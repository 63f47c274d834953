#pragma once
// How a large picture is cut for off-screen drawing: no single off-screen
// bitmap is to hold more than 1310720 pixels (1280 × 1024), so a larger
// picture is drawn in n = floor(width × height / 1310720) horizontal bands
// of height / n rows, the last band taking the remainder. Bands are cut
// further where the renderer's framebuffer cannot be that large: into
// more bands when a band would be taller, into columns when the picture is
// wider.

#include "plot/core/gl_renderer.h"

#include <cstdint>

namespace halvex {

constexpr std::int64_t kLargestBitmapPixels = 1310720;

struct BandPlan {
    int width = 0;
    int height = 0;
    int bands = 0;      // horizontal bands, top first
    int bandHeight = 0; // rows of every band but the last
    int columns = 1;    // tiles across each band

    // Rows of band k (full width).
    PixelRect Band(int k) const noexcept;
    // Column c of band k.
    PixelRect Tile(int k, int c) const noexcept;
    // The largest tile's size.
    int TileWidth() const noexcept;
    int TileHeight() const noexcept;
};

// The resolution rule for a target that is no window (a printer, a
// metafile): the target's w × h device pixels over the control's size in
// screen pixels (96 per inch) give the effective resolutions; when
// high-quality printing is off, a resolution above 150 dots per inch is
// limited to 150 and the picture drawn smaller, to be stretched onto the
// target.
struct OffscreenResolution {
    int width = 0; // the picture to draw
    int height = 0;
    int rx = 96; // dots per inch across and down
    int ry = 96;
    bool reduced = false;    // smaller than the target: stretched
    bool smoothLines = true; // off from 300 dots per inch on
};
// A control without size counts as 1 × 1 pixels.
OffscreenResolution ResolutionFor(int targetWidth, int targetHeight, int controlWidth, int controlHeight,
                                  bool highQuality) noexcept;

constexpr int kNormalResolutionLimit = 150;

// maxSide: the largest framebuffer side the renderer allows (at least 1).
// A picture without area gets no bands.
BandPlan PlanBands(int width, int height, int maxSide) noexcept;

} // namespace halvex
