#pragma once
// The host programs' own values as they reach the control inside arrays of
// doubles: an element whose upper 32 bits are all ones carries, in its
// lower 32 bits, a reference to a nested host value. References resolve
// only through the table the host fills; a number that the table does not
// know is never taken for an address.

#include "platform/automation/handle_table.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace halvex::host {

// The reference carried by a list element, or nothing for an ordinary
// number (a NaN with a different pattern included).
std::optional<std::uint32_t> nestedReference(double element) noexcept;
// The element that carries a reference.
double makeNestedReference(std::uint32_t reference) noexcept;

enum class HostValueType : std::int32_t {
    Error = 0,
    Text = 2, // our hosts' text value
    Matrix = 5,
    PlotList = 6,
    Function = 8,
    Reference = 22,
    MeshOrSpace = 32,
};

// The host's records, as far as the control reads them. The host owns
// them; a record's pointers lead to other records of the same host and
// stay valid while the record is in use.
struct HostValue {
    explicit HostValue(HostValueType t) noexcept : type(t) {}
    HostValueType type;
};

struct HostText : HostValue {
    explicit HostText(std::string t = {}) : HostValue(HostValueType::Text), text(std::move(t)) {}
    std::string text;
};

// An error value: its text and where in the host's expression it arose.
struct HostError : HostValue {
    HostError() noexcept : HostValue(HostValueType::Error) {}
    const HostText* text = nullptr;
    std::uint64_t position = 0;
};

// A host matrix: rows × cols doubles, element (i, j) at i + j × rows, and
// optionally the imaginary parts in the same layout. byteSize is
// rows × cols × 8; hostField is the host's own and passed on unread.
struct HostMatrix : HostValue {
    HostMatrix() noexcept : HostValue(HostValueType::Matrix) {}
    std::int32_t hostField = 0;
    std::int32_t byteSize = 0;
    const double* real = nullptr;
    const double* imaginary = nullptr;
    std::int32_t rows = 0;
    std::int32_t cols = 0;
};

// The record can be read: rows and cols not negative, byteSize their
// product times 8 (worked out in 64 bits), and the real parts present
// when there is any element.
bool WellFormed(const HostMatrix& m) noexcept;
// rows × cols of a well-formed record.
inline std::size_t ElementCount(const HostMatrix& m) noexcept
{
    return std::size_t(m.rows) * std::size_t(m.cols);
}
// Fills byteSize from rows and cols (for hosts and the control's own
// records).
void SetByteSize(HostMatrix& m) noexcept;

// A list of plots: a chain of cells, each with its value.
struct HostListCell {
    const HostValue* value = nullptr;
    const HostListCell* next = nullptr;
};
struct HostPlotList : HostValue {
    HostPlotList() noexcept : HostValue(HostValueType::PlotList) {}
    const HostListCell* first = nullptr;
};

// A function of the host's (`aLambda`); its graphics library evaluates it.
struct HostFunction : HostValue {
    explicit HostFunction(std::int32_t v = 1) noexcept : HostValue(HostValueType::Function), variables(v) {}
    std::int32_t variables;
};

struct HostReference : HostValue {
    explicit HostReference(const HostValue* t = nullptr) noexcept : HostValue(HostValueType::Reference), target(t) {}
    const HostValue* target;
};

// A mesh or space value of the host's graphics library: drawing calls
// (matrices), bounding declarations (matrices) and polyhedron requests
// (texts), in order.
struct HostMesh : HostValue {
    HostMesh() noexcept : HostValue(HostValueType::MeshOrSpace) {}
    std::vector<const HostValue*> elements;
};

class HostValueTable {
public:
    // A reference for a value the host keeps alive until it is removed.
    std::uint32_t add(const HostValue& value);
    bool remove(std::uint32_t reference) noexcept;
    // The value of a live reference, else nullptr.
    const HostValue* find(std::uint32_t reference) const noexcept;
    // The matrix of a live reference to a well-formed matrix, else nullptr.
    const HostMatrix* findMatrix(std::uint32_t reference) const noexcept;
    bool empty() const noexcept { return handles_.size() == 0; }

private:
    platform::HandleTable handles_;
};

} // namespace halvex::host
