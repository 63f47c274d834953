#pragma once
// Drawing the annotations over the picture, with the painter: each one's
// rectangle scaled from control pixels to the bounds drawn into (integer
// multiply-divide by the control's size), a picture rendered into it, an
// embedded object as its picture or, for an object without one, as a
// labelled frame.

#include <QRect>

class QPainter;

namespace halvex {

class CGLCOleControl;
struct Annotation;
struct AnnotationRect;

// Nothing is drawn while the control has no size.
void DrawAnnotations(QPainter& painter, const CGLCOleControl& control, const QRect& bounds);

// The rectangle an annotation takes within bounds; empty when the control
// has no size.
QRect AnnotationBounds(const AnnotationRect& rect, const CGLCOleControl& control, const QRect& bounds);

// The topmost annotation under a point in control pixels, or -1.
int AnnotationAt(const CGLCOleControl& control, QPoint point);

// A picture's size in pixels at 96 per inch (PNG or SVG bytes); empty for
// bytes that are no picture.
QSize PictureSize(const QByteArray& bytes);

} // namespace halvex
