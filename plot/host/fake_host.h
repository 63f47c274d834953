#pragma once
// A host program in miniature, for tests: it keeps host values (texts,
// matrices, lists, functions, meshes) and its table of nested references,
// fills data ports, answers the evaluation interface's allocator queries,
// provides a small graphics library that records its calls, and counts
// everything the control tells it (messages, events, completed steps,
// locks, values given back) so that a test can check what came back.

#include "plot/host/graphics_library.h"
#include "plot/host/host_context.h"
#include "plot/host/host_framework.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace halvex {
class HostEvaluation;
}

namespace halvex::host {

class FakeHost;

// A value at a data port: a real or complex matrix (or vector, scalar).
class FakeDataValue final : public DataValue {
public:
    FakeDataValue(FakeHost& host, std::int32_t rows, std::int32_t cols, std::vector<double> real,
                  std::vector<double> imaginary = {});
    bool valid = true;
    bool vector = false;
    bool scalar = false;

    bool IsValid() const override { return valid; }
    bool IsScalar() const override { return scalar; }
    bool IsVector() const override { return vector; }
    bool IsMatrix() const override { return !scalar && !vector; }
    bool IsComplex() const override { return !imaginary_.empty(); }
    std::int32_t Rows() const override { return rows_; }
    std::int32_t Columns() const override { return cols_; }
    const double* Lock() override;
    const double* LockImaginary() override;
    void Unlock() override;
    void UnlockImaginary() override;
    void Destroy() override;

    // Locks not yet paired with their unlock.
    int openLocks() const noexcept { return openLocks_; }

private:
    FakeHost& host_;
    std::int32_t rows_, cols_;
    std::vector<double> real_, imaginary_;
    int openLocks_ = 0;
};

class FakePorts final : public DataPorts {
public:
    explicit FakePorts(FakeHost& host) : host_(host) {}
    int GetSize() const override { return int(connected_.size()); }
    void SetSize(int count) override { connected_.resize(std::size_t(count < 0 ? 0 : count), false); }
    bool IsConnected(int port) const override;
    bool IsReady(int port) const override;
    DataValue* Recv(int port) override;
    void Send(int port, DataValue* value) override;

    void Connect(int port, bool on = true);
    void SetReady(int port, bool ready) { notReady_[port] = !ready; }
    // The value the next Recv of the port gives.
    void Put(int port, FakeDataValue* value) { waiting_[port] = value; }
    // What was sent on, port by port.
    std::map<int, std::vector<DataValue*>> sent;

private:
    FakeHost& host_;
    std::vector<bool> connected_;
    std::map<int, bool> notReady_;
    std::map<int, FakeDataValue*> waiting_;
};

// A host function of one or two variables; three make a parametric plot.
struct FakeFunction : HostFunction {
    FakeFunction(std::int32_t variables, std::function<double(double, double)> f)
        : HostFunction(variables), evaluate(std::move(f))
    {}
    std::function<double(double, double)> evaluate;
};

// The graphics library: meshes of functions as drawing calls, every call
// recorded.
class FakeGraphicsLibrary final : public GraphicsLibrary {
public:
    explicit FakeGraphicsLibrary(FakeHost& host) : host_(host) {}

    struct Call {
        std::string entry; // "CreateMesh", "CreateMesh3", "CreateSpace", "CreateSpace3", "GetGraphicsLibError"
        GraphicsRanges ranges;
        std::int32_t listPosition = 0;
        std::uint64_t errorPosition = 0;
    };
    mutable std::vector<Call> calls;
    // The next Create… gives no value (or this error value instead).
    mutable bool failNext = false;
    mutable std::string failWithText;

    const HostValue* GetGraphicsLibError(const HostContext& context, std::int32_t listPosition,
                                         std::uint64_t errorPosition) const override;
    const HostValue* CreateMesh(const HostContext& context, const HostValue& f, const GraphicsRanges& r) const override;
    const HostValue* CreateMesh(const HostContext& context, const HostValue& x, const HostValue& y,
                                const HostValue& z, const GraphicsRanges& r) const override;
    const HostValue* CreateSpace(const HostContext& context, const HostValue& f,
                                 const GraphicsRanges& r) const override;
    const HostValue* CreateSpace(const HostContext& context, const HostValue& x, const HostValue& y,
                                 const HostValue& z, const GraphicsRanges& r) const override;

private:
    const HostValue* Failure(const char* entry, const GraphicsRanges& r) const;
    FakeHost& host_;
};

class FakeHost final : public HostFramework, public AllocatorSource, public HostAllocator {
public:
    FakeHost();
    ~FakeHost() override;

    // HostFramework
    bool InZorvicContainer() const override { return zorvic; }
    bool InPellixContainer() const override { return pellix; }
    std::unique_ptr<DataPorts> createPorts() override;
    void fireHostEvent(HostEvent event, std::string_view message) override;
    void StepComplete() override { ++stepsCompleted; }
    const GraphicsLibrary* graphicsLibrary() const override { return withLibrary ? &library : nullptr; }
    const HostValueTable& values() const override { return table; }
    void PlotKindNotice() override { ++plotKindNotices; }
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    bool InterruptPending() override
    {
        if (whenAsked)
            whenAsked();
        return interrupt;
    }

    // AllocatorSource and HostAllocator
    HostAllocator* QueryAllocator() override;
    const HostValue* MakeText(std::string_view text) override;
    const HostValue* MakeError(const HostValue* text, std::uint64_t position, std::int32_t, std::int32_t) override;
    void Hold(const HostValue* value) override;
    void Release(const HostValue* value) override;
    void AddRef() override { ++allocatorRefs; }
    void ReleaseInterface() override { --allocatorRefs; }

    // Values the host keeps; the references are the table's.
    const HostText& Text(std::string text);
    // rows × cols doubles, element (i, j) at i + j × rows.
    const HostMatrix& Matrix(std::int32_t rows, std::int32_t cols, std::vector<double> real,
                             std::vector<double> imaginary = {});
    // A one-column matrix of references to the values.
    const HostMatrix& List(const std::vector<const HostValue*>& elements);
    const HostPlotList& PlotList(const std::vector<const HostValue*>& values);
    const FakeFunction& Function(std::int32_t variables, std::function<double(double, double)> f);
    const HostReference& Reference(const HostValue& target);
    const HostMesh& Mesh(std::vector<const HostValue*> elements);
    // A drawing call or bounding declaration: its elements as a column.
    const HostMatrix& Call(std::vector<double> elements);
    // The element that refers to a value the table knows.
    double RefTo(const HostValue& value);
    FakeDataValue* PortValue(std::int32_t rows, std::int32_t cols, std::vector<double> real,
                             std::vector<double> imaginary = {});

    // An evaluation as the host calls it: the context carries this host's
    // allocator (none with allocator false).
    const HostValue* Evaluate(HostEvaluation& evaluation, const std::vector<const HostValue*>& args,
                              bool references = false);

    // The text of an error value, or nullptr for anything else.
    static const std::string* ErrorText(const HostValue* value);
    static std::uint64_t ErrorPosition(const HostValue* value);

    bool zorvic = true;
    bool pellix = false;
    bool withLibrary = true;
    bool interrupt = false;
    // Runs whenever the control asks whether to stop.
    std::function<void()> whenAsked;
    bool giveAllocator = true;
    FakeGraphicsLibrary library{*this};
    HostValueTable table;
    HostContext context;

    int stepsCompleted = 0;
    int plotKindNotices = 0;
    int allocatorRefs = 0;
    int holds = 0;          // Hold calls not yet released
    int holdCalls = 0;
    int destroyed = 0;      // port values given back
    std::vector<std::string> messages;
    std::vector<std::pair<HostEvent, std::string>> events;
    FakePorts* inputs = nullptr;  // the first ports made: the control's inputs
    FakePorts* outputs = nullptr; // the second: its outputs

private:
    friend class FakeDataValue;
    template <class T, class... A>
    T& Keep(A&&... a);
    std::vector<std::shared_ptr<HostValue>> owned_; // each deleted as what it is
    std::deque<std::vector<double>> storage_;
    std::deque<HostListCell> cells_;
    std::vector<std::unique_ptr<FakeDataValue>> portValues_;
};

} // namespace halvex::host
