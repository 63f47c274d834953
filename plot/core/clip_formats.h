#pragma once
// The clipboard formats the control registers at start, with the numbers
// an annotation's saved clipboard format holds and the MIME types they
// travel as. The numbers are fixed, so a saved state means the same format
// in every run.

#include <array>
#include <cstdint>
#include <string_view>

namespace halvex {

struct ClipFormat {
    std::string_view name;
    std::string_view mime;
    std::uint16_t number;
};

namespace clipfmt {
constexpr ClipFormat ObjectDescriptor{"Object Descriptor", "application/x-corvane-object-descriptor", 0xC000};
constexpr ClipFormat EmbedSource{"Embed Source", "application/x-corvane-embed-source", 0xC001};
constexpr ClipFormat TreeNode{"Tree Node", "application/x-corvane-tree-node", 0xC002};
constexpr ClipFormat EquationRegion{"Equation Region", "application/x-corvane-equation-region", 0xC003};
constexpr ClipFormat TextRegion{"Text Region", "application/x-corvane-text-region", 0xC004};
constexpr ClipFormat RichText{"Rich Text Format", "text/rtf", 0xC005};
constexpr ClipFormat Regions{"Regions", "application/x-corvane-regions", 0xC006};
// A link to an object kept elsewhere (offered by sources that can link).
constexpr ClipFormat LinkSource{"Link Source", "application/x-corvane-link-source", 0xC007};
} // namespace clipfmt

constexpr std::array<ClipFormat, 7> kRegisteredClipFormats{clipfmt::ObjectDescriptor, clipfmt::EmbedSource,
                                                           clipfmt::TreeNode,         clipfmt::EquationRegion,
                                                           clipfmt::TextRegion,       clipfmt::RichText,
                                                           clipfmt::Regions};

// The host formats whose data becomes a picture annotation, in the order
// they are tried.
constexpr std::array<ClipFormat, 3> kRegionClipFormats{clipfmt::EquationRegion, clipfmt::TextRegion,
                                                       clipfmt::Regions};

// Pictures: a vector picture (preferred) and bitmaps.
constexpr std::string_view kSvgMime = "image/svg+xml";
constexpr std::string_view kPngMime = "image/png";

} // namespace halvex
