#include "plot/core/fpu_precision.h"

#if defined(__i386__) || defined(__x86_64__)
#include <fpu_control.h>
#endif

namespace halvex {

void setFullFpuPrecision() noexcept
{
#if defined(__i386__) || defined(__x86_64__)
    fpu_control_t cw;
    _FPU_GETCW(cw);
    fpu_control_t full = static_cast<fpu_control_t>((cw & ~_FPU_EXTENDED) | _FPU_EXTENDED);
    if (full != cw)
        _FPU_SETCW(full);
#endif
}

} // namespace halvex
