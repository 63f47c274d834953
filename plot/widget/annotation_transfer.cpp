#include "plot/widget/annotation_transfer.h"

#include "plot/core/clip_formats.h"
#include "plot/core/embedded_item.h"
#include "plot/core/gl_control_core.h"
#include "plot/core/plot_ids.h"
#include "plot/widget/annotation_painter.h"

#include <QBuffer>
#include <QImage>
#include <QMimeData>

#include <cmath>

namespace halvex {

namespace {

QString mime(std::string_view m)
{
    return QString::fromLatin1(m.data(), qsizetype(m.size()));
}

std::vector<std::uint8_t> bytesOf(const QByteArray& b)
{
    return std::vector<std::uint8_t>(b.begin(), b.end());
}

std::span<const std::uint8_t> spanOf(const QByteArray& b)
{
    return {reinterpret_cast<const std::uint8_t*>(b.constData()), std::size_t(b.size())};
}

std::int32_t pixels(std::int32_t hundredthsOfMm)
{
    return std::int32_t(std::lround(double(hundredthsOfMm) * 96.0 / 2540.0));
}

std::int32_t hundredths(std::int32_t px)
{
    double h = std::round(double(px) * 2540.0 / 96.0);
    return h >= 2147483647.0 ? INT32_MAX : std::int32_t(h);
}

// A picture's bytes: a vector picture when asked for or preferred, else a
// bitmap (PNG as given, or the clipboard's image encoded as PNG).
struct Picture {
    QByteArray bytes;
    QSize size;
};

Picture vectorPicture(const QMimeData& data)
{
    Picture p;
    if (data.hasFormat(mime(kSvgMime))) {
        p.bytes = data.data(mime(kSvgMime));
        p.size = PictureSize(p.bytes);
    }
    return p.size.isEmpty() ? Picture{} : p;
}

Picture bitmapPicture(const QMimeData& data)
{
    Picture p;
    if (data.hasFormat(mime(kPngMime))) {
        p.bytes = data.data(mime(kPngMime));
        p.size = PictureSize(p.bytes);
        if (!p.size.isEmpty())
            return p;
    }
    if (data.hasImage()) {
        QImage image = qvariant_cast<QImage>(data.imageData());
        if (!image.isNull()) {
            QBuffer buffer(&p.bytes);
            buffer.open(QIODevice::WriteOnly);
            if (image.save(&buffer, "PNG"))
                return {p.bytes, image.size()};
        }
    }
    return {};
}

Picture picture(const QMimeData& data, PasteAs as)
{
    if (as != PasteAs::Bitmap)
        if (Picture p = vectorPicture(data); !p.size.isEmpty())
            return p;
    if (as != PasteAs::Picture)
        return bitmapPicture(data);
    return {};
}

AnnotationRect placed(QPoint at, QSize size)
{
    // A picture without a size still takes a place that can be seen.
    int w = size.width() > 0 ? size.width() : 96, h = size.height() > 0 ? size.height() : 96;
    return {at.x(), at.y(), at.x() + w, at.y() + h};
}

std::optional<ObjectDescriptor> descriptorOf(const QMimeData& data)
{
    if (!data.hasFormat(mime(clipfmt::ObjectDescriptor.mime)))
        return std::nullopt;
    return ReadObjectDescriptor(spanOf(data.data(mime(clipfmt::ObjectDescriptor.mime))));
}

bool ownDescriptor(const std::optional<ObjectDescriptor>& d)
{
    return d && d->classId == kPlotClassId;
}

// Step 1: an object to embed (or link).
bool embedObject(CGLCOleControl& control, const QMimeData& data, QPoint at, bool link)
{
    std::optional<ObjectDescriptor> d = descriptorOf(data);
    const ClipFormat& native = link ? clipfmt::LinkSource : clipfmt::EmbedSource;
    if (!d || !data.hasFormat(mime(native.mime)))
        return false;
    EmbeddedItem item;
    item.classId = d->classId;
    item.typeName = d->typeName;
    item.nativeFormat = std::string(native.mime);
    item.extent[0] = d->extent[0];
    item.extent[1] = d->extent[1];
    item.data = bytesOf(data.data(mime(native.mime)));
    item.link = link;
    Picture shown = picture(data, PasteAs::Best);
    item.presentation = bytesOf(shown.bytes);
    QSize size(pixels(d->extent[0]), pixels(d->extent[1]));
    if (size.width() <= 0 || size.height() <= 0)
        size = shown.size;
    Annotation a;
    a.type = kObjectAnnotation;
    a.rect = placed(at, size);
    a.item = WriteEmbeddedItem(item);
    control.AddAnnotation(std::move(a));
    return true;
}

bool addPicture(CGLCOleControl& control, const Picture& p, QPoint at, std::uint16_t format = 0,
                std::vector<std::uint8_t> hostData = {})
{
    if (p.size.isEmpty())
        return false;
    Annotation a;
    a.type = kPictureAnnotation;
    a.rect = placed(at, p.size);
    a.picture = bytesOf(p.bytes);
    a.clipFormat = format;
    a.hostData = std::move(hostData);
    control.AddAnnotation(std::move(a));
    return true;
}

} // namespace

bool CanPasteAnnotation(const QMimeData* data)
{
    if (!data)
        return false;
    if (data->hasFormat(mime(kSvgMime)) || data->hasFormat(mime(kPngMime)) || data->hasImage())
        return true;
    return data->hasFormat(mime(clipfmt::ObjectDescriptor.mime)) &&
           (data->hasFormat(mime(clipfmt::EmbedSource.mime)) || data->hasFormat(mime(clipfmt::LinkSource.mime)));
}

std::vector<PasteChoice> PasteChoices(const QMimeData& data)
{
    std::vector<PasteChoice> choices;
    std::optional<ObjectDescriptor> d = descriptorOf(data);
    if (d && !ownDescriptor(d) && data.hasFormat(mime(clipfmt::EmbedSource.mime))) {
        QString name = d->typeName.empty() ? QStringLiteral("Object") : QString::fromStdString(d->typeName);
        choices.push_back({PasteAs::Object, name + QStringLiteral(" (embedded object)")});
    }
    if (d && data.hasFormat(mime(clipfmt::LinkSource.mime)))
        choices.push_back({PasteAs::Link, QStringLiteral("Link to the object")});
    if (!vectorPicture(data).size.isEmpty())
        choices.push_back({PasteAs::Picture, QStringLiteral("Picture (metafile)")});
    if (!bitmapPicture(data).size.isEmpty())
        choices.push_back({PasteAs::Bitmap, QStringLiteral("Bitmap")});
    return choices;
}

bool PasteAnnotation(CGLCOleControl& control, const QMimeData& data, QPoint at, PasteAs as)
{
    if (as == PasteAs::Best || as == PasteAs::Object || as == PasteAs::Link) {
        bool link = as == PasteAs::Link;
        // A copy of a plot control is never embedded in one: dropped onto
        // itself it would only duplicate what is there.
        if (ownDescriptor(descriptorOf(data)) && !link)
            return false;
        if (embedObject(control, data, at, link))
            return true;
        if (as != PasteAs::Best)
            return false;
    }
    // A host program's region, shown by its picture, its own data kept.
    for (const ClipFormat& region : kRegionClipFormats) {
        if (!data.hasFormat(mime(region.mime)))
            continue;
        if (addPicture(control, picture(data, as), at, region.number, bytesOf(data.data(mime(region.mime)))))
            return true;
    }
    if (as != PasteAs::Bitmap && addPicture(control, vectorPicture(data), at))
        return true;
    return as != PasteAs::Picture && addPicture(control, bitmapPicture(data), at);
}

QMimeData* AnnotationMimeData(const Annotation& a, QPoint dragOffset)
{
    auto* data = new QMimeData;
    ObjectDescriptor d;
    d.classId = kPlotClassId;
    d.typeName = "Picture";
    d.source = std::string(kControlHelp);
    d.extent[0] = hundredths(a.rect.width());
    d.extent[1] = hundredths(a.rect.height());
    d.dragOffset[0] = hundredths(dragOffset.x());
    d.dragOffset[1] = hundredths(dragOffset.y());
    QByteArray shown;
    if (a.type == kObjectAnnotation) {
        if (std::optional<EmbeddedItem> item = ReadEmbeddedItem(a.item)) {
            d.classId = item->classId;
            d.typeName = item->typeName;
            d.canLink = item->link;
            std::string_view native = item->nativeFormat.empty() ? clipfmt::EmbedSource.mime : item->nativeFormat;
            data->setData(mime(native), QByteArray(reinterpret_cast<const char*>(item->data.data()),
                                                   qsizetype(item->data.size())));
            shown = QByteArray(reinterpret_cast<const char*>(item->presentation.data()),
                               qsizetype(item->presentation.size()));
        }
    } else {
        shown = QByteArray(reinterpret_cast<const char*>(a.picture.data()), qsizetype(a.picture.size()));
    }
    if (!shown.isEmpty()) {
        QImage image;
        if (image.loadFromData(shown)) {
            data->setData(mime(kPngMime), shown);
            data->setImageData(image);
        } else {
            data->setData(mime(kSvgMime), shown);
        }
    }
    if (a.clipFormat)
        for (const ClipFormat& f : kRegisteredClipFormats)
            if (f.number == a.clipFormat && !a.hostData.empty())
                data->setData(mime(f.mime), QByteArray(reinterpret_cast<const char*>(a.hostData.data()),
                                                       qsizetype(a.hostData.size())));
    std::vector<std::uint8_t> descriptor = WriteObjectDescriptor(d);
    data->setData(mime(clipfmt::ObjectDescriptor.mime),
                  QByteArray(reinterpret_cast<const char*>(descriptor.data()), qsizetype(descriptor.size())));
    return data;
}

} // namespace halvex
