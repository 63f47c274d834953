#include "platform/automation/variant.h"

#include "platform/automation/dispatch.h"
#include "platform/automation/safe_array.h"
#include "platform/automation/value_limits.h"
#include "platform/text/ascii_case.h"
#include "platform/text/date_serial.h"
#include "platform/text/number_text.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

namespace platform {

// Shared text of a string Variant. The characters follow the header and
// end with a NUL so that size() characters are always readable.
struct Variant::StringRep {
    std::uint32_t refs;
    std::uint32_t size;
    std::uint32_t capacity;
    std::uint32_t pad;
    char* chars() noexcept { return reinterpret_cast<char*>(this + 1); }

    static StringRep* make(std::size_t size, std::size_t capacity)
    {
        const std::size_t limit = valueLimits().maxStringBytes;
        if (size > limit || size >= UINT32_MAX - 64)
            throw VariantError("Out of memory");
        // Room to grow, but never past the limit.
        if (capacity > limit)
            capacity = limit;
        void* mem = std::malloc(sizeof(StringRep) + capacity + 1);
        if (!mem)
            throw VariantError("Out of memory");
        auto* r = static_cast<StringRep*>(mem);
        r->refs = 1;
        r->size = static_cast<std::uint32_t>(size);
        r->capacity = static_cast<std::uint32_t>(capacity);
        r->pad = 0;
        r->chars()[size] = '\0';
        return r;
    }
};

const char* varTypeName(VarType t) noexcept
{
    if (t & varArray)
        return "Array";
    switch (t) {
    case varEmpty: return "Empty";
    case varNull: return "Null";
    case varSmallint: return "Smallint";
    case varInteger: return "Integer";
    case varSingle: return "Single";
    case varDouble: return "Double";
    case varCurrency: return "Currency";
    case varDate: return "Date";
    case varOleStr: return "OleStr";
    case varDispatch: return "Dispatch";
    case varError: return "Error";
    case varBoolean: return "Boolean";
    case varVariant: return "Variant";
    case varUnknown: return "Unknown";
    case varShortInt: return "ShortInt";
    case varByte: return "Byte";
    case varWord: return "Word";
    case varLongWord: return "LongWord";
    case varInt64: return "Int64";
    case varUInt64: return "UInt64";
    case varString: return "String";
    case varObject: return "Object";
    default: return "Unknown";
    }
}

namespace {

[[noreturn]] void conversionError(VarType from, const char* to)
{
    std::string msg = "Could not convert variant of type (";
    msg += varTypeName(from);
    msg += ") into type (";
    msg += to;
    msg += ")";
    throw VariantError(msg);
}

[[noreturn]] void overflowError(VarType from, const char* to)
{
    std::string msg = "Overflow while converting variant of type (";
    msg += varTypeName(from);
    msg += ") into type (";
    msg += to;
    msg += ")";
    throw VariantError(msg);
}

bool stringToNumber(std::string_view s, bool& isInt, std::int64_t& i, double& d)
{
    return parseNumberText(s, isInt, i, d);
}

std::int64_t roundToInt64(double d, VarType from, const char* to)
{
    if (std::isnan(d))
        conversionError(from, to);
    double r = std::nearbyint(d); // the default rounding mode: half to even
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0))
        overflowError(from, to);
    return static_cast<std::int64_t>(r);
}

} // namespace

// ---- lifetime ----------------------------------------------------------

void Variant::retain() const noexcept
{
    if (vt_ == varString)
        ++u_.str->refs;
    else if (vt_ == varDispatch)
        u_.disp->addRef();
    else
        u_.arr->addRef();
}

void Variant::releaseSlow() noexcept
{
    if (vt_ == varString) {
        if (--u_.str->refs == 0)
            std::free(u_.str);
    } else if (vt_ == varDispatch) {
        u_.disp->release();
    } else {
        u_.arr->release();
    }
    ref_ = false;
}

Variant::Variant(std::string_view s) : vt_(varString)
{
    u_.i64 = 0;
    u_.str = nullptr;
    if (!s.empty()) {
        u_.str = StringRep::make(s.size(), s.size());
        std::memcpy(u_.str->chars(), s.data(), s.size());
        ref_ = true;
    }
}

Variant::Variant(Dispatch* d) noexcept : vt_(d ? VarType(varDispatch) : VarType(varEmpty))
{
    u_.i64 = 0;
    if (d) {
        u_.disp = d;
        d->addRef();
        ref_ = true;
    }
}

Variant::Variant(const Ref<Dispatch>& d) noexcept : Variant(d.get()) {}

Variant::Variant(SafeArray* a) noexcept : vt_(a ? VarType(varArray | a->elementType()) : VarType(varEmpty))
{
    u_.i64 = 0;
    if (a) {
        u_.arr = a;
        a->addRef();
        ref_ = true;
    }
}

Variant::Variant(const Ref<SafeArray>& a) noexcept : Variant(a.get()) {}

Variant Variant::fromCurrency(double v)
{
    double units = std::nearbyint(v * 10000.0);
    if (!(units >= -9.2233720368547758e18 && units < 9.2233720368547758e18))
        overflowError(varDouble, "Currency");
    return fromCurrencyUnits(static_cast<std::int64_t>(units));
}

ValueLimits& valueLimits() noexcept
{
    static ValueLimits limits;
    return limits;
}

// ---- classification ----------------------------------------------------

bool Variant::isInteger() const noexcept
{
    switch (vt_) {
    case varSmallint: case varInteger: case varShortInt: case varByte:
    case varWord: case varLongWord: case varInt64: case varUInt64:
        return true;
    default:
        return false;
    }
}

bool Variant::isFloat() const noexcept
{
    return vt_ == varSingle || vt_ == varDouble || vt_ == varCurrency || vt_ == varDate;
}

// ---- conversions -------------------------------------------------------

std::int64_t Variant::toInt64() const
{
    switch (vt_) {
    case varEmpty: case varNull: return 0;
    case varSmallint: return static_cast<std::int16_t>(u_.i64);
    case varInteger: case varObject: case varError: return u_.i32;
    case varShortInt: return static_cast<std::int8_t>(u_.i64);
    case varByte: return static_cast<std::uint8_t>(u_.i64);
    case varWord: return static_cast<std::uint16_t>(u_.i64);
    case varLongWord: return static_cast<std::uint32_t>(u_.i64);
    case varInt64: return u_.i64;
    case varUInt64:
        if (u_.u64 > static_cast<std::uint64_t>(INT64_MAX))
            overflowError(vt_, "Int64");
        return static_cast<std::int64_t>(u_.u64);
    case varBoolean: return u_.b ? -1 : 0;
    case varSingle: return roundToInt64(u_.f, vt_, "Int64");
    case varDouble: case varDate: return roundToInt64(u_.d, vt_, "Int64");
    case varCurrency: return roundToInt64(static_cast<double>(u_.i64) / 10000.0, vt_, "Int64");
    case varString: {
        bool isInt = false;
        std::int64_t i = 0;
        double d = 0;
        if (!stringToNumber(stringView(), isInt, i, d))
            conversionError(vt_, "Int64");
        return isInt ? i : roundToInt64(d, vt_, "Int64");
    }
    default:
        conversionError(vt_, "Int64");
    }
}

std::int32_t Variant::toInt32() const
{
    if (vt_ == varInteger)
        return u_.i32;
    if (vt_ == varDouble) {
        if (std::isnan(u_.d))
            conversionError(vt_, "Integer");
        double r = std::nearbyint(u_.d);
        if (!(r >= -2147483648.0 && r <= 2147483647.0))
            overflowError(vt_, "Integer");
        return static_cast<std::int32_t>(r);
    }
    std::int64_t v = toInt64();
    if (v < INT32_MIN || v > INT32_MAX) {
        // Unsigned 32-bit values keep their bits, as a host's LongWord does.
        if (vt_ == varLongWord)
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
        overflowError(vt_, "Integer");
    }
    return static_cast<std::int32_t>(v);
}

double Variant::toDouble() const
{
    switch (vt_) {
    case varDouble: case varDate: return u_.d;
    case varSingle: return u_.f;
    case varCurrency: return static_cast<double>(u_.i64) / 10000.0;
    case varUInt64: return static_cast<double>(u_.u64);
    case varString: {
        bool isInt = false;
        std::int64_t i = 0;
        double d = 0;
        if (!stringToNumber(stringView(), isInt, i, d))
            conversionError(vt_, "Double");
        return isInt ? static_cast<double>(i) : d;
    }
    case varEmpty: case varNull: case varSmallint: case varInteger: case varShortInt:
    case varByte: case varWord: case varLongWord: case varInt64: case varBoolean: case varObject:
        return static_cast<double>(toInt64());
    default:
        conversionError(vt_, "Double");
    }
}

bool Variant::toBool() const
{
    switch (vt_) {
    case varBoolean: return u_.b;
    case varEmpty: case varNull: return false;
    case varSingle: return u_.f != 0;
    case varDouble: case varDate: return u_.d != 0;
    case varString: {
        std::string_view s = trimBlanks(stringView());
        if (s.empty())
            return false;
        if (equalsIgnoreCaseAscii(s, "true"))
            return true;
        if (equalsIgnoreCaseAscii(s, "false"))
            return false;
        bool isInt = false;
        std::int64_t i = 0;
        double d = 0;
        if (!stringToNumber(s, isInt, i, d))
            conversionError(vt_, "Boolean");
        return isInt ? i != 0 : d != 0;
    }
    case varUInt64: return u_.u64 != 0;
    case varDispatch:
    case varError:
        conversionError(vt_, "Boolean");
    default:
        if (isArray())
            conversionError(vt_, "Boolean");
        return toInt64() != 0;
    }
}

std::int64_t Variant::toCurrencyUnits() const
{
    if (vt_ == varCurrency)
        return u_.i64;
    if (isInteger() || vt_ == varBoolean || vt_ <= varNull) {
        std::int64_t v = toInt64();
        if (v > INT64_MAX / 10000 || v < INT64_MIN / 10000)
            overflowError(vt_, "Currency");
        return v * 10000;
    }
    return fromCurrency(toDouble()).u_.i64;
}

std::string Variant::toString() const
{
    switch (vt_) {
    case varEmpty: case varNull: return {};
    case varString: return std::string(stringView());
    case varBoolean: return u_.b ? "True" : "False";
    case varSingle: return formatGeneral(u_.f, 7);
    case varDouble: return formatGeneral(u_.d, 15);
    case varDate: return formatDateTime(u_.d);
    case varCurrency: {
        std::string s = formatFixed(static_cast<double>(u_.i64) / 10000.0, 4);
        while (!s.empty() && s.back() == '0')
            s.pop_back();
        if (!s.empty() && s.back() == '.')
            s.pop_back();
        return s == "-0" ? "0" : s;
    }
    case varUInt64: return std::to_string(u_.u64);
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord:
    case varLongWord: case varInt64: case varObject:
        return std::to_string(toInt64());
    default:
        conversionError(vt_, "String");
    }
}

// ---- strings -----------------------------------------------------------

std::string_view Variant::stringView() const noexcept
{
    if (vt_ != varString || !u_.str)
        return {};
    return {u_.str->chars(), u_.str->size};
}

std::size_t Variant::stringLength() const noexcept
{
    return vt_ == varString && u_.str ? u_.str->size : 0;
}

void Variant::unshareString()
{
    StringRep* old = u_.str;
    if (!old || old->refs == 1)
        return;
    StringRep* copy = StringRep::make(old->size, old->size);
    std::memcpy(copy->chars(), old->chars(), old->size);
    --old->refs;
    u_.str = copy;
}

char* Variant::mutableChars()
{
    if (vt_ != varString)
        throw VariantError("Not a string");
    if (!u_.str)
        return nullptr;
    unshareString();
    return u_.str->chars();
}

void Variant::appendString(std::string_view s)
{
    if (vt_ != varString)
        throw VariantError("Not a string");
    if (s.empty())
        return;
    StringRep* r = u_.str;
    std::size_t oldSize = r ? r->size : 0;
    std::size_t newSize = oldSize + s.size();
    if (r && r->refs == 1 && newSize <= r->capacity) {
        std::memmove(r->chars() + oldSize, s.data(), s.size());
        r->size = static_cast<std::uint32_t>(newSize);
        r->chars()[newSize] = '\0';
        return;
    }
    // Grow geometrically so that repeated appends cost amortised O(1).
    std::size_t cap = newSize < 16 ? 16 : newSize + newSize / 2;
    StringRep* fresh = StringRep::make(newSize, cap);
    if (r)
        std::memcpy(fresh->chars(), r->chars(), oldSize);
    std::memcpy(fresh->chars() + oldSize, s.data(), s.size());
    fresh->chars()[newSize] = '\0';
    if (r && --r->refs == 0)
        std::free(r);
    u_.str = fresh;
    ref_ = true;
}

void Variant::resizeString(std::size_t n, char fill)
{
    if (vt_ != varString)
        throw VariantError("Not a string");
    std::size_t oldSize = stringLength();
    if (n == oldSize)
        return;
    if (n == 0) {
        clear();
        vt_ = varString;
        u_.str = nullptr;
        return;
    }
    if (n < oldSize) {
        unshareString();
        u_.str->size = static_cast<std::uint32_t>(n);
        u_.str->chars()[n] = '\0';
        return;
    }
    std::string pad(n - oldSize, fill);
    appendString(pad);
}

// ---- arrays ------------------------------------------------------------

SafeArray* Variant::mutableArray()
{
    if (!isArray())
        return nullptr;
    if (u_.arr->refCount() > 1) {
        SafeArray* copy = u_.arr->clone();
        if (!copy)
            throw VariantError("Out of memory");
        u_.arr->release();
        u_.arr = copy;
    }
    return u_.arr;
}

} // namespace platform
