#pragma once
// A float as decimal digits, for the picture formats of scripts. The value
// is first taken to 15 significant digits (what a double holds for sure),
// so 1.005 shows as 1.01 and 0.1 + 0.2 as 0.3; rounding to fewer digits
// then takes halves away from zero.

#include <cstdint>
#include <string>

namespace script::library {

struct DecimalDigits {
    bool negative = false;
    // Significant digits without leading zeros ("" for zero).
    std::string digits;
    // Where the decimal point stands: value = 0.digits * 10^point.
    int point = 0;

    static DecimalDigits Of(double v, int significant = 15);
    // Rounds to `decimals` digits after the point (may be negative).
    void RoundToDecimals(int decimals);
    // Rounds to `count` significant digits.
    void RoundToSignificant(int count);
    bool IsZero() const noexcept { return digits.empty(); }
    // The digit at a power of ten (0 outside the digits).
    char DigitAt(int power) const noexcept;
};

// Fixed form with `decimals` decimals, "." as the point, and, when
// thousands is not 0, that separator between groups of three.
std::string FixedText(double v, int decimals, char thousands = 0);
// Scientific form: d.ddd...E+ddd with `significant` digits and at least
// `expDigits` exponent digits.
std::string ScientificText(double v, int significant, int expDigits);

} // namespace script::library
