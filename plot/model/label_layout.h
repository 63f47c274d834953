#pragma once
// Which axis numbers and labels a frame draws, and where: every text is a
// box in window pixels (its glyphs' ink, y up), measured anew each frame.
// Texts that would leave the picture are moved inside when they can stay
// beside what they name, else dropped; numbers of one axis that would
// overlap are thinned to every s-th (the ends of the axis kept first); and
// no text may overlap one drawn before it (ends of the axes first, then the
// axis labels, then the other numbers).

#include <cstdint>
#include <vector>

namespace halvex {

struct PixelBox {
    float x0 = 0.0f, y0 = 0.0f, x1 = 0.0f, y1 = 0.0f;

    float width() const noexcept { return x1 - x0; }
    float height() const noexcept { return y1 - y0; }
    bool empty() const noexcept { return !(x1 > x0 && y1 > y0); }
    bool Overlaps(const PixelBox& o) const noexcept { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
    bool Inside(const PixelBox& area) const noexcept
    {
        return x0 >= area.x0 && x1 <= area.x1 && y0 >= area.y0 && y1 <= area.y1;
    }
    PixelBox Grown(float by) const noexcept { return {x0 - by, y0 - by, x1 + by, y1 + by}; }
    PixelBox Moved(float dx, float dy) const noexcept { return {x0 + dx, y0 + dy, x1 + dx, y1 + dy}; }
};

struct TextBox {
    PixelBox box;
    int group = 0;        // the axis it belongs to
    bool title = false;   // an axis label (else a number)
    std::int32_t index = 0; // a number's place on its axis, 0 … count − 1
    std::int32_t count = 1;
    // Filled in by LayOutText: drawn or not, and how far it was moved.
    bool shown = false;
    float dx = 0.0f, dy = 0.0f;
};

// Decides every box's shown flag and shift within area. gap: the least
// room between two texts, pixels.
void LayOutText(std::vector<TextBox>& boxes, const PixelBox& area, float gap);

} // namespace halvex
