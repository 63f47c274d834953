#pragma once
// The control's window on screen: a QOpenGLWidget (desktop OpenGL,
// compatibility profile) that is the control's site, gives the renderer
// its context, answers the ambient properties from its own font and
// palette, and draws the border and title over the picture.

#include "platform/automation/dispatch.h"
#include "plot/core/gl_renderer.h"
#include "plot/core/render_context.h"
#include "plot/host/control_site.h"

#include <QOpenGLWidget>

#include <functional>
#include <memory>

namespace halvex {

class COpenGLCtrl;

class PlotWidget final : public QOpenGLWidget, public host::ControlSite, private InterruptProbe {
public:
    // control: an object of the class "OpenGL" (the plot control).
    explicit PlotWidget(platform::Ref<platform::Dispatch> control, QWidget* parent = nullptr);
    ~PlotWidget() override;

    COpenGLCtrl& control() const noexcept { return *control_; }
    const platform::Ref<platform::Dispatch>& dispatch() const noexcept { return dispatch_; }

    // ControlSite
    void invalidate(bool erase) override;
    platform::Variant ambient(platform::DispId id) const override;
    void showAboutBox() override;

    // Asks whether to stop after the user pressed Escape: true for OK.
    // A message box unless replaced (tests).
    void setInterruptQuestion(std::function<bool()> ask) { ask_ = std::move(ask); }
    // Where the Escape key is read during a drawing: the keyboard unless
    // replaced (tests).
    void setEscapeProbe(std::function<bool()> probe) { escapeProbe_ = std::move(probe); }
    // Frames drawn, for tests.
    int frames() const noexcept { return frames_; }
    GlRenderer::Frame lastFrame() const noexcept { return lastFrame_; }

    // The Escape question is not asked inside a paint; it waits for this.
    bool questionPending() const noexcept { return questionPending_; }

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class Context;

    bool EscapePressed() override;
    void askAboutInterruption();
    void paintPlaceholder();

    platform::Ref<platform::Dispatch> dispatch_;
    COpenGLCtrl* control_;
    std::unique_ptr<Context> context_;
    std::function<bool()> ask_;
    std::function<bool()> escapeProbe_;
    int frames_ = 0;
    GlRenderer::Frame lastFrame_ = GlRenderer::Frame::Skipped;
    bool escapeSeen_ = false;
    bool questionPending_ = false;
    bool questionOpen_ = false;
    bool firstPlacement_ = true;
    bool redrawAfterPaint_ = false;
};

} // namespace halvex
