#include "plot/core/host_evaluation.h"

#include "platform/automation/dispatch_exception.h"
#include "plot/core/host_failure_text.h"
#include "plot/core/plot_control.h"
#include "plot/base/plot_errors.h"
#include "plot/core/se_exception.h"
#include "plot/host/critical_section.h"
#include "plot/host/graphics_library.h"
#include "plot/host/host_context.h"
#include "plot/model/mesh_builders.h"
#include "plot/model/quick_plot_builder.h"
#include "plot/model/surface_builder.h"

#include <cfenv>
#include <mutex>
#include <utility>

namespace halvex {

namespace {

// Valid only inside the critical section, while an evaluation runs.
host::HostAllocator* gAllocator = nullptr;

// Lists inside lists deeper than this are taken for a list that refers to
// itself.
constexpr int kMaxListDepth = 32;

const char* const kMustBeArray = "must be array";

const host::HostMatrix* ListMatrix(const host::HostValue* v)
{
    if (!v || v->type != host::HostValueType::Matrix)
        return nullptr;
    const auto* m = static_cast<const host::HostMatrix*>(v);
    return host::WellFormed(*m) ? m : nullptr;
}

// A one-column matrix whose first element refers to a nested value.
std::optional<std::uint32_t> FirstReference(const host::HostMatrix& m)
{
    if (m.cols != 1 || m.rows < 1)
        return std::nullopt;
    return host::nestedReference(m.real[0]);
}

std::string TextOf(const host::HostValue& v)
{
    if (v.type == host::HostValueType::Text)
        return static_cast<const host::HostText&>(v).text;
    if (v.type == host::HostValueType::Error) {
        const auto& e = static_cast<const host::HostError&>(v);
        return e.text ? e.text->text : std::string();
    }
    return {};
}

// Keeps a value alive through the host's constructors while it is built.
class Held {
public:
    Held(host::HostAllocator* allocator, const host::HostValue* value) : allocator_(allocator), value_(value)
    {
        if (allocator_)
            allocator_->Hold(value_);
    }
    ~Held()
    {
        if (allocator_)
            allocator_->Release(value_);
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

private:
    host::HostAllocator* allocator_;
    const host::HostValue* value_;
};

const host::HostContext& ContextOf(const COpenGLCtrl& control)
{
    static const host::HostContext none;
    return control.HostContext() ? *control.HostContext() : none;
}

} // namespace

host::HostAllocator* CurrentHostAllocator() noexcept
{
    return gAllocator;
}

std::uint64_t ListErrorPosition(std::int64_t n, std::int64_t k) noexcept
{
    if (k <= 0 || n <= 0)
        return 0;
    std::uint64_t position = host::ErrorNode(2, 2, 2);
    if (n == 1)
        return position;
    const std::int64_t after = n - k;
    if (after < 0 || 4 + 2 * after + 2 > 64)
        return UINT64_MAX;
    for (std::int64_t j = 0; j < after; ++j)
        position |= std::uint64_t(1) << (4 + 2 * j);
    position |= std::uint64_t(k == 1 ? 1 : 2) << (4 + 2 * after);
    return position;
}

void HostEvaluation::AddRef()
{
    control_.addRef();
}

void HostEvaluation::Release()
{
    control_.release();
}

HostEvaluation* HostEvaluation::QueryInterface(const platform::Guid& iid)
{
    if (iid != host::kHostEvaluationIid && iid != host::kHostEvaluationIid2)
        return nullptr;
    AddRef();
    return this;
}

std::int32_t HostEvaluation::Reserved(std::uint32_t)
{
    return platform::status::Ok;
}

std::int32_t HostEvaluation::ClearPlots(std::int32_t flag)
{
    if (flag != 0) {
        try {
            control_.RemoveSurfaces();
        } catch (...) {
        }
    }
    return platform::status::Ok;
}

std::int32_t HostEvaluation::EvaluateReferences(host::HostContext* context, std::int32_t count,
                                                const host::HostValue* const* arguments,
                                                const host::HostValue** result)
{
    std::vector<const host::HostValue*> copy;
    try {
        if (arguments && count > 0) {
            copy.assign(arguments, arguments + count);
            for (const host::HostValue*& v : copy)
                if (v && v->type == host::HostValueType::Reference)
                    v = static_cast<const host::HostReference*>(v)->target;
        }
    } catch (...) {
        if (result)
            *result = nullptr;
        return platform::status::OutOfMemory;
    }
    return Evaluate(context, count, copy.empty() ? arguments : copy.data(), result);
}

const host::HostValue* HostEvaluation::ErrorValue(const std::string& text, std::uint64_t position) const
{
    if (!gAllocator)
        return nullptr;
    const host::HostValue* string = gAllocator->MakeText(text);
    return gAllocator->MakeError(string, position, 0, 0);
}

std::int32_t HostEvaluation::Evaluate(host::HostContext* context, std::int32_t count,
                                      const host::HostValue* const* arguments, const host::HostValue** result)
{
    const host::HostValue* out = nullptr;
    try {
        FloatingPointStep fpu;
        host::HostAllocator* allocator = context && context->allocator ? context->allocator->QueryAllocator() : nullptr;
        RenderLink* renderer = control_.renderer();
        const bool current = renderer && renderer->MakeCurrent();
        std::unique_lock<std::recursive_mutex> section(host::HostCriticalSection());
        host::HostAllocator* previous = std::exchange(gAllocator, allocator);
        control_.hostContext_ = context;
        std::int64_t listCells = -1; // the cells of a list of plots, while one is the argument
        try {
            control_.RemoveSurfaces();
            if (count != control_.inputs().GetSize() || count != 1 || !arguments || !arguments[0]) {
                out = ErrorValue("Wrong number of arguments.", host::ErrorNode(2, 2, 2));
            } else {
                control_.listPosition_ = 0;
                control_.DataBox() = BoundingRecord::empty();
                std::feclearexcept(FE_ALL_EXCEPT);
                const host::HostValue& a = *arguments[0];
                if (a.type == host::HostValueType::PlotList)
                    WalkPlotList(a, listCells);
                else
                    Plot(a, out);
                fpu.ThrowRaised();
            }
        } catch (const CreateMeshException& e) {
            std::uint64_t position = listCells >= 0 ? ListErrorPosition(listCells, control_.listPosition_)
                                                    : host::ErrorNode(2, 2, 2);
            const host::GraphicsLibrary* library = control_.hostFramework().graphicsLibrary();
            if (e.result())
                out = ErrorValue(TextOf(*e.result()), position);
            else if (library)
                out = library->GetGraphicsLibError(ContextOf(control_), e.listPosition(), position);
            else
                out = ErrorValue("Unknown error", position);
        } catch (...) {
            std::uint64_t position = listCells >= 0 ? ListErrorPosition(listCells, control_.listPosition_)
                                                    : host::ErrorNode(2, 2, 2);
            // A trap the host's control word would have sprung comes first:
            // whatever failed after it failed on its result.
            const std::uint32_t raised = fpu.RaisedCode();
            out = ErrorValue(raised ? std::string(StructuredExceptionName(raised)) : HostFailureText(), position);
        }
        control_.RequestRedraw();
        control_.listPosition_ = 0;
        control_.hostContext_ = nullptr;
        control_.RecomputeViewFlags();
        if (current)
            renderer->MakeNotCurrent();
        gAllocator = previous;
        section.unlock();
        if (allocator)
            allocator->ReleaseInterface();
    } catch (...) {
        // Nothing leaves the interface; what was made stays the answer.
    }
    if (result)
        *result = out;
    return platform::status::Ok;
}

void HostEvaluation::Plot(const host::HostValue& a, const host::HostValue*& out)
{
    switch (a.type) {
    case host::HostValueType::Matrix: {
        const host::HostMatrix* m = ListMatrix(&a);
        if (!m)
            throw HostMessage(kMustBeArray);
        if (m->cols == 1 && ListOfPlots(*m, 0, 0))
            return;
        try {
            CglModel* first = control_.FindModel(0);
            if (first && first->ViewAs() == kVectorFieldPlot)
                BuildVectorField(control_, m->real, m->imaginary, m->rows, m->cols, 0);
            else
                BuildSurface(control_, m->real, m->rows, m->cols, 0);
        } catch (...) {
            control_.MarkModified();
            throw;
        }
        return;
    }
    case host::HostValueType::MeshOrSpace:
        PlotMesh(a, 0);
        return;
    case host::HostValueType::Function:
        if (control_.hostFramework().graphicsLibrary()) {
            PlotFunction(a, 0);
            return;
        }
        break;
    case host::HostValueType::Error:
        out = ErrorValue(TextOf(a), host::ErrorNode(2, 2, 2));
        return;
    default:
        break;
    }
    throw HostMessage(kMustBeArray);
}

bool HostEvaluation::ListOfPlots(const host::HostMatrix& list, int base, int depth)
{
    if (depth > kMaxListDepth)
        throw HostMessage(kMustBeArray);
    const host::HostValueTable& values = control_.hostFramework().values();
    for (std::int32_t i = 0; i < list.rows; ++i) {
        auto ref = host::nestedReference(list.real[i]);
        const host::HostValue* v = ref ? values.find(*ref) : nullptr;
        if (!v)
            return false;
        const int number = base + i;
        if (v->type == host::HostValueType::MeshOrSpace) {
            PlotMesh(*v, number);
            continue;
        }
        const host::HostMatrix* m = ListMatrix(v);
        if (!m)
            throw HostMessage(kMustBeArray);
        // A list inside the list: its elements are plots as well.
        auto inner = FirstReference(*m);
        const host::HostValue* first = inner ? values.find(*inner) : nullptr;
        const host::HostMatrix* firstMatrix = ListMatrix(first);
        bool nested = first && (first->type == host::HostValueType::MeshOrSpace ||
                                (firstMatrix && FirstReference(*firstMatrix)));
        if (nested) {
            if (!ListOfPlots(*m, number, depth + 1))
                return false;
        } else if (!control_.BuildNestedValue(*m, number, values)) {
            return false;
        }
    }
    return true;
}

void HostEvaluation::WalkPlotList(const host::HostValue& value, std::int64_t& count)
{
    const auto& list = static_cast<const host::HostPlotList&>(value);
    // The cells, counted; a chain that comes back on itself is refused.
    count = 0;
    for (const host::HostListCell *slow = list.first, *fast = list.first; fast;) {
        fast = fast->next;
        ++count;
        if (!fast)
            break;
        fast = fast->next;
        ++count;
        slow = slow->next;
        if (fast && fast == slow)
            throw HostMessage(kMustBeArray);
    }
    if (count > INT32_MAX)
        throw HostMessage(kMustBeArray);
    for (const auto& [number, model] : control_.models())
        if (model)
            model->SetPlotFlag(false);
    for (std::int64_t k = 0; k < count; ++k) {
        if (CglModel* m = control_.FindModel(int(k))) {
            m->SetPlotFlag(true);
        } else {
            // A number without a model gets a placeholder, which saving
            // can write like any other.
            platform::Ref<CglModel> placeholder = control_.NewPlaceholder();
            placeholder->SetPlotFlag(true);
            control_.PutModel(int(k), placeholder);
        }
    }
    std::int32_t k = 0;
    for (const host::HostListCell* cell = list.first; cell; cell = cell->next, ++k) {
        control_.listPosition_ = k + 1;
        try {
            if (!cell->value)
                throw HostMessage(kMustBeArray);
            Held held(gAllocator, cell->value);
            PlotElement(*cell->value, k);
        } catch (...) {
            control_.RemoveSurfaces();
            throw;
        }
    }
}

void HostEvaluation::PlotElement(const host::HostValue& value, int number)
{
    const host::HostValueTable& values = control_.hostFramework().values();
    switch (value.type) {
    case host::HostValueType::MeshOrSpace:
        PlotMesh(value, number);
        return;
    case host::HostValueType::Matrix: {
        const host::HostMatrix* m = ListMatrix(&value);
        if (!m)
            throw HostMessage(kMustBeArray);
        if (auto ref = FirstReference(*m)) {
            const host::HostValue* first = values.find(*ref);
            if (first && first->type == host::HostValueType::Function &&
                control_.hostFramework().graphicsLibrary()) {
                PlotFunctions(*m, number);
                return;
            }
            const host::HostMatrix* firstMatrix = ListMatrix(first);
            if (firstMatrix && FirstReference(*firstMatrix)) {
                if (!ListOfPlots(*m, number, 1))
                    throw HostMessage(kMustBeArray);
                return;
            }
        }
        if (!control_.BuildNestedValue(*m, number, values))
            raiseError(err::UnknownError);
        return;
    }
    case host::HostValueType::Function:
        if (control_.hostFramework().graphicsLibrary()) {
            PlotFunction(value, number);
            return;
        }
        break;
    default:
        break;
    }
    throw HostMessage(kMustBeArray);
}

namespace {

// The model's quick-plot ranges, or the first values of new ones.
QuickPlotParams ParamsOf(COpenGLCtrl& control, int number)
{
    CglModel* m = control.FindModel(number);
    if (m && m->format().quickPlotParams)
        return *m->format().quickPlotParams;
    return QuickPlotParams{};
}

host::GraphicsRanges RangesOf(const QuickPlotParams& p)
{
    return {p.U0, p.U1, p.M, p.V0, p.V1, p.N};
}

// After a plot of host functions: the model remembers its ranges and how
// many variables the functions had.
void MarkFunctionPlot(COpenGLCtrl& control, int number, QuickPlotParams params, std::int32_t variables)
{
    CglModel* m = control.FindModel(number);
    if (!m)
        return;
    ModelFormat f = m->format();
    params.variables = std::int16_t(variables);
    f.quickPlotParams = params;
    m->TakeFormat(f);
    m->SetQuickPlotFlag(true);
}

} // namespace

void HostEvaluation::PlotFunctions(const host::HostMatrix& functions, int number)
{
    const host::HostValueTable& values = control_.hostFramework().values();
    const host::GraphicsLibrary* library = control_.hostFramework().graphicsLibrary();
    const host::HostValue* f[3] = {nullptr, nullptr, nullptr};
    if (functions.rows != 3)
        throw HostMessage("must be 3 functions of 2 variables");
    for (int k = 0; k < 3; ++k) {
        auto ref = host::nestedReference(functions.real[k]);
        f[k] = ref ? values.find(*ref) : nullptr;
        if (!f[k] || f[k]->type != host::HostValueType::Function)
            throw HostMessage("must be 3 functions of 2 variables");
    }
    const std::int32_t variables = static_cast<const host::HostFunction*>(f[0])->variables;
    if (variables != 1 && variables != 2)
        throw HostMessage("must be a function of 1 or 2 variables");
    if (!control_.FindModel(number))
        control_.PutModel(number, control_.NewPlaceholder());
    const QuickPlotParams params = ParamsOf(control_, number);
    const host::HostContext& context = ContextOf(control_);
    const host::HostValue* mesh = variables == 2
                                      ? library->CreateMesh(context, *f[0], *f[1], *f[2], RangesOf(params))
                                      : library->CreateSpace(context, *f[0], *f[1], *f[2], RangesOf(params));
    if (!mesh || mesh->type == host::HostValueType::Error)
        throw CreateMeshException(control_.listPosition_, mesh);
    if (mesh->type == host::HostValueType::MeshOrSpace) {
        PlotMesh(*mesh, number);
    } else {
        const host::HostMatrix* list = ListMatrix(mesh);
        if (!list || !ListOfPlots(*list, number, 1))
            throw HostMessage(kMustBeArray);
    }
    MarkFunctionPlot(control_, number, params, variables);
}

void HostEvaluation::PlotFunction(const host::HostValue& function, int number)
{
    const host::GraphicsLibrary* library = control_.hostFramework().graphicsLibrary();
    const std::int32_t variables = static_cast<const host::HostFunction&>(function).variables;
    if (variables != 1 && variables != 2)
        throw HostMessage("must be a function of 1 or 2 variables");
    const QuickPlotParams params = ParamsOf(control_, number);
    const host::HostContext& context = ContextOf(control_);
    const host::HostValue* mesh = variables == 2 ? library->CreateMesh(context, function, RangesOf(params))
                                                 : library->CreateSpace(context, function, RangesOf(params));
    if (!mesh || mesh->type == host::HostValueType::Error)
        throw CreateMeshException(control_.listPosition_, mesh);
    if (mesh->type != host::HostValueType::MeshOrSpace)
        throw HostMessage(kMustBeArray);
    PlotMesh(*mesh, number);
    MarkFunctionPlot(control_, number, params, variables);
}

void HostEvaluation::PlotMesh(const host::HostValue& mesh, int number)
{
    BuildQuickPlotModel(control_, number, static_cast<const host::HostMesh&>(mesh),
                        control_.hostFramework().values());
}

} // namespace halvex
