// The dispatch interface _DOpenGL: 63 properties, 18 methods and the About
// box, under their dispatch identifiers.
#include "plot/base/automation_values.h"
#include "plot/base/member_dispatch.h"
#include "plot/core/plot_control.h"
#include "plot/base/plot_errors.h"
#include "plot/core/plot_ids.h"

#include <cmath>

namespace halvex {

using platform::Dispatch;
using platform::Variant;

namespace {
constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kRadiansPerDegree = 0.017453292519943295;
} // namespace

template <class T>
void COpenGLCtrl::SetAndRedraw(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    RequestRedraw();
}

const MemberDispatch& COpenGLCtrl::members()
{
    struct A {
        static COpenGLCtrl& c(Dispatch& d) { return static_cast<COpenGLCtrl&>(d); }
        static ControlState& s(Dispatch& d) { return c(d).state_; }

        static Variant constant(Dispatch&, const Member& m) { return Variant::fromInt16(static_cast<std::int16_t>(m.data)); }

        // data: 0 tilt, 1 twist, 2 rotation. Degrees outside, radians inside.
        static double& angle(Dispatch& d, const Member& m)
        {
            return m.data == 0 ? s(d).tilt : m.data == 1 ? s(d).twist : s(d).rotation;
        }
        static Variant getAngle(Dispatch& d, const Member& m)
        {
            return Variant::fromSingle(static_cast<float>(angle(d, m) * kDegreesPerRadian));
        }
        // An angle that reads as the value written is left alone, so writing
        // back what was read never moves the view.
        static void putAngle(Dispatch& d, const Member& m, const Variant& v)
        {
            float degrees = argR4(v);
            if (degrees != static_cast<float>(angle(d, m) * kDegreesPerRadian))
                c(d).SetAndRedraw(angle(d, m), double(degrees) * kRadiansPerDegree);
        }

        // data: 0 lighting, 1 fog, 2 perspective, 3 constrained view,
        // 4 hardware rendering, 5 show back planes.
        static bool& flag(Dispatch& d, const Member& m)
        {
            ControlState& st = s(d);
            bool* flags[] = {&st.lighting, &st.fog, &st.perspective, &st.constrainedView, &st.hardwareRendering,
                             &st.showBackplanes};
            return *flags[m.data];
        }
        static Variant getFlag(Dispatch& d, const Member& m) { return Variant(flag(d, m)); }
        static void putFlag(Dispatch& d, const Member& m, const Variant& v) { c(d).SetAndRedraw(flag(d, m), argBool(v)); }

        // data: 0 show border, 1 high quality printing; these only mark the
        // control modified.
        static bool& quietFlag(Dispatch& d, const Member& m)
        {
            return m.data == 0 ? s(d).showBorder : s(d).highQualityPrinting;
        }
        static Variant getQuietFlag(Dispatch& d, const Member& m) { return Variant(quietFlag(d, m)); }
        static void putQuietFlag(Dispatch& d, const Member& m, const Variant& v)
        {
            bool on = argBool(v);
            if (on != quietFlag(d, m)) {
                quietFlag(d, m) = on;
                c(d).SetModifiedFlag(true);
            }
        }

        // data: 0 title, 1 graph title.
        static std::string& text(Dispatch& d, const Member& m) { return m.data == 0 ? s(d).title : s(d).graphTitle; }
        static Variant getText(Dispatch& d, const Member& m) { return Variant(text(d, m)); }
        static void putText(Dispatch& d, const Member& m, const Variant& v) { c(d).SetAndRedraw(text(d, m), argString(v)); }

        static Variant getTitlePosition(Dispatch&, const Member&) { return Variant::fromInt16(0); }
        static void putTitlePosition(Dispatch& d, const Member&, const Variant& v)
        {
            argI2(v);
            c(d).RequestRedraw();
        }

        static Variant getNumberOfModels(Dispatch& d, const Member&)
        {
            int n = c(d).NextModelNumber();
            return Variant::fromInt16(static_cast<std::int16_t>(n > INT16_MAX ? INT16_MAX : n));
        }

        static Variant getFogMode(Dispatch& d, const Member&)
        {
            return Variant::fromInt16(static_cast<std::int16_t>(s(d).fogMode));
        }
        static void putFogMode(Dispatch& d, const Member&, const Variant& v)
        {
            std::int32_t mode = argI2(v);
            if (mode != kFogExp && mode != kFogExp2 && mode != kFogLinear)
                raisePropertyError(err::InvalidFogMode);
            c(d).SetAndRedraw(s(d).fogMode, mode);
        }

        static Variant getFogColor(Dispatch& d, const Member&)
        {
            return Variant::fromInt32(static_cast<std::int32_t>(packRgba(s(d).fogColor)));
        }
        static void putFogColor(Dispatch& d, const Member&, const Variant& v)
        {
            c(d).SetAndRedraw(s(d).fogColor, unpackRgba(argColor(v)));
        }

        static Variant getAmbient(Dispatch& d, const Member&)
        {
            return Variant::fromInt32(static_cast<std::int32_t>(packRgb(s(d).ambient, 0xFF)));
        }
        static void putAmbient(Dispatch& d, const Member&, const Variant& v)
        {
            c(d).SetAndRedraw(s(d).ambient, unpackRgbOpaque(argColor(v)));
        }

        // data: 0 density (0..1), 1 start (≥ 0), 2 end (≥ 0). NaN is out of
        // every range.
        static float& fogValue(Dispatch& d, const Member& m)
        {
            return m.data == 0 ? s(d).fogDensity : m.data == 1 ? s(d).fogStart : s(d).fogEnd;
        }
        static Variant getFogValue(Dispatch& d, const Member& m) { return Variant::fromSingle(fogValue(d, m)); }
        static void putFogValue(Dispatch& d, const Member& m, const Variant& v)
        {
            float x = argR4(v);
            if (m.data == 0 && !(x >= 0.0f && x <= 1.0f))
                raisePropertyError(err::FogDensityRange);
            if (m.data != 0 && !(x >= 0.0f))
                raisePropertyError(m.data == 1 ? err::FogStartRange : err::FogEndRange);
            c(d).SetAndRedraw(fogValue(d, m), x);
        }

        static Variant getRadius(Dispatch& d, const Member&) { return Variant(1.0 / s(d).depthScale); }
        static void putRadius(Dispatch& d, const Member&, const Variant& v)
        {
            // The depth scale is its reciprocal: zero, negative, NaN and
            // values whose reciprocal is not finite make no picture.
            double r = argR8(v);
            if (!(r > 0.0) || !std::isfinite(r) || !std::isfinite(1.0 / r))
                raisePropertyError(err::RadiusRange);
            if (r != 1.0 / s(d).depthScale) {
                s(d).depthScale = 1.0 / r;
                c(d).RequestRedraw();
            }
        }

        static Variant getViewingDistance(Dispatch& d, const Member&) { return Variant::fromInt16(s(d).viewingDistance); }
        static void putViewingDistance(Dispatch& d, const Member&, const Variant& v)
        {
            std::int16_t x = argI2(v);
            if (x == s(d).viewingDistance)
                return;
            s(d).viewingDistance = x;
            if (RenderLink* r = c(d).renderer())
                r->SetViewport(s(d).width, s(d).height);
            c(d).RequestRedraw();
        }

        static Variant getModelBox(Dispatch& d, const Member&) { return Variant(static_cast<Dispatch*>(c(d).modelBox())); }

        static Variant getBorderColor(Dispatch& d, const Member&)
        {
            return Variant::fromInt32(static_cast<std::int32_t>(s(d).borderColor));
        }
        static void putBorderColor(Dispatch& d, const Member&, const Variant& v)
        {
            c(d).SetAndRedraw(s(d).borderColor, argColor(v));
        }

        static Variant getVerticalScale(Dispatch& d, const Member&) { return Variant::fromInt16(s(d).verticalScale); }
        static void putVerticalScale(Dispatch& d, const Member&, const Variant& v)
        {
            c(d).SetAndRedraw(s(d).verticalScale, argI2(v));
        }

        static Variant getGraphTitlePosition(Dispatch& d, const Member&)
        {
            return Variant::fromInt16(static_cast<std::int16_t>(s(d).graphTitlePosition));
        }
        static void putGraphTitlePosition(Dispatch& d, const Member&, const Variant& v)
        {
            c(d).SetAndRedraw(s(d).graphTitlePosition, std::int32_t(argI2(v)));
        }

        static Variant getMoveable(Dispatch&, const Member&) { return Variant(true); }

        static Variant createLight(Dispatch& d, std::span<Variant> a)
        {
            c(d).CreateLight(argI2(a[0]));
            return Variant(true);
        }
        static Variant addSurfaces(Dispatch& d, std::span<Variant> a) { return Variant(c(d).AddSurfaces(a[0])); }
        static Variant removeSurfaces(Dispatch& d, std::span<Variant>)
        {
            c(d).RemoveSurfaces();
            return Variant(true);
        }
        static Variant render(Dispatch& d, std::span<Variant>)
        {
            c(d).InvalidateControl(true);
            return Variant(true);
        }
        static Variant addVolumes(Dispatch& d, std::span<Variant> a) { return Variant(c(d).AddVolumes(a[0])); }
        static Variant makeCurrent(Dispatch& d, std::span<Variant>)
        {
            RenderLink* r = c(d).renderer();
            return Variant(r && r->MakeCurrent());
        }
        static Variant makeNotCurrent(Dispatch& d, std::span<Variant>)
        {
            RenderLink* r = c(d).renderer();
            return Variant(r && r->MakeNotCurrent());
        }
        static Variant aspect(Dispatch& d, std::span<Variant>) { return Variant(c(d).Aspect()); }
        static Variant polygonOffset(Dispatch& d, std::span<Variant> a)
        {
            float factor = argR4(a[0]), units = argR4(a[1]);
            if (RenderLink* r = c(d).renderer())
                r->PolygonOffset(factor, units);
            return {};
        }
        static Variant addSurface(Dispatch& d, std::span<Variant> a) { return Variant(c(d).AddSurface(a[0])); }
        static Variant addParametric(Dispatch& d, std::span<Variant> a)
        {
            return Variant(c(d).AddParametricSurface(a[0], a[1], a[2]));
        }
        static Variant light(Dispatch& d, std::span<Variant> a) { return Variant(c(d).Light(argI2(a[0]))); }
        static Variant destroyLight(Dispatch& d, std::span<Variant> a)
        {
            c(d).DestroyLight(argI2(a[0]));
            return Variant(true);
        }
        static Variant model(Dispatch& d, std::span<Variant> a) { return Variant(c(d).Model(argI2(a[0]))); }
        static Variant createModel(Dispatch& d, std::span<Variant> a) { return Variant(c(d).CreateModel(argI2(a[0]))); }
        static Variant addVectorField(Dispatch& d, std::span<Variant> a)
        {
            return Variant(c(d).AddVectorFieldPlot(a[0], a[1]));
        }
        static Variant setDefaultHq(Dispatch& d, std::span<Variant> a)
        {
            return Variant(c(d).SetDefaultHighQualityPrinting(argBool(a[0])));
        }
        static Variant addScatter(Dispatch& d, std::span<Variant> a)
        {
            return Variant(c(d).AddScatterPlot(a[0], a[1], a[2]));
        }
        static Variant aboutBox(Dispatch& d, std::span<Variant>)
        {
            if (host::ControlSite* site = c(d).site())
                site->showAboutBox();
            return {};
        }
    };

    auto k = [](const char* name, platform::DispId id, std::uint32_t value) {
        return Member{name, id, A::constant, nullptr, nullptr, 0, platform::varSmallint, value};
    };
    auto p = [](const char* name, platform::DispId id, MemberGetter get, MemberSetter put, std::uint32_t data = 0) {
        return Member{name, id, get, put, nullptr, 0, platform::varEmpty, data};
    };
    auto f = [](const char* name, platform::DispId id, MemberMethod call, unsigned args = 0) {
        return Member{name, id, nullptr, nullptr, call, args};
    };

    static const MemberDispatch table{
        p("ShowBackplanes", 1, A::getFlag, A::putFlag, 5),
        p("Title", 2, A::getText, A::putText, 0),
        p("Tilt", 3, A::getAngle, A::putAngle, 0),
        p("Twist", 4, A::getAngle, A::putAngle, 1),
        p("Rotation", 5, A::getAngle, A::putAngle, 2),
        k("RenderFilled", 6, 1),
        k("RenderHiddenLine", 7, 0x80),
        k("RenderAlternate", 8, 2),
        k("RenderLines", 9, 4),
        k("RenderPoints", 10, 8),
        k("RenderWireFrame", 11, 4),
        k("RenderContour", 12, 0x40),
        p("TitlePosition", 13, A::getTitlePosition, A::putTitlePosition),
        p("NumberOfModels", 14, A::getNumberOfModels, nullptr),
        p("Lighting", 15, A::getFlag, A::putFlag, 0),
        p("Fog", 16, A::getFlag, A::putFlag, 1),
        p("FogMode", 17, A::getFogMode, A::putFogMode),
        p("FogColor", 18, A::getFogColor, A::putFogColor),
        p("FogDensity", 19, A::getFogValue, A::putFogValue, 0),
        p("FogStart", 20, A::getFogValue, A::putFogValue, 1),
        p("FogEnd", 21, A::getFogValue, A::putFogValue, 2),
        p("AmbientLight", 22, A::getAmbient, A::putAmbient),
        p("Radius", 23, A::getRadius, A::putRadius),
        p("PerspectiveView", 24, A::getFlag, A::putFlag, 2),
        p("ViewingDistance", 25, A::getViewingDistance, A::putViewingDistance),
        p("ConstrainedView", 26, A::getFlag, A::putFlag, 3),
        k("PerimeterAxes", 27, 0),
        k("CornerAxes", 28, 1),
        k("NoAxes", 29, 2),
        p("HardwareRendering", 30, A::getFlag, A::putFlag, 4),
        p("ModelBox", 31, A::getModelBox, nullptr),
        p("BorderColor", 32, A::getBorderColor, A::putBorderColor),
        p("ShowBorder", 33, A::getQuietFlag, A::putQuietFlag, 0),
        k("ViewAsContourPlot", 34, 1),
        k("ViewAsDataPoints", 35, 2),
        k("ViewAsBarPlot", 36, 4),
        k("ViewAsPatchPlot", 37, 5),
        k("ViewAsSurfacePlot", 38, 0),
        k("ViewAsVectorFieldPlot", 39, 3),
        k("LayoutMatrix", 40, 0),
        k("LayoutStacked", 41, 1),
        k("LayoutSideBySide", 42, 2),
        p("VerticalScale", 43, A::getVerticalScale, A::putVerticalScale),
        p("GraphTitle", 44, A::getText, A::putText, 1),
        p("GraphTitlePosition", 45, A::getGraphTitlePosition, A::putGraphTitlePosition),
        k("TitlePosAbove", 46, 0),
        k("TitlePosBelow", 47, 1),
        k("TitlePosHidden", 48, 2),
        k("ConnectByRow", 49, 0),
        k("ConnectByX", 50, 1),
        k("ConnectByY", 51, 2),
        k("ConnectByZ", 52, 3),
        k("SolidLine", 53, 0),
        k("DashedLine", 54, 1),
        k("DottedLine", 55, 2),
        k("DaDotLine", 56, 3),
        k("DotSymbol", 57, 0),
        k("XSymbol", 58, 1),
        k("PlusSymbol", 59, 2),
        k("BoxSymbol", 60, 3),
        k("DiamondSymbol", 61, 4),
        p("HighQualityPrinting", 62, A::getQuietFlag, A::putQuietFlag, 1),
        p("Moveable", 63, A::getMoveable, nullptr),
        f("CreateLight", dispid::CreateLight, A::createLight, 1),
        f("AddSurfaces", dispid::AddSurfaces, A::addSurfaces, 1),
        f("RemoveSurfaces", dispid::RemoveSurfaces, A::removeSurfaces),
        f("Render", dispid::Render, A::render),
        f("AddVolumes", dispid::AddVolumes, A::addVolumes, 1),
        f("MakeCurrent", dispid::MakeCurrent, A::makeCurrent),
        f("MakeNotCurrent", dispid::MakeNotCurrent, A::makeNotCurrent),
        f("Aspect", dispid::Aspect, A::aspect),
        f("PolygonOffset", dispid::PolygonOffset, A::polygonOffset, 2),
        f("AddSurface", dispid::AddSurface, A::addSurface, 1),
        f("AddParametricSurface", dispid::AddParametricSurface, A::addParametric, 3),
        f("Light", dispid::Light, A::light, 1),
        f("DestroyLight", dispid::DestroyLight, A::destroyLight, 1),
        f("Model", dispid::Model, A::model, 1),
        f("CreateModel", dispid::CreateModel, A::createModel, 1),
        f("AddVectorFieldPlot", dispid::AddVectorFieldPlot, A::addVectorField, 2),
        f("SetDefaultHighQualityPrinting", dispid::SetDefaultHighQualityPrinting, A::setDefaultHq, 1),
        f("AddScatterPlot", dispid::AddScatterPlot, A::addScatter, 3),
        f("AboutBox", dispid::AboutBox, A::aboutBox),
    };
    return table;
}

} // namespace halvex
