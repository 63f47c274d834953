#include "plot/model/box_records.h"

#include "platform/archive/prop_exchange.h"
#include "plot/model/model_box.h"
#include "plot/model/record_version.h"

namespace halvex {

using platform::PropExchange;

void ExchangeAxisRecord(PropExchange& px, AxisFields& a)
{
    const std::uint32_t v = ExchangeRecordVersion(px);
    if (v < version(7, 5))
        return;
    px.Bool("Numbered", a.numbered);
    px.Bool("ShowAxis", a.showAxis);
    px.Bool("ShowLabel", a.showLabel);
    px.Bool("Visible", a.visible);
    px.Bool("AutoGrid", a.autoGrid);
    px.Bool("AutoScale", a.autoScale);
    px.WithDefault(&PropExchange::Text, "Label", a.label, std::string());
    px.Short("NumberGrids", a.gridCount);
    px.Short("NumberSubGrids", a.subdivisions);
    px.Short("SubGridLineWeight", a.subGridLineWeight);
    px.Short("GridLineWeight", a.gridLineWeight);
    px.Short("AxisWeight", a.axisWeight);
    std::int16_t kind = static_cast<std::int16_t>(a.kind);
    if (px.Short("type", kind))
        a.kind = kind;
    px.ULong("AxisColor", a.axisColor);
    px.Double("MinVal", a.userMin);
    px.Double("MaxVal", a.userMax);
    px.Double("DataMin", a.dataMin);
    px.Double("DataMax", a.dataMax);
    if (v >= version(8, 4))
        px.Bool("UserColor", a.userColor);
}

void ExchangePlaneRecord(PropExchange& px, PlaneFields& p)
{
    ExchangeRecordVersion(px);
    std::int16_t switches = p.switches;
    if (px.Short("Boolean Values", switches))
        p.switches = static_cast<std::uint8_t>(switches);
    // Weights keep their low 8 bits, as the properties store them.
    auto weight = [&](const char* name, std::uint8_t& w) {
        std::int16_t x = w;
        if (px.Short(name, x))
            w = static_cast<std::uint8_t>(x);
    };
    weight("VerticalGridWeight", p.gridWeight[0]);
    weight("HorizontalGridWeight", p.gridWeight[1]);
    weight("VerticalSubGridWeight", p.subdivisionWeight[0]);
    weight("HorizontalSubGridWeight", p.subdivisionWeight[1]);
    weight("VerticalTickMarkWeight", p.tickWeight[0]);
    weight("HorizontalTickMarkWeight", p.tickWeight[1]);
    weight("VerticalSubTickMarkWeight", p.subTickWeight[0]);
    weight("HorizontalSubTickMarkWeight", p.subTickWeight[1]);
    px.ULong("VerticalGridColor", p.gridColor[0]);
    px.ULong("HorizontalGridColor", p.gridColor[1]);
    px.ULong("VerticalSubGridColor", p.subdivisionColor[0]);
    px.ULong("HorizontalSubGridColor", p.subdivisionColor[1]);
    px.ULong("VerticalTickMarkColor", p.tickColor[0]);
    px.ULong("HorizontalTickMarkColor", p.tickColor[1]);
    px.ULong("VerticalSubTickMarkColor", p.subTickColor[0]);
    px.ULong("HorizontalSubTickMarkColor", p.subTickColor[1]);
    std::int16_t type = static_cast<std::int16_t>(p.type);
    if (px.Short("Type", type))
        p.type = type;
    px.ULong("BorderColor", p.borderColor);
    px.ULong("BackPlaneColor", p.fillColor);
    px.ShortBool("FillBackPlane", p.fill);
    px.ShortBool("Border", p.border);
}

void ExchangeBoxRecord(PropExchange& px, BoxRecord& box)
{
    const std::uint32_t v = ExchangeRecordVersion(px);
    std::int16_t style = static_cast<std::int16_t>(box.axesStyle);
    if (px.Short("AxesStyle", style))
        box.axesStyle = style >= 0 && style <= 2 ? style : 2;
    px.ULong("BoxColor", box.boxColor);
    px.ShortBool("ShowBox", box.showBox);

    // "Xaxis" names the display x axis, which shows the data's Y.
    struct Axis {
        const char* key;
        int direction;
    };
    constexpr Axis axes[3] = {{"Xaxis", kAxisY}, {"Yaxis", kAxisZ}, {"Zaxis", kAxisX}};
    struct Plane {
        const char* key;
        int slot;
    };
    constexpr Plane planes[3] = {{"XYplane", kPlaneXY}, {"XZplane", kPlaneXZ}, {"YZplane", kPlaneYZ}};
    const bool inside = px.loading() && v < version(7, 12);
    for (const Axis& a : axes) {
        AxisFields& fields = box.axes[std::size_t(a.direction)];
        if (inside)
            px.Object(a.key, kGlAxisClassId, [&](PropExchange& in) { ExchangeAxisRecord(in, fields); });
        else
            ExchangeAxisRecord(px, fields);
    }
    for (const Plane& p : planes) {
        PlaneFields& fields = box.planes[std::size_t(p.slot)];
        if (inside)
            px.Object(p.key, kGlBackPlaneClassId, [&](PropExchange& in) { ExchangePlaneRecord(in, fields); });
        else
            ExchangePlaneRecord(px, fields);
    }
}

BoxRecord CaptureBox(const CglModelBox& box)
{
    BoxRecord r;
    r.axesStyle = box.axesStyle();
    r.boxColor = box.boxColor();
    r.showBox = box.showBox();
    for (int i = 0; i < 3; ++i) {
        r.axes[std::size_t(i)] = box.axis(i).fields();
        r.planes[std::size_t(i)] = box.plane(i).fields();
    }
    return r;
}

void RestoreBox(CglModelBox& box, const BoxRecord& r)
{
    box.SetAxesStyle(r.axesStyle >= 0 && r.axesStyle <= 2 ? r.axesStyle : 2);
    box.SetBoxColor(r.boxColor);
    box.SetShowBox(r.showBox);
    for (int i = 0; i < 3; ++i) {
        CglAxis& axis = box.axis(i);
        AxisFields f = r.axes[std::size_t(i)];
        // Where the axis is drawn is the box's choice, made every frame.
        f.positionCode = axis.fields().positionCode;
        axis.fields() = std::move(f);
        axis.MarkStale();
        box.plane(i).fields() = r.planes[std::size_t(i)];
        box.plane(i).MarkStale();
    }
    box.DiscardLists();
}

} // namespace halvex
