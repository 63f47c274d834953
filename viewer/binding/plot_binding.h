#pragma once
// The viewer's calls into the embedded plot control: through its dispatch
// interface, by dispatch identifier, as any automation container would.

#include "platform/automation/dispatch.h"
#include "viewer/data/visualization_matrix.h"

namespace tavrin {

class PlotBinding {
public:
    static constexpr platform::DispId kRemoveSurfaces = 66;
    static constexpr platform::DispId kAddSurface = 73;

    PlotBinding() = default;
    explicit PlotBinding(platform::Ref<platform::Dispatch> control) : control_(std::move(control)) {}

    bool hasControl() const noexcept { return static_cast<bool>(control_); }
    const platform::Ref<platform::Dispatch>& control() const noexcept { return control_; }

    // Both ignore the control's boolean result; its errors are thrown as
    // DispatchException. Without a control they do nothing.
    void RemoveSurfaces();
    // The matrix crosses as a two-dimensional array of doubles with lower
    // bounds Xmin and Ymin; the control copies it.
    void AddSurface(const VisualizationMatrix& matrix);

private:
    platform::Ref<platform::Dispatch> control_;
};

} // namespace tavrin
