#pragma once
// `QuickPlotModel`: geometry a host computes itself, kept as recorded
// drawing calls and replayed with the model's format: the fill, the lines
// (polygons as outlines) and the dots (polygons as points), each when the
// switch of the model's plot kind is on. `Rect` is the bounding record the
// calls declared.

#include "plot/model/plot_model.h"
#include "plot/model/quick_plot_calls.h"

namespace halvex {

class QuickPlotModel final : public CglModel {
public:
    explicit QuickPlotModel(platform::Ref<OwnerLink> owner) : CglModel(std::move(owner)) {}

    QuickPlotModel* AsQuickPlotModel() override { return this; }
    // The fill, lines and dots passes. A replay that GL or the replay's own
    // checks refuse raises 32821 "OpenGL: …" or 32814; the renderer skips
    // the model then.
    bool Draw(const DrawContext& dc) override;
    // The calls' vertices as points, for selection; false when there is
    // nothing to pick or the replay is refused.
    bool DrawForPicking() override;

    const RecordedCalls& calls() const noexcept { return calls_; }
    // Replaces the recorded calls; the format stays.
    void SetCalls(RecordedCalls calls) noexcept { calls_ = std::move(calls); }

private:
    RecordedCalls calls_;
};

} // namespace halvex
