#pragma once
// Numbers along the Z contours of a flat contour plot: where they go. Each
// curve is walked in window pixels; a number is tried at its first point
// and again whenever the curve has run a third of the plot's larger side
// since the last number. It is placed when it keeps clear of the plot's
// edges and of every number already placed, so numbers never overlap.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace halvex {

// Pixels, x to the right and y down from the top of the window.
struct LabelBox {
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
    bool Overlaps(const LabelBox& o) const noexcept
    {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
};

struct PlacedLabel {
    std::int32_t level = 0;
    std::array<double, 3> at{};     // the curve's point, display coordinates
    std::array<double, 2> window{}; // where it lies in the window
    LabelBox box;
};

class ContourLabeler {
public:
    // The plot area in window pixels (left, top, width, height).
    ContourLabeler(double left, double top, double width, double height);

    // Margins around a number's text inside its box, pixels.
    static constexpr double kMarginX = 3.0;
    static constexpr double kMarginY = 1.0;

    // A traced curve: its points in display coordinates and the same points
    // in the window; textWidth and textHeight are the pixels of the level's
    // number.
    void Offer(std::int32_t level, std::span<const std::array<double, 3>> points,
               std::span<const std::array<double, 2>> window, double textWidth, double textHeight);

    const std::vector<PlacedLabel>& labels() const noexcept { return labels_; }
    // The distance along a curve between numbers: a third of the larger
    // side of the plot area.
    double spacing() const noexcept { return spacing_; }

private:
    bool Fits(double x, double y, double w, double h, LabelBox& box) const;

    double left_, top_, width_, height_;
    double spacing_;
    std::vector<PlacedLabel> labels_;
    // The placed boxes by cells of a coarse grid over the plot area, so a
    // test meets only its neighbours.
    std::vector<std::vector<std::uint32_t>> cells_;
    std::int32_t gridX_ = 1, gridY_ = 1;
    double cellW_ = 1.0, cellH_ = 1.0;
    void CellRange(const LabelBox& b, std::int32_t& x0, std::int32_t& x1, std::int32_t& y0, std::int32_t& y1) const;
};

} // namespace halvex
