#include "plot/host/fake_host.h"

#include "plot/core/host_evaluation.h"
#include "plot/model/quick_plot_calls.h"

#include <algorithm>
#include <limits>

namespace halvex::host {

// ---- port values ----------------------------------------------------------

FakeDataValue::FakeDataValue(FakeHost& host, std::int32_t rows, std::int32_t cols, std::vector<double> real,
                             std::vector<double> imaginary)
    : host_(host), rows_(rows), cols_(cols), real_(std::move(real)), imaginary_(std::move(imaginary))
{}

const double* FakeDataValue::Lock()
{
    ++openLocks_;
    return real_.empty() ? nullptr : real_.data();
}

const double* FakeDataValue::LockImaginary()
{
    ++openLocks_;
    return imaginary_.empty() ? nullptr : imaginary_.data();
}

void FakeDataValue::Unlock()
{
    --openLocks_;
}

void FakeDataValue::UnlockImaginary()
{
    --openLocks_;
}

void FakeDataValue::Destroy()
{
    ++host_.destroyed;
}

bool FakePorts::IsConnected(int port) const
{
    return port >= 0 && std::size_t(port) < connected_.size() && connected_[std::size_t(port)];
}

bool FakePorts::IsReady(int port) const
{
    auto it = notReady_.find(port);
    return IsConnected(port) && (it == notReady_.end() || !it->second);
}

DataValue* FakePorts::Recv(int port)
{
    auto it = waiting_.find(port);
    if (it == waiting_.end())
        return nullptr;
    DataValue* v = it->second;
    waiting_.erase(it);
    return v;
}

void FakePorts::Send(int port, DataValue* value)
{
    sent[port].push_back(value);
}

void FakePorts::Connect(int port, bool on)
{
    if (port >= GetSize())
        SetSize(port + 1);
    connected_[std::size_t(port)] = on;
}

// ---- the graphics library -------------------------------------------------

namespace {

// Every function this host hands out is a FakeFunction.
double Evaluate(const HostValue& f, double u, double v)
{
    if (f.type != HostValueType::Function)
        return 0.0;
    const auto& fake = static_cast<const FakeFunction&>(f);
    return fake.evaluate ? fake.evaluate(u, v) : 0.0;
}

double Step(double from, double to, std::int32_t count, std::int32_t i)
{
    return count > 1 ? from + (to - from) * double(i) / double(count - 1) : from;
}

// Data points (x, y, z) as the calls of a mesh: the bounds, a vertex array
// in display order (y, z, x), and a strip of triangles per row, or one
// line strip for a curve.
struct MeshMaker {
    FakeHost& host;
    std::vector<double> xyz; // data order
    double lo[3] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                    std::numeric_limits<double>::max()};
    double hi[3] = {-std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
                    -std::numeric_limits<double>::max()};

    void Add(double x, double y, double z)
    {
        const double p[3] = {x, y, z};
        for (int k = 0; k < 3; ++k) {
            xyz.push_back(p[k]);
            lo[k] = std::min(lo[k], p[k]);
            hi[k] = std::max(hi[k], p[k]);
        }
    }
    const HostValue* Make(std::int32_t rows, std::int32_t cols)
    {
        std::vector<const HostValue*> e;
        e.push_back(&host.Call({1, lo[0], hi[0], lo[1], hi[1], lo[2], hi[2]}));
        std::vector<double> display;
        for (std::size_t i = 0; i + 2 < xyz.size(); i += 3)
            display.insert(display.end(), {xyz[i + 1], xyz[i + 2], xyz[i]});
        const auto count = std::int32_t(display.size());
        e.push_back(&host.Call({double(DrawOp::VertexArray), host.RefTo(host.Matrix(count, 1, display))}));
        e.push_back(&host.Call({double(DrawOp::EnableArray), 0}));
        if (cols <= 1) {
            e.push_back(&host.Call({double(DrawOp::DrawArrays), 3, 0, double(rows)}));
        } else {
            for (std::int32_t i = 0; i + 1 < rows; ++i) {
                std::vector<double> strip;
                for (std::int32_t j = 0; j < cols; ++j)
                    strip.insert(strip.end(), {double(i * cols + j), double((i + 1) * cols + j)});
                const auto n = std::int32_t(strip.size());
                e.push_back(&host.Call({double(DrawOp::DrawElements), 5, host.RefTo(host.Matrix(n, 1, strip))}));
            }
        }
        e.push_back(&host.Call({double(DrawOp::DisableArray), 0}));
        return &host.Mesh(std::move(e));
    }
};

} // namespace

const HostValue* FakeGraphicsLibrary::Failure(const char* entry, const GraphicsRanges& r) const
{
    calls.push_back({entry, r});
    if (!failNext)
        return nullptr;
    failNext = false;
    if (failWithText.empty())
        return nullptr;
    const HostValue* text = host_.MakeText(failWithText);
    return host_.MakeError(text, 0, 0, 0);
}

const HostValue* FakeGraphicsLibrary::GetGraphicsLibError(const HostContext&, std::int32_t listPosition,
                                                          std::uint64_t errorPosition) const
{
    calls.push_back({"GetGraphicsLibError", {}, listPosition, errorPosition});
    const HostValue* text = host_.MakeText("no mesh for element " + std::to_string(listPosition));
    return host_.MakeError(text, errorPosition, 0, 0);
}

const HostValue* FakeGraphicsLibrary::CreateMesh(const HostContext&, const HostValue& f,
                                                 const GraphicsRanges& r) const
{
    if (failNext)
        return Failure("CreateMesh", r);
    calls.push_back({"CreateMesh", r});
    MeshMaker mesh{host_, {}};
    for (std::int32_t i = 0; i < r.m; ++i)
        for (std::int32_t j = 0; j < r.n; ++j) {
            double u = Step(r.u0, r.u1, r.m, i), v = Step(r.v0, r.v1, r.n, j);
            mesh.Add(u, v, Evaluate(f, u, v));
        }
    return mesh.Make(r.m, r.n);
}

const HostValue* FakeGraphicsLibrary::CreateMesh(const HostContext&, const HostValue& x, const HostValue& y,
                                                 const HostValue& z, const GraphicsRanges& r) const
{
    if (failNext)
        return Failure("CreateMesh3", r);
    calls.push_back({"CreateMesh3", r});
    MeshMaker mesh{host_, {}};
    for (std::int32_t i = 0; i < r.m; ++i)
        for (std::int32_t j = 0; j < r.n; ++j) {
            double u = Step(r.u0, r.u1, r.m, i), v = Step(r.v0, r.v1, r.n, j);
            mesh.Add(Evaluate(x, u, v), Evaluate(y, u, v), Evaluate(z, u, v));
        }
    return mesh.Make(r.m, r.n);
}

const HostValue* FakeGraphicsLibrary::CreateSpace(const HostContext&, const HostValue& f,
                                                  const GraphicsRanges& r) const
{
    if (failNext)
        return Failure("CreateSpace", r);
    calls.push_back({"CreateSpace", r});
    MeshMaker curve{host_, {}};
    for (std::int32_t i = 0; i < r.m; ++i) {
        double u = Step(r.u0, r.u1, r.m, i);
        curve.Add(u, Evaluate(f, u, 0.0), 0.0);
    }
    return curve.Make(r.m, 1);
}

const HostValue* FakeGraphicsLibrary::CreateSpace(const HostContext&, const HostValue& x, const HostValue& y,
                                                  const HostValue& z, const GraphicsRanges& r) const
{
    if (failNext)
        return Failure("CreateSpace3", r);
    calls.push_back({"CreateSpace3", r});
    MeshMaker curve{host_, {}};
    for (std::int32_t i = 0; i < r.m; ++i) {
        double u = Step(r.u0, r.u1, r.m, i);
        curve.Add(Evaluate(x, u, 0.0), Evaluate(y, u, 0.0), Evaluate(z, u, 0.0));
    }
    return curve.Make(r.m, 1);
}

// ---- the host -------------------------------------------------------------

FakeHost::FakeHost()
{
    context.allocator = this;
}

FakeHost::~FakeHost() = default;

template <class T, class... A>
T& FakeHost::Keep(A&&... a)
{
    auto value = std::make_shared<T>(std::forward<A>(a)...);
    T& kept = *value;
    owned_.push_back(std::move(value));
    return kept;
}

std::unique_ptr<DataPorts> FakeHost::createPorts()
{
    auto ports = std::make_unique<FakePorts>(*this);
    if (!inputs)
        inputs = ports.get();
    else if (!outputs)
        outputs = ports.get();
    return ports;
}

void FakeHost::fireHostEvent(HostEvent event, std::string_view message)
{
    events.emplace_back(event, std::string(message));
}

HostAllocator* FakeHost::QueryAllocator()
{
    if (!giveAllocator)
        return nullptr;
    AddRef();
    return this;
}

const HostValue* FakeHost::MakeText(std::string_view text)
{
    return &Keep<HostText>(std::string(text));
}

const HostValue* FakeHost::MakeError(const HostValue* text, std::uint64_t position, std::int32_t, std::int32_t)
{
    auto& e = Keep<HostError>();
    e.text = text && text->type == HostValueType::Text ? static_cast<const HostText*>(text) : nullptr;
    e.position = position;
    return &e;
}

void FakeHost::Hold(const HostValue*)
{
    ++holds;
    ++holdCalls;
}

void FakeHost::Release(const HostValue*)
{
    --holds;
}

const HostText& FakeHost::Text(std::string text)
{
    return Keep<HostText>(std::move(text));
}

const HostMatrix& FakeHost::Matrix(std::int32_t rows, std::int32_t cols, std::vector<double> real,
                                   std::vector<double> imaginary)
{
    auto& m = Keep<HostMatrix>();
    storage_.push_back(std::move(real));
    m.real = storage_.back().empty() ? nullptr : storage_.back().data();
    if (!imaginary.empty()) {
        storage_.push_back(std::move(imaginary));
        m.imaginary = storage_.back().data();
    }
    m.rows = rows;
    m.cols = cols;
    SetByteSize(m);
    return m;
}

const HostMatrix& FakeHost::List(const std::vector<const HostValue*>& elements)
{
    std::vector<double> refs;
    for (const HostValue* v : elements)
        refs.push_back(RefTo(*v));
    const auto rows = std::int32_t(refs.size());
    return Matrix(rows, 1, std::move(refs));
}

const HostPlotList& FakeHost::PlotList(const std::vector<const HostValue*>& values)
{
    auto& list = Keep<HostPlotList>();
    HostListCell* previous = nullptr;
    for (const HostValue* v : values) {
        cells_.push_back({v, nullptr});
        if (previous)
            previous->next = &cells_.back();
        else
            list.first = &cells_.back();
        previous = &cells_.back();
    }
    return list;
}

const FakeFunction& FakeHost::Function(std::int32_t variables, std::function<double(double, double)> f)
{
    return Keep<FakeFunction>(variables, std::move(f));
}

const HostReference& FakeHost::Reference(const HostValue& target)
{
    return Keep<HostReference>(&target);
}

const HostMesh& FakeHost::Mesh(std::vector<const HostValue*> elements)
{
    auto& mesh = Keep<HostMesh>();
    mesh.elements = std::move(elements);
    return mesh;
}

const HostMatrix& FakeHost::Call(std::vector<double> elements)
{
    const auto n = std::int32_t(elements.size());
    return Matrix(n, 1, std::move(elements));
}

double FakeHost::RefTo(const HostValue& value)
{
    return makeNestedReference(table.add(value));
}

FakeDataValue* FakeHost::PortValue(std::int32_t rows, std::int32_t cols, std::vector<double> real,
                                   std::vector<double> imaginary)
{
    portValues_.push_back(std::make_unique<FakeDataValue>(*this, rows, cols, std::move(real), std::move(imaginary)));
    return portValues_.back().get();
}

const HostValue* FakeHost::Evaluate(HostEvaluation& evaluation, const std::vector<const HostValue*>& args,
                                    bool references)
{
    const HostValue* result = nullptr;
    auto count = std::int32_t(args.size());
    if (references)
        evaluation.EvaluateReferences(&context, count, args.data(), &result);
    else
        evaluation.Evaluate(&context, count, args.data(), &result);
    return result;
}

const std::string* FakeHost::ErrorText(const HostValue* value)
{
    if (!value || value->type != HostValueType::Error)
        return nullptr;
    const auto* e = static_cast<const HostError*>(value);
    static const std::string none;
    return e->text ? &e->text->text : &none;
}

std::uint64_t FakeHost::ErrorPosition(const HostValue* value)
{
    if (!value || value->type != HostValueType::Error)
        return 0;
    return static_cast<const HostError*>(value)->position;
}

} // namespace halvex::host
