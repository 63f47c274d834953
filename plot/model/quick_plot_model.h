#pragma once
// `QuickPlotModel`: a plot of host functions, made in the host programs.

#include "plot/model/plot_model.h"

namespace halvex {

class QuickPlotModel final : public CglModel {
public:
    explicit QuickPlotModel(platform::Ref<OwnerLink> owner) : CglModel(std::move(owner)) {}

    QuickPlotModel* AsQuickPlotModel() override { return this; }
};

} // namespace halvex
