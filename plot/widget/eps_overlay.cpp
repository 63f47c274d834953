#include "plot/widget/eps_overlay.h"

#include "platform/text/number_text.h"
#include "plot/core/gl_control_core.h"
#include "plot/widget/annotation_painter.h"
#include "plot/widget/plot_overlays.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace halvex {

namespace {

void num(std::string& out, double v)
{
    platform::appendPrintfG(out, v, 6);
}

void rgb(std::string& out, const QColor& c)
{
    num(out, c.redF());
    out += ' ';
    num(out, c.greenF());
    out += ' ';
    num(out, c.blueF());
    out += " setrgbcolor\n";
}

// The image as hex RGB data of a colorimage, bottom row last as PostScript
// reads an image mapped onto its unit square upside down.
void image(std::string& out, const QImage& picture, const QRect& r, int height)
{
    const QImage img = picture.convertToFormat(QImage::Format_RGB888);
    out += "gsave\n";
    num(out, r.left());
    out += ' ';
    num(out, height - r.top() - r.height());
    out += " translate ";
    num(out, r.width());
    out += ' ';
    num(out, r.height());
    out += " scale\n";
    out += "/annotationrow " + std::to_string(3 * img.width()) + " string def\n";
    out += std::to_string(img.width()) + ' ' + std::to_string(img.height()) + " 8 [" +
           std::to_string(img.width()) + " 0 0 -" + std::to_string(img.height()) + " 0 " +
           std::to_string(img.height()) + "]\n";
    out += "{ currentfile annotationrow readhexstring pop } false 3 colorimage\n";
    static const char hex[] = "0123456789abcdef";
    for (int y = 0; y < img.height(); ++y) {
        const uchar* p = img.constScanLine(y);
        for (int x = 0; x < 3 * img.width(); ++x) {
            out += hex[p[x] >> 4];
            out += hex[p[x] & 15];
            if (x % 36 == 35)
                out += '\n';
        }
        out += '\n';
    }
    out += "grestore\n";
}

void path(std::string& out, const QPainterPath& p, int height)
{
    out += "newpath\n";
    for (int i = 0; i < p.elementCount(); ++i) {
        const QPainterPath::Element& e = p.elementAt(i);
        auto point = [&](const QPainterPath::Element& el) {
            num(out, el.x);
            out += ' ';
            num(out, height - el.y);
        };
        switch (e.type) {
        case QPainterPath::MoveToElement:
            point(e);
            out += " moveto\n";
            break;
        case QPainterPath::LineToElement:
            point(e);
            out += " lineto\n";
            break;
        case QPainterPath::CurveToElement:
            point(e);
            out += ' ';
            point(p.elementAt(i + 1));
            out += ' ';
            point(p.elementAt(i + 2));
            out += " curveto\n";
            i += 2;
            break;
        case QPainterPath::CurveToDataElement: break;
        }
    }
    out += p.fillRule() == Qt::OddEvenFill ? "eofill\n" : "fill\n";
}

} // namespace

std::string EpsOverlay(const CGLCOleControl& control, int width, int height, double dpi)
{
    std::string out;
    const QRect bounds(0, 0, width, height);
    // Each annotation as the painter draws it, onto the background.
    for (const Annotation& a : control.annotations()) {
        QRect r = AnnotationBounds(a.rect, control, bounds).intersected(bounds);
        if (r.isEmpty())
            continue;
        QImage picture(r.size(), QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.translate(-r.topLeft());
        painter.setClipRect(r);
        DrawAnnotations(painter, control, bounds);
        painter.end();
        image(out, picture, r, height);
    }
    const ControlState& s = control.state();
    if (s.showBorder && !control.FlatPlot()) {
        // The one-pixel outline along the picture's edge.
        rgb(out, QColor(int(s.borderColor & 0xFF), int(s.borderColor >> 8 & 0xFF), int(s.borderColor >> 16 & 0xFF)));
        out += "1 setlinewidth 0.5 0.5 ";
        num(out, width - 1);
        out += ' ';
        num(out, height - 1);
        out += " rectstroke\n";
    }
    TitleText title = TitleFor(control, bounds, dpi);
    if (!title.text.isEmpty()) {
        rgb(out, title.color);
        QPainterPath p;
        p.addText(title.baseline, title.font, title.text);
        path(out, p, height);
    }
    return out;
}

} // namespace halvex
