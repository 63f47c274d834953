#pragma once
// A matrix handed over in an automation argument, read by
// ReadMatrixArgument: rows × cols doubles, element (i, j) (counted from the
// lower bounds) at i + j × rows, that is the array's own memory order. An
// array of doubles is read in place, kept alive by a reference; floats and
// variants are converted into a buffer of doubles the argument owns.

#include "platform/automation/ref_counted.h"
#include "platform/automation/safe_array.h"
#include "platform/automation/variant.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace halvex {

class MatrixArgument {
public:
    const double* data() const noexcept { return data_; }
    std::int32_t rows() const noexcept { return rows_; }
    std::int32_t cols() const noexcept { return cols_; }
    std::size_t size() const noexcept { return std::size_t(rows_) * std::size_t(cols_); }
    bool sameShape(const MatrixArgument& o) const noexcept { return rows_ == o.rows_ && cols_ == o.cols_; }

private:
    friend MatrixArgument ReadMatrixArgument(const platform::Variant& argument);

    const double* data_ = nullptr;
    std::int32_t rows_ = 0;
    std::int32_t cols_ = 0;
    platform::Ref<platform::SafeArray> array_; // an array read in place
    std::unique_ptr<double[]> owned_;          // a converted copy
};

// rows × cols, computed in 64 bits, as a number of doubles a buffer can
// hold with both counts within 32 bits; else 32785 "Not enough Memory.".
std::size_t MatrixCellCount(std::uint64_t rows, std::uint64_t cols);

// Errors: 32783 when the argument holds no array, an empty one, or one of
// more than two dimensions; 32785 when the size cannot be held; 32786
// when a variant element does not convert to a double; 32787 for an array
// of any element type but double, float and variant.
MatrixArgument ReadMatrixArgument(const platform::Variant& argument);

} // namespace halvex
