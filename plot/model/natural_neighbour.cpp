#include "plot/model/natural_neighbour.h"

#include "plot/model/delaunay.h"
#include "plot/model/draw_context.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace halvex {

using geom::Delaunay;
using geom::Point2;

const char* GridStatusText(GridStatus s) noexcept
{
    switch (s) {
    case GridStatus::Ok:
        return "done";
    case GridStatus::BadSize:
        return "the grid must have 2 to 4096 rows and columns and at most 4194304 nodes";
    case GridStatus::TooFewPoints:
        return "fewer than three distinct points";
    case GridStatus::Collinear:
        return "all points lie on one line";
    case GridStatus::TooLarge:
        return "too many points";
    case GridStatus::Interrupted:
        return "interrupted";
    }
    return "unknown";
}

namespace {

struct Vec2 {
    double x, y;
};

inline Vec2 sub(const Point2& a, const Point2& b) noexcept
{
    return {a.x - b.x, a.y - b.y};
}

// The circumcentre of the triangle (0, b, c), relative to its first corner.
inline Vec2 circumcentre(const Vec2& b, const Vec2& c) noexcept
{
    double d = 2.0 * (b.x * c.y - b.y * c.x);
    double bb = b.x * b.x + b.y * b.y, cc = c.x * c.x + c.y * c.y;
    return {(c.y * bb - b.y * cc) / d, (b.x * cc - c.x * bb) / d};
}

class Interpolator {
public:
    Interpolator(const Delaunay& dt, const std::vector<double>& z, const NaturalNeighbourSettings& s)
        : dt_(dt), z_(z), t1_(s.tautness1), t2_(s.tautness2),
          gradient_(2 * z.size(), std::numeric_limits<double>::quiet_NaN())
    {}

    double Value(const Point2& q)
    {
        hint_ = dt_.Locate(q, hint_);
        if (std::int32_t v = dt_.VertexAt(hint_, q); v >= 0)
            return z_[std::size_t(v)];
        dt_.Cavity(q, hint_, cavity_, boundary_);
        for (std::int32_t t : cavity_)
            if (dt_.GhostIndex(t) >= 0)
                return HullValue(q);
        double z;
        if (Sibson(q, z))
            return z;
        return Barycentric(q);
    }

private:
    struct Neighbour {
        std::int32_t v;
        double weight;
    };

    Vec2 Gradient(std::int32_t v)
    {
        double* g = gradient_.data() + 2 * std::size_t(v);
        if (std::isnan(g[0]))
            EstimateGradient(v, g);
        return {g[0], g[1]};
    }

    // A weighted least-squares plane through the point and its Delaunay
    // neighbours, each weighted by 1 / distance², so that near neighbours
    // count most and a plane gives its exact slope.
    void EstimateGradient(std::int32_t v, double* g)
    {
        dt_.Neighbours(v, ring_);
        const Point2& p = dt_.point(v);
        double zv = z_[std::size_t(v)];
        double a11 = 0, a12 = 0, a22 = 0, b1 = 0, b2 = 0, steepest = 0;
        for (std::int32_t u : ring_) {
            Vec2 d = sub(dt_.point(u), p);
            double dd = d.x * d.x + d.y * d.y;
            double dz = z_[std::size_t(u)] - zv;
            double w = 1.0 / dd;
            a11 += w * d.x * d.x;
            a12 += w * d.x * d.y;
            a22 += w * d.y * d.y;
            b1 += w * d.x * dz;
            b2 += w * d.y * dz;
            steepest = std::max(steepest, std::fabs(dz) / std::sqrt(dd));
        }
        double det = a11 * a22 - a12 * a12;
        double trace = a11 + a22;
        double gx = 0, gy = 0;
        if (trace > 0 && det > 1e-12 * trace * trace) {
            gx = (a22 * b1 - a12 * b2) / det;
            gy = (a11 * b2 - a12 * b1) / det;
        } else if (trace > 0) {
            // The neighbours lie on a line through the point: only the slope
            // along it is known.
            double ex = a11 >= a22 ? a11 : a12, ey = a11 >= a22 ? a12 : a22;
            double len = std::sqrt(ex * ex + ey * ey);
            if (len > 0) {
                ex /= len;
                ey /= len;
                double along = (b1 * ex + b2 * ey) / (a11 * ex * ex + 2 * a12 * ex * ey + a22 * ey * ey);
                gx = along * ex;
                gy = along * ey;
            }
        }
        double m = std::sqrt(gx * gx + gy * gy), bound = t2_ * steepest;
        if (m > bound) {
            double k = m > 0 ? bound / m : 0.0;
            gx *= k;
            gy *= k;
        }
        g[0] = std::isfinite(gx) ? gx : 0.0;
        g[1] = std::isfinite(gy) ? gy : 0.0;
    }

    // The blend of the plain and the slope-extended values over weighted
    // neighbours (weights summing to 1) at distances r from the node.
    double Blend(const Point2& q, const Neighbour* nb, std::size_t n)
    {
        double z0 = 0, xiNum = 0, xiDen = 0, alphaNum = 0, beta = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const Point2& p = dt_.point(nb[i].v);
            Vec2 d = sub(q, p);
            double r = std::sqrt(d.x * d.x + d.y * d.y);
            double l = nb[i].weight;
            double zi = z_[std::size_t(nb[i].v)];
            const Vec2 g = Gradient(nb[i].v);
            z0 += l * zi;
            xiNum += l / r * (zi + g.x * d.x + g.y * d.y);
            xiDen += l / r;
            alphaNum += l * r;
            beta += l * r * r;
        }
        if (!(xiDen > 0))
            return z0;
        double xi = xiNum / xiDen;
        double alpha = t1_ * alphaNum / xiDen;
        double sum = alpha + beta;
        if (!(sum > 0) || !std::isfinite(sum))
            return z0;
        double z = (alpha * z0 + beta * xi) / sum;
        return std::isfinite(z) ? z : z0;
    }

    // Sibson coordinates: for each natural neighbour a, the area its old
    // Voronoi cell gives up to the node's cell. That region is bounded by
    // the circumcentres of the new triangles on the two cavity edges at a
    // and the circumcentres of the cavity triangles around a between them.
    bool Sibson(const Point2& q, double& value)
    {
        neighbours_.clear();
        double total = 0;
        for (const Delaunay::Edge& e : boundary_) {
            const Delaunay::Triangle& first = dt_.triangles()[std::size_t(e.t)];
            const int k = e.k;
            const std::int32_t a = first.v[(k + 1) % 3], b = first.v[(k + 2) % 3];
            const Vec2 pa = sub(dt_.point(a), q);
            poly_.clear();
            poly_.push_back(circumcentre(pa, sub(dt_.point(b), q)));
            // Around a through the cavity, from the edge (a, b) to the cavity
            // edge that ends at a.
            std::int32_t t = e.t;
            std::int32_t prev = -1;
            for (std::size_t guard = 0; guard < cavity_.size() + 1; ++guard) {
                const Delaunay::Triangle& tr = dt_.triangles()[std::size_t(t)];
                int ia = tr.v[0] == a ? 0 : tr.v[1] == a ? 1 : 2;
                Vec2 u = sub(dt_.point(tr.v[(ia + 1) % 3]), q), w = sub(dt_.point(tr.v[(ia + 2) % 3]), q);
                Vec2 c = circumcentre({u.x - pa.x, u.y - pa.y}, {w.x - pa.x, w.y - pa.y});
                poly_.push_back({pa.x + c.x, pa.y + c.y});
                std::int32_t next = tr.n[(ia + 1) % 3];
                if (!dt_.InCavity(next)) {
                    prev = tr.v[(ia + 2) % 3];
                    break;
                }
                t = next;
            }
            if (prev < 0)
                return false;
            poly_.push_back(circumcentre(sub(dt_.point(prev), q), pa));
            double area = 0;
            for (std::size_t i = 0; i < poly_.size(); ++i) {
                const Vec2& p0 = poly_[i];
                const Vec2& p1 = poly_[(i + 1) % poly_.size()];
                area += p0.x * p1.y - p1.x * p0.y;
            }
            neighbours_.push_back({a, area});
            total += area;
        }
        if (!(std::fabs(total) > 0) || !std::isfinite(total))
            return false;
        for (Neighbour& n : neighbours_)
            n.weight /= total;
        value = Blend(q, neighbours_.data(), neighbours_.size());
        return std::isfinite(value);
    }

    // Linear in the triangle that holds the node: the fallback when the
    // areas cannot be measured (the node almost on a hull edge, say).
    double Barycentric(const Point2& q)
    {
        std::int32_t t = hint_;
        if (dt_.GhostIndex(t) >= 0)
            return HullValue(q);
        const Delaunay::Triangle& tr = dt_.triangles()[std::size_t(t)];
        const Point2 &a = dt_.point(tr.v[0]), &b = dt_.point(tr.v[1]), &c = dt_.point(tr.v[2]);
        double det = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        double l1 = ((b.x - q.x) * (c.y - q.y) - (b.y - q.y) * (c.x - q.x)) / det;
        double l2 = ((c.x - q.x) * (a.y - q.y) - (c.y - q.y) * (a.x - q.x)) / det;
        double l3 = 1.0 - l1 - l2;
        return l1 * z_[std::size_t(tr.v[0])] + l2 * z_[std::size_t(tr.v[1])] + l3 * z_[std::size_t(tr.v[2])];
    }

    // The value on hull edge (a, b) at parameter s, as the interpolant
    // takes it there: only a and b are natural neighbours.
    double EdgeValue(std::int32_t a, std::int32_t b, double s)
    {
        if (s <= 0.0)
            return z_[std::size_t(a)];
        if (s >= 1.0)
            return z_[std::size_t(b)];
        const Point2 &pa = dt_.point(a), &pb = dt_.point(b);
        Point2 e{pa.x + s * (pb.x - pa.x), pa.y + s * (pb.y - pa.y)};
        Neighbour nb[2] = {{a, 1.0 - s}, {b, s}};
        return Blend(e, nb, 2);
    }

    // A node on or beyond the hull: from the nearest point of the nearest
    // hull edge, extended along the slopes there.
    double HullValue(const Point2& q)
    {
        std::int32_t g = -1;
        for (std::int32_t t : cavity_)
            if (dt_.GhostIndex(t) >= 0) {
                g = t;
                break;
            }
        if (g < 0)
            return Barycentric(q);
        auto ends = [&](std::int32_t t, std::int32_t& a, std::int32_t& b) {
            const Delaunay::Triangle& tr = dt_.triangles()[std::size_t(t)];
            int gi = dt_.GhostIndex(t);
            a = tr.v[(gi + 1) % 3];
            b = tr.v[(gi + 2) % 3];
        };
        auto distance = [&](std::int32_t t, double& s) {
            std::int32_t a, b;
            ends(t, a, b);
            const Point2 &pa = dt_.point(a), &pb = dt_.point(b);
            Vec2 ab = sub(pb, pa), aq = sub(q, pa);
            double len2 = ab.x * ab.x + ab.y * ab.y;
            s = std::clamp((aq.x * ab.x + aq.y * ab.y) / len2, 0.0, 1.0);
            double dx = aq.x - s * ab.x, dy = aq.y - s * ab.y;
            return dx * dx + dy * dy;
        };
        // Along the hull from the visible edge, each way while the distance
        // falls: on the visible side of a convex hull it has one minimum.
        double s = 0;
        double best = distance(g, s);
        for (int dir = 0; dir < 2; ++dir) {
            for (std::size_t guard = 0; guard < dt_.triangles().size(); ++guard) {
                const Delaunay::Triangle& tr = dt_.triangles()[std::size_t(g)];
                int gi = dt_.GhostIndex(g);
                // Forward: across (b, ghost), the edge opposite a; backward:
                // across (ghost, a), opposite b.
                std::int32_t nt = tr.n[dir == 0 ? (gi + 1) % 3 : (gi + 2) % 3];
                double ns = 0;
                double d = distance(nt, ns);
                if (!(d < best))
                    break;
                best = d;
                g = nt;
            }
        }
        std::int32_t a, b;
        ends(g, a, b);
        distance(g, s);
        double z = EdgeValue(a, b, s);
        const Point2 &pa = dt_.point(a), &pb = dt_.point(b);
        Point2 e{pa.x + s * (pb.x - pa.x), pa.y + s * (pb.y - pa.y)};
        const Vec2 ga = Gradient(a), gb = Gradient(b);
        double gx = (1.0 - s) * ga.x + s * gb.x, gy = (1.0 - s) * ga.y + s * gb.y;
        double v = z + gx * (q.x - e.x) + gy * (q.y - e.y);
        return std::isfinite(v) ? v : z;
    }

    const Delaunay& dt_;
    const std::vector<double>& z_;
    double t1_, t2_;
    std::vector<double> gradient_; // per point (x, y), NaN until estimated
    std::int32_t hint_ = 0;
    std::vector<std::int32_t> cavity_;
    std::vector<Delaunay::Edge> boundary_;
    std::vector<std::int32_t> ring_;
    std::vector<Vec2> poly_;
    std::vector<Neighbour> neighbours_;
};

// The power of two at or above x (x > 0).
double powerOfTwoAbove(double x)
{
    int e = 0;
    std::frexp(x, &e);
    return std::ldexp(1.0, e);
}

} // namespace

GridStatus GridNaturalNeighbour(std::vector<Point2>&& points, std::vector<double>&& values,
                                const NaturalNeighbourSettings& settings, std::vector<double>& out, GridSpan& span,
                                InterruptCheck* interrupt)
{
    const std::int32_t rows = settings.rows, cols = settings.cols;
    if (!GridLimits::Fits(rows, cols))
        return GridStatus::BadSize;
    const std::size_t n = std::min(points.size(), values.size());
    if (n < 3)
        return GridStatus::TooFewPoints;
    span = {points[0].x, points[0].x, points[0].y, points[0].y};
    for (std::size_t i = 1; i < n; ++i) {
        span.x0 = std::min(span.x0, points[i].x);
        span.x1 = std::max(span.x1, points[i].x);
        span.y0 = std::min(span.y0, points[i].y);
        span.y1 = std::max(span.y1, points[i].y);
    }
    // Centred and scaled by a power of two into −1 … 1: the predicates'
    // products neither overflow nor underflow, whatever the data's units.
    const double cx = span.x0 / 2 + span.x1 / 2, cy = span.y0 / 2 + span.y1 / 2;
    double half = std::max(span.x1 / 2 - span.x0 / 2, span.y1 / 2 - span.y0 / 2);
    const double scale = half > 0 ? powerOfTwoAbove(half) : 1.0;
    for (std::size_t i = 0; i < n; ++i)
        points[i] = {(points[i].x - cx) / scale, (points[i].y - cy) / scale};
    // In curve order, so that neighbours in the plane are neighbours in
    // memory too; the first of duplicate points stays first.
    {
        std::vector<std::int32_t> order = Delaunay::SpatialOrder(points.data(), n);
        std::vector<Point2> p(n);
        std::vector<double> z(n);
        for (std::size_t i = 0; i < n; ++i) {
            p[i] = points[std::size_t(order[i])];
            z[i] = values[std::size_t(order[i])];
        }
        points.swap(p);
        values.swap(z);
    }

    Delaunay dt;
    switch (dt.Build(points.data(), n, true)) {
    case Delaunay::Status::Ok:
        break;
    case Delaunay::Status::TooFewPoints:
        return GridStatus::TooFewPoints;
    case Delaunay::Status::Collinear:
        return GridStatus::Collinear;
    case Delaunay::Status::TooLarge:
        return GridStatus::TooLarge;
    }

    out.assign(std::size_t(rows) * std::size_t(cols), 0.0);
    Interpolator nn(dt, values, settings);
    const double dx = (span.x1 - span.x0) / double(rows - 1), dy = (span.y1 - span.y0) / double(cols - 1);
    // Node by node along a serpentine path, so each search starts next door.
    for (std::int32_t j = 0; j < cols; ++j) {
        const double y = j == cols - 1 ? span.y1 : span.y0 + j * dy;
        for (std::int32_t step = 0; step < rows; ++step) {
            const std::int32_t i = (j % 2 == 0) ? step : rows - 1 - step;
            const double x = i == rows - 1 ? span.x1 : span.x0 + i * dx;
            Point2 q{(x - cx) / scale, (y - cy) / scale};
            out[std::size_t(i) + std::size_t(j) * std::size_t(rows)] = nn.Value(q);
        }
        if (interrupt && interrupt->InterruptRequested())
            return GridStatus::Interrupted;
    }
    return GridStatus::Ok;
}

} // namespace halvex
