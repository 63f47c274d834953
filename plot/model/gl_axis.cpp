#include "plot/model/gl_axis.h"

#include "plot/base/automation_values.h"
#include "plot/base/member_dispatch.h"
#include "plot/model/model_box.h"
#include "plot/model/scene_number.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace halvex {

using platform::Dispatch;
using platform::Variant;

namespace {

// Ticks reach 0.05 of the box's extent outward; numbers stand 0.03 beyond
// (at the tick's end in a flat plot).
constexpr double kTick = 0.05;
constexpr double kNumberGap = 0.03;
constexpr std::int32_t kMaxNumbers = 500;

void vertex(const std::array<double, 3>& p)
{
    glVertex3d(p[0], p[1], p[2]);
}

// How far a box of half sizes (hw, hh) centred on a point must be pushed
// in the unit direction (dx, dy) until it no longer covers the point.
float reach(float hw, float hh, float dx, float dy)
{
    float tx = std::fabs(dx) > 1e-6f ? hw / std::fabs(dx) : std::numeric_limits<float>::max();
    float ty = std::fabs(dy) > 1e-6f ? hh / std::fabs(dy) : std::numeric_limits<float>::max();
    return std::min(tx, ty);
}

// The text with its pen starting at (x, y), window pixels.
void drawText(GlyphFontList& font, const std::string& text, float x, float y, float depth)
{
    if (font.outline()) {
        glPushMatrix();
        glTranslatef(x, y, -depth);
        font.Draw(text);
        glPopMatrix();
    } else {
        // A raster position outside the viewport is invalid and would lose
        // the whole text: start inside and move by the rest, so that a
        // number straddling the edge of a tile is drawn in both tiles.
        GLint vp[4] = {0, 0, 1, 1};
        glGetIntegerv(GL_VIEWPORT, vp);
        float ix = std::clamp(x, float(vp[0]), float(vp[0] + std::max(vp[2], 1) - 1));
        float iy = std::clamp(y, float(vp[1]), float(vp[1] + std::max(vp[3], 1) - 1));
        glRasterPos3f(ix, iy, -depth);
        if (ix != x || iy != y)
            glBitmap(0, 0, 0.0f, 0.0f, x - ix, y - iy, nullptr);
        font.Draw(text);
    }
}

} // namespace

CglAxis::CglAxis(CglModelBox* box, int direction, std::int32_t kind) : box_(box), direction_(direction)
{
    f_.kind = kind;
}

platform::DispId CglAxis::idOfName(std::string_view name) const
{
    return members().idOfName(name);
}

Variant CglAxis::invoke(platform::DispId id, platform::InvokeKind kind, std::span<Variant> args)
{
    return members().invoke(*this, id, kind, args);
}

const platform::MemberTable& CglAxis::memberNames()
{
    return members().names();
}

void CglAxis::Changed()
{
    MarkStale();
    if (box_)
        box_->AxisChanged();
}

template <class T>
void CglAxis::Store(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    Changed();
}

const MemberDispatch& CglAxis::members()
{
    struct A {
        static CglAxis& axis(Dispatch& d) { return static_cast<CglAxis&>(d); }

        // data: 0 numbered, 1 show label, 2 auto grid, 3 auto scale.
        static bool& flag(Dispatch& d, const Member& m)
        {
            AxisFields& f = axis(d).f_;
            bool* flags[] = {&f.numbered, &f.showLabel, &f.autoGrid, &f.autoScale};
            return *flags[m.data];
        }
        static Variant getFlag(Dispatch& d, const Member& m) { return Variant(flag(d, m)); }
        static void putFlag(Dispatch& d, const Member& m, const Variant& v) { axis(d).Store(flag(d, m), argBool(v)); }

        // data: 0 user minimum, 1 user maximum, 2 data minimum, 3 data maximum.
        static double& number(Dispatch& d, const Member& m)
        {
            AxisFields& f = axis(d).f_;
            double* numbers[] = {&f.userMin, &f.userMax, &f.dataMin, &f.dataMax};
            return *numbers[m.data];
        }
        static Variant getNumber(Dispatch& d, const Member& m) { return Variant(number(d, m)); }
        static void putNumber(Dispatch& d, const Member& m, const Variant& v)
        {
            double x = argR8(v);
            // NaN never equals itself: only a real change counts.
            double& field = number(d, m);
            if (field == x || (std::isnan(field) && std::isnan(x)))
                return;
            field = x;
            axis(d).Changed();
        }

        // data: 0 grid count, 1 subdivisions, 2 grid weight, 3 sub-grid
        // weight, 4 axis weight.
        static std::int16_t& shortField(Dispatch& d, const Member& m)
        {
            AxisFields& f = axis(d).f_;
            std::int16_t* fields[] = {&f.gridCount, &f.subdivisions, &f.gridLineWeight, &f.subGridLineWeight,
                                      &f.axisWeight};
            return *fields[m.data];
        }
        static Variant getShort(Dispatch& d, const Member& m) { return Variant::fromInt16(shortField(d, m)); }
        static void putShort(Dispatch& d, const Member& m, const Variant& v)
        {
            std::int16_t x = argI2(v);
            // A negative number of subdivisions means none.
            if (m.data == 1 && x < 0)
                x = 0;
            axis(d).Store(shortField(d, m), x);
        }

        static Variant getLabel(Dispatch& d, const Member&) { return Variant(axis(d).f_.label); }
        static void putLabel(Dispatch& d, const Member&, const Variant& v) { axis(d).Store(axis(d).f_.label, argString(v)); }

        static Variant getColor(Dispatch& d, const Member&)
        {
            return Variant::fromInt32(static_cast<std::int32_t>(axis(d).f_.axisColor));
        }
        static void putColor(Dispatch& d, const Member&, const Variant& v)
        {
            CglAxis& a = axis(d);
            std::uint32_t c = argColor(v);
            if (c == a.f_.axisColor)
                return;
            a.f_.axisColor = c;
            a.f_.userColor = true;
            a.Changed();
        }

        static Variant getNothing(Dispatch&, const Member&) { return Variant(static_cast<Dispatch*>(nullptr)); }
        static Variant getZero(Dispatch&, const Member&) { return Variant::fromInt16(0); }
        static void ignore(Dispatch&, const Member&, const Variant&) {}
        static void ignoreShort(Dispatch&, const Member&, const Variant& v) { argI2(v); }
    };

    static const MemberDispatch table{
        {"Numbered", 1, A::getFlag, A::putFlag, nullptr, 0, platform::varBoolean, 0},
        {"Label", 2, A::getLabel, A::putLabel},
        {"MinVal", 3, A::getNumber, A::putNumber, nullptr, 0, platform::varDouble, 0},
        {"MaxVal", 4, A::getNumber, A::putNumber, nullptr, 0, platform::varDouble, 1},
        {"NumGrids", 5, A::getShort, A::putShort, nullptr, 0, platform::varSmallint, 0},
        {"ShowLabel", 6, A::getFlag, A::putFlag, nullptr, 0, platform::varBoolean, 1},
        {"LabelFont", 7, A::getNothing, A::ignore},
        {"DataMin", 8, A::getNumber, A::putNumber, nullptr, 0, platform::varDouble, 2},
        {"DataMax", 9, A::getNumber, A::putNumber, nullptr, 0, platform::varDouble, 3},
        {"AxisColor", 10, A::getColor, A::putColor},
        {"AutoGridAxis", 11, A::getFlag, A::putFlag, nullptr, 0, platform::varBoolean, 2},
        {"AutoScaleAxis", 12, A::getFlag, A::putFlag, nullptr, 0, platform::varBoolean, 3},
        {"NumSubdivisions", 13, A::getShort, A::putShort, nullptr, 0, platform::varSmallint, 1},
        {"GridLineWeight", 14, A::getShort, A::putShort, nullptr, 0, platform::varSmallint, 2},
        {"SubGridLineWeight", 15, A::getShort, A::putShort, nullptr, 0, platform::varSmallint, 3},
        {"AxisLineWeight", 16, A::getShort, A::putShort, nullptr, 0, platform::varSmallint, 4},
        {"TickMarkWeight", 17, A::getZero, A::ignoreShort},
    };
    return table;
}

std::array<double, 2> CglAxis::Limits() const
{
    BoxView v = box_ ? box_->view() : BoxView{};
    bool data = f_.autoScale || (v.flatPlot && v.allSurfaces) || !std::isfinite(f_.userMin) ||
                !std::isfinite(f_.userMax);
    double a = data ? f_.dataMin : f_.userMin, b = data ? f_.dataMax : f_.userMax;
    return {std::min(a, b), std::max(a, b)};
}

void CglAxis::SetDataRange(double min, double max)
{
    f_.dataMin = min;
    f_.dataMax = max;
}

void CglAxis::UpdateRange()
{
    double lo = Lower(), hi = Upper();
    if (!f_.autoGrid) {
        shownMin_ = lo;
        shownMax_ = hi;
        shownCount_ = f_.gridCount;
        return;
    }
    AxisRange r = AutoAxisRange(lo, hi);
    shownMin_ = r.min;
    shownMax_ = r.max;
    shownCount_ = r.count;
}

GridValues CglAxis::Grid() const
{
    return GridValues(shownMin_, shownMax_, f_.autoGrid ? shownCount_ : std::int32_t(f_.gridCount));
}

void CglAxis::MarkStale(bool repaint)
{
    stale_ = true;
    lists_.DiscardAll();
    if (repaint && box_)
        box_->Repaint();
}

void CglAxis::SetPositionCode(std::int32_t code)
{
    if (code == f_.positionCode)
        return;
    f_.positionCode = code;
    MarkStale();
}

void CglAxis::TakeAmbientColor(std::uint32_t color)
{
    if (f_.userColor || f_.axisColor == color)
        return;
    f_.axisColor = color;
    MarkStale();
}

bool CglAxis::Drawn(const BoxFrame& frame, int axesStyle) const
{
    if (axesStyle == 2 || (frame.flat && direction_ == kAxisZ))
        return false;
    if (axesStyle == 1 && !f_.numbered)
        return false;
    return f_.positionCode >= 0 && f_.positionCode < int(kBoxEdges.size());
}

void CglAxis::BuildLabels(const BoxFrame& frame)
{
    labels_.clear();
    title_ = {};
    measuredWith_ = nullptr;
    const BoxEdge& edge = kBoxEdges[std::size_t(f_.positionCode)];
    std::array<double, 3> at{}; // the edge's position on the other axes
    std::array<double, 3> out{};
    for (int d = 0; d < 3; ++d) {
        if (d == direction_)
            continue;
        at[d] = edge.side[d] < 0 ? frame.low(d) : frame.high(d);
    }
    if (direction_ == kAxisZ) {
        for (int d : {kAxisX, kAxisY})
            out[d] = edge.side[d] * kTick * (frame.high(d) - frame.low(d)) * std::sqrt(0.5);
    } else {
        int other = direction_ == kAxisX ? kAxisY : kAxisX;
        out[other] = edge.side[other] * kTick * (frame.high(other) - frame.low(other));
    }
    double reachOut = frame.flat ? 1.0 : (kTick + kNumberGap) / kTick;
    auto point = [&](double v, double scale) {
        std::array<double, 3> p = at;
        p[direction_] = v;
        for (int d = 0; d < 3; ++d)
            p[d] += out[d] * scale;
        return DisplayPoint(p[0], p[1], p[2]);
    };
    GridValues grid = Grid();
    if (f_.numbered) {
        // Thousands of numbers on one edge are never read, only slow:
        // beyond kMaxNumbers every k-th grid value is numbered.
        std::int32_t stride = std::max(1, (grid.count() + kMaxNumbers - 1) / kMaxNumbers);
        labels_.reserve(std::size_t(grid.count() / stride + 1));
        for (std::int32_t k = 0; k < grid.count(); k += stride) {
            double v = grid[k];
            labels_.push_back({FormatSceneNumber(v, AxisDecimals(v, grid.step())), point(v, 0.0), point(v, reachOut), {}});
        }
    }
    if (f_.showLabel && !f_.label.empty()) {
        double mid = (Lower() + Upper()) * 0.5;
        title_ = {f_.label, point(mid, 0.0), point(mid, reachOut), {}};
    }
}

void CglAxis::UpdateList(const BoxFrame& frame, int axesStyle)
{
    drawn_ = Drawn(frame, axesStyle);
    if (!drawn_) {
        labels_.clear();
        title_ = {};
        stale_ = false;
        return;
    }
    if (stale_)
        BuildLabels(frame);
    stale_ = false;
    if (lists_.Built(0) || !lists_.Begin(0))
        return;
    const BoxEdge& edge = kBoxEdges[std::size_t(f_.positionCode)];
    std::array<double, 3> at{};
    for (int d = 0; d < 3; ++d)
        if (d != direction_)
            at[d] = edge.side[d] < 0 ? frame.low(d) : frame.high(d);
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glColor3ub(GLubyte(f_.axisColor & 0xFF), GLubyte(f_.axisColor >> 8 & 0xFF), GLubyte(f_.axisColor >> 16 & 0xFF));
    glLineWidth(std::max(0.1f, float(f_.axisWeight) * 0.1f * frame.lineScale));
    glBegin(GL_LINES);
    double from = frame.low(direction_), to = frame.high(direction_);
    if (from != to) {
        std::array<double, 3> a = at, b = at;
        a[direction_] = from;
        b[direction_] = to;
        vertex(DisplayPoint(a[0], a[1], a[2]));
        vertex(DisplayPoint(b[0], b[1], b[2]));
    }
    // Ticks: from the edge to the tick's end, which the numbers lie beyond.
    for (const Label& l : labels_) {
        vertex(l.base);
        std::array<double, 3> end = l.base;
        double reachOut = frame.flat ? 1.0 : (kTick + kNumberGap) / kTick;
        for (int i = 0; i < 3; ++i)
            end[i] = l.base[i] + (l.anchor[i] - l.base[i]) / reachOut;
        vertex(end);
    }
    glEnd();
    glPopAttrib();
    lists_.End(0);
}

void CglAxis::PlaceTexts(GlyphFontList* font, const double* modelview, const double* projection,
                         const int* viewport, float gap, std::vector<TextBox>& out)
{
    firstText_ = out.size();
    if (!drawn_ || (labels_.empty() && title_.text.empty()))
        return;
    if (font != measuredWith_) {
        labelWidth_ = labelHeight_ = 0;
        auto measure = [&](Label& l) {
            try {
                l.extent = MeasureSceneText(font, l.text);
            } catch (...) {
                l.extent = {}; // not drawn
            }
        };
        for (Label& l : labels_) {
            measure(l);
            labelWidth_ = std::max(labelWidth_, int(std::ceil(l.extent.width)));
            labelHeight_ = std::max(labelHeight_, int(std::ceil(l.extent.height())));
        }
        if (!title_.text.empty())
            measure(title_);
        measuredWith_ = font;
    }
    if (!font)
        return;
    float farthest = 0.0f;
    // Each text's ink is put beside the end of its tick, pushed outward
    // (away from the edge, as the screen shows it) until it clears it.
    auto place = [&](Label& l, float extra) {
        l.placed = false;
        double bx, by, bz, ax, ay, az;
        if (!l.extent.inked() ||
            !gluProject(l.base[0], l.base[1], l.base[2], modelview, projection, viewport, &bx, &by, &bz) ||
            !gluProject(l.anchor[0], l.anchor[1], l.anchor[2], modelview, projection, viewport, &ax, &ay, &az))
            return PixelBox{};
        if (!(az >= 0.0 && az <= 1.0))
            return PixelBox{};
        float dx = float(ax - bx), dy = float(ay - by);
        float len = std::hypot(dx, dy);
        if (len < 0.5f) {
            // Seen end on: away from the middle of the picture.
            dx = float(ax - (viewport[0] + viewport[2] * 0.5));
            dy = float(ay - (viewport[1] + viewport[3] * 0.5));
            len = std::hypot(dx, dy);
            if (len < 0.5f) {
                dx = 0.0f;
                dy = -1.0f;
                len = 1.0f;
            }
        }
        dx /= len;
        dy /= len;
        const TextExtent& e = l.extent;
        const float hw = 0.5f * (e.inkRight - e.inkLeft), hh = 0.5f * (e.inkTop - e.inkBottom);
        const float t = reach(hw, hh, dx, dy);
        const float d = t + gap + extra;
        const float cx = float(ax) + dx * d, cy = float(ay) + dy * d;
        l.x = std::round(cx - 0.5f * (e.inkLeft + e.inkRight));
        l.y = std::round(cy - 0.5f * (e.inkBottom + e.inkTop));
        l.depth = float(std::max(0.0, az - 1e-4));
        l.placed = true;
        return PixelBox{l.x + e.inkLeft, l.y + e.inkBottom, l.x + e.inkRight, l.y + e.inkTop};
    };
    const std::int32_t count = std::int32_t(labels_.size());
    for (std::int32_t k = 0; k < count; ++k) {
        Label& l = labels_[std::size_t(k)];
        TextBox b;
        b.box = place(l, 0.0f);
        if (l.placed)
            farthest = std::max({farthest, b.box.width(), b.box.height()});
        b.group = direction_;
        b.index = k;
        b.count = count;
        out.push_back(b);
    }
    if (!title_.text.empty()) {
        // The axis's label stands beyond its numbers.
        TextBox b;
        b.box = place(title_, farthest + gap);
        b.group = direction_;
        b.title = true;
        out.push_back(b);
    }
}

void CglAxis::DrawTexts(GlyphFontList& font, const std::vector<TextBox>& boxes)
{
    if (!drawn_ || firstText_ >= boxes.size())
        return;
    glColor3ub(GLubyte(f_.axisColor & 0xFF), GLubyte(f_.axisColor >> 8 & 0xFF), GLubyte(f_.axisColor >> 16 & 0xFF));
    std::size_t k = firstText_;
    auto draw = [&](const Label& l) {
        if (k >= boxes.size())
            return;
        const TextBox& b = boxes[k++];
        if (b.shown && l.placed)
            drawText(font, l.text, l.x + b.dx, l.y + b.dy, l.depth);
    };
    for (const Label& l : labels_)
        draw(l);
    if (!title_.text.empty())
        draw(title_);
}

} // namespace halvex
