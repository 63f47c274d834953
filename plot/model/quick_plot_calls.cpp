#include "plot/model/quick_plot_calls.h"

#include <array>
#include <cassert>
#include <cstring>
#include <new>

namespace halvex {

namespace {

constexpr std::array<DrawOpInfo, kLastDrawOp - kFirstDrawOp + 1> kDrawOps{{
    {DrawOp::Begin, "Begin", "n"},
    {DrawOp::End, "End", ""},
    {DrawOp::Vertex, "Vertex", "nnn"},
    {DrawOp::Normal, "Normal", "nnn"},
    {DrawOp::Color, "Color", "nnnn"},
    {DrawOp::EdgeFlag, "EdgeFlag", "n"},
    {DrawOp::VertexArray, "VertexArray", "a"},
    {DrawOp::NormalArray, "NormalArray", "a"},
    {DrawOp::ColorArray, "ColorArray", "a"},
    {DrawOp::EnableArray, "EnableArray", "n"},
    {DrawOp::DisableArray, "DisableArray", "n"},
    {DrawOp::ArrayElement, "ArrayElement", "n"},
    {DrawOp::DrawArrays, "DrawArrays", "nnn"},
    {DrawOp::DrawElements, "DrawElements", "na"},
    {DrawOp::PushState, "PushState", ""},
    {DrawOp::PopState, "PopState", ""},
    {DrawOp::Enable, "Enable", "n"},
    {DrawOp::Disable, "Disable", "n"},
    {DrawOp::PushMatrix, "PushMatrix", ""},
    {DrawOp::PopMatrix, "PopMatrix", ""},
    {DrawOp::Translate, "Translate", "nnn"},
    {DrawOp::Rotate, "Rotate", "nnnn"},
    {DrawOp::Scale, "Scale", "nnn"},
}};

constexpr bool TableInOrder()
{
    for (std::size_t i = 0; i < kDrawOps.size(); ++i)
        if (std::int32_t(kDrawOps[i].op) != kFirstDrawOp + std::int32_t(i))
            return false;
    return true;
}
static_assert(TableInOrder(), "operation k is kDrawOps[k - kFirstDrawOp]");

constexpr std::size_t kHeaderWords = sizeof(RecordedCalls::Call) / 4;

} // namespace

const DrawOpInfo* FindDrawOp(std::int32_t op) noexcept
{
    if (op < kFirstDrawOp || op > kLastDrawOp)
        return nullptr;
    return &kDrawOps[std::size_t(op - kFirstDrawOp)];
}

std::size_t CallWordCount(const DrawOpInfo& info, std::span<const std::size_t> arrayLengths) noexcept
{
    std::size_t words = 0, arrays = 0;
    for (char kind : info.arguments) {
        if (kind == 'n') {
            words += 2;
        } else {
            if (arrays >= arrayLengths.size())
                return 0;
            words += 2 + 2 * arrayLengths[arrays++];
        }
    }
    return arrays == arrayLengths.size() ? words : 0;
}

std::uint32_t* RecordedCalls::Append(DrawOp op, std::size_t wordCount)
{
    if (wordCount > (UINT32_MAX - 8) / 4)
        throw std::bad_alloc();
    // Whole doubles, so that the next call stays aligned.
    const std::size_t bytes = (kHeaderWords + wordCount + (wordCount & 1)) * 4;
    std::byte* at = nullptr;
    calls_.reserve(calls_.size() + 1);
    if (bytes > kBlockBytes) {
        // A block of its own; the shared block stays the one to fill.
        blocks_.push_back(std::make_unique<std::byte[]>(bytes));
        at = blocks_.back().get();
    } else {
        if (!shared_ || used_ + bytes > capacity_) {
            blocks_.push_back(std::make_unique<std::byte[]>(kBlockBytes));
            shared_ = blocks_.back().get();
            used_ = 0;
            capacity_ = kBlockBytes;
        }
        at = shared_ + used_;
        used_ += bytes;
    }
    auto* call = reinterpret_cast<Call*>(at);
    call->byteLength = std::uint32_t(wordCount * 4);
    call->op = op;
    calls_.push_back(call);
    return reinterpret_cast<std::uint32_t*>(at + sizeof(Call));
}

void RecordedCalls::Clear() noexcept
{
    calls_.clear();
    blocks_.clear();
    shared_ = nullptr;
    used_ = capacity_ = 0;
}

void PutNumber(std::uint32_t* words, double value) noexcept
{
    std::memcpy(words, &value, sizeof value);
}

double GetNumber(const std::uint32_t* words) noexcept
{
    double value;
    std::memcpy(&value, words, sizeof value);
    return value;
}

void RecordCall(RecordedCalls& calls, DrawOp op, std::initializer_list<double> numbers)
{
    assert(FindDrawOp(std::int32_t(op))->arguments.size() == numbers.size());
    std::uint32_t* w = calls.Append(op, 2 * numbers.size());
    for (double v : numbers) {
        PutNumber(w, v);
        w += 2;
    }
}

void RecordArrayCall(RecordedCalls& calls, DrawOp op, std::span<const double> values)
{
    assert(FindDrawOp(std::int32_t(op))->arguments == "a");
    std::uint32_t* w = calls.Append(op, 2 + 2 * values.size());
    PutNumber(w, double(values.size()));
    if (!values.empty())
        std::memcpy(w + 2, values.data(), values.size() * sizeof(double));
}

} // namespace halvex
