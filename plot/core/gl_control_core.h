#pragma once
// `CGLCOleControl`, the core of the plot control: its settings, the model
// table, the eight light slots, the data box and the view flags, and the
// operations that models, lights and pages call back (`RequestRedraw`,
// `NextModelNumber`, `RecomputeViewFlags`).

#include "plot/core/annotation.h"
#include "plot/core/control_state.h"
#include "plot/core/render_link.h"
#include "plot/core/view_gestures.h"
#include "plot/host/dravik_ole_control.h"
#include "plot/model/bounding_record.h"
#include "plot/model/model_box_link.h"
#include "plot/model/plot_light.h"
#include "plot/model/plot_model.h"
#include "plot/model/plot_owner.h"

#include <array>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace halvex {

class GlRenderer;
class CglModelBox;
struct ViewAngles;

class CGLCOleControl : public host::CDravikOleControl, public PlotOwner {
public:
    using ModelTable = std::map<int, platform::Ref<CglModel>>;

    // PlotOwner
    void RequestRedraw() override;
    void RecomputeViewFlags() override;
    void PlotKindChanged(int oldKind, int newKind) override;
    void MarkModified() override { SetModifiedFlag(true); }
    CglModel* FindModel(int number) const override;
    void PutModel(int number, platform::Ref<CglModel> model) override;
    BoundingRecord& DataBox() override { return dataBox_; }
    platform::Ref<OwnerLink> Link() const override { return link_; }
    // Fired to the host as its message event, and kept for containers
    // without one.
    void DrawProblem(std::string_view message) override;
    const std::vector<std::string>& drawMessages() const noexcept { return drawMessages_; }
    BoxView ViewOfBox() const override;
    AxisLabelStyle LabelStyle() const override;
    void Repaint() override { InvalidateControl(false); }

    const ControlState& state() const noexcept { return state_; }
    // For the context menu's toggles, which redraw after the change.
    ControlState& mutableState() noexcept { return state_; }
    const ModelTable& models() const noexcept { return models_; }
    const BoundingRecord& DataBox() const noexcept { return dataBox_; }

    // A model that holds a plot: its plot flag is set, or it is a mesh or a
    // quick plot.
    static bool IsDataModel(CglModel& model);
    // 0 for an empty table, else the number of data models, at least 1.
    int NextModelNumber() const;
    // Every model is replaced by a placeholder that keeps its format;
    // redraw: as every change that affects the picture ends.
    void RemoveSurfaces(bool redraw = true);

    // Light slots 0..7; nullptr for an empty slot or any other number.
    CglLight* LightAt(int slot) const noexcept;
    // Slot numbers outside 0..7 are refused with "Unknown error".
    void CreateLight(int slot);
    void DestroyLight(int slot);

    bool FlatPlot() const noexcept { return flatPlot_; }
    bool AllBars() const noexcept { return allBars_; }
    bool AllSurfaces() const noexcept { return allSurfaces_; }
    // Raised by every change that invalidates the cached scene; the
    // renderer clears it after rebuilding.
    bool NeedsRebuild() const noexcept { return rebuild_; }
    void SceneRebuilt() noexcept { rebuild_ = false; }
    // The projection's camera distance (not a change of the settings).
    void SetZPosition(double z) noexcept { state_.zPosition = z; }
    // The view as the mouse leaves it; the caller repaints.
    void SetViewAngles(const ViewAngles& angles) noexcept;
    void SetDepthScale(double depthScale) noexcept { state_.depthScale = depthScale; }
    // Turning, zooming and spinning with the mouse.
    ViewGestures& gestures() noexcept { return gestures_; }
    // Everything a redraw needs except the modified mark; for the window
    // after a size change, a new context or an interruption the user went
    // on from.
    void RefreshScene();
    // Set in the first host program when a plot kind changes to or from a
    // vector field; the host's property-page notice takes it.
    bool TakePlotKindNotice() noexcept { return std::exchange(plotKindNotice_, false); }

    // "Fo&rmat..." and a double click on the picture: the site shows the
    // format dialog modally. The modified flag is cleared before and put
    // back afterwards unless the dialog changed something; a change
    // redraws the scene from scratch.
    void OnFormat();
    // The page and the model tab the format dialog showed last; the next
    // opening starts there.
    int lastFormatPage() const noexcept { return formatPage_; }
    void setLastFormatPage(int page) noexcept { formatPage_ = page; }
    int lastFormatModel() const noexcept { return formatModel_; }
    void setLastFormatModel(int tab) noexcept { formatModel_ = tab; }
    // Pasted and dropped annotations, drawn over the picture in this order.
    const std::vector<Annotation>& annotations() const noexcept { return annotations_; }
    // Adds one on top of the others: the window is invalidated with erase
    // and the control marked modified.
    void AddAnnotation(Annotation annotation);
    void MoveAnnotation(std::size_t index, const AnnotationRect& rect);
    // The list a loaded state holds; nothing is marked.
    void ReplaceAnnotations(std::vector<Annotation> list);

    // Width / height in pixels, 1.0 when either is 0.
    double Aspect() const noexcept;
    // The hosting window's size in pixels.
    void SetControlSize(int width, int height);

    void attachRenderer(std::unique_ptr<RenderLink> renderer) { renderer_ = std::move(renderer); }
    RenderLink* renderer() const noexcept { return renderer_.get(); }
    // The OpenGL renderer the control made for itself, while it is attached.
    GlRenderer* glRenderer() const noexcept;
    ModelBoxLink* modelBox() const noexcept { return modelBox_.get(); }
    // The model box with its axes and planes.
    CglModelBox& box() const noexcept { return *box_; }

protected:
    CGLCOleControl(host::HostFramework& host, const platform::Guid& eventsIid);
    ~CGLCOleControl() override;

    platform::Ref<CglModel> NewPlaceholder() const;

    ControlState state_;

private:
    platform::Ref<OwnerLink> link_;
    ModelTable models_;
    std::array<platform::Ref<CglLight>, kLightSlots> lights_;
    BoundingRecord dataBox_ = BoundingRecord::empty();
    platform::Ref<ModelBoxLink> modelBox_;
    CglModelBox* box_ = nullptr;
    std::unique_ptr<RenderLink> renderer_;
    GlRenderer* glRenderer_ = nullptr;
    bool flatPlot_ = false;
    bool allBars_ = false;
    bool allSurfaces_ = false;
    bool rebuild_ = true;
    bool plotKindNotice_ = false;
    int formatPage_ = 0;
    int formatModel_ = 0;
    std::vector<std::string> drawMessages_;
    std::vector<Annotation> annotations_;
    ViewGestures gestures_{*this};
};

} // namespace halvex
