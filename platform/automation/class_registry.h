#pragma once
// The in-process class registry: automation classes registered under a
// programmatic identifier and a class identifier, and created by either.

#include "platform/automation/dispatch.h"
#include "platform/automation/guid.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class ClassRegistry {
public:
    using Factory = std::function<Ref<Dispatch>()>;

    struct ClassInfo {
        std::string progId;
        Guid clsid;
        Factory factory;
    };

    static ClassRegistry& instance();

    // Registers a class; a class already registered under the same ProgID
    // or class identifier is replaced.
    void registerClass(std::string progId, const Guid& clsid, Factory factory);
    void unregisterClass(std::string_view progId);

    bool isRegistered(std::string_view progId) const;
    const ClassInfo* findByProgId(std::string_view progId) const; // ignoring case
    const ClassInfo* findByClsid(const Guid& clsid) const;

    // A new object, or a DispatchException with status::ClassNotRegistered
    // ("Invalid class string" for an unknown ProgID).
    Ref<Dispatch> create(std::string_view progId) const;
    Ref<Dispatch> create(const Guid& clsid) const;

private:
    std::vector<ClassInfo> classes_;
};

} // namespace platform
