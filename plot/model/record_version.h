#pragma once
// Versions of the control's saved state and of every record below it:
// 32 bits, the major version in the high half. The current one is 8.6.

#include "platform/automation/guid.h"

#include <cstdint>

namespace platform {
class PropExchange;
}

namespace halvex {

constexpr std::uint32_t kStateVersion = 0x00080006;

// Classes of the objects that older streams carry as persisted objects.
constexpr platform::Guid kGlModelClassId{0x3A51E0C2, 0x6B1D, 0x4E0F, {0x9C, 0x22, 0x5D, 0x0B, 0x71, 0x8E, 0x43, 0xA1}};
constexpr platform::Guid kGlAxisClassId{0x3A51E0C3, 0x6B1D, 0x4E0F, {0x9C, 0x22, 0x5D, 0x0B, 0x71, 0x8E, 0x43, 0xA1}};
constexpr platform::Guid kGlBackPlaneClassId{0x3A51E0C4, 0x6B1D, 0x4E0F, {0x9C, 0x22, 0x5D, 0x0B, 0x71, 0x8E, 0x43, 0xA1}};

constexpr std::uint32_t version(std::uint32_t major, std::uint32_t minor) noexcept
{
    return major << 16 | minor;
}

// A stored version as it is read: a later minor version of 8 reads as 8.6;
// a major version above 8 is an archive error.
std::uint32_t CheckedVersion(const platform::PropExchange& px, std::uint32_t stored);

// The version at the head of a record: written as 8.6, or read and checked.
std::uint32_t ExchangeRecordVersion(platform::PropExchange& px);

} // namespace halvex
