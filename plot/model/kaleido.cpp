#include "plot/model/kaleido.h"

#include "plot/base/plot_errors.h"
#include "plot/model/polyhedron_table.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <set>
#include <unordered_map>

namespace halvex::kaleido {

namespace {

constexpr double kPi = std::numbers::pi;
// Two points of the unit sphere closer than this are one vertex.
constexpr double kSame = 1e-7;
// A point this close to a mirror lies on it.
constexpr double kOnMirror = 1e-9;
// A face plane this close to the centre passes through it.
constexpr double kThroughCentre = 1e-9;

// ---- vectors and 3 × 3 matrices -------------------------------------------

Vec3 operator+(const Vec3& a, const Vec3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
Vec3 operator-(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec3 operator*(double s, const Vec3& a) { return {s * a[0], s * a[1], s * a[2]}; }
double dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec3 cross(const Vec3& a, const Vec3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double length(const Vec3& a) { return std::sqrt(dot(a, a)); }
Vec3 unit(const Vec3& a)
{
    double l = length(a);
    return l > 0.0 ? (1.0 / l) * a : a;
}
double distance(const Vec3& a, const Vec3& b) { return length(a - b); }

// Row major.
using Mat3 = std::array<double, 9>;

Vec3 operator*(const Mat3& m, const Vec3& v)
{
    return {m[0] * v[0] + m[1] * v[1] + m[2] * v[2], m[3] * v[0] + m[4] * v[1] + m[5] * v[2],
            m[6] * v[0] + m[7] * v[1] + m[8] * v[2]};
}

Mat3 operator*(const Mat3& a, const Mat3& b)
{
    Mat3 c{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            c[i * 3 + j] = a[i * 3] * b[j] + a[i * 3 + 1] * b[3 + j] + a[i * 3 + 2] * b[6 + j];
    return c;
}

// The reflection in the plane through the centre with unit normal n.
Mat3 Reflection(const Vec3& n)
{
    Mat3 m{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m[i * 3 + j] = (i == j ? 1.0 : 0.0) - 2.0 * n[i] * n[j];
    return m;
}

// ---- failures -------------------------------------------------------------

bool Fail(Failure& failure, std::int32_t number, int line)
{
    failure = {number, ErrorMessage(number), line};
    return false;
}

#define KALEIDO_FAIL(number) return Fail(failure, number, __LINE__)

// ---- points of the sphere, found again by position ------------------------

class PointIndex {
public:
    // The index of a point within kSame of p, or -1.
    std::int32_t Find(const Vec3& p) const
    {
        auto c = Cell(p);
        for (std::int64_t dx = -1; dx <= 1; ++dx)
            for (std::int64_t dy = -1; dy <= 1; ++dy)
                for (std::int64_t dz = -1; dz <= 1; ++dz) {
                    auto it = cells_.find(Key(c[0] + dx, c[1] + dy, c[2] + dz));
                    if (it == cells_.end())
                        continue;
                    for (std::int32_t i : it->second)
                        if (distance(points_[std::size_t(i)], p) < kSame)
                            return i;
                }
        return -1;
    }
    std::int32_t Add(const Vec3& p)
    {
        auto c = Cell(p);
        auto index = std::int32_t(points_.size());
        points_.push_back(p);
        cells_[Key(c[0], c[1], c[2])].push_back(index);
        return index;
    }
    const std::vector<Vec3>& points() const noexcept { return points_; }

private:
    static constexpr double kCell = 1e-4;
    static std::array<std::int64_t, 3> Cell(const Vec3& p)
    {
        return {std::int64_t(std::floor(p[0] / kCell)), std::int64_t(std::floor(p[1] / kCell)),
                std::int64_t(std::floor(p[2] / kCell))};
    }
    // Cells of points within a few units of the centre fit 21 bits each.
    static std::int64_t Key(std::int64_t x, std::int64_t y, std::int64_t z)
    {
        constexpr std::int64_t kBias = 1 << 20;
        return ((x + kBias) << 42) | ((y + kBias) << 21) | (z + kBias);
    }

    std::vector<Vec3> points_;
    std::unordered_map<std::int64_t, std::vector<std::int32_t>> cells_;
};

// ---- symbols --------------------------------------------------------------

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Digits at s[pos…]; numbers past 10^8 are kept at 10^8 + 1 (too large
// for anything the generator makes).
std::int64_t ReadDigits(std::string_view s, std::size_t& pos)
{
    std::int64_t v = 0;
    while (pos < s.size() && IsDigit(s[pos])) {
        v = std::min<std::int64_t>(v * 10 + (s[pos] - '0'), 100'000'001);
        ++pos;
    }
    return v;
}

constexpr std::int64_t kHugeNumber = 100'000'000;

// ---- the Wythoff construction ---------------------------------------------

// The spherical triangle of a symbol: corners and the inward unit normals
// of the sides opposite them.
struct Triangle {
    std::array<Vec3, 3> corner;
    std::array<Vec3, 3> normal;
    std::array<double, 3> angle;
    // Reflections in the sides and the turns about the corners: turn[k]
    // is the product of the reflections in the two sides through corner k.
    std::array<Mat3, 3> mirror;
    std::array<Mat3, 3> turn;
};

Triangle MakeTriangle(const std::array<Fraction, 3>& f)
{
    Triangle t;
    for (int k = 0; k < 3; ++k)
        t.angle[std::size_t(k)] = kPi * f[std::size_t(k)].d / f[std::size_t(k)].n;
    const double A = t.angle[0], B = t.angle[1], C = t.angle[2];
    auto side = [](double opposite, double x, double y) {
        double c = (std::cos(opposite) + std::cos(x) * std::cos(y)) / (std::sin(x) * std::sin(y));
        return std::acos(std::clamp(c, -1.0, 1.0));
    };
    double c = side(C, A, B); // PQ
    double b = side(B, A, C); // PR
    t.corner[0] = {0.0, 0.0, 1.0};
    t.corner[1] = {std::sin(c), 0.0, std::cos(c)};
    t.corner[2] = {std::sin(b) * std::cos(A), std::sin(b) * std::sin(A), std::cos(b)};
    for (std::size_t k = 0; k < 3; ++k) {
        Vec3 n = unit(cross(t.corner[(k + 1) % 3], t.corner[(k + 2) % 3]));
        if (dot(n, t.corner[k]) < 0.0)
            n = -1.0 * n;
        t.normal[k] = n;
        t.mirror[k] = Reflection(n);
    }
    // Corner k lies on the sides opposite the other two corners.
    t.turn[0] = t.mirror[1] * t.mirror[2];
    t.turn[1] = t.mirror[2] * t.mirror[0];
    t.turn[2] = t.mirror[0] * t.mirror[1];
    return t;
}

double Chord2(const Mat3& turn, const Vec3& x)
{
    Vec3 d = x - turn * x;
    return dot(d, d);
}

bool Inside(const Triangle& t, const Vec3& x)
{
    for (const Vec3& n : t.normal)
        if (dot(n, x) <= kOnMirror)
            return false;
    return true;
}

// The snub's generating point: inside the triangle, moved by equal chords
// by the three turns. Newton's method on the sphere from points spread
// over the triangle.
bool SnubPoint(const Triangle& t, Vec3& x)
{
    auto residual = [&](const Vec3& p) {
        double a = Chord2(t.turn[0], p), b = Chord2(t.turn[1], p), c = Chord2(t.turn[2], p);
        return std::array<double, 2>{a - b, a - c};
    };
    auto solve = [&](Vec3 p) -> bool {
        for (int iteration = 0; iteration < 60; ++iteration) {
            auto f = residual(p);
            if (std::fabs(f[0]) < 1e-15 && std::fabs(f[1]) < 1e-15) {
                x = p;
                return true;
            }
            Vec3 helper = std::fabs(p[0]) < 0.9 ? Vec3{1.0, 0.0, 0.0} : Vec3{0.0, 1.0, 0.0};
            Vec3 e1 = unit(cross(p, helper));
            Vec3 e2 = cross(p, e1);
            constexpr double h = 1e-7;
            auto f1 = residual(unit(p + h * e1));
            auto f2 = residual(unit(p + h * e2));
            double j00 = (f1[0] - f[0]) / h, j10 = (f1[1] - f[1]) / h;
            double j01 = (f2[0] - f[0]) / h, j11 = (f2[1] - f[1]) / h;
            double det = j00 * j11 - j01 * j10;
            if (!std::isfinite(det) || std::fabs(det) < 1e-300)
                return false;
            double s = -(j11 * f[0] - j01 * f[1]) / det;
            double u = -(-j10 * f[0] + j00 * f[1]) / det;
            // Short steps: the point must not jump to another solution.
            double step = std::hypot(s, u);
            if (step > 0.2) {
                s *= 0.2 / step;
                u *= 0.2 / step;
            }
            p = unit(p + s * e1 + u * e2);
            if (step < 1e-15)
                break;
        }
        auto f = residual(p);
        if (std::fabs(f[0]) < 1e-12 && std::fabs(f[1]) < 1e-12) {
            x = p;
            return true;
        }
        return false;
    };
    constexpr int kSteps = 8;
    for (int i = 1; i < kSteps; ++i)
        for (int j = 1; i + j < kSteps; ++j) {
            int k = kSteps - i - j;
            Vec3 start = unit(double(i) * t.corner[0] + double(j) * t.corner[1] + double(k) * t.corner[2]);
            if (solve(start) && Inside(t, x) && Chord2(t.turn[0], x) > 1e-12)
                return true;
        }
    return false;
}

// A cycle of points as vertex indices: repeated corners (a point on a
// mirror meets itself) are dropped and the cycle ends where it first comes
// back.
std::vector<std::int32_t> CycleOf(const PointIndex& index, const std::vector<Vec3>& points)
{
    std::vector<std::int32_t> cycle;
    for (const Vec3& p : points) {
        std::int32_t i = index.Find(p);
        if (i < 0)
            return {};
        if (std::find(cycle.begin(), cycle.end(), i) != cycle.end()) {
            if (i == cycle.front())
                break;
            continue;
        }
        cycle.push_back(i);
    }
    if (cycle.size() < 3)
        return {};
    return cycle;
}

// The polygon that x draws round a corner: the turns of x when it lies on
// a side through the corner, else x and its mirror image turned alike.
std::vector<Vec3> CornerPolygon(const Triangle& t, std::size_t k, const Vec3& x, bool snub, std::int32_t numerator)
{
    std::vector<Vec3> points;
    if (distance(x, t.corner[k]) < kSame)
        return points;
    const Mat3& turn = t.turn[k];
    const std::size_t a = (k + 1) % 3, b = (k + 2) % 3;
    bool onSide = snub || std::fabs(dot(x, t.normal[a])) < kOnMirror || std::fabs(dot(x, t.normal[b])) < kOnMirror;
    Vec3 p = x;
    Vec3 image = t.mirror[a] * x;
    PointIndex seen;
    for (std::int32_t step = 0; step <= numerator; ++step) {
        points.push_back(p);
        if (!onSide) {
            // x on another mirror through the corner (the corner's angle
            // has an even density): the images pair up, the polygon runs
            // over edges of other faces, and is no face.
            if (seen.Find(p) >= 0 || seen.Find(image) >= 0 || distance(p, image) < kSame)
                return {};
            seen.Add(p);
            seen.Add(image);
            points.push_back(image);
        }
        p = turn * p;
        image = turn * image;
        if (distance(p, x) < kSame)
            break;
    }
    return points;
}

Vec3 Mean(const std::vector<Vec3>& v, const std::vector<std::int32_t>& cycle)
{
    Vec3 c{0.0, 0.0, 0.0};
    for (std::int32_t i : cycle)
        c = c + v[std::size_t(i)];
    return (1.0 / double(cycle.size())) * c;
}

// Normal, centre, the plane through the centre, and the type {n/d} from
// the winding of the cycle.
void Shape(const std::vector<Vec3>& v, Face& face, const Vec3* outward)
{
    const auto& cycle = face.cycle;
    face.centre = Mean(v, cycle);
    Vec3 n{0.0, 0.0, 0.0};
    for (std::size_t i = 0; i < cycle.size(); ++i)
        n = n + cross(v[std::size_t(cycle[i])], v[std::size_t(cycle[(i + 1) % cycle.size()])]);
    n = unit(n);
    if (outward)
        n = unit(*outward);
    double h = dot(face.centre, n);
    face.throughCentre = std::fabs(h) < kThroughCentre;
    if (h < 0.0 && !face.throughCentre)
        n = -1.0 * n;
    face.normal = n;
    double turns = 0.0;
    for (std::size_t i = 0; i < cycle.size(); ++i) {
        Vec3 a = v[std::size_t(cycle[i])] - face.centre;
        Vec3 b = v[std::size_t(cycle[(i + 1) % cycle.size()])] - face.centre;
        turns += std::atan2(dot(n, cross(a, b)), dot(a, b));
    }
    auto sides = std::int32_t(cycle.size());
    auto d = std::int32_t(std::lround(std::fabs(turns) / (2.0 * kPi))) % sides;
    if (d > sides / 2)
        d = sides - d;
    face.type = {sides, std::max(d, 1)};
}

void Finish(Solid& s, const std::vector<const Vec3*>& outward = {})
{
    std::set<std::pair<std::int32_t, std::int32_t>> edges;
    for (std::size_t f = 0; f < s.faces.size(); ++f) {
        Face& face = s.faces[f];
        Shape(s.vertices, face, outward.empty() ? nullptr : outward[f]);
        for (std::size_t i = 0; i < face.cycle.size(); ++i) {
            std::int32_t a = face.cycle[i], b = face.cycle[(i + 1) % face.cycle.size()];
            edges.emplace(std::min(a, b), std::max(a, b));
        }
        if (std::find(s.faceTypes.begin(), s.faceTypes.end(), face.type) == s.faceTypes.end())
            s.faceTypes.push_back(face.type);
    }
    s.edges = std::int32_t(edges.size());
}

// The faces round each vertex in turn make the dual's faces; the poles of
// the face planes its vertices.
bool MakeDual(const Solid& s, Solid& dual)
{
    dual = {};
    double farthest = 0.0;
    std::vector<Vec3> poles;
    poles.reserve(s.faces.size());
    for (const Face& f : s.faces) {
        if (f.throughCentre)
            return false;
        Vec3 pole = (1.0 / dot(f.centre, f.normal)) * f.normal;
        farthest = std::max(farthest, length(pole));
        poles.push_back(pole);
    }
    for (Vec3& p : poles)
        p = (1.0 / farthest) * p;
    dual.vertices = std::move(poles);

    // Per vertex: the faces at it with its two neighbours in each.
    struct Incidence {
        std::int32_t face, previous, next;
    };
    std::vector<std::vector<Incidence>> at(s.vertices.size());
    for (std::size_t f = 0; f < s.faces.size(); ++f) {
        const auto& c = s.faces[f].cycle;
        for (std::size_t i = 0; i < c.size(); ++i)
            at[std::size_t(c[i])].push_back(
                {std::int32_t(f), c[(i + c.size() - 1) % c.size()], c[(i + 1) % c.size()]});
    }
    std::vector<const Vec3*> outward;
    for (std::size_t v = 0; v < s.vertices.size(); ++v) {
        const auto& faces = at[v];
        if (faces.size() < 3)
            return false;
        Face df;
        std::vector<bool> used(faces.size(), false);
        std::size_t current = 0;
        std::int32_t towards = faces[0].next;
        for (std::size_t step = 0; step < faces.size(); ++step) {
            used[current] = true;
            df.cycle.push_back(faces[current].face);
            // The other face across the edge to `towards`.
            std::size_t nextFace = faces.size();
            for (std::size_t k = 0; k < faces.size(); ++k)
                if (k != current && (faces[k].previous == towards || faces[k].next == towards) &&
                    (!used[k] || (k == 0 && step + 1 == faces.size()))) {
                    nextFace = k;
                    break;
                }
            if (nextFace == faces.size())
                return false;
            if (nextFace == 0)
                break;
            towards = faces[nextFace].previous == towards ? faces[nextFace].next : faces[nextFace].previous;
            current = nextFace;
        }
        if (df.cycle.size() != faces.size())
            return false;
        dual.faces.push_back(std::move(df));
        outward.push_back(&s.vertices[v]);
    }
    Finish(dual, outward);
    dual.edges = s.edges;
    return true;
}

// The orbit of x under the generators.
bool Orbit(const std::vector<Mat3>& generators, const Vec3& x, PointIndex& index, Failure& failure)
{
    index.Add(x);
    for (std::size_t i = 0; i < index.points().size(); ++i)
        for (const Mat3& g : generators) {
            Vec3 p = g * index.points()[i];
            if (index.Find(p) >= 0)
                continue;
            if (std::int32_t(index.points().size()) >= kMaxVertices)
                KALEIDO_FAIL(error::TooManyVertices);
            index.Add(p);
        }
    return true;
}

// The solid whose vertices are an orbit and whose faces are the orbits of
// the base faces.
bool CloseFaces(const std::vector<Mat3>& generators, const PointIndex& index,
                const std::vector<std::vector<std::int32_t>>& baseCycles, Solid& out, Failure& failure)
{
    const std::vector<Vec3>& v = index.points();
    // Each generator as a permutation of the vertices.
    std::vector<std::vector<std::int32_t>> permutation(generators.size(), std::vector<std::int32_t>(v.size()));
    for (std::size_t g = 0; g < generators.size(); ++g)
        for (std::size_t i = 0; i < v.size(); ++i) {
            std::int32_t j = index.Find(generators[g] * v[i]);
            if (j < 0)
                KALEIDO_FAIL(error::GammaOutOfBounds);
            permutation[g][i] = j;
        }

    std::set<std::vector<std::int32_t>> seen;
    std::vector<std::vector<std::int32_t>> faces;
    auto addFace = [&](std::vector<std::int32_t> cycle) -> int {
        std::vector<std::int32_t> key = cycle;
        std::sort(key.begin(), key.end());
        if (!seen.insert(std::move(key)).second)
            return 0;
        if (std::int32_t(faces.size()) >= kMaxFaces)
            return -1;
        faces.push_back(std::move(cycle));
        return 1;
    };
    for (const auto& cycle : baseCycles)
        if (!cycle.empty() && addFace(cycle) < 0)
            KALEIDO_FAIL(error::TooManyFaces);
    for (std::size_t f = 0; f < faces.size(); ++f)
        for (const auto& perm : permutation) {
            std::vector<std::int32_t> image(faces[f].size());
            for (std::size_t i = 0; i < image.size(); ++i)
                image[i] = perm[std::size_t(faces[f][i])];
            if (addFace(std::move(image)) < 0)
                KALEIDO_FAIL(error::TooManyFaces);
        }
    if (faces.empty())
        KALEIDO_FAIL(error::NonpositiveDensity);
    out.vertices = v;
    out.faces.clear();
    out.faces.reserve(faces.size());
    for (auto& c : faces) {
        Face f;
        f.cycle = std::move(c);
        out.faces.push_back(std::move(f));
    }
    Finish(out);
    return true;
}

bool Close(const std::vector<Mat3>& generators, const Vec3& x, const std::vector<std::vector<Vec3>>& basePolygons,
           Solid& out, Failure& failure)
{
    PointIndex index;
    if (!Orbit(generators, x, index, failure))
        return false;
    std::vector<std::vector<std::int32_t>> cycles;
    for (const auto& polygon : basePolygons)
        cycles.push_back(CycleOf(index, polygon));
    return CloseFaces(generators, index, cycles, out, failure);
}

} // namespace

std::string_view ErrorMessage(std::int32_t number) noexcept
{
    if (number < error::DualAtInfinity || number > error::TooManyFaces)
        return {};
    return errorText(std::uint16_t(number));
}

std::string FractionText(const Fraction& f)
{
    std::string s = std::to_string(f.n);
    if (f.d != 1)
        s += "/" + std::to_string(f.d);
    return s;
}

std::string Symbol::Text() const
{
    std::string s;
    for (std::size_t i = 0; i <= numbers.size(); ++i) {
        if (int(i) == bar)
            s += '|';
        if (i == numbers.size())
            break;
        if (!s.empty() && s.back() != '|')
            s += ' ';
        s += FractionText(numbers[i]);
    }
    return s;
}

bool ParseSymbol(std::string_view text, Symbol& out, Failure& failure)
{
    std::string_view s = Trim(text);
    if (s.empty())
        KALEIDO_FAIL(error::NoData);
    if (s.front() == '#') {
        std::string_view rest = Trim(s.substr(1));
        if (rest.empty() || !IsDigit(rest.front()))
            KALEIDO_FAIL(error::NoDigitAfterHash);
        std::size_t pos = 0;
        std::int64_t number = ReadDigits(rest, pos);
        if (pos != rest.size())
            KALEIDO_FAIL(error::NotADigit);
        if (number == 0)
            KALEIDO_FAIL(error::ZeroIndex);
        if (number > kPolyhedronCount)
            KALEIDO_FAIL(error::IndexTooBig);
        return ParseSymbol(PolyhedronByNumber(std::int32_t(number))->symbol, out, failure);
    }

    Symbol sym;
    int bars = 0;
    std::vector<std::array<std::int64_t, 2>> raw;
    for (std::size_t pos = 0; pos < s.size();) {
        char c = s[pos];
        if (IsBlank(c)) {
            ++pos;
        } else if (c == '|') {
            ++bars;
            sym.bar = int(raw.size());
            ++pos;
        } else if (IsDigit(c)) {
            std::int64_t n = ReadDigits(s, pos), d = 1;
            if (pos < s.size() && s[pos] == '/') {
                ++pos;
                if (pos >= s.size() || !IsDigit(s[pos]))
                    KALEIDO_FAIL(error::NotADigit);
                d = ReadDigits(s, pos);
            }
            if (d == 0)
                KALEIDO_FAIL(error::ZeroDenominator);
            if (n <= d)
                KALEIDO_FAIL(error::FractionNotAboveOne);
            if (raw.size() == 4)
                KALEIDO_FAIL(error::DataExceeded);
            raw.push_back({n, d});
        } else {
            KALEIDO_FAIL(error::NotADigit);
        }
    }
    if (bars == 0)
        KALEIDO_FAIL(error::NoBars);
    if (bars > 1)
        KALEIDO_FAIL(error::TooManyBars);
    if (raw.size() < 3)
        KALEIDO_FAIL(error::NotEnoughFractions);
    int twos = 0;
    for (const auto& [n, d] : raw) {
        std::int64_t g = std::gcd(n, d);
        Fraction f{std::int32_t(std::min(n / g, kHugeNumber + 1)), std::int32_t(std::min(d / g, kHugeNumber + 1))};
        twos += f == Fraction{2, 1} ? 1 : 0;
        sym.numbers.push_back(f);
    }
    // Only the dihedral triangles (two right angles) take any polygon.
    for (const Fraction& f : sym.numbers)
        if (f.n > 5 && (twos < 2 || f.n > kHugeNumber))
            KALEIDO_FAIL(error::NumeratorTooLarge);
    if (raw.size() == 4) {
        const Symbol dirhombic{{{3, 2}, {5, 3}, {3, 1}, {5, 2}}, 0};
        if (!(sym == dirhombic))
            KALEIDO_FAIL(error::DataExceeded);
    }
    out = std::move(sym);
    return true;
}

namespace {

// "|3/2 5/3 3 5/2": every vertex has two triangles, two pentagrams and
// four squares. Its vertices are those of the snub "|5/3 5/2 3", whose
// chord is its edge; of the polygons round a vertex it keeps the
// pentagrams, the triangles whose centres lie on threefold axes (the snub
// triangles go), and the squares that the edges close.
bool GenerateDirhombic(Solid& out, Failure& failure)
{
    Triangle t = MakeTriangle({Fraction{5, 3}, Fraction{5, 2}, Fraction{3, 1}});
    Vec3 x;
    if (!SnubPoint(t, x))
        KALEIDO_FAIL(error::GammaOutOfBounds);
    std::vector<Mat3> generators(t.turn.begin(), t.turn.end());
    PointIndex index;
    if (!Orbit(generators, x, index, failure))
        return false;
    const std::vector<Vec3>& v = index.points();
    const double edge = std::sqrt(Chord2(t.turn[0], x));
    auto isEdge = [&](std::size_t a, std::size_t b) { return std::fabs(distance(v[a], v[b]) - edge) < kSame; };
    std::vector<std::size_t> near;
    for (std::size_t i = 1; i < v.size(); ++i)
        if (isEdge(0, i))
            near.push_back(i);

    PointIndex threefold;
    if (!Orbit(generators, t.corner[2], threefold, failure))
        return false;
    auto axial = [&](const Vec3& centre) {
        Vec3 u = unit(centre);
        return threefold.Find(u) >= 0 || threefold.Find(-1.0 * u) >= 0;
    };

    std::vector<std::vector<std::int32_t>> cycles;
    cycles.push_back(CycleOf(index, CornerPolygon(t, 0, x, true, 5)));
    cycles.push_back(CycleOf(index, CornerPolygon(t, 1, x, true, 5)));
    for (std::size_t a : near)
        for (std::size_t b : near) {
            if (a >= b || !isEdge(a, b))
                continue;
            if (axial(v[0] + v[a] + v[b]))
                cycles.push_back({0, std::int32_t(a), std::int32_t(b)});
        }
    const double diagonal = edge * std::sqrt(2.0);
    for (std::size_t a : near)
        for (std::size_t c : near) {
            if (a >= c || std::fabs(distance(v[a], v[c]) - diagonal) > kSame)
                continue;
            for (std::size_t b = 1; b < v.size(); ++b)
                if (b != a && b != c && isEdge(a, b) && isEdge(b, c) &&
                    std::fabs(distance(v[0], v[b]) - diagonal) < kSame)
                    cycles.push_back({0, std::int32_t(a), std::int32_t(b), std::int32_t(c)});
        }
    return CloseFaces(generators, index, cycles, out, failure);
}

} // namespace

bool Generate(const Symbol& symbol, Polyhedron& out, Failure& failure)
{
    out = {};
    out.symbol = symbol;
    if (symbol.numbers.size() == 4) {
        if (!GenerateDirhombic(out.solid, failure))
            return false;
    } else {
        if (symbol.numbers.size() != 3)
            KALEIDO_FAIL(error::NotEnoughFractions);
        std::array<Fraction, 3> f{symbol.numbers[0], symbol.numbers[1], symbol.numbers[2]};
        double excess = -1.0;
        std::int64_t dihedralOrder = 0;
        for (const Fraction& k : f) {
            excess += 1.0 / k.value();
            dihedralOrder = std::max<std::int64_t>(dihedralOrder, 4 * std::int64_t(k.n));
        }
        if (excess <= 1e-12)
            KALEIDO_FAIL(error::NonpositiveDensity);
        // A prism of n sides has 2n vertices; its group 4n elements.
        if (dihedralOrder / 2 > kMaxVertices)
            KALEIDO_FAIL(error::TooManyVertices);

        Triangle t = MakeTriangle(f);
        Vec3 x;
        const bool snub = symbol.bar == 0;
        switch (symbol.bar) {
        case 1:
            x = t.corner[0];
            break;
        case 2: {
            x = unit(cross(t.normal[2], t.normal[0] - t.normal[1]));
            if (dot(x, t.normal[0]) < 0.0)
                x = -1.0 * x;
            break;
        }
        case 3: {
            // Equally far from the three sides: N x = (1, 1, 1).
            const auto& n = t.normal;
            Vec3 c0 = cross(n[1], n[2]), c1 = cross(n[2], n[0]), c2 = cross(n[0], n[1]);
            x = unit(c0 + c1 + c2);
            if (dot(x, n[0]) < 0.0)
                x = -1.0 * x;
            break;
        }
        default:
            if (!SnubPoint(t, x))
                KALEIDO_FAIL(error::GammaOutOfBounds);
            break;
        }

        std::vector<std::vector<Vec3>> polygons;
        for (std::size_t k = 0; k < 3; ++k)
            polygons.push_back(CornerPolygon(t, k, x, snub, f[k].n));
        std::vector<Mat3> generators;
        if (snub) {
            // The triangle x, turned about Q, turned back about P.
            Mat3 backP = t.mirror[2] * t.mirror[1];
            polygons.push_back({x, t.turn[1] * x, backP * x});
            generators.assign(t.turn.begin(), t.turn.end());
        } else {
            generators.assign(t.mirror.begin(), t.mirror.end());
        }
        if (!Close(generators, x, polygons, out.solid, failure))
            return false;
    }
    out.hasDual = MakeDual(out.solid, out.dual);
    return true;
}

bool Kaleido(std::string_view text, Polyhedron& out, Failure& failure)
{
    Symbol symbol;
    return ParseSymbol(text, symbol, failure) && Generate(symbol, out, failure);
}

} // namespace halvex::kaleido
