#include "plot/widget/annotation_painter.h"

#include "plot/core/embedded_item.h"
#include "plot/core/gl_control_core.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <map>
#include <memory>

namespace halvex {

namespace {

bool isSvg(const QByteArray& bytes)
{
    QByteArray head = bytes.left(512).trimmed();
    return head.startsWith("<?xml") || head.startsWith("<svg") || head.contains("<svg");
}

// A decoded picture: an image, or a vector picture drawn at any size; for
// an embedded object also the name its frame shows.
struct Decoded {
    QImage image;
    std::shared_ptr<QSvgRenderer> svg;
    QString label;
    bool valid() const { return !image.isNull() || (svg && svg->isValid()); }
};

QByteArray view(const std::vector<std::uint8_t>& bytes)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

Decoded decode(const QByteArray& bytes)
{
    Decoded d;
    if (bytes.isEmpty())
        return d;
    if (isSvg(bytes)) {
        auto svg = std::make_shared<QSvgRenderer>(bytes);
        if (svg->isValid())
            d.svg = std::move(svg);
        return d;
    }
    d.image.loadFromData(bytes);
    return d;
}

Decoded decode(const Annotation& a)
{
    if (a.type == kPictureAnnotation)
        return decode(view(a.picture));
    std::optional<EmbeddedItem> item = ReadEmbeddedItem(a.item);
    Decoded d = item ? decode(view(item->presentation)) : Decoded{};
    d.label = item && !item->typeName.empty() ? QString::fromStdString(item->typeName) : QStringLiteral("Object");
    return d;
}

// Annotations decoded for earlier paints, by serial; a paint keeps only
// what it drew, so the cache never outgrows the list.
class PictureCache {
public:
    const Decoded& get(const Annotation& a)
    {
        auto it = cache_.find(a.serial);
        if (it == cache_.end())
            it = cache_.emplace(a.serial, decode(a)).first;
        used_.push_back(a.serial);
        return it->second;
    }
    void endPaint()
    {
        std::map<std::uint64_t, Decoded> kept;
        for (std::uint64_t s : used_)
            if (auto it = cache_.find(s); it != cache_.end())
                kept.insert(cache_.extract(it));
        cache_ = std::move(kept);
        used_.clear();
    }

private:
    std::map<std::uint64_t, Decoded> cache_;
    std::vector<std::uint64_t> used_;
};

PictureCache& cache()
{
    static PictureCache c;
    return c;
}

void drawPicture(QPainter& painter, const Decoded& picture, const QRect& r)
{
    if (picture.svg)
        picture.svg->render(&painter, QRectF(r));
    else if (!picture.image.isNull())
        painter.drawImage(r, picture.image);
}

// An object drawn by no one: a frame with its kind written in it.
void drawFrame(QPainter& painter, const QRect& r, const QString& label)
{
    painter.save();
    painter.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.drawText(r.adjusted(3, 3, -3, -3), Qt::AlignCenter | Qt::TextWordWrap, label);
    painter.restore();
}

} // namespace

QRect AnnotationBounds(const AnnotationRect& rect, const CGLCOleControl& control, const QRect& bounds)
{
    const std::int64_t cw = control.state().width, ch = control.state().height;
    if (cw <= 0 || ch <= 0)
        return {};
    auto sx = [&](std::int32_t x) { return int(std::int64_t(x) * bounds.width() / cw) + bounds.left(); };
    auto sy = [&](std::int32_t y) { return int(std::int64_t(y) * bounds.height() / ch) + bounds.top(); };
    return QRect(QPoint(sx(rect.left), sy(rect.top)), QPoint(sx(rect.right) - 1, sy(rect.bottom) - 1));
}

void DrawAnnotations(QPainter& painter, const CGLCOleControl& control, const QRect& bounds)
{
    PictureCache& pictures = cache();
    for (const Annotation& a : control.annotations()) {
        QRect r = AnnotationBounds(a.rect, control, bounds);
        if (r.isEmpty() || !r.intersects(bounds))
            continue;
        const Decoded& d = pictures.get(a);
        if (d.valid())
            drawPicture(painter, d, r);
        else if (a.type == kObjectAnnotation)
            drawFrame(painter, r, d.label);
    }
    pictures.endPaint();
}

int AnnotationAt(const CGLCOleControl& control, QPoint p)
{
    const auto& list = control.annotations();
    for (int i = int(list.size()) - 1; i >= 0; --i)
        if (list[std::size_t(i)].rect.contains(p.x(), p.y()))
            return i;
    return -1;
}

QSize PictureSize(const QByteArray& bytes)
{
    Decoded d = decode(bytes);
    if (d.svg)
        return d.svg->defaultSize();
    return d.image.size();
}

} // namespace halvex
