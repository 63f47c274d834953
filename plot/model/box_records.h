#pragma once
// The saved records of the model box, its axes and its back planes. Each
// works on the plain fields of its object, so loading can read into a copy
// and the control applies the copies only once the whole stream was read.

#include "plot/model/back_plane.h"
#include "plot/model/gl_axis.h"

#include <array>

namespace platform {
class PropExchange;
}

namespace halvex {

class CglModelBox;

// The model box with its six objects, in the order of the stream: the box's
// own values, the axes "Xaxis", "Yaxis", "Zaxis" (the data's Y, Z and X
// axes) and the planes XY, XZ, YZ.
struct BoxRecord {
    std::int32_t axesStyle = 1;
    std::uint32_t boxColor = 0xFF000000;
    bool showBox = false;
    std::array<AxisFields, 3> axes;   // by data direction X, Y, Z
    std::array<PlaneFields, 3> planes; // by slot XY, YZ, XZ
};

void ExchangeAxisRecord(platform::PropExchange& px, AxisFields& axis);
void ExchangePlaneRecord(platform::PropExchange& px, PlaneFields& plane);
// The box and, after it, its six records (inside the box's own record in
// versions below 7.12, as objects under their keys).
void ExchangeBoxRecord(platform::PropExchange& px, BoxRecord& box);

// The box as it is now, and the box set from a record (stale, redrawn).
BoxRecord CaptureBox(const CglModelBox& box);
void RestoreBox(CglModelBox& box, const BoxRecord& record);

} // namespace halvex
