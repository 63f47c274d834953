#pragma once
// Registration tables of automation members: for every member its name,
// dispatch identifier and the accessors that answer it. One table serves
// every object of a class; calls by name and by identifier meet here.

#include "platform/automation/dispatch.h"
#include "platform/automation/member_table.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace halvex {

struct Member;
using MemberGetter = platform::Variant (*)(platform::Dispatch& self, const Member& m);
using MemberSetter = void (*)(platform::Dispatch& self, const Member& m, const platform::Variant& value);
using MemberMethod = platform::Variant (*)(platform::Dispatch& self, std::span<platform::Variant> args);

struct Member {
    const char* name;
    platform::DispId id;
    // A property has a getter and, unless it is read-only, a setter; a
    // method has a body and its number of arguments.
    MemberGetter get = nullptr;
    MemberSetter put = nullptr;
    MemberMethod call = nullptr;
    unsigned argCount = 0;
    // For accessors shared by several members: the declared type and a
    // member's own datum (a constant's value, a switch's bit).
    platform::VarType type = platform::varEmpty;
    std::uint32_t data = 0;
    int word = 0;
};

class MemberDispatch {
public:
    MemberDispatch(std::initializer_list<Member> members);

    platform::DispId idOfName(std::string_view name) const noexcept { return names_.find(name); }
    const platform::MemberTable& names() const noexcept { return names_; }
    const Member* find(platform::DispId id) const noexcept;

    // A property is read by a get (or a method call without arguments) and
    // written by a put; writing a read-only property is refused as
    // "set not supported". Unknown members and wrong argument counts fail
    // with the automation status codes.
    platform::Variant invoke(platform::Dispatch& self, platform::DispId id, platform::InvokeKind kind,
                             std::span<platform::Variant> args) const;

private:
    std::vector<Member> byId_;
    platform::MemberTable names_;
};

} // namespace halvex
