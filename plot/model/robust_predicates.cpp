#include "plot/model/robust_predicates.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

// Expansion arithmetic after Shewchuk, "Adaptive Precision Floating-Point
// Arithmetic and Fast Robust Geometric Predicates" (1997): an exact value is
// kept as a sum of doubles, smallest magnitude first, no two of which
// overlap; its sign is the sign of its last (largest) component. Products
// are split exactly with a fused multiply-add. Needs round-to-nearest
// doubles with no contraction of a * b + c (the build says so).

namespace halvex::geom {

namespace {

constexpr double kEpsilon = 1.1102230246251565e-16; // 2^-53
constexpr double kOrientBound = (3.0 + 16.0 * kEpsilon) * kEpsilon;
constexpr double kInCircleBound = (10.0 + 96.0 * kEpsilon) * kEpsilon;

inline void twoSum(double a, double b, double& x, double& y) noexcept
{
    x = a + b;
    double bv = x - a;
    double av = x - bv;
    y = (a - av) + (b - bv);
}

inline void twoDiff(double a, double b, double& x, double& y) noexcept
{
    x = a - b;
    double bv = a - x;
    double av = x + bv;
    y = (a - av) + (bv - b);
}

inline void twoProduct(double a, double b, double& x, double& y) noexcept
{
    x = a * b;
    y = std::fma(a, b, -x);
}

// h = e + b; h has room for elen + 1 components. Returns its length.
std::size_t grow(const double* e, std::size_t elen, double b, double* h) noexcept
{
    double q = b;
    std::size_t n = 0;
    for (std::size_t i = 0; i < elen; ++i) {
        double sum, tail;
        twoSum(q, e[i], sum, tail);
        q = sum;
        if (tail != 0.0)
            h[n++] = tail;
    }
    if (q != 0.0 || n == 0)
        h[n++] = q;
    return n;
}

// h = e + f; h has room for elen + flen components; tmp as much.
std::size_t sum(const double* e, std::size_t elen, const double* f, std::size_t flen, double* h, double* tmp) noexcept
{
    std::size_t n = elen;
    for (std::size_t i = 0; i < elen; ++i)
        h[i] = e[i];
    for (std::size_t i = 0; i < flen; ++i) {
        n = grow(h, n, f[i], tmp);
        for (std::size_t k = 0; k < n; ++k)
            h[k] = tmp[k];
    }
    return n;
}

// h = e × b; h has room for 2 × elen components.
std::size_t scale(const double* e, std::size_t elen, double b, double* h) noexcept
{
    std::size_t n = 0;
    double q, tail;
    twoProduct(e[0], b, q, tail);
    if (tail != 0.0)
        h[n++] = tail;
    for (std::size_t i = 1; i < elen; ++i) {
        double hi, lo, s;
        twoProduct(e[i], b, hi, lo);
        twoSum(q, lo, s, tail);
        if (tail != 0.0)
            h[n++] = tail;
        twoSum(hi, s, q, tail);
        if (tail != 0.0)
            h[n++] = tail;
    }
    if (q != 0.0 || n == 0)
        h[n++] = q;
    return n;
}

double signOf(const double* e, std::size_t n) noexcept
{
    return e[n - 1];
}

// Exact values of any size, for the rare case where even the coordinate
// differences are not exact.
using Exact = std::vector<double>;

Exact exactOf(double hi, double lo)
{
    if (lo == 0.0)
        return {hi};
    return {lo, hi};
}

Exact add(const Exact& a, const Exact& b)
{
    Exact h(a.size() + b.size()), tmp(a.size() + b.size());
    h.resize(sum(a.data(), a.size(), b.data(), b.size(), h.data(), tmp.data()));
    return h;
}

Exact negate(Exact a)
{
    for (double& x : a)
        x = -x;
    return a;
}

Exact mul(const Exact& a, const Exact& b)
{
    Exact acc{0.0};
    Exact part(2 * a.size());
    for (double bi : b) {
        part.resize(2 * a.size());
        part.resize(scale(a.data(), a.size(), bi, part.data()));
        acc = add(acc, part);
    }
    return acc;
}

double orientExact(const Point2& a, const Point2& b, const Point2& c)
{
    double acx, acxt, acy, acyt, bcx, bcxt, bcy, bcyt;
    twoDiff(a.x, c.x, acx, acxt);
    twoDiff(a.y, c.y, acy, acyt);
    twoDiff(b.x, c.x, bcx, bcxt);
    twoDiff(b.y, c.y, bcy, bcyt);
    if (acxt == 0.0 && acyt == 0.0 && bcxt == 0.0 && bcyt == 0.0) {
        // The differences are exact: two products, four components.
        double l[2], r[2], h[4], tmp[4];
        twoProduct(acx, bcy, l[1], l[0]);
        twoProduct(-acy, bcx, r[1], r[0]);
        std::size_t n = sum(l, 2, r, 2, h, tmp);
        return signOf(h, n);
    }
    Exact d = add(mul(exactOf(acx, acxt), exactOf(bcy, bcyt)), negate(mul(exactOf(acy, acyt), exactOf(bcx, bcxt))));
    return d.back();
}

// The lifted term x² + y² of exact differences, and a 2 × 2 minor.
std::size_t lift(double x, double y, double* h)
{
    double p[2], q[2], tmp[4];
    twoProduct(x, x, p[1], p[0]);
    twoProduct(y, y, q[1], q[0]);
    return sum(p, 2, q, 2, h, tmp);
}

std::size_t minor2(double a, double b, double c, double d, double* h)
{
    // a × b − c × d
    double p[2], q[2], tmp[4];
    twoProduct(a, b, p[1], p[0]);
    twoProduct(-c, d, q[1], q[0]);
    return sum(p, 2, q, 2, h, tmp);
}

// lift × minor, both of at most 4 components: at most 32.
std::size_t product(const double* l, std::size_t ln, const double* m, std::size_t mn, double* h)
{
    double acc[40], part[8], next[40], tmp[40];
    std::size_t n = 0;
    for (std::size_t i = 0; i < ln; ++i) {
        std::size_t pn = scale(m, mn, l[i], part);
        if (n == 0) {
            std::copy(part, part + pn, acc);
            n = pn;
        } else {
            n = sum(acc, n, part, pn, next, tmp);
            std::copy(next, next + n, acc);
        }
    }
    std::copy(acc, acc + n, h);
    return n;
}

double inCircleExact(const Point2& a, const Point2& b, const Point2& c, const Point2& d)
{
    double adx, adxt, ady, adyt, bdx, bdxt, bdy, bdyt, cdx, cdxt, cdy, cdyt;
    twoDiff(a.x, d.x, adx, adxt);
    twoDiff(a.y, d.y, ady, adyt);
    twoDiff(b.x, d.x, bdx, bdxt);
    twoDiff(b.y, d.y, bdy, bdyt);
    twoDiff(c.x, d.x, cdx, cdxt);
    twoDiff(c.y, d.y, cdy, cdyt);
    if (adxt == 0.0 && adyt == 0.0 && bdxt == 0.0 && bdyt == 0.0 && cdxt == 0.0 && cdyt == 0.0) {
        double la[4], lb[4], lc[4], ma[4], mb[4], mc[4];
        std::size_t nla = lift(adx, ady, la), nlb = lift(bdx, bdy, lb), nlc = lift(cdx, cdy, lc);
        std::size_t nma = minor2(bdx, cdy, cdx, bdy, ma);
        std::size_t nmb = minor2(cdx, ady, adx, cdy, mb);
        std::size_t nmc = minor2(adx, bdy, bdx, ady, mc);
        double ta[32], tb[32], tc[32], ab[64], all[96], tmp[96];
        std::size_t na = product(la, nla, ma, nma, ta);
        std::size_t nb = product(lb, nlb, mb, nmb, tb);
        std::size_t nc = product(lc, nlc, mc, nmc, tc);
        std::size_t nab = sum(ta, na, tb, nb, ab, tmp);
        std::size_t n = sum(ab, nab, tc, nc, all, tmp);
        return signOf(all, n);
    }
    Exact ex = exactOf(adx, adxt), ey = exactOf(ady, adyt);
    Exact fx = exactOf(bdx, bdxt), fy = exactOf(bdy, bdyt);
    Exact gx = exactOf(cdx, cdxt), gy = exactOf(cdy, cdyt);
    Exact alift = add(mul(ex, ex), mul(ey, ey));
    Exact blift = add(mul(fx, fx), mul(fy, fy));
    Exact clift = add(mul(gx, gx), mul(gy, gy));
    Exact ta = mul(alift, add(mul(fx, gy), negate(mul(gx, fy))));
    Exact tb = mul(blift, add(mul(gx, ey), negate(mul(ex, gy))));
    Exact tc = mul(clift, add(mul(ex, fy), negate(mul(fx, ey))));
    return add(add(ta, tb), tc).back();
}

} // namespace

double Orient2d(const Point2& a, const Point2& b, const Point2& c) noexcept
{
    double left = (a.x - c.x) * (b.y - c.y);
    double right = (a.y - c.y) * (b.x - c.x);
    double det = left - right;
    double bound = kOrientBound * (std::fabs(left) + std::fabs(right));
    if (det > bound || -det > bound)
        return det;
    if (left == 0.0 && right == 0.0)
        return 0.0; // both products exactly zero: collinear
    return orientExact(a, b, c);
}

double InCircle(const Point2& a, const Point2& b, const Point2& c, const Point2& d) noexcept
{
    double adx = a.x - d.x, ady = a.y - d.y;
    double bdx = b.x - d.x, bdy = b.y - d.y;
    double cdx = c.x - d.x, cdy = c.y - d.y;
    double bdxcdy = bdx * cdy, cdxbdy = cdx * bdy;
    double cdxady = cdx * ady, adxcdy = adx * cdy;
    double adxbdy = adx * bdy, bdxady = bdx * ady;
    double alift = adx * adx + ady * ady;
    double blift = bdx * bdx + bdy * bdy;
    double clift = cdx * cdx + cdy * cdy;
    double det = alift * (bdxcdy - cdxbdy) + blift * (cdxady - adxcdy) + clift * (adxbdy - bdxady);
    double permanent = (std::fabs(bdxcdy) + std::fabs(cdxbdy)) * alift +
                       (std::fabs(cdxady) + std::fabs(adxcdy)) * blift +
                       (std::fabs(adxbdy) + std::fabs(bdxady)) * clift;
    double bound = kInCircleBound * permanent;
    if (det > bound || -det > bound)
        return det;
    return inCircleExact(a, b, c, d);
}

} // namespace halvex::geom
