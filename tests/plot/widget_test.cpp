// The control's window on screen (under a virtual X display): frames drawn
// in the widget's own context with the border over them, the question
// after Escape asked outside the paint, and the main window showing,
// summing and clearing surfaces through the real control.
#include "platform/automation/connection_point.h"
#include "plot/core/context_menu.h"
#include "plot/core/plot_control.h"
#include "plot/core/plot_events.h"
#include "plot/core/plot_ids.h"
#include "plot/dialog/format_page.h"
#include "plot/dialog/format_sheet.h"
#include "plot/widget/plot_widget.h"
#include "tests/plot/plot_test_support.h"
#include "viewer/ui/main_form.h"
#include "viewer/ui/user_prompts.h"

#include "plot/model/surface_model.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QSpinBox>
#include <QTimer>
#include <QElapsedTimer>
#include <QImage>

#include <cmath>
#include <map>

using namespace plottest;
using halvex::GlRenderer;
using halvex::PlotWidget;

namespace {

bool onScreen()
{
    return QGuiApplication::platformName() == QStringLiteral("xcb");
}

// Runs the event loop until the condition holds or two seconds pass.
bool waitFor(const std::function<bool()>& done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

int inked(const QImage& image)
{
    int n = 0;
    for (int y = 2; y < image.height() - 2; ++y)
        for (int x = 2; x < image.width() - 2; ++x)
            n += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    return n;
}

class WidgetTest : public PlotTest {
protected:
    void SetUp() override
    {
        if (!onScreen())
            GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    }
    void addSurface(int n)
    {
        std::vector<double> v(std::size_t(n) * std::size_t(n));
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i)
                v[std::size_t(i + j * n)] = std::sin(i * 0.3) * std::cos(j * 0.3);
        call(*ctl, halvex::dispid::AddSurface, {doubles2D(0, std::uint32_t(n), 0, std::uint32_t(n), v)});
    }
};

TEST_F(WidgetTest, TheWidgetDrawsTheSurfaceAndItsBorder)
{
    PlotWidget w(ctl);
    w.resize(320, 240);
    addSurface(30);
    w.show();
    ASSERT_TRUE(waitFor([&] { return w.frames() > 0; }));
    EXPECT_EQ(w.lastFrame(), GlRenderer::Frame::Drawn);
    QImage image = w.grabFramebuffer();
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(inked(image), 500);
    // The border: black on every edge.
    const int sw = image.width(), sh = image.height();
    EXPECT_LT(qGray(image.pixel(sw / 2, 0)), 60);
    EXPECT_LT(qGray(image.pixel(0, sh / 2)), 60);
    EXPECT_LT(qGray(image.pixel(sw - 1, sh / 2)), 60);
    EXPECT_LT(qGray(image.pixel(sw / 2, sh - 1)), 60);
    // The control knows its window's size.
    EXPECT_EQ(dynamic_cast<halvex::COpenGLCtrl&>(*ctl).state().width, w.width());
}

TEST_F(WidgetTest, EscapeIsAnsweredOutsideThePaint)
{
    PlotWidget w(ctl);
    w.resize(600, 600);
    addSurface(300);
    Ref<Dispatch> m = dispatchOf(call(*ctl, "Model", {Variant(0)}));
    put(*m, "DrawFilledPolygons", Variant(true));
    put(*m, "PolygonColormap", Variant::fromInt16(1));
    int asked = 0;
    bool held = true; // Escape held down while the first frame draws
    w.setEscapeProbe([&] { return held; });
    w.setInterruptQuestion([&] {
        ++asked;
        EXPECT_TRUE(w.questionPending());
        held = false;
        return false; // Cancel: go on drawing
    });
    w.show();
    ASSERT_TRUE(waitFor([&] { return asked > 0; }));
    EXPECT_EQ(asked, 1);
    // Going on rebuilds the whole scene.
    ASSERT_TRUE(waitFor([&] { return w.lastFrame() == GlRenderer::Frame::Drawn; }));
    EXPECT_FALSE(w.questionPending());
    EXPECT_EQ(asked, 1);
}

void mouse(QWidget& w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent e(type, QPointF(p), QPointF(w.mapToGlobal(p)), button, held, modifiers);
    QApplication::sendEvent(&w, &e);
}

// A container's sink that counts the stock events.
struct EventCounter final : Dispatch {
    std::map<platform::DispId, int> seen;
    platform::DispId idOfName(std::string_view name) const override { return halvex::plotEventNames().find(name); }
    Variant invoke(platform::DispId id, platform::InvokeKind, std::span<Variant>) override
    {
        ++seen[id];
        return {};
    }
};

std::array<double, 3> angles(Dispatch& c)
{
    return {get(c, "Tilt").toDouble(), get(c, "Rotation").toDouble(), get(c, "Twist").toDouble()};
}

TEST_F(WidgetTest, TheMouseTurnsZoomsAndSpinsThePicture)
{
    PlotWidget w(ctl);
    w.resize(300, 300);
    addSurface(20);
    w.show();
    ASSERT_TRUE(waitFor([&] { return w.frames() > 0; }));
    auto* points = dynamic_cast<platform::ConnectionPointContainer*>(ctl.get());
    Ref<EventCounter> sink(new EventCounter);
    auto cookie = points->findConnectionPoint(halvex::kDOpenGLEventsIid)->advise(sink);

    // A click turns nothing and reaches the container.
    auto before = angles(*ctl);
    mouse(w, QEvent::MouseButtonPress, {150, 150}, Qt::LeftButton, Qt::LeftButton);
    mouse(w, QEvent::MouseButtonRelease, {150, 150}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(angles(*ctl), before);
    EXPECT_EQ(sink->seen[halvex::eventid::MouseDown], 1);
    EXPECT_EQ(sink->seen[halvex::eventid::MouseUp], 1);
    EXPECT_EQ(sink->seen[halvex::eventid::Click], 1);

    // A drag turns it, and it is drawn again.
    int frames = w.frames();
    mouse(w, QEvent::MouseButtonPress, {100, 150}, Qt::LeftButton, Qt::LeftButton);
    mouse(w, QEvent::MouseMove, {130, 150}, Qt::NoButton, Qt::LeftButton);
    mouse(w, QEvent::MouseMove, {160, 140}, Qt::NoButton, Qt::LeftButton);
    mouse(w, QEvent::MouseButtonRelease, {160, 140}, Qt::LeftButton, Qt::NoButton);
    EXPECT_NE(angles(*ctl), before);
    EXPECT_GE(sink->seen[halvex::eventid::MouseMove], 2);
    ASSERT_TRUE(waitFor([&] { return w.frames() > frames; }));

    // The wheel zooms.
    QWheelEvent wheel(QPointF(150, 150), QPointF(w.mapToGlobal(QPoint(150, 150))), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &wheel);
    EXPECT_LT(get(*ctl, "Radius").toDouble(), 1.0);

    // A Shift-drag spins on by itself after the release.
    mouse(w, QEvent::MouseButtonPress, {100, 150}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    mouse(w, QEvent::MouseMove, {120, 150}, Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    mouse(w, QEvent::MouseMove, {140, 150}, Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    mouse(w, QEvent::MouseButtonRelease, {140, 150}, Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_TRUE(w.spinTimerActive());
    frames = w.frames();
    ASSERT_TRUE(waitFor([&] { return w.frames() > frames + 3; }));
    // The next press stops it.
    mouse(w, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(w.spinTimerActive());
    mouse(w, QEvent::MouseButtonRelease, {10, 10}, Qt::LeftButton, Qt::NoButton);
    auto stopped = angles(*ctl);
    QApplication::processEvents(QEventLoop::AllEvents, 100);
    EXPECT_EQ(angles(*ctl), stopped);

    // Keys reach only the container; a double click reaches it too (and
    // opens the format dialog, once this event is over: below).
    QKeyEvent down(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, "A");
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_A, Qt::ShiftModifier, "A");
    QApplication::sendEvent(&w, &down);
    QApplication::sendEvent(&w, &up);
    EXPECT_EQ(sink->seen[halvex::eventid::KeyDown], 1);
    EXPECT_EQ(sink->seen[halvex::eventid::KeyPress], 1);
    EXPECT_EQ(sink->seen[halvex::eventid::KeyUp], 1);
    mouse(w, QEvent::MouseButtonDblClick, {150, 150}, Qt::LeftButton, Qt::LeftButton);
    mouse(w, QEvent::MouseButtonRelease, {150, 150}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(sink->seen[halvex::eventid::DblClick], 1);
    EXPECT_EQ(angles(*ctl), stopped);
    points->findConnectionPoint(halvex::kDOpenGLEventsIid)->unadvise(cookie);
}

TEST_F(WidgetTest, TheContextMenuSwitchesTheView)
{
    PlotWidget w(ctl);
    w.resize(300, 300);
    addSurface(10);
    w.show();
    ASSERT_TRUE(waitFor([&] { return w.frames() > 0; }));
    std::unique_ptr<QMenu> menu(w.makeContextMenu(nullptr));
    QStringList texts;
    QAction* boxEntry = nullptr;
    QMenu* axes = nullptr;
    for (QAction* a : menu->actions()) {
        texts << a->text();
        if (a->text() == "&Box")
            boxEntry = a;
        if (a->menu())
            axes = a->menu();
    }
    EXPECT_EQ(texts, (QStringList{"&Paste", "Paste &Special...", "Fo&rmat...", "&Fog", "&Lighting", "E&qual Scales",
                                  "&Perspective", "&Box", "Bo&rder", "&Axes"}));
    ASSERT_TRUE(boxEntry && axes);
    EXPECT_TRUE(boxEntry->isCheckable());
    EXPECT_FALSE(boxEntry->isChecked());
    boxEntry->trigger();
    Ref<Dispatch> box = dispatchOf(get(*ctl, "ModelBox"));
    EXPECT_TRUE(get(*box, "ShowBox").toBool());
    for (QAction* a : axes->actions())
        if (a->text() == "&Perimeter")
            a->trigger();
    EXPECT_EQ(get(*box, "AxesStyle").toInt32(), 0);

    // The right button opens the menu.
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(50, 50), w.mapToGlobal(QPoint(50, 50)));
    QApplication::sendEvent(&w, &e);
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(popup, nullptr);
    bool boxChecked = false;
    for (QAction* a : popup->actions())
        if (a->text() == "&Box")
            boxChecked = a->isChecked();
    EXPECT_TRUE(boxChecked);
    popup->close();
}

// A double click on the picture, and "Fo&rmat...", open the format dialog
// modally over the window; what it applies is drawn.
TEST_F(WidgetTest, DoubleClickOpensTheFormatDialog)
{
    PlotWidget w(ctl);
    w.resize(300, 300);
    addSurface(10);
    w.show();
    ASSERT_TRUE(waitFor([&] { return w.frames() > 0; }));
    auto& control = dynamic_cast<halvex::COpenGLCtrl&>(*ctl);
    control.SetModifiedFlag(false);
    QString title;
    bool modalOverWindow = false;
    QTimer::singleShot(50, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        title = dialog->windowTitle();
        modalOverWindow = dialog->parentWidget() == &w && dialog->isModal();
        dialog->close();
    });
    mouse(w, QEvent::MouseButtonDblClick, {150, 150}, Qt::LeftButton, Qt::LeftButton);
    mouse(w, QEvent::MouseButtonRelease, {150, 150}, Qt::LeftButton, Qt::NoButton);
    ASSERT_TRUE(waitFor([&] { return !title.isEmpty(); }));
    EXPECT_EQ(title, "3-D Plot Format");
    EXPECT_TRUE(modalOverWindow);
    EXPECT_FALSE(control.IsModified()) << "closed untouched";

    // From the menu: a change applied is drawn.
    int frames = w.frames();
    QTimer::singleShot(50, [&] {
        auto* sheet = dynamic_cast<halvex::FormatSheet*>(QApplication::activeModalWidget());
        if (!sheet)
            return;
        sheet->selectPage(7);
        for (QCheckBox* c : sheet->page(7).findChildren<QCheckBox*>())
            if (c->text() == "Enable &Fog")
                c->click();
        sheet->Ok();
    });
    std::unique_ptr<QMenu> menu(w.makeContextMenu(nullptr));
    for (QAction* a : menu->actions())
        if (a->text() == "Fo&rmat...")
            a->trigger();
    EXPECT_TRUE(get(*ctl, "Fog").toBool());
    EXPECT_TRUE(control.IsModified());
    EXPECT_TRUE(waitFor([&] { return w.frames() > frames; }));
}

TEST_F(WidgetTest, ExportsFromTheMenuLeaveTheWindowDrawing)
{
    PlotWidget w(ctl);
    w.resize(240, 240);
    addSurface(10);
    w.show();
    ASSERT_TRUE(waitFor([&] { return w.frames() > 0; }));
    testsupport::TempDir dir;
    halvex::ExportChoices choices;
    int asked = 0;
    choices.chooseFile = [&](QWidget*, std::string& path, int& filter) {
        path = dir.file("shot");
        filter = 3; // the bitmap's filter
        return true;
    };
    choices.chooseBitmap = [&](QWidget*, int& dpi, int& bits) {
        ++asked;
        dpi = 300;
        bits = 16;
        return true;
    };
    choices.report = [](QWidget*, const QString& text) { ADD_FAILURE() << text.toStdString(); };
    w.setExportChoices(choices);
    w.runCommand(halvex::menucmd::Export);
    EXPECT_EQ(asked, 1);
    // 300 dpi from a 240 × 240 control.
    QImage shot(QString::fromStdString(dir.file("shot.bmp")));
    EXPECT_EQ(shot.size(), QSize(750, 750));
    // The window's own context draws again afterwards.
    int frames = w.frames();
    w.update();
    ASSERT_TRUE(waitFor([&] { return w.frames() > frames; }));
    EXPECT_EQ(w.lastFrame(), GlRenderer::Frame::Drawn);
    EXPECT_GT(inked(w.grabFramebuffer()), 100);
}

TEST_F(WidgetTest, PastedAndDroppedPicturesAreDrawnOverThePlot)
{
    PlotWidget w(ctl);
    w.resize(300, 200);
    w.show();
    ASSERT_TRUE(waitFor([&] { return w.frames() > 0; }));
    auto& c = dynamic_cast<halvex::COpenGLCtrl&>(*ctl);
    QImage red(30, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    red.save(&buffer, "PNG");

    // Dropped: at the drop point.
    QMimeData dropped;
    dropped.setData("image/png", png);
    // A drop reaches the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(40, 50), Qt::CopyAction, &dropped, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(40, 50), Qt::CopyAction, &dropped, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    ASSERT_EQ(c.annotations().size(), 1u);
    EXPECT_EQ(c.annotations()[0].rect, (halvex::AnnotationRect{40, 50, 70, 70}));

    // Pasted from the menu: at the point the right button was pressed.
    auto* data = new QMimeData;
    data->setData("image/png", png);
    QApplication::clipboard()->setMimeData(data);
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(200, 120), w.mapToGlobal(QPointF(200, 120)),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &right);
    std::unique_ptr<QMenu> menu(w.makeContextMenu(nullptr));
    QAction* paste = nullptr;
    for (QAction* a : menu->actions())
        if (a->text() == "&Paste")
            paste = a;
    ASSERT_TRUE(paste);
    if (!paste->isEnabled())
        GTEST_SKIP() << "the display's clipboard is not available";
    paste->trigger();
    ASSERT_EQ(c.annotations().size(), 2u);
    EXPECT_EQ(c.annotations()[1].rect, (halvex::AnnotationRect{200, 120, 230, 140}));

    // Both are drawn over the picture, in the window's pixels.
    w.update();
    ASSERT_TRUE(waitFor([&] { return w.frames() > 1; }));
    QImage shot = w.grabFramebuffer();
    const qreal ratio = w.devicePixelRatioF();
    EXPECT_EQ(QColor(shot.pixel(int(55 * ratio), int(60 * ratio))), QColor(Qt::red));
    EXPECT_EQ(QColor(shot.pixel(int(215 * ratio), int(130 * ratio))), QColor(Qt::red));
}

class ScriptedPrompts : public tavrin::UserPrompts {
public:
    std::vector<QString> messages;
    void message(const QString& text) override { messages.push_back(text); }
    bool confirm(const QString&) override { return true; }
    QString selectFile(const QString&, const QString&, const QString&, const QString&) override { return {}; }
};

TEST_F(WidgetTest, TheMainWindowShowsSumsAndClears)
{
    ScriptedPrompts prompts;
    tavrin::ViewerContext c;
    c.programFolder = config.path();
    c.exePath = "/opt/tavrin/tavrin";
    c.plot = tavrin::PlotBinding(ctl);
    auto* widget = new PlotWidget(ctl);
    c.plotWidget = widget;
    c.prompts = &prompts;
    tavrin::TForm1 form(std::move(c));
    form.FirstTick();
    form.resize(900, 600);
    form.show();
    form.SE_Xmin->setValue(0);
    form.SE_Xmax->setValue(20);
    form.SE_Ymin->setValue(0);
    form.SE_Ymax->setValue(20);
    form.CB_YesScaleIN->setChecked(true);
    std::string a = config.write("a.txt", "0 0 1\n10 10 5\n20 20 2\n");
    std::string b = config.write("b.txt", "5 5 3\n15 15 -4\n");
    form.appendEntry(a, true);
    form.appendEntry(b, true);
    auto& control = dynamic_cast<halvex::COpenGLCtrl&>(*ctl);

    EXPECT_FALSE(form.OpenGL1->isVisible());
    form.ShowCheckedEachCommand();
    EXPECT_TRUE(form.OpenGL1->isVisible());
    EXPECT_EQ(control.NextModelNumber(), 2);
    int before = widget->frames();
    ASSERT_TRUE(waitFor([&] { return widget->frames() > before; }));
    EXPECT_GT(inked(widget->grabFramebuffer()), 100);

    form.SumCheckedFiles();
    EXPECT_TRUE(form.OpenGL1->isVisible());
    EXPECT_EQ(control.NextModelNumber(), 1);
    const halvex::SurfaceModel* sum = control.FindModel(0)->AsSurface();
    ASSERT_NE(sum, nullptr);
    ASSERT_EQ(sum->rows(), 21);
    ASSERT_EQ(sum->cols(), 21);
    // Scaled: each file's span is stretched onto the rectangle.
    EXPECT_EQ(sum->heights()[0], 4.0f);
    EXPECT_EQ(sum->heights()[10 + 10 * 21], 5.0f);
    EXPECT_EQ(sum->heights()[20 + 20 * 21], -2.0f);

    form.ClearPlotCommand();
    EXPECT_FALSE(form.OpenGL1->isVisible());
    EXPECT_EQ(control.FindModel(0)->AsMesh(), nullptr);
    EXPECT_TRUE(prompts.messages.empty());
}

} // namespace
