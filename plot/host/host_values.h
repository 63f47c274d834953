#pragma once
// The host programs' own values as they reach the control inside arrays of
// doubles: an element whose upper 32 bits are all ones carries, in its
// lower 32 bits, a reference to a nested host value. References resolve
// only through the table the host fills; a number that the table does not
// know is never taken for an address.

#include "platform/automation/handle_table.h"

#include <cstdint>
#include <optional>

namespace halvex::host {

// The reference carried by a list element, or nothing for an ordinary
// number (a NaN with a different pattern included).
std::optional<std::uint32_t> nestedReference(double element) noexcept;
// The element that carries a reference.
double makeNestedReference(std::uint32_t reference) noexcept;

enum class HostValueType : std::int32_t {
    Error = 0,
    Matrix = 5,
    PlotList = 6,
    Function = 8,
    Reference = 22,
    MeshOrSpace = 32,
};

struct HostValue {
    explicit HostValue(HostValueType t) noexcept : type(t) {}
    HostValueType type;
};

// A host matrix: rows × cols doubles, element (i, j) at i + j × rows, and
// optionally the imaginary parts in the same layout. The host keeps the
// memory alive while the value is in the table.
struct HostMatrix : HostValue {
    HostMatrix() noexcept : HostValue(HostValueType::Matrix) {}
    const double* real = nullptr;
    const double* imaginary = nullptr;
    std::int32_t rows = 0;
    std::int32_t cols = 0;
};

class HostValueTable {
public:
    // A reference for a value the host keeps alive until it is removed.
    std::uint32_t add(const HostValue& value);
    bool remove(std::uint32_t reference) noexcept;
    // The value of a live reference, else nullptr.
    const HostValue* find(std::uint32_t reference) const noexcept;
    // The matrix of a live reference to a matrix, else nullptr.
    const HostMatrix* findMatrix(std::uint32_t reference) const noexcept;
    bool empty() const noexcept { return handles_.size() == 0; }

private:
    platform::HandleTable handles_;
};

} // namespace halvex::host
