#include "viewer/binding/plot_binding.h"

namespace tavrin {

void PlotBinding::RemoveSurfaces()
{
    if (control_)
        control_->invoke(kRemoveSurfaces, platform::InvokeKind::Method, {});
}

void PlotBinding::AddSurface(const VisualizationMatrix& matrix)
{
    if (!control_)
        return;
    platform::Variant arg = matrix.toVariant();
    control_->invoke(kAddSurface, platform::InvokeKind::Method, std::span<platform::Variant>(&arg, 1));
}

} // namespace tavrin
