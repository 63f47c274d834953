#pragma once
// Class identifiers: 128-bit GUIDs in their registry text form
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    // Accepts the text with or without braces, hex digits in any case.
    static std::optional<Guid> parse(std::string_view text) noexcept;
    std::string toString() const; // upper case, with braces

    friend auto operator<=>(const Guid&, const Guid&) = default;
};

} // namespace platform
