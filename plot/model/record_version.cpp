#include "plot/model/record_version.h"

#include "platform/archive/prop_exchange.h"

namespace halvex {

std::uint32_t CheckedVersion(const platform::PropExchange& px, std::uint32_t stored)
{
    if (stored >> 16 > 8)
        px.fail(platform::ArchiveError::Kind::BadVersion,
                "the state was saved by a later version (" + std::to_string(stored >> 16) + "." +
                    std::to_string(stored & 0xFFFF) + ")");
    return stored > kStateVersion ? kStateVersion : stored;
}

std::uint32_t ExchangeRecordVersion(platform::PropExchange& px)
{
    return CheckedVersion(px, px.Version(kStateVersion));
}

} // namespace halvex
