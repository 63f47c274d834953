#pragma once
// SafeArray: an array of any number of dimensions with signed lower bounds,
// stored with the first index fastest. Elements of plain numeric kinds are
// kept raw (a double array is a block of doubles); strings, objects and
// Variants are kept as Variants.
//
// Arrays are reference counted (not atomically: like Variant, an array is
// used on one thread) and shared between Variants until one of them writes.

#include "platform/automation/ref_counted.h"
#include "platform/automation/var_type.h"
#include "platform/automation/variant.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform {

class SafeArray {
public:
    struct Bound {
        std::int32_t lower = 0;
        std::uint32_t count = 0;
    };

    // Largest number of elements an array may hold, whatever its element
    // size; larger requests fail instead of exhausting the machine.
    static constexpr std::uint64_t kMaxElements = std::uint64_t(1) << 27;

    // A new array with every element zero (or Empty). Returns nullptr when
    // the element type is not storable, the shape is empty of dimensions,
    // the element count exceeds kMaxElements, or memory runs out. The
    // caller owns the one reference of the result.
    static SafeArray* create(VarType elementType, std::span<const Bound> bounds) noexcept;
    // Whether arrays of this element type can be made.
    static bool isStorableElementType(VarType t) noexcept;
    static std::size_t elementSizeOf(VarType t) noexcept;

    SafeArray(const SafeArray&) = delete;
    SafeArray& operator=(const SafeArray&) = delete;

    void addRef() noexcept { ++refs_; }
    void release() noexcept;
    std::uint32_t refCount() const noexcept { return refs_; }
    // A deep copy with one reference, or nullptr when memory runs out.
    SafeArray* clone() const noexcept;

    VarType elementType() const noexcept { return elemType_; }
    unsigned dimensions() const noexcept { return static_cast<unsigned>(bounds_.size()); }
    const Bound& bound(unsigned dim) const { return bounds_[dim]; }
    std::int32_t lowerBound(unsigned dim) const { return bounds_[dim].lower; }
    // Upper bound as a 64-bit value: lower + count - 1 may exceed 32 bits.
    std::int64_t upperBound(unsigned dim) const
    {
        return std::int64_t(bounds_[dim].lower) + std::int64_t(bounds_[dim].count) - 1;
    }
    std::size_t elementCount() const noexcept { return count_; }
    std::size_t elementSize() const noexcept { return elemSize_; }

    // The elements in memory order. For a stored-as-Variant element type
    // (see storesVariants) the elements are Variant objects.
    void* data() noexcept { return data_; }
    const void* data() const noexcept { return data_; }
    bool storesVariants() const noexcept { return storesVariants_; }
    Variant* variants() noexcept { return storesVariants_ ? static_cast<Variant*>(data_) : nullptr; }
    const Variant* variants() const noexcept
    {
        return storesVariants_ ? static_cast<const Variant*>(data_) : nullptr;
    }

    // Linear position of an element, or nothing when the number of indices
    // differs from the dimensions or an index is out of bounds.
    std::optional<std::size_t> offsetOf(std::span<const std::int32_t> indices) const noexcept;

    // Element as a Variant of the element type.
    Variant get(std::size_t linear) const;
    // Stores a value converted to the element type (VariantError when the
    // value has no such form).
    void put(std::size_t linear, const Variant& v);

private:
    SafeArray() = default;
    ~SafeArray();

    std::uint32_t refs_ = 1;
    VarType elemType_ = varEmpty;
    bool storesVariants_ = false;
    std::size_t elemSize_ = 0;
    std::size_t count_ = 0;
    std::vector<Bound> bounds_;
    void* data_ = nullptr;
};

} // namespace platform
