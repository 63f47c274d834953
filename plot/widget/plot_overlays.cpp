#include "plot/widget/plot_overlays.h"

#include "plot/core/gl_control_core.h"
#include "plot/host/ambient_font.h"
#include "platform/text/cp1251.h"
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

void DrawBorder(QPainter& painter, const CGLCOleControl& control, const QRect& bounds)
{
    const ControlState& s = control.state();
    if (!s.showBorder || control.FlatPlot())
        return;
    // A one-pixel outline of the bounds, drawn as four filled strips so
    // that every paint engine puts it on the same pixels.
    const QColor color = fromPacked(s.borderColor);
    const QRect& b = bounds;
    painter.fillRect(QRect(b.left(), b.top(), b.width(), 1), color);
    painter.fillRect(QRect(b.left(), b.bottom(), b.width(), 1), color);
    painter.fillRect(QRect(b.left(), b.top(), 1, b.height()), color);
    painter.fillRect(QRect(b.right(), b.top(), 1, b.height()), color);
}

TitleText TitleFor(const CGLCOleControl& control, const QRect& bounds, int controlHeight, double dpiRatio,
                   QPaintDevice* device)
{
    TitleText t;
    const ControlState& s = control.state();
    if (s.graphTitle.empty() || s.graphTitlePosition == 2)
        return t;
    TitleStyle style = AmbientTitleStyle(control);
    double scale = controlHeight > 0 ? double(bounds.height()) / double(controlHeight) : 1.0;
    int points = std::max(1, int(std::lround(style.points * scale / std::max(dpiRatio, 1e-6))));
    t.font = QFont(style.face);
    t.font.setPointSize(points);
    t.color = style.color;
    // The title is 8-bit text of the control's code page, 1251.
    t.text = QString::fromStdString(platform::cp1251ToUtf8(s.graphTitle));
    const QFontMetricsF m = device ? QFontMetricsF(t.font, device) : QFontMetricsF(t.font);
    const double x = bounds.left() + (bounds.width() - m.horizontalAdvance(t.text)) / 2.0;
    const double y = s.graphTitlePosition == 0 ? bounds.top() + m.ascent() : bounds.top() + bounds.height() - m.descent();
    t.baseline = QPointF(x, y);
    return t;
}

void DrawOverlays(QPainter& painter, const CGLCOleControl& control, const QRect& bounds, int controlHeight,
                  double dpiRatio)
{
    DrawAnnotations(painter, control, bounds);
    DrawBorder(painter, control, bounds);
    TitleText title = TitleFor(control, bounds, controlHeight, dpiRatio, painter.device());
    if (title.text.isEmpty())
        return;
    painter.save();
    painter.setFont(title.font);
    painter.setPen(title.color);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.drawText(title.baseline, title.text);
    painter.restore();
}

} // namespace halvex
