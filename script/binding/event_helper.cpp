#include "script/binding/event_helper.h"

#include "script/binding/host_ui.h"
#include "script/binding/method_helper.h"
#include "script/program/run_error.h"
#include "script/program/script.h"

#include <algorithm>
#include <exception>

namespace script {

using platform::Variant;

// ---- adapters --------------------------------------------------------------

TfsCustomEvent::TfsCustomEvent(void* instance, TfsProcVariable& handler) : instance_(instance), handler_(&handler)
{
}

TfsCustomEvent::~TfsCustomEvent() = default;

bool TfsCustomEvent::CallHandler(std::span<Variant> args) noexcept
{
    try {
        return handler_->CallFromHost(args);
    } catch (const std::exception& e) {
        HostUi().ShowError(e.what());
    } catch (...) {
        HostUi().ShowError("Unknown error in an event handler");
    }
    return false;
}

void TfsNotifyEvent::DoEvent(const Variant& sender) noexcept
{
    Variant args[] = {sender};
    CallHandler(args);
}

void TfsMouseEvent::DoEvent(const Variant& sender, int button, int shift, int x, int y) noexcept
{
    Variant args[] = {sender, Variant(button), Variant(shift), Variant(x), Variant(y)};
    CallHandler(args);
}

void TfsMouseMoveEvent::DoEvent(const Variant& sender, int shift, int x, int y) noexcept
{
    Variant args[] = {sender, Variant(shift), Variant(x), Variant(y)};
    CallHandler(args);
}

namespace {

// A value written back by a handler, or the old one when it is no number.
int intBack(const Variant& v, int old) noexcept
{
    try {
        return v.toInt32();
    } catch (...) {
        return old;
    }
}

bool boolBack(const Variant& v, bool old) noexcept
{
    try {
        return v.toBool();
    } catch (...) {
        return old;
    }
}

} // namespace

void TfsKeyEvent::DoEvent(const Variant& sender, int& key, int shift) noexcept
{
    Variant args[] = {sender, Variant(key), Variant(shift)};
    if (CallHandler(args))
        key = intBack(args[1], key);
}

void TfsKeyPressEvent::DoEvent(const Variant& sender, char& key) noexcept
{
    Variant args[] = {sender, Variant(std::string_view(&key, 1))};
    if (!CallHandler(args))
        return;
    try {
        std::string text = args[1].toString();
        key = text.empty() ? '\0' : text[0];
    } catch (...) {
    }
}

void TfsCloseEvent::DoEvent(const Variant& sender, int& action) noexcept
{
    Variant args[] = {sender, Variant(action)};
    if (CallHandler(args))
        action = intBack(args[1], action);
}

void TfsCloseQueryEvent::DoEvent(const Variant& sender, bool& canClose) noexcept
{
    Variant args[] = {sender, Variant(canClose)};
    if (CallHandler(args))
        canClose = boolBack(args[1], canClose);
}

void TfsCanResizeEvent::DoEvent(const Variant& sender, int& newWidth, int& newHeight, bool& resize) noexcept
{
    Variant args[] = {sender, Variant(newWidth), Variant(newHeight), Variant(resize)};
    if (!CallHandler(args))
        return;
    newWidth = intBack(args[1], newWidth);
    newHeight = intBack(args[2], newHeight);
    resize = boolBack(args[3], resize);
}

// ---- the list --------------------------------------------------------------

namespace {
bool gEventListGone = false;
struct EventListHolder {
    TfsEventList list;
    ~EventListHolder() { gEventListGone = true; }
};
} // namespace

TfsEventList* TfsEventList::GlobalOrNull() noexcept
{
    if (gEventListGone)
        return nullptr;
    static EventListHolder holder;
    return &holder.list;
}

TfsEventList& TfsEventList::Global()
{
    TfsEventList* list = GlobalOrNull();
    if (!list)
        RaiseRuntime("The engine is shutting down");
    return *list;
}

TfsCustomEvent& TfsEventList::Add(std::unique_ptr<TfsCustomEvent> adapter)
{
    adapters_.push_back({std::move(adapter), {}});
    return *adapters_.back().adapter;
}

void TfsEventList::ObjectGone(const void* instance) noexcept
{
    // Adapters leave the list before they are freed: freeing one may free
    // objects whose adapters are in the list too.
    std::vector<std::unique_ptr<TfsCustomEvent>> gone;
    auto keep = std::stable_partition(adapters_.begin(), adapters_.end(),
                                      [&](const Entry& e) { return e.adapter->Instance() != instance; });
    for (auto it = keep; it != adapters_.end(); ++it)
        gone.push_back(std::move(it->adapter));
    adapters_.erase(keep, adapters_.end());
}

void TfsEventList::ScopeGone(const TfsScript& scope) noexcept
{
    auto inScope = [&](const Entry& e) {
        for (const TfsScript* s = e.adapter->Handler().Scope().Parent; s; s = s->Parent)
            if (s == &scope)
                return true;
        return false;
    };
    std::vector<Entry> gone;
    auto keep = std::stable_partition(adapters_.begin(), adapters_.end(), [&](const Entry& e) { return !inScope(e); });
    for (auto it = keep; it != adapters_.end(); ++it)
        gone.push_back(std::move(*it));
    adapters_.erase(keep, adapters_.end());
    // The objects stop calling routines that are about to go.
    for (Entry& e : gone)
        if (e.adapter->Installed && e.uninstall) {
            try {
                e.uninstall(e.adapter->Instance(), nullptr);
            } catch (...) {
            }
        }
}

// ---- the event member ------------------------------------------------------

TfsEventHelper::TfsEventHelper(std::string_view name, TfsEventAdapterFactory adapter, TfsEventInstaller installer)
    : TfsCustomHelper(Kind::Event, name, fvtVariant, "Variant"), adapter_(adapter), installer_(std::move(installer))
{
}

Variant TfsEventHelper::GetValue()
{
    return Variant(std::string_view());
}

void TfsEventHelper::SetValue(const Variant& value)
{
    void* instance = MemberInstance(ParentValue, ClassRef);
    if (!instance)
        RaiseRuntime("Invalid object reference");
    TfsEventList& list = TfsEventList::Global();
    // The adapter installed before for this object and event is no longer
    // called; it stays in the list until its object or script goes.
    auto replaceInstalled = [&] {
        for (auto& e : list.adapters_)
            if (e.adapter->Instance() == instance && e.event == this)
                e.adapter->Installed = false;
    };
    const std::string name = value.toString();
    if (name == "0") {
        replaceInstalled();
        if (installer_)
            installer_(instance, nullptr);
        return;
    }
    TfsCustomVariable* found = Script ? Script->Find(name) : nullptr;
    if (!found || found->kind() != TfsCustomVariable::Kind::Proc)
        RaiseRuntime("Event handler must be a procedure");
    auto& routine = static_cast<TfsProcVariable&>(*found);
    replaceInstalled();
    TfsCustomEvent& adapter = list.Add(adapter_(instance, routine));
    list.adapters_.back().uninstall = installer_;
    list.adapters_.back().event = this;
    adapter.Installed = true;
    if (installer_)
        installer_(instance, &adapter);
}

} // namespace script
