#pragma once
// `RenderContext`: the GL context the control draws into, on screen (the
// widget's) or off screen (EGL). Display lists, textures and glyph lists
// belong to one GL context: `generation` changes whenever the context is
// new, and everything cached for an older generation is rebuilt.

#include <cstdint>
#include <memory>

namespace halvex {

class SceneFonts;

class RenderContext {
public:
    virtual ~RenderContext();

    // False when there is no GL context to draw with.
    virtual bool MakeCurrent() = 0;
    virtual bool MakeNotCurrent() = 0;
    // Shows a finished frame (double buffered contexts).
    virtual void SwapBuffers() {}
    virtual bool DoubleBuffered() const = 0;
    // Draws into memory, not a window: the colour buffer is always cleared.
    virtual bool Offscreen() const = 0;

    // The context whose MakeCurrent ran last on this thread, or nullptr.
    // Drawing code that has only the current GL context finds its record
    // here.
    static RenderContext* Current() noexcept;

    std::uint64_t generation() const noexcept { return generation_; }
    // True while a context of that generation exists: names recorded in a
    // generation that is gone are free to forget.
    static bool GenerationLive(std::uint64_t generation) noexcept;

    // The glyph lists of this context, made on first use and dropped with
    // the context.
    SceneFonts& fonts();

    bool accelerated = false;
    float sceneRadius[2] = {0.0f, 0.0f};
    int pixelSize96[2] = {0, 0};
    float viewVolume[2] = {0.0f, 0.0f};
    // Device dots per inch / 12: 8 on a 96 dpi screen.
    float lineWidthUnit = 8.0f;
    // Target pixels per control pixel.
    float pixelScale[2] = {1.0f, 1.0f};
    float lineWidthRange[2] = {1.0f, 1.0f};
    float pointSizeRange[2] = {1.0f, 1.0f};

    // Wireframe and stipple widths scale with the device resolution.
    float lineScale() const noexcept { return lineWidthUnit / 8.0f; }
    // Dots are f × PointSize × 0.25 pixels.
    float pointScale() const noexcept { return lineWidthUnit; }
    // The largest point the renderer draws round and fast.
    float pointThreshold() const noexcept { return pointSizeRange[1]; }

    // Reads the line and point size ranges of the current context.
    void ReadLimits();

protected:
    RenderContext();
    // A new GL context stands behind this record from now on.
    void NewGeneration() noexcept;
    void SetCurrent(bool current) noexcept;

private:
    std::uint64_t generation_ = 0;
    std::unique_ptr<SceneFonts> fonts_;
};

} // namespace halvex
