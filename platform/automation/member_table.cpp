#include "platform/automation/member_table.h"

#include "platform/text/ascii_case.h"

#include <algorithm>

namespace platform {

namespace {

int compareFolded(std::string_view a, std::string_view b) noexcept
{
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        char x = lowerAscii(a[i]), y = lowerAscii(b[i]);
        if (x != y)
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

} // namespace

MemberTable::MemberTable(std::initializer_list<Entry> entries)
{
    for (const Entry& e : entries)
        add(e.name, e.id);
}

void MemberTable::add(std::string_view name, DispId id)
{
    entries_.push_back({std::string(name), id});
    std::size_t index = entries_.size() - 1;
    auto pos = std::lower_bound(byName_.begin(), byName_.end(), name, [this](std::size_t i, std::string_view n) {
        return compareFolded(entries_[i].name, n) < 0;
    });
    byName_.insert(pos, index);
}

DispId MemberTable::find(std::string_view name) const noexcept
{
    auto pos = std::lower_bound(byName_.begin(), byName_.end(), name, [this](std::size_t i, std::string_view n) {
        return compareFolded(entries_[i].name, n) < 0;
    });
    if (pos != byName_.end() && compareFolded(entries_[*pos].name, name) == 0)
        return entries_[*pos].id;
    return kDispIdUnknown;
}

std::string_view MemberTable::nameOf(DispId id) const noexcept
{
    for (const Entry& e : entries_)
        if (e.id == id)
            return e.name;
    return {};
}

} // namespace platform
