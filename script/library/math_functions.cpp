// Mathematics ("ctMath"). A result that is not a number, or an infinity
// from a finite argument, is a run-time error rather than a value that
// would travel on (into a data file, say) as if it were one.

#include "script/library/function_table.h"
#include "script/library/system_functions.h"

#include <cmath>

namespace script::library {

namespace {

[[noreturn]] void invalidOperation()
{
    RaiseRuntime("Invalid floating point operation");
}

double checked(double arg, double result)
{
    if (std::isnan(result) && !std::isnan(arg))
        invalidOperation();
    if (std::isinf(result) && std::isfinite(arg))
        RaiseRuntime("Floating point overflow");
    return result;
}

// Round and Trunc give Integers: a value past their range is an error.
Variant integerOf(double r)
{
    if (std::isnan(r))
        invalidOperation();
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        RaiseRuntime("Integer overflow: " + Variant(r).toString());
    return Variant(static_cast<int>(r));
}

} // namespace

void RegisterMathFunctions(TfsScript& scope)
{
    RegisterRoutines(
        scope, "ctMath",
        {
            {"function Round(e: Extended): Integer",
             [](Args& a) { return integerOf(std::nearbyint(a[0].toDouble())); }}, // halves to even
            {"function Trunc(e: Extended): Integer", [](Args& a) { return integerOf(std::trunc(a[0].toDouble())); }},
            {"function Int(e: Extended): Integer", [](Args& a) { return Variant(std::trunc(a[0].toDouble())); }},
            {"function Frac(X: Extended): Extended",
             [](Args& a) {
                 double x = a[0].toDouble();
                 return Variant(std::isinf(x) ? 0.0 : x - std::trunc(x));
             }},
            {"function Sqrt(e: Extended): Extended",
             [](Args& a) {
                 double x = a[0].toDouble();
                 if (x < 0)
                     invalidOperation();
                 return Variant(std::sqrt(x));
             }},
            {"function Abs(e: Extended): Extended", [](Args& a) { return Variant(std::fabs(a[0].toDouble())); }},
            {"function Sin(e: Extended): Extended",
             [](Args& a) {
                 double x = a[0].toDouble();
                 return Variant(checked(x, std::sin(x)));
             }},
            {"function Cos(e: Extended): Extended",
             [](Args& a) {
                 double x = a[0].toDouble();
                 return Variant(checked(x, std::cos(x)));
             }},
            {"function ArcTan(X: Extended): Extended", [](Args& a) { return Variant(std::atan(a[0].toDouble())); }},
            {"function Tan(X: Extended): Extended",
             [](Args& a) {
                 double x = a[0].toDouble();
                 return Variant(checked(x, std::sin(x) / std::cos(x)));
             }},
            {"function Exp(X: Extended): Extended",
             [](Args& a) {
                 double x = a[0].toDouble();
                 return Variant(checked(x, std::exp(x)));
             }},
            {"function Ln(X: Extended): Extended",
             [](Args& a) {
                 double x = a[0].toDouble();
                 if (!(x > 0))
                     invalidOperation();
                 return Variant(std::log(x));
             }},
            {"function Pi: Extended", [](Args&) { return Variant(3.1415926535897932385); }},
        });
}

} // namespace script::library
