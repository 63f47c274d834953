// How a mesh model draws its contours: lines on a surface, the textured
// fill in bands, and the contour plot, whose directions are each squashed
// flat onto a back plane, with numbers along the Z lines of a flat plot.
#include "plot/base/glyph_font_list.h"
#include "plot/base/packed_color.h"
#include "plot/model/colormaps.h"
#include "plot/model/contour_fill.h"
#include "plot/model/contour_labels.h"
#include "plot/model/contour_tracer.h"
#include "plot/model/mesh_model.h"
#include "plot/model/scene_number.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace halvex {

// How a contour plot's direction is laid flat: the picture's matrices as
// they were before, and the scale and then translation that squash the
// model. Numbers are placed through them.
struct ContourFlattening {
    double modelview[16];
    double projection[16];
    std::array<double, 3> scale{1.0, 1.0, 1.0};
    std::array<double, 3> shift{0.0, 0.0, 0.0};
};

namespace {

constexpr int kDirectionBit[3] = {1, 2, 4}; // X, Y, Z
// The back plane a contour plot lays each direction onto: X on YZ, Y on XZ,
// Z on XY.
constexpr int kGroupPlane[3] = {1, 2, 0};

constexpr std::uint32_t kLineSwitch[3] = {shade1::DrawXContours, shade1::DrawYContours, shade1::DrawZContours};
constexpr std::uint32_t kFillSwitch[3] = {shade1::FillXContours, shade1::FillYContours, shade1::FillZContours};
constexpr std::uint32_t kLineSwitch3D[3] = {shade1::DrawXContours3D, shade1::DrawYContours3D,
                                            shade1::DrawZContours3D};
constexpr std::uint32_t kFillSwitch3D[3] = {shade1::FillXContours3D, shade1::FillYContours3D,
                                            shade1::FillZContours3D};
constexpr std::uint32_t kAutoSwitch[3] = {shade2::AutoContourX, shade2::AutoContourY, shade2::AutoContourZ};
constexpr std::uint32_t kAutoSwitch3D[3] = {shade2::AutoContourX3D, shade2::AutoContourY3D, shade2::AutoContourZ3D};

void color4(const Rgb& c, float alpha)
{
    glColor4f(c[0], c[1], c[2], alpha);
}

// Window pixels of display points: x to the right and y down from the
// viewport's top-left corner, through a fixed modelling matrix.
class WindowProjection {
public:
    WindowProjection(const double* modelview, const double* projection, const std::array<int, 4>& viewport)
        : vp_(viewport)
    {
        // m = projection × modelview, column major.
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 4; ++r) {
                double s = 0.0;
                for (int k = 0; k < 4; ++k)
                    s += projection[k * 4 + r] * modelview[c * 4 + k];
                m_[c * 4 + r] = s;
            }
    }
    // Applies a scale, then a translation, to what is projected.
    void Squash(const std::array<double, 3>& scale, const std::array<double, 3>& shift)
    {
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < 4; ++r) {
                m_[12 + r] += m_[c * 4 + r] * scale[std::size_t(c)] * shift[std::size_t(c)];
                m_[c * 4 + r] *= scale[std::size_t(c)];
            }
    }
    std::array<double, 2> operator()(const ContourPoint& p) const noexcept
    {
        double v[4];
        for (int r = 0; r < 4; ++r)
            v[r] = m_[r] * p[0] + m_[4 + r] * p[1] + m_[8 + r] * p[2] + m_[12 + r];
        if (v[3] == 0.0)
            return {NAN, NAN};
        double x = (v[0] / v[3] + 1.0) * 0.5 * vp_[2];
        double y = (v[1] / v[3] + 1.0) * 0.5 * vp_[3];
        return {x, double(vp_[3]) - y};
    }

private:
    double m_[16];
    std::array<int, 4> vp_;
};

// The number of a level and its size in pixels.
struct LevelText {
    std::string text;
    TextExtent extent;
    bool measured = false;
};

// Each curve as a line strip the moment it is traced, in its level's
// colour; in a numbered plot also offered to the numbers.
class LineSink final : public ContourSink {
public:
    LineSink(const DrawContext& dc, const ModelFormat& f, const ContourTracer& t) : dc_(dc), f_(f), t_(t) {}

    void Number(ContourLabeler* labeler, const WindowProjection* window, GlyphFontList* font,
                std::vector<LevelText>* texts)
    {
        labeler_ = labeler;
        window_ = window;
        font_ = font;
        texts_ = texts;
    }

    bool Curve(std::int32_t level, std::span<const ContourPoint> points, bool) override
    {
        if (f_.lineColorMap) {
            float t = LevelRampPosition(level, std::int32_t(t_.levels().size()));
            color4(SpectrumRgb(f_.colormapIndex, t), float(f_.lineColor >> 24) * kByteToUnit);
        }
        // Floats, as the model's vertices are: a recorded list of double
        // vertices costs the software renderer several times as much.
        glBegin(GL_LINE_STRIP);
        for (const ContourPoint& p : points)
            glVertex3f(float(p[0]), float(p[1]), float(p[2]));
        glEnd();
        if (labeler_)
            Offer(level, points);
        return !dc_.Interrupted();
    }

private:
    void Offer(std::int32_t level, std::span<const ContourPoint> points)
    {
        LevelText& t = (*texts_)[std::size_t(level)];
        if (!t.measured) {
            t.text = FormatSceneNumber(t_.levels()[std::size_t(level)], 3);
            t.extent = font_->Measure(t.text);
            t.measured = true;
        }
        windowPoints_.clear();
        for (const ContourPoint& p : points)
            windowPoints_.push_back((*window_)(p));
        labeler_->Offer(level, points, windowPoints_, t.extent.width, t.extent.height());
    }

    const DrawContext& dc_;
    const ModelFormat& f_;
    const ContourTracer& t_;
    ContourLabeler* labeler_ = nullptr;
    const WindowProjection* window_ = nullptr;
    GlyphFontList* font_ = nullptr;
    std::vector<LevelText>* texts_ = nullptr;
    std::vector<std::array<double, 2>> windowPoints_;
};

// Numbers of one flat plot: where they go and how they are drawn.
struct Numbering {
    WindowProjection window;
    ContourLabeler labeler;
    GlyphFontList* font;
    std::vector<LevelText> texts;
};

// The rectangle the data box covers in the window, kept inside the
// viewport: the numbers keep off its edges.
std::array<double, 4> plotArea(const WindowProjection& w, const BoundingRecord& box, const std::array<int, 4>& vp)
{
    double x0 = vp[2], x1 = 0.0, y0 = vp[3], y1 = 0.0;
    for (int k = 0; k < 8; ++k) {
        ContourPoint p{k & 1 ? box.max[0] : box.min[0], k & 2 ? box.max[1] : box.min[1],
                       k & 4 ? box.max[2] : box.min[2]};
        auto q = w(p);
        if (!std::isfinite(q[0]) || !std::isfinite(q[1]))
            continue;
        x0 = std::min(x0, q[0]);
        x1 = std::max(x1, q[0]);
        y0 = std::min(y0, q[1]);
        y1 = std::max(y1, q[1]);
    }
    x0 = std::max(x0, 0.0);
    y0 = std::max(y0, 0.0);
    x1 = std::min(x1, double(vp[2]));
    y1 = std::min(y1, double(vp[3]));
    if (x1 <= x0 || y1 <= y0)
        return {0.0, 0.0, double(vp[2]), double(vp[3])};
    return {x0, y0, x1 - x0, y1 - y0};
}

// Draws the placed numbers in the plane of the plot, each facing the
// viewer: a box in the background colour (or its band's colour when the
// bands are filled) with the number on it.
void drawNumbers(const DrawContext& dc, const ModelFormat& f, Numbering& n, const ContourTracer& t, bool filled)
{
    const double span = t.maximum() - t.minimum();
    std::array<float, 3> back = {byteChannel(dc.backColor, 0), byteChannel(dc.backColor, 8),
                                 byteChannel(dc.backColor, 16)};
    std::uint32_t ink = dc.labelStyle.color.value_or(0);
    for (const PlacedLabel& l : n.labeler.labels()) {
        const LevelText& text = n.texts[std::size_t(l.level)];
        // One pixel to the right and one up, in display coordinates of the
        // plane (display x and z; y is squashed).
        const ContourPoint& p = l.at;
        auto at = n.window(p);
        auto dx = n.window({p[0] + 1.0, p[1], p[2]}), dz = n.window({p[0], p[1], p[2] + 1.0});
        double a = dx[0] - at[0], b = dz[0] - at[0], c = -(dx[1] - at[1]), d = -(dz[1] - at[1]);
        double det = a * d - b * c;
        if (!(std::fabs(det) > 0.0) || !std::isfinite(det))
            continue;
        // Pixels (right, up) → (display x, display z).
        double rx = d / det, rz = -c / det, ux = -b / det, uz = a / det;
        const double frame[16] = {rx, 0, rz, 0, ux, 0, uz, 0, 0, 1, 0, 0, p[0], p[1], p[2], 1};
        glPushMatrix();
        glMultMatrixd(frame);
        Rgb box{back[0], back[1], back[2]};
        Rgb fore{byteChannel(ink, 0), byteChannel(ink, 8), byteChannel(ink, 16)};
        if (filled) {
            box = SpectrumRgb(f.colormapIndex, span > 0.0 ? float((t.levels()[std::size_t(l.level)] - t.minimum()) / span)
                                                           : 0.0f);
            float lum = 0.299f * box[0] + 0.587f * box[1] + 0.114f * box[2];
            fore = lum < 0.3f ? Rgb{1.0f, 1.0f, 1.0f} : Rgb{0.0f, 0.0f, 0.0f};
        }
        const double w = text.extent.width, h = text.extent.height();
        const double hw = w / 2 + ContourLabeler::kMarginX, hh = h / 2 + ContourLabeler::kMarginY;
        color4(box, 1.0f);
        glBegin(GL_QUADS);
        glVertex2f(float(-hw), float(-hh));
        glVertex2f(float(hw), float(-hh));
        glVertex2f(float(hw), float(hh));
        glVertex2f(float(-hw), float(hh));
        glEnd();
        color4(fore, 1.0f);
        glTranslated(-w / 2, -h / 2 + text.extent.descent, 0.0);
        n.font->Draw(text.text);
        glPopMatrix();
    }
}

} // namespace

ContourTracer MeshModel::MakeContourTracer(int direction, bool plot3D)
{
    const ModelFormat& f = format_;
    const std::size_t d = std::size_t(direction);
    bool automatic = f.shadeModel2 & (plot3D ? kAutoSwitch3D[d] : kAutoSwitch[d]);
    std::int16_t count = plot3D ? f.contours3D[d] : f.contours[d];
    ContourTracer t(direction, automatic, count);
    t.SetRange(DataRecord());
    return t;
}

bool MeshModel::DrawContourLines(const DrawContext& dc, int directions, bool plot3D,
                                 const ContourFlattening* numbered)
{
    const ModelFormat& f = format_;
    // Lines have no normals to light them by.
    glPushAttrib(GL_CURRENT_BIT | GL_LIGHTING_BIT | GL_ENABLE_BIT | GL_LINE_BIT);
    glDisable(GL_LIGHTING);
    glLineWidth(f.lineWidth * dc.lineScale());
    if (!f.lineColorMap)
        glColor4ub(GLubyte(f.lineColor & 0xFF), GLubyte(f.lineColor >> 8 & 0xFF), GLubyte(f.lineColor >> 16 & 0xFF),
                   GLubyte(f.lineColor >> 24));
    // The lines follow the grid the fill is drawn with, so they lie on it.
    const GridSource grid = VisibleGrid(dc, false);
    bool going = true;
    for (int d = 0; d < 3 && going; ++d) {
        if (!(directions & kDirectionBit[d]))
            continue;
        ContourTracer t = MakeContourTracer(d, plot3D);
        if (t.levels().empty())
            continue;
        LineSink sink(dc, f, t);
        std::optional<Numbering> numbers;
        GlyphFontList* font = dc.fonts ? dc.fonts->Get(dc.labelStyle.face, dc.labelStyle.points, dc.fontDpi()) : nullptr;
        if (numbered && d == kAxisZ && font && dc.viewport[2] > 0 && dc.viewport[3] > 0) {
            WindowProjection w(numbered->modelview, numbered->projection, dc.viewport);
            w.Squash(numbered->scale, numbered->shift);
            std::array<double, 4> area = plotArea(w, dc.dataBox, dc.viewport);
            numbers.emplace(Numbering{w, ContourLabeler(area[0], area[1], area[2], area[3]), font, {}});
            numbers->texts.resize(t.levels().size());
            sink.Number(&numbers->labeler, &numbers->window, font, &numbers->texts);
        }
        going = t.Trace(grid, sink);
        if (t.error() == ContourTracer::Error::OutOfMemory) {
            Problem("Not enough memory to trace the contour lines");
            going = false;
        }
        if (going && numbers)
            drawNumbers(dc, f, *numbers, t, f.shadeModel1 & shade1::FillZContours);
    }
    glPopAttrib();
    return going;
}

bool MeshModel::DrawContourFill(const DrawContext& dc, int directions, bool half, const BoundingRecord& range,
                                bool plot3D)
{
    const ModelFormat& f = format_;
    std::array<bool, 3> automatic{};
    for (std::size_t d = 0; d < 3; ++d)
        automatic[d] = f.shadeModel2 & (plot3D ? kAutoSwitch3D[d] : kAutoSwitch[d]);
    const FillTexture texture =
        MakeFillTexture(directions, range.min, range.max, automatic, plot3D ? f.contours3D : f.contours);
    if (texture.dimensions == 0)
        return true;
    const std::vector<std::uint8_t> texels = FillTexels(texture, f.colormapIndex, std::uint8_t(f.polygonColor >> 24));
    // The texture goes into the drawing (and so into a recorded list)
    // with the surface that uses it: nothing is cached that could outlive
    // its GL context.
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
    const GLenum target = texture.dimensions == 1 ? GL_TEXTURE_1D : GL_TEXTURE_2D;
    glBindTexture(target, 0);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    if (texture.dimensions == 1)
        glTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, texture.width(), 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    else
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, texture.width(), texture.height(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     texels.data());
    glDisable(GL_TEXTURE_1D);
    glDisable(GL_TEXTURE_2D);
    glEnable(target);
    bool going = half ? DrawHalfFilledSurface(dc, -1, &texture) : DrawFilledSurface(dc, -1, 0xFFFFFFFF, false, &texture);
    glPopAttrib();
    return going;
}

bool MeshModel::DrawContourPlot(const DrawContext& dc)
{
    if (dc.pass != DrawPass::Fill && dc.pass != DrawPass::Lines)
        return true;
    const ModelFormat& f = format_;
    const std::uint32_t s1 = f.shadeModel1, s2 = f.shadeModel2;
    const bool numberedZ = dc.flatPlot && (s2 & shade2::NumberedContoursZ);
    // A contour plot is drawn unlit.
    DrawContext flat = dc;
    flat.lighting = false;
    bool going = true;
    for (int d = 0; d < 3 && going; ++d) {
        const bool lines = (s1 & kLineSwitch[d]) || (d == kAxisZ && numberedZ);
        const bool fill = s1 & kFillSwitch[d];
        if (!lines && !fill)
            continue;
        // Only this direction's switches count inside its group.
        const bool drawFill = dc.pass == DrawPass::Fill && ((s2 & shade2::DrawFilledContours) || fill);
        const bool drawLines = dc.pass == DrawPass::Lines && ((s1 & shade1::DrawContourLines) || lines);
        if (!drawFill && !drawLines)
            continue;
        // Squashed to a thousandth of its extent around the centre of the
        // data, and laid onto the plane.
        const int axis = DisplayIndex(d);
        const double centre = (double(dc.dataBox.min[std::size_t(axis)]) + dc.dataBox.max[std::size_t(axis)]) / 2;
        ContourFlattening flattening;
        glGetDoublev(GL_MODELVIEW_MATRIX, flattening.modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, flattening.projection);
        flattening.scale[std::size_t(axis)] = 0.001;
        flattening.shift[std::size_t(axis)] = -centre;
        glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_LIGHTING_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glDepthMask(GL_FALSE);
        glDisable(GL_LIGHTING);
        if (unsigned place = dc.planePlacement[std::size_t(kGroupPlane[d])])
            glCallList(place);
        const auto& k = flattening.scale;
        const auto& t = flattening.shift;
        glScaled(k[0], k[1], k[2]);
        glTranslated(t[0], t[1], t[2]);
        if (drawFill) {
            going = fill ? DrawContourFill(flat, kDirectionBit[d], false, Rect(), false)
                         : DrawFilledSurface(flat, f.polygonColorMap ? f.colormapIndex : -1, f.polygonColor);
        } else {
            const bool numbers = d == kAxisZ && numberedZ;
            going = lines ? DrawContourLines(flat, kDirectionBit[d], false, numbers ? &flattening : nullptr)
                          : DrawMeshWireframe(flat);
        }
        glPopMatrix();
        glPopAttrib();
    }
    return going;
}

} // namespace halvex
