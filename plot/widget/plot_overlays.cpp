#include "plot/widget/plot_overlays.h"

#include "platform/text/cp1251.h"
#include "plot/core/gl_control_core.h"
#include "plot/core/title_layout.h"
#include "plot/host/ambient_font.h"
#include "plot/widget/annotation_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace halvex {

namespace {

QColor fromPacked(std::uint32_t c)
{
    return QColor(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF));
}

bool ambientColor(const CGLCOleControl& control, platform::DispId id, QColor& out)
{
    platform::Variant v = control.AmbientProperty(id);
    if (v.isEmptyOrNull())
        return false;
    try {
        out = fromPacked(static_cast<std::uint32_t>(v.toInt32()));
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

TitleStyle AmbientTitleStyle(const CGLCOleControl& control)
{
    TitleStyle style;
    std::string face;
    int points = 0;
    if (host::ReadAmbientFont(control.AmbientProperty(host::ambient::Font), face, points)) {
        style.face = QString::fromStdString(face);
        style.points = std::max(1, points);
    }
    if (!ambientColor(control, host::ambient::TextColor, style.color))
        ambientColor(control, host::ambient::ForeColor, style.color);
    return style;
}

namespace {

void drawBorder(QPainter& painter, const CGLCOleControl& control, const QRect& bounds, int width)
{
    const ControlState& s = control.state();
    if (!s.showBorder || control.FlatPlot())
        return;
    // An outline of the bounds, drawn as four filled strips so that every
    // paint engine puts it on the same pixels.
    const QColor color = fromPacked(s.borderColor);
    const QRect& b = bounds;
    const int w = std::clamp(width, 1, std::max(1, std::min(b.width(), b.height()) / 2));
    painter.fillRect(QRect(b.left(), b.top(), b.width(), w), color);
    painter.fillRect(QRect(b.left(), b.bottom() - w + 1, b.width(), w), color);
    painter.fillRect(QRect(b.left(), b.top(), w, b.height()), color);
    painter.fillRect(QRect(b.right() - w + 1, b.top(), w, b.height()), color);
}

} // namespace

void DrawBorder(QPainter& painter, const CGLCOleControl& control, const QRect& bounds)
{
    drawBorder(painter, control, bounds, 1);
}

TitleText TitleFor(const CGLCOleControl& control, const QRect& bounds, double dpi, QPaintDevice* device)
{
    TitleText t;
    if (!(dpi > 0.0))
        dpi = 96.0;
    const TitleLayout title = LayOutTitle(control, bounds.width(), bounds.height(), dpi);
    if (!title.shown)
        return t;
    t.font = QFont(QString::fromStdString(title.face));
    t.font.setPixelSize(std::max(1, int(std::lround(title.pixels))));
    t.color = AmbientTitleStyle(control).color;
    // The title is 8-bit text of the control's code page, 1251.
    t.text = QString::fromStdString(platform::cp1251ToUtf8(control.state().graphTitle));
    t.band = QRect(bounds.left(), title.above ? bounds.top() : bounds.bottom() + 1 - title.band, bounds.width(),
                   title.band);
    const QFontMetricsF m = device ? QFontMetricsF(t.font, device) : QFontMetricsF(t.font);
    const double x = t.band.left() + (t.band.width() - m.horizontalAdvance(t.text)) / 2.0;
    const double y = t.band.top() + (t.band.height() - (m.ascent() + m.descent())) / 2.0 + m.ascent();
    t.baseline = QPointF(x, y);
    return t;
}

void DrawOverlays(QPainter& painter, const CGLCOleControl& control, const QRect& bounds, double dpi)
{
    if (!(dpi > 0.0))
        dpi = 96.0;
    DrawAnnotations(painter, control, bounds);
    drawBorder(painter, control, bounds, int(std::lround(dpi / 96.0)));
    const TitleText title = TitleFor(control, bounds, dpi, painter.device());
    if (title.text.isEmpty())
        return;
    painter.save();
    painter.setFont(title.font);
    painter.setPen(title.color);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.drawText(title.band, int(Qt::AlignCenter) | Qt::TextSingleLine, title.text);
    painter.restore();
}

} // namespace halvex
