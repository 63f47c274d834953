// The uniform polyhedra: every table entry against the published counts of
// vertices, edges and faces, the shape of what the construction makes,
// duals, requests by name, number and symbol, and the generator's errors.
#include "plot/model/kaleido.h"
#include "plot/model/polyhedron_recording.h"
#include "plot/model/polyhedron_request.h"
#include "plot/model/polyhedron_table.h"
#include "plot/model/quick_plot_calls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>

using namespace halvex;
using kaleido::Polyhedron;
using kaleido::Solid;

namespace {

struct Counts {
    int v, e, f;
};

// Vertices, edges and faces of the uniform polyhedra, as published, in the
// order of the table.
constexpr std::array<Counts, 80> kPublished{{
    {10, 15, 7},   {10, 20, 12},  {10, 15, 7},   {10, 20, 12},  {10, 20, 12},  {4, 6, 4},     {12, 18, 8},
    {12, 24, 12},  {6, 12, 7},    {6, 12, 8},    {8, 12, 6},    {12, 24, 14},  {24, 36, 14},  {24, 36, 14},
    {24, 48, 26},  {48, 72, 26},  {24, 60, 38},  {24, 48, 20},  {24, 48, 20},  {12, 24, 10},  {48, 72, 20},
    {24, 48, 26},  {24, 48, 18},  {24, 36, 14},  {48, 72, 26},  {24, 48, 18},  {12, 30, 20},  {20, 30, 12},
    {30, 60, 32},  {60, 90, 32},  {60, 90, 32},  {60, 120, 62}, {120, 180, 62}, {60, 150, 92}, {20, 60, 32},
    {60, 120, 52}, {60, 180, 112}, {60, 120, 44}, {12, 30, 12}, {12, 30, 12}, {30, 60, 24},  {60, 90, 24},
    {60, 120, 54}, {60, 120, 42}, {60, 150, 84}, {20, 60, 24},  {60, 120, 44}, {60, 120, 44}, {60, 120, 44},
    {120, 180, 44}, {60, 180, 104}, {20, 60, 32}, {60, 120, 52}, {30, 60, 26},  {60, 120, 32}, {30, 60, 18},
    {20, 30, 12},  {12, 30, 20},  {30, 60, 32},  {60, 90, 32},  {60, 120, 50}, {60, 150, 92}, {60, 90, 24},
    {120, 180, 54}, {60, 150, 84}, {60, 120, 44}, {30, 60, 22},  {60, 120, 32}, {60, 180, 104}, {30, 60, 22},
    {60, 90, 32},  {60, 120, 62}, {120, 180, 62}, {60, 150, 92}, {30, 60, 18},  {30, 60, 26},  {60, 180, 112},
    {60, 120, 42}, {60, 150, 92}, {60, 240, 124},
}};

// The hemipolyhedra and the great dirhombicosidodecahedron: faces through
// the centre, so no dual.
const std::set<int> kNoDual{8, 9, 20, 54, 56, 67, 70, 75, 76, 80};
// The convex ones, whose counts satisfy Euler's relation V − E + F = 2.
const std::set<int> kConvex{1, 2, 6, 7, 10, 11, 12, 13, 14, 15, 16, 17, 27, 28, 29, 30, 31, 32, 33, 34};

double Distance(const kaleido::Vec3& a, const kaleido::Vec3& b)
{
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

Polyhedron Make(const std::string& request)
{
    Polyhedron p;
    kaleido::Failure f;
    EXPECT_TRUE(kaleido::Kaleido(request, p, f)) << request << ": " << f.message;
    return p;
}

// Faces of each type {n/d}.
std::map<std::pair<int, int>, int> Census(const Solid& s)
{
    std::map<std::pair<int, int>, int> c;
    for (const auto& f : s.faces)
        ++c[{f.type.n, f.type.d}];
    return c;
}

// Every edge lies in exactly two faces.
bool ClosedSurface(const Solid& s)
{
    std::map<std::pair<int, int>, int> uses;
    for (const auto& f : s.faces)
        for (std::size_t i = 0; i < f.cycle.size(); ++i) {
            int a = f.cycle[i], b = f.cycle[(i + 1) % f.cycle.size()];
            ++uses[{std::min(a, b), std::max(a, b)}];
        }
    return std::all_of(uses.begin(), uses.end(), [](const auto& u) { return u.second == 2; });
}

std::string FailureOf(const std::string& request)
{
    Polyhedron p;
    kaleido::Failure f;
    EXPECT_FALSE(kaleido::Kaleido(request, p, f)) << request;
    return std::string(f.message);
}

} // namespace

TEST(PolyhedronTable, EightyEntriesSpelledAsTheTableHasThem)
{
    auto table = PolyhedronTable();
    ASSERT_EQ(table.size(), 80u);
    EXPECT_EQ(table[32].name, "truncated icosidodechedon");
    EXPECT_EQ(table[62].dualName, "great pentakisdodekahedron");
    EXPECT_EQ(table[79].symbol, "|3/2 5/3 3 5/2");
    EXPECT_EQ(table[0].coxeter, 0);
    EXPECT_EQ(table[5].name, "tetrahedron");
    EXPECT_EQ(table[5].coxeter, 15);
    EXPECT_EQ(table[5].wenninger, 1);
    EXPECT_EQ(table[79].coxeter, 92);
    EXPECT_EQ(table[79].wenninger, 119);
    // Each uniform polyhedron has its own Coxeter and Wenninger number.
    std::set<int> coxeter, wenninger;
    for (const auto& e : table)
        if (e.number > 5) {
            EXPECT_TRUE(coxeter.insert(e.coxeter).second) << e.name;
            EXPECT_TRUE(wenninger.insert(e.wenninger).second) << e.name;
        }
}

TEST(Polyhedra, EveryEntryHasThePublishedCountsAndItsDualTheReverse)
{
    for (const PolyhedronEntry& e : PolyhedronTable()) {
        SCOPED_TRACE(std::string(e.name));
        Polyhedron p = Make(std::string(e.symbol));
        const Counts& c = kPublished[std::size_t(e.number - 1)];
        EXPECT_EQ(int(p.solid.vertices.size()), c.v);
        EXPECT_EQ(p.solid.edges, c.e);
        EXPECT_EQ(int(p.solid.faces.size()), c.f);
        if (kConvex.count(e.number)) {
            EXPECT_EQ(c.v - c.e + c.f, 2);
        }
        EXPECT_TRUE(ClosedSurface(p.solid));
        EXPECT_EQ(p.hasDual, !kNoDual.count(e.number));
        if (p.hasDual) {
            EXPECT_EQ(int(p.dual.vertices.size()), c.f);
            EXPECT_EQ(p.dual.edges, c.e);
            EXPECT_EQ(int(p.dual.faces.size()), c.v);
            EXPECT_TRUE(ClosedSurface(p.dual));
        }
    }
}

TEST(Polyhedra, VerticesOnTheSphereEdgesEqualFacesRegularAndFlat)
{
    for (const PolyhedronEntry& e : PolyhedronTable()) {
        SCOPED_TRACE(std::string(e.name));
        Polyhedron p = Make(std::string(e.symbol));
        const Solid& s = p.solid;
        for (const auto& v : s.vertices)
            EXPECT_NEAR(Distance(v, {0, 0, 0}), 1.0, 1e-9);
        const double edge = Distance(s.vertices[std::size_t(s.faces[0].cycle[0])],
                                     s.vertices[std::size_t(s.faces[0].cycle[1])]);
        for (const auto& f : s.faces) {
            double radius = Distance(s.vertices[std::size_t(f.cycle[0])], f.centre);
            for (std::size_t i = 0; i < f.cycle.size(); ++i) {
                const auto& a = s.vertices[std::size_t(f.cycle[i])];
                const auto& b = s.vertices[std::size_t(f.cycle[(i + 1) % f.cycle.size()])];
                EXPECT_NEAR(Distance(a, b), edge, 1e-9);
                EXPECT_NEAR(Distance(a, f.centre), radius, 1e-9);
                double h = (a[0] - f.centre[0]) * f.normal[0] + (a[1] - f.centre[1]) * f.normal[1] +
                           (a[2] - f.centre[2]) * f.normal[2];
                EXPECT_NEAR(h, 0.0, 1e-9);
            }
        }
    }
}

TEST(Polyhedra, TheCubeThreeWays)
{
    Polyhedron byName, bySymbol = Make("3|2 4"), byNumber = Make("#11");
    PolyhedronRequest request;
    kaleido::Failure f;
    ASSERT_TRUE(MyKaleido("cube", request, byName, f));
    EXPECT_FALSE(request.dual);
    PolyhedronRequest dualRequest;
    Polyhedron octahedron;
    ASSERT_TRUE(MyKaleido("*octahedron", dualRequest, octahedron, f));
    ASSERT_TRUE(dualRequest.dual);
    const Solid* dual = RequestedSolid(dualRequest, octahedron, f);
    ASSERT_NE(dual, nullptr);
    for (const Solid* s : std::array<const Solid*, 4>{&byName.solid, &bySymbol.solid, &byNumber.solid, dual}) {
        EXPECT_EQ(s->vertices.size(), 8u);
        EXPECT_EQ(s->edges, 12);
        EXPECT_EQ(Census(*s), (std::map<std::pair<int, int>, int>{{{4, 1}, 6}}));
        // Scaled onto the unit sphere, the dual is the cube itself: edge
        // 2 / √3.
        EXPECT_NEAR(Distance(s->vertices[std::size_t(s->faces[0].cycle[0])],
                             s->vertices[std::size_t(s->faces[0].cycle[1])]),
                    2.0 / std::sqrt(3.0), 1e-9);
    }
}

TEST(Polyhedra, FaceTypesOfSomeWellKnownOnes)
{
    using C = std::map<std::pair<int, int>, int>;
    EXPECT_EQ(Census(Make("3 4|2").solid), (C{{{3, 1}, 8}, {{4, 1}, 18}}));
    EXPECT_EQ(Census(Make("|2 3 5").solid), (C{{{3, 1}, 80}, {{5, 1}, 12}}));
    EXPECT_EQ(Census(Make("5|2 5/2").solid), (C{{{5, 2}, 12}}));
    EXPECT_EQ(Census(Make("3/2 2 4|").solid), (C{{{4, 1}, 12}, {{8, 1}, 6}}));
    EXPECT_EQ(Census(Make("|3/2 5/3 3 5/2").solid), (C{{{3, 1}, 40}, {{4, 1}, 60}, {{5, 2}, 24}}));
    // A hemipolyhedron's hexagons pass through the centre.
    Polyhedron hemi = Make("3/2 3|3");
    int through = 0;
    for (const auto& face : hemi.solid.faces)
        through += face.throughCentre ? 1 : 0;
    EXPECT_EQ(through, 4);
}

TEST(Polyhedra, SnubsTakeTheirOwnSolution)
{
    // Circumradius over edge: the snubs sharing their turns are told apart
    // by where their generating point lies.
    auto ratio = [](const std::string& symbol) {
        Polyhedron p = Make(symbol);
        const auto& s = p.solid;
        return 1.0 / Distance(s.vertices[std::size_t(s.faces[0].cycle[0])], s.vertices[std::size_t(s.faces[0].cycle[1])]);
    };
    EXPECT_NEAR(ratio("|2 3 4"), 1.3437, 1e-4);
    EXPECT_NEAR(ratio("|2 3 5"), 2.1558, 1e-4);
    EXPECT_NEAR(ratio("|2 5/2 5"), 1.2744, 1e-4);
    EXPECT_NEAR(ratio("|5/3 2 5"), 0.8516, 1e-4);
    EXPECT_NEAR(ratio("|5/3 5/2 3"), std::sqrt(0.5), 1e-9);
}

TEST(Polyhedra, PrismsAndAntiprismsOfAnyPolygon)
{
    Polyhedron prism = Make("2 7|2");
    EXPECT_EQ(prism.solid.vertices.size(), 14u);
    EXPECT_EQ(prism.solid.edges, 21);
    EXPECT_EQ(prism.solid.faces.size(), 9u);
    Polyhedron anti = Make("|2 2 9/4");
    EXPECT_EQ(anti.solid.vertices.size(), 18u);
    EXPECT_EQ(anti.solid.edges, 36);
    EXPECT_EQ(anti.solid.faces.size(), 20u);
    EXPECT_EQ(FailureOf("2 2|3000"), "Polyhedron: too many vertices");
}

TEST(Polyhedra, TheGeneratorsErrors)
{
    EXPECT_EQ(FailureOf(""), "Polyhedron: no data");
    EXPECT_EQ(FailureOf("#"), "Polyhedron: no digit after #");
    EXPECT_EQ(FailureOf("#4x"), "Polyhedron: not a digit");
    EXPECT_EQ(FailureOf("#0"), "Polyhedron: zero index");
    EXPECT_EQ(FailureOf("#81"), "Polyhedron: index too big");
    EXPECT_EQ(FailureOf("#99999999999999"), "Polyhedron: index too big");
    EXPECT_EQ(FailureOf("|2 3 4 5"), "Polyhedron: data exceeded");
    EXPECT_EQ(FailureOf("3 2 4"), "Polyhedron: no bars");
    EXPECT_EQ(FailureOf("3|2"), "Polyhedron: not enough fractions");
    EXPECT_EQ(FailureOf("3|2|4"), "Polyhedron: too many bars");
    EXPECT_EQ(FailureOf("1|2 3"), "Polyhedron: fraction<=1");
    EXPECT_EQ(FailureOf("5/0"), "Polyhedron: zero denominator");
    EXPECT_EQ(FailureOf("2 3 7|"), "Polyhedron: numerator too large");
    EXPECT_EQ(FailureOf("3 4 5|"), "Polyhedron: nonpositive density");
    EXPECT_EQ(FailureOf("7|2 2"), "Polyhedron: nonpositive density");
    EXPECT_EQ(FailureOf("3|2 x"), "Polyhedron: not a digit");
    EXPECT_EQ(FailureOf("5/6|2 3"), "Polyhedron: fraction<=1");
}

TEST(PolyhedronRequests, NamesNumbersSymbolsAndPrefixes)
{
    PolyhedronRequest r;
    kaleido::Failure f;
    ASSERT_TRUE(ReadPolyhedronRequest("+*Rhombicuboctahedron", r, f));
    EXPECT_TRUE(r.colorBySides);
    EXPECT_TRUE(r.dual);
    EXPECT_EQ(r.entry->number, 15);
    ASSERT_TRUE(ReadPolyhedronRequest("truncated icosidodechedon", r, f));
    EXPECT_EQ(r.symbol, "2 3 5|");
    EXPECT_FALSE(ReadPolyhedronRequest("truncated icosidodecahedron", r, f));
    EXPECT_EQ(f.message, "Polyhedron: unknown name");
    // A dual's name gives the dual; "*" in front of it the polyhedron.
    ASSERT_TRUE(ReadPolyhedronRequest("rhombic dodecahedron", r, f));
    EXPECT_EQ(r.entry->number, 12);
    EXPECT_TRUE(r.dual);
    ASSERT_TRUE(ReadPolyhedronRequest("*rhombic dodecahedron", r, f));
    EXPECT_FALSE(r.dual);
    // The tetrahedron's own name wins over its dual's.
    ASSERT_TRUE(ReadPolyhedronRequest("tetrahedron", r, f));
    EXPECT_FALSE(r.dual);
    // Symbols find their entry whatever the order the bar leaves free.
    ASSERT_TRUE(ReadPolyhedronRequest("4 2|3", r, f));
    EXPECT_EQ(r.entry->number, 13);
    ASSERT_TRUE(ReadPolyhedronRequest("|5 3 2", r, f));
    EXPECT_EQ(r.entry->number, 34);
    ASSERT_TRUE(ReadPolyhedronRequest("#42", r, f));
    EXPECT_EQ(r.entry->number, 42);
    ASSERT_TRUE(ReadPolyhedronRequest("2 7|2", r, f));
    EXPECT_EQ(r.entry, nullptr);
}

TEST(PolyhedronRequests, TheDriverPrintsTheGeneratorsError)
{
    PolyhedronRequest r;
    Polyhedron p;
    kaleido::Failure f;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(MyKaleido("#0", r, p, f));
    std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed, "Error: Polyhedron: zero index [kaleido:" + std::to_string(f.line) + "]\n");
    // A hemipolyhedron has no dual: its face planes pass through the centre.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(MyKaleido("*octahemioctahedron", r, p, f));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no dual"), std::string::npos);
    EXPECT_EQ(f.number, kaleido::error::DualAtInfinity);
    // An unknown name runs no generator and prints nothing.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(MyKaleido("dodecahedrons", r, p, f));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(PolyhedronRecording, FacesAsCallsWithTheirColoursAndEdgeFlags)
{
    RecordedCalls calls;
    ASSERT_EQ(DrawPolyhedron("+rhombicuboctahedron", calls), 0);
    int red = 0, green = 0, begins = 0, pushes = 0, pops = 0;
    for (const auto* c : calls.calls()) {
        if (c->op == DrawOp::Color) {
            double r = GetNumber(c->words()), g = GetNumber(c->words() + 2);
            red += r == 1.0 && g == 0.0 ? 1 : 0;
            green += r == 0.0 && g == 1.0 ? 1 : 0;
        }
        begins += c->op == DrawOp::Begin ? 1 : 0;
        pushes += c->op == DrawOp::PushState ? 1 : 0;
        pops += c->op == DrawOp::PopState ? 1 : 0;
    }
    EXPECT_EQ(red, 8);
    EXPECT_EQ(green, 18);
    EXPECT_EQ(begins, 26);
    EXPECT_EQ(pushes, 1);
    EXPECT_EQ(pops, 1);
    ASSERT_FALSE(calls.calls().empty());
    EXPECT_EQ(calls.calls().front()->op, DrawOp::VertexArray);
    EXPECT_EQ(GetNumber(calls.calls().front()->words()), 24.0 * 3);
    EXPECT_EQ(calls.calls().back()->op, DrawOp::DisableArray);

    // Convex faces are single polygons, outlined all round.
    EXPECT_EQ(std::count_if(calls.calls().begin(), calls.calls().end(),
                            [](const auto* c) { return c->op == DrawOp::EdgeFlag; }),
              0);

    // A star face is a fan from its centre, not outlined, and a rim of
    // triangles of no area, outlined.
    RecordedCalls star;
    ASSERT_EQ(DrawPolyhedron("small stellated dodecahedron", star), 0);
    int outlined = 0, spokes = 0, starBegins = 0;
    double flag = 1;
    for (const auto* c : star.calls()) {
        if (c->op == DrawOp::EdgeFlag)
            flag = GetNumber(c->words());
        if (c->op == DrawOp::ArrayElement)
            (flag != 0 ? outlined : spokes) += 1;
        starBegins += c->op == DrawOp::Begin ? 1 : 0;
    }
    EXPECT_EQ(starBegins, 2 * 12);
    EXPECT_EQ(outlined, 3 * 12 * 5);
    EXPECT_EQ(spokes, 3 * 12 * 5);
    EXPECT_EQ(flag, 1.0);
    // The twelve centres follow the twelve vertices.
    EXPECT_EQ(GetNumber(star.calls().front()->words()), (12.0 + 12.0) * 3);

    EXPECT_EQ(SideColor(6), (std::array<std::uint8_t, 4>{1, 255, 0, 255}));
    EXPECT_EQ(SideColor(7), (std::array<std::uint8_t, 4>{255, 192, 203, 255}));
    // A failed request leaves the list as it was.
    std::size_t before = calls.calls().size();
    testing::internal::CaptureStderr();
    EXPECT_EQ(DrawPolyhedron("5/0", calls), kaleido::error::ZeroDenominator);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(calls.calls().size(), before);
}
