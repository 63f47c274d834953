#include "script/program/designator.h"

#include "platform/automation/safe_array.h"
#include "script/binding/class_variable.h"
#include "script/binding/object_refs.h"
#include "script/binding/ole_helper.h"
#include "script/builder/program_builder.h"
#include "script/program/entries.h"
#include "script/program/run_error.h"
#include "script/program/script.h"
#include "script/xml/xml_item.h"

#include <algorithm>
#include <array>
#include <span>

namespace script {

using platform::SafeArray;
using platform::Variant;

// ---- elements and characters ---------------------------------------------

namespace {

[[noreturn]] void arrayIndexError()
{
    RaiseRuntime("Array index out of bounds");
}

// Linear position of an element, checked against every bound.
std::size_t offsetOf(const SafeArray& a, const std::int32_t* idx, int count)
{
    if (static_cast<unsigned>(count) != a.dimensions())
        RaiseRuntime("Wrong number of array indexes: " + std::to_string(count) + " for " +
                     std::to_string(a.dimensions()) + " dimensions");
    std::size_t off = 0, stride = 1;
    for (int d = 0; d < count; ++d) {
        const SafeArray::Bound& b = a.bound(static_cast<unsigned>(d));
        std::int64_t i = std::int64_t(idx[d]) - b.lower;
        if (i < 0 || i >= std::int64_t(b.count))
            arrayIndexError();
        off += static_cast<std::size_t>(i) * stride;
        stride *= b.count;
    }
    return off;
}

const SafeArray& arrayOf(const Variant& v)
{
    const SafeArray* a = v.array();
    if (!a)
        RaiseRuntime("Array type required");
    return *a;
}

} // namespace

Variant ReadElement(const Variant& array, const std::int32_t* idx, int count)
{
    const SafeArray& a = arrayOf(array);
    if (a.dimensions() > 3)
        return Variant::null();
    std::size_t off = offsetOf(a, idx, count);
    return a.storesVariants() ? a.variants()[off] : a.get(off);
}

Variant* ElementRef(Variant& array, const std::int32_t* idx, int count)
{
    const SafeArray& ro = arrayOf(array);
    if (ro.dimensions() > 3 || !ro.storesVariants())
        return nullptr;
    std::size_t off = offsetOf(ro, idx, count);
    return &array.mutableArray()->variants()[off];
}

void WriteElement(Variant& array, const std::int32_t* idx, int count, const Variant& value)
{
    const SafeArray& ro = arrayOf(array);
    if (ro.dimensions() > 3)
        return;
    std::size_t off = offsetOf(ro, idx, count);
    SafeArray* a = array.mutableArray();
    if (a->storesVariants())
        a->variants()[off] = value;
    else
        a->put(off, value);
}

const Variant& CharVariant(unsigned char c)
{
    thread_local const std::vector<Variant> table = [] {
        std::vector<Variant> t;
        t.reserve(256);
        for (int i = 0; i < 256; ++i) {
            char ch = static_cast<char>(i);
            t.emplace_back(std::string_view(&ch, 1));
        }
        return t;
    }();
    return table[c];
}

Variant ReadChar(const Variant& text, std::int32_t index)
{
    if (!text.isString() && !text.isEmptyOrNull())
        RaiseRuntime("String type required");
    std::string_view s = text.stringView();
    if (index < 1 || static_cast<std::size_t>(index) > s.size())
        RaiseRuntime("String index out of bounds");
    return CharVariant(static_cast<unsigned char>(s[static_cast<std::size_t>(index) - 1]));
}

void WriteChar(Variant& text, std::int32_t index, const Variant& value)
{
    if (!text.isString())
        RaiseRuntime("String type required");
    if (index < 1 || static_cast<std::size_t>(index) > text.stringLength())
        RaiseRuntime("String index out of bounds");
    char c;
    if (value.isString()) {
        if (value.stringLength() == 0)
            RaiseRuntime("A character cannot be empty");
        c = value.stringView()[0];
    } else {
        std::string t = value.toString();
        if (t.empty())
            RaiseRuntime("A character cannot be empty");
        c = t[0];
    }
    text.mutableChars()[index - 1] = c;
}

// ---- the general chain -----------------------------------------------------

TfsDesignator::~TfsDesignator() = default;
TfsDesignator::Item::Item() = default;
TfsDesignator::Item::Item(Item&&) noexcept = default;
TfsDesignator::Item& TfsDesignator::Item::operator=(Item&&) noexcept = default;
TfsDesignator::Item::~Item() = default;

namespace {

int indexesOf(std::vector<std::unique_ptr<ExprNode>>& args, std::int32_t* idx)
{
    int n = static_cast<int>(args.size());
    if (n > 3)
        n = 3;
    for (int i = 0; i < n; ++i)
        idx[i] = args[static_cast<std::size_t>(i)]->EvalInt();
    return n;
}

Variant indexValue(const Variant& cur, TfsDesignator::ItemKind kind, const std::int32_t* idx, int n)
{
    if (kind == TfsDesignator::ItemKind::StringIndex ||
        (kind == TfsDesignator::ItemKind::AnyIndex && !cur.isArray()))
        return ReadChar(cur, idx[0]);
    return ReadElement(cur, idx, n);
}

// "[" after a Variant that holds an object (a list in a Basic or
// JavaScript variable): the default property of the object's class.
Variant defaultProperty(const Variant& object, std::span<const Variant> args, TfsScript* script,
                        const Variant* store)
{
    const TfsClassVariable* cls = nullptr;
    ResolveObject(object, &cls);
    TfsCustomVariable* def = cls ? cls->DefaultProperty() : nullptr;
    if (!def)
        RaiseRuntime("Class " + (cls ? cls->Name : std::string("TObject")) + " does not have a default property");
    const std::size_t want = static_cast<std::size_t>(def->Count());
    if (args.size() < want)
        RaiseRuntime("Not enough actual parameters");
    if (args.size() > want)
        RaiseRuntime("Too many actual parameters");
    if (auto* h = dynamic_cast<TfsCustomHelper*>(def)) {
        h->ParentValue = object;
        h->Script = script;
    }
    for (std::size_t i = 0; i < want; ++i)
        def->Params(static_cast<int>(i)).Value = args[i];
    if (store) {
        def->SetValue(*store);
        return Variant();
    }
    def->NeedResult = true;
    return def->GetValue();
}

std::vector<Variant> valuesOf(std::vector<std::unique_ptr<ExprNode>>& args)
{
    std::vector<Variant> values;
    values.reserve(args.size());
    for (auto& a : args)
        values.push_back(a->Eval());
    return values;
}

Variant automationCall(const Variant& object, TfsDesignator::Item& it, bool wantResult, const Variant* store)
{
    std::vector<Variant> args;
    args.reserve(it.args.size() + 1);
    for (auto& a : it.args)
        args.push_back(a->Eval());
    if (store) {
        it.ole->Put(object, args, *store);
        return Variant();
    }
    Variant r = it.ole->Invoke(object, args, wantResult);
    for (std::size_t i = 0; i < it.args.size(); ++i)
        it.args[i]->Assign(args[i]);
    return r;
}

} // namespace

void TfsDesignator::callEntry(Item& it, const Variant& current, bool last, const Variant* store, Variant* result)
{
    TfsCustomVariable& e = *it.entry;
    if (auto* h = dynamic_cast<TfsCustomHelper*>(&e)) {
        h->ParentValue = current;
        h->Script = Script;
    }
    const std::size_t n = std::min(it.args.size(), static_cast<std::size_t>(e.Count()));
    for (std::size_t i = 0; i < n; ++i)
        e.Params(static_cast<int>(i)).Value = it.args[i]->Eval();
    if (store) {
        e.SetValue(*store);
    } else {
        e.NeedResult = !last || NeedResult;
        *result = e.GetValue();
    }
    for (std::size_t i = 0; i < n; ++i)
        if (e.Params(static_cast<int>(i)).IsVarParam)
            it.args[i]->Assign(e.Params(static_cast<int>(i)).Value);
}

Variant TfsDesignator::evalItem(Item& it, const Variant& current, bool last)
{
    switch (it.kind) {
    case ItemKind::Storage:
        return it.entry->Value;
    case ItemKind::Proc: {
        ExprNode* raw[16];
        std::vector<ExprNode*> many;
        ExprNode** args = raw;
        if (it.args.size() > 16) {
            many.resize(it.args.size());
            args = many.data();
        }
        for (std::size_t i = 0; i < it.args.size(); ++i)
            args[i] = it.args[i].get();
        return static_cast<TfsProcVariable*>(it.entry)->Call(args, it.args.size());
    }
    case ItemKind::AnyIndex:
        if (current.isObject())
            return defaultProperty(current, valuesOf(it.args), Script, nullptr);
        [[fallthrough]];
    case ItemKind::ArrayIndex:
    case ItemKind::StringIndex: {
        std::int32_t idx[3];
        int n = indexesOf(it.args, idx);
        return indexValue(current, it.kind, idx, n);
    }
    case ItemKind::Automation:
        return automationCall(current, it, !last || NeedResult, nullptr);
    case ItemKind::Entry:
    default: {
        Variant r;
        callEntry(it, current, last, nullptr, &r);
        return r;
    }
    }
}

Variant TfsDesignator::Eval()
{
    Variant cur;
    const std::size_t n = Items.size();
    for (std::size_t i = 0; i < n; ++i)
        cur = evalItem(Items[i], cur, i + 1 == n);
    return cur;
}

void TfsDesignator::Assign(const Variant& value)
{
    const std::size_t n = Items.size();
    if (n == 0)
        return;
    // Indexes first: no script code may run while a reference into an
    // array is held. An index after a Variant is kept as values until the
    // Variant shows whether it holds an array, a string or an object with a
    // default property. Short chains (nearly all) keep this on the stack.
    struct Index {
        std::array<std::int32_t, 3> idx{};
        int count = 0;
        std::array<Variant, 3> values;
        std::vector<Variant> wide; // an index of more than three values
        std::span<const Variant> anyValues(std::size_t given) const
        {
            return wide.empty() ? std::span<const Variant>(values.data(), given) : std::span<const Variant>(wide);
        }
    };
    constexpr std::size_t kInline = 4;
    Index inlineIndexes[kInline];
    std::vector<Index> heapIndexes;
    Index* indexes = inlineIndexes;
    if (n > kInline) {
        heapIndexes.resize(n);
        indexes = heapIndexes.data();
    }
    for (std::size_t i = 0; i < n; ++i) {
        Item& it = Items[i];
        Index& x = indexes[i];
        if (it.kind == ItemKind::AnyIndex) {
            if (it.args.size() > x.values.size()) {
                x.wide = valuesOf(it.args);
            } else {
                for (std::size_t a = 0; a < it.args.size(); ++a)
                    x.values[a] = it.args[a]->Eval();
            }
            x.count = it.args.empty() ? 0 : 1;
        } else if (it.kind == ItemKind::ArrayIndex || it.kind == ItemKind::StringIndex) {
            x.count = indexesOf(it.args, x.idx.data());
        }
    }
    // The Variant an AnyIndex item applies to decides: an object takes the
    // values whole, anything else their Integer indexes.
    auto anyIndexOnObject = [&](std::size_t i, const Variant& target) {
        if (Items[i].kind != ItemKind::AnyIndex)
            return false;
        if (target.isObject())
            return true;
        Index& x = indexes[i];
        std::span<const Variant> v = x.anyValues(Items[i].args.size());
        x.count = static_cast<int>(std::min<std::size_t>(v.size(), 3));
        for (int a = 0; a < x.count; ++a)
            x.idx[static_cast<std::size_t>(a)] = IntOf(v[static_cast<std::size_t>(a)]);
        return false;
    };
    Variant* ref = nullptr;
    Variant cur;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        Item& it = Items[i];
        const bool indexer = indexes[i].count > 0;
        if (i == 0 && it.kind == ItemKind::Storage && !it.entry->IsReadOnly) {
            ref = &it.entry->Value;
            continue;
        }
        if (indexer && anyIndexOnObject(i, ref ? *ref : cur)) {
            Variant object = ref ? *ref : cur;
            ref = nullptr;
            cur = defaultProperty(object, indexes[i].anyValues(it.args.size()), Script, nullptr);
            continue;
        }
        if (ref && indexer && ref->isArray() && it.kind != ItemKind::StringIndex) {
            if (Variant* el = ElementRef(*ref, indexes[i].idx.data(), indexes[i].count)) {
                ref = el;
                continue;
            }
        }
        if (ref) {
            cur = *ref;
            ref = nullptr;
        }
        cur = indexer ? indexValue(cur, it.kind, indexes[i].idx.data(), indexes[i].count) : evalItem(it, cur, false);
    }
    Item& last = Items[n - 1];
    switch (last.kind) {
    case ItemKind::Storage:
        StoreValue(*last.entry, value);
        return;
    case ItemKind::Proc:
        return;
    case ItemKind::ArrayIndex:
    case ItemKind::StringIndex:
    case ItemKind::AnyIndex: {
        Variant& target = ref ? *ref : cur;
        if (anyIndexOnObject(n - 1, target)) {
            Variant object = target;
            defaultProperty(object, indexes[n - 1].anyValues(last.args.size()), Script, &value);
            return;
        }
        if (last.kind == ItemKind::StringIndex || (last.kind == ItemKind::AnyIndex && !target.isArray()))
            WriteChar(target, indexes[n - 1].idx[0], value);
        else
            WriteElement(target, indexes[n - 1].idx.data(), indexes[n - 1].count, value);
        return;
    }
    case ItemKind::Automation:
        automationCall(ref ? *ref : cur, last, false, &value);
        return;
    default:
        callEntry(last, ref ? *ref : cur, true, &value, nullptr);
        return;
    }
}

// ---- fast forms --------------------------------------------------------

TfsVariableDesignator::TfsVariableDesignator(TfsCustomVariable& var)
    : ExprNode(var.Type, var.TypeName), var_(&var), slot_(&var.Value)
{
}

void TfsVariableDesignator::Assign(const Variant& value)
{
    StoreValue(*var_, value);
}

bool TfsVariableDesignator::IsAssignable() const noexcept
{
    return !var_->IsReadOnly;
}

TfsStringDesignator::TfsStringDesignator(TfsCustomVariable& var, std::unique_ptr<ExprNode> index)
    : ExprNode(fvtChar, "Char"), var_(&var), index_(std::move(index))
{
}

Variant TfsStringDesignator::Eval()
{
    std::int32_t i = index_->EvalInt();
    return ReadChar(var_->Value, i);
}

void TfsStringDesignator::Assign(const Variant& value)
{
    std::int32_t i = index_->EvalInt();
    if (var_->IsReadOnly)
        return;
    WriteChar(var_->Value, i, value);
}

TfsArrayDesignator::TfsArrayDesignator(TfsCustomVariable& var, std::vector<std::unique_ptr<ExprNode>> indexes,
                                       TfsVarType elemType, std::string elemTypeName)
    : ExprNode(elemType, std::move(elemTypeName)), var_(&var), indexes_(std::move(indexes))
{
}

const Variant& TfsArrayDesignator::element(std::int32_t* idx)
{
    const int n = static_cast<int>(indexes_.size());
    for (int i = 0; i < n; ++i)
        idx[i] = indexes_[static_cast<std::size_t>(i)]->EvalInt();
    const SafeArray* a = var_->Value.array();
    if (a && a->storesVariants() && n == 1 && a->dimensions() == 1) {
        std::int64_t i = std::int64_t(idx[0]) - a->bound(0).lower;
        if (i < 0 || i >= std::int64_t(a->bound(0).count))
            arrayIndexError();
        return a->variants()[i];
    }
    thread_local Variant scratch;
    scratch = ReadElement(var_->Value, idx, n);
    return scratch;
}

Variant TfsArrayDesignator::Eval()
{
    std::int32_t idx[3];
    return element(idx);
}

std::int32_t TfsArrayDesignator::EvalInt()
{
    std::int32_t idx[3];
    return IntOf(element(idx));
}

void TfsArrayDesignator::Assign(const Variant& value)
{
    std::int32_t idx[3];
    const int n = static_cast<int>(indexes_.size());
    for (int i = 0; i < n; ++i)
        idx[i] = indexes_[static_cast<std::size_t>(i)]->EvalInt();
    if (var_->IsReadOnly)
        return;
    WriteElement(var_->Value, idx, n, value);
}

TfsCallDesignator::TfsCallDesignator(TfsProcVariable& proc, std::vector<std::unique_ptr<ExprNode>> args)
    : ExprNode(proc.Type, proc.TypeName), proc_(&proc), args_(std::move(args))
{
    for (auto& a : args_)
        raw_.push_back(a.get());
}

Variant TfsCallDesignator::Eval()
{
    return proc_->Call(raw_.data(), raw_.size());
}

// ---- deferred ----------------------------------------------------------

TfsDeferredDesignator::TfsDeferredDesignator(const TfsXMLItem& element, Context context, bool needResult)
    : ExprNode(fvtVariant, "Variant"), element_(std::make_unique<TfsXMLItem>()), context_(std::move(context)),
      needResult_(needResult)
{
    element_->Assign(element);
}

TfsDeferredDesignator::~TfsDeferredDesignator() = default;

ExprNode& TfsDeferredDesignator::built()
{
    if (!built_) {
        built_ = BuildDesignatorAtRun(*element_, *context_.scope, context_.declareVars, context_.unitName,
                                      needResult_);
        element_.reset();
    }
    return *built_;
}

Variant TfsDeferredDesignator::Eval()
{
    return built().Eval();
}

void TfsDeferredDesignator::Assign(const Variant& value)
{
    built().Assign(value);
}

} // namespace script
