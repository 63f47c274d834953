#include "plot/host/host_values.h"

#include <bit>

namespace halvex::host {

namespace {
// One tag for every host value; the value's own type field tells them apart.
const char kHostValueKind = 0;
} // namespace

std::optional<std::uint32_t> nestedReference(double element) noexcept
{
    auto bits = std::bit_cast<std::uint64_t>(element);
    if ((bits >> 32) != 0xFFFFFFFFu)
        return std::nullopt;
    return static_cast<std::uint32_t>(bits);
}

double makeNestedReference(std::uint32_t reference) noexcept
{
    return std::bit_cast<double>((std::uint64_t(0xFFFFFFFFu) << 32) | reference);
}

std::uint32_t HostValueTable::add(const HostValue& value)
{
    return static_cast<std::uint32_t>(handles_.add(const_cast<HostValue*>(&value), &kHostValueKind));
}

bool HostValueTable::remove(std::uint32_t reference) noexcept
{
    if (reference > std::uint32_t(INT32_MAX))
        return false;
    return handles_.remove(static_cast<std::int32_t>(reference));
}

const HostValue* HostValueTable::find(std::uint32_t reference) const noexcept
{
    if (reference > std::uint32_t(INT32_MAX))
        return nullptr;
    return static_cast<const HostValue*>(handles_.find(static_cast<std::int32_t>(reference), &kHostValueKind));
}

const HostMatrix* HostValueTable::findMatrix(std::uint32_t reference) const noexcept
{
    const HostValue* v = find(reference);
    if (!v || v->type != HostValueType::Matrix)
        return nullptr;
    const auto* m = static_cast<const HostMatrix*>(v);
    return WellFormed(*m) ? m : nullptr;
}

bool WellFormed(const HostMatrix& m) noexcept
{
    if (m.rows < 0 || m.cols < 0)
        return false;
    const std::int64_t elements = std::int64_t(m.rows) * std::int64_t(m.cols);
    if (elements * 8 != std::int64_t(m.byteSize))
        return false;
    return elements == 0 || m.real;
}

void SetByteSize(HostMatrix& m) noexcept
{
    const std::int64_t bytes = std::int64_t(m.rows) * std::int64_t(m.cols) * 8;
    m.byteSize = bytes >= 0 && bytes <= INT32_MAX ? std::int32_t(bytes) : -1;
}

} // namespace halvex::host
