#pragma once
// The error an automation call raises: an error number, where it came from,
// a text, a help context and a status code, as a container reports them.

#include <cstdint>
#include <exception>
#include <string>

namespace platform {

// Status codes of automation calls.
namespace status {
constexpr std::int32_t Ok = 0;
constexpr std::int32_t Fail = std::int32_t(0x80004005u);
constexpr std::int32_t OutOfMemory = std::int32_t(0x8007000Eu);
constexpr std::int32_t InvalidArg = std::int32_t(0x80070057u);
constexpr std::int32_t UnknownInterface = std::int32_t(0x80020001u);
constexpr std::int32_t MemberNotFound = std::int32_t(0x80020003u);
constexpr std::int32_t ParamNotFound = std::int32_t(0x80020004u);
constexpr std::int32_t TypeMismatch = std::int32_t(0x80020005u);
constexpr std::int32_t UnknownName = std::int32_t(0x80020006u);
constexpr std::int32_t NoNamedArgs = std::int32_t(0x80020007u);
constexpr std::int32_t BadVarType = std::int32_t(0x80020008u);
constexpr std::int32_t Exception = std::int32_t(0x80020009u);
constexpr std::int32_t Overflow = std::int32_t(0x8002000Au);
constexpr std::int32_t BadIndex = std::int32_t(0x8002000Bu);
constexpr std::int32_t BadParamCount = std::int32_t(0x8002000Eu);
constexpr std::int32_t ParamNotOptional = std::int32_t(0x8002000Fu);
constexpr std::int32_t ClassNotRegistered = std::int32_t(0x80040154u);
// Custom errors of a control use the "automation error" facility with the
// error number in the low word: 0x800A0000 | number.
constexpr std::int32_t fromErrorNumber(std::uint16_t number)
{
    return std::int32_t(0x800A0000u | number);
}
} // namespace status

class DispatchException : public std::exception {
public:
    DispatchException(std::int32_t scode, std::uint16_t code, std::string source,
                      std::string description, std::uint32_t helpContext = 0,
                      std::string helpFile = {})
        : scode_(scode), code_(code), source_(std::move(source)),
          description_(std::move(description)), helpFile_(std::move(helpFile)),
          helpContext_(helpContext)
    {}

    // A failure that carries only a status code; the text names the code.
    static DispatchException fromStatus(std::int32_t scode, std::string source = {});

    const char* what() const noexcept override { return description_.c_str(); }

    std::int32_t scode() const noexcept { return scode_; }
    std::uint16_t code() const noexcept { return code_; }
    const std::string& source() const noexcept { return source_; }
    const std::string& description() const noexcept { return description_; }
    const std::string& helpFile() const noexcept { return helpFile_; }
    std::uint32_t helpContext() const noexcept { return helpContext_; }

private:
    std::int32_t scode_;
    std::uint16_t code_;
    std::string source_;
    std::string description_;
    std::string helpFile_;
    std::uint32_t helpContext_;
};

} // namespace platform
