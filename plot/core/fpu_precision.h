#pragma once
// Every computing automation method and host entry starts by putting the
// x87 unit into full (64-bit mantissa) precision, so long double work does
// not depend on what a host left behind. Doubles on x86-64 go through SSE
// and are not affected either way.

namespace halvex {

void setFullFpuPrecision() noexcept;

} // namespace halvex
