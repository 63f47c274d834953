#include "plot/dialog/swatch_colors.h"

namespace halvex {

// Packed with red in the low byte; the web form of each beside it.
const std::array<SwatchColor, 40> kSwatchColors{{
    {"Black", 0x000000}, // #000000
    {"Brown", 0x003399}, // #993300
    {"Olive Green", 0x003333}, // #333300
    {"Dark Green", 0x003300}, // #003300
    {"Dark Teal", 0x663300}, // #003366
    {"Dark Blue", 0x800000}, // #000080
    {"Indigo", 0x993333}, // #333399
    {"Gray-80%", 0x333333}, // #333333
    {"Dark Red", 0x000080}, // #800000
    {"Orange", 0x0066FF}, // #FF6600
    {"Dark Yellow", 0x008080}, // #808000
    {"Green", 0x008000}, // #008000
    {"Teal", 0x808000}, // #008080
    {"Blue", 0xFF0000}, // #0000FF
    {"Blue-Gray", 0x996666}, // #666699
    {"Gray-50%", 0x808080}, // #808080
    {"Red", 0x0000FF}, // #FF0000
    {"Light Orange", 0x0099FF}, // #FF9900
    {"Lime", 0x00CC99}, // #99CC00
    {"Sea Green", 0x669933}, // #339966
    {"Aqua", 0xCCCC33}, // #33CCCC
    {"Light Blue", 0xFF6633}, // #3366FF
    {"Violet", 0x800080}, // #800080
    {"Gray-40%", 0x969696}, // #969696
    {"Pink", 0xFF00FF}, // #FF00FF
    {"Gold", 0x00CCFF}, // #FFCC00
    {"Yellow", 0x00FFFF}, // #FFFF00
    {"Bright Green", 0x00FF00}, // #00FF00
    {"Turquoise", 0xFFFF00}, // #00FFFF
    {"Sky Blue", 0xFFCC00}, // #00CCFF
    {"Plum", 0x663399}, // #993366
    {"Gray-25%", 0xC0C0C0}, // #C0C0C0
    {"Rose", 0xCC99FF}, // #FF99CC
    {"Tan", 0x99CCFF}, // #FFCC99
    {"LightYellow", 0x99FFFF}, // #FFFF99
    {"Light Green", 0xCCFFCC}, // #CCFFCC
    {"Light Turquoise", 0xFFFFCC}, // #CCFFFF
    {"Pale Blue", 0xFFCC99}, // #99CCFF
    {"Lavender", 0xFF99CC}, // #CC99FF
    {"White", 0xFFFFFF}, // #FFFFFF
}};

} // namespace halvex
