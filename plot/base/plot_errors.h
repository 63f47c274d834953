#pragma once
// The control's error table: each automation error carries its number as
// code and help context and the text stored under that number.

#include <cstdint>
#include <string_view>

namespace halvex {

namespace err {
constexpr std::uint16_t MustBe2DMatrix = 32783;
constexpr std::uint16_t ArraySizeMismatch = 32784;
constexpr std::uint16_t NotEnoughMemory = 32785;
constexpr std::uint16_t TypeMismatch = 32786;
constexpr std::uint16_t UnsupportedType = 32787;
constexpr std::uint16_t GlyphFontListMissing = 32788;
constexpr std::uint16_t GlyphEmptyString = 32789;
constexpr std::uint16_t CantCreateSurface = 32790;
constexpr std::uint16_t ShininessRange = 32792;
constexpr std::uint16_t FogStartRange = 32794;
constexpr std::uint16_t FogEndRange = 32795;
constexpr std::uint16_t FogDensityRange = 32796;
constexpr std::uint16_t RadiusRange = 32797;
constexpr std::uint16_t InvalidFogMode = 32799;
constexpr std::uint16_t FailedToCreateSurface = 32801;
constexpr std::uint16_t IllegalGraphicsPrimitive = 32814;
constexpr std::uint16_t OpenGLError = 32821;
constexpr std::uint16_t UnrecognizedAxisStyle = 57644;
// 57680 … 57697: the polyhedron generator's (plot/model/kaleido.h).
constexpr std::uint16_t PolyhedronFirst = 57680;
constexpr std::uint16_t PolyhedronLast = 57697;
constexpr std::uint16_t UnrecognizedAxisNumber = 57649;
constexpr std::uint16_t NoSurfaceFromData = 57650;
constexpr std::uint16_t UnknownError = 57651;
constexpr std::uint16_t ModelDoesntExist = 57652;
constexpr std::uint16_t ModelAlreadyExists = 57698;
constexpr std::uint16_t FailedToCreateModel = 57699;
constexpr std::uint16_t NonScalarValue = 57712;
constexpr std::uint16_t MustBeMultidimensional = 57714;
constexpr std::uint16_t CantInterpolate = 57715;
constexpr std::uint16_t TooManyArguments = 57756;
constexpr std::uint16_t TooFewArguments = 57757;
constexpr std::uint16_t MustViewAsSurface = 57758;
constexpr std::uint16_t Interrupted = 57763;
} // namespace err

// Status of a property whose value is out of range.
constexpr std::int32_t kPropertyRangeStatus = std::int32_t(0x800A03E8u);
// Status and number of a write to a read-only property.
constexpr std::int32_t kSetNotSupportedStatus = std::int32_t(0x800A017Fu);
constexpr std::uint16_t kSetNotSupportedCode = 383;

// Where the control's errors say they come from.
constexpr std::string_view kErrorSource = "Halvex";

// The text stored under an error number ("%d" where a number goes), or
// empty for a number the table does not hold.
std::string_view errorText(std::uint16_t code) noexcept;

[[noreturn]] void raiseError(std::uint16_t code);
// The text with its "%d" replaced by the number.
[[noreturn]] void raiseError(std::uint16_t code, long long number);
// The text followed by more.
[[noreturn]] void raiseError(std::uint16_t code, std::string_view appended);
// A property value out of range: the custom status 0x800A03E8.
[[noreturn]] void raisePropertyError(std::uint16_t code);
[[noreturn]] void raiseSetNotSupported();

// For the outer level of a method that converts or builds, inside a catch
// block: an automation error passes unchanged, anything else becomes
// "Unknown error".
[[noreturn]] void rethrowAsAutomationError();

} // namespace halvex
