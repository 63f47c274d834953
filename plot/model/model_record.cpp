#include "plot/model/model_record.h"

#include "platform/archive/prop_exchange.h"
#include "plot/model/record_version.h"

namespace halvex {

namespace {

using platform::PropExchange;

void exchangeBit(PropExchange& px, std::string_view name, std::uint32_t& word, std::uint32_t bit)
{
    bool on = (word & bit) != 0;
    if (px.Bool(name, on) && px.loading())
        word = on ? word | bit : word & ~bit;
}

// The per-kind switches that older versions took from the surface ones.
void copySurfaceSwitches(ModelFormat& f)
{
    using namespace shade1;
    auto copy = [&](std::uint32_t& word, std::uint32_t from, std::uint32_t to) {
        word = (f.shadeModel1 & from) ? word | to : word & ~to;
    };
    copy(f.shadeModel1, DrawPoints, ScatterPoints | BarPoints | PatchPoints);
    copy(f.shadeModel1, DrawLines, ScatterLines | BarLines | PatchLines | VectorLines);
    copy(f.shadeModel1, DrawFilledPolygons, BarFilled | PatchFilled | VectorFilled);
    copy(f.shadeModel1, DrawHalfFilledPolygons, BarHalfFilled);
    copy(f.shadeModel2, DrawHalfFilledPolygons, shade2::PatchHalfFilled);
}

} // namespace

void ExchangeModelRecord(PropExchange& px, ModelFormat& f, BoundingRecord& rect)
{
    const bool load = px.loading();
    const std::uint32_t v = ExchangeRecordVersion(px);
    if (v < version(7, 5))
        return;

    px.WithDefault(&PropExchange::Short, "LineColorMap", f.lineColorMap, std::int16_t(0));
    px.WithDefault(&PropExchange::ULong, "LineColor", f.lineColor, 0u);
    px.WithDefault(&PropExchange::Short, "PointColorMap", f.pointColorMap, std::int16_t(0));
    px.WithDefault(&PropExchange::ULong, "PointColor", f.pointColor, 0u);
    px.WithDefault(&PropExchange::Short, "PolygonColorMap", f.polygonColorMap, std::int16_t(0));
    px.WithDefault(&PropExchange::ULong, "PolygonColor", f.polygonColor, 0xFFFFFFFFu);
    px.WithDefault(&PropExchange::Float, "LineWidth", f.lineWidth, 1.0f);
    px.WithDefault(&PropExchange::Float, "PointSize", f.pointSize, 1.0f);
    px.WithDefault(&PropExchange::Float, "PolygonOffsetFactor", f.polygonOffsetFactor, 1.0f);
    std::int16_t kind = static_cast<std::int16_t>(f.viewAs);
    px.WithDefault(&PropExchange::Short, "ViewAs", kind, std::int16_t(0));
    if (load) {
        f.viewAs = kind;
        if (f.isBarOrPatch())
            f.barBoxValid = false;
    }
    std::int16_t polygonMode = 1; // written, read and dropped
    px.Short("PolygonMode", polygonMode);
    if (v >= version(8, 1)) {
        px.WithDefault(&PropExchange::ULong, "ShadeModel1", f.shadeModel1, 0u);
        px.WithDefault(&PropExchange::ULong, "ShadeModel2", f.shadeModel2, 0u);
    } else {
        // One flag word: the low 7 bits stay, old bits 7 and 8 go, every
        // higher bit moves down by two.
        std::uint32_t old = 0;
        px.ULong("ShadeModel", old);
        f.shadeModel1 = (old >> 2 & 0x3FFFFF80u) | (old & 0x7Fu);
        f.shadeModel2 = 0;
    }
    px.WithDefault(&PropExchange::Float, "Shininess", f.shininess, 0.0f);
    px.WithDefault(&PropExchange::Float, "RectTop", rect.max[1], 1.0f);
    px.WithDefault(&PropExchange::Float, "RectLeft", rect.min[0], -1.0f);
    px.WithDefault(&PropExchange::Float, "RectBack", rect.min[2], -1.0f);
    px.WithDefault(&PropExchange::Float, "RectBottom", rect.min[1], -1.0f);
    px.WithDefault(&PropExchange::Float, "RectRight", rect.max[0], 1.0f);
    px.WithDefault(&PropExchange::Float, "RectFront", rect.max[2], 1.0f);
    std::array<float, 3> n = rect.vector;
    px.WithDefault(&PropExchange::Float, "RectNx", n[0], 0.0f);
    px.WithDefault(&PropExchange::Float, "RectNy", n[1], 0.0f);
    px.WithDefault(&PropExchange::Float, "RectNz", n[2], 1.0f);
    if (load)
        rect.setVector(n[0], n[1], n[2]);

    if (v >= version(7, 10)) {
        px.Short("ColormapIndex", f.colormapIndex);
        if (v >= version(7, 11)) {
            std::int16_t dir = static_cast<std::int16_t>(f.spectrumDir);
            if (px.Short("SpectrumDir", dir))
                f.spectrumDir = dir;
        }
        if (v >= version(7, 13)) {
            std::int16_t style = static_cast<std::int16_t>(f.lineStyle);
            std::int16_t connect = static_cast<std::int16_t>(f.dataPointsConnectivity);
            if (px.Short("LineStyle", style))
                f.lineStyle = style;
            if (px.Short("DataConnectivity", connect))
                f.dataPointsConnectivity = connect;
            px.Short("BarSpacing", f.barPlotSpacing);
        }
        if (v >= version(7, 15)) {
            std::int16_t symbol = static_cast<std::int16_t>(f.pointSymbol);
            if (px.Short("PointSymbol", symbol))
                f.pointSymbol = symbol;
        }
        if (v >= version(7, 16) && v < version(8, 4)) {
            exchangeBit(px, "AutoX3D", f.shadeModel2, shade2::AutoContourX3D);
            exchangeBit(px, "AutoY3D", f.shadeModel2, shade2::AutoContourY3D);
            exchangeBit(px, "AutoZ3D", f.shadeModel2, shade2::AutoContourZ3D);
        }
        if (v >= version(7, 16)) {
            // Saved as the properties read: 15 while automatic.
            constexpr std::uint32_t autoBits[3] = {shade2::AutoContourX3D, shade2::AutoContourY3D,
                                                   shade2::AutoContourZ3D};
            const char* names[3] = {"NumX3D", "NumY3D", "NumZ3D"};
            for (int a = 0; a < 3; ++a) {
                std::int16_t count = !load && (f.shadeModel2 & autoBits[a]) ? 15 : f.contours3D[a];
                if (px.Short(names[a], count) && load)
                    f.contours3D[a] = count;
            }
        }
        if (v >= version(8, 4)) {
            constexpr std::uint32_t autoBits[3] = {shade2::AutoContourX, shade2::AutoContourY, shade2::AutoContourZ};
            const char* names[3] = {"NumX", "NumY", "NumZ"};
            for (int a = 0; a < 3; ++a) {
                std::int16_t count = !load && (f.shadeModel2 & autoBits[a]) ? 15 : f.contours[a];
                if (px.Short(names[a], count) && load)
                    f.contours[a] = count;
            }
        }
        if (v >= version(7, 16) && v < version(8, 2)) {
            exchangeBit(px, "ContourX3D", f.shadeModel1, shade1::DrawXContours3D);
            exchangeBit(px, "ContourY3D", f.shadeModel1, shade1::DrawYContours3D);
            exchangeBit(px, "ContourZ3D", f.shadeModel1, shade1::DrawZContours3D);
            exchangeBit(px, "FillContourX3D", f.shadeModel1, shade1::FillXContours3D);
            exchangeBit(px, "FillContourY3D", f.shadeModel1, shade1::FillYContours3D);
            exchangeBit(px, "FillContourZ3D", f.shadeModel1, shade1::FillZContours3D);
        }
        if (v >= version(8, 1)) {
            exchangeBit(px, "ScatterLines", f.shadeModel1, shade1::ScatterLines);
            exchangeBit(px, "ScatterPoints", f.shadeModel1, shade1::ScatterPoints);
        }
    }
    if (v >= version(8, 5)) {
        px.Short("InterpolatedRows", f.interpolatedRows);
        px.Short("InterpolatedCols", f.interpolatedColumns);
    }
    if (v >= version(8, 6)) {
        bool hasParams = f.quickPlotParams.has_value();
        px.Bool("QuickPlotParams", hasParams);
        if (hasParams) {
            QuickPlotParams q = load ? QuickPlotParams{} : *f.quickPlotParams;
            px.WithDefault(&PropExchange::Double, "U0", q.U0, -5.0);
            px.WithDefault(&PropExchange::Double, "U1", q.U1, 5.0);
            px.WithDefault(&PropExchange::Double, "V0", q.V0, -5.0);
            px.WithDefault(&PropExchange::Double, "V1", q.V1, 5.0);
            px.WithDefault(&PropExchange::Short, "M", q.M, std::int16_t(21));
            px.WithDefault(&PropExchange::Short, "N", q.N, std::int16_t(21));
            px.WithDefault(&PropExchange::Short, "c", q.c, std::int16_t(0));
            if (load)
                f.quickPlotParams = q;
        }
    }

    if (!load)
        return;
    if (v >= version(7, 10) && v < version(7, 16)) {
        using namespace shade1;
        auto copy = [&](std::uint32_t from, std::uint32_t to) {
            f.shadeModel1 = (f.shadeModel1 & from) ? f.shadeModel1 | to : f.shadeModel1 & ~to;
        };
        copy(FillXContours, FillXContours3D);
        copy(FillYContours, FillYContours3D);
        copy(FillZContours, FillZContours3D);
        copy(DrawXContours, DrawXContours3D);
        copy(DrawYContours, DrawYContours3D);
        copy(DrawZContours, DrawZContours3D);
    }
    if (v >= version(7, 10) && v < version(8, 2))
        copySurfaceSwitches(f);
}

} // namespace halvex
