#include "script/program/script.h"

#include "platform/system/large_stack.h"
#include "platform/text/cp1251.h"
#include "script/binding/class_variable.h"
#include "script/binding/event_helper.h"
#include "script/binding/object_refs.h"
#include "script/builder/program_builder.h"
#include "script/program/entries.h"
#include "script/program/run_error.h"
#include "script/program/run_state.h"
#include "script/program/statements.h"
#include "script/script_error.h"

#include <algorithm>
#include <new>

namespace script {

using platform::Variant;

namespace {

std::string lowerName(std::string_view name)
{
    return platform::lowerCp1251(name);
}

} // namespace

TfsScript::TfsScript(TfsScript* parent)
    : Parent(parent), ownRun_(std::make_unique<RunState>())
{
    run_ = ownRun_.get();
    run_->root = this;
    main_ = std::make_unique<TfsStatement>(*this, std::string(), std::string());
    addHelpers();
}

TfsScript::~TfsScript()
{
    // A deeply nested program is freed as deep as it was built.
    letGoOfHost();
    platform::RunOnLargeStack([this] {
        main_.reset();
        freeEntries();
    });
}

void TfsScript::letGoOfHost() noexcept
{
    // Objects stop calling this script's routines, and what its runs
    // created and left behind goes. Routine scopes share their script's
    // run and go with it: the script does this for them.
    if (run_ != ownRun_.get())
        return;
    if (TfsEventList* events = TfsEventList::GlobalOrNull())
        events->ScopeGone(*this);
    ObjectStore::FreeOwnedBy(this);
}

void TfsScript::addHelpers()
{
    auto str = std::make_unique<TfsCustomVariable>(TfsCustomVariable::Kind::StringHelper, "__StringHelper", fvtChar,
                                                   "Char");
    str->AddParam(std::make_unique<TfsParamItem>("Index", fvtInt, "Integer", false, false, Variant::null()));
    Add(std::move(str));
    auto arr = std::make_unique<TfsCustomVariable>(TfsCustomVariable::Kind::ArrayHelper, "__ArrayHelper",
                                                   fvtVariant, "Variant");
    arr->AddParam(std::make_unique<TfsParamItem>("Index1", fvtVariant, "Variant", false, false, Variant::null()));
    arr->AddParam(std::make_unique<TfsParamItem>("Index2", fvtVariant, "Variant", false, true, Variant::null()));
    arr->AddParam(std::make_unique<TfsParamItem>("Index3", fvtVariant, "Variant", false, true, Variant::null()));
    Add(std::move(arr));
}

void TfsScript::SetText(std::string_view text)
{
    Lines.clear();
    std::size_t i = 0, start = 0;
    while (i < text.size()) {
        if (text[i] == '\r' || text[i] == '\n') {
            Lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        Lines.emplace_back(text.substr(start));
}

bool TfsScript::IsRunning() const noexcept
{
    return run_->running;
}

bool TfsScript::Compile()
{
    if (IsRunning())
        throw ScriptError("Cannot compile a script while it runs");
    errors_ = {};
    std::string text;
    for (const std::string& l : Lines) {
        text += l;
        text += "\r\n";
    }
    RunOwnerScope owner(this);
    platform::RunOnLargeStack([&] {
        TfsILParser parser(errors_);
        parser.UseLanguage(SyntaxType);
        parser.SetUnitFolder(UnitFolder);
        if (parser.BuildIntermediate(text))
            BuildProgram(parser.ILDocument(), *this, parser.DeclareVars());
    });
    compileFailed_ = !errors_.ErrorText.empty();
    if (!compileFailed_)
        errors_.ErrorPosition.clear();
    return !compileFailed_;
}

void TfsScript::Execute()
{
    RunState& rs = *run_;
    if (rs.running)
        throw ScriptError("The script is already running");
    if (compileFailed_)
        throw ScriptError("Cannot run a script that failed to compile");
    rs.hookOwner = nullptr;
    for (TfsScript* s = this; s; s = s->Parent)
        if (s->OnRunLine) {
            rs.hookOwner = s;
            break;
        }
    rs.running = true;
    rs.depth = 0;
    rs.stopRequested.store(false, std::memory_order_relaxed);
    struct Done {
        RunState& rs;
        ~Done() { rs.running = false; }
    } done{rs};
    RunOwnerScope owner(this);
    platform::RunOnLargeStack([&] {
        rs.ArmStackGuard();
        try {
            main_->Execute();
        } catch (const std::bad_alloc&) {
            RaiseRuntime("Out of memory");
        }
    });
}

void TfsScript::Terminate() noexcept
{
    run_->RequestStop();
}

void TfsScript::freeEntries()
{
    std::vector<Slot> entries;
    entries.swap(entries_);
    byName_.clear();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (it->owned)
            delete it->entry;
}

void TfsScript::Clear()
{
    if (IsRunning())
        throw ScriptError("Cannot clear a script while it runs");
    letGoOfHost();
    platform::RunOnLargeStack([this] {
        main_->Clear();
        freeEntries();
    });
    lineRegister_.clear();
    linesSeen_.clear();
    compileFailed_ = false;
    addHelpers();
}

void TfsScript::index(TfsCustomVariable* entry)
{
    byName_.emplace(lowerName(entry->Name), entry);
}

void TfsScript::reindex()
{
    byName_.clear();
    for (const Slot& s : entries_)
        index(s.entry);
}

TfsCustomVariable& TfsScript::Add(std::unique_ptr<TfsCustomVariable> entry)
{
    TfsCustomVariable* e = entry.get();
    if (!e->AddedBy)
        e->AddedBy = AddedBy;
    entries_.push_back({entry.release(), true});
    index(e);
    return *e;
}

void TfsScript::AddUnowned(TfsCustomVariable* entry)
{
    entries_.push_back({entry, false});
    index(entry);
}

void TfsScript::Remove(TfsCustomVariable* entry)
{
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Slot& s) { return s.entry == entry; });
    if (it == entries_.end())
        return;
    Slot s = *it;
    entries_.erase(it);
    reindex();
    if (s.owned)
        delete s.entry;
}

void TfsScript::RemoveItems(const void* owner)
{
    std::vector<Slot> keep, drop;
    for (const Slot& s : entries_)
        (s.entry->AddedBy == owner && owner ? drop : keep).push_back(s);
    entries_.swap(keep);
    reindex();
    for (auto it = drop.rbegin(); it != drop.rend(); ++it)
        if (it->owned)
            delete it->entry;
}

TfsCustomVariable* TfsScript::FindLocal(std::string_view name) const
{
    auto it = byName_.find(lowerName(name));
    return it == byName_.end() ? nullptr : it->second;
}

TfsCustomVariable* TfsScript::Find(std::string_view name) const
{
    std::string key = lowerName(name);
    for (const TfsScript* s = this; s; s = s->Parent) {
        auto it = s->byName_.find(key);
        if (it != s->byName_.end())
            return it->second;
    }
    return nullptr;
}

TfsClassVariable* TfsScript::FindClass(std::string_view name) const
{
    TfsCustomVariable* e = Find(name);
    return e && e->kind() == TfsCustomVariable::Kind::Class ? static_cast<TfsClassVariable*>(e) : nullptr;
}

Variant TfsScript::GetVariable(std::string_view name) const
{
    TfsCustomVariable* e = Find(name);
    return e ? e->Value : Variant::null();
}

void TfsScript::SetVariable(std::string_view name, const Variant& value)
{
    if (TfsCustomVariable* e = Find(name)) {
        e->SetValue(value);
        return;
    }
    auto v = std::make_unique<TfsVariable>(name, fvtVariant, "Variant");
    v->Value = value;
    Add(std::move(v));
}

void TfsScript::RunLine(const std::string& unitName, const std::string& sourcePos)
{
    for (TfsScript* s = this; s; s = s->Parent)
        if (s->OnRunLine) {
            s->OnRunLine(*this, unitName, sourcePos);
            return;
        }
}

void TfsScript::RegisterLine(const std::string& unitName, const std::string& sourcePos)
{
    std::size_t colon = sourcePos.find(':');
    std::string line = sourcePos.substr(0, colon);
    long n = 0;
    for (char c : line) {
        if (c < '0' || c > '9' || n > 10000000)
            return;
        n = n * 10 + (c - '0');
    }
    std::vector<bool>& seen = linesSeen_[unitName];
    if (static_cast<std::size_t>(n) < seen.size() && seen[static_cast<std::size_t>(n)])
        return;
    if (static_cast<std::size_t>(n) >= seen.size())
        seen.resize(static_cast<std::size_t>(n) + 1);
    seen[static_cast<std::size_t>(n)] = true;
    std::string prefix = unitName + "=";
    for (std::string& entry : lineRegister_)
        if (entry.compare(0, prefix.size(), prefix) == 0) {
            entry += line + ",";
            return;
        }
    lineRegister_.push_back(prefix + line + ",");
}

} // namespace script
