#pragma once
// A request for a uniform polyhedron: an optional "+" (faces coloured by
// their number of sides), an optional "*" (the dual), then a Wythoff
// symbol, "#" and a table number, or a name from the table. A text that
// starts (after the prefixes) with "#", "|" or a digit goes to the
// generator unchanged; anything else is a name.

#include "plot/model/kaleido.h"
#include "plot/model/polyhedron_table.h"

#include <string>
#include <string_view>

namespace halvex {

struct PolyhedronRequest {
    bool colorBySides = false;
    bool dual = false;
    // What the generator reads: a symbol or "#n".
    std::string symbol;
    // The table entry the request names (by name or number), or whose
    // symbol it spells (up to the order the symbol leaves free).
    const PolyhedronEntry* entry = nullptr;
};

// False with error::UnknownName for a name the table does not hold; the
// generator reports everything else.
bool ReadPolyhedronRequest(std::string_view text, PolyhedronRequest& out, kaleido::Failure& failure);

// The table entry whose symbol is the same polyhedron's: the numbers on
// each side of the bar in any order (a snub's in any order).
const PolyhedronEntry* EntryOfSymbol(const kaleido::Symbol& symbol);

// The driver: reads the request and runs the generator. The generator's
// failures (not an unknown name) are also printed to standard error as
// "Error: %s [%s:%d]\n" (message, source module, line).
bool MyKaleido(std::string_view text, PolyhedronRequest& request, kaleido::Polyhedron& out,
               kaleido::Failure& failure);

// The solid a request draws: the polyhedron or its dual. False with
// error::DualAtInfinity when the dual cannot be made.
const kaleido::Solid* RequestedSolid(const PolyhedronRequest& request, const kaleido::Polyhedron& p,
                                     kaleido::Failure& failure);

} // namespace halvex
