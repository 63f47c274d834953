#pragma once
// Annotations in and out of the control through QMimeData: what a paste or
// a drop makes of the data, in the order tried (an embeddable object; a
// host region's picture; a vector picture; a bitmap), and the data a drag
// of an annotation offers.

#include <QPoint>
#include <QString>

#include <vector>

class QMimeData;

namespace halvex {

class CGLCOleControl;
struct Annotation;

// How Paste Special asks for the data.
enum class PasteAs {
    Best,    // the first that succeeds, as a plain paste does
    Object,  // an embedded object
    Link,    // a linked object
    Picture, // a vector picture (SVG)
    Bitmap,  // a bitmap
};

struct PasteChoice {
    PasteAs as;
    QString text;
};

// The data holds something a paste can take.
bool CanPasteAnnotation(const QMimeData* data);

// The ways the data can be pasted, for the Paste Special dialog.
std::vector<PasteChoice> PasteChoices(const QMimeData& data);

// Adds an annotation made from the data at point (control pixels), its
// size from the data's extent. False when nothing was made: nothing
// usable, or the descriptor of a control of this same class (a drop of the
// control onto itself), which is never embedded. On success the control
// is invalidated and marked modified.
bool PasteAnnotation(CGLCOleControl& control, const QMimeData& data, QPoint at, PasteAs as = PasteAs::Best);

// The data a drag of an annotation offers: its picture (or the object's own
// data and picture) and a descriptor with the drag offset (pixels from the
// annotation's corner), which names the plot control's class.
QMimeData* AnnotationMimeData(const Annotation& annotation, QPoint dragOffset);

} // namespace halvex
