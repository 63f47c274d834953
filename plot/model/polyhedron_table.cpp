#include "plot/model/polyhedron_table.h"

#include "platform/text/ascii_case.h"

#include <array>

namespace halvex {

namespace {

constexpr std::array<PolyhedronEntry, kPolyhedronCount> kTable{{
    {1, "2 5|2", "pentagonal prism", "pentagonal dipyramid", 0, 0},
    {2, "|2 2 5", "pentagonal antiprism", "pentagonal deltohedron", 0, 0},
    {3, "2 5/2|2", "pentagrammic prism", "pentagrammic dipyramid", 0, 0},
    {4, "|2 2 5/2", "pentagrammic antiprism", "pentagrammic deltohedron", 0, 0},
    {5, "|2 2 5/3", "pentagrammic crossed antiprism", "pentagrammic concave deltohedron", 0, 0},
    {6, "3|2 3", "tetrahedron", "tetrahedron", 15, 1},
    {7, "2 3|3", "truncated tetrahedron", "triakistetrahedron", 16, 6},
    {8, "3/2 3|3", "octahemioctahedron", "octahemioctacron", 37, 68},
    {9, "3/2 3|2", "tetrahemihexahedron", "tetrahemihexacron", 36, 67},
    {10, "4|2 3", "octahedron", "cube", 17, 2},
    {11, "3|2 4", "cube", "octahedron", 18, 3},
    {12, "2|3 4", "cuboctahedron", "rhombic dodecahedron", 19, 11},
    {13, "2 4|3", "truncated octahedron", "tetrakishexahedron", 20, 7},
    {14, "2 3|4", "truncated cube", "triakisoctahedron", 21, 8},
    {15, "3 4|2", "rhombicuboctahedron", "deltoidal icositetrahedron", 22, 13},
    {16, "2 3 4|", "truncated cuboctahedron", "disdyakisdodecahedron", 23, 15},
    {17, "|2 3 4", "snub cube", "pentagonal icositetrahedron", 24, 17},
    {18, "3/2 4|4", "small cubicuboctahedron", "small hexacronic icositetrahedron", 38, 69},
    {19, "3 4|4/3", "great cubicuboctahedron", "great hexacronic icositetrahedron", 50, 77},
    {20, "4/3 4|3", "cubohemioctahedron", "hexahemioctacron", 51, 78},
    {21, "4/3 3 4|", "cubitruncated cuboctahedron", "tetradyakishexahedron", 52, 79},
    {22, "3/2 4|2", "great rhombicuboctahedron", "great deltoidal icositetrahedron", 59, 85},
    {23, "3/2 2 4|", "small rhombihexahedron", "small rhombihexacron", 60, 86},
    {24, "2 3|4/3", "stellated truncated hexahedron", "great triakisoctahedron", 66, 92},
    {25, "4/3 2 3|", "great truncated cuboctahedron", "great disdyakisdodecahedron", 67, 93},
    {26, "4/3 3/2 2|", "great rhombihexahedron", "great rhombihexacron", 82, 103},
    {27, "5|2 3", "icosahedron", "dodecahedron", 25, 4},
    {28, "3|2 5", "dodecahedron", "icosahedron", 26, 5},
    {29, "2|3 5", "icosidodecahedron", "rhombic triacontahedron", 28, 12},
    {30, "2 5|3", "truncated icosahedron", "pentakisdodecahedron", 27, 9},
    {31, "2 3|5", "truncated dodecahedron", "triakisicosahedron", 29, 10},
    {32, "3 5|2", "rhombicosidodecahedron", "deltoidal hexecontahedron", 30, 14},
    {33, "2 3 5|", "truncated icosidodechedon", "disdyakistriacontahedron", 31, 16},
    {34, "|2 3 5", "snub dodecahedron", "pentagonal hexecontahedron", 32, 18},
    {35, "3|5/2 3", "small ditrigonal icosidodecahedron", "small triambic icosahedron", 39, 70},
    {36, "5/2 3|3", "small icosicosidodecahedron", "small icosacronic hexecontahedron", 40, 71},
    {37, "|5/2 3 3", "small snub icosicosidodecahedron", "small hexagonal hexecontahedron", 41, 110},
    {38, "3/2 5|5", "small dodecicosidodecahedron", "small dodecacronic hexecontahedron", 42, 72},
    {39, "5|2 5/2", "small stellated dodecahedron", "great dodecahedron", 43, 20},
    {40, "5/2|2 5", "great dodecahedron", "small stellated dodecahedron", 44, 21},
    {41, "2|5/2 5", "great dodecadodecahedron", "medial rhombic triacontahedron", 45, 73},
    {42, "2 5/2|5", "truncated great dodecahedron", "small stellapentakisdodecahedron", 47, 75},
    {43, "5/2 5|2", "rhombidodecadodecahedron", "medial deltoidal hexecontahedron", 48, 76},
    {44, "2 5/2 5|", "small rhombidodecahedron", "small rhombidodecacron", 46, 74},
    {45, "|2 5/2 5", "snub dodecadodecahedron", "medial pentagonal hexecontahedron", 49, 111},
    {46, "3|5/3 5", "ditrigonal dodecadodecahedron", "medial triambic icosahedron", 53, 80},
    {47, "3 5|5/3", "great ditrigonal dodecicosidodecahedron", "great ditrigonal dodecacronic hexecontahedron", 54, 81},
    {48, "5/3 3|5", "small ditrigonal dodecicosidodecahedron", "small ditrigonal dodecacronic hexecontahedron", 55, 82},
    {49, "5/3 5|3", "icosidodecadodecahedron", "medial icosacronic hexecontahedron", 56, 83},
    {50, "5/3 3 5|", "icositruncated dodecadodecahedron", "tridyakisicosahedron", 57, 84},
    {51, "|5/3 3 5", "snub icosidodecadodecahedron", "medial hexagonal hexecontahedron", 58, 112},
    {52, "3/2|3 5", "great ditrigonal icosidodecahedron", "great triambic icosahedron", 61, 87},
    {53, "3/2 5|3", "great icosicosidodecahedron", "great icosacronic hexecontahedron", 62, 88},
    {54, "3/2 3|5", "small icosihemidodecahedron", "small icosihemidodecacron", 63, 89},
    {55, "3/2 3 5|", "small dodecicosahedron", "small dodecicosacron", 64, 90},
    {56, "5/4 5|5", "small dodecahemidodecahedron", "small dodecahemidodecacron", 65, 91},
    {57, "3|2 5/2", "great stellated dodecahedron", "great icosahedron", 68, 22},
    {58, "5/2|2 3", "great icosahedron", "great stellated dodecahedron", 69, 41},
    {59, "2|5/2 3", "great icosidodecahedron", "great rhombic triacontahedron", 70, 94},
    {60, "2 5/2|3", "great truncated icosahedron", "great stellapentakisdodecahedron", 71, 95},
    {61, "2 5/2 3|", "rhombicosahedron", "rhombicosacron", 72, 96},
    {62, "|2 5/2 3", "great snub icosidodecahedron", "great pentagonal hexecontahedron", 73, 113},
    {63, "2 5|5/3", "small stellated truncated dodecahedron", "great pentakisdodekahedron", 74, 97},
    {64, "5/3 2 5|", "truncated dodecadodecahedron", "medial disdyakistriacontahedron", 75, 98},
    {65, "|5/3 2 5", "inverted snub dodecadodecahedron", "medial inverted pentagonal hexecontahedron", 76, 114},
    {66, "5/2 3|5/3", "great dodecicosidodecahedron", "great dodecacronic hexecontahedron", 77, 99},
    {67, "5/3 5/2|3", "small dodecahemicosahedron", "small dodecahemicosacron", 78, 100},
    {68, "5/3 5/2 3|", "great dodecicosahedron", "great dodecicosacron", 79, 101},
    {69, "|5/3 5/2 3", "great snub dodecicosidodecahedron", "great hexagonal hexecontahedron", 80, 115},
    {70, "5/4 5|3", "great dodecahemicosahedron", "great dodecahemicosacron", 81, 102},
    {71, "2 3|5/3", "great stellated truncated dodecahedron", "great triakisicosahedron", 83, 104},
    {72, "5/3 3|2", "great rhombicosidodecahedron", "great deltoidal hexecontahedron", 84, 105},
    {73, "5/3 2 3|", "great truncated icosidodecahedron", "great disdyakistriacontahedron", 87, 108},
    {74, "|5/3 2 3", "great inverted snub icosidodecahedron", "great inverted pentagonal hexecontahedron", 88, 116},
    {75, "5/3 5/2|5/3", "great dodecahemidodecahedron", "great dodecahemidodecacron", 86, 107},
    {76, "3/2 3|5/3", "great icosihemidodecahedron", "great icosihemidodecacron", 85, 106},
    {77, "|3/2 3/2 5/2", "small retrosnub icosicosidodecahedron", "small hexagrammic hexecontahedron", 91, 118},
    {78, "3/2 5/3 2|", "great rhombidodecahedron", "great rhombidodecacron", 89, 109},
    {79, "|3/2 5/3 2", "great retrosnub icosidodecahedron", "great pentagrammic hexecontahedron", 90, 117},
    {80, "|3/2 5/3 3 5/2", "great dirhombicosidodecahedron", "great dirhombicosidodecacron", 92, 119},
}};

constexpr bool NumberedInOrder()
{
    for (std::size_t i = 0; i < kTable.size(); ++i)
        if (kTable[i].number != std::int32_t(i + 1))
            return false;
    return true;
}
static_assert(NumberedInOrder(), "entry k is kTable[k - 1]");

} // namespace

std::span<const PolyhedronEntry> PolyhedronTable() noexcept
{
    return kTable;
}

const PolyhedronEntry* PolyhedronByNumber(std::int32_t number) noexcept
{
    if (number < 1 || number > kPolyhedronCount)
        return nullptr;
    return &kTable[std::size_t(number - 1)];
}

std::optional<PolyhedronNameMatch> PolyhedronByName(std::string_view name) noexcept
{
    for (const PolyhedronEntry& e : kTable)
        if (platform::equalsIgnoreCaseAscii(name, e.name))
            return PolyhedronNameMatch{&e, false};
    for (const PolyhedronEntry& e : kTable)
        if (platform::equalsIgnoreCaseAscii(name, e.dualName))
            return PolyhedronNameMatch{&e, true};
    return std::nullopt;
}

} // namespace halvex
