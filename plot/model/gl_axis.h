#pragma once
// `CglAxis`, one of the three axes of the model box, with its automation
// interface `IglAxis`: the range it shows (nice numbers inside the data, or
// the user's fixed grid and limits), its grid values, and the drawing of
// its line, ticks, numbers and label along the box edge the model box
// gives it.

#include "platform/automation/dispatch.h"
#include "platform/automation/member_table.h"
#include "plot/base/context_lists.h"
#include "plot/base/glyph_font_list.h"
#include "plot/model/axis_scale.h"
#include "plot/model/box_frame.h"
#include "plot/model/label_layout.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace halvex {

class CglModelBox;
class MemberDispatch;

// The saved and automation-visible fields of an axis.
struct AxisFields {
    std::string label;
    bool numbered = true;
    bool showAxis = true; // saved and loaded only
    bool showLabel = false;
    bool visible = true; // saved and loaded only
    bool autoGrid = true;
    bool autoScale = true;
    std::int16_t gridCount = 5;
    std::int16_t subdivisions = 1;
    std::int16_t gridLineWeight = 10; // tenths of a pixel
    std::int16_t subGridLineWeight = 5;
    std::int16_t axisWeight = 10;
    std::uint32_t axisColor = 0;
    bool userColor = false;
    double userMin = -1.0;
    double userMax = 1.0;
    double dataMin = -1.0;
    double dataMax = 1.0;
    std::int32_t positionCode = -1; // the box edge, 0 … 11
    std::int32_t kind = 0;          // 0, 1 or 2, set by the model box
};

class CglAxis final : public platform::Dispatch {
public:
    CglAxis(CglModelBox* box, int direction, std::int32_t kind);

    // IglAxis
    platform::DispId idOfName(std::string_view name) const override;
    platform::Variant invoke(platform::DispId id, platform::InvokeKind kind, std::span<platform::Variant> args) override;
    std::string className() const override { return "glAxis"; }
    static const platform::MemberTable& memberNames();

    const AxisFields& fields() const noexcept { return f_; }
    AxisFields& fields() noexcept { return f_; }
    int direction() const noexcept { return direction_; }

    // The limits in use: the data range when the scale is automatic (or the
    // plot is a flat plot of surfaces only), else the user's limits, in
    // order. Limits that are no numbers give way to the data range.
    double Lower() const { return Limits()[0]; }
    double Upper() const { return Limits()[1]; }
    std::array<double, 2> Limits() const;
    void SetDataRange(double min, double max);
    // The shown range and grid count from the limits.
    void UpdateRange();
    double shownMin() const noexcept { return shownMin_; }
    double shownMax() const noexcept { return shownMax_; }
    GridValues Grid() const;
    // Subdivisions between neighbouring grid values, never negative.
    int Subdivisions() const noexcept { return f_.subdivisions > 0 ? f_.subdivisions : 0; }

    // Labels and lists are rebuilt on the next frame; repaint: the control
    // is painted again.
    void MarkStale(bool repaint = false);
    bool stale() const noexcept { return stale_; }
    void SetPositionCode(std::int32_t code);
    // Drops what was recorded and forgets the box (it is going).
    void Detach() noexcept { box_ = nullptr; }

    // The box's part of a frame: the recorded line and ticks, rebuilt when
    // stale; the numbers and label, drawn facing the viewer.
    void UpdateList(const BoxFrame& frame, int axesStyle);
    void CallList() const
    {
        if (drawn_)
            lists_.Call(0);
    }
    // This frame's numbers and label as boxes of their ink in window pixels
    // (appended to out, in the axis's group), placed gap pixels beyond the
    // ends of their ticks; nothing when the axis draws none.
    void PlaceTexts(GlyphFontList* font, const double* modelview, const double* projection, const int* viewport,
                    float gap, std::vector<TextBox>& out);
    // Draws the texts that PlaceTexts put into boxes and the layout kept,
    // where the layout moved them.
    void DrawTexts(GlyphFontList& font, const std::vector<TextBox>& boxes);
    // The widest and tallest number measured at the last drawing, pixels.
    int labelWidth() const noexcept { return labelWidth_; }
    int labelHeight() const noexcept { return labelHeight_; }

    // The colour of an axis the user has not coloured follows the
    // container's text colour.
    void TakeAmbientColor(std::uint32_t color);

private:
    static const MemberDispatch& members();
    void Changed();
    // Stores a changed value and tells of the change.
    template <class T>
    void Store(T& field, const T& value);
    // False when the axis draws nothing in this frame.
    bool Drawn(const BoxFrame& frame, int axesStyle) const;
    void BuildLabels(const BoxFrame& frame);

    struct Label {
        std::string text;
        std::array<double, 3> base;   // on the edge (display coordinates)
        std::array<double, 3> anchor; // outside the box
        TextExtent extent;
        // Where this frame puts its pen (window pixels) and at what depth.
        bool placed = false;
        float x = 0.0f, y = 0.0f, depth = 0.0f;
    };

    CglModelBox* box_;
    int direction_;
    AxisFields f_;
    double shownMin_ = -1.0;
    double shownMax_ = 1.0;
    std::int32_t shownCount_ = 2;
    bool stale_ = true;
    bool drawn_ = false;
    ContextLists lists_{1};
    std::vector<Label> labels_;
    Label title_;
    const GlyphFontList* measuredWith_ = nullptr;
    int labelWidth_ = 0;
    int labelHeight_ = 0;
    std::size_t firstText_ = 0; // this frame's first box
};

} // namespace halvex
