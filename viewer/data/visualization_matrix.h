#pragma once
// The visualization matrix: doubles over an inclusive index rectangle, the
// X index fastest. It is held in the two-dimensional array of doubles that
// is handed to the plot control, so the hand-over copies nothing.

#include "platform/automation/ref_counted.h"
#include "platform/automation/safe_array.h"
#include "platform/automation/variant.h"
#include "viewer/data/matrix_settings.h"

#include <cstddef>
#include <cstdint>

namespace tavrin {

class VisualizationMatrix {
public:
    // A matrix over the rectangle with 0.0 in every cell. Throws MatrixError
    // ("Error creating variant array") for an inverted rectangle or one whose
    // cell count cannot be allocated.
    explicit VisualizationMatrix(const IndexRect& rect);

    const IndexRect& rect() const noexcept { return rect_; }
    std::size_t width() const noexcept { return nx_; }  // X indices
    std::size_t height() const noexcept { return ny_; } // Y indices
    std::size_t cellCount() const noexcept { return nx_ * ny_; }

    double* cells() noexcept { return cells_; }
    const double* cells() const noexcept { return cells_; }
    // Cell [i, j] for Xmin <= i <= Xmax, Ymin <= j <= Ymax.
    double& at(std::int64_t i, std::int64_t j) noexcept { return cells_[offset(i, j)]; }
    double at(std::int64_t i, std::int64_t j) const noexcept { return cells_[offset(i, j)]; }

    void fill(double v) noexcept;
    // Cell-by-cell sum of a matrix over the same rectangle.
    void add(const VisualizationMatrix& other) noexcept;

    // The matrix as an automation value: a two-dimensional array of doubles
    // with lower bounds Xmin and Ymin (shared, not copied).
    platform::Variant toVariant() const { return platform::Variant(array_); }

private:
    std::size_t offset(std::int64_t i, std::int64_t j) const noexcept
    {
        return static_cast<std::size_t>(i - rect_.xmin) + static_cast<std::size_t>(j - rect_.ymin) * nx_;
    }

    IndexRect rect_;
    std::size_t nx_ = 0, ny_ = 0;
    platform::Ref<platform::SafeArray> array_;
    double* cells_ = nullptr;
};

} // namespace tavrin
