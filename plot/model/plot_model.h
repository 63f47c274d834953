#pragma once
// The plot model object `CglModel`: a model's format, its automation
// interface `IglModel` and the drawing interface every model carries. A
// plain CglModel is a placeholder: format and no data.

#include "platform/automation/dispatch.h"
#include "platform/automation/member_table.h"
#include "plot/model/model_format.h"
#include "plot/model/plot_geometry.h"
#include "plot/model/plot_owner.h"

#include <string>

namespace halvex {

class MemberDispatch;

// The format dialog's settings object for one model; it follows the model's
// format to the model's successor.
class ModelSettingsLink : public platform::RefCounted {
public:
    virtual void retarget(CglModel* model) = 0;
};

class CglModel : public platform::Dispatch, public PlotGeometry {
public:
    CglModel() = default;
    explicit CglModel(platform::Ref<OwnerLink> owner) : owner_(std::move(owner)) {}

    // IglModel
    platform::DispId idOfName(std::string_view name) const override;
    platform::Variant invoke(platform::DispId id, platform::InvokeKind kind, std::span<platform::Variant> args) override;
    std::string className() const override { return "glModel"; }
    static const platform::MemberTable& memberNames();

    const ModelFormat& format() const noexcept { return format_; }
    // Takes over a predecessor's format; data, owner, dialog link and the
    // quick-plot flag stay this model's own.
    void TakeFormat(const ModelFormat& format) { format_ = format; }

    PlotOwner* owner() const noexcept { return owner_ ? owner_->owner() : nullptr; }
    void setOwner(platform::Ref<OwnerLink> owner) noexcept { owner_ = std::move(owner); }

    ModelSettingsLink* dialogLink() const noexcept { return dialogLink_.get(); }
    void setDialogLink(platform::Ref<ModelSettingsLink> link) noexcept { dialogLink_ = std::move(link); }

    bool IsQuickplot() const noexcept { return quickPlot_; }
    void SetQuickPlotFlag(bool on) noexcept { quickPlot_ = on; }

    const BoundingRecord& Rect() const noexcept { return format_.rect; }
    // Stores the record with its vector normalised.
    void SetRect(const BoundingRecord& rect) noexcept;
    const BoundingRecord& BarBox() const noexcept { return format_.barBox; }
    void SetBarBoxValid(bool valid) noexcept { format_.barBoxValid = valid; }
    // The record that stands for the model's data: the bar box (computed
    // when not valid) for bar and patch plots, `Rect` for the others (a
    // mesh widens it by what its interpolated grid reaches).
    virtual const BoundingRecord& DataRecord();
    std::int32_t ViewAs() const noexcept { return format_.viewAs; }
    // Sets the plot kind with no notification (the caller redraws).
    void SetPlotKind(std::int32_t kind) noexcept;
    bool PlotFlag() const noexcept { return format_.plotFlag; }
    void SetPlotFlag(bool on) noexcept { format_.plotFlag = on; }
    const std::array<float, 3>& Scale() const noexcept { return format_.scale; }
    // The control's equal-scales setting, copied before every draw: normals
    // are then sent unscaled.
    bool EqualScales() const noexcept { return equalScales_; }
    void SetEqualScales(bool on) noexcept { equalScales_ = on; }
    bool Dirty() const noexcept { return format_.dirty; }

    // The reaction to any format change: forget the cached drawing and have
    // the owner redraw.
    void ModelChanged();

    // PlotGeometry, as a placeholder answers it.
    void CopyFrom(CglModel& other) override;
    void ComputeBarBox() override;
    void Invalidate() override;
    bool NeedsDirectDraw() const override { return false; }
    bool Draw(const DrawContext&) override { return true; }
    SurfaceModel* AsSurface() override { return nullptr; }
    SurfaceModel* AsGridSurface() override { return AsSurface(); }
    CglModel* AsReservedA() override { return nullptr; }
    CglModel* AsReservedB() override { return nullptr; }
    MeshModel* AsMesh() override { return nullptr; }
    MeshModel* AsMeshModel() override { return AsMesh(); }
    QuickPlotModel* AsQuickPlotModel() override { return nullptr; }
    QuickPlotModel* AsQuickPlot() override { return AsQuickPlotModel(); }
    bool DrawForPicking() override { return false; }
    bool CanInterpolate() const override { return false; }
    void ComputeScale(const BoundingRecord& dataBox) override;

protected:
    ModelFormat format_;

private:
    static const MemberDispatch& members();

    platform::Ref<OwnerLink> owner_;
    platform::Ref<ModelSettingsLink> dialogLink_;
    bool quickPlot_ = false;
    bool equalScales_ = false;
};

} // namespace halvex
