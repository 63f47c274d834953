#include "plot/widget/plot_overlays.h"

#include "plot/core/gl_control_core.h"
#include "plot/host/ambient_font.h"
#include "plot/widget/annotation_painter.h"

#include <QFont>
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

void DrawOverlays(QPainter& painter, const CGLCOleControl& control, const QRect& bounds, int controlHeight,
                  double dpiRatio)
{
    DrawAnnotations(painter, control, bounds);
    DrawBorder(painter, control, bounds);
    const ControlState& s = control.state();
    if (s.graphTitle.empty() || s.graphTitlePosition == 2)
        return;
    TitleStyle style = AmbientTitleStyle(control);
    double scale = controlHeight > 0 ? double(bounds.height()) / double(controlHeight) : 1.0;
    int points = std::max(1, int(std::lround(style.points * scale / std::max(dpiRatio, 1e-6))));
    QFont font(style.face);
    font.setPointSize(points);
    painter.save();
    painter.setFont(font);
    painter.setPen(style.color);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    Qt::Alignment align = Qt::AlignHCenter | (s.graphTitlePosition == 0 ? Qt::AlignTop : Qt::AlignBottom);
    // The title is 8-bit text of the control's code page.
    painter.drawText(bounds, int(align) | Qt::TextSingleLine, QString::fromLatin1(s.graphTitle.c_str()));
    painter.restore();
}

} // namespace halvex
