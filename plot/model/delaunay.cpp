#include "plot/model/delaunay.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace halvex::geom {

namespace {

constexpr int next3(int k) noexcept
{
    return k == 2 ? 0 : k + 1;
}
constexpr int prev3(int k) noexcept
{
    return k == 0 ? 2 : k - 1;
}

// Position along the Hilbert curve of a cell of a 2^16 × 2^16 grid.
std::uint32_t hilbertKey(std::uint32_t x, std::uint32_t y) noexcept
{
    std::uint32_t d = 0;
    for (std::uint32_t s = 1u << 15; s > 0; s >>= 1) {
        std::uint32_t rx = (x & s) ? 1u : 0u;
        std::uint32_t ry = (y & s) ? 1u : 0u;
        d += s * s * ((3u * rx) ^ ry);
        if (ry == 0) {
            if (rx == 1) {
                x = s - 1 - x;
                y = s - 1 - y;
            }
            std::swap(x, y);
        }
    }
    return d;
}

} // namespace

std::vector<std::int32_t> Delaunay::SpatialOrder(const Point2* p, std::size_t n)
{
    if (n == 0)
        return {};
    double x0 = p[0].x, x1 = p[0].x, y0 = p[0].y, y1 = p[0].y;
    for (std::size_t i = 1; i < n; ++i) {
        x0 = std::min(x0, p[i].x);
        x1 = std::max(x1, p[i].x);
        y0 = std::min(y0, p[i].y);
        y1 = std::max(y1, p[i].y);
    }
    const double cells = 65535.0;
    double sx = x1 > x0 ? cells / (x1 - x0) : 0.0;
    double sy = y1 > y0 ? cells / (y1 - y0) : 0.0;
    std::vector<std::uint64_t> keys(n);
    for (std::size_t i = 0; i < n; ++i) {
        auto cx = static_cast<std::uint32_t>(std::clamp((p[i].x - x0) * sx, 0.0, cells));
        auto cy = static_cast<std::uint32_t>(std::clamp((p[i].y - y0) * sy, 0.0, cells));
        keys[i] = std::uint64_t(hilbertKey(cx, cy)) << 32 | std::uint64_t(i);
    }
    std::sort(keys.begin(), keys.end());
    std::vector<std::int32_t> order(n);
    for (std::size_t i = 0; i < n; ++i)
        order[i] = static_cast<std::int32_t>(keys[i] & 0xFFFFFFFFu);
    return order;
}

namespace {

bool strictlyBetween(const Point2& a, const Point2& b, const Point2& p) noexcept
{
    // a, b and p are collinear: compare along the axis on which a and b differ.
    if (a.x != b.x)
        return (p.x > a.x && p.x < b.x) || (p.x < a.x && p.x > b.x);
    return (p.y > a.y && p.y < b.y) || (p.y < a.y && p.y > b.y);
}

} // namespace

int Delaunay::GhostIndex(std::int32_t t) const noexcept
{
    const Triangle& tr = tris_[std::size_t(t)];
    return tr.v[0] == kGhost ? 0 : tr.v[1] == kGhost ? 1 : tr.v[2] == kGhost ? 2 : -1;
}

std::size_t Delaunay::realTriangleCount() const noexcept
{
    std::size_t n = 0;
    for (std::size_t t = 0; t < tris_.size(); ++t)
        n += GhostIndex(std::int32_t(t)) < 0 ? 1 : 0;
    return n;
}

std::uint32_t Delaunay::NextStamp() const
{
    if (stamp_ >= std::numeric_limits<std::uint32_t>::max() / 2 - 1) {
        std::fill(mark_.begin(), mark_.end(), 0u);
        stamp_ = 0;
    }
    return ++stamp_;
}

bool Delaunay::Conflict(std::int32_t t, const Point2& p) const noexcept
{
    const Triangle& tr = tris_[std::size_t(t)];
    int g = GhostIndex(t);
    if (g < 0)
        return InCircle(points_[tr.v[0]], points_[tr.v[1]], points_[tr.v[2]], p) > 0.0;
    const Point2& a = points_[tr.v[next3(g)]];
    const Point2& b = points_[tr.v[prev3(g)]];
    double o = Orient2d(a, b, p);
    if (o != 0.0)
        return o > 0.0;
    return strictlyBetween(a, b, p);
}

std::int32_t Delaunay::Locate(const Point2& p, std::int32_t hint) const
{
    std::int32_t t = hint >= 0 && std::size_t(hint) < tris_.size() ? hint : last_;
    if (int g = GhostIndex(t); g >= 0)
        t = tris_[std::size_t(t)].n[g];
    // A visibility walk; in a Delaunay triangulation it cannot cycle, and
    // starting each triangle's tests at a varying edge keeps it short.
    std::size_t steps = 0;
    const std::size_t limit = tris_.size() + 16;
    while (steps++ < limit) {
        if (GhostIndex(t) >= 0)
            return t;
        const Triangle& tr = tris_[std::size_t(t)];
        walkSeed_ = walkSeed_ * 1664525u + 1013904223u;
        int r = int(walkSeed_ >> 30) % 3;
        bool moved = false;
        for (int e = 0; e < 3; ++e) {
            int k = (r + e) % 3;
            if (Orient2d(points_[tr.v[next3(k)]], points_[tr.v[prev3(k)]], p) < 0.0) {
                t = tr.n[k];
                moved = true;
                break;
            }
        }
        if (!moved)
            return t;
    }
    // Never expected; a scan is always right.
    for (std::size_t s = 0; s < tris_.size(); ++s) {
        if (GhostIndex(std::int32_t(s)) >= 0)
            continue;
        const Triangle& tr = tris_[s];
        bool inside = true;
        for (int k = 0; k < 3 && inside; ++k)
            inside = Orient2d(points_[tr.v[next3(k)]], points_[tr.v[prev3(k)]], p) >= 0.0;
        if (inside)
            return std::int32_t(s);
    }
    for (std::size_t s = 0; s < tris_.size(); ++s)
        if (GhostIndex(std::int32_t(s)) >= 0 && Conflict(std::int32_t(s), p))
            return std::int32_t(s);
    return last_;
}

std::int32_t Delaunay::VertexAt(std::int32_t t, const Point2& p) const noexcept
{
    const Triangle& tr = tris_[std::size_t(t)];
    for (int k = 0; k < 3; ++k)
        if (tr.v[k] != kGhost && points_[tr.v[k]] == p)
            return tr.v[k];
    return -1;
}

void Delaunay::Cavity(const Point2& p, std::int32_t start, std::vector<std::int32_t>& cavity,
                      std::vector<Edge>& boundary) const
{
    cavity.clear();
    boundary.clear();
    const std::uint32_t in = 2 * NextStamp(), out = in + 1;
    mark_[std::size_t(start)] = in;
    cavity.push_back(start);
    for (std::size_t i = 0; i < cavity.size(); ++i) {
        std::int32_t t = cavity[i];
        for (int k = 0; k < 3; ++k) {
            std::int32_t nb = tris_[std::size_t(t)].n[k];
            std::uint32_t& m = mark_[std::size_t(nb)];
            if (m == in)
                continue;
            if (m != out && Conflict(nb, p)) {
                m = in;
                cavity.push_back(nb);
                continue;
            }
            m = out;
            boundary.push_back({t, k});
        }
    }
}

void Delaunay::InitialTriangle(std::int32_t a, std::int32_t b, std::int32_t c)
{
    // The real triangle and the ghosts of its three edges: for edge (x, y)
    // of the triangle, the ghost (y, x, ghost).
    tris_.resize(4);
    mark_.assign(4, 0u);
    const std::int32_t T = 0, G01 = 1, G12 = 2, G20 = 3;
    tris_[T] = {{a, b, c}, {G12, G20, G01}};
    tris_[G01] = {{b, a, kGhost}, {G20, G12, T}};
    tris_[G12] = {{c, b, kGhost}, {G01, G20, T}};
    tris_[G20] = {{a, c, kGhost}, {G12, G01, T}};
    incident_[std::size_t(a)] = incident_[std::size_t(b)] = incident_[std::size_t(c)] = T;
    last_ = T;
}

void Delaunay::Insert(std::int32_t pv)
{
    const Point2& p = points_[pv];
    std::int32_t t = Locate(p, last_);
    if (VertexAt(t, p) >= 0)
        return; // a duplicate: the first stays
    Cavity(p, t, cavity_, boundary_);

    // One new triangle (a, b, p) per boundary edge (a, b); the cavity's
    // slots are used first (there are two more new triangles than old).
    const std::size_t ghostSlot = count_;
    std::size_t reuse = 0;
    slots_.clear();
    newEdges_.clear();
    for (const Edge& e : boundary_) {
        // Read every boundary edge before any slot is overwritten.
        const Triangle& tr = tris_[std::size_t(e.t)];
        newEdges_.push_back({tr.v[next3(e.k)], tr.v[prev3(e.k)], tr.n[e.k]});
        if (reuse < cavity_.size()) {
            slots_.push_back(cavity_[reuse++]);
        } else {
            slots_.push_back(std::int32_t(tris_.size()));
            tris_.push_back({});
            mark_.push_back(0u);
        }
    }
    auto slotOf = [&](std::int32_t v) { return v == kGhost ? ghostSlot : std::size_t(v); };
    for (std::size_t i = 0; i < newEdges_.size(); ++i) {
        const NewEdge& e = newEdges_[i];
        std::int32_t s = slots_[i];
        tris_[std::size_t(s)] = {{e.a, e.b, pv}, {-1, -1, e.outside}};
        startAt_[slotOf(e.a)] = s;
        endAt_[slotOf(e.b)] = s;
    }
    for (std::size_t i = 0; i < newEdges_.size(); ++i) {
        const NewEdge& e = newEdges_[i];
        std::int32_t s = slots_[i];
        Triangle& tr = tris_[std::size_t(s)];
        tr.n[0] = startAt_[slotOf(e.b)]; // across (b, p)
        tr.n[1] = endAt_[slotOf(e.a)];   // across (p, a)
        // The outside neighbour now faces the new triangle across (b, a).
        Triangle& o = tris_[std::size_t(e.outside)];
        for (int k = 0; k < 3; ++k)
            if (o.v[next3(k)] == e.b && o.v[prev3(k)] == e.a) {
                o.n[k] = s;
                break;
            }
        if (e.a != kGhost)
            incident_[std::size_t(e.a)] = s;
        if (e.b != kGhost)
            incident_[std::size_t(e.b)] = s;
    }
    incident_[std::size_t(pv)] = slots_.front();
    last_ = slots_.front();
}

Delaunay::Status Delaunay::Build(const Point2* points, std::size_t count, bool presorted)
{
    points_ = points;
    count_ = 0;
    tris_.clear();
    incident_.clear();
    mark_.clear();
    stamp_ = 0;
    if (count > std::size_t(std::numeric_limits<std::int32_t>::max() / 2 - 8))
        return Status::TooLarge;
    if (count < 3)
        return Status::TooFewPoints;
    count_ = count;
    incident_.assign(count, -1);

    std::vector<std::int32_t> order;
    if (presorted) {
        order.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            order[i] = std::int32_t(i);
    } else {
        order = SpatialOrder(points, count);
    }
    // The first triangle: the first point, the next one apart from it, and
    // the next one off their line.
    std::int32_t a = order[0], b = -1, c = -1;
    std::size_t ib = 0, ic = 0;
    for (std::size_t i = 1; i < count && b < 0; ++i)
        if (!(points[order[i]] == points[a])) {
            b = order[i];
            ib = i;
        }
    if (b < 0)
        return Status::TooFewPoints;
    bool distinctThird = false;
    for (std::size_t i = ib + 1; i < count && c < 0; ++i) {
        const Point2& q = points[order[i]];
        if (q == points[a] || q == points[b])
            continue;
        distinctThird = true;
        if (Orient2d(points[a], points[b], q) != 0.0) {
            c = order[i];
            ic = i;
        }
    }
    if (c < 0)
        return distinctThird ? Status::Collinear : Status::TooFewPoints;
    if (Orient2d(points[a], points[b], points[c]) < 0.0)
        std::swap(b, c);

    tris_.reserve(2 * count);
    mark_.reserve(2 * count);
    startAt_.assign(count + 1, -1);
    endAt_.assign(count + 1, -1);
    InitialTriangle(a, b, c);
    for (std::size_t i = 1; i < count; ++i)
        if (i != ib && i != ic)
            Insert(order[i]);
    std::vector<std::int32_t>().swap(startAt_);
    std::vector<std::int32_t>().swap(endAt_);
    std::vector<std::int32_t>().swap(cavity_);
    std::vector<Edge>().swap(boundary_);
    std::vector<std::int32_t>().swap(slots_);
    std::vector<NewEdge>().swap(newEdges_);
    return Status::Ok;
}

void Delaunay::Neighbours(std::int32_t v, std::vector<std::int32_t>& out) const
{
    out.clear();
    std::int32_t start = incident_[std::size_t(v)];
    if (start < 0)
        return;
    std::int32_t t = start;
    // Around v: across the edge (v, next vertex) each time.
    for (std::size_t guard = 0; guard < tris_.size(); ++guard) {
        const Triangle& tr = tris_[std::size_t(t)];
        int iv = tr.v[0] == v ? 0 : tr.v[1] == v ? 1 : 2;
        std::int32_t w = tr.v[next3(iv)];
        if (w != kGhost)
            out.push_back(w);
        t = tr.n[prev3(iv)];
        if (t == start)
            break;
    }
}

bool Delaunay::Valid(bool delaunay) const
{
    for (std::size_t t = 0; t < tris_.size(); ++t) {
        const Triangle& tr = tris_[t];
        int g = GhostIndex(std::int32_t(t));
        if (g < 0 && Orient2d(points_[tr.v[0]], points_[tr.v[1]], points_[tr.v[2]]) <= 0.0)
            return false;
        for (int k = 0; k < 3; ++k) {
            std::int32_t nb = tr.n[k];
            if (nb < 0 || std::size_t(nb) >= tris_.size())
                return false;
            // The neighbour holds the same edge, reversed, and points back.
            const Triangle& o = tris_[std::size_t(nb)];
            std::int32_t a = tr.v[next3(k)], b = tr.v[prev3(k)];
            int j = -1;
            for (int m = 0; m < 3; ++m)
                if (o.v[next3(m)] == b && o.v[prev3(m)] == a)
                    j = m;
            if (j < 0 || o.n[j] != std::int32_t(t))
                return false;
            if (delaunay && g < 0 && GhostIndex(nb) < 0 &&
                InCircle(points_[tr.v[0]], points_[tr.v[1]], points_[tr.v[2]], points_[o.v[j]]) > 0.0)
                return false;
        }
    }
    return true;
}

} // namespace halvex::geom
