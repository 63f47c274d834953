#pragma once
// The points of the first pass, kept for the second so no line is read
// twice. A value takes four bytes when its text was a short decimal: the
// second pass then gets the very double the first pass computed, by the
// same one division. Other values (defaults, long or exponent forms) are
// marked and kept aside as doubles, in line order.

#include "platform/text/decimal_scan.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace tavrin {

// Sign (bit 31), decimals (bits 27..30, 0..14) and digits (bits 0..26).
using ValueCode = std::uint32_t;
inline constexpr ValueCode kCodeDefault = 0x78000000u; // the coordinate's default
inline constexpr ValueCode kCodeAside = 0x78000001u;   // the next value kept aside

inline ValueCode encodeValue(const platform::DecimalScan& d) noexcept
{
    if (!d.exact)
        return kCodeAside;
    ValueCode sign = static_cast<ValueCode>(d.negative) << 31;
    if (d.mantissa == 0)
        return sign; // a signed zero whatever its exponent, as decimalValue reads it
    if (d.mantissa < (std::uint64_t(1) << 27) && d.exp10 <= 0 && d.exp10 >= -14)
        return sign | static_cast<ValueCode>(-d.exp10) << 27 | static_cast<ValueCode>(d.mantissa);
    return kCodeAside;
}

// The value of a code other than the two marks; the same operations as the
// fast path of platform::decimalValue, so the same bits.
inline double decodeValue(ValueCode c) noexcept
{
    double v = static_cast<double>(c & 0x07FFFFFFu) / platform::decimal_detail::kPow10[(c >> 27) & 15];
    return platform::decimal_detail::withSign(v, c >> 31);
}

// One point between the passes. The first pass writes the three codes; the
// second turns them in place into the point's Z and cell.
struct KeptPoint {
    std::uint32_t w[3];
};
static_assert(sizeof(KeptPoint) == 12);

// The bytes that the stores of one build may take together.
struct KeepBudget {
    std::atomic<std::size_t> used{0};
    std::size_t limit = 0;
};

// An append-only sequence in fixed blocks: no reallocation, no copying, and
// at most one part-filled block. Every block is counted against the budget;
// when it would be exceeded, or memory runs out, push() fails and the caller
// stops keeping.
template <class T>
class BlockStore {
public:
    static constexpr std::size_t kBlock = std::size_t(1) << 14;

    explicit BlockStore(KeepBudget& budget) noexcept : budget_(budget) {}
    BlockStore(const BlockStore&) = delete;
    BlockStore& operator=(const BlockStore&) = delete;

    std::size_t size() const noexcept { return blocks_.size() * kBlock - static_cast<std::size_t>(end_ - next_); }
    T& operator[](std::size_t i) noexcept { return blocks_[i / kBlock][i % kBlock]; }

    // Calls fn(begin, end) for the stretches of [first, first + count) that
    // lie in one block each, in order.
    template <class Fn>
    void forEachRun(std::size_t first, std::size_t count, Fn&& fn)
    {
        while (count) {
            std::size_t offset = first % kBlock, n = kBlock - offset < count ? kBlock - offset : count;
            T* run = blocks_[first / kBlock].get() + offset;
            fn(run, run + n);
            first += n;
            count -= n;
        }
    }

    bool push(const T& v) noexcept
    {
        if (next_ == end_ && !grow())
            return false;
        *next_++ = v;
        return true;
    }

    void clear() noexcept
    {
        budget_.used.fetch_sub(blocks_.size() * sizeof(T) * kBlock, std::memory_order_relaxed);
        blocks_.clear();
        blocks_.shrink_to_fit();
        next_ = end_ = nullptr;
    }
    ~BlockStore() { clear(); }

private:
    bool grow() noexcept
    {
        constexpr std::size_t bytes = sizeof(T) * kBlock;
        if (budget_.used.fetch_add(bytes, std::memory_order_relaxed) + bytes > budget_.limit) {
            budget_.used.fetch_sub(bytes, std::memory_order_relaxed);
            return false;
        }
        try {
            blocks_.push_back(std::make_unique_for_overwrite<T[]>(kBlock));
        } catch (const std::bad_alloc&) {
            budget_.used.fetch_sub(bytes, std::memory_order_relaxed);
            return false;
        }
        next_ = blocks_.back().get();
        end_ = next_ + kBlock;
        return true;
    }

    KeepBudget& budget_;
    std::vector<std::unique_ptr<T[]>> blocks_;
    T* next_ = nullptr; // where the next value goes, in the last block
    T* end_ = nullptr;
};

} // namespace tavrin
