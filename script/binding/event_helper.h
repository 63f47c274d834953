#pragma once
// Events: a script assigns one of its routines to an object's event (by
// name, or with the address-of form), and the object calls it through an
// adapter that turns the event's arguments into the routine's parameters.
//
// The host registers an event with an installer that stores an adapter's
// entry point in the object (nullptr removes it). Adapters live in the
// process-wide TfsEventList until their object is freed or the script that
// holds their routine is cleared. A handler's error never leaves the
// adapter: it goes to the host's error display, so it cannot cross a
// toolkit's event handler.

#include "platform/automation/variant.h"
#include "script/program/entries.h"

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace script {

class TfsEventHelper;
class TfsProcVariable;

// An adapter: the object, the routine, and the call between them.
class TfsCustomEvent {
public:
    TfsCustomEvent(void* instance, TfsProcVariable& handler);
    virtual ~TfsCustomEvent();
    TfsCustomEvent(const TfsCustomEvent&) = delete;
    TfsCustomEvent& operator=(const TfsCustomEvent&) = delete;

    void* Instance() const noexcept { return instance_; }
    TfsProcVariable& Handler() const noexcept { return *handler_; }
    // Whether the object still calls this adapter (a later assignment or a
    // removal replaces it).
    bool Installed = false;

protected:
    // Gives args to the routine's parameters in order (as many as both
    // have), calls it unless it is already running, and reads the
    // parameters back into args. False when it did not run or failed.
    bool CallHandler(std::span<platform::Variant> args) noexcept;

private:
    void* instance_;
    TfsProcVariable* handler_;
};

// Sender
class TfsNotifyEvent : public TfsCustomEvent {
public:
    using TfsCustomEvent::TfsCustomEvent;
    void DoEvent(const platform::Variant& sender) noexcept;
};

// Sender, Button, Shift, X, Y
class TfsMouseEvent : public TfsCustomEvent {
public:
    using TfsCustomEvent::TfsCustomEvent;
    void DoEvent(const platform::Variant& sender, int button, int shift, int x, int y) noexcept;
};

// Sender, Shift, X, Y
class TfsMouseMoveEvent : public TfsCustomEvent {
public:
    using TfsCustomEvent::TfsCustomEvent;
    void DoEvent(const platform::Variant& sender, int shift, int x, int y) noexcept;
};

// Sender, Key, Shift; Key written back
class TfsKeyEvent : public TfsCustomEvent {
public:
    using TfsCustomEvent::TfsCustomEvent;
    void DoEvent(const platform::Variant& sender, int& key, int shift) noexcept;
};

// Sender, Key (one character); Key written back, #0 for an empty text
class TfsKeyPressEvent : public TfsCustomEvent {
public:
    using TfsCustomEvent::TfsCustomEvent;
    void DoEvent(const platform::Variant& sender, char& key) noexcept;
};

// Sender, Action; Action written back
class TfsCloseEvent : public TfsCustomEvent {
public:
    using TfsCustomEvent::TfsCustomEvent;
    void DoEvent(const platform::Variant& sender, int& action) noexcept;
};

// Sender, CanClose; CanClose written back
class TfsCloseQueryEvent : public TfsCustomEvent {
public:
    using TfsCustomEvent::TfsCustomEvent;
    void DoEvent(const platform::Variant& sender, bool& canClose) noexcept;
};

// Sender, NewWidth, NewHeight, Resize; all but Sender written back
class TfsCanResizeEvent : public TfsCustomEvent {
public:
    using TfsCustomEvent::TfsCustomEvent;
    void DoEvent(const platform::Variant& sender, int& newWidth, int& newHeight, bool& resize) noexcept;
};

using TfsEventAdapterFactory = std::unique_ptr<TfsCustomEvent> (*)(void* instance, TfsProcVariable& handler);
// Stores the adapter as the object's handler of the event; nullptr removes
// the handler.
using TfsEventInstaller = std::function<void(void* instance, TfsCustomEvent* adapter)>;

template <class Adapter>
std::unique_ptr<TfsCustomEvent> MakeEventAdapter(void* instance, TfsProcVariable& handler)
{
    return std::make_unique<Adapter>(instance, handler);
}

// Every adapter of the process.
class TfsEventList {
public:
    static TfsEventList& Global();
    // nullptr once the list is gone (at exit).
    static TfsEventList* GlobalOrNull() noexcept;

    TfsCustomEvent& Add(std::unique_ptr<TfsCustomEvent> adapter);
    // The object goes: its adapters go first.
    void ObjectGone(const void* instance) noexcept;
    // The scope goes (cleared or freed): adapters whose routine lives in it
    // go, after being taken out of their objects.
    void ScopeGone(const TfsScript& scope) noexcept;
    std::size_t Count() const noexcept { return adapters_.size(); }

private:
    struct Entry {
        std::unique_ptr<TfsCustomEvent> adapter;
        TfsEventInstaller uninstall;
        const TfsEventHelper* event = nullptr;
    };
    friend class TfsEventHelper;
    std::vector<Entry> adapters_;
};

// An event of a registered class. Reading it gives an empty string; writing
// a routine's name connects the routine, writing nil ("0") disconnects.
class TfsEventHelper : public TfsCustomHelper {
public:
    TfsEventHelper(std::string_view name, TfsEventAdapterFactory adapter, TfsEventInstaller installer);
    platform::Variant GetValue() override;
    void SetValue(const platform::Variant& value) override;

    TfsClassVariable* ClassRef = nullptr;

private:
    TfsEventAdapterFactory adapter_;
    TfsEventInstaller installer_;
};

} // namespace script
