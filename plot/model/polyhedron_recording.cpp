#include "plot/model/polyhedron_recording.h"

#include "plot/model/polyhedron_request.h"

#include <cerrno>
#include <cmath>
#include <new>
#include <vector>

namespace halvex {

namespace {

using kaleido::Vec3;

Vec3 Sub(const Vec3& a, const Vec3& b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

double TurnAbout(const Vec3& n, const Vec3& a, const Vec3& b)
{
    return n[0] * (a[1] * b[2] - a[2] * b[1]) + n[1] * (a[2] * b[0] - a[0] * b[2]) + n[2] * (a[0] * b[1] - a[1] * b[0]);
}

// A face GL may fill as one polygon: once round, every corner turning the
// same way.
bool Convex(const kaleido::Solid& s, const kaleido::Face& f)
{
    if (f.type.d != 1 || f.throughCentre)
        return false;
    const std::size_t n = f.cycle.size();
    int sign = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const Vec3& a = s.vertices[std::size_t(f.cycle[i])];
        const Vec3& b = s.vertices[std::size_t(f.cycle[(i + 1) % n])];
        const Vec3& c = s.vertices[std::size_t(f.cycle[(i + 2) % n])];
        double t = TurnAbout(f.normal, Sub(b, a), Sub(c, b));
        int k = t > 1e-12 ? 1 : t < -1e-12 ? -1 : 0;
        if (k == 0 || (sign != 0 && k != sign))
            return false;
        sign = k;
    }
    return true;
}

} // namespace

std::array<std::uint8_t, 4> SideColor(std::int32_t sides) noexcept
{
    switch (sides) {
    case 3: return {255, 0, 0, 255};
    case 4: return {0, 255, 0, 255};
    case 5: return {0, 0, 255, 255};
    case 6: return {1, 255, 0, 255};
    case 8: return {255, 0, 255, 255};
    case 10: return {0, 255, 255, 255};
    default: return {255, 192, 203, 255};
    }
}

void RecordSolid(const kaleido::Solid& solid, bool colorBySides, RecordedCalls& calls)
{
    // The vertices, then the centres of the faces drawn as fans.
    std::vector<bool> fan(solid.faces.size());
    std::vector<double> xyz;
    xyz.reserve(3 * (solid.vertices.size() + solid.faces.size()));
    for (const Vec3& v : solid.vertices)
        xyz.insert(xyz.end(), v.begin(), v.end());
    std::vector<std::int32_t> centre(solid.faces.size(), -1);
    for (std::size_t f = 0; f < solid.faces.size(); ++f) {
        if (Convex(solid, solid.faces[f]))
            continue;
        centre[f] = std::int32_t(xyz.size() / 3);
        xyz.insert(xyz.end(), solid.faces[f].centre.begin(), solid.faces[f].centre.end());
    }
    RecordArrayCall(calls, DrawOp::VertexArray, xyz);
    RecordCall(calls, DrawOp::EnableArray, {0});
    if (colorBySides) {
        RecordCall(calls, DrawOp::PushState, {});
        RecordCall(calls, DrawOp::Enable, {1});
    }
    constexpr double kTriangles = 4, kPolygon = 9;
    // Edge flags change only between primitives: GL's feedback mode (the
    // PostScript export reads it) loses the outlines of primitives whose
    // vertices carry flags of their own.
    bool outlined = true;
    auto outline = [&](bool on) {
        if (on != outlined)
            RecordCall(calls, DrawOp::EdgeFlag, {on ? 1.0 : 0.0});
        outlined = on;
    };
    for (std::size_t f = 0; f < solid.faces.size(); ++f) {
        const kaleido::Face& face = solid.faces[f];
        RecordCall(calls, DrawOp::Normal, {face.normal[0], face.normal[1], face.normal[2]});
        if (colorBySides) {
            auto c = SideColor(face.type.n);
            RecordCall(calls, DrawOp::Color, {c[0] / 255.0, c[1] / 255.0, c[2] / 255.0, c[3] / 255.0});
        }
        const std::size_t n = face.cycle.size();
        if (centre[f] < 0) {
            outline(true);
            RecordCall(calls, DrawOp::Begin, {kPolygon});
            for (std::int32_t v : face.cycle)
                RecordCall(calls, DrawOp::ArrayElement, {double(v)});
            RecordCall(calls, DrawOp::End, {});
            continue;
        }
        // The fill: a fan from the centre, not outlined.
        outline(false);
        RecordCall(calls, DrawOp::Begin, {kTriangles});
        for (std::size_t i = 0; i < n; ++i) {
            RecordCall(calls, DrawOp::ArrayElement, {double(centre[f])});
            RecordCall(calls, DrawOp::ArrayElement, {double(face.cycle[i])});
            RecordCall(calls, DrawOp::ArrayElement, {double(face.cycle[(i + 1) % n])});
        }
        RecordCall(calls, DrawOp::End, {});
        // The true edges: triangles of no area along the rim, which fill
        // nothing and outline their edge.
        outline(true);
        RecordCall(calls, DrawOp::Begin, {kTriangles});
        for (std::size_t i = 0; i < n; ++i) {
            RecordCall(calls, DrawOp::ArrayElement, {double(face.cycle[i])});
            RecordCall(calls, DrawOp::ArrayElement, {double(face.cycle[(i + 1) % n])});
            RecordCall(calls, DrawOp::ArrayElement, {double(face.cycle[(i + 1) % n])});
        }
        RecordCall(calls, DrawOp::End, {});
    }
    outline(true);
    if (colorBySides)
        RecordCall(calls, DrawOp::PopState, {});
    RecordCall(calls, DrawOp::DisableArray, {0});
}

std::int32_t DrawPolyhedron(std::string_view text, RecordedCalls& calls)
{
    const std::size_t before = calls.calls().size();
    try {
        PolyhedronRequest request;
        kaleido::Polyhedron p;
        kaleido::Failure failure;
        if (!MyKaleido(text, request, p, failure))
            return failure.number;
        RecordSolid(request.dual ? p.dual : p.solid, request.colorBySides, calls);
        return 0;
    } catch (const std::bad_alloc&) {
        calls.Truncate(before);
        return -ENOMEM;
    }
}

} // namespace halvex
