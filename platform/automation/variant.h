#pragma once
// Variant: the one value type of scripts and automation alike.
//
// Sixteen bytes: an eight-byte payload and a type code. Strings and arrays
// are shared and copied only when written (copy-on-write), so copying a
// Variant never copies text or elements. Automation objects are held by
// reference count. A Variant is not meant to be shared between threads.

#include "platform/automation/var_type.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

class Dispatch;
class SafeArray;
template <class T>
class Ref;

// A conversion or operation the value model does not define.
class VariantError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Variant {
public:
    Variant() noexcept : vt_(varEmpty) { u_.i64 = 0; }
    Variant(const Variant& o) noexcept : u_(o.u_), vt_(o.vt_), ref_(o.ref_) { if (ref_) retain(); }
    Variant(Variant&& o) noexcept : u_(o.u_), vt_(o.vt_), ref_(o.ref_)
    {
        o.vt_ = varEmpty;
        o.ref_ = false;
    }
    ~Variant() { if (ref_) releaseSlow(); }

    // Inline: the interpreter assigns Variants in its innermost loops.
    Variant& operator=(const Variant& o) noexcept
    {
        if (this != &o) {
            if (o.ref_)
                o.retain();
            if (ref_)
                releaseSlow();
            u_ = o.u_;
            vt_ = o.vt_;
            ref_ = o.ref_;
        }
        return *this;
    }
    Variant& operator=(Variant&& o) noexcept
    {
        if (this != &o) {
            if (ref_)
                releaseSlow();
            u_ = o.u_;
            vt_ = o.vt_;
            ref_ = o.ref_;
            o.vt_ = varEmpty;
            o.ref_ = false;
        }
        return *this;
    }

    // Constructors for the common kinds.
    Variant(bool b) noexcept : vt_(varBoolean) { u_.i64 = 0; u_.b = b; }
    Variant(int v) noexcept : vt_(varInteger) { u_.i64 = 0; u_.i32 = v; }
    Variant(double v) noexcept : vt_(varDouble) { u_.d = v; }
    Variant(std::string_view s);
    Variant(const char* s) : Variant(std::string_view(s)) {}
    Variant(const std::string& s) : Variant(std::string_view(s)) {}
    Variant(Dispatch* d) noexcept;
    Variant(const Ref<Dispatch>& d) noexcept;
    Variant(SafeArray* a) noexcept; // shares the array (adds a reference)
    Variant(const Ref<SafeArray>& a) noexcept;

    static Variant null() noexcept { Variant v; v.vt_ = varNull; return v; }
    static Variant fromInt8(std::int8_t v) noexcept { return raw(varShortInt, v); }
    static Variant fromUInt8(std::uint8_t v) noexcept { return raw(varByte, v); }
    static Variant fromInt16(std::int16_t v) noexcept { return raw(varSmallint, v); }
    static Variant fromUInt16(std::uint16_t v) noexcept { return raw(varWord, v); }
    static Variant fromInt32(std::int32_t v) noexcept { return raw(varInteger, v); }
    static Variant fromUInt32(std::uint32_t v) noexcept { return raw(varLongWord, v); }
    static Variant fromInt64(std::int64_t v) noexcept { return raw(varInt64, v); }
    static Variant fromUInt64(std::uint64_t v) noexcept
    {
        Variant r; r.vt_ = varUInt64; r.u_.u64 = v; return r;
    }
    static Variant fromSingle(float v) noexcept { Variant r; r.vt_ = varSingle; r.u_.i64 = 0; r.u_.f = v; return r; }
    static Variant fromDouble(double v) noexcept { return Variant(v); }
    // Currency is a fixed-point number held in units of 1/10000.
    static Variant fromCurrencyUnits(std::int64_t units) noexcept { return raw(varCurrency, units); }
    static Variant fromCurrency(double v); // rounds to 1/10000, error when out of range
    // Date-time: days since 30 December 1899, time as the fraction of a day.
    static Variant fromDate(double serial) noexcept { Variant r; r.vt_ = varDate; r.u_.d = serial; return r; }
    static Variant fromError(std::int32_t scode) noexcept { return raw(varError, scode); }
    static Variant fromObject(std::int32_t handle) noexcept { return raw(varObject, handle); }

    VarType type() const noexcept { return vt_; }
    bool isEmpty() const noexcept { return vt_ == varEmpty; }
    bool isNull() const noexcept { return vt_ == varNull; }
    bool isEmptyOrNull() const noexcept { return vt_ <= varNull; }
    bool isString() const noexcept { return vt_ == varString; }
    bool isArray() const noexcept { return (vt_ & varArray) != 0; }
    bool isDispatch() const noexcept { return vt_ == varDispatch; }
    bool isBool() const noexcept { return vt_ == varBoolean; }
    bool isObject() const noexcept { return vt_ == varObject; }
    // Integer kinds of any width and sign (not Boolean, not object references).
    bool isInteger() const noexcept;
    // Single, double, currency or date-time.
    bool isFloat() const noexcept;
    bool isNumeric() const noexcept { return isInteger() || isFloat(); }

    // Unchecked payload access; valid only for the matching type().
    std::int32_t rawInt32() const noexcept { return u_.i32; }
    std::int64_t rawInt64() const noexcept { return u_.i64; }
    double rawDouble() const noexcept { return u_.d; }
    bool rawBool() const noexcept { return u_.b; }

    // Conversions by the value model; they throw VariantError when the
    // value has no such form.
    std::int32_t toInt32() const;     // floats round half to even; range checked
    std::int64_t toInt64() const;
    double toDouble() const;
    bool toBool() const;
    std::string toString() const;     // numbers always in "." form
    std::int64_t toCurrencyUnits() const;

    // Text of a string Variant (empty for any other kind).
    std::string_view stringView() const noexcept;
    std::size_t stringLength() const noexcept;
    // Writable characters of a string Variant, unshared first; the length
    // does not change. Valid until the Variant is next modified.
    char* mutableChars();
    void appendString(std::string_view s); // this must be a string
    void resizeString(std::size_t n, char fill = ' ');

    // The array of an array Variant, or nullptr.
    const SafeArray* array() const noexcept { return isArray() ? u_.arr : nullptr; }
    // The array, unshared first so that writes reach only this Variant.
    SafeArray* mutableArray();

    Dispatch* dispatch() const noexcept { return vt_ == varDispatch ? u_.disp : nullptr; }

    void clear() noexcept
    {
        if (ref_) releaseSlow();
        vt_ = varEmpty;
        ref_ = false;
        u_.i64 = 0;
    }
    void swap(Variant& o) noexcept
    {
        std::swap(u_, o.u_);
        std::swap(vt_, o.vt_);
        std::swap(ref_, o.ref_);
    }

private:
    struct StringRep;
    template <class T>
    static Variant raw(VarType t, T v) noexcept { Variant r; r.vt_ = t; r.u_.i64 = static_cast<std::int64_t>(v); return r; }

    // Strings, arrays and automation objects carry a reference (ref_ set).
    void retain() const noexcept;
    void releaseSlow() noexcept;
    void unshareString();

    union Payload {
        std::int64_t i64;
        std::uint64_t u64;
        std::int32_t i32;
        double d;
        float f;
        bool b;
        StringRep* str;
        SafeArray* arr;
        Dispatch* disp;
    } u_;
    VarType vt_;
    bool ref_ = false;

    friend class SafeArray;
};

static_assert(sizeof(void*) == 8 ? sizeof(Variant) == 16 : true, "Variant must stay compact");

} // namespace platform
