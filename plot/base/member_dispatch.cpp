#include "plot/base/member_dispatch.h"

#include "platform/automation/dispatch_exception.h"
#include "plot/base/plot_errors.h"

#include <algorithm>

namespace halvex {

using platform::DispatchException;
using platform::InvokeKind;
namespace status = platform::status;

MemberDispatch::MemberDispatch(std::initializer_list<Member> members) : byId_(members)
{
    for (const Member& m : byId_)
        names_.add(m.name, m.id);
    std::sort(byId_.begin(), byId_.end(), [](const Member& a, const Member& b) { return a.id < b.id; });
}

const Member* MemberDispatch::find(platform::DispId id) const noexcept
{
    auto it = std::lower_bound(byId_.begin(), byId_.end(), id, [](const Member& m, platform::DispId x) { return m.id < x; });
    return it != byId_.end() && it->id == id ? &*it : nullptr;
}

platform::Variant MemberDispatch::invoke(platform::Dispatch& self, platform::DispId id, InvokeKind kind,
                                         std::span<platform::Variant> args) const
{
    const Member* m = find(id);
    if (!m)
        throw DispatchException::fromStatus(status::MemberNotFound, self.className());
    bool put = kind == InvokeKind::PropertyPut || kind == InvokeKind::PropertyPutRef;
    if (m->call) {
        if (put)
            throw DispatchException::fromStatus(status::MemberNotFound, self.className());
        if (args.size() != m->argCount)
            throw DispatchException::fromStatus(status::BadParamCount, self.className());
        return m->call(self, args);
    }
    if (put) {
        if (args.size() != 1)
            throw DispatchException::fromStatus(status::BadParamCount, self.className());
        if (!m->put)
            raiseSetNotSupported();
        m->put(self, *m, args[0]);
        return {};
    }
    if (!args.empty())
        throw DispatchException::fromStatus(status::BadParamCount, self.className());
    return m->get(self, *m);
}

} // namespace halvex
