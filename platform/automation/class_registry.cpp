#include "platform/automation/class_registry.h"

#include "platform/automation/dispatch_exception.h"
#include "platform/text/ascii_case.h"

#include <algorithm>

namespace platform {

ClassRegistry& ClassRegistry::instance()
{
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::registerClass(std::string progId, const Guid& clsid, Factory factory)
{
    std::erase_if(classes_, [&](const ClassInfo& c) {
        return equalsIgnoreCaseAscii(c.progId, progId) || c.clsid == clsid;
    });
    classes_.push_back({std::move(progId), clsid, std::move(factory)});
}

void ClassRegistry::unregisterClass(std::string_view progId)
{
    std::erase_if(classes_, [&](const ClassInfo& c) { return equalsIgnoreCaseAscii(c.progId, progId); });
}

bool ClassRegistry::isRegistered(std::string_view progId) const
{
    return findByProgId(progId) != nullptr;
}

const ClassRegistry::ClassInfo* ClassRegistry::findByProgId(std::string_view progId) const
{
    for (const ClassInfo& c : classes_)
        if (equalsIgnoreCaseAscii(c.progId, progId))
            return &c;
    return nullptr;
}

const ClassRegistry::ClassInfo* ClassRegistry::findByClsid(const Guid& clsid) const
{
    for (const ClassInfo& c : classes_)
        if (c.clsid == clsid)
            return &c;
    return nullptr;
}

Ref<Dispatch> ClassRegistry::create(std::string_view progId) const
{
    const ClassInfo* c = findByProgId(progId);
    if (!c)
        throw DispatchException(status::ClassNotRegistered, 0, std::string(progId), "Invalid class string");
    return c->factory();
}

Ref<Dispatch> ClassRegistry::create(const Guid& clsid) const
{
    const ClassInfo* c = findByClsid(clsid);
    if (!c)
        throw DispatchException(status::ClassNotRegistered, 0, clsid.toString(), "Class not registered");
    return c->factory();
}

} // namespace platform
