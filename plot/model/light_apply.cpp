// The light's part of a frame: the renderer applies every light once per
// scene build, under the transformation current at that moment.
#include "plot/model/plot_light.h"

#include <GL/gl.h>

namespace halvex {

void CglLight::Apply() const
{
    auto name = static_cast<GLenum>(lightNumber_);
    if (!enabled_) {
        glDisable(name);
        return;
    }
    glEnable(name);
    glLightfv(name, GL_POSITION, position_.data());
    glLightfv(name, GL_DIFFUSE, diffuse_.data());
    glLightfv(name, GL_SPECULAR, specular_.data());
}

} // namespace halvex
