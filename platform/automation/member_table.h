#pragma once
// The member names of an automation interface and their numbers, looked up
// ignoring letter case. Implementations of Dispatch use one as their
// registration table.

#include "platform/automation/dispatch.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class MemberTable {
public:
    struct Entry {
        std::string name;
        DispId id;
    };

    MemberTable() = default;
    MemberTable(std::initializer_list<Entry> entries);

    void add(std::string_view name, DispId id);
    // kDispIdUnknown when the name is not a member.
    DispId find(std::string_view name) const noexcept;
    // The member's name as registered, or empty.
    std::string_view nameOf(DispId id) const noexcept;
    // Entries in registration order.
    const std::vector<Entry>& entries() const noexcept { return entries_; }

private:
    std::vector<Entry> entries_;
    std::vector<std::size_t> byName_; // indices into entries_, sorted by folded name
};

} // namespace platform
