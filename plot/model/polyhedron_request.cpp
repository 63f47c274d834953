#include "plot/model/polyhedron_request.h"

#include <algorithm>
#include <cstdio>

namespace halvex {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

std::string_view Trim(std::string_view s)
{
    s = TrimLeft(s);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The symbol with the numbers of each group sorted, for comparison.
kaleido::Symbol Canonical(kaleido::Symbol s)
{
    auto less = [](const kaleido::Fraction& a, const kaleido::Fraction& b) {
        return std::pair(a.n, a.d) < std::pair(b.n, b.d);
    };
    auto& n = s.numbers;
    if (n.size() != 3)
        return s;
    switch (s.bar) {
    case 1: // p|q r
        std::sort(n.begin() + 1, n.end(), less);
        break;
    case 2: // p q|r
        std::sort(n.begin(), n.begin() + 2, less);
        break;
    default: // p q r| and |p q r
        std::sort(n.begin(), n.end(), less);
        break;
    }
    return s;
}

} // namespace

const PolyhedronEntry* EntryOfSymbol(const kaleido::Symbol& symbol)
{
    const kaleido::Symbol wanted = Canonical(symbol);
    for (const PolyhedronEntry& e : PolyhedronTable()) {
        kaleido::Symbol s;
        kaleido::Failure ignored;
        if (kaleido::ParseSymbol(e.symbol, s, ignored) && Canonical(s) == wanted)
            return &e;
    }
    return nullptr;
}

bool ReadPolyhedronRequest(std::string_view text, PolyhedronRequest& out, kaleido::Failure& failure)
{
    out = {};
    std::string_view s = TrimLeft(text);
    if (!s.empty() && s.front() == '+') {
        out.colorBySides = true;
        s = TrimLeft(s.substr(1));
    }
    if (!s.empty() && s.front() == '*') {
        out.dual = true;
        s = TrimLeft(s.substr(1));
    }
    if (s.empty() || s.front() == '#' || s.front() == '|' || (s.front() >= '0' && s.front() <= '9')) {
        out.symbol = std::string(s);
        kaleido::Symbol parsed;
        kaleido::Failure ignored;
        if (!s.empty() && s.front() == '#') {
            std::string_view digits = Trim(s.substr(1));
            std::int32_t number = 0;
            for (char c : digits) {
                if (c < '0' || c > '9' || number > kPolyhedronCount) {
                    number = 0;
                    break;
                }
                number = number * 10 + (c - '0');
            }
            out.entry = PolyhedronByNumber(number);
        } else if (kaleido::ParseSymbol(s, parsed, ignored)) {
            out.entry = EntryOfSymbol(parsed);
        }
        return true;
    }
    auto match = PolyhedronByName(Trim(s));
    if (!match) {
        failure = {kaleido::error::UnknownName, kaleido::ErrorMessage(kaleido::error::UnknownName), 0};
        return false;
    }
    out.entry = match->entry;
    out.symbol = std::string(match->entry->symbol);
    out.dual = out.dual != match->dual;
    return true;
}

const kaleido::Solid* RequestedSolid(const PolyhedronRequest& request, const kaleido::Polyhedron& p,
                                     kaleido::Failure& failure)
{
    if (!request.dual)
        return &p.solid;
    if (p.hasDual)
        return &p.dual;
    failure = {kaleido::error::DualAtInfinity, kaleido::ErrorMessage(kaleido::error::DualAtInfinity), __LINE__};
    return nullptr;
}

bool MyKaleido(std::string_view text, PolyhedronRequest& request, kaleido::Polyhedron& out,
               kaleido::Failure& failure)
{
    if (!ReadPolyhedronRequest(text, request, failure))
        return false;
    if (kaleido::Kaleido(request.symbol, out, failure) && RequestedSolid(request, out, failure))
        return true;
    std::fprintf(stderr, "Error: %.*s [%s:%d]\n", int(failure.message.size()), failure.message.data(), "kaleido",
                 failure.line);
    return false;
}

} // namespace halvex
