#include "plot/widget/plot_widget.h"

#include "plot/core/context_menu.h"
#include "plot/core/fpu_precision.h"
#include "plot/core/plot_control.h"
#include "plot/core/plot_events.h"
#include "plot/dialog/format_sheet.h"
#include "plot/host/ambient_font.h"
#include "plot/widget/annotation_painter.h"
#include "plot/widget/escape_key.h"
#include "plot/widget/key_codes.h"
#include "plot/widget/paste_special_dialog.h"
#include "plot/widget/plot_overlays.h"

#include <QClipboard>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QContextMenuEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <GL/gl.h>

#include <stdexcept>

namespace halvex {

namespace {

std::int32_t packed(const QColor& c)
{
    return std::int32_t(c.red() | c.green() << 8 | c.blue() << 16);
}

COpenGLCtrl* controlOf(const platform::Ref<platform::Dispatch>& d)
{
    auto* c = dynamic_cast<COpenGLCtrl*>(d.get());
    if (!c)
        throw std::invalid_argument("the object is not a plot control");
    return c;
}

} // namespace

// The widget's GL context as the renderer sees it; a new one (the widget
// was moved to another window) is a new generation.
class PlotWidget::Context final : public RenderContext {
public:
    explicit Context(PlotWidget& w) : widget_(w) {}
    void Renewed() { NewGeneration(); }
    bool MakeCurrent() override
    {
        if (!widget_.context())
            return false;
        widget_.makeCurrent();
        SetCurrent(true);
        return true;
    }
    bool MakeNotCurrent() override
    {
        SetCurrent(false);
        widget_.doneCurrent();
        return true;
    }
    // The widget draws into its own buffer, which Qt shows: cleared like a
    // back buffer, swapped by Qt.
    bool DoubleBuffered() const override { return true; }
    bool Offscreen() const override { return false; }

private:
    PlotWidget& widget_;
};

PlotWidget::PlotWidget(platform::Ref<platform::Dispatch> control, QWidget* parent)
    : QOpenGLWidget(parent), dispatch_(std::move(control)), control_(controlOf(dispatch_)),
      context_(std::make_unique<Context>(*this))
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setAlphaBufferSize(8);
    setFormat(format);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setCursor(Qt::ArrowCursor);
    setAcceptDrops(true);
    spinTimer_.setTimerType(Qt::PreciseTimer);
    connect(&spinTimer_, &QTimer::timeout, this, [this] { control_->gestures().SpinTick(); });
    settleTimer_.setSingleShot(true);
    connect(&settleTimer_, &QTimer::timeout, this, [this] { control_->gestures().Settled(); });
    control_->gestures().SetSite(this);
    control_->setSite(this);
    if (GlRenderer* r = control_->glRenderer()) {
        r->SetContext(context_.get());
        r->SetInterruptProbe(this);
    }
}

PlotWidget::~PlotWidget()
{
    // The picture stops where it is; the timer goes with the window.
    control_->gestures().StopSpinning();
    control_->gestures().SetSite(nullptr);
    spinTimer_.stop();
    settleTimer_.stop();
    if (GlRenderer* r = control_->glRenderer()) {
        if (r->context() == context_.get())
            r->SetContext(nullptr);
        r->SetInterruptProbe(nullptr);
        r->DiscardSceneLists();
    }
    if (control_->site() == this)
        control_->setSite(nullptr);
}

void PlotWidget::invalidate(bool erase)
{
    (void)erase;
    update();
}

platform::Variant PlotWidget::ambient(platform::DispId id) const
{
    switch (id) {
    case host::ambient::BackColor:
        return platform::Variant(int(packed(palette().color(QPalette::Window))));
    case host::ambient::ForeColor:
        return platform::Variant(int(packed(palette().color(QPalette::WindowText))));
    case host::ambient::Font: {
        QFont f = font();
        double points = f.pointSizeF() > 0 ? f.pointSizeF() : 10.0;
        return platform::Variant(platform::Ref<platform::Dispatch>(
            new host::AmbientFont(f.family().toLatin1().toStdString(), points)));
    }
    default:
        return {};
    }
}

void PlotWidget::showAboutBox()
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("3-D Plot Control"),
                    QStringLiteral("3-D Plot Control, version 8.0\nOpenGL surfaces, contours and more."),
                    QMessageBox::Ok, this);
    box.exec();
}

bool PlotWidget::showFormatDialog()
{
    ShowFormatDialog(*control_, this);
    return true;
}

void PlotWidget::initializeGL()
{
    // A new context: nothing recorded in an earlier one is valid here.
    context_->Renewed();
    setFullFpuPrecision();
    control_->RefreshScene();
}

void PlotWidget::resizeGL(int width, int height)
{
    control_->SetControlSize(width, height);
}

void PlotWidget::paintPlaceholder()
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    DrawBorder(painter, *control_, rect());
}

void PlotWidget::paintGL()
{
    if (questionOpen_) {
        paintPlaceholder();
        return;
    }
    GlRenderer* renderer = control_->glRenderer();
    if (!renderer)
        return;
    // The painter of the last frame may have left a program and its own
    // state behind.
    if (QOpenGLContext* c = QOpenGLContext::currentContext())
        c->extraFunctions()->glUseProgram(0);
    GlRenderer::RestoreDrawingState();
    const qreal ratio = devicePixelRatioF();
    const int w = int(width() * ratio + 0.5), h = int(height() * ratio + 0.5);
    escapeSeen_ = false;
    lastFrame_ = renderer->Paint(w, h, 96.0 * ratio);
    if (lastFrame_ == GlRenderer::Frame::Skipped) {
        paintPlaceholder();
        return;
    }
    ++frames_;
    {
        QPainter painter(this);
        DrawOverlays(painter, *control_, rect());
    }
    if (lastFrame_ == GlRenderer::Frame::Interrupted && !questionPending_) {
        // Asked once the paint is over: a modal loop must not run inside it.
        questionPending_ = true;
        QTimer::singleShot(0, this, [this] { askAboutInterruption(); });
    }
    if (redrawAfterPaint_) {
        redrawAfterPaint_ = false;
        control_->RefreshScene();
    }
}

void PlotWidget::askAboutInterruption()
{
    questionOpen_ = true;
    update();
    bool stop = true;
    try {
        if (ask_) {
            stop = ask_();
        } else {
            QMessageBox box(QMessageBox::Question, QStringLiteral("3-D Plot"), QStringLiteral("Interrupt Rendering"),
                            QMessageBox::Ok | QMessageBox::Cancel, this);
            stop = box.exec() == QMessageBox::Ok;
        }
    } catch (...) {
    }
    questionOpen_ = false;
    questionPending_ = false;
    if (stop) {
        control_->FireHostEvent(host::HostEvent::Message, "Interrupted rendering");
        update();
    } else {
        // Go on: the scene is drawn again from the start.
        control_->RefreshScene();
    }
}

bool PlotWidget::EscapePressed()
{
    if (escapeProbe_)
        return escapeProbe_();
    bool pressed = escapeSeen_ || EscapeKeyDown();
    escapeSeen_ = false;
    return pressed;
}

void PlotWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        escapeSeen_ = true;
    try {
        if (std::int16_t key = VirtualKeyOf(*event))
            FireKeyDown(*control_, key, ShiftMaskOf(event->modifiers()));
        int c = KeyCharacterOf(*event);
        if (c >= 0)
            FireKeyPress(*control_, std::int16_t(c));
    } catch (...) {
    }
    QOpenGLWidget::keyPressEvent(event);
}

void PlotWidget::keyReleaseEvent(QKeyEvent* event)
{
    try {
        if (std::int16_t key = VirtualKeyOf(*event); key && !event->isAutoRepeat())
            FireKeyUp(*control_, key, ShiftMaskOf(event->modifiers()));
    } catch (...) {
    }
    QOpenGLWidget::keyReleaseEvent(event);
}

// Every mouse message reaches the container as the stock events, before
// the control's own handling.
void PlotWidget::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    try {
        pressed_ |= event->button();
        FireMouseDown(*control_, ButtonOf(event->button()), ShiftMaskOf(event->modifiers()), p.x(), p.y());
        if (event->button() == Qt::LeftButton) {
            if (!dragAnnotation(p))
                control_->gestures().LeftDown(p.x(), p.y(), event->modifiers() & Qt::ControlModifier);
        } else if (event->button() == Qt::RightButton) {
            pastePoint_ = p;
        }
    } catch (...) {
    }
}

void PlotWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    try {
        FireMouseMove(*control_, ButtonsOf(event->buttons()), ShiftMaskOf(event->modifiers()), p.x(), p.y());
        // A release the widget never saw (outside the window) ends the
        // press here.
        if ((pressed_ & Qt::LeftButton) && !(event->buttons() & Qt::LeftButton)) {
            pressed_ &= ~Qt::LeftButton;
            captured_ = false;
            control_->gestures().LeftUp(p.x(), p.y());
        }
        control_->gestures().MouseMove(p.x(), p.y(), event->modifiers() & Qt::ShiftModifier);
    } catch (...) {
    }
}

void PlotWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    try {
        FireMouseUp(*control_, ButtonOf(event->button()), ShiftMaskOf(event->modifiers()), p.x(), p.y());
        if (event->button() == Qt::LeftButton) {
            control_->gestures().LeftUp(p.x(), p.y());
            draggedAnnotation_ = -1;
        }
        if (pressed_ & event->button())
            FireClick(*control_);
        pressed_ &= ~event->button();
    } catch (...) {
    }
    // The context menu opens on the release of the right button.
    if (event->button() == Qt::RightButton)
        QOpenGLWidget::mouseReleaseEvent(event);
}

void PlotWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    try {
        const QPoint p = event->position().toPoint();
        pressed_ |= event->button();
        FireMouseDown(*control_, ButtonOf(event->button()), ShiftMaskOf(event->modifiers()), p.x(), p.y());
        if (event->button() == Qt::LeftButton) {
            FireDblClick(*control_);
            // Once this event is over: the dialog runs its own loop.
            QTimer::singleShot(0, this, [this] {
                try {
                    control_->OnFormat();
                } catch (...) {
                }
            });
        }
    } catch (...) {
    }
}

void PlotWidget::wheelEvent(QWheelEvent* event)
{
    try {
        control_->gestures().Wheel(event->angleDelta().y());
    } catch (...) {
    }
    event->accept();
}

bool PlotWidget::MouseCaptured() const
{
    // Qt keeps the mouse for the widget while a button it saw pressed is
    // down.
    return captured_ && (pressed_ & Qt::LeftButton);
}

void PlotWidget::StartSpinTimer(int periodMs)
{
    spinTimer_.start(periodMs);
}

bool PlotWidget::StartSettleTimer(int periodMs)
{
    settleTimer_.start(periodMs);
    return true;
}

void PlotWidget::addEntries(QMenu* menu, const std::vector<MenuEntry>& entries)
{
    for (const MenuEntry& e : entries) {
        if (e.text.empty()) {
            menu->addSeparator();
            continue;
        }
        const QString text = QString::fromStdString(e.text);
        if (!e.submenu.empty()) {
            QMenu* sub = menu->addMenu(text);
            sub->setEnabled(e.enabled);
            addEntries(sub, e.submenu);
            continue;
        }
        QAction* action = menu->addAction(text);
        action->setEnabled(e.enabled);
        action->setCheckable(e.checkable);
        action->setChecked(e.checked);
        const int command = e.command;
        connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    }
}

void PlotWidget::runCommand(int command)
{
    try {
        if (command == menucmd::Paste)
            Paste();
        else if (command == menucmd::PasteSpecial)
            PasteSpecial();
        else if (command == menucmd::Export)
            RunExportCommand(this, *control_, exportChoices_);
        else if (command == menucmd::Print)
            RunPrintCommand(this, *control_, exportChoices_);
        else
            RunMenuCommand(*control_, command);
    } catch (...) {
    }
}

QMenu* PlotWidget::makeContextMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    bool canPaste = CanPasteAnnotation(QGuiApplication::clipboard()->mimeData());
    addEntries(menu, ContextMenuEntries(*control_, canPaste));
    return menu;
}

bool PlotWidget::Paste(PasteAs as)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && PasteAnnotation(*control_, *data, pastePoint_, as);
}

void PlotWidget::PasteSpecial()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return;
    PasteSpecialDialog dialog(PasteChoices(*data), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The clipboard may have changed while the dialog was open.
    if (std::optional<PasteAs> as = dialog.choice())
        Paste(*as);
}

bool PlotWidget::dragAnnotation(QPoint at)
{
    int index = AnnotationAt(*control_, at);
    if (index < 0)
        return false;
    const Annotation& a = control_->annotations()[std::size_t(index)];
    draggedAnnotation_ = index;
    dragOffset_ = at - QPoint(a.rect.left, a.rect.top);
    auto* drag = new QDrag(this);
    drag->setMimeData(AnnotationMimeData(a, dragOffset_));
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
    draggedAnnotation_ = -1;
    pressed_ &= ~Qt::LeftButton;
    return true;
}

void PlotWidget::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->source() == this || CanPasteAnnotation(event->mimeData()))
        event->acceptProposedAction();
}

void PlotWidget::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->source() == this || CanPasteAnnotation(event->mimeData()))
        event->acceptProposedAction();
}

void PlotWidget::dropEvent(QDropEvent* event)
{
    const QPoint p = event->position().toPoint();
    try {
        if (event->source() == this) {
            // An annotation dropped back on its own control creates nothing:
            // it moves to where it was let go.
            if (draggedAnnotation_ >= 0 && std::size_t(draggedAnnotation_) < control_->annotations().size()) {
                const AnnotationRect& r = control_->annotations()[std::size_t(draggedAnnotation_)].rect;
                QPoint corner = p - dragOffset_;
                control_->MoveAnnotation(std::size_t(draggedAnnotation_), r.movedTo(corner.x(), corner.y()));
                event->setDropAction(Qt::MoveAction);
                event->accept();
            }
            return;
        }
        if (event->mimeData() && PasteAnnotation(*control_, *event->mimeData(), p))
            event->acceptProposedAction();
    } catch (...) {
    }
}

void PlotWidget::contextMenuEvent(QContextMenuEvent* event)
{
    // From the keyboard the menu opens at the cursor.
    QPoint at = event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : QCursor::pos();
    QMenu* menu = nullptr;
    try {
        menu = makeContextMenu(this);
    } catch (...) {
        return;
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(at);
}

void PlotWidget::moveEvent(QMoveEvent* event)
{
    QOpenGLWidget::moveEvent(event);
    if (!firstPlacement_ || event->pos() == event->oldPos())
        return;
    firstPlacement_ = false;
    // Partly off the screen at first placement: drawn once more after the
    // next paint, so that the parts that were off screen are drawn too.
    QScreen* s = screen();
    if (!s)
        return;
    QRect onScreen(mapToGlobal(QPoint(0, 0)), size());
    QRect screenRect(QPoint(0, 0), s->geometry().size());
    QRect inside = onScreen.intersected(screenRect);
    if (!inside.isEmpty() && inside != onScreen)
        redrawAfterPaint_ = true;
}

void PlotWidget::changeEvent(QEvent* event)
{
    QOpenGLWidget::changeEvent(event);
    // An ambient change: the title and label fonts and colours follow.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        control_->RefreshScene();
}

} // namespace halvex
