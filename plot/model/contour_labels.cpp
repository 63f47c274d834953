#include "plot/model/contour_labels.h"

#include <algorithm>
#include <cmath>

namespace halvex {

namespace {

constexpr std::int32_t kGridCells = 32;

} // namespace

ContourLabeler::ContourLabeler(double left, double top, double width, double height)
    : left_(left), top_(top), width_(std::max(width, 0.0)), height_(std::max(height, 0.0)),
      spacing_(std::max(width_, height_) / 3.0)
{
    gridX_ = gridY_ = kGridCells;
    cellW_ = std::max(width_ / gridX_, 1.0);
    cellH_ = std::max(height_ / gridY_, 1.0);
    cells_.resize(std::size_t(gridX_) * std::size_t(gridY_));
}

void ContourLabeler::CellRange(const LabelBox& b, std::int32_t& x0, std::int32_t& x1, std::int32_t& y0,
                               std::int32_t& y1) const
{
    auto cell = [](double v, double size, std::int32_t n) {
        double c = std::floor(v / size);
        return c < 0.0 ? 0 : c >= double(n) ? n - 1 : std::int32_t(c);
    };
    x0 = cell(b.left - left_, cellW_, gridX_);
    x1 = cell(b.right - left_, cellW_, gridX_);
    y0 = cell(b.top - top_, cellH_, gridY_);
    y1 = cell(b.bottom - top_, cellH_, gridY_);
}

bool ContourLabeler::Fits(double x, double y, double w, double h, LabelBox& box) const
{
    // Clear of the plot's edges: the number's width from the sides, twice
    // its height from the top and the bottom.
    if (!(x - left_ > w && y - top_ >= 2.0 * h && (top_ + height_) - y > 2.0 * h && (left_ + width_) - x > w))
        return false;
    box.left = x - w / 2.0 - kMarginX;
    box.right = x + w / 2.0 + kMarginX;
    box.top = y - h / 2.0 - kMarginY;
    box.bottom = y + h / 2.0 + kMarginY;
    std::int32_t x0, x1, y0, y1;
    CellRange(box, x0, x1, y0, y1);
    for (std::int32_t cy = y0; cy <= y1; ++cy)
        for (std::int32_t cx = x0; cx <= x1; ++cx)
            for (std::uint32_t k : cells_[std::size_t(cx) + std::size_t(cy) * std::size_t(gridX_)])
                if (labels_[k].box.Overlaps(box))
                    return false;
    return true;
}

void ContourLabeler::Offer(std::int32_t level, std::span<const std::array<double, 3>> points,
                           std::span<const std::array<double, 2>> window, double textWidth, double textHeight)
{
    const std::size_t n = std::min(points.size(), window.size());
    if (n == 0 || !(textWidth > 0.0) || !(textHeight > 0.0))
        return;
    double run = 0.0;
    for (std::size_t k = 0; k < n; ++k) {
        const auto& p = window[k];
        if (k > 0) {
            const auto& q = window[k - 1];
            double d = std::hypot(p[0] - q[0], p[1] - q[1]);
            run += std::isfinite(d) ? std::round(d) : 0.0;
            if (run < spacing_)
                continue;
        }
        LabelBox box;
        if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !Fits(p[0], p[1], textWidth, textHeight, box))
            continue;
        std::uint32_t index = std::uint32_t(labels_.size());
        labels_.push_back({level, points[k], p, box});
        std::int32_t x0, x1, y0, y1;
        CellRange(box, x0, x1, y0, y1);
        for (std::int32_t cy = y0; cy <= y1; ++cy)
            for (std::int32_t cx = x0; cx <= x1; ++cx)
                cells_[std::size_t(cx) + std::size_t(cy) * std::size_t(gridX_)].push_back(index);
        run = 0.0;
    }
}

} // namespace halvex
