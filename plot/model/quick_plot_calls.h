#pragma once
// The recorded drawing calls of a quick plot. A call is its operation and
// its argument words (32-bit words, a number taking two); calls live in
// blocks of 2048 bytes from an arena the list owns (a call longer than a
// block gets a block of its own), and the list keeps them in order for the
// replay.
//
// The operations are the vocabulary of the host's graphics library, our
// own table: each has a fixed list of arguments, numbers or arrays (an
// array is recorded as its count of doubles, itself a number, followed by
// the doubles), and only operations of the table are ever performed. Every
// call is a whole number of doubles long and blocks are aligned for them,
// so the doubles of a call are aligned too.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace halvex {

// The first element of a host's drawing call. 0 is no operation and 1 the
// bounding declaration, which is not a drawing call.
enum class DrawOp : std::int32_t {
    Begin = 2,         // mode: 0 points … 9 polygon, as the library numbers them
    End = 3,
    Vertex = 4,        // x, y, z
    Normal = 5,        // x, y, z
    Color = 6,         // red, green, blue, alpha in 0 … 1
    EdgeFlag = 7,      // 0 or 1: the edge from the next vertex is outlined
    VertexArray = 8,   // array of x, y, z
    NormalArray = 9,   // array of x, y, z
    ColorArray = 10,   // array of red, green, blue, alpha
    EnableArray = 11,  // 0 vertex, 1 normal, 2 colour array
    DisableArray = 12, // likewise
    ArrayElement = 13, // index into the enabled arrays
    DrawArrays = 14,   // mode, first, count
    DrawElements = 15, // mode, array of indices
    PushState = 16,    // saves the colour, lighting and switches
    PopState = 17,
    Enable = 18,       // 0 lighting, 1 colour follows material, 2 face culling, 3 normalising
    Disable = 19,      // likewise
    PushMatrix = 20,
    PopMatrix = 21,
    Translate = 22,    // x, y, z
    Rotate = 23,       // degrees, axis x, y, z
    Scale = 24,        // x, y, z
};

constexpr std::int32_t kFirstDrawOp = 2;
constexpr std::int32_t kLastDrawOp = 24;

// 'n' a number, 'a' an array.
struct DrawOpInfo {
    DrawOp op;
    std::string_view name;
    std::string_view arguments;
};

// The table entry of an operation number, or nullptr.
const DrawOpInfo* FindDrawOp(std::int32_t op) noexcept;

// Number of words a call of the operation takes, with the lengths of its
// arrays in order; 0 when the lengths do not match the operation.
std::size_t CallWordCount(const DrawOpInfo& info, std::span<const std::size_t> arrayLengths) noexcept;

class RecordedCalls {
public:
    struct Call {
        std::uint32_t byteLength; // of the argument words
        DrawOp op;
        const std::uint32_t* words() const noexcept { return reinterpret_cast<const std::uint32_t*>(this + 1); }
        std::size_t wordCount() const noexcept { return byteLength / 4; }
    };
    static_assert(sizeof(Call) == 8);

    static constexpr std::size_t kBlockBytes = 2048;

    RecordedCalls() = default;
    RecordedCalls(RecordedCalls&&) noexcept = default;
    RecordedCalls& operator=(RecordedCalls&&) noexcept = default;

    // Room for a call of wordCount words, filled by the caller before the
    // next Append. Throws std::bad_alloc when memory runs out.
    std::uint32_t* Append(DrawOp op, std::size_t wordCount);
    const std::vector<const Call*>& calls() const noexcept { return calls_; }
    bool empty() const noexcept { return calls_.empty(); }
    std::size_t blockCount() const noexcept { return blocks_.size(); }
    void Clear() noexcept;
    // Forgets the calls after the first count (their memory stays with the
    // arena until it is cleared).
    void Truncate(std::size_t count) noexcept
    {
        if (count < calls_.size())
            calls_.resize(count);
    }

private:
    std::vector<std::unique_ptr<std::byte[]>> blocks_;
    std::size_t used_ = 0;     // bytes used of the shared block
    std::size_t capacity_ = 0; // bytes of the shared block
    std::byte* shared_ = nullptr; // the block small calls go to
    std::vector<const Call*> calls_;
};

// A double as two words and back.
void PutNumber(std::uint32_t* words, double value) noexcept;
double GetNumber(const std::uint32_t* words) noexcept;

// Appends a call whose arguments are all numbers (checked against the
// table in debug builds).
void RecordCall(RecordedCalls& calls, DrawOp op, std::initializer_list<double> numbers);
// Appends a call of one array argument.
void RecordArrayCall(RecordedCalls& calls, DrawOp op, std::span<const double> values);

} // namespace halvex
