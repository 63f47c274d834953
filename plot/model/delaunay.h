#pragma once
// Delaunay triangulation of a planar point set, built by Bowyer-Watson
// insertion in Hilbert-curve order with exact predicates. The hull is
// closed by ghost triangles: each hull edge (a, b) has a ghost triangle
// (b, a, ghost) on its outer side, so every triangle has three neighbours
// and a point outside the hull is located in a ghost. Invariants (checked
// by Valid): every real triangle turns counter-clockwise, neighbours point
// at each other across the same edge, and no point lies strictly inside the
// circumcircle of a real triangle.
//
// Duplicate points keep the first given; later copies are left out of the
// triangulation (Inserted tells which).

#include "plot/model/robust_predicates.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace halvex::geom {

class Delaunay {
public:
    static constexpr std::int32_t kGhost = -1;

    struct Triangle {
        std::int32_t v[3]; // vertices, counter-clockwise; kGhost in a ghost triangle
        std::int32_t n[3]; // n[k]: the neighbour across the edge opposite v[k]
    };

    enum class Status {
        Ok,
        TooFewPoints, // fewer than three distinct points
        Collinear,    // every point on one line
        TooLarge,     // more points than the indices can count
    };

    // Triangulates the points (kept by reference until the next Build).
    // presorted: the points are in SpatialOrder already (inserting in that
    // order keeps every walk short and memory access local). Throws
    // std::bad_alloc when memory runs out.
    Status Build(const Point2* points, std::size_t count, bool presorted = false);

    // The point indices along a Hilbert curve over the points' bounding
    // box; points of one cell keep their given order.
    static std::vector<std::int32_t> SpatialOrder(const Point2* points, std::size_t count);

    std::size_t pointCount() const noexcept { return count_; }
    const Point2& point(std::int32_t v) const noexcept { return points_[v]; }
    const std::vector<Triangle>& triangles() const noexcept { return tris_; }
    // Real (not ghost) triangles; 2n − 2 − h for n inserted points of which
    // h lie on the hull.
    std::size_t realTriangleCount() const noexcept;
    bool Inserted(std::int32_t v) const noexcept { return incident_[std::size_t(v)] >= 0; }
    // The ghost index (0..2) of a triangle, or −1 for a real one.
    int GhostIndex(std::int32_t t) const noexcept;

    // A triangle whose closure holds p (a real one), or a ghost triangle
    // whose hull edge p lies strictly beyond. hint: where to start walking.
    std::int32_t Locate(const Point2& p, std::int32_t hint) const;
    // The vertex at p, or −1.
    std::int32_t VertexAt(std::int32_t t, const Point2& p) const noexcept;

    // The triangles in conflict with p (its circumcircle holds p strictly;
    // for a ghost, p lies beyond its hull edge or on the edge's open
    // segment), starting from a triangle found by Locate, and the edges
    // around them: (triangle, k) for the edge opposite v[k].
    struct Edge {
        std::int32_t t;
        int k;
    };
    void Cavity(const Point2& p, std::int32_t start, std::vector<std::int32_t>& cavity,
                std::vector<Edge>& boundary) const;
    // Whether a triangle belongs to the cavity Cavity found last.
    bool InCavity(std::int32_t t) const noexcept { return mark_[std::size_t(t)] == 2 * stamp_; }

    // The real vertices joined to v by an edge.
    void Neighbours(std::int32_t v, std::vector<std::int32_t>& out) const;

    // The structure's invariants, for tests: adjacency, orientation, and
    // (when delaunay) the empty-circle property of every edge.
    bool Valid(bool delaunay = true) const;

private:
    bool Conflict(std::int32_t t, const Point2& p) const noexcept;
    void InitialTriangle(std::int32_t a, std::int32_t b, std::int32_t c);
    void Insert(std::int32_t p);
    std::uint32_t NextStamp() const;

    const Point2* points_ = nullptr;
    std::size_t count_ = 0;
    std::vector<Triangle> tris_;
    std::vector<std::int32_t> incident_; // a triangle at each vertex, −1 when left out
    std::int32_t last_ = 0;
    // Scratch of the insertions and queries.
    mutable std::vector<std::uint32_t> mark_; // per triangle: 2 × stamp in the cavity, + 1 outside it
    mutable std::uint32_t stamp_ = 0;
    mutable std::uint32_t walkSeed_ = 0x9E3779B9u;
    std::vector<std::int32_t> cavity_;
    std::vector<Edge> boundary_;
    std::vector<std::int32_t> startAt_, endAt_; // per vertex (the ghost last)
    struct NewEdge {
        std::int32_t a, b, outside;
    };
    std::vector<NewEdge> newEdges_;
    std::vector<std::int32_t> slots_;
};

} // namespace halvex::geom
