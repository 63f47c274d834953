#include "plot/core/se_exception.h"

#include "plot/core/fpu_precision.h"

#include <array>
#include <fenv.h>

namespace halvex {

namespace {

struct CodeName {
    std::uint32_t code;
    std::string_view name;
};

constexpr std::array<CodeName, 21> kNames{{
    {0x80000001, "EXCEPTION_GUARD_PAGE"},
    {0x80000002, "EXCEPTION_DATATYPE_MISALIGNMENT"},
    {0x80000003, "EXCEPTION_BREAKPOINT"},
    {0x80000004, "EXCEPTION_SINGLE_STEP"},
    {0xC0000005, "EXCEPTION_ACCESS_VIOLATION"},
    {0xC0000006, "EXCEPTION_IN_PAGE_ERROR"},
    {0xC000001D, "EXCEPTION_ILLEGAL_INSTRUCTION"},
    {0xC0000025, "EXCEPTION_NONCONTINUABLE_EXCEPTION"},
    {0xC0000026, "EXCEPTION_INVALID_DISPOSITION"},
    {0xC000008C, "EXCEPTION_ARRAY_BOUNDS_EXCEEDED"},
    {0xC000008D, "EXCEPTION_FLT_DENORMAL_OPERAND"},
    {0xC000008E, "singularity"},
    {0xC000008F, "EXCEPTION_FLT_INEXACT_RESULT"},
    {0xC0000090, "floating point error"},
    {0xC0000091, "overflow"},
    {0xC0000092, "EXCEPTION_FLT_STACK_CHECK"},
    {0xC0000093, "EXCEPTION_FLT_UNDERFLOW"},
    {0xC0000094, "EXCEPTION_INT_DIVIDE_BY_ZERO"},
    {0xC0000095, "EXCEPTION_INT_OVERFLOW"},
    {0xC0000096, "EXCEPTION_PRIV_INSTRUCTION"},
    {0xC00000FD, "EXCEPTION_STACK_OVERFLOW"},
}};

} // namespace

std::string_view StructuredExceptionName(std::uint32_t code) noexcept
{
    for (const CodeName& c : kNames)
        if (c.code == code)
            return c.name;
    return "EXCEPTION_UNKNOWN_EXCEPTION";
}

std::string_view SE_Exception::name() const noexcept
{
    return StructuredExceptionName(code_);
}

void ThrowStructuredException(std::uint32_t code, bool write, std::uintptr_t address)
{
    if (code >= 0xC000008D && code <= 0xC0000093)
        throw SE_FPE_Exception(code);
    if (code == 0xC0000005 || code == 0xC000008C || code == 0x80000002)
        throw SE_Memory_Exception(code, write, address);
    throw SE_Exception(code);
}

FloatingPointStep::FloatingPointStep() noexcept
{
    std::fegetenv(&saved_);
    std::feclearexcept(FE_ALL_EXCEPT);
    // Masked on both units: the host's control word would unmask
    // division by zero, invalid operations and overflow, which on this
    // system ends the process with a signal; their flags are read instead.
    fedisableexcept(FE_ALL_EXCEPT);
    setFullFpuPrecision();
}

FloatingPointStep::~FloatingPointStep()
{
    Restore();
}

void FloatingPointStep::Restore() noexcept
{
    if (!restored_)
        std::fesetenv(&saved_);
    restored_ = true;
}

std::uint32_t FloatingPointStep::RaisedCode() const noexcept
{
    if (std::fetestexcept(FE_DIVBYZERO))
        return se_code::FltDivideByZero;
    if (std::fetestexcept(FE_INVALID))
        return se_code::FltInvalidOperation;
    if (std::fetestexcept(FE_OVERFLOW))
        return se_code::FltOverflow;
    return 0;
}

void FloatingPointStep::ThrowRaised() const
{
    if (std::uint32_t code = RaisedCode())
        ThrowStructuredException(code);
}

} // namespace halvex
