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
// font (sized in pixels), colour, the band it is centred in and where its
// baseline starts, for a picture of bounds at dpi dots per inch. The title
// stands in the band the 3-D picture leaves free for it (see LayOutTitle).
struct TitleText {
    QString text;
    QFont font;
    QColor color;
    QRect band;
    QPointF baseline;
};
TitleText TitleFor(const CGLCOleControl& control, const QRect& bounds, double dpi = 96.0,
                   QPaintDevice* device = nullptr);

// Border and title within bounds, whose pixels are at dpi dots per inch
// (96 on the screen; more for a sharper picture of the same layout). The
// border is as many pixels wide as a pixel at 96 dpi.
void DrawOverlays(QPainter& painter, const CGLCOleControl& control, const QRect& bounds, double dpi = 96.0);

// The border alone, around the background fill of a paint that draws no
// picture (while the interruption question is open).
void DrawBorder(QPainter& painter, const CGLCOleControl& control, const QRect& bounds);

} // namespace halvex
