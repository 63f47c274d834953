#pragma once
// The control's window on screen: a QOpenGLWidget (desktop OpenGL,
// compatibility profile) that is the control's site, gives the renderer
// its context, answers the ambient properties from its own font and
// palette, and draws the border and title over the picture.

#include "platform/automation/dispatch.h"
#include "plot/core/gl_renderer.h"
#include "plot/core/render_context.h"
#include "plot/core/view_gestures.h"
#include "plot/host/control_site.h"
#include "plot/widget/annotation_transfer.h"
#include "plot/widget/export_commands.h"

#include <QOpenGLWidget>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class QMenu;

namespace halvex {

class COpenGLCtrl;
struct MenuEntry;

class PlotWidget final : public QOpenGLWidget,
                         public host::ControlSite,
                         private InterruptProbe,
                         private GestureSite {
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
    // The format dialog, modal over this window.
    bool showFormatDialog() override;

    // Asks whether to stop after the user pressed Escape: true for OK.
    // A message box unless replaced (tests).
    void setInterruptQuestion(std::function<bool()> ask) { ask_ = std::move(ask); }
    // Where the Escape key is read during a drawing: the keyboard unless
    // replaced (tests).
    void setEscapeProbe(std::function<bool()> probe) { escapeProbe_ = std::move(probe); }
    // The dialogs of the Export and Print commands (replaced in tests).
    void setExportChoices(ExportChoices choices) { exportChoices_ = std::move(choices); }
    // Frames drawn, for tests.
    int frames() const noexcept { return frames_; }
    GlRenderer::Frame lastFrame() const noexcept { return lastFrame_; }

    // The Escape question is not asked inside a paint; it waits for this.
    bool questionPending() const noexcept { return questionPending_; }

    // The context menu for the control as it is now; picking an entry runs
    // its command.
    QMenu* makeContextMenu(QWidget* parent);
    // Pastes the clipboard as an annotation at the last right-click point;
    // false when it held nothing to paste.
    bool Paste(PasteAs as = PasteAs::Best);
    // Asks how to paste, then pastes.
    void PasteSpecial();
    bool spinTimerActive() const { return spinTimer_.isActive(); }

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class Context;

    bool EscapePressed() override;
    void askAboutInterruption();
    void paintPlaceholder();
    void addEntries(QMenu* menu, const std::vector<MenuEntry>& entries);
public:
    // Runs a command of the context menu, as picking its entry does.
    void runCommand(int command);

private:
    // A left press on an annotation drags it out; true when it did.
    bool dragAnnotation(QPoint at);

    // GestureSite
    void SetMouseCapture(bool on) override { captured_ = on; }
    bool MouseCaptured() const override;
    void StartSpinTimer(int periodMs) override;
    void StopSpinTimer() override { spinTimer_.stop(); }
    bool StartSettleTimer(int periodMs) override;

    platform::Ref<platform::Dispatch> dispatch_;
    COpenGLCtrl* control_;
    std::unique_ptr<Context> context_;
    std::function<bool()> ask_;
    std::function<bool()> escapeProbe_;
    ExportChoices exportChoices_ = StandardExportChoices();
    int frames_ = 0;
    GlRenderer::Frame lastFrame_ = GlRenderer::Frame::Skipped;
    bool escapeSeen_ = false;
    bool questionPending_ = false;
    bool questionOpen_ = false;
    bool firstPlacement_ = true;
    bool redrawAfterPaint_ = false;
    bool captured_ = false;
    Qt::MouseButtons pressed_;
    QTimer spinTimer_;
    QTimer settleTimer_;
    QPoint pastePoint_;
    // The annotation this window is dragging, and where it was held.
    int draggedAnnotation_ = -1;
    QPoint dragOffset_;
};

} // namespace halvex
