#include "plot/model/surface_builder.h"

#include "plot/base/plot_errors.h"
#include "plot/model/model_install.h"
#include "plot/model/surface_model.h"

#include <cmath>
#include <limits>
#include <new>

namespace halvex {

namespace {

struct Heights {
    std::unique_ptr<float[]> values;
    float min = std::numeric_limits<float>::max();
    float max = -std::numeric_limits<float>::max();
};

// One pass in memory order: floats, their range, and the refusal of what a
// float cannot carry (NaN, infinities, magnitudes beyond the float range),
// which would otherwise poison `Rect` and the data box.
Heights convert(const double* data, std::int32_t rows, std::int32_t cols, InterruptSource* interrupt)
{
    Heights h;
    std::size_t n = std::size_t(rows) * std::size_t(cols);
    h.values.reset(new (std::nothrow) float[n]);
    if (!h.values)
        raiseError(err::FailedToCreateSurface);
    constexpr double limit = std::numeric_limits<float>::max();
    float* out = h.values.get();
    float lo = h.min, hi = h.max;
    bool finite = true;
    for (std::int32_t j = 0; j < cols; ++j) {
        const double* in = data + std::size_t(j) * std::size_t(rows);
        float* col = out + std::size_t(j) * std::size_t(rows);
        for (std::int32_t i = 0; i < rows; ++i) {
            double d = in[i];
            finite &= std::fabs(d) <= limit;
            float f = finite ? static_cast<float>(d) : 0.0f;
            col[i] = f;
            lo = f < lo ? f : lo;
            hi = f > hi ? f : hi;
        }
        if (!finite)
            raiseError(err::FailedToCreateSurface);
        if (interrupt && interrupt->InterruptPending())
            raiseError(err::Interrupted);
    }
    h.min = lo;
    h.max = hi;
    return h;
}

} // namespace

bool BuildSurface(PlotOwner& control, const double* data, std::int32_t rows, std::int32_t cols, int modelNumber,
                  const SurfaceBuildOptions& options)
{
    if (!data || rows < 1 || cols < 1)
        raiseError(err::FailedToCreateSurface);
    platform::Ref<CglModel> old(control.FindModel(modelNumber));
    platform::Ref<SurfaceModel> model(new (std::nothrow) SurfaceModel(control.Link()));
    if (!model)
        raiseError(err::NotEnoughMemory);

    // Nothing outside the new model changes before the data is converted.
    Heights h = convert(data, rows, cols, options.interrupt);

    if (old)
        model->TakeFormat(old->format());
    if (options.plotKind)
        model->SetPlotKind(*options.plotKind);
    BoundingRecord rect;
    rect.min = {0.0f, h.min, 0.0f};
    rect.max = {float(cols - 1), h.max, float(rows - 1)};
    model->SetRect(rect);
    model->SetBarBoxValid(false);
    model->SetHeights(std::move(h.values), rows, cols);

    InstallBuiltModel(control, modelNumber, old.get(), model);
    return true;
}

} // namespace halvex
