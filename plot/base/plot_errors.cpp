#include "plot/base/plot_errors.h"

#include "platform/automation/dispatch_exception.h"

#include <charconv>
#include <string>

namespace halvex {

namespace {

struct ErrorEntry {
    std::uint16_t code;
    std::string_view text;
};

constexpr ErrorEntry kErrorTable[] = {
    {err::MustBe2DMatrix, "Must be a 2-D matrix"},
    {err::ArraySizeMismatch, "array size mismatch"},
    {err::NotEnoughMemory, "Not enough Memory."},
    {err::TypeMismatch, "Type Mismatch."},
    {err::UnsupportedType, "Unsupported Type."},
    {err::GlyphFontListMissing, "GlyphMetrics: Font List is not Initialized"},
    {err::GlyphEmptyString, "GlyphMetrics: empty string."},
    {err::CantCreateSurface, "Can't create surface."},
    {err::ShininessRange, "Shininess must be between 0 and 128"},
    {err::FogStartRange, "FogStart must be greater than 0"},
    {err::FogEndRange, "FogEnd must be greater than 0"},
    {err::FogDensityRange, "Fog Density must be between 0.0 and 1.0"},
    {err::RadiusRange, "Radius must be a finite number greater than 0"},
    {err::InvalidFogMode, "Invalid Fog Mode"},
    {err::FailedToCreateSurface, "Failed to create surface."},
    {err::IllegalGraphicsPrimitive, "Illegal graphics primitive specified"},
    {err::OpenGLError, "OpenGL: "},
    {err::UnrecognizedAxisStyle, "Unrecognized axis style"},
    {57680, "Polyhedron: no dual, a face plane passes through the centre"},
    {57681, "Polyhedron: unknown name"},
    {57682, "Polyhedron: no data"},
    {57683, "Polyhedron: no digit after #"},
    {57684, "Polyhedron: not a digit"},
    {57685, "Polyhedron: zero index"},
    {57686, "Polyhedron: index too big"},
    {57687, "Polyhedron: data exceeded"},
    {57688, "Polyhedron: no bars"},
    {57689, "Polyhedron: not enough fractions"},
    {57690, "Polyhedron: too many bars"},
    {57691, "Polyhedron: fraction<=1"},
    {57692, "Polyhedron: zero denominator"},
    {57693, "Polyhedron: numerator too large"},
    {57694, "Polyhedron: nonpositive density"},
    {57695, "Polyhedron: gamma out of bounds"},
    {57696, "Polyhedron: too many vertices"},
    {57697, "Polyhedron: too many faces"},
    {err::UnrecognizedAxisNumber, "Unrecognized axis number"},
    {err::NoSurfaceFromData, "Failed to create surface from data."},
    {err::UnknownError, "Unknown error"},
    {err::ModelDoesntExist, "Model %d doesn't exist"},
    {err::ModelAlreadyExists, "Can't create model %d: model already exists"},
    {err::FailedToCreateModel, "Failed to create model %d"},
    {err::NonScalarValue, "non-scalar value"},
    {err::MustBeMultidimensional, "Must be a multidimensional array"},
    {err::CantInterpolate, "can't interpolate"},
    {err::TooManyArguments, "too many arguments"},
    {err::TooFewArguments, "too few arguments"},
    {err::MustViewAsSurface, "must view as a surface plot"},
    {err::Interrupted, "interrupted"},
};

[[noreturn]] void raise(std::int32_t scode, std::uint16_t code, std::string description)
{
    throw platform::DispatchException(scode, code, std::string(kErrorSource), std::move(description), code);
}

} // namespace

std::string_view errorText(std::uint16_t code) noexcept
{
    for (const ErrorEntry& e : kErrorTable)
        if (e.code == code)
            return e.text;
    return {};
}

void raiseError(std::uint16_t code)
{
    raise(platform::status::fromErrorNumber(code), code, std::string(errorText(code)));
}

void raiseError(std::uint16_t code, long long number)
{
    std::string text(errorText(code));
    char digits[24];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, number);
    (void)ec;
    if (auto pos = text.find("%d"); pos != std::string::npos)
        text.replace(pos, 2, digits, static_cast<std::size_t>(end - digits));
    raise(platform::status::fromErrorNumber(code), code, std::move(text));
}

void raiseError(std::uint16_t code, std::string_view appended)
{
    std::string text(errorText(code));
    text += appended;
    raise(platform::status::fromErrorNumber(code), code, std::move(text));
}

void raisePropertyError(std::uint16_t code)
{
    raise(kPropertyRangeStatus, code, std::string(errorText(code)));
}

void raiseSetNotSupported()
{
    throw platform::DispatchException(kSetNotSupportedStatus, kSetNotSupportedCode, std::string(kErrorSource),
                                      "Set not supported (read-only property).");
}

void rethrowAsAutomationError()
{
    try {
        throw;
    } catch (const platform::DispatchException&) {
        throw;
    } catch (...) {
        raiseError(err::UnknownError);
    }
}

} // namespace halvex
