#include "plot/model/back_plane.h"

#include "plot/base/automation_values.h"
#include "plot/base/member_dispatch.h"
#include "plot/model/gl_axis.h"
#include "plot/model/model_box.h"

#include <GL/gl.h>

#include <algorithm>

namespace halvex {

using platform::Dispatch;
using platform::Variant;

namespace {

// Subdivision lines drawn per direction at most: a finer grid shows
// nothing more than a filled plane.
constexpr std::int64_t kMaxSubdivisionLines = 10000;

void color(std::uint32_t c)
{
    glColor4ub(GLubyte(c & 0xFF), GLubyte(c >> 8 & 0xFF), GLubyte(c >> 16 & 0xFF), 255);
}

// First, second and normal axis of each plane type.
constexpr int kPlaneAxes[3][3] = {{kAxisX, kAxisY, kAxisZ}, {kAxisY, kAxisZ, kAxisX}, {kAxisZ, kAxisX, kAxisY}};

} // namespace

CglBackPlane::CglBackPlane(CglModelBox* box, std::int32_t type) : box_(box)
{
    f_.type = type;
}

platform::DispId CglBackPlane::idOfName(std::string_view name) const
{
    return members().idOfName(name);
}

Variant CglBackPlane::invoke(platform::DispId id, platform::InvokeKind kind, std::span<Variant> args)
{
    return members().invoke(*this, id, kind, args);
}

const platform::MemberTable& CglBackPlane::memberNames()
{
    return members().names();
}

int CglBackPlane::firstAxis() const noexcept
{
    return kPlaneAxes[std::clamp(f_.type, 0, 2)][0];
}

int CglBackPlane::secondAxis() const noexcept
{
    return kPlaneAxes[std::clamp(f_.type, 0, 2)][1];
}

int CglBackPlane::normalAxis() const noexcept
{
    return kPlaneAxes[std::clamp(f_.type, 0, 2)][2];
}

void CglBackPlane::MarkStale(bool repaint)
{
    lists_.DiscardAll();
    if (repaint && box_)
        box_->Repaint();
}

void CglBackPlane::Changed()
{
    MarkStale();
    if (box_)
        box_->PlaneChanged();
}

void CglBackPlane::SetType(std::int32_t type)
{
    f_.type = type;
    Changed();
}

void CglBackPlane::SetFarSide(bool far)
{
    if (far == far_)
        return;
    far_ = far;
    // Only the placements move.
    lists_.Discard(kFillPlace);
    lists_.Discard(kGridPlace);
}

template <class T>
void CglBackPlane::Store(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    Changed();
}

const MemberDispatch& CglBackPlane::members()
{
    struct A {
        static CglBackPlane& plane(Dispatch& d) { return static_cast<CglBackPlane&>(d); }

        // data: the switch bit.
        static Variant getSwitch(Dispatch& d, const Member& m)
        {
            return Variant((plane(d).f_.switches & m.data) != 0);
        }
        static void putSwitch(Dispatch& d, const Member& m, const Variant& v)
        {
            std::uint8_t s = plane(d).f_.switches;
            std::uint8_t next = argBool(v) ? std::uint8_t(s | m.data) : std::uint8_t(s & ~m.data);
            plane(d).Store(plane(d).f_.switches, next);
        }

        // data: kind × 2 + direction; kinds 0 grid, 1 subdivision, 2 tick,
        // 3 sub-tick, 4 the fill colour; direction 0 vertical, 1 horizontal.
        static std::uint32_t& colour(Dispatch& d, const Member& m)
        {
            PlaneFields& f = plane(d).f_;
            std::uint32_t k = m.data >> 1, dir = m.data & 1;
            switch (k) {
            case 0: return f.gridColor[dir];
            case 1: return f.subdivisionColor[dir];
            case 2: return f.tickColor[dir];
            case 3: return f.subTickColor[dir];
            default: return f.fillColor;
            }
        }
        static Variant getColor(Dispatch& d, const Member& m)
        {
            return Variant::fromInt32(static_cast<std::int32_t>(colour(d, m)));
        }
        static void putColor(Dispatch& d, const Member& m, const Variant& v) { plane(d).Store(colour(d, m), argColor(v)); }

        static std::uint8_t& weight(Dispatch& d, const Member& m)
        {
            PlaneFields& f = plane(d).f_;
            std::uint32_t k = m.data >> 1, dir = m.data & 1;
            switch (k) {
            case 0: return f.gridWeight[dir];
            case 1: return f.subdivisionWeight[dir];
            case 2: return f.tickWeight[dir];
            default: return f.subTickWeight[dir];
            }
        }
        static Variant getWeight(Dispatch& d, const Member& m) { return Variant::fromInt16(weight(d, m)); }
        // A weight keeps the low 8 bits of what is written.
        static void putWeight(Dispatch& d, const Member& m, const Variant& v)
        {
            plane(d).Store(weight(d, m), std::uint8_t(std::uint16_t(argI2(v)) & 0xFF));
        }

        // data: 0 fill, 1 border.
        static bool& flag(Dispatch& d, const Member& m) { return m.data == 0 ? plane(d).f_.fill : plane(d).f_.border; }
        static Variant getFlag(Dispatch& d, const Member& m) { return Variant(flag(d, m)); }
        static void putFlag(Dispatch& d, const Member& m, const Variant& v) { plane(d).Store(flag(d, m), argBool(v)); }

        // data: the plane type asked about, or set.
        static Variant isType(Dispatch& d, const Member& m)
        {
            return Variant(plane(d).f_.type == std::int32_t(m.data));
        }
        static Variant setXY(Dispatch& d, std::span<Variant>)
        {
            plane(d).SetType(kPlaneXY);
            return {};
        }
        static Variant setYZ(Dispatch& d, std::span<Variant>)
        {
            plane(d).SetType(kPlaneYZ);
            return {};
        }
        static Variant setXZ(Dispatch& d, std::span<Variant>)
        {
            plane(d).SetType(kPlaneXZ);
            return {};
        }
    };
    auto sw = [](const char* name, platform::DispId id, std::uint32_t bit) {
        return Member{name, id, A::getSwitch, A::putSwitch, nullptr, 0, platform::varBoolean, bit};
    };
    auto col = [](const char* name, platform::DispId id, std::uint32_t kind, std::uint32_t dir) {
        return Member{name, id, A::getColor, A::putColor, nullptr, 0, platform::varInteger, kind * 2 + dir};
    };
    auto wt = [](const char* name, platform::DispId id, std::uint32_t kind, std::uint32_t dir) {
        return Member{name, id, A::getWeight, A::putWeight, nullptr, 0, platform::varSmallint, kind * 2 + dir};
    };
    using namespace planebits;
    static const MemberDispatch table{
        sw("ShowHorizontalGridLines", 1, HorizontalGrid),
        sw("ShowVerticalGridLines", 2, VerticalGrid),
        {"Fill", 3, A::getFlag, A::putFlag, nullptr, 0, platform::varBoolean, 0},
        col("FillColor", 4, 4, 0),
        col("VerticalGridColor", 5, 0, 0),
        {"IsXY", 6, A::isType, nullptr, nullptr, 0, platform::varBoolean, kPlaneXY},
        {"IsYZ", 7, A::isType, nullptr, nullptr, 0, platform::varBoolean, kPlaneYZ},
        {"IsXZ", 8, A::isType, nullptr, nullptr, 0, platform::varBoolean, kPlaneXZ},
        sw("ShowHorizontalSubdivisions", 9, HorizontalSubdivisions),
        sw("ShowVerticalSubdivisions", 10, VerticalSubdivisions),
        col("HorizontalSubdivisionColor", 11, 1, 1),
        col("VerticalSubdivisionColor", 12, 1, 0),
        col("HorizontalGridColor", 13, 0, 1),
        sw("ShowHorizontalTickMarks", 14, HorizontalTicks),
        sw("ShowVerticalTickMarks", 15, VerticalTicks),
        col("HorizontalTickMarkColor", 16, 2, 1),
        col("VerticalTickMarkColor", 17, 2, 0),
        wt("HorizontalGridLineWeight", 18, 0, 1),
        wt("VerticalGridLineWeight", 19, 0, 0),
        wt("HorizontalSubdivisionWeight", 20, 1, 1),
        wt("VerticalSubdivisionWeight", 21, 1, 0),
        wt("VerticalTickMarkWeight", 22, 2, 0),
        wt("HorizontalTickMarkWeight", 23, 2, 1),
        {"Border", 24, A::getFlag, A::putFlag, nullptr, 0, platform::varBoolean, 1},
        sw("ShowHorizontalSubTickMarks", 25, HorizontalSubTicks),
        sw("ShowVerticalSubTickMarks", 26, VerticalSubTicks),
        col("HorizontalSubTickMarkColor", 27, 3, 1),
        wt("VerticalSubTickMarkWeight", 28, 3, 0),
        col("VerticalSubTickMarkColor", 29, 3, 0),
        wt("HorizontalSubTickMarkWeight", 30, 3, 1),
        {"SetXY", 31, nullptr, nullptr, A::setXY, 0},
        {"SetYZ", 32, nullptr, nullptr, A::setYZ, 0},
        {"SetXZ", 33, nullptr, nullptr, A::setXZ, 0},
    };
    return table;
}

void CglBackPlane::RecordGrid(const BoxFrame& frame, const CglAxis* axes[3], const BoxView& view,
                              std::uint32_t boxColor)
{
    const int first = firstAxis(), second = secondAxis(), normal = normalAxis();
    bool flatBorder = frame.flat && f_.type == kPlaneXY && view.showBorder;
    hasGrid_ = f_.switches != 0 || f_.border || flatBorder;
    if (!hasGrid_)
        return;
    auto vertex = [&](double u, double w) {
        double p[3];
        p[first] = u;
        p[second] = w;
        p[normal] = 0.0;
        std::array<double, 3> q = DisplayPoint(p[0], p[1], p[2]);
        glVertex3d(q[0], q[1], q[2]);
    };
    // dir 0: vertical elements, at the second axis's values across the
    // first; dir 1: horizontal ones, at the first axis's values across the
    // second.
    auto line = [&](int dir, double at, double from, double to) {
        if (dir == 0) {
            vertex(from, at);
            vertex(to, at);
        } else {
            vertex(at, from);
            vertex(at, to);
        }
    };
    auto width = [&](std::uint8_t w) { glLineWidth(std::max(0.1f, float(w) * 0.1f * frame.lineScale)); };
    auto subdivisions = [&](int dir, auto&& draw) {
        const CglAxis& a = *axes[dir == 0 ? second : first];
        GridValues g = a.Grid();
        std::int64_t n = a.Subdivisions();
        if (g.count() > 1)
            n = std::min<std::int64_t>(n, kMaxSubdivisionLines / (g.count() - 1));
        for (std::int32_t k = 0; k + 1 < g.count(); ++k) {
            double v0 = g[k], v1 = g[k + 1], s = (v1 - v0) / double(n + 1);
            for (std::int64_t j = 1; j <= n; ++j)
                draw(v0 + double(j) * s);
        }
    };
    auto grid = [&](int dir, auto&& draw) {
        GridValues g = axes[dir == 0 ? second : first]->Grid();
        for (std::int32_t k = 0; k < g.count(); ++k)
            draw(g[k]);
    };
    int across[2] = {first, second}; // the axis a direction's lines run along
    auto lo = [&](int dir) { return frame.lower[across[dir]]; };
    auto hi = [&](int dir) { return frame.upper[across[dir]]; };
    static constexpr std::uint8_t subBits[2] = {planebits::VerticalSubdivisions, planebits::HorizontalSubdivisions};
    static constexpr std::uint8_t gridBits[2] = {planebits::VerticalGrid, planebits::HorizontalGrid};
    static constexpr std::uint8_t subTickBits[2] = {planebits::VerticalSubTicks, planebits::HorizontalSubTicks};
    static constexpr std::uint8_t tickBits[2] = {planebits::VerticalTicks, planebits::HorizontalTicks};

    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    for (int dir = 0; dir < 2; ++dir) {
        if (!(f_.switches & subBits[dir]))
            continue;
        color(f_.subdivisionColor[dir]);
        width(f_.subdivisionWeight[dir]);
        glBegin(GL_LINES);
        subdivisions(dir, [&](double v) { line(dir, v, lo(dir), hi(dir)); });
        glEnd();
    }
    for (int dir = 0; dir < 2; ++dir) {
        if (!(f_.switches & gridBits[dir]))
            continue;
        color(f_.gridColor[dir]);
        width(f_.gridWeight[dir]);
        glBegin(GL_LINES);
        grid(dir, [&](double v) { line(dir, v, lo(dir), hi(dir)); });
        glEnd();
    }
    // Tick marks reach in from both borders of the plane.
    auto ticks = [&](int dir, double fraction, auto&& each) {
        double len = fraction * (hi(dir) - lo(dir));
        glBegin(GL_LINES);
        each([&](double v) {
            line(dir, v, lo(dir), lo(dir) + len);
            line(dir, v, hi(dir), hi(dir) - len);
        });
        glEnd();
    };
    for (int dir = 0; dir < 2; ++dir) {
        if (!(f_.switches & subTickBits[dir]))
            continue;
        color(f_.subTickColor[dir]);
        width(f_.subdivisionWeight[dir]);
        ticks(dir, 0.0125, [&](auto&& draw) { subdivisions(dir, draw); });
    }
    for (int dir = 0; dir < 2; ++dir) {
        if (!(f_.switches & tickBits[dir]))
            continue;
        color(f_.tickColor[dir]);
        width(f_.gridWeight[dir]);
        ticks(dir, 0.025, [&](auto&& draw) { grid(dir, draw); });
    }
    if (f_.border || flatBorder) {
        color(flatBorder ? view.borderColor : boxColor);
        glLineWidth(std::max(0.1f, frame.lineScale));
        // A closed strip: loops in display lists fail in feedback mode on
        // the software renderer.
        glBegin(GL_LINE_STRIP);
        vertex(frame.lower[first], frame.lower[second]);
        vertex(frame.upper[first], frame.lower[second]);
        vertex(frame.upper[first], frame.upper[second]);
        vertex(frame.lower[first], frame.upper[second]);
        vertex(frame.lower[first], frame.lower[second]);
        glEnd();
    }
    glPopAttrib();
}

void CglBackPlane::UpdateLists(const BoxFrame& frame, const CglAxis* axes[3], const BoxView& view,
                               std::uint32_t boxColor)
{
    const int first = firstAxis(), second = secondAxis(), normal = normalAxis();
    if (!lists_.Built(kGridList) && lists_.Begin(kGridList)) {
        RecordGrid(frame, axes, view, boxColor);
        lists_.End(kGridList);
    }
    if (!lists_.Built(kFillList) && lists_.Begin(kFillList)) {
        if (f_.fill) {
            glPushAttrib(GL_CURRENT_BIT);
            color(f_.fillColor);
            glBegin(GL_QUADS);
            double u[4] = {frame.lower[first], frame.upper[first], frame.upper[first], frame.lower[first]};
            double w[4] = {frame.lower[second], frame.lower[second], frame.upper[second], frame.upper[second]};
            for (int k = 0; k < 4; ++k) {
                double p[3];
                p[first] = u[k];
                p[second] = w[k];
                p[normal] = 0.0;
                std::array<double, 3> q = DisplayPoint(p[0], p[1], p[2]);
                glVertex3d(q[0], q[1], q[2]);
            }
            glEnd();
            glPopAttrib();
        }
        lists_.End(kFillList);
    }
    // On the far side of the box, moved out by the margin (the grid a
    // little less, so that it lies over the fill).
    double gap = frame.margin[normal];
    for (int k : {int(kFillPlace), int(kGridPlace)}) {
        if (lists_.Built(k) || !lists_.Begin(k))
            continue;
        double g = k == kFillPlace ? gap : 0.9 * gap;
        double at = far_ ? frame.upper[normal] + g : frame.lower[normal] - g;
        double t[3] = {0.0, 0.0, 0.0};
        t[DisplayIndex(normal)] = at;
        glTranslated(t[0], t[1], t[2]);
        lists_.End(k);
    }
}

void CglBackPlane::CallFill() const
{
    if (!f_.fill)
        return;
    glPushMatrix();
    lists_.Call(kFillPlace);
    lists_.Call(kFillList);
    glPopMatrix();
}

void CglBackPlane::CallGrid() const
{
    if (!hasGrid_)
        return;
    glPushMatrix();
    lists_.Call(kGridPlace);
    lists_.Call(kGridList);
    glPopMatrix();
}

} // namespace halvex
