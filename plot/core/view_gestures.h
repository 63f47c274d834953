#pragma once
// Turning, zooming and spinning the picture with the mouse: the gestures
// of the control's window, apart from any toolkit. A left drag turns the
// picture like a trackball; with Control held it zooms; with Shift held it
// sets the picture spinning, which goes on after the release until the
// next press. The window reports its input here and lends the gestures a
// small site for the mouse capture and the spin timer.

namespace halvex {

class CGLCOleControl;
class GlRenderer;

class GestureSite {
public:
    virtual void SetMouseCapture(bool on) = 0;
    virtual bool MouseCaptured() const = 0;
    // A periodic timer whose ticks come back as SpinTick.
    virtual void StartSpinTimer(int periodMs) = 0;
    virtual void StopSpinTimer() = 0;
    // One tick after periodMs (restarted by a second call), which comes
    // back as Settled; false when the site has no such timer.
    virtual bool StartSettleTimer(int periodMs)
    {
        (void)periodMs;
        return false;
    }

protected:
    ~GestureSite() = default;
};

class ViewGestures {
public:
    enum class Mode { None = 0, Zoom = 2, Rotate = 3 };
    static constexpr int kSpinPeriodMs = 33;
    // A press becomes a drag once the mouse leaves a square of this many
    // pixels around it; a release before that is a click.
    static constexpr int kDragDistance = 4;
    // After the last turn of the wheel the picture counts as moving for
    // this long.
    static constexpr int kSettleMs = 250;

    explicit ViewGestures(CGLCOleControl& control) : control_(control) {}
    ViewGestures(const ViewGestures&) = delete;
    ViewGestures& operator=(const ViewGestures&) = delete;

    void SetSite(GestureSite* site) noexcept
    {
        site_ = site;
        settling_ = false;
    }

    // Input in client pixels (x to the right, y down).
    void LeftDown(int x, int y, bool control);
    void MouseMove(int x, int y, bool shift);
    void LeftUp(int x, int y);
    // Wheel delta in the usual units: 120 a notch.
    void Wheel(int delta);
    // A tick of the spin timer.
    void SpinTick();
    // The wheel has rested since its last turn.
    void Settled();

    // The depth scale grows by d / the window's height of itself, within
    // 0.0001 … 10000; the picture is folded and repainted.
    void Zoom(double d);
    // Folds any spin into the view angles and stops spinning (also when the
    // window goes).
    void StopSpinning();

    Mode mode() const noexcept { return mode_; }
    bool dragging() const noexcept { return dragging_; }
    bool spinning() const;
    // The picture is being turned, zoomed or spun: its frames may be drawn
    // with less detail.
    bool moving() const { return dragging_ || settling_ || spinning(); }

private:
    GlRenderer* Renderer() const;
    // False while the picture is flat or has no context: gestures then do
    // nothing.
    bool Active() const;
    void BeginDrag(int x, int y, bool control);
    void DragMotion(int x, int y, bool shift);
    void EndDrag(int x, int y);
    void Trackball(int x, int y);
    // The spin rotation becomes part of Tilt, Rotation and Twist.
    void Fold();
    void KillTimer();

    CGLCOleControl& control_;
    GestureSite* site_ = nullptr;
    Mode mode_ = Mode::None;
    bool dragging_ = false;
    bool pressed_ = false; // a press that is not yet a drag
    bool pressControl_ = false;
    int pressX_ = 0, pressY_ = 0;
    int lastX_ = 0, lastY_ = 0;
    int startX_ = 0, startY_ = 0;
    bool timer_ = false;
    bool settling_ = false;
};

} // namespace halvex
