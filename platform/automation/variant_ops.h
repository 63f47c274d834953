#pragma once
// The operators of the value model, on Variants of any kind.
//
// - Null and Empty take the part of 0, false or the empty string, whichever
//   the other operand calls for.
// - "+" joins two strings; otherwise both operands are numbers (a string
//   that holds no number is an error). Integers give integers (widened to
//   64 bits rather than wrapping; past 64 bits, a float), anything else a
//   float; a date plus or minus a number stays a date.
// - "/" always gives a float; div and mod work on integers; division by
//   zero is an error.
// - and, or, xor, not are logical on Booleans and bitwise on integers.
// - Comparisons: numbers by value, strings by character codes, a string and
//   a number by reading the string as a number, Booleans as -1 and 0.
// Errors are VariantError with the message the script sees.

#include "platform/automation/variant.h"

namespace platform {

Variant varAdd(const Variant& a, const Variant& b);
Variant varSub(const Variant& a, const Variant& b);
Variant varMul(const Variant& a, const Variant& b);
Variant varDivide(const Variant& a, const Variant& b);
Variant varIntDiv(const Variant& a, const Variant& b);
Variant varMod(const Variant& a, const Variant& b);
Variant varAnd(const Variant& a, const Variant& b);
Variant varOr(const Variant& a, const Variant& b);
Variant varXor(const Variant& a, const Variant& b);
Variant varShl(const Variant& a, const Variant& b);
Variant varShr(const Variant& a, const Variant& b);
Variant varNegate(const Variant& a);
Variant varNot(const Variant& a);

// -1, 0 or 1 as a is less than, equal to or greater than b; 2 when they
// have no order (a NaN, or two different objects), so that only "<>" holds.
int varCompare(const Variant& a, const Variant& b);
inline bool varEquals(const Variant& a, const Variant& b) { return varCompare(a, b) == 0; }

// The text of the two operands joined, whatever their kinds.
Variant varConcat(const Variant& a, const Variant& b);

// 32-bit integer arithmetic of the typed fast paths: wraps around; division
// and remainder by zero are errors.
std::int32_t wrapAdd(std::int32_t a, std::int32_t b) noexcept;
std::int32_t wrapSub(std::int32_t a, std::int32_t b) noexcept;
std::int32_t wrapMul(std::int32_t a, std::int32_t b) noexcept;
std::int32_t checkedDiv(std::int32_t a, std::int32_t b);
std::int32_t checkedMod(std::int32_t a, std::int32_t b);

} // namespace platform
