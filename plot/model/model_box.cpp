#include "plot/model/model_box.h"

#include "plot/base/automation_values.h"
#include "plot/base/glyph_font_list.h"
#include "plot/base/member_dispatch.h"
#include "plot/base/plot_errors.h"
#include "plot/model/scene_number.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace halvex {

using platform::Dispatch;
using platform::Ref;
using platform::Variant;

CglModelBox::CglModelBox(Ref<OwnerLink> owner) : owner_(std::move(owner))
{
    // Axis kinds 2, 0 and 1; plane types 0, 1 and 2.
    axes_[kAxisX] = Ref<CglAxis>(new CglAxis(this, kAxisX, 2));
    axes_[kAxisY] = Ref<CglAxis>(new CglAxis(this, kAxisY, 0));
    axes_[kAxisZ] = Ref<CglAxis>(new CglAxis(this, kAxisZ, 1));
    planes_[kPlaneXY] = Ref<CglBackPlane>(new CglBackPlane(this, kPlaneXY));
    planes_[kPlaneYZ] = Ref<CglBackPlane>(new CglBackPlane(this, kPlaneYZ));
    planes_[kPlaneXZ] = Ref<CglBackPlane>(new CglBackPlane(this, kPlaneXZ));
}

CglModelBox::~CglModelBox()
{
    // A container may hold an axis or a plane longer than the box.
    for (auto& a : axes_)
        a->Detach();
    for (auto& p : planes_)
        p->Detach();
}

platform::DispId CglModelBox::idOfName(std::string_view name) const
{
    return members().idOfName(name);
}

Variant CglModelBox::invoke(platform::DispId id, platform::InvokeKind kind, std::span<Variant> args)
{
    return members().invoke(*this, id, kind, args);
}

const platform::MemberTable& CglModelBox::memberNames()
{
    return members().names();
}

void CglModelBox::Repaint()
{
    if (PlotOwner* o = owner())
        o->Repaint();
}

void CglModelBox::AxisChanged()
{
    // The planes draw at the axes' grid values.
    for (auto& p : planes_)
        p->MarkStale();
    lists_.DiscardAll();
    if (PlotOwner* o = owner())
        o->RequestRedraw();
}

void CglModelBox::PlaneChanged()
{
    // The filled planes' list calls the planes' own lists, and leaves out
    // the planes without fill.
    lists_.Discard(kPlanesList);
    if (PlotOwner* o = owner()) {
        o->MarkModified();
        o->Repaint();
    }
}

void CglModelBox::SetAxesStyle(std::int32_t style)
{
    if (style < 0 || style > 2)
        raisePropertyError(err::UnrecognizedAxisStyle);
    if (style == axesStyle_)
        return;
    axesStyle_ = style;
    lists_.DiscardAll();
    for (auto& a : axes_)
        a->MarkStale();
    if (PlotOwner* o = owner()) {
        o->MarkModified();
        o->Repaint();
    }
}

void CglModelBox::SetBoxColor(std::uint32_t color)
{
    if (color == boxColor_)
        return;
    boxColor_ = color;
    // The planes' borders are drawn in the box colour too.
    DiscardLists();
    if (PlotOwner* o = owner()) {
        o->MarkModified();
        o->Repaint();
    }
}

void CglModelBox::SetShowBox(bool show)
{
    if (show == showBox_)
        return;
    showBox_ = show;
    lists_.DiscardAll();
    if (PlotOwner* o = owner()) {
        o->MarkModified();
        o->Repaint();
    }
}

const MemberDispatch& CglModelBox::members()
{
    struct A {
        static CglModelBox& box(Dispatch& d) { return static_cast<CglModelBox&>(d); }
        static Variant getAxis(Dispatch& d, const Member& m) { return Variant(Ref<Dispatch>(&box(d).axis(int(m.data)))); }
        static Variant getPlane(Dispatch& d, const Member& m)
        {
            return Variant(Ref<Dispatch>(&box(d).plane(int(m.data))));
        }
        static Variant getStyle(Dispatch& d, const Member&)
        {
            return Variant::fromInt16(static_cast<std::int16_t>(box(d).axesStyle_));
        }
        static void putStyle(Dispatch& d, const Member&, const Variant& v) { box(d).SetAxesStyle(argI2(v)); }
        static Variant getColor(Dispatch& d, const Member&)
        {
            return Variant::fromInt32(static_cast<std::int32_t>(box(d).boxColor_));
        }
        static void putColor(Dispatch& d, const Member&, const Variant& v) { box(d).SetBoxColor(argColor(v)); }
        static Variant getShow(Dispatch& d, const Member&) { return Variant(box(d).showBox_); }
        static void putShow(Dispatch& d, const Member&, const Variant& v) { box(d).SetShowBox(argBool(v)); }
        static Variant associated(Dispatch& d, std::span<Variant> a)
        {
            std::int16_t n = argI2(a[0]);
            if (n < 0 || n > 2)
                raiseError(err::UnrecognizedAxisNumber);
            return Variant(Ref<Dispatch>(&box(d).plane(n)));
        }
    };
    static const MemberDispatch table{
        {"XAxis", 1, A::getAxis, nullptr, nullptr, 0, platform::varDispatch, kAxisX},
        {"YAxis", 2, A::getAxis, nullptr, nullptr, 0, platform::varDispatch, kAxisY},
        {"ZAxis", 3, A::getAxis, nullptr, nullptr, 0, platform::varDispatch, kAxisZ},
        {"XYPlane", 4, A::getPlane, nullptr, nullptr, 0, platform::varDispatch, kPlaneXY},
        {"XZPlane", 5, A::getPlane, nullptr, nullptr, 0, platform::varDispatch, kPlaneXZ},
        {"YZPlane", 6, A::getPlane, nullptr, nullptr, 0, platform::varDispatch, kPlaneYZ},
        {"AxesStyle", 7, A::getStyle, A::putStyle},
        {"BoxColor", 8, A::getColor, A::putColor},
        {"ShowBox", 9, A::getShow, A::putShow},
        {"GetAssociatedBackplane", 10, nullptr, nullptr, A::associated, 1},
    };
    return table;
}

void CglModelBox::DiscardLists()
{
    lists_.DiscardAll();
    for (auto& p : planes_)
        p->MarkStale();
}

void CglModelBox::MarkAxesStale()
{
    for (auto& a : axes_)
        a->MarkStale();
    ambientStale_ = true;
}

void CglModelBox::RefreshView()
{
    if (PlotOwner* o = owner())
        view_ = o->ViewOfBox();
}

void CglModelBox::FitAxes(BoundingRecord& box, bool flatPlot)
{
    RefreshView();
    view_.flatPlot = flatPlot;
    for (int d = 0; d < 3; ++d) {
        CglAxis& a = axis(d);
        int i = DisplayIndex(d);
        a.SetDataRange(box.min[std::size_t(i)], box.max[std::size_t(i)]);
        a.MarkStale();
        a.UpdateRange();
        float lo = float(a.shownMin()), hi = float(a.shownMax());
        if (a.fields().autoScale) {
            box.min[std::size_t(i)] = std::min(box.min[std::size_t(i)], lo);
            box.max[std::size_t(i)] = std::max(box.max[std::size_t(i)], hi);
        } else {
            // The user's limits replace the data's; a range of no extent is
            // opened as the renderer opens the data's.
            if (lo == hi) {
                float p = lo == 0.0f ? -1.0f : 0.9f * lo, q = lo == 0.0f ? 1.0f : 1.1f * lo;
                lo = std::min(p, q);
                hi = std::max(p, q);
            }
            box.min[std::size_t(i)] = lo;
            box.max[std::size_t(i)] = hi;
        }
    }
    DiscardLists();
}

std::array<float, 3> CglModelBox::ComputeBoxScale() const
{
    if (view_.constrainedView || view_.flatPlot)
        return {1.0f, 1.0f, 1.0f};
    double v = view_.verticalScale * 0.01;
    double rX = axis(kAxisX).Upper() - axis(kAxisX).Lower();
    double rY = axis(kAxisY).Upper() - axis(kAxisY).Lower();
    double rZ = axis(kAxisZ).Upper() - axis(kAxisZ).Lower();
    double M = view_.allBars ? std::max(rZ, rX) : std::max({rX, rY, rZ});
    auto part = [M](double r) { return r != 0.0 ? M / r : 1.0; };
    if (view_.allBars)
        return {float(part(rX)), float(v * part(rZ)), float(part(rX))};
    return {float(part(rY)), float(v * part(rZ)), float(part(rX))};
}

BoxFrame CglModelBox::Frame(const DrawContext& dc) const
{
    BoxFrame f;
    f.flat = view_.flatPlot;
    for (int d = 0; d < 3; ++d) {
        f.lower[std::size_t(d)] = axis(d).Lower();
        f.upper[std::size_t(d)] = axis(d).Upper();
        bool none = f.flat && d != kAxisZ;
        f.margin[std::size_t(d)] = none ? 0.0 : 0.03 * (f.upper[std::size_t(d)] - f.lower[std::size_t(d)]);
    }
    f.lineScale = dc.lineScale();
    return f;
}

void CglModelBox::ReadAmbient()
{
    if (!ambientStale_)
        return;
    ambientStale_ = false;
    if (PlotOwner* o = owner()) {
        labelStyle_ = o->LabelStyle();
        if (labelStyle_.color)
            for (auto& a : axes_)
                a->TakeAmbientColor(*labelStyle_.color);
    }
}

GlyphFontList* CglModelBox::CurrentFont(const DrawContext& dc)
{
    ReadAmbient();
    return dc.fonts ? dc.fonts->Get(labelStyle_.face, labelStyle_.points, dc.fontDpi()) : nullptr;
}

std::array<float, 4> CglModelBox::FlatLabelSpace(const DrawContext& dc)
{
    std::array<float, 4> space{0.0f, 0.0f, 0.0f, 0.0f};
    GlyphFontList* font = CurrentFont(dc);
    if (!font || axesStyle_ == 2)
        return space;
    constexpr float gap = 4.0f;
    // The X axis's numbers stand under the data, the Y axis's left of it,
    // each centred on its grid value.
    for (int d : {kAxisX, kAxisY}) {
        const CglAxis& a = axis(d);
        if (!a.fields().numbered && !a.fields().showLabel)
            continue;
        GridValues g = a.Grid();
        TextExtent widest, last;
        for (std::int32_t k = 0; a.fields().numbered && k < g.count(); ++k) {
            double v = g[k];
            last = font->Measure(FormatSceneNumber(v, AxisDecimals(v, g.step())));
            widest.width = std::max(widest.width, last.width);
            widest.ascent = std::max(widest.ascent, last.ascent);
            widest.descent = std::max(widest.descent, last.descent);
        }
        TextExtent title;
        if (a.fields().showLabel && !a.fields().label.empty())
            title = font->Measure(a.fields().label);
        if (d == kAxisX) {
            space[1] = widest.height() + title.height() + 2 * gap;
            space[2] = std::max(space[2], last.width * 0.5f + gap);
        } else {
            space[0] = widest.width + title.width + 2 * gap;
            space[3] = std::max(space[3], last.height() * 0.5f + gap);
        }
    }
    return space;
}

void CglModelBox::UpdateBox(const DrawContext& dc)
{
    RefreshView();
    ReadAmbient();
    double m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    std::array<int, 3> edges = AxisEdges(m, axesStyle_, view_.flatPlot);
    for (int d = 0; d < 3; ++d)
        axis(d).SetPositionCode(edges[std::size_t(d)]);
    for (auto& p : planes_) {
        std::int32_t type = p->fields().type;
        p->SetFarSide(type == kPlaneXY ? m[6] < 0.0 : type == kPlaneYZ ? m[10] < 0.0 : m[2] < 0.0);
    }
    BoxFrame frame = Frame(dc);
    for (auto& a : axes_)
        a->UpdateList(frame, axesStyle_);
    const CglAxis* byDirection[3] = {axes_[0].get(), axes_[1].get(), axes_[2].get()};
    for (auto& p : planes_)
        if (PlaneShown(*p))
            p->UpdateLists(frame, byDirection, view_, boxColor_);
    if (!lists_.Built(kPlanesList) && lists_.Begin(kPlanesList)) {
        glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_LINE_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT);
        glDisable(GL_LIGHTING);
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(1.0f, 1.0f);
        for (auto& p : planes_)
            if (PlaneShown(*p))
                p->CallFill();
        glPopAttrib();
        lists_.End(kPlanesList);
    }
    if (!lists_.Built(kEdgesList) && lists_.Begin(kEdgesList)) {
        RecordEdges(frame);
        lists_.End(kEdgesList);
    }
    font_ = CurrentFont(dc);
}

void CglModelBox::RecordEdges(const BoxFrame& frame)
{
    if (!showBox_)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glColor3ub(GLubyte(boxColor_ & 0xFF), GLubyte(boxColor_ >> 8 & 0xFF), GLubyte(boxColor_ >> 16 & 0xFF));
    glLineWidth(std::max(0.1f, frame.lineScale));
    glBegin(GL_LINES);
    for (const BoxEdge& e : kBoxEdges) {
        double p[2][3];
        for (int d = 0; d < 3; ++d) {
            double lo = frame.low(d), hi = frame.high(d);
            p[0][d] = e.side[std::size_t(d)] > 0 ? hi : lo;
            p[1][d] = e.side[std::size_t(d)] < 0 ? lo : hi;
        }
        for (auto& q : p) {
            std::array<double, 3> v = DisplayPoint(q[0], q[1], q[2]);
            glVertex3d(v[0], v[1], v[2]);
        }
    }
    glEnd();
    glPopAttrib();
}

void CglModelBox::DrawFrameStart(const DrawContext& dc)
{
    GLint mode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    if (mode == GL_SELECT)
        return;
    UpdateBox(dc);
    lists_.Call(kPlanesList);
    // The planes' grids lie behind everything the box holds: drawn before
    // the models and kept out of the depth buffer, they can never show
    // through a surface, however little depth separates them (a small
    // VerticalScale, equal scales over a flat range, a surface pushed back
    // by its polygon offset).
    glPushAttrib(GL_DEPTH_BUFFER_BIT);
    glDepthMask(GL_FALSE);
    for (auto& p : planes_)
        if (PlaneShown(*p))
            p->CallGrid();
    glPopAttrib();
}

void CglModelBox::DrawBehind(const DrawContext&)
{
    // The grids went first (DrawFrameStart).
}

void CglModelBox::DrawInFront(const DrawContext& dc)
{
    GLint mode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    if (mode == GL_SELECT)
        return;
    lists_.Call(kEdgesList);
    for (auto& a : axes_)
        a->CallList();
    // The numbers face the viewer: drawn in window coordinates at the depth
    // of the point they belong to.
    double modelview[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (viewport[2] < 1 || viewport[3] < 1)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glLineWidth(1.0f);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(viewport[0], viewport[0] + viewport[2], viewport[1], viewport[1] + viewport[3], 0.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    // Where every number and label would go this frame, measured in the
    // window; then which of them fit.
    const float gap = kTextGapPixels * dc.lineScale();
    texts_.clear();
    for (auto& a : axes_)
        a->PlaceTexts(font_, modelview, projection, viewport, gap, texts_);
    const std::array<int, 4>& picture = dc.picture[2] > 0 ? dc.picture : std::array<int, 4>{viewport[0], viewport[1], viewport[2], viewport[3]};
    LayOutText(texts_, {float(picture[0]), float(picture[1]), float(picture[0] + picture[2]),
                        float(picture[1] + picture[3])},
               gap);
    if (font_)
        for (auto& a : axes_)
            a->DrawTexts(*font_, texts_);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

unsigned CglModelBox::GridPlacementList(int planeType)
{
    for (auto& p : planes_)
        if (p->fields().type == planeType)
            return PlaneShown(*p) ? p->GridPlacementName() : 0u;
    return 0;
}

int CglModelBox::UserClipPlanes(double (*planes)[4])
{
    if (view_.flatPlot && view_.allSurfaces)
        return 0;
    int n = 0;
    for (int d = 0; d < 3; ++d) {
        const CglAxis& a = axis(d);
        if (a.fields().autoScale)
            continue;
        double lo = a.Lower(), hi = a.Upper();
        double dataLo = std::min(a.fields().dataMin, a.fields().dataMax);
        double dataHi = std::max(a.fields().dataMin, a.fields().dataMax);
        double eps = 0.001 * (hi - lo);
        int i = DisplayIndex(d);
        if (lo > dataLo) {
            std::fill(planes[n], planes[n] + 4, 0.0);
            planes[n][i] = 1.0;
            planes[n][3] = -(lo - eps);
            ++n;
        }
        if (hi < dataHi) {
            std::fill(planes[n], planes[n] + 4, 0.0);
            planes[n][i] = -1.0;
            planes[n][3] = hi + eps;
            ++n;
        }
    }
    return n;
}

} // namespace halvex
