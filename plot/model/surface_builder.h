#pragma once
// `BuildSurface`: a matrix of doubles becomes a surface model under a model
// number of the control, taking over the format of the model it replaces
// and widening the control's `DataBox`.

#include <cstdint>
#include <optional>

namespace halvex {

class PlotOwner;

// Asked between rows while a matrix is converted; only the host's
// data-port input gives one.
class InterruptSource {
public:
    virtual bool InterruptPending() = 0;

protected:
    ~InterruptSource() = default;
};

struct SurfaceBuildOptions {
    // The plot kind the new model gets instead of its predecessor's.
    std::optional<std::int32_t> plotKind;
    InterruptSource* interrupt = nullptr;
};

// data holds rows × cols doubles, element (i, j) at i + j × rows. Errors:
// 32785 when the model cannot be made; 32801 when the heights cannot be
// held or a value is not a finite number that a float can carry; 57763 when
// interrupted. A failed build changes neither the table, the model it would
// replace, nor the data box.
bool BuildSurface(PlotOwner& control, const double* data, std::int32_t rows, std::int32_t cols, int modelNumber,
                  const SurfaceBuildOptions& options = {});

} // namespace halvex
