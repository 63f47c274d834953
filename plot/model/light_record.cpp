#include "plot/model/light_record.h"

#include "platform/archive/prop_exchange.h"
#include "plot/model/record_version.h"

namespace halvex {

using platform::PropExchange;

void ExchangeLightRecord(PropExchange& px, LightRecord& l)
{
    ExchangeRecordVersion(px);
    px.WithDefault(&PropExchange::ULong, "SpecularColor", l.specular, 0u);
    px.WithDefault(&PropExchange::ULong, "DiffuseColor", l.diffuse, 0u);
    px.WithDefault(&PropExchange::Float, "PosX", l.posX, 0.0f);
    px.WithDefault(&PropExchange::Float, "PosY", l.posY, 0.0f);
    px.WithDefault(&PropExchange::Float, "PosZ", l.posZ, 0.0f);
    px.WithDefault(&PropExchange::Float, "PositionScale", l.positionScale, 1.0f);
    px.WithDefault(&PropExchange::Short, "ID", l.id, std::int16_t(0x4000));
    px.WithDefault(&PropExchange::Short, "Enabled", l.enabled, std::int16_t(1));
}

LightRecord CaptureLight(const CglLight& light)
{
    LightRecord r;
    r.specular = packRgb(light.specular(), 0);
    r.diffuse = packRgb(light.diffuse(), 0);
    const LightPosition& p = light.position();
    r.posX = p[2];
    r.posY = p[0];
    r.posZ = p[1];
    r.positionScale = p[3];
    r.id = static_cast<std::int16_t>(light.lightNumber());
    r.enabled = light.enabled() ? 1 : 0;
    return r;
}

} // namespace halvex
