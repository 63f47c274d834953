#pragma once
// The control drawn into targets that are no window: printers (through Qt
// Print Support) and PDF files (a printer in PDF mode). The picture is
// drawn off screen at the target's resolution (limited to 150 dots per
// inch unless high-quality printing is on), band by band, each band
// stretched onto its part of the target; the annotations, border and title
// are then painted over it at the target's own resolution.

#include <QRect>

#include <string>

class QPainter;
class QPrinter;

namespace halvex {

class CGLCOleControl;

// Draws into target (device pixels of the painter's device). False with a
// message when nothing could be drawn.
bool DrawOffscreen(CGLCOleControl& control, QPainter& painter, const QRect& target, std::string& error);

// One page: the picture as large as the page's printable area allows, in
// the control's proportions, at its top left.
bool PrintControl(CGLCOleControl& control, QPrinter& printer, std::string& error);

// A PDF file of one page the picture's size: width × height pixels at dpi
// dots per inch (so 96 dpi gives a page of width / 96 inches). Written to a
// temporary file beside path and renamed into place.
bool ExportPdf(CGLCOleControl& control, int width, int height, double dpi, const std::string& path,
               std::string& error);

// The resolution a PDF page is drawn at.
constexpr int kPdfResolution = 600;

} // namespace halvex
