#pragma once
// The uniform polyhedra by the Wythoff construction. A Wythoff symbol names
// a spherical Schwarz triangle (corners P, Q, R with angles π/p, π/q, π/r)
// and where the generating point X sits in it: at P ("p|q r"), on the side
// PQ and as far from the two sides through R ("p q|r"), as far from all
// three sides ("p q r|"), or, for a snub ("|p q r"), where the three turns
// about the corners move it by equal chords. The vertices are the images of
// X under the reflections in the sides (under the turns only, for a snub),
// the faces the images of the polygons that X draws around each corner,
// and the dual has the poles of the face planes as its vertices.
//
// The generator works on the unit sphere in doubles; its data are its own
// and are freed with the result.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace halvex::kaleido {

using Vec3 = std::array<double, 3>;

// n/d in lowest terms; d > 1 is a star (density d).
struct Fraction {
    std::int32_t n = 0;
    std::int32_t d = 1;
    double value() const noexcept { return double(n) / double(d); }
    friend bool operator==(const Fraction&, const Fraction&) = default;
};

// "5/2", "3".
std::string FractionText(const Fraction& f);

// A Wythoff symbol: three numbers and the bar before the number `bar`
// (0 before the first: a snub; 3 after the last), or the one four-number
// symbol "|3/2 5/3 3 5/2".
struct Symbol {
    std::vector<Fraction> numbers;
    int bar = 0;
    std::string Text() const;
    friend bool operator==(const Symbol&, const Symbol&) = default;
};

struct Face {
    // {n/d}: n sides winding d times round the centre (d ≤ n / 2).
    Fraction type;
    // Vertex indices in edge order.
    std::vector<std::int32_t> cycle;
    // Unit normal, away from the centre of the solid (either way for a
    // face through the centre).
    Vec3 normal{0.0, 0.0, 1.0};
    // The centre of the polygon (the mean of its corners).
    Vec3 centre{0.0, 0.0, 0.0};
    // The face plane passes through the centre of the solid: its pole is
    // at infinity.
    bool throughCentre = false;
};

struct Solid {
    std::vector<Vec3> vertices;
    std::vector<Face> faces;
    std::int32_t edges = 0;
    // The face types present, in the order first met.
    std::vector<Fraction> faceTypes;
};

struct Polyhedron {
    Symbol symbol;
    Solid solid;
    // Vertices are the poles of the solid's face planes, scaled so that the
    // farthest lies on the unit sphere; faces are the vertex figures of the
    // solid. Absent when a face plane passes through the centre.
    bool hasDual = false;
    Solid dual;
};

// The generator's failures: the number is the control's error number.
struct Failure {
    std::int32_t number = 0;
    std::string_view message;
    int line = 0;
};

namespace error {
constexpr std::int32_t NoData = 57682;
constexpr std::int32_t NoDigitAfterHash = 57683;
constexpr std::int32_t NotADigit = 57684;
constexpr std::int32_t ZeroIndex = 57685;
constexpr std::int32_t IndexTooBig = 57686;
constexpr std::int32_t DataExceeded = 57687;
constexpr std::int32_t NoBars = 57688;
constexpr std::int32_t NotEnoughFractions = 57689;
constexpr std::int32_t TooManyBars = 57690;
constexpr std::int32_t FractionNotAboveOne = 57691;
constexpr std::int32_t ZeroDenominator = 57692;
constexpr std::int32_t NumeratorTooLarge = 57693;
constexpr std::int32_t NonpositiveDensity = 57694;
constexpr std::int32_t GammaOutOfBounds = 57695;
constexpr std::int32_t TooManyVertices = 57696;
constexpr std::int32_t TooManyFaces = 57697;
// Not the generator's own: a dual whose vertices would lie at infinity,
// and a name the table does not hold.
constexpr std::int32_t DualAtInfinity = 57680;
constexpr std::int32_t UnknownName = 57681;
} // namespace error

// The text of an error number above, or empty.
std::string_view ErrorMessage(std::int32_t number) noexcept;

// Largest solids the generator makes (prisms and antiprisms grow with
// their numbers).
constexpr std::int32_t kMaxVertices = 4000;
constexpr std::int32_t kMaxFaces = 4000;

// A symbol, or "#" and a table number (1 … 80), as the generator reads it.
bool ParseSymbol(std::string_view text, Symbol& out, Failure& failure);

// Builds the polyhedron of a symbol with its dual.
bool Generate(const Symbol& symbol, Polyhedron& out, Failure& failure);

// Parses and builds.
bool Kaleido(std::string_view text, Polyhedron& out, Failure& failure);

} // namespace halvex::kaleido
