#pragma once
// The table of the uniform polyhedra that requests may name: number,
// Wythoff symbol, name, the name of the dual, and the Coxeter and
// Wenninger numbers (0 for the prisms and antiprisms, which have none).
// Names are spelled as the table has always spelled them.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace halvex {

struct PolyhedronEntry {
    std::int32_t number;
    std::string_view symbol;
    std::string_view name;
    std::string_view dualName;
    std::int32_t coxeter;
    std::int32_t wenninger;
};

constexpr std::int32_t kPolyhedronCount = 80;

std::span<const PolyhedronEntry> PolyhedronTable() noexcept;

// Entry 1 … 80, or nullptr.
const PolyhedronEntry* PolyhedronByNumber(std::int32_t number) noexcept;

struct PolyhedronNameMatch {
    const PolyhedronEntry* entry;
    bool dual; // the name is that of the entry's dual
};
// A name compared without regard to case; the polyhedron's own name wins
// over a dual's name (the tetrahedron is its own dual).
std::optional<PolyhedronNameMatch> PolyhedronByName(std::string_view name) noexcept;

} // namespace halvex
