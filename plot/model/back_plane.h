#pragma once
// `CglBackPlane`, one of the three back planes of the model box, with its
// automation interface `IglBackPlane`: fill, grid lines, subdivisions, tick
// marks and border, drawn on the far side of the box. A plane spans a first
// and a second axis and stands across its normal axis; its type says which.

#include "platform/automation/dispatch.h"
#include "platform/automation/member_table.h"
#include "plot/base/context_lists.h"
#include "plot/model/box_frame.h"

#include <cstdint>

namespace halvex {

class CglModelBox;
class CglAxis;
class MemberDispatch;

enum PlaneType : std::int32_t { kPlaneXY = 0, kPlaneYZ = 1, kPlaneXZ = 2 };

// Switch bits of a plane.
namespace planebits {
constexpr std::uint8_t VerticalGrid = 0x01;
constexpr std::uint8_t HorizontalGrid = 0x02;
constexpr std::uint8_t VerticalSubdivisions = 0x04;
constexpr std::uint8_t HorizontalSubdivisions = 0x08;
constexpr std::uint8_t VerticalTicks = 0x10;
constexpr std::uint8_t HorizontalTicks = 0x20;
constexpr std::uint8_t VerticalSubTicks = 0x40;
constexpr std::uint8_t HorizontalSubTicks = 0x80;
} // namespace planebits

// The saved and automation-visible fields of a plane. Weights are tenths of
// a pixel in one byte; [0] is the vertical, [1] the horizontal element.
struct PlaneFields {
    std::int32_t type = kPlaneXY;
    bool fill = false;
    std::uint32_t fillColor = 0xFFFFFF;
    bool border = false;
    std::uint32_t borderColor = 0; // saved and loaded only
    std::uint8_t switches = 0;
    std::uint32_t gridColor[2] = {0x00FF00, 0x00FF00};
    std::uint8_t gridWeight[2] = {10, 10};
    std::uint32_t subdivisionColor[2] = {0x00FFFF, 0x00FFFF};
    std::uint8_t subdivisionWeight[2] = {5, 5};
    std::uint32_t tickColor[2] = {0, 0};
    std::uint8_t tickWeight[2] = {10, 10}; // kept, not drawn
    std::uint32_t subTickColor[2] = {0, 0};
    std::uint8_t subTickWeight[2] = {10, 10}; // kept, not drawn
};

class CglBackPlane final : public platform::Dispatch {
public:
    CglBackPlane(CglModelBox* box, std::int32_t type);

    // IglBackPlane
    platform::DispId idOfName(std::string_view name) const override;
    platform::Variant invoke(platform::DispId id, platform::InvokeKind kind, std::span<platform::Variant> args) override;
    std::string className() const override { return "glBackPlane"; }
    static const platform::MemberTable& memberNames();

    const PlaneFields& fields() const noexcept { return f_; }
    PlaneFields& fields() noexcept { return f_; }
    // The data axes that span the plane and the one across it.
    int firstAxis() const noexcept;
    int secondAxis() const noexcept;
    int normalAxis() const noexcept;

    void MarkStale(bool repaint = false);
    void Detach() noexcept { box_ = nullptr; }
    // The far-side flag follows the view; a change moves the plane.
    void SetFarSide(bool far);
    bool farSide() const noexcept { return far_; }

    // The lists of this frame: grid, fill and their placements.
    void UpdateLists(const BoxFrame& frame, const CglAxis* axes[3], const BoxView& view, std::uint32_t boxColor);
    // The fill in its place (recorded into the box's list of filled
    // planes); the grid in its place (every frame).
    void CallFill() const;
    void CallGrid() const;
    // The name of the grid placement list in the current GL context (a
    // translation out to where the grid lies), reserved on first use.
    unsigned GridPlacementName() { return lists_.Name(kGridPlace); }

private:
    static const MemberDispatch& members();
    void Changed();
    // Stores a changed value and tells of the change.
    template <class T>
    void Store(T& field, const T& value);
    void SetType(std::int32_t type);
    void RecordGrid(const BoxFrame& frame, const CglAxis* axes[3], const BoxView& view, std::uint32_t boxColor);

    enum List { kGridList, kFillList, kFillPlace, kGridPlace, kListCount };

    CglModelBox* box_;
    PlaneFields f_;
    bool far_ = false;
    bool stale_ = true;
    bool placed_ = false;
    bool hasGrid_ = false;
    ContextLists lists_{kListCount};
};

} // namespace halvex
