#pragma once
// The host evaluation interface: the first host program calls the plot as
// a function of one host value. Its reference counting and queries belong
// to the control. No exception leaves it: the host gets success and, when
// the value could not be plotted, an error value made with its own
// constructors; the floating-point environment and the host's allocator
// are restored on every path.

#include "platform/automation/guid.h"

#include <cstdint>
#include <exception>
#include <string>

namespace halvex {

class COpenGLCtrl;
namespace host {
struct HostContext;
struct HostMatrix;
struct HostMesh;
struct HostValue;
class HostAllocator;
} // namespace host

// The host's constructors while an evaluation runs (process-wide), else
// nullptr.
host::HostAllocator* CurrentHostAllocator() noexcept;

// A failure the host is told as text ("must be array" and the like).
class HostMessage : public std::exception {
public:
    explicit HostMessage(std::string text) : text_(std::move(text)) {}
    const char* what() const noexcept override { return text_.c_str(); }

private:
    std::string text_;
};

// The graphics library made no mesh of the functions of a list element;
// result is what it answered instead (an error value), if anything.
class CreateMeshException : public std::exception {
public:
    CreateMeshException(std::int32_t listPosition, const host::HostValue* result) noexcept
        : listPosition_(listPosition), result_(result)
    {}
    std::int32_t listPosition() const noexcept { return listPosition_; }
    const host::HostValue* result() const noexcept { return result_; }
    const char* what() const noexcept override { return "no mesh"; }

private:
    std::int32_t listPosition_;
    const host::HostValue* result_;
};

// Where in a list of n plots the failing element k (1-based) is: 0 for k 0
// or an empty list, ErrorNode (2, 2, 2) for a single plot, else that node
// followed by a step 1 for each of the n − k elements after k and the step
// of element k (1 for the first, 2 for the others). A position that does
// not fit 64 bits saturates to all ones.
std::uint64_t ListErrorPosition(std::int64_t n, std::int64_t k) noexcept;

class HostEvaluation {
public:
    explicit HostEvaluation(COpenGLCtrl& control) noexcept : control_(control) {}

    void AddRef();
    void Release();
    // The interface under the host's identifiers, else nullptr; a found
    // interface is counted.
    HostEvaluation* QueryInterface(const platform::Guid& iid);

    // The slots after the three standard ones, in order.
    std::int32_t Reserved(std::uint32_t value);
    std::int32_t Evaluate(host::HostContext* context, std::int32_t count, const host::HostValue* const* arguments,
                          const host::HostValue** result);
    std::int32_t ClearPlots(std::int32_t flag);
    // Arguments that are references (type 22) stand for their values.
    std::int32_t EvaluateReferences(host::HostContext* context, std::int32_t count,
                                    const host::HostValue* const* arguments, const host::HostValue** result);

private:
    void Plot(const host::HostValue& argument, const host::HostValue*& result);
    // The walks; each throws on the first failure.
    bool ListOfPlots(const host::HostMatrix& list, int base, int depth);
    void WalkPlotList(const host::HostValue& list, std::int64_t& count);
    void PlotElement(const host::HostValue& value, int number);
    void PlotFunctions(const host::HostMatrix& functions, int number);
    void PlotFunction(const host::HostValue& function, int number);
    void PlotMesh(const host::HostValue& mesh, int number);
    const host::HostValue* ErrorValue(const std::string& text, std::uint64_t position) const;

    COpenGLCtrl& control_;
};

} // namespace halvex
