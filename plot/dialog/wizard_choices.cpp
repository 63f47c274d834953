#include "plot/dialog/wizard_choices.h"

#include "platform/automation/dispatch_exception.h"
#include "platform/automation/safe_array.h"
#include "platform/text/number_text.h"
#include "plot/core/plot_control.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace halvex {

using platform::Dispatch;
using platform::Variant;

namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

Variant colorValue(std::uint32_t c)
{
    return Variant::fromInt32(static_cast<std::int32_t>(c));
}

Variant flag(bool on)
{
    return Variant::fromInt16(on ? 1 : 0);
}

// The plot's model 0, or null when the control has none.
platform::Ref<Dispatch> modelZero(Dispatch& control)
{
    Variant n = Variant::fromInt16(0);
    try {
        Variant m = control.invoke("Model", platform::InvokeKind::Method, std::span<Variant>(&n, 1));
        return platform::Ref<Dispatch>(m.dispatch());
    } catch (const platform::DispatchException&) {
        return {};
    }
}

WizardChoices clamped(WizardChoices c)
{
    c.plotType = std::clamp(c.plotType, 0, 4);
    c.appearance = std::clamp(c.appearance, 0, 2);
    c.symbol = std::clamp(c.symbol, 0, 4);
    c.symbolSize = std::clamp(c.symbolSize, 1, 10);
    c.coloring = std::clamp(c.coloring, 0, 2);
    return c;
}

// The colouring of one element: by the colour map, white under lighting,
// or the chosen colour.
void colorElement(Dispatch& control, Dispatch& model, const WizardChoices& c, const char* mapSwitch,
                  const char* colorName)
{
    model.put(mapSwitch, flag(c.coloring == kColorByHeight));
    if (c.coloring == kColorByHeight)
        return;
    if (c.coloring == kColorUsingLighting) {
        model.put(colorName, colorValue(kWhite));
        control.put("Lighting", Variant(true));
    } else {
        model.put(colorName, colorValue(0xFF000000u | (c.solidColor & 0xFFFFFFu)));
    }
}

void applySurface(Dispatch& control, Dispatch& model, const WizardChoices& c)
{
    control.put("Rotation", Variant(0.0));
    control.put("Tilt", Variant(35.0));
    control.put("Twist", Variant(-10.0));
    model.put("ViewAs", Variant::fromInt16(0));
    model.put("DrawPoints", flag(false));
    control.put("Lighting", Variant(false));
    model.put("HiddenLineRemoval", flag(false));
    switch (c.appearance) {
    case 0:
        model.put("DrawLines", flag(true));
        model.put("DrawFilledPolygons", flag(false));
        colorElement(control, model, c, "LineColorMap", "LineColor");
        break;
    case 1:
        model.put("DrawLines", flag(false));
        model.put("DrawFilledPolygons", flag(true));
        colorElement(control, model, c, "PolygonColormap", "PolygonColor");
        break;
    default:
        model.put("DrawLines", flag(true));
        model.put("DrawFilledPolygons", flag(true));
        model.put("LineColorMap", flag(false));
        model.put("LineColor", colorValue(kBlack));
        colorElement(control, model, c, "PolygonColormap", "PolygonColor");
        break;
    }
}

void applyContour(Dispatch& control, Dispatch& model, const WizardChoices& c)
{
    model.put("ViewAs", Variant::fromInt16(1));
    model.put("LineColorMap", flag(false));
    model.put("DrawPoints", flag(false));
    control.put("Lighting", Variant(false));
    model.put("LineColor", colorValue(kBlack));
    switch (c.appearance) {
    case 0:
        model.put("DrawLines", flag(true));
        model.put("DrawZContours", flag(true));
        model.put("DrawFilledPolygons", flag(false));
        model.put("FillZContours", flag(false));
        break;
    case 1:
        model.put("DrawContourLines", flag(false));
        model.put("DrawZContours", flag(false));
        model.put("FillZContours", flag(true));
        model.put("DrawFilledPolygons", flag(true));
        break;
    default:
        model.put("DrawContourLines", flag(true));
        model.put("DrawZContours", flag(true));
        model.put("DrawFilledPolygons", flag(true));
        model.put("FillZContours", flag(true));
        break;
    }
    model.put("HiddenLineRemoval", flag(false));
    model.put("NumberedContoursZ", flag(c.numberedContours));
}

void applyVectorField(Dispatch& control, Dispatch& model, const WizardChoices& c)
{
    model.put("ViewAs", Variant::fromInt16(3));
    model.put("LineColorMap", flag(false));
    model.put("DrawPoints", flag(false));
    model.put("PolygonColormap", flag(false));
    model.put("LineColor", colorValue(kBlack));
    model.put("PolygonColor", colorValue(kBlack));
    model.put("HiddenLineRemoval", flag(false));
    control.put("Lighting", Variant(false));
    model.put("VectorLines", flag(c.appearance != 1));
    model.put("VectorFilled", flag(c.appearance != 0));
}

void applyBar(Dispatch& control, Dispatch& model, const WizardChoices& c)
{
    model.put("ViewAs", Variant::fromInt16(4));
    model.put("LineColorMap", flag(false));
    model.put("DrawPoints", flag(false));
    model.put("PolygonColormap", flag(true));
    model.put("LineColor", colorValue(kBlack));
    model.put("HiddenLineRemoval", flag(false));
    model.put("SpectrumX", flag(false));
    model.put("SpectrumY", flag(true));
    model.put("SpectrumZ", flag(false));
    model.put("BarPlotLayout", Variant::fromInt16(std::int16_t(c.appearance)));
    if (c.appearance != 0)
        control.put("Twist", Variant(90.0));
}

void applyScatter(Dispatch& control, Dispatch& model, const WizardChoices& c)
{
    model.put("ViewAs", Variant::fromInt16(2));
    model.put("DrawFilledPolygons", flag(false));
    control.put("Lighting", Variant(false));
    model.put("PointSymbol", Variant::fromInt16(std::int16_t(c.symbol)));
    model.put("PointSize", Variant(double(c.symbolSize)));
    model.put("HiddenLineRemoval", flag(false));
    model.put("ScatterLines", flag(c.appearance != 0));
    model.put("ScatterPoints", flag(c.appearance != 1));
    switch (c.appearance) {
    case 0: colorElement(control, model, c, "PointColormap", "PointColor"); break;
    case 1: colorElement(control, model, c, "LineColorMap", "LineColor"); break;
    default:
        colorElement(control, model, c, "LineColorMap", "LineColor");
        colorElement(control, model, c, "PointColormap", "PointColor");
        break;
    }
}

// A rows × cols matrix of doubles, element (i, j) at i + j × rows.
Variant matrix(std::uint32_t rows, std::uint32_t cols, const std::vector<double>& values)
{
    const platform::SafeArray::Bound bounds[2] = {{0, rows}, {0, cols}};
    auto array = platform::Ref<platform::SafeArray>::adopt(platform::SafeArray::create(platform::varDouble, bounds));
    if (!array)
        throw std::bad_alloc();
    std::copy(values.begin(), values.end(), static_cast<double*>(array->data()));
    return Variant(array);
}

// n × n values f(x_i, y_j) with x_i = y_i = start + i × step.
std::vector<double> grid(int n, double start, double step, double (*f)(double, double))
{
    std::vector<double> v(std::size_t(n) * std::size_t(n));
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            v[std::size_t(i + j * n)] = f(start + i * step, start + j * step);
    return v;
}

void invoke(Dispatch& control, const char* name, std::vector<Variant> args)
{
    control.invoke(name, platform::InvokeKind::Method, args);
}

int keyword(std::string_view word, std::initializer_list<std::string_view> names)
{
    int k = 0;
    for (std::string_view n : names) {
        if (word == n)
            return k;
        ++k;
    }
    return -1;
}

// A number in 0 … last, or one of the names in that order.
bool choiceOf(std::string_view text, int last, std::initializer_list<std::string_view> names, int& out)
{
    std::int32_t n = 0;
    if (platform::parseInt32(text, n)) {
        if (n < 0 || n > last)
            return false;
        out = n;
        return true;
    }
    out = keyword(text, names);
    return out >= 0;
}

} // namespace

bool WizardHasColoringPage(int plotType) noexcept
{
    return plotType == kWizardSurface || plotType == kWizardScatter;
}

bool ApplyWizardChoices(Dispatch* control, const WizardChoices& choices)
{
    if (!control || !dynamic_cast<CGLCOleControl*>(control))
        return false;
    platform::Ref<Dispatch> model = modelZero(*control);
    if (!model)
        return false;
    const WizardChoices c = clamped(choices);
    control->put("Twist", Variant(-10.0));
    model->put("SpectrumX", flag(false));
    model->put("SpectrumY", flag(false));
    model->put("SpectrumZ", flag(true));
    model->put("PointSymbol", Variant::fromInt16(0));
    model->put("PointSize", Variant(1.0));
    switch (c.plotType) {
    case kWizardSurface: applySurface(*control, *model, c); break;
    case kWizardContour: applyContour(*control, *model, c); break;
    case kWizardVectorField: applyVectorField(*control, *model, c); break;
    case kWizardBar: applyBar(*control, *model, c); break;
    default: applyScatter(*control, *model, c); break;
    }
    return true;
}

void LoadWizardSampleData(Dispatch& control, int plotType)
{
    invoke(control, "RemoveSurfaces", {});
    if (plotType == kWizardVectorField) {
        std::vector<double> re(25), im(25);
        for (int j = 0; j < 5; ++j)
            for (int i = 0; i < 5; ++i) {
                double a = 2.0 * i - 4.0, b = j - 2.0;
                re[std::size_t(i + j * 5)] = a;
                im[std::size_t(i + j * 5)] = (1.0 - b * b) * a - b;
            }
        invoke(control, "AddVectorFieldPlot", {matrix(5, 5, re), matrix(5, 5, im)});
        return;
    }
    std::vector<double> z = plotType == kWizardContour
        ? grid(6, -std::numbers::pi, 0.4 * std::numbers::pi, [](double x, double y) { return std::cos(y) + std::sin(x); })
        : grid(6, -1.0, 0.4, [](double x, double y) { return x * x - y * y; });
    invoke(control, "AddSurface", {matrix(6, 6, z)});
}

bool ParseWizardChoices(std::string_view text, WizardChoices& out, std::string& error)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        std::size_t comma = text.find(',', start);
        parts.push_back(platform::trimBlanks(text.substr(start, comma == std::string_view::npos ? comma : comma - start)));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    WizardChoices c;
    if (parts.size() < 3) {
        error = "\"" + std::string(text) + "\" is not TYPE,APPEARANCE,COLOURING";
        return false;
    }
    if (!choiceOf(parts[0], 4, {"surface", "contour", "vector", "bar", "scatter"}, c.plotType)) {
        error = "unknown plot type \"" + std::string(parts[0]) + "\" (0 to 4, or surface, contour, vector, bar, scatter)";
        return false;
    }
    if (!choiceOf(parts[1], 2, {}, c.appearance)) {
        error = "the appearance must be 0, 1 or 2, not \"" + std::string(parts[1]) + "\"";
        return false;
    }
    if (!choiceOf(parts[2], 2, {"height", "lighting", "solid"}, c.coloring)) {
        error = "the colouring must be 0, 1 or 2 (or height, lighting, solid), not \"" + std::string(parts[2]) + "\"";
        return false;
    }
    for (std::size_t k = 3; k < parts.size(); ++k) {
        std::string_view p = parts[k];
        std::size_t eq = p.find('=');
        std::string_view key = p.substr(0, eq), value = eq == std::string_view::npos ? std::string_view() : p.substr(eq + 1);
        std::int32_t n = 0;
        if (key == "numbered" && eq == std::string_view::npos) {
            c.numberedContours = true;
        } else if (key == "symbol" && choiceOf(value, 4, {"dots", "x", "plus", "boxes", "diamonds"}, c.symbol)) {
        } else if (key == "size" && platform::parseInt32(value, n) && n >= 1 && n <= 10) {
            c.symbolSize = n;
        } else if ((key == "colour" || key == "color") && value.size() == 7 && value[0] == '#') {
            std::uint32_t rgb = 0;
            for (char ch : value.substr(1)) {
                int d = ch >= '0' && ch <= '9' ? ch - '0' : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                      : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10 : -1;
                if (d < 0) {
                    error = "\"" + std::string(p) + "\" is not colour=#RRGGBB";
                    return false;
                }
                rgb = rgb << 4 | std::uint32_t(d);
            }
            // #RRGGBB to red in the low byte.
            c.solidColor = (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
        } else {
            error = "unknown wizard option \"" + std::string(p) +
                    "\" (numbered, symbol=0..4, size=1..10, colour=#RRGGBB)";
            return false;
        }
    }
    out = c;
    return true;
}

} // namespace halvex
