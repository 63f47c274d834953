#include "viewer/data/visualization_matrix.h"

#include "viewer/data/matrix_error.h"

#include <algorithm>

namespace tavrin {

VisualizationMatrix::VisualizationMatrix(const IndexRect& rect) : rect_(rect)
{
    // Spans in 64 bits: Xmax - Xmin may not fit in 32.
    std::int64_t nx = std::int64_t(rect.xmax) - rect.xmin + 1;
    std::int64_t ny = std::int64_t(rect.ymax) - rect.ymin + 1;
    if (nx <= 0 || ny <= 0 || nx > UINT32_MAX || ny > UINT32_MAX)
        throw MatrixError(kErrorCreatingArray);
    platform::SafeArray::Bound bounds[2] = {{rect.xmin, static_cast<std::uint32_t>(nx)},
                                            {rect.ymin, static_cast<std::uint32_t>(ny)}};
    platform::SafeArray* a = platform::SafeArray::create(platform::varDouble, bounds);
    if (!a)
        throw MatrixError(kErrorCreatingArray);
    array_ = platform::Ref<platform::SafeArray>::adopt(a);
    nx_ = static_cast<std::size_t>(nx);
    ny_ = static_cast<std::size_t>(ny);
    cells_ = static_cast<double*>(a->data());
}

void VisualizationMatrix::fill(double v) noexcept
{
    std::fill(cells_, cells_ + cellCount(), v);
}

void VisualizationMatrix::add(const VisualizationMatrix& other) noexcept
{
    const double* src = other.cells_;
    std::size_t n = cellCount();
    for (std::size_t k = 0; k < n; ++k)
        cells_[k] += src[k];
}

} // namespace tavrin
