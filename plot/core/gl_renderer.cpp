#include "plot/core/gl_renderer.h"

#include "plot/base/glyph_font_list.h"
#include "plot/base/feedback_marks.h"
#include "platform/automation/dispatch_exception.h"
#include "plot/base/packed_color.h"
#include "plot/core/gl_control_core.h"
#include "plot/core/render_context.h"
#include "plot/core/title_layout.h"
#include "plot/host/control_site.h"
#include "plot/model/mesh_model.h"
#include "plot/model/model_box.h"
#include "plot/model/plot_light.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace halvex {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kPi = 3.14159265358979323846;
constexpr std::int64_t kViewportPixelLimit = 3145728;

// A container's colour (red in the low byte); def when it gives none.
std::array<float, 3> ambientColor(const CGLCOleControl& c, platform::DispId id, std::uint32_t def)
{
    std::uint32_t rgb = def;
    platform::Variant v = c.AmbientProperty(id);
    if (!v.isEmpty()) {
        try {
            rgb = static_cast<std::uint32_t>(v.toInt32());
        } catch (...) {
        }
    }
    return {float(rgb & 0xFF) / 255.0f, float(rgb >> 8 & 0xFF) / 255.0f, float(rgb >> 16 & 0xFF) / 255.0f};
}

// A coordinate of no extent is opened: around v by ±10 %, or to −1..1 at 0.
void openCoordinate(BoundingRecord& box, int a)
{
    if (box.min[a] != box.max[a])
        return;
    float v = box.min[a];
    if (v == 0.0f) {
        box.min[a] = -1.0f;
        box.max[a] = 1.0f;
        return;
    }
    float p = 0.9f * v, q = 1.1f * v;
    // A negative coordinate would come out reversed.
    box.min[a] = std::min(p, q);
    box.max[a] = std::max(p, q);
}

} // namespace

GlRenderer::GlRenderer(CGLCOleControl& control) : control_(control) {}

GlRenderer::~GlRenderer() = default;

void GlRenderer::DiscardSceneLists()
{
    // The names stay reserved in their context; the next build re-records
    // them.
    listsValid_ = {false, false};
}

bool GlRenderer::MakeCurrent()
{
    return context_ && context_->MakeCurrent();
}

bool GlRenderer::MakeNotCurrent()
{
    return context_ && context_->MakeNotCurrent();
}

void GlRenderer::PolygonOffset(float factor, float units)
{
    if (RenderContext::Current())
        glPolygonOffset(factor, units);
}

void GlRenderer::SetViewport(int width, int height)
{
    // The size in control pixels changed, or the viewing distance: the next
    // paint sets the viewport up again for its device pixels.
    (void)width;
    (void)height;
    lastWidth_ = 0;
}

void GlRenderer::DisableLight(std::int32_t lightNumber)
{
    if (context_ && RenderContext::Current() == context_)
        glDisable(GLenum(lightNumber));
}

bool GlRenderer::InterruptRequested()
{
    if (interrupted_ || !probe_)
        return interrupted_;
    // Asked after every strip; the keyboard is looked at a few dozen times
    // a second, which is quick enough for a person and cheap for the loop.
    auto now = std::chrono::steady_clock::now();
    if (now - lastProbe_ < std::chrono::milliseconds(30))
        return false;
    lastProbe_ = now;
    interrupted_ = probe_->EscapePressed();
    return interrupted_;
}

DrawContext GlRenderer::FrameContext()
{
    DrawContext dc;
    dc.dataBox = box_;
    dc.recording = recording_;
    dc.lighting = control_.state().lighting;
    dc.flatPlot = control_.FlatPlot();
    dc.interrupt = this;
    if (windowHeight_ > 0)
        dc.picture = {plot_.left, windowHeight_ - plot_.bottom, plot_.width(), plot_.height()};
    if (context_) {
        dc.accelerated = context_->accelerated;
        dc.detailLimit = DetailLimit(level_);
        dc.lineUnit = context_->lineWidthUnit;
        dc.pointThreshold = context_->pointThreshold();
        dc.fonts = &context_->fonts();
    }
    dc.viewport = {0, 0, lastWidth_, lastHeight_};
    if (ModelBoxLink* mb = control_.modelBox())
        for (int type = 0; type < 3; ++type)
            dc.planePlacement[std::size_t(type)] = mb->GridPlacementList(type);
    std::array<float, 3> bg = ambientColor(control_, host::ambient::BackColor, 0xFFFFFF);
    dc.backColor = packRgb({bg[0], bg[1], bg[2], 1.0f}, 0);
    dc.labelStyle = control_.LabelStyle();
    return dc;
}

void GlRenderer::SetContext(RenderContext* context)
{
    context_ = context;
}

PixelRect GlRenderer::PlotArea(int width, int height, double dpi)
{
    PixelRect r{0, 0, width, height};
    TitleLayout title = LayOutTitle(control_, width, height, dpi);
    if (title.shown) {
        if (title.above)
            r.top += title.band;
        else
            r.bottom -= title.band;
    }
    colorBarShown_ = false;
    if (colorBarOn_ && context_ && colorBar_.Prepare(control_, box_)) {
        // A bar that would take more than a third of the width is left out.
        int band = colorBar_.BandWidth(LabelFont(dpi), dpi);
        if (band * 3 <= width) {
            r.right -= band;
            colorBarShown_ = true;
        }
    }
    return r;
}

GlyphFontList* GlRenderer::LabelFont(double dpi)
{
    if (!context_)
        return nullptr;
    AxisLabelStyle style = control_.LabelStyle();
    return context_->fonts().Get(style.face, style.points, float(dpi > 0.0 ? dpi : 96.0));
}

void GlRenderer::SetColorBar(bool on)
{
    if (on == colorBarOn_)
        return;
    colorBarOn_ = on;
    lastWidth_ = 0; // laid out anew on the next paint
}

void GlRenderer::DrawColorBar()
{
    if (!colorBarShown_ || windowHeight_ < 1)
        return;
    const int width = plot_.right + colorBar_.BandWidth(LabelFont(lastDpi_), lastDpi_);
    // In a tile the picture's origin lies outside the framebuffer.
    glViewport(-frameOrigin_[0], -frameOrigin_[1], width, windowHeight_);
    glScissor(-frameOrigin_[0], -frameOrigin_[1], width, windowHeight_);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, windowHeight_, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const std::uint32_t color = control_.box().axis(kAxisZ).fields().axisColor;
    colorBar_.Draw(LabelFont(lastDpi_), {plot_.right, windowHeight_ - plot_.bottom, width - plot_.right, plot_.height()},
                   lastDpi_, color);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    const auto& v = view_.viewport;
    glViewport(v[0], v[1], v[2], v[3]);
    glScissor(v[0], v[1], v[2], v[3]);
}

std::array<int, 2> GlRenderer::LimitViewport(int width, int height)
{
    std::int64_t area = std::int64_t(width) * height;
    if (width < 1 || height < 1 || area <= kViewportPixelLimit)
        return {width, height};
    double s = std::sqrt(double(kViewportPixelLimit) / double(area));
    return {std::max(1, int(std::lround(width * s))), std::max(1, int(std::lround(height * s)))};
}

void GlRenderer::ApplyInitialState()
{
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glCullFace(GL_BACK);
    glDisable(GL_CULL_FACE);
    glEnable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_TRUE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glHint(GL_FOG_HINT, GL_NICEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 4.0f);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, white);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, white);
    const GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glMatrixMode(GL_MODELVIEW);
}

void GlRenderer::RestoreDrawingState()
{
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glDisable(GL_CULL_FACE);
    glEnable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glMatrixMode(GL_MODELVIEW);
}

bool GlRenderer::PrepareFrame(int width, int height, double dpi, bool limitViewport)
{
    interrupted_ = false;
    // A collapsed window has no aspect: nothing to draw.
    if (!context_ || width < 1 || height < 1)
        return false;
    if (!context_->MakeCurrent())
        return false;
    if (context_->generation() != generation_) {
        // Lists of an earlier context mean nothing in this one.
        generation_ = context_->generation();
        listBase_ = 0;
        listsValid_ = {false, false};
        ApplyInitialState();
        context_->ReadLimits();
    }
    context_->lineWidthUnit = float(dpi > 0.0 ? dpi : 96.0) / 12.0f;
    // Fine lines on a fine device are sharp enough without smoothing.
    lineSmoothing_ = !(dpi >= 300.0);
    // The 3-D picture leaves the title's band (and the colour bar's) free.
    // A window's viewport is limited; a picture drawn in tiles is the size
    // it was asked for.
    windowHeight_ = height;
    plot_ = PlotArea(width, height, dpi);
    auto viewportOf = [&](const PixelRect& p) {
        return limitViewport ? LimitViewport(p.width(), p.height()) : std::array<int, 2>{p.width(), p.height()};
    };
    std::array<int, 2> size = viewportOf(plot_);
    if (size[0] != lastWidth_ || size[1] != lastHeight_ || dpi != lastDpi_) {
        lastWidth_ = size[0];
        lastHeight_ = size[1];
        lastDpi_ = dpi;
        listsValid_ = {false, false};
    }
    level_ = control_.gestures().moving() ? kMotion : kStill;
    if (control_.NeedsRebuild()) {
        listsValid_ = {false, false};
    } else if (projectionStale_ && listsValid_[kStill] && recordedLimit_[kStill] < FinestGrid() &&
               DetailLimit(kStill) > recordedLimit_[kStill]) {
        // Zoomed in past the detail the still picture was recorded with.
        listsValid_[kStill] = false;
    }
    if (control_.NeedsRebuild() || !listsValid_[level_]) {
        SetViewport(0, 0, size[0], size[1], dpi);
        ApplyFogAndLighting();
        BuildScene();
        if (colorBarOn_) {
            // The colour bar's numbers follow the scene box just built.
            PixelRect again = PlotArea(width, height, dpi);
            if (again != plot_) {
                plot_ = again;
                size = viewportOf(plot_);
                lastWidth_ = size[0];
                lastHeight_ = size[1];
                SetViewport(0, 0, size[0], size[1], dpi);
                BuildScene();
            }
        }
        CompileSceneLists();
        control_.SceneRebuilt();
    } else if (projectionStale_) {
        Projection();
    }
    projectionStale_ = false;
    return true;
}

GlRenderer::Frame GlRenderer::Paint(int width, int height, double dpi, PixelRect area)
{
    frameOrigin_ = {0, 0};
    if (!PrepareFrame(width, height, dpi, true))
        return Frame::Skipped;
    PixelRect client{0, 0, width, height};
    if (area.empty())
        area = client;
    if (plot_ != client) {
        // The bands are cleared here; the picture's area in BeginFrame.
        glScissor(area.left, height - area.bottom, std::max(0, area.width()), std::max(0, area.height()));
        std::array<float, 3> bg = ambientColor(control_, host::ambient::BackColor, 0xFFFFFF);
        glClearColor(bg[0], bg[1], bg[2], 1.0f);
        if (context_->DoubleBuffered() || context_->Offscreen())
            glClear(GL_COLOR_BUFFER_BIT);
    }
    bool pushed = SetPartialViewport(area, plot_);
    BeginFrame(false, area);
    DrawOpaqueModels();
    FinishFrame();
    if (pushed) {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    }
    return interrupted_ ? Frame::Interrupted : Frame::Drawn;
}

GlRenderer::Frame GlRenderer::PaintTile(int width, int height, double dpi, PixelRect tile, int margin,
                                        bool wholeViewport)
{
    frameOrigin_ = {0, 0};
    if (tile.empty() || !PrepareFrame(width, height, dpi, false))
        return Frame::Skipped;
    PixelRect client{0, 0, width, height};
    if (plot_ != client) {
        // The title's and colour bar's bands: the whole framebuffer is
        // cleared, the picture's area again in BeginFrame.
        std::array<float, 3> bg = ambientColor(control_, host::ambient::BackColor, 0xFFFFFF);
        glClearColor(bg[0], bg[1], bg[2], 1.0f);
        glScissor(0, 0, width + 2 * margin, height + 2 * margin);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    bool pushed = false;
    if (wholeViewport) {
        // The whole picture's viewport, moved so that the tile's pixels land
        // in the framebuffer: every tile is cut from the same picture.
        frameOrigin_ = {tile.left, height - tile.bottom};
        pushed = SetPartialViewport(plot_, plot_);
    } else {
        // Too large for one viewport: the part of the view volume the tile
        // (and its margin, for what straddles its edges) covers.
        PixelRect grown{tile.left - margin, tile.top - margin, tile.right + margin, tile.bottom + margin};
        frameOrigin_ = {grown.left, height - grown.bottom};
        pushed = SetPartialViewport(grown, plot_);
    }
    BeginFrame(false, client);
    DrawOpaqueModels();
    FinishFrame();
    if (pushed) {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    }
    frameOrigin_ = {0, 0};
    return interrupted_ ? Frame::Interrupted : Frame::Drawn;
}

void GlRenderer::ApplyFogAndLighting()
{
    const ControlState& s = control_.state();
    if (s.fog) {
        glEnable(GL_FOG);
        glFogf(GL_FOG_START, float(view_.nearPlane));
        glFogf(GL_FOG_END, float(view_.farPlane));
    } else {
        glDisable(GL_FOG);
    }
    if (s.lighting)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
}

void GlRenderer::SetViewport(int x, int y, int width, int height, double dpi)
{
    (void)x;
    (void)y;
    if (width < 1 || height < 1)
        return;
    if (dpi <= 0.0)
        dpi = 96.0;
    view_.windowAspect = double(width) / double(height);
    double v = control_.state().viewingDistance > 0 ? double(control_.state().viewingDistance) : 0.0001;
    view_.fieldOfView = 2.0 * std::atan((double(height) / dpi) / (2.0 * v)) * kDegreesPerRadian;
    if (context_) {
        context_->pixelSize96[0] = int(std::lround(width * 96.0 / dpi));
        context_->pixelSize96[1] = int(std::lround(height * 96.0 / dpi));
    }
}

void GlRenderer::RecomputeDataBox()
{
    BoundingRecord box = BoundingRecord::empty();
    bool any = false;
    bool flat = control_.FlatPlot();
    for (const auto& [number, model] : control_.models()) {
        if (!model || !(model->AsMesh() || model->AsQuickPlot()))
            continue;
        // A point list shown as a surface is measured by its grid.
        if (MeshModel* mesh = model->AsMesh())
            mesh->EnsureGrid(this);
        const BoundingRecord& r = model->DataRecord();
        std::uint32_t shade = model->format().shadeModel1;
        int kind = model->ViewAs();
        bool widen[3] = {true, true, true};
        if (!flat && kind == kVectorFieldPlot)
            widen[1] = false;
        if (!flat && kind == kContourPlot) {
            bool x = shade & (shade1::DrawXContours | shade1::FillXContours);
            bool y = shade & (shade1::DrawYContours | shade1::FillYContours);
            bool z = shade & (shade1::DrawZContours | shade1::FillZContours);
            widen[0] = x || z;
            widen[1] = x || y;
            widen[2] = y || z;
        }
        for (int a = 0; a < 3; ++a) {
            if (!widen[a])
                continue;
            box.min[a] = std::min(box.min[a], r.min[a]);
            box.max[a] = std::max(box.max[a], r.max[a]);
            any = true;
            openCoordinate(box, a);
        }
    }
    if (!any) {
        box = BoundingRecord{};
    } else {
        // A coordinate no model widened stays as the empty box has it.
        for (int a = 0; a < 3; ++a)
            if (box.min[a] > box.max[a]) {
                box.min[a] = -1.0f;
                box.max[a] = 1.0f;
            }
    }
    if (ModelBoxLink* mb = control_.modelBox())
        mb->FitAxes(box, flat);
    control_.DataBox() = box;
    box_ = box;
    for (int a = 0; a < 3; ++a)
        view_.centre[std::size_t(a)] = (box.min[a] + box.max[a]) * 0.5f;
}

void GlRenderer::BuildScene()
{
    RecomputeDataBox();
    const ControlState& s = control_.state();
    bool flat = control_.FlatPlot();
    double ex = box_.extent(0), ey = box_.extent(2), ez = box_.extent(1);
    double m = flat ? 0.0 : 0.03;
    double hx = (1.0 + m) * ex / 2.0, hy = (1.0 + m) * ey / 2.0, hz = 1.03 * ez / 2.0;
    if (!s.constrainedView) {
        // The box is drawn stretched (a cube, its height by VerticalScale):
        // the radius is that of the stretched box, so that a tall box is
        // not cut off.
        std::array<float, 3> k = BoxScale();
        hx *= std::fabs(k[0]);
        hy *= std::fabs(k[2]);
        hz *= std::fabs(k[1]);
    }
    double r = s.constrainedView ? std::sqrt(hx * hx + hy * hy + hz * hz) : std::sqrt(3.0) * std::max({hx, hy, hz});
    if (r == 0.0)
        r = 0.0001;
    if (context_)
        context_->sceneRadius[0] = context_->sceneRadius[1] = float(r);
    view_.radius = 1.03 * r;

    glMatrixMode(GL_MODELVIEW);
    Projection();

    glLoadIdentity();
    glPushMatrix();
    glTranslated(0.0, 0.0, -s.zPosition);
    ApplyLights();
    const GLfloat ambient[4] = {s.ambient[0], s.ambient[1], s.ambient[2], s.ambient[3]};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glPopMatrix();
    glLoadIdentity();
}

void GlRenderer::ApplyLights()
{
    for (int slot = 0; slot < kLightSlots; ++slot) {
        if (CglLight* light = control_.LightAt(slot))
            light->Apply();
        else
            glDisable(GLenum(GL_LIGHT0 + slot));
    }
}

void GlRenderer::Projection()
{
    const ControlState& s = control_.state();
    bool flat = control_.FlatPlot();
    double A = s.constrainedView ? view_.windowAspect : view_.fixedAspect;
    double f = view_.fieldOfView;
    if (A <= 1.0)
        f *= A;
    double h = f * 0.5 * 0.017453291479645996;
    double R = view_.radius;
    double d = R / std::tan(h);
    double ds = s.depthScale;
    double zPosition = (d + R) * ds;
    double computedNear = (ds - 1.0) * R + d * ds;
    double nearPlane = std::max(1e-10, computedNear);
    double farPlane = nearPlane + 2.0 * R;
    if (nearPlane < 0.001) {
        // Raised for the depth buffer's sake. The far plane moves with it,
        // and a scene that would lie wholly before the near plane is moved
        // behind it, so that a tiny scene stays inside the volume.
        nearPlane = 0.001;
        farPlane = nearPlane + 2.0 * R;
        if (zPosition + R < nearPlane)
            zPosition = nearPlane + R;
    }
    control_.SetZPosition(zPosition);
    view_.nearPlane = nearPlane;
    view_.farPlane = farPlane;
    if (s.fog) {
        glFogf(GL_FOG_START, float(view_.nearPlane));
        glFogf(GL_FOG_END, float(view_.farPlane));
    }

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (flat) {
        FlatProjection();
    } else {
        // A box keeps the size the unraised near plane gives it.
        double sizeNear = !s.perspective && computedNear > 0.0 ? computedNear : view_.nearPlane;
        double top = std::tan(kPi * view_.fieldOfView / 360.0) * sizeNear;
        double bottom = -top, left = bottom * A, right = top * A;
        view_.frustum = {float(left), float(right), float(bottom), float(top), float(view_.nearPlane),
                         float(view_.farPlane)};
        view_.perspectiveFrustum = s.perspective;
        if (s.perspective)
            glFrustum(left, right, bottom, top, view_.nearPlane, view_.farPlane);
        else
            glOrtho(left, right, bottom, top, view_.nearPlane, view_.farPlane);
    }
    const auto& fr = view_.frustum;
    if (context_) {
        context_->viewVolume[0] = float(std::fabs(double(fr[1]) - fr[0]) / ds);
        context_->viewVolume[1] = float(std::fabs(double(fr[3]) - fr[2]) / ds);
    }
    glGetDoublev(GL_PROJECTION_MATRIX, view_.projection.data());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void GlRenderer::FlatProjection()
{
    // Seen from above: the data's X (display z) to the right, its Y
    // (display x) upwards. Margins leave room for axis numbers and ticks,
    // and for the title when it is shown.
    auto range = [](float lo, float hi) {
        if (lo == hi) {
            if (lo == 0.0f)
                return std::array<double, 2>{-1.0, 1.0};
            return std::array<double, 2>{std::min(0.9 * lo, 1.1 * lo), std::max(0.9 * lo, 1.1 * lo)};
        }
        return std::array<double, 2>{lo, hi};
    };
    auto h = range(box_.min[2], box_.max[2]);
    auto v = range(box_.min[0], box_.max[0]);
    double w = h[1] - h[0], t = v[1] - v[0];
    double left = h[0] - 0.12 * w, right = h[1] + 0.06 * w;
    double bottom = v[0] - 0.10 * t, top = v[1] + 0.06 * t;
    // The ticks reach 0.05 of the data outward; the numbers beyond them
    // get the pixels they measure, when the picture has room for them. The
    // title has a band of its own, outside the picture.
    std::array<float, 4> px{0.0f, 0.0f, 0.0f, 0.0f};
    if (ModelBoxLink* mb = control_.modelBox())
        px = mb->FlatLabelSpace(FrameContext());
    double W = lastWidth_, H = lastHeight_;
    if (px[0] + px[2] > 0.0f && W > 2.0 * (px[0] + px[2]) && H > 2.0 * (px[1] + px[3])) {
        double sx = (W - px[0] - px[2]) / (1.05 * w), sy = (H - px[1] - px[3]) / (1.05 * t);
        left = h[0] - 0.05 * w - px[0] / sx;
        right = h[1] + px[2] / sx;
        bottom = v[0] - 0.05 * t - px[1] / sy;
        top = v[1] + px[3] / sy;
    }
    view_.frustum = {float(left), float(right), float(bottom), float(top), float(view_.nearPlane),
                     float(view_.farPlane)};
    view_.perspectiveFrustum = false;
    glOrtho(left, right, bottom, top, view_.nearPlane, view_.farPlane);
}

std::array<float, 3> GlRenderer::SceneScale() const
{
    if (control_.state().constrainedView)
        return {1.0f, 1.0f, 1.0f};
    return BoxScale();
}

std::array<float, 3> GlRenderer::BoxScale() const
{
    if (ModelBoxLink* mb = control_.modelBox())
        return mb->BoxScale();
    const ControlState& s = control_.state();
    if (s.constrainedView || control_.FlatPlot())
        return {1.0f, 1.0f, 1.0f};
    float v = float(s.verticalScale) * 0.01f;
    float rX = box_.extent(2), rY = box_.extent(0), rZ = box_.extent(1);
    float M = control_.AllBars() ? std::max(rZ, rX) : std::max({rX, rY, rZ});
    auto part = [M](float r, float one) { return r != 0.0f ? M / r : one; };
    if (control_.AllBars())
        return {part(rX, 1.0f), v * part(rZ, 1.0f), part(rX, 1.0f)};
    return {part(rY, 1.0f), v * part(rZ, 1.0f), part(rX, 1.0f)};
}

void GlRenderer::Modelview()
{
    const ControlState& s = control_.state();
    bool flat = control_.FlatPlot();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    if (!flat) {
        glTranslated(view_.pan[0], view_.pan[1], -s.zPosition);
        glRotated(s.rotation * kDegreesPerRadian, 0.0, 1.0, 0.0);
        glRotated(s.tilt * kDegreesPerRadian, 1.0, 0.0, 0.0);
        glRotated(s.twist * kDegreesPerRadian, 0.0, 1.0, 0.0);
    } else {
        glTranslated(0.0, 0.0, -s.zPosition);
        glRotated(90.0, 1.0, 0.0, 0.0);
        glRotated(90.0, 0.0, 1.0, 0.0);
    }
    if (view_.spinAngle != 0.0 && !flat)
        glRotated(view_.spinAngle, view_.spinAxis[0], view_.spinAxis[1], view_.spinAxis[2]);
    glGetDoublev(GL_MODELVIEW_MATRIX, view_.modelview.data());
    if (!s.constrainedView) {
        std::array<float, 3> k = BoxScale();
        glScalef(k[0], k[1], k[2]);
    }
    const auto& c = view_.centre;
    if (flat)
        glTranslated(0.0, -c[1], 0.0);
    else
        glTranslated(-c[0], -c[1], -c[2]);
}

void GlRenderer::CompileSceneLists()
{
    for (const auto& [number, model] : control_.models())
        if (model && CGLCOleControl::IsDataModel(*model))
            model->Invalidate();
    if (listBase_ == 0)
        listBase_ = glGenLists(4);
    if (listBase_ == 0) {
        listsValid_ = {false, false};
        return;
    }
    Modelview();
    recording_ = true;
    glNewList(ListOf(level_, false), GL_COMPILE);
    bool going = ModelPass({false, false});
    glEndList();
    glNewList(ListOf(level_, true), GL_COMPILE);
    if (going)
        ModelPass({true, false});
    glEndList();
    recording_ = false;
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    listsValid_[level_] = true;
    recordedLimit_[level_] = DetailLimit(level_);
}

std::int32_t GlRenderer::DetailLimit(Level level) const
{
    const int side = std::max(lastWidth_, lastHeight_);
    if (side < 1)
        return 0;
    // Zoomed in (a depth scale below 1), the grid spans more pixels than the
    // picture.
    const double ds = control_.state().depthScale;
    const double magnified = ds > 0.0 && ds < 1.0 ? 1.0 / ds : 1.0;
    const double pixels = std::min(double(side) * magnified, 1e8);
    const int per = level == kMotion ? kMotionPixelsPerLine : kStillPixelsPerLine;
    return std::max(2, int(std::ceil(pixels / per)));
}

std::int32_t GlRenderer::FinestGrid() const
{
    std::int32_t finest = 0;
    for (const auto& [number, model] : control_.models())
        if (MeshModel* m = model ? model->AsMesh() : nullptr)
            finest = std::max({finest, m->rows(), m->cols()});
    return finest;
}

bool GlRenderer::SetPartialViewport(PixelRect area, PixelRect client)
{
    PixelRect r = area;
    if (!control_.FlatPlot()) {
        r.left = std::max(area.left, client.left);
        r.top = std::max(area.top, client.top);
        r.right = std::min(area.right, client.right);
        r.bottom = std::min(area.bottom, client.bottom);
        if (r.empty())
            r = PixelRect{client.left, client.top, client.left, client.top};
    }
    bool pushed = false;
    int W = client.width(), H = client.height();
    if (r != client && W > 0 && H > 0 && !r.empty()) {
        // The sub-volume of the full view that the pixels cover, so that a
        // partial repaint matches the whole picture.
        const auto& f = view_.frustum;
        double sx = (double(f[1]) - f[0]) / W, sy = (double(f[3]) - f[2]) / H;
        double l = f[0] + sx * (r.left - client.left), rr = f[0] + sx * (r.right - client.left);
        double b = f[2] + sy * (client.bottom - r.bottom), t = f[2] + sy * (client.bottom - r.top);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        if (view_.perspectiveFrustum)
            glFrustum(l, rr, b, t, view_.nearPlane, view_.farPlane);
        else
            glOrtho(l, rr, b, t, view_.nearPlane, view_.farPlane);
        if (context_) {
            double ds = control_.state().depthScale;
            context_->viewVolume[0] = float(std::fabs(rr - l) / ds);
            context_->viewVolume[1] = float(std::fabs(t - b) / ds);
        }
        glGetDoublev(GL_PROJECTION_MATRIX, view_.projection.data());
        glMatrixMode(GL_MODELVIEW);
        pushed = true;
    }
    // GL's window y runs up from the bottom; a tile's framebuffer starts at
    // frameOrigin_ of the picture.
    int x = r.left - frameOrigin_[0];
    int y = (windowHeight_ > 0 ? windowHeight_ : client.bottom) - r.bottom - frameOrigin_[1];
    glScissor(x, y, std::max(0, r.width()), std::max(0, r.height()));
    glViewport(x, y, std::max(0, r.width()), std::max(0, r.height()));
    view_.viewport = {x, y, std::max(0, r.width()), std::max(0, r.height())};
    return pushed;
}

void GlRenderer::BeginFrame(bool picking, PixelRect area, int pickX, int pickY, int pickSize)
{
    (void)area;
    std::array<float, 3> bg = ambientColor(control_, host::ambient::BackColor, 0xFFFFFF);
    glClearColor(bg[0], bg[1], bg[2], 1.0f);
    const ControlState& s = control_.state();
    if (s.fog) {
        const GLfloat fog[4] = {s.fogColor[0], s.fogColor[1], s.fogColor[2], s.fogColor[3]};
        glFogfv(GL_FOG_COLOR, fog);
    }
    if (picking) {
        GLint vp[4] = {view_.viewport[0], view_.viewport[1], view_.viewport[2], view_.viewport[3]};
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        gluPickMatrix(pickX, (windowHeight_ > 0 ? windowHeight_ : vp[1] + vp[3]) - pickY, pickSize, pickSize, vp);
        glMultMatrixd(view_.projection.data());
        glMatrixMode(GL_MODELVIEW);
    }
    GLbitfield clear = GL_DEPTH_BUFFER_BIT;
    if (!context_ || context_->DoubleBuffered() || context_->Offscreen())
        clear |= GL_COLOR_BUFFER_BIT;
    if (!picking)
        glClear(clear);
    Modelview();
    if (ModelBoxLink* mb = control_.modelBox())
        mb->DrawFrameStart(FrameContext());
}

void GlRenderer::CallOrDraw(unsigned list, Pass pass)
{
    if (listsValid_[level_]) {
        glCallList(list);
        pass.directOnly = true;
        ModelPass(pass);
    } else {
        ModelPass(pass);
        pass.directOnly = true;
        ModelPass(pass);
    }
}

void GlRenderer::DrawOpaqueModels()
{
    CallOrDraw(ListOf(level_, false), {false, false});
}

void GlRenderer::FinishFrame()
{
    ModelBoxLink* mb = control_.modelBox();
    const DrawContext dc = FrameContext();
    if (mb)
        mb->DrawBehind(dc);
    if (!interrupted_)
        CallOrDraw(ListOf(level_, true), {true, false});
    if (mb)
        mb->DrawInFront(dc);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    DrawColorBar();
    glFlush();
    if (context_ && context_->DoubleBuffered())
        context_->SwapBuffers();
    if (view_.spinning) {
        view_.spinAngle += view_.spinStep;
        while (view_.spinAngle >= 360.0)
            view_.spinAngle -= 360.0;
    }
}

bool GlRenderer::ModelPass(Pass pass)
{
    if (!pass.directOnly && probe_) {
        probe_->EscapePressed(); // read once to forget an old press
        lastProbe_ = std::chrono::steady_clock::now();
    }
    double planes[6][4] = {};
    int nPlanes = 0;
    if (ModelBoxLink* mb = control_.modelBox())
        nPlanes = std::clamp(mb->UserClipPlanes(planes), 0, 6);
    for (int k = 0; k < nPlanes; ++k) {
        glClipPlane(GLenum(GL_CLIP_PLANE0 + k), planes[k]);
        glEnable(GLenum(GL_CLIP_PLANE0 + k));
    }
    bool going = true;
    bool metTransparent = false;
    for (int facePass = 0; facePass < 3 && going; ++facePass) {
        if (facePass > 0) {
            if (!pass.transparent || !metTransparent)
                break;
            glEnable(GL_CULL_FACE);
            glDepthMask(facePass == 1 ? GL_FALSE : GL_TRUE);
            glCullFace(facePass == 1 ? GL_FRONT : GL_BACK);
        }
        for (const auto& [number, model] : control_.models()) {
            if (!model || !(model->AsMesh() || model->AsQuickPlot()))
                continue;
            if (pass.directOnly && !model->NeedsDirectDraw())
                continue;
            int kind = model->ViewAs();
            bool transparent = (model->format().polygonColor >> 24) < 255;
            bool opaqueKind = kind == kContourPlot || kind == kVectorFieldPlot;
            bool inTransparentPass = transparent && !opaqueKind;
            if (inTransparentPass != pass.transparent)
                continue;
            metTransparent |= inTransparentPass;
            if (!DrawModelPasses(*model, facePass, pass.directOnly)) {
                going = false;
                break;
            }
        }
    }
    glDepthMask(GL_TRUE);
    glDisable(GL_CULL_FACE);
    glFlush();
    for (int k = 0; k < nPlanes; ++k)
        glDisable(GLenum(GL_CLIP_PLANE0 + k));
    return going;
}

bool GlRenderer::DrawModelPasses(CglModel& model, int facePass, bool directOnly)
{
    const ModelFormat& f = model.format();
    glPushAttrib(GL_LIGHTING_BIT);
    bool smooth = (f.shadeModel1 & shade1::SmoothShading) && f.viewAs != kBarPlot;
    glShadeModel(smooth ? GL_SMOOTH : GL_FLAT);
    float shininess = std::clamp(f.shininess, 0.0f, 128.0f);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
    model.SetEqualScales(control_.state().constrainedView);
    model.ComputeScale(box_);
    DrawContext dc = FrameContext();
    dc.facePass = facePass;
    bool going = true;
    for (int sub = directOnly ? 3 : 0; sub < kDrawPassCount; ++sub) {
        dc.pass = DrawPass(sub);
        // Smoothing of lines and points changes nothing in a filled polygon,
        // but while either is on Mesa's software driver sends every triangle
        // through its general primitive pipeline, which resets the ids of
        // all the batch's vertices at every flush: the fill passes run
        // without it, several times faster.
        SmoothLinesAndPoints(dc.pass == DrawPass::Lines || dc.pass == DrawPass::Points);
        // What fills only the depth buffer is marked for the PostScript
        // export, which has no depth buffer.
        const bool depthOnly = dc.pass == DrawPass::DepthOnly;
        if (depthOnly)
            glPassThrough(feedback_mark::kHiddenFillBegin);
        bool drawn = false;
        try {
            drawn = model.Draw(dc);
        } catch (const platform::DispatchException& e) {
            // A replay the checks or GL refused: the model is skipped, the
            // others drawn.
            if (depthOnly)
                glPassThrough(feedback_mark::kHiddenFillEnd);
            control_.DrawProblem(e.description());
            break;
        }
        if (depthOnly)
            glPassThrough(feedback_mark::kHiddenFillEnd);
        if (drawn)
            continue;
        // Only the user's interruption ends the pass; a model that cannot
        // draw itself has said so and leaves the others alone.
        going = !interrupted_;
        break;
    }
    SmoothLinesAndPoints(true);
    glPopAttrib();
    return going;
}

void GlRenderer::SmoothLinesAndPoints(bool on)
{
    if (on) {
        if (lineSmoothing_)
            glEnable(GL_LINE_SMOOTH);
        else
            glDisable(GL_LINE_SMOOTH);
        glEnable(GL_POINT_SMOOTH);
    } else {
        glDisable(GL_LINE_SMOOTH);
        glDisable(GL_POINT_SMOOTH);
    }
}

std::vector<int> GlRenderer::Pick(int x, int y, int size)
{
    std::vector<int> result;
    if (!context_ || !context_->MakeCurrent())
        return result;
    std::vector<GLuint> buffer(4096);
    glSelectBuffer(GLsizei(buffer.size()), buffer.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(~0u);
    BeginFrame(true, {}, x, y, size);
    for (const auto& [number, model] : control_.models()) {
        if (!model || !(model->AsMesh() || model->AsQuickPlot()))
            continue;
        glLoadName(GLuint(number));
        model->SetEqualScales(control_.state().constrainedView);
        model->ComputeScale(box_);
        model->DrawForPicking();
    }
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    GLint hits = glRenderMode(GL_RENDER);
    std::vector<std::pair<GLuint, int>> found;
    std::size_t p = 0;
    for (GLint h = 0; h < hits && p + 3 <= buffer.size(); ++h) {
        GLuint names = buffer[p], zmin = buffer[p + 1];
        if (p + 3 + names > buffer.size())
            break;
        if (names > 0 && buffer[p + 3 + names - 1] != ~0u)
            found.emplace_back(zmin, int(buffer[p + 3 + names - 1]));
        p += 3 + names;
    }
    std::sort(found.begin(), found.end());
    for (const auto& [z, n] : found)
        if (std::find(result.begin(), result.end(), n) == result.end())
            result.push_back(n);
    return result;
}

} // namespace halvex
