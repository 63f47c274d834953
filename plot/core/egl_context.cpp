#include "plot/core/egl_context.h"

#include "plot/core/fpu_precision.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <mutex>
#include <string>

namespace halvex {

namespace {

constexpr int kLargestSide = 16384;

// The framebuffer entry points are past OpenGL 1.1: fetched once.
struct FramebufferFunctions {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;

    bool complete() const
    {
        return genFramebuffers && deleteFramebuffers && bindFramebuffer && genRenderbuffers && deleteRenderbuffers &&
               bindRenderbuffer && renderbufferStorage && framebufferRenderbuffer && checkFramebufferStatus;
    }
};

const FramebufferFunctions& fb()
{
    static const FramebufferFunctions f = [] {
        FramebufferFunctions r;
        auto get = [](const char* name) { return eglGetProcAddress(name); };
        r.genFramebuffers = reinterpret_cast<PFNGLGENFRAMEBUFFERSPROC>(get("glGenFramebuffers"));
        r.deleteFramebuffers = reinterpret_cast<PFNGLDELETEFRAMEBUFFERSPROC>(get("glDeleteFramebuffers"));
        r.bindFramebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(get("glBindFramebuffer"));
        r.genRenderbuffers = reinterpret_cast<PFNGLGENRENDERBUFFERSPROC>(get("glGenRenderbuffers"));
        r.deleteRenderbuffers = reinterpret_cast<PFNGLDELETERENDERBUFFERSPROC>(get("glDeleteRenderbuffers"));
        r.bindRenderbuffer = reinterpret_cast<PFNGLBINDRENDERBUFFERPROC>(get("glBindRenderbuffer"));
        r.renderbufferStorage = reinterpret_cast<PFNGLRENDERBUFFERSTORAGEPROC>(get("glRenderbufferStorage"));
        r.framebufferRenderbuffer =
            reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFERPROC>(get("glFramebufferRenderbuffer"));
        r.checkFramebufferStatus = reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSPROC>(get("glCheckFramebufferStatus"));
        return r;
    }();
    return f;
}

// One display for the process, initialised on first use.
EGLDisplay surfacelessDisplay(std::string& error)
{
    static EGLDisplay display = EGL_NO_DISPLAY;
    static std::string failure;
    static std::once_flag once;
    std::call_once(once, [] {
        auto getPlatformDisplay =
            reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (!getPlatformDisplay) {
            failure = "EGL has no eglGetPlatformDisplayEXT";
            return;
        }
        EGLDisplay d = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        EGLint major = 0, minor = 0;
        if (d == EGL_NO_DISPLAY || !eglInitialize(d, &major, &minor)) {
            failure = "the surfaceless EGL platform is not available";
            return;
        }
        display = d;
    });
    error = failure;
    return display;
}

} // namespace

EglRenderContext::EglRenderContext(int width, int height) : width_(width), height_(height)
{
    if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide) {
        error_ = "the picture size must be 1 to 16384 pixels on each side";
        return;
    }
    EGLDisplay display = surfacelessDisplay(error_);
    if (display == EGL_NO_DISPLAY)
        return;
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error_ = "EGL cannot bind desktop OpenGL";
        return;
    }
    const EGLint attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                 EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8,
                                 EGL_BLUE_SIZE, 8, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, attributes, &config, 1, &count) || count < 1) {
        error_ = "EGL offers no configuration for desktop OpenGL";
        return;
    }
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    setFullFpuPrecision();
    if (context == EGL_NO_CONTEXT) {
        error_ = "EGL cannot create an OpenGL context";
        return;
    }
    display_ = display;
    context_ = context;
    if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
        error_ = "EGL cannot make the context current without a surface";
        return;
    }
    SetCurrent(true);
    if (!CreateFramebuffer())
        return;
    NewGeneration();
    ReadLimits();
}

bool EglRenderContext::CreateFramebuffer()
{
    const FramebufferFunctions& f = fb();
    if (!f.complete()) {
        error_ = "the OpenGL driver has no framebuffer objects";
        return false;
    }
    GLuint fbo = 0, color = 0, depth = 0;
    f.genFramebuffers(1, &fbo);
    f.bindFramebuffer(GL_FRAMEBUFFER, fbo);
    f.genRenderbuffers(1, &color);
    f.bindRenderbuffer(GL_RENDERBUFFER, color);
    f.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
    f.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color);
    f.genRenderbuffers(1, &depth);
    f.bindRenderbuffer(GL_RENDERBUFFER, depth);
    f.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width_, height_);
    f.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth);
    colorBuffer_ = color;
    depthBuffer_ = depth;
    fbo_ = fbo;
    if (f.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        error_ = "the off-screen framebuffer is not complete";
        fbo_ = 0;
        return false;
    }
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    return true;
}

EglRenderContext::~EglRenderContext()
{
    if (!context_)
        return;
    auto display = static_cast<EGLDisplay>(display_);
    if (eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, static_cast<EGLContext>(context_))) {
        const FramebufferFunctions& f = fb();
        if (f.complete()) {
            f.bindFramebuffer(GL_FRAMEBUFFER, 0);
            GLuint fbo = fbo_, rb[2] = {colorBuffer_, depthBuffer_};
            if (fbo)
                f.deleteFramebuffers(1, &fbo);
            f.deleteRenderbuffers(2, rb);
        }
    }
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    SetCurrent(false);
    eglDestroyContext(display, static_cast<EGLContext>(context_));
    setFullFpuPrecision();
}

bool EglRenderContext::MakeCurrent()
{
    if (!valid())
        return false;
    auto display = static_cast<EGLDisplay>(display_);
    auto context = static_cast<EGLContext>(context_);
    if (eglGetCurrentContext() != context &&
        !eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context))
        return false;
    fb().bindFramebuffer(GL_FRAMEBUFFER, fbo_);
    SetCurrent(true);
    return true;
}

bool EglRenderContext::MakeNotCurrent()
{
    if (!valid())
        return false;
    SetCurrent(false);
    return eglMakeCurrent(static_cast<EGLDisplay>(display_), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

int EglRenderContext::MaxSide()
{
    if (!MakeCurrent())
        return 0;
    GLint renderbuffer = 0, viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    return std::min({int(renderbuffer), int(viewport[0]), int(viewport[1]), kLargestSide});
}

bool EglRenderContext::Resize(int width, int height)
{
    if (!valid() || width < 1 || height < 1 || width > kLargestSide || height > kLargestSide || !MakeCurrent())
        return false;
    if (width == width_ && height == height_)
        return true;
    const FramebufferFunctions& f = fb();
    while (glGetError() != GL_NO_ERROR) {
    }
    f.bindRenderbuffer(GL_RENDERBUFFER, colorBuffer_);
    f.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    f.bindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
    f.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    if (glGetError() != GL_NO_ERROR || f.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        error_ = "the off-screen framebuffer cannot be made " + std::to_string(width) + " x " +
                 std::to_string(height) + " pixels";
        return false;
    }
    width_ = width;
    height_ = height;
    return true;
}

bool EglRenderContext::ReadPixels(int x, int y, int width, int height, std::vector<std::uint8_t>& rgba,
                                  bool bottomUp)
{
    if (width < 1 || height < 1 || x < 0 || y < 0 || x + width > width_ || y + height > height_ || !MakeCurrent())
        return false;
    std::size_t row = std::size_t(width) * 4;
    rgba.resize(row * std::size_t(height));
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    if (!bottomUp) {
        // GL's first row is the bottom one.
        for (int r = 0; r < height / 2; ++r)
            std::swap_ranges(rgba.begin() + std::ptrdiff_t(std::size_t(r) * row),
                             rgba.begin() + std::ptrdiff_t(std::size_t(r + 1) * row),
                             rgba.begin() + std::ptrdiff_t(std::size_t(height - 1 - r) * row));
    }
    return glGetError() == GL_NO_ERROR;
}

bool EglRenderContext::ReadPixels(std::vector<std::uint8_t>& rgba)
{
    if (!MakeCurrent())
        return false;
    std::size_t row = std::size_t(width_) * 4;
    rgba.resize(row * std::size_t(height_));
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    // GL's first row is the bottom one.
    std::vector<std::uint8_t> tmp(row);
    for (int y = 0; y < height_ / 2; ++y) {
        std::uint8_t* a = rgba.data() + std::size_t(y) * row;
        std::uint8_t* b = rgba.data() + std::size_t(height_ - 1 - y) * row;
        std::copy(a, a + row, tmp.data());
        std::copy(b, b + row, a);
        std::copy(tmp.data(), tmp.data() + row, b);
    }
    return true;
}

} // namespace halvex
