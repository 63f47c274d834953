#pragma once
// The control's process-wide critical section: held while a host
// evaluation builds models and while a polyhedron is generated. The same
// thread may enter it again.

#include <mutex>

namespace halvex::host {

inline std::recursive_mutex& HostCriticalSection()
{
    static std::recursive_mutex section;
    return section;
}

} // namespace halvex::host
