#pragma once
// `CglModelBox`, the frame around the data, with its automation interface
// `IglModelBox`: the box outline, the three back planes and the three axes.
// Every frame it chooses the edges the axes are drawn on and the far sides
// the planes stand on, rebuilds what changed and plays its display lists.

#include "plot/base/context_lists.h"
#include "plot/model/back_plane.h"
#include "plot/model/box_frame.h"
#include "plot/model/gl_axis.h"
#include "plot/model/model_box_link.h"
#include "plot/model/plot_owner.h"

#include <array>
#include <cstdint>
#include <vector>

namespace halvex {

class MemberDispatch;
class GlyphFontList;

class CglModelBox final : public ModelBoxLink {
public:
    explicit CglModelBox(platform::Ref<OwnerLink> owner);
    ~CglModelBox() override;

    // IglModelBox
    platform::DispId idOfName(std::string_view name) const override;
    platform::Variant invoke(platform::DispId id, platform::InvokeKind kind, std::span<platform::Variant> args) override;
    std::string className() const override { return "glModelBox"; }
    static const platform::MemberTable& memberNames();

    // Axes by data direction (X, Y, Z); planes by their slot (XY, YZ, XZ).
    CglAxis& axis(int direction) const noexcept { return *axes_[std::size_t(direction)]; }
    CglBackPlane& plane(int slot) const noexcept { return *planes_[std::size_t(slot)]; }

    std::int32_t axesStyle() const noexcept { return axesStyle_; }
    // 0 perimeter, 1 corner, 2 none; anything else fails with 57644.
    void SetAxesStyle(std::int32_t style);
    std::uint32_t boxColor() const noexcept { return boxColor_; }
    void SetBoxColor(std::uint32_t color);
    bool showBox() const noexcept { return showBox_; }
    void SetShowBox(bool show);

    // The control's settings as the last frame read them.
    const BoxView& view() const noexcept { return view_; }
    PlotOwner* owner() const noexcept { return owner_ ? owner_->owner() : nullptr; }

    // Notices of the axes and planes.
    void AxisChanged();
    void PlaneChanged();
    void Repaint();

    // ModelBoxLink
    void DiscardLists() override;
    void MarkAxesStale() override;
    void FitAxes(BoundingRecord& sceneBox, bool flatPlot) override;
    void DrawFrameStart(const DrawContext& dc) override;
    void DrawBehind(const DrawContext& dc) override;
    void DrawInFront(const DrawContext& dc) override;
    int UserClipPlanes(double (*planes)[4]) override;
    std::array<float, 3> BoxScale() override { return ComputeBoxScale(); }
    std::array<float, 4> FlatLabelSpace(const DrawContext& dc) override;
    unsigned GridPlacementList(int planeType) override;
    // The axes' numbers and labels of the last frame, where they went and
    // whether they were drawn (window pixels, y up).
    const std::vector<TextBox>& texts() const noexcept { return texts_; }
    // The least room between two texts at 96 dpi, pixels.
    static constexpr float kTextGapPixels = 3.0f;

    // The stretch of the scene per display axis: a cube whose height is
    // VerticalScale percent of its width, unless the view is constrained or
    // flat.
    std::array<float, 3> ComputeBoxScale() const;
    // Brings the axes' edges, the planes' sides and every list up to date
    // for the current modelling matrix.
    void UpdateBox(const DrawContext& dc);
    BoxFrame Frame(const DrawContext& dc) const;

private:
    static const MemberDispatch& members();
    void RefreshView();
    void ReadAmbient();
    GlyphFontList* CurrentFont(const DrawContext& dc);
    void RecordEdges(const BoxFrame& frame);
    bool PlaneShown(const CglBackPlane& p) const { return !view_.flatPlot || p.fields().type == kPlaneXY; }

    enum List { kPlanesList, kEdgesList, kListCount };

    platform::Ref<OwnerLink> owner_;
    std::array<platform::Ref<CglAxis>, 3> axes_;
    std::array<platform::Ref<CglBackPlane>, 3> planes_;
    std::int32_t axesStyle_ = 1;
    std::uint32_t boxColor_ = 0xFF000000;
    bool showBox_ = false;
    BoxView view_;
    ContextLists lists_{kListCount};
    AxisLabelStyle labelStyle_;
    bool ambientStale_ = true;
    GlyphFontList* font_ = nullptr;
    std::vector<TextBox> texts_;
};

} // namespace halvex
