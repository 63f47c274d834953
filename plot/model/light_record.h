#pragma once
// The saved record of a light: its values as its automation properties
// read and write them.

#include "plot/model/plot_light.h"

#include <cstdint>

namespace platform {
class PropExchange;
}

namespace halvex {

struct LightRecord {
    std::uint32_t specular = 0; // packed, as `Specular` reads it
    std::uint32_t diffuse = 0;
    float posX = 0.0f, posY = 0.0f, posZ = 0.0f;
    float positionScale = 1.0f;
    std::int16_t id = 0x4000;
    std::int16_t enabled = 1;
};

// Loading starts from the record's own defaults (0 for colours and
// coordinates, 1 for the scale, light name 0x4000, enabled).
void ExchangeLightRecord(platform::PropExchange& px, LightRecord& light);

LightRecord CaptureLight(const CglLight& light);

} // namespace halvex
