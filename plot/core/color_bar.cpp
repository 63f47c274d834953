#include "plot/core/color_bar.h"

#include "plot/base/glyph_font_list.h"
#include "plot/core/gl_control_core.h"
#include "plot/model/axis_scale.h"
#include "plot/model/colormaps.h"
#include "plot/model/scene_number.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace halvex {

namespace {

// Pixels at 96 dpi: the bar's width, the ticks, the margins.
constexpr float kBarWidth = 14.0f;
constexpr float kTick = 4.0f;
constexpr float kGap = 3.0f;
constexpr float kMargin = 8.0f;
// Colour steps along the bar: more than any map holds.
constexpr int kSteps = 256;

// The display coordinate a spectrum direction ramps along, or −1 when it
// ramps along a distance over several axes.
int RampCoordinate(std::int32_t dir)
{
    switch (dir) {
    case 1:
        return 2; // X
    case 2:
        return 0; // Y
    case 4:
        return 1; // Z
    default:
        return -1;
    }
}

} // namespace

bool ColorBar::Prepare(const CGLCOleControl& control, const BoundingRecord& sceneBox)
{
    numbers_.clear();
    for (const auto& [number, model] : control.models()) {
        if (!model || !(model->AsMesh() || model->AsQuickPlot()))
            continue;
        const ModelFormat& f = model->format();
        if (!f.polygonColorMap && !f.lineColorMap && !f.pointColorMap)
            continue;
        int c = RampCoordinate(f.spectrumDir);
        if (c < 0)
            continue;
        colormap_ = f.colormapIndex;
        low_ = sceneBox.min[std::size_t(c)];
        high_ = sceneBox.max[std::size_t(c)];
        if (!std::isfinite(low_) || !std::isfinite(high_) || low_ > high_)
            continue;
        MakeNumbers();
        return true;
    }
    return false;
}

void ColorBar::MakeNumbers()
{
    AxisRange r = AutoAxisRange(low_, high_);
    GridValues g(r.min, r.max, r.count);
    for (std::int32_t k = 0; k < g.count(); ++k) {
        double v = g[k];
        numbers_.push_back({FormatSceneNumber(v, AxisDecimals(v, g.step())), v});
    }
}

int ColorBar::BandWidth(GlyphFontList* font, double dpi)
{
    const float s = float(dpi / 96.0);
    float widest = 0.0f;
    if (font)
        for (const Number& n : numbers_)
            widest = std::max(widest, font->Measure(n.text).inkRight);
    return int(std::ceil((kMargin + kBarWidth + kTick + kGap + kMargin) * s + widest));
}

void ColorBar::Draw(GlyphFontList* font, const std::array<int, 4>& band, double dpi, std::uint32_t textColor)
{
    texts_.clear();
    const float s = float(dpi / 96.0);
    float textHeight = font ? font->pixelSize() : 12.0f * s;
    // The bar stands in the middle of the band's height, leaving room for
    // half a number above and below.
    const float x0 = float(band[0]) + kMargin * s, x1 = x0 + kBarWidth * s;
    const float spare = std::max(kMargin * s + textHeight * 0.5f, 0.12f * float(band[3]));
    const float y0 = float(band[1]) + spare, y1 = float(band[1] + band[3]) - spare;
    bar_ = {x0, y0, x1, y1};
    if (!(y1 - y0 > 2.0f))
        return;

    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_POLYGON_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glShadeModel(GL_FLAT);
    glBegin(GL_QUADS);
    for (int k = 0; k < kSteps; ++k) {
        float a = y0 + (y1 - y0) * float(k) / kSteps, b = y0 + (y1 - y0) * float(k + 1) / kSteps;
        Rgb c = SpectrumRgb(colormap_, (float(k) + 0.5f) / kSteps);
        glColor3f(c[0], c[1], c[2]);
        glVertex2f(x0, a);
        glVertex2f(x1, a);
        glVertex2f(x1, b);
        glVertex2f(x0, b);
    }
    glEnd();

    glColor3ub(GLubyte(textColor & 0xFF), GLubyte(textColor >> 8 & 0xFF), GLubyte(textColor >> 16 & 0xFF));
    glLineWidth(std::max(1.0f, std::round(s)));
    // Half a pixel in, so that the outline covers whole pixels.
    const float h = 0.5f;
    glBegin(GL_LINE_STRIP);
    glVertex2f(x0 + h, y0 + h);
    glVertex2f(x1 - h, y0 + h);
    glVertex2f(x1 - h, y1 - h);
    glVertex2f(x0 + h, y1 - h);
    glVertex2f(x0 + h, y0 + h);
    glEnd();

    auto yOf = [&](double v) {
        double t = high_ > low_ ? (v - low_) / (high_ - low_) : 0.0;
        return float(double(y0) + std::clamp(t, 0.0, 1.0) * double(y1 - y0));
    };
    glBegin(GL_LINES);
    for (const Number& n : numbers_) {
        float y = std::round(yOf(n.value)) + h;
        glVertex2f(x1, y);
        glVertex2f(x1 + kTick * s, y);
    }
    glEnd();

    if (font) {
        // Outline glyphs soften their edges with lines: one pixel wide, as
        // the axes' numbers have them, not the width of the bar's outline.
        glLineWidth(1.0f);
        // The numbers left-aligned beside their ticks, centred on them;
        // those that would overlap are left out, the ends first.
        std::vector<TextExtent> extents;
        const float left = x1 + (kTick + kGap) * s;
        for (std::size_t k = 0; k < numbers_.size(); ++k) {
            TextExtent e = font->Measure(numbers_[k].text);
            extents.push_back(e);
            float y = yOf(numbers_[k].value);
            float oy = std::round(y - 0.5f * (e.inkBottom + e.inkTop));
            TextBox t;
            t.box = {left + e.inkLeft, oy + e.inkBottom, left + e.inkRight, oy + e.inkTop};
            t.index = std::int32_t(k);
            t.count = std::int32_t(numbers_.size());
            texts_.push_back(t);
        }
        LayOutText(texts_, {float(band[0]), float(band[1]), float(band[0] + band[2]), float(band[1] + band[3])},
                   kGap * s);
        for (std::size_t k = 0; k < texts_.size(); ++k) {
            const TextBox& t = texts_[k];
            if (!t.shown)
                continue;
            const TextExtent& e = extents[k];
            float x = t.box.x0 - e.inkLeft + t.dx, y = t.box.y0 - e.inkBottom + t.dy;
            if (font->outline()) {
                glPushMatrix();
                glTranslatef(x, y, 0.0f);
                font->Draw(numbers_[k].text);
                glPopMatrix();
            } else {
                glRasterPos2f(x, y);
                font->Draw(numbers_[k].text);
            }
        }
    }
    glPopAttrib();
}

} // namespace halvex
