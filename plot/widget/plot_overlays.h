#pragma once
// What is drawn over the 3-D picture with the painter, on screen and on
// off-screen images alike: the pasted annotations, the border and the
// graph title, in this order.

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRect>
#include <QString>

class QPaintDevice;
class QPainter;

namespace halvex {

class CGLCOleControl;

struct TitleStyle {
    QString face = QStringLiteral("Times New Roman");
    int points = 10;
    QColor color = Qt::black;
};

// The title's font and colour from the control's container: its ambient
// font, and its text colour (ambient 513, else its foreground colour).
TitleStyle AmbientTitleStyle(const CGLCOleControl& control);

// The title as the overlays draw it: its text (empty when none is shown),
// font, colour and where its baseline starts, for a device of dpiRatio × 96
// dots per inch (a 96-dpi image when device is null).
struct TitleText {
    QString text;
    QFont font;
    QColor color;
    QPointF baseline;
};
TitleText TitleFor(const CGLCOleControl& control, const QRect& bounds, int controlHeight, double dpiRatio = 1.0,
                   QPaintDevice* device = nullptr);

// Border and title within bounds. controlHeight is the control's own
// height in pixels: a bitmap larger than the control gets a larger title.
// dpiRatio is the target's vertical resolution over the screen's.
void DrawOverlays(QPainter& painter, const CGLCOleControl& control, const QRect& bounds, int controlHeight,
                  double dpiRatio = 1.0);

// The border alone, around the background fill of a paint that draws no
// picture (while the interruption question is open).
void DrawBorder(QPainter& painter, const CGLCOleControl& control, const QRect& bounds);

} // namespace halvex
