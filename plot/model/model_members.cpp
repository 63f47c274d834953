// The automation interface IglModel of plot models: 72 properties.
#include "plot/base/automation_values.h"
#include "plot/base/member_dispatch.h"
#include "plot/base/plot_errors.h"
#include "plot/model/plot_model.h"

#include <cmath>

namespace halvex {

using platform::Dispatch;
using platform::Variant;
namespace vt = platform;

const MemberDispatch& CglModel::members()
{
    // Storage shared by several members, chosen by the member's datum.
    struct Access {
        static CglModel& model(Dispatch& d) { return static_cast<CglModel&>(d); }

        static std::uint32_t& switchWord(ModelFormat& f, int word)
        {
            if (word == 2)
                return f.shadeModel2;
            if (word == 3)
                return reinterpret_cast<std::uint32_t&>(f.spectrumDir);
            return f.shadeModel1;
        }

        static std::int64_t intField(const ModelFormat& f, std::uint32_t which)
        {
            switch (which) {
            case 0: return f.interpolatedRows;
            case 1: return f.interpolatedColumns;
            case 2: return f.colormapIndex;
            case 3: return f.barPlotSpacing;
            case 4: return f.dataPointsConnectivity;
            case 5: return f.lineStyle;
            default: return f.pointSymbol;
            }
        }

        static void setIntField(ModelFormat& f, std::uint32_t which, std::int16_t v)
        {
            switch (which) {
            case 0: f.interpolatedRows = v; break;
            case 1: f.interpolatedColumns = v; break;
            case 2: f.colormapIndex = v; break;
            case 3: f.barPlotSpacing = v; break;
            case 4: f.dataPointsConnectivity = v; break;
            case 5: f.lineStyle = v; break;
            default: f.pointSymbol = v; break;
            }
        }

        static std::uint32_t& colorField(ModelFormat& f, std::uint32_t which)
        {
            return which == 0 ? f.lineColor : which == 1 ? f.pointColor : f.polygonColor;
        }

        static float& floatField(ModelFormat& f, std::uint32_t which)
        {
            return which == 0 ? f.lineWidth : which == 1 ? f.pointSize : f.polygonOffsetFactor;
        }

        static std::int16_t& colorMapSwitch(ModelFormat& f, std::uint32_t which)
        {
            return which == 0 ? f.lineColorMap : which == 1 ? f.pointColorMap : f.polygonColorMap;
        }

        // A contour count reads 15 while its automatic switch is on.
        static std::int16_t contourCount(const ModelFormat& f, std::uint32_t axis, int dims)
        {
            std::uint32_t autoBit = (dims == 3 ? shade2::AutoContourX3D : shade2::AutoContourX) << axis;
            if (f.shadeModel2 & autoBit)
                return 15;
            return dims == 3 ? f.contours3D[axis] : f.contours[axis];
        }

        static Variant getSwitch(Dispatch& d, const Member& m)
        {
            ModelFormat& f = model(d).format_;
            return resultOfType(m.type, (switchWord(f, m.word) & m.data) ? 1 : 0);
        }
        static void putSwitch(Dispatch& d, const Member& m, const Variant& v)
        {
            CglModel& self = model(d);
            std::uint32_t& w = switchWord(self.format_, m.word);
            std::uint32_t next = argOfType(m.type, v) != 0 ? (w | m.data) : (w & ~m.data);
            if (next != w) {
                w = next;
                self.ModelChanged();
            }
        }

        static Variant getInt(Dispatch& d, const Member& m)
        {
            return Variant::fromInt16(static_cast<std::int16_t>(intField(model(d).format_, m.data)));
        }
        static void putInt(Dispatch& d, const Member& m, const Variant& v)
        {
            CglModel& self = model(d);
            std::int16_t x = argI2(v);
            if (x != intField(self.format_, m.data)) {
                setIntField(self.format_, m.data, x);
                self.ModelChanged();
            }
        }

        static Variant getColor(Dispatch& d, const Member& m)
        {
            return resultOfType(m.type, colorField(model(d).format_, m.data));
        }
        static void putColor(Dispatch& d, const Member& m, const Variant& v)
        {
            CglModel& self = model(d);
            std::uint32_t c = argColor(v);
            std::uint32_t& field = colorField(self.format_, m.data);
            if (c != field) {
                field = c;
                self.ModelChanged();
            }
        }

        static Variant getFloat(Dispatch& d, const Member& m)
        {
            return Variant::fromSingle(floatField(model(d).format_, m.data));
        }
        static void putFloat(Dispatch& d, const Member& m, const Variant& v)
        {
            CglModel& self = model(d);
            float x = argR4(v);
            float& field = floatField(self.format_, m.data);
            if (x != field) {
                field = x;
                self.ModelChanged();
            }
        }

        // Only the truth of a colour-map switch counts: a value is stored
        // when it turns the switch on or off.
        static Variant getColorMap(Dispatch& d, const Member& m)
        {
            return Variant::fromInt16(colorMapSwitch(model(d).format_, m.data));
        }
        static void putColorMap(Dispatch& d, const Member& m, const Variant& v)
        {
            CglModel& self = model(d);
            std::int16_t x = argI2(v);
            std::int16_t& field = colorMapSwitch(self.format_, m.data);
            if ((x != 0) != (field != 0)) {
                field = x;
                self.ModelChanged();
            }
        }

        static Variant getContours(Dispatch& d, const Member& m)
        {
            return Variant::fromInt16(contourCount(model(d).format_, m.data, m.word));
        }
        static void putContours(Dispatch& d, const Member& m, const Variant& v)
        {
            CglModel& self = model(d);
            std::int16_t x = argI2(v);
            if (x != contourCount(self.format_, m.data, m.word)) {
                (m.word == 3 ? self.format_.contours3D : self.format_.contours)[m.data] = x;
                self.ModelChanged();
            }
        }

        static Variant getShininess(Dispatch& d, const Member&)
        {
            return Variant::fromInt16(static_cast<std::int16_t>(std::lround(model(d).format_.shininess)));
        }
        static void putShininess(Dispatch& d, const Member&, const Variant& v)
        {
            CglModel& self = model(d);
            std::int16_t x = argI2(v);
            if (x < 0 || x > 128)
                raiseError(err::ShininessRange);
            if (float(x) != self.format_.shininess) {
                self.format_.shininess = float(x);
                self.ModelChanged();
            }
        }

        static Variant getViewAs(Dispatch& d, const Member&)
        {
            return Variant::fromInt16(static_cast<std::int16_t>(model(d).format_.viewAs));
        }
        static void putViewAs(Dispatch& d, const Member&, const Variant& v)
        {
            CglModel& self = model(d);
            std::int32_t kind = argI2(v);
            std::int32_t old = self.format_.viewAs;
            if (kind == old)
                return;
            self.SetPlotKind(kind);
            self.ModelChanged();
            if (PlotOwner* o = self.owner()) {
                if (kind == kVectorFieldPlot || old == kVectorFieldPlot)
                    o->PlotKindChanged(old, kind);
                o->RecomputeViewFlags();
            }
        }

        static Variant getBarLayout(Dispatch& d, const Member&)
        {
            return Variant::fromInt16(static_cast<std::int16_t>(model(d).format_.barPlotLayout));
        }
        static void putBarLayout(Dispatch& d, const Member&, const Variant& v)
        {
            CglModel& self = model(d);
            std::int32_t layout = argI2(v);
            if (layout != self.format_.barPlotLayout) {
                self.format_.barPlotLayout = layout;
                self.format_.barBoxValid = false;
                self.ModelChanged();
                // Whether every model is a stacked or side-by-side bar plot
                // depends on the layout too.
                if (PlotOwner* o = self.owner())
                    o->RecomputeViewFlags();
            }
        }

        static bool interpolates(CglModel& self)
        {
            std::int32_t k = self.format_.viewAs;
            bool gridKind = k == kSurfacePlot || k == kContourPlot || k == kBarPlot || k == kPatchPlot;
            return gridKind && self.CanInterpolate();
        }
        static Variant getInterpolate(Dispatch& d, const Member&)
        {
            return Variant(interpolates(model(d)));
        }
        static void putInterpolate(Dispatch& d, const Member&, const Variant& v)
        {
            CglModel& self = model(d);
            bool on = argBool(v);
            if (on != interpolates(self)) {
                self.format_.interpolate = on;
                self.ModelChanged();
            }
        }

        static Variant getQuickPlot(Dispatch& d, const Member&) { return Variant(model(d).quickPlot_); }
    };

    using A = Access;
    constexpr auto I2 = vt::varSmallint;
    constexpr auto I4 = vt::varInteger;
    constexpr auto UI4 = vt::varLongWord;
    constexpr auto BOOL = vt::varBoolean;
    auto sw = [](const char* name, platform::DispId id, platform::VarType type, std::uint32_t bit, int word = 1) {
        return Member{name, id, A::getSwitch, A::putSwitch, nullptr, 0, type, bit, word};
    };
    auto field = [](const char* name, platform::DispId id, MemberGetter get, MemberSetter put,
                    platform::VarType type = vt::varEmpty, std::uint32_t data = 0, int word = 0) {
        return Member{name, id, get, put, nullptr, 0, type, data, word};
    };

    static const MemberDispatch table{
        field("Shininess", 1, A::getShininess, A::putShininess),
        sw("SmoothShading", 2, I4, shade1::SmoothShading),
        sw("DrawLines", 3, I2, shade1::DrawLines),
        sw("DrawPoints", 4, I2, shade1::DrawPoints),
        sw("DrawXContours", 5, I2, shade1::DrawXContours),
        sw("DrawYContours", 6, I2, shade1::DrawYContours),
        sw("DrawZContours", 7, I2, shade1::DrawZContours),
        sw("HiddenLineRemoval", 8, I2, shade1::HiddenLineRemoval),
        field("LineColor", 9, A::getColor, A::putColor, I4, 0),
        field("PointColor", 10, A::getColor, A::putColor, I4, 1),
        field("PolygonColor", 11, A::getColor, A::putColor, UI4, 2),
        field("LineColorMap", 12, A::getColorMap, A::putColorMap, I2, 0),
        field("PointColormap", 13, A::getColorMap, A::putColorMap, I2, 1),
        field("PolygonColormap", 14, A::getColorMap, A::putColorMap, I2, 2),
        field("LineWidth", 15, A::getFloat, A::putFloat, vt::varSingle, 0),
        field("PointSize", 16, A::getFloat, A::putFloat, vt::varSingle, 1),
        sw("DrawFilledPolygons", 17, I2, shade1::DrawFilledPolygons),
        sw("DrawHalfFilledPolygons", 18, I2, shade1::DrawHalfFilledPolygons),
        field("ViewAs", 19, A::getViewAs, A::putViewAs),
        field("PolygonOffsetFactor", 20, A::getFloat, A::putFloat, vt::varSingle, 2),
        field("BarPlotLayout", 21, A::getBarLayout, A::putBarLayout),
        field("InterpolatedRows", 22, A::getInt, A::putInt, I2, 0),
        field("InterpolatedColumns", 23, A::getInt, A::putInt, I2, 1),
        sw("SpectrumX", 24, BOOL, spectrum::X, 3),
        sw("SpectrumY", 25, BOOL, spectrum::Y, 3),
        sw("SpectrumZ", 26, BOOL, spectrum::Z, 3),
        field("InterpolateMesh", 27, A::getInterpolate, A::putInterpolate),
        sw("FillXContours", 28, BOOL, shade1::FillXContours),
        sw("FillYContours", 29, BOOL, shade1::FillYContours),
        sw("FillZContours", 30, BOOL, shade1::FillZContours),
        field("NumberOfContoursX", 31, A::getContours, A::putContours, I2, 0, 2),
        field("NumberOfContoursY", 32, A::getContours, A::putContours, I2, 1, 2),
        field("NumberOfContoursZ", 33, A::getContours, A::putContours, I2, 2, 2),
        sw("NumberedContoursX", 34, BOOL, shade2::NumberedContoursX, 2),
        sw("NumberedContoursY", 35, BOOL, shade2::NumberedContoursY, 2),
        sw("NumberedContoursZ", 36, BOOL, shade2::NumberedContoursZ, 2),
        sw("AutoContourX", 37, BOOL, shade2::AutoContourX, 2),
        sw("AutoContourY", 38, BOOL, shade2::AutoContourY, 2),
        sw("AutoContourZ", 39, BOOL, shade2::AutoContourZ, 2),
        field("ColormapIndex", 40, A::getInt, A::putInt, I2, 2),
        field("BarPlotSpacing", 41, A::getInt, A::putInt, I2, 3),
        field("DataPointsConnectivity", 42, A::getInt, A::putInt, I2, 4),
        field("LineStyle", 43, A::getInt, A::putInt, I2, 5),
        field("PointSymbol", 44, A::getInt, A::putInt, I2, 6),
        sw("DrawXContours3D", 45, I2, shade1::DrawXContours3D),
        sw("DrawYContours3D", 46, I2, shade1::DrawYContours3D),
        sw("DrawZContours3D", 47, I2, shade1::DrawZContours3D),
        sw("FillXContours3D", 48, BOOL, shade1::FillXContours3D),
        sw("FillYContours3D", 49, BOOL, shade1::FillYContours3D),
        sw("FillZContours3D", 50, BOOL, shade1::FillZContours3D),
        sw("AutoContourX3D", 51, BOOL, shade2::AutoContourX3D, 2),
        sw("AutoContourY3D", 52, BOOL, shade2::AutoContourY3D, 2),
        sw("AutoContourZ3D", 53, BOOL, shade2::AutoContourZ3D, 2),
        field("NumberOfContoursX3D", 54, A::getContours, A::putContours, I2, 0, 3),
        field("NumberOfContoursY3D", 55, A::getContours, A::putContours, I2, 1, 3),
        field("NumberOfContoursZ3D", 56, A::getContours, A::putContours, I2, 2, 3),
        sw("ScatterPoints", 57, BOOL, shade1::ScatterPoints),
        sw("ScatterLines", 58, BOOL, shade1::ScatterLines),
        sw("BarPoints", 59, BOOL, shade1::BarPoints),
        sw("PatchPoints", 60, BOOL, shade1::PatchPoints),
        sw("VectorLines", 61, BOOL, shade1::VectorLines),
        sw("BarLines", 62, BOOL, shade1::BarLines),
        sw("PatchLines", 63, BOOL, shade1::PatchLines),
        sw("VectorFilled", 64, BOOL, shade1::VectorFilled),
        sw("BarFilled", 65, BOOL, shade1::BarFilled),
        sw("PatchFilled", 66, BOOL, shade1::PatchFilled),
        sw("BarHalfFilled", 67, BOOL, shade1::BarHalfFilled),
        sw("PatchHalfFilled", 68, BOOL, shade2::PatchHalfFilled, 2),
        sw("DrawContourLines", 69, BOOL, shade1::DrawContourLines),
        sw("DrawFilledContours", 70, BOOL, shade2::DrawFilledContours, 2),
        sw("ContourLines3D", 71, BOOL, shade2::ContourLines3D, 2),
        field("IsQuickplot", 72, A::getQuickPlot, nullptr),
    };
    return table;
}

} // namespace halvex
