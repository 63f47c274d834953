#pragma once
// Colour maps: the two built in (hue and grey ramps) and the maps read from
// "*.cmp" files in the "cmaps" folder beside the program. One list serves
// every control of the process.

#include "plot/model/bounding_record.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace halvex {

using Rgb = std::array<float, 3>;

struct Colormap {
    std::string name;                 // file name without folder and extension
    std::vector<std::uint32_t> colors; // red in the low byte; high byte 0xFF
};

// Reads one colour-map file's bytes. False, with out untouched, for a wrong
// header text, a count below 1, or a count or length that the bytes do not
// hold (checked before anything is allocated).
bool ParseColormapFile(std::string_view bytes, std::string name, Colormap& out);

class ColormapList {
public:
    // The process-wide list, loaded from the program's "cmaps" folder the
    // first time it is asked for.
    static ColormapList& instance();

    // Replaces the list by the valid "*.cmp" files of the folder, sorted by
    // file name so that indices do not depend on the file system.
    void LoadFrom(const std::string& folder);
    // The same for the "cmaps" folder beside the executable.
    void Load();

    std::size_t size() const noexcept { return maps_.size(); }
    const Colormap& at(std::size_t k) const { return maps_[k]; }

private:
    std::vector<Colormap> maps_;
};

// The "cmaps" folder beside the executable, with its trailing '/'.
std::string ColormapFolder();

// The colour at ramp position t (clamped to 0..1) of loaded map k; false
// when k is outside the list.
bool LookupColormap(std::size_t k, float t, Rgb& out);

// Where a point lies on the colour ramp of the spectrum direction (bits 1 X,
// 2 Y, 4 Z of the user's axes), over the box. Always within 0..1: positions
// outside, an empty range and NaN are brought into it here, once.
float RampPosition(const BoundingRecord& box, const float* point, std::int32_t spectrumDir) noexcept;

// t clamped into 0..1; NaN gives 0.
inline float ClampRamp(float t) noexcept
{
    return t > 0.0f ? (t < 1.0f ? t : 1.0f) : 0.0f;
}

// The built-in hue ramp: dark blue-violet at 0, bright red at 1.
Rgb HueRamp(float t) noexcept;

// The colour of map index (0 hue, 1 grey, k ≥ 2 loaded map k − 2, falling
// back to the hue ramp past the end) at a clamped ramp position.
Rgb SpectrumRgb(std::int32_t index, float t);

} // namespace halvex
