#include "platform/automation/safe_array.h"

#include "platform/automation/value_limits.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace platform {

namespace {

bool storedAsVariant(VarType t) noexcept
{
    return t == varVariant || t == varString || t == varOleStr || t == varDispatch ||
           t == varUnknown || t == varObject;
}

} // namespace

std::size_t SafeArray::elementSizeOf(VarType t) noexcept
{
    switch (t) {
    case varShortInt: case varByte: return 1;
    case varSmallint: case varWord: case varBoolean: return 2;
    case varInteger: case varLongWord: case varSingle: case varError: return 4;
    case varDouble: case varDate: case varCurrency: case varInt64: case varUInt64: return 8;
    default: return storedAsVariant(t) ? sizeof(Variant) : 0;
    }
}

bool SafeArray::isStorableElementType(VarType t) noexcept
{
    return elementSizeOf(t) != 0;
}

SafeArray* SafeArray::create(VarType elementType, std::span<const Bound> bounds) noexcept
{
    std::size_t elemSize = elementSizeOf(elementType);
    if (elemSize == 0 || bounds.empty() || bounds.size() > 64)
        return nullptr;
    std::uint64_t count = 1;
    for (const Bound& b : bounds) {
        count *= b.count;
        if (count > kMaxElements || count > valueLimits().maxArrayElements)
            return nullptr;
        // The last index must stay a 32-bit signed value.
        if (b.count && std::int64_t(b.lower) + std::int64_t(b.count) - 1 > INT32_MAX)
            return nullptr;
    }
    auto* a = new (std::nothrow) SafeArray;
    if (!a)
        return nullptr;
    try {
        a->bounds_.assign(bounds.begin(), bounds.end());
    } catch (...) {
        delete a;
        return nullptr;
    }
    a->elemType_ = elementType;
    a->elemSize_ = elemSize;
    a->count_ = static_cast<std::size_t>(count);
    a->storesVariants_ = storedAsVariant(elementType);
    if (count) {
        a->data_ = std::calloc(a->count_, elemSize);
        if (!a->data_) {
            delete a;
            return nullptr;
        }
        if (a->storesVariants_) {
            auto* v = static_cast<Variant*>(a->data_);
            for (std::size_t i = 0; i < a->count_; ++i)
                new (v + i) Variant;
        }
    }
    return a;
}

SafeArray::~SafeArray()
{
    if (storesVariants_ && data_) {
        auto* v = static_cast<Variant*>(data_);
        for (std::size_t i = 0; i < count_; ++i)
            v[i].~Variant();
    }
    std::free(data_);
}

void SafeArray::release() noexcept
{
    if (--refs_ == 0)
        delete this;
}

SafeArray* SafeArray::clone() const noexcept
{
    SafeArray* c = create(elemType_, bounds_);
    if (!c)
        return nullptr;
    if (storesVariants_) {
        auto* dst = static_cast<Variant*>(c->data_);
        const auto* src = static_cast<const Variant*>(data_);
        for (std::size_t i = 0; i < count_; ++i)
            dst[i] = src[i];
    } else if (count_) {
        std::memcpy(c->data_, data_, count_ * elemSize_);
    }
    return c;
}

std::optional<std::size_t> SafeArray::offsetOf(std::span<const std::int32_t> indices) const noexcept
{
    if (indices.size() != bounds_.size())
        return std::nullopt;
    std::size_t offset = 0, stride = 1;
    for (std::size_t d = 0; d < bounds_.size(); ++d) {
        std::int64_t rel = std::int64_t(indices[d]) - bounds_[d].lower;
        if (rel < 0 || rel >= std::int64_t(bounds_[d].count))
            return std::nullopt;
        offset += static_cast<std::size_t>(rel) * stride;
        stride *= bounds_[d].count;
    }
    return offset;
}

Variant SafeArray::get(std::size_t i) const
{
    if (i >= count_)
        throw VariantError("Array index out of bounds");
    const char* p = static_cast<const char*>(data_) + i * elemSize_;
    auto load = [p](auto v) { std::memcpy(&v, p, sizeof v); return v; };
    switch (elemType_) {
    case varShortInt: return Variant::fromInt8(load(std::int8_t{}));
    case varByte: return Variant::fromUInt8(load(std::uint8_t{}));
    case varSmallint: return Variant::fromInt16(load(std::int16_t{}));
    case varWord: return Variant::fromUInt16(load(std::uint16_t{}));
    case varBoolean: return Variant(load(std::int16_t{}) != 0);
    case varInteger: return Variant::fromInt32(load(std::int32_t{}));
    case varError: return Variant::fromError(load(std::int32_t{}));
    case varLongWord: return Variant::fromUInt32(load(std::uint32_t{}));
    case varSingle: return Variant::fromSingle(load(float{}));
    case varDouble: return Variant(load(double{}));
    case varDate: return Variant::fromDate(load(double{}));
    case varCurrency: return Variant::fromCurrencyUnits(load(std::int64_t{}));
    case varInt64: return Variant::fromInt64(load(std::int64_t{}));
    case varUInt64: return Variant::fromUInt64(load(std::uint64_t{}));
    default: return static_cast<const Variant*>(data_)[i];
    }
}

void SafeArray::put(std::size_t i, const Variant& v)
{
    if (i >= count_)
        throw VariantError("Array index out of bounds");
    char* p = static_cast<char*>(data_) + i * elemSize_;
    auto store = [p](auto x) { std::memcpy(p, &x, sizeof x); };
    auto ranged = [&v](std::int64_t lo, std::int64_t hi) {
        std::int64_t x = v.toInt64();
        if (x < lo || x > hi)
            throw VariantError(std::string("Overflow while converting variant of type (") +
                               varTypeName(v.type()) + ")");
        return x;
    };
    switch (elemType_) {
    case varShortInt: store(static_cast<std::int8_t>(ranged(INT8_MIN, INT8_MAX))); break;
    case varByte: store(static_cast<std::uint8_t>(ranged(0, UINT8_MAX))); break;
    case varSmallint: store(static_cast<std::int16_t>(ranged(INT16_MIN, INT16_MAX))); break;
    case varWord: store(static_cast<std::uint16_t>(ranged(0, UINT16_MAX))); break;
    case varBoolean: store(static_cast<std::int16_t>(v.toBool() ? -1 : 0)); break;
    case varInteger: store(v.toInt32()); break;
    case varError: store(v.toInt32()); break;
    case varLongWord: store(static_cast<std::uint32_t>(ranged(0, UINT32_MAX))); break;
    case varSingle: store(static_cast<float>(v.toDouble())); break;
    case varDouble: case varDate: store(v.toDouble()); break;
    case varCurrency: store(v.toCurrencyUnits()); break;
    case varInt64: store(v.toInt64()); break;
    case varUInt64: store(static_cast<std::uint64_t>(ranged(0, INT64_MAX))); break;
    case varString: case varOleStr:
        static_cast<Variant*>(data_)[i] = v.isString() ? v : Variant(v.toString());
        break;
    case varDispatch:
        if (!v.isDispatch() && !v.isEmpty())
            throw VariantError(std::string("Could not convert variant of type (") + varTypeName(v.type()) +
                               ") into type (Dispatch)");
        static_cast<Variant*>(data_)[i] = v;
        break;
    default:
        static_cast<Variant*>(data_)[i] = v;
        break;
    }
}

} // namespace platform
