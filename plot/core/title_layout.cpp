#include "plot/core/title_layout.h"

#include "plot/base/font_face.h"
#include "plot/core/gl_control_core.h"
#include "plot/host/ambient_font.h"
#include "plot/host/control_site.h"

#include <algorithm>
#include <cmath>

namespace halvex {

TitleLayout LayOutTitle(const CGLCOleControl& control, int width, int height, double dpi)
{
    TitleLayout t;
    const ControlState& s = control.state();
    if (s.graphTitle.empty() || s.graphTitlePosition == 2 || width < 1 || height < 1)
        return t;
    if (!(dpi > 0.0))
        dpi = 96.0;
    t.face = "Times New Roman";
    int points = 10;
    std::string face;
    int ambientPoints = 0;
    if (host::ReadAmbientFont(control.AmbientProperty(host::ambient::Font), face, ambientPoints)) {
        t.face = face;
        points = std::max(1, ambientPoints);
    }
    const float scale = float(dpi / 96.0);
    const float pad = std::round(2.0f * scale);
    t.pixels = float(points * dpi / 72.0);
    float ascent = 0.9f, descent = 0.25f;
    if (std::shared_ptr<FontFace> f = FontFace::Find(t.face)) {
        ascent = f->ascent();
        descent = f->descent();
        float em = 0.0f;
        for (char c : s.graphTitle)
            em += f->Outline(static_cast<unsigned char>(c)).advance;
        // A little room to spare: the painter's hinting and kerning may set
        // the text a few pixels wider than the advances add up to.
        const float room = 0.95f * (float(width) - 2.0f * pad);
        if (em * t.pixels > room && em > 0.0f)
            t.pixels = room / em;
    }
    if (t.pixels < 6.0f * scale)
        return t;
    t.band = int(std::ceil((ascent + descent) * t.pixels + 2.0f * pad));
    if (t.band * 3 > height)
        return t;
    t.shown = true;
    t.above = s.graphTitlePosition == 0;
    return t;
}

} // namespace halvex
