#pragma once
// Structured exceptions as the control reports them: a code, the name it
// is shown by, and the family it belongs to (floating point, memory). The
// control installs no translator of processor faults: a host computation
// runs with the floating-point exceptions masked, and the flags the step
// raised are turned into these afterwards (FloatingPointStep).

#include <cfenv>
#include <cstdint>
#include <exception>
#include <string_view>

namespace halvex {

class SE_Exception : public std::exception {
public:
    explicit SE_Exception(std::uint32_t code) noexcept : code_(code) {}
    std::uint32_t code() const noexcept { return code_; }
    // The message a host is shown, for example "singularity".
    std::string_view name() const noexcept;
    const char* what() const noexcept override { return name().data(); }

private:
    std::uint32_t code_;
};

class SE_FPE_Exception : public SE_Exception {
public:
    using SE_Exception::SE_Exception;
};

class SE_Memory_Exception : public SE_Exception {
public:
    SE_Memory_Exception(std::uint32_t code, bool write, std::uintptr_t address) noexcept
        : SE_Exception(code), write_(write), address_(address)
    {}
    bool write() const noexcept { return write_; }
    std::uintptr_t address() const noexcept { return address_; }

private:
    bool write_;
    std::uintptr_t address_;
};

namespace se_code {
constexpr std::uint32_t AccessViolation = 0xC0000005;
constexpr std::uint32_t FltDivideByZero = 0xC000008E;
constexpr std::uint32_t FltInvalidOperation = 0xC0000090;
constexpr std::uint32_t FltOverflow = 0xC0000091;
} // namespace se_code

// The name of a code ("EXCEPTION_UNKNOWN_EXCEPTION" for codes not in the
// table).
std::string_view StructuredExceptionName(std::uint32_t code) noexcept;

// The family member of a code: floating-point codes give an
// SE_FPE_Exception, access, bounds and misalignment an
// SE_Memory_Exception, the others an SE_Exception.
[[noreturn]] void ThrowStructuredException(std::uint32_t code, bool write = false, std::uintptr_t address = 0);

// A host computation: the floating-point environment saved, every
// exception masked (no signal ever kills the process), full precision,
// the flags cleared; the environment is restored when it ends.
class FloatingPointStep {
public:
    FloatingPointStep() noexcept;
    ~FloatingPointStep();
    FloatingPointStep(const FloatingPointStep&) = delete;
    FloatingPointStep& operator=(const FloatingPointStep&) = delete;

    // The code of what the computation raised that the host's control word
    // would have trapped (division by zero before invalid operation before
    // overflow), or 0.
    std::uint32_t RaisedCode() const noexcept;
    // Throws the exception of RaisedCode when there is one.
    void ThrowRaised() const;
    // The host's environment again, before the step ends.
    void Restore() noexcept;

private:
    std::fenv_t saved_;
    bool restored_ = false;
};

} // namespace halvex
