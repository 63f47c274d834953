#include "plot/core/view_gestures.h"

#include "plot/core/gl_control_core.h"
#include "plot/core/gl_renderer.h"
#include "plot/core/view_rotation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace halvex {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

std::array<double, 3> unit(std::array<double, 3> v)
{
    double len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (len == 0.0 || !std::isfinite(len))
        return {0.0, 0.0, 1.0};
    return {v[0] / len, v[1] / len, v[2] / len};
}

} // namespace

GlRenderer* ViewGestures::Renderer() const
{
    return control_.glRenderer();
}

bool ViewGestures::Active() const
{
    GlRenderer* r = Renderer();
    return r && r->context() && !control_.FlatPlot();
}

bool ViewGestures::spinning() const
{
    GlRenderer* r = Renderer();
    return r && r->view().spinning;
}

void ViewGestures::LeftDown(int x, int y, bool control)
{
    if (!Active())
        return;
    // A spinning picture stops at once; otherwise the press waits to
    // become a drag.
    if (spinning()) {
        BeginDrag(x, y, control);
        return;
    }
    pressed_ = true;
    pressX_ = x;
    pressY_ = y;
    pressControl_ = control;
}

void ViewGestures::MouseMove(int x, int y, bool shift)
{
    if (pressed_ && !dragging_) {
        if (std::abs(x - pressX_) <= kDragDistance && std::abs(y - pressY_) <= kDragDistance)
            return;
        pressed_ = false;
        if (!Active())
            return;
        BeginDrag(pressX_, pressY_, pressControl_);
    }
    if (dragging_)
        DragMotion(x, y, shift);
}

void ViewGestures::LeftUp(int x, int y)
{
    pressed_ = false;
    if (dragging_)
        EndDrag(x, y);
}

void ViewGestures::Wheel(int delta)
{
    if (!Active())
        return;
    settling_ = site_ && site_->StartSettleTimer(kSettleMs);
    Zoom(double(delta) / 120.0 * 20.0);
}

void ViewGestures::Settled()
{
    if (!settling_)
        return;
    settling_ = false;
    control_.InvalidateControl(false);
}

void ViewGestures::SpinTick()
{
    if (spinning())
        control_.InvalidateControl(false);
}

void ViewGestures::BeginDrag(int x, int y, bool control)
{
    mode_ = control ? Mode::Zoom : Mode::Rotate;
    if (site_)
        site_->SetMouseCapture(true);
    dragging_ = true;
    startX_ = lastX_ = x;
    startY_ = lastY_ = y;
    if (mode_ == Mode::Rotate && spinning())
        StopSpinning();
}

void ViewGestures::DragMotion(int x, int y, bool shift)
{
    if (!Active())
        return;
    if (site_ && !site_->MouseCaptured()) {
        EndDrag(x, y);
        return;
    }
    if (mode_ == Mode::Zoom) {
        Zoom(double(lastY_ - y));
    } else if (mode_ == Mode::Rotate) {
        int dx = x - lastX_, dy = y - lastY_;
        Trackball(x, y);
        if (shift && dx * dx + dy * dy > 9 && !spinning()) {
            Renderer()->view().spinning = true;
            KillTimer();
            if (site_) {
                site_->StartSpinTimer(kSpinPeriodMs);
                timer_ = true;
            }
        }
        control_.InvalidateControl(false);
    }
    lastX_ = x;
    lastY_ = y;
}

void ViewGestures::EndDrag(int x, int y)
{
    lastX_ = x;
    lastY_ = y;
    if (mode_ == Mode::Rotate && (x != startX_ || y != startY_)) {
        // A spinning picture keeps turning by the last step; otherwise the
        // turn is kept in the angles.
        if (!spinning()) {
            Fold();
            Renderer()->view().spinStep = 0.0;
            KillTimer();
        }
        control_.InvalidateControl(false);
    }
    dragging_ = false;
    if (site_)
        site_->SetMouseCapture(false);
    mode_ = Mode::None;
}

void ViewGestures::Fold()
{
    GlRenderer* r = Renderer();
    if (!r || r->view().spinAngle == 0.0)
        return;
    ViewState& v = r->view();
    const ControlState& s = control_.state();
    Rotation3 m = ViewRotation({s.tilt, s.rotation, s.twist}, v.spinAngle, v.spinAxis);
    control_.SetViewAngles(FoldRotation(m, s.rotation));
    v.spinAngle = 0.0;
}

void ViewGestures::Trackball(int x, int y)
{
    // Each step turns the picture as it is now: what the drag turned so far
    // is folded in first, so that the steps add up.
    Fold();
    const ControlState& s = control_.state();
    double w = s.width > 0 ? s.width : 1, h = s.height > 0 ? s.height : 1, z = s.zPosition;
    auto toSphere = [&](int px, int py) {
        return unit({(px / w - 0.5) * z, -(py / h - 0.5) * z, z});
    };
    std::array<double, 3> a = toSphere(lastX_, lastY_), b = toSphere(x, y);
    std::array<double, 3> axis{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    double dot = std::min(1.0, a[0] * b[0] + a[1] * b[1] + a[2] * b[2]);
    double angle = std::acos(dot) * kDegreesPerRadian;
    if (axis[0] == 0.0 && axis[1] == 0.0 && axis[2] == 0.0)
        angle = 0.0;
    // The axis in model space: through the inverse (the transpose) of the
    // view's rotation.
    Rotation3 r = ViewRotation({s.tilt, s.rotation, s.twist}, 0.0, {1.0f, 0.0f, 0.0f});
    std::array<double, 3> m = unit({r[0] * axis[0] + r[3] * axis[1] + r[6] * axis[2],
                                    r[1] * axis[0] + r[4] * axis[1] + r[7] * axis[2],
                                    r[2] * axis[0] + r[5] * axis[1] + r[8] * axis[2]});
    ViewState& v = Renderer()->view();
    v.spinAngle = angle;
    v.spinStep = angle;
    v.spinAxis = {float(m[0]), float(m[1]), float(m[2])};
}

void ViewGestures::Zoom(double d)
{
    GlRenderer* r = Renderer();
    if (!r)
        return;
    const ControlState& s = control_.state();
    double h = s.height > 0 ? double(s.height) : 1.0;
    double ds = s.depthScale + d / h * s.depthScale;
    control_.SetDepthScale(std::clamp(ds, 0.0001, 10000.0));
    r->ProjectionChanged();
    Fold();
    if (ModelBoxLink* box = control_.modelBox())
        box->MarkAxesStale();
    control_.SetModifiedFlag(true);
    control_.InvalidateControl(false);
}

void ViewGestures::StopSpinning()
{
    GlRenderer* r = Renderer();
    if (r && r->view().spinning) {
        Fold();
        r->view().spinStep = 0.0;
        r->view().spinning = false;
    }
    KillTimer();
}

void ViewGestures::KillTimer()
{
    if (timer_ && site_)
        site_->StopSpinTimer();
    timer_ = false;
}

} // namespace halvex
