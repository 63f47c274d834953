#include "plot/core/matrix_argument.h"

#include "plot/base/plot_errors.h"

#include <new>

namespace halvex {

using platform::SafeArray;
using platform::Variant;

namespace {

// Integer and floating kinds are taken directly; anything else goes through
// the value model's conversion.
double variantElement(const Variant& e)
{
    switch (e.type()) {
    case platform::varDouble: return e.rawDouble();
    case platform::varSmallint: case platform::varInteger: case platform::varShortInt:
    case platform::varByte: case platform::varWord: case platform::varLongWord:
    case platform::varSingle:
        return e.toDouble();
    default:
        try {
            return e.toDouble();
        } catch (const platform::VariantError&) {
            raiseError(err::TypeMismatch);
        }
    }
}

} // namespace

std::size_t MatrixCellCount(std::uint64_t rows, std::uint64_t cols)
{
    std::uint64_t cells = 0;
    if (__builtin_mul_overflow(rows, cols, &cells) || rows > INT32_MAX || cols > INT32_MAX
        || cells > SIZE_MAX / sizeof(double))
        raiseError(err::NotEnoughMemory);
    return static_cast<std::size_t>(cells);
}

MatrixArgument ReadMatrixArgument(const Variant& argument)
{
    // An argument written back by reference reaches the control as the
    // caller's own Variant, so there is no reference chain to follow here.
    const SafeArray* array = argument.array();
    if (!array || array->dimensions() < 1 || array->dimensions() > 2)
        raiseError(err::MustBe2DMatrix);

    std::uint64_t rows = array->bound(0).count;
    std::uint64_t cols = array->dimensions() == 2 ? array->bound(1).count : 1;
    std::size_t n = MatrixCellCount(rows, cols);
    if (n == 0)
        raiseError(err::MustBe2DMatrix);

    MatrixArgument m;
    m.rows_ = static_cast<std::int32_t>(rows);
    m.cols_ = static_cast<std::int32_t>(cols);

    switch (array->elementType()) {
    case platform::varDouble:
        m.array_ = platform::Ref<SafeArray>(const_cast<SafeArray*>(array));
        m.data_ = static_cast<const double*>(array->data());
        return m;
    case platform::varSingle:
    case platform::varVariant:
        break;
    default:
        raiseError(err::UnsupportedType);
    }

    m.owned_.reset(new (std::nothrow) double[n]);
    if (!m.owned_)
        raiseError(err::NotEnoughMemory);
    double* out = m.owned_.get();
    if (array->elementType() == platform::varSingle) {
        const auto* in = static_cast<const float*>(array->data());
        for (std::size_t k = 0; k < n; ++k)
            out[k] = in[k];
    } else {
        const Variant* in = array->variants();
        for (std::size_t k = 0; k < n; ++k)
            out[k] = variantElement(in[k]);
    }
    m.data_ = out;
    return m;
}

} // namespace halvex
