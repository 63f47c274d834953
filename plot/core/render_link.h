#pragma once
// What the control asks of its renderer. The rendering engine implements
// it; a control without one has no rendering context.

#include <cstdint>

namespace halvex {

class RenderLink {
public:
    virtual ~RenderLink() = default;
    // Drops the two recorded scene lists (opaque and transparent models).
    virtual void DiscardSceneLists() = 0;
    // False when there is no rendering context.
    virtual bool MakeCurrent() = 0;
    virtual bool MakeNotCurrent() = 0;
    virtual void PolygonOffset(float factor, float units) = 0;
    // The viewport for the control's size, after a size or viewing
    // distance change.
    virtual void SetViewport(int width, int height) = 0;
    // A destroyed light is switched off in the renderer.
    virtual void DisableLight(std::int32_t lightNumber) = 0;
    // Asked by drawing code between strips; true stops the drawing.
    virtual bool InterruptRequested() { return false; }
};

} // namespace halvex
