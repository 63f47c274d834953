#include "platform/automation/variant_ops.h"

#include "platform/automation/dispatch.h"
#include "platform/text/ascii_case.h"
#include "platform/text/number_text.h"

#include <cmath>
#include <cstring>

namespace platform {

namespace {

[[noreturn]] void invalidOperation()
{
    throw VariantError("Invalid variant operation");
}

[[noreturn]] void notANumber(const Variant& v, const char* to)
{
    throw VariantError(std::string("Could not convert variant of type (") + varTypeName(v.type()) +
                       ") into type (" + to + ")");
}

[[noreturn]] void divisionByZero()
{
    throw VariantError("Division by zero");
}

// A Variant seen as a number.
struct Number {
    bool isInt = true;
    bool isDate = false;
    std::int64_t i = 0;
    double d = 0;
    double asDouble() const { return isInt ? static_cast<double>(i) : d; }
};

Number toNumber(const Variant& v)
{
    Number n;
    switch (v.type()) {
    case varEmpty: case varNull: return n;
    case varBoolean: n.i = v.rawBool() ? -1 : 0; return n;
    case varInteger: case varObject: n.i = v.rawInt32(); return n;
    case varSmallint: case varShortInt: case varByte: case varWord: case varLongWord: case varInt64:
        n.i = v.toInt64();
        return n;
    case varUInt64:
        if (v.rawInt64() < 0) { // beyond the signed range
            n.isInt = false;
            n.d = v.toDouble();
        } else {
            n.i = v.rawInt64();
        }
        return n;
    case varSingle: case varDouble: case varCurrency:
        n.isInt = false;
        n.d = v.toDouble();
        return n;
    case varDate:
        n.isInt = false;
        n.isDate = true;
        n.d = v.rawDouble();
        return n;
    case varString: {
        double d = 0;
        if (!parseNumberText(v.stringView(), n.isInt, n.i, d))
            notANumber(v, "Double");
        n.d = d;
        return n;
    }
    default:
        invalidOperation();
    }
}

Variant fromInt(std::int64_t i)
{
    if (i >= INT32_MIN && i <= INT32_MAX)
        return Variant(static_cast<int>(i));
    return Variant::fromInt64(i);
}

Variant fromFloat(double d, bool isDate)
{
    return isDate ? Variant::fromDate(d) : Variant(d);
}

bool isStringLike(const Variant& v)
{
    return v.isString();
}

// The integer operands of div, mod and the bitwise operators: 64-bit when
// either operand is a 64-bit integer, else 32-bit.
bool wide(const Variant& a, const Variant& b)
{
    auto w = [](VarType t) { return t == varInt64 || t == varUInt64; };
    return w(a.type()) || w(b.type());
}

std::int64_t integerOf(const Variant& v)
{
    if (v.isString()) {
        Number n = toNumber(v);
        return n.isInt ? n.i : Variant(n.d).toInt64();
    }
    if (v.isArray() || v.isDispatch() || v.type() == varError)
        invalidOperation();
    return v.toInt64();
}

// Booleans of a logical operator: Booleans themselves, or the texts
// "True" and "False".
bool booleanOf(const Variant& v, bool& out)
{
    if (v.isBool()) {
        out = v.rawBool();
        return true;
    }
    if (v.isString()) {
        std::string_view s = trimBlanks(v.stringView());
        if (equalsIgnoreCaseAscii(s, "true")) {
            out = true;
            return true;
        }
        if (equalsIgnoreCaseAscii(s, "false")) {
            out = false;
            return true;
        }
    }
    return false;
}

template <class IntOp>
Variant bitwise(const Variant& a, const Variant& b, bool (*logical)(bool, bool), IntOp op)
{
    bool x = false, y = false;
    if (booleanOf(a, x) && booleanOf(b, y))
        return Variant(logical(x, y));
    std::int64_t r = op(integerOf(a), integerOf(b));
    if (wide(a, b))
        return Variant::fromInt64(r);
    return Variant(static_cast<int>(static_cast<std::int32_t>(r)));
}

} // namespace

Variant varAdd(const Variant& a, const Variant& b)
{
    if (a.type() == varInteger && b.type() == varInteger)
        return fromInt(std::int64_t(a.rawInt32()) + b.rawInt32());
    if (a.type() == varDouble && b.type() == varDouble)
        return Variant(a.rawDouble() + b.rawDouble());
    if (isStringLike(a) && (isStringLike(b) || b.isEmptyOrNull())) {
        Variant r = a;
        r.appendString(b.stringView());
        return r;
    }
    if (a.isEmptyOrNull() && isStringLike(b))
        return b;
    Number x = toNumber(a), y = toNumber(b);
    if (x.isInt && y.isInt) {
        std::int64_t r;
        if (!__builtin_add_overflow(x.i, y.i, &r))
            return fromInt(r);
        return Variant(static_cast<double>(x.i) + static_cast<double>(y.i));
    }
    return fromFloat(x.asDouble() + y.asDouble(), x.isDate != y.isDate);
}

Variant varSub(const Variant& a, const Variant& b)
{
    if (a.type() == varInteger && b.type() == varInteger)
        return fromInt(std::int64_t(a.rawInt32()) - b.rawInt32());
    Number x = toNumber(a), y = toNumber(b);
    if (x.isInt && y.isInt) {
        std::int64_t r;
        if (!__builtin_sub_overflow(x.i, y.i, &r))
            return fromInt(r);
        return Variant(static_cast<double>(x.i) - static_cast<double>(y.i));
    }
    // date - number is a date; date - date a number of days.
    return fromFloat(x.asDouble() - y.asDouble(), x.isDate && !y.isDate);
}

Variant varMul(const Variant& a, const Variant& b)
{
    if (a.type() == varInteger && b.type() == varInteger)
        return fromInt(std::int64_t(a.rawInt32()) * b.rawInt32());
    Number x = toNumber(a), y = toNumber(b);
    if (x.isInt && y.isInt) {
        std::int64_t r;
        if (!__builtin_mul_overflow(x.i, y.i, &r))
            return fromInt(r);
        return Variant(static_cast<double>(x.i) * static_cast<double>(y.i));
    }
    return Variant(x.asDouble() * y.asDouble());
}

Variant varDivide(const Variant& a, const Variant& b)
{
    double x = toNumber(a).asDouble(), y = toNumber(b).asDouble();
    if (y == 0) {
        if (x == 0 || std::isnan(x))
            throw VariantError("Invalid floating point operation");
        divisionByZero();
    }
    return Variant(x / y);
}

Variant varIntDiv(const Variant& a, const Variant& b)
{
    std::int64_t x = integerOf(a), y = integerOf(b);
    if (wide(a, b)) {
        if (y == 0)
            divisionByZero();
        return Variant::fromInt64(y == -1 ? static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(x)) : x / y);
    }
    return Variant(static_cast<int>(checkedDiv(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y))));
}

Variant varMod(const Variant& a, const Variant& b)
{
    std::int64_t x = integerOf(a), y = integerOf(b);
    if (wide(a, b)) {
        if (y == 0)
            divisionByZero();
        return Variant::fromInt64(y == -1 ? 0 : x % y);
    }
    return Variant(static_cast<int>(checkedMod(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y))));
}

Variant varAnd(const Variant& a, const Variant& b)
{
    return bitwise(a, b, [](bool x, bool y) { return x && y; }, [](std::int64_t x, std::int64_t y) { return x & y; });
}

Variant varOr(const Variant& a, const Variant& b)
{
    return bitwise(a, b, [](bool x, bool y) { return x || y; }, [](std::int64_t x, std::int64_t y) { return x | y; });
}

Variant varXor(const Variant& a, const Variant& b)
{
    return bitwise(a, b, [](bool x, bool y) { return x != y; }, [](std::int64_t x, std::int64_t y) { return x ^ y; });
}

Variant varShl(const Variant& a, const Variant& b)
{
    std::int64_t x = integerOf(a), n = integerOf(b);
    if (wide(a, b))
        return Variant::fromInt64(static_cast<std::int64_t>(static_cast<std::uint64_t>(x) << (n & 63)));
    return Variant(static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(x) << (n & 31))));
}

Variant varShr(const Variant& a, const Variant& b)
{
    std::int64_t x = integerOf(a), n = integerOf(b);
    if (wide(a, b))
        return Variant::fromInt64(static_cast<std::int64_t>(static_cast<std::uint64_t>(x) >> (n & 63)));
    return Variant(static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(x) >> (n & 31))));
}

Variant varNegate(const Variant& a)
{
    Number x = toNumber(a);
    if (x.isInt) {
        if (x.i == INT64_MIN)
            return Variant(-static_cast<double>(x.i));
        return fromInt(-x.i);
    }
    return fromFloat(-x.d, x.isDate);
}

Variant varNot(const Variant& a)
{
    bool x = false;
    if (booleanOf(a, x))
        return Variant(!x);
    std::int64_t i = integerOf(a);
    if (a.type() == varInt64 || a.type() == varUInt64)
        return Variant::fromInt64(~i);
    return Variant(static_cast<int>(~static_cast<std::int32_t>(i)));
}

int varCompare(const Variant& a, const Variant& b)
{
    if (a.type() == varInteger && b.type() == varInteger)
        return (a.rawInt32() > b.rawInt32()) - (a.rawInt32() < b.rawInt32());
    bool aText = a.isString() || (a.isEmptyOrNull() && b.isString());
    bool bText = b.isString() || (b.isEmptyOrNull() && a.isString());
    if (aText && bText) {
        std::string_view x = a.stringView(), y = b.stringView();
        std::size_t n = std::min(x.size(), y.size());
        int c = n ? std::memcmp(x.data(), y.data(), n) : 0;
        if (c != 0)
            return c < 0 ? -1 : 1;
        return (x.size() > y.size()) - (x.size() < y.size());
    }
    if (a.isDispatch() || b.isDispatch()) {
        // Objects compare by identity only: equal or not.
        return a.dispatch() == b.dispatch() ? 0 : 2;
    }
    if (a.isArray() || b.isArray())
        invalidOperation();
    Number x = toNumber(a), y = toNumber(b);
    if (x.isInt && y.isInt)
        return (x.i > y.i) - (x.i < y.i);
    double p = x.asDouble(), q = y.asDouble();
    if (p < q)
        return -1;
    if (p > q)
        return 1;
    if (p == q)
        return 0;
    return 2; // unordered (NaN)
}

Variant varConcat(const Variant& a, const Variant& b)
{
    Variant r(a.isString() ? a : Variant(a.toString()));
    if (b.isString())
        r.appendString(b.stringView());
    else
        r.appendString(b.toString());
    return r;
}

std::int32_t wrapAdd(std::int32_t a, std::int32_t b) noexcept
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::int32_t wrapSub(std::int32_t a, std::int32_t b) noexcept
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

std::int32_t wrapMul(std::int32_t a, std::int32_t b) noexcept
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

std::int32_t checkedDiv(std::int32_t a, std::int32_t b)
{
    if (b == 0)
        divisionByZero();
    if (b == -1)
        return wrapSub(0, a);
    return a / b;
}

std::int32_t checkedMod(std::int32_t a, std::int32_t b)
{
    if (b == 0)
        divisionByZero();
    if (b == -1)
        return 0;
    return a % b;
}

} // namespace platform
