// Annotations pasted and dropped as QMimeData, drawn over the picture, and
// offered again when dragged out.
#include "tests/plot/plot_test_support.h"

#include "plot/core/clip_formats.h"
#include "plot/core/embedded_item.h"
#include "plot/core/plot_control.h"
#include "plot/core/plot_ids.h"
#include "plot/widget/annotation_painter.h"
#include "plot/widget/annotation_transfer.h"

#include <QBuffer>
#include <QImage>
#include <QMimeData>
#include <QPainter>

#include <memory>

using namespace plottest;
using halvex::Annotation;
using halvex::PasteAs;

namespace {

QByteArray png(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray svg(int w, int h)
{
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\">"
                          "<rect width=\"%1\" height=\"%2\" fill=\"#0000ff\"/></svg>")
        .arg(w)
        .arg(h)
        .toUtf8();
}

QString mime(std::string_view m)
{
    return QString::fromLatin1(m.data(), qsizetype(m.size()));
}

QByteArray descriptor(const platform::Guid& classId, const char* name, int cx, int cy)
{
    halvex::ObjectDescriptor d;
    d.classId = classId;
    d.typeName = name;
    d.extent[0] = cx;
    d.extent[1] = cy;
    std::vector<std::uint8_t> b = halvex::WriteObjectDescriptor(d);
    return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
}

constexpr platform::Guid kEquationClass{0x0A0B0C0D, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};

class Annotations : public PlotTest {
protected:
    halvex::COpenGLCtrl& control() { return dynamic_cast<halvex::COpenGLCtrl&>(*ctl); }
    const std::vector<Annotation>& list() { return control().annotations(); }
    bool paste(const QMimeData& data, QPoint at = {10, 20}, PasteAs as = PasteAs::Best)
    {
        return halvex::PasteAnnotation(control(), data, at, as);
    }
    // The annotations over a white picture of the given size.
    QImage drawn(int w, int h)
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        halvex::DrawAnnotations(painter, control(), image.rect());
        return image;
    }
};

TEST_F(Annotations, ABitmapBecomesAPictureAtThePastePoint)
{
    QMimeData data;
    QByteArray red = png(40, 30, Qt::red);
    data.setData("image/png", red);
    ASSERT_TRUE(halvex::CanPasteAnnotation(&data));
    site.reset();
    ASSERT_TRUE(paste(data));
    ASSERT_EQ(list().size(), 1u);
    const Annotation& a = list()[0];
    EXPECT_EQ(a.type, halvex::kPictureAnnotation);
    EXPECT_EQ(a.rect, (halvex::AnnotationRect{10, 20, 50, 50}));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(a.picture.data()), qsizetype(a.picture.size())), red);
    EXPECT_EQ(a.clipFormat, 0);
    EXPECT_TRUE(site.modified);
    EXPECT_GE(site.erases, 1);

    // The clipboard's own image, with no PNG bytes, is encoded as PNG.
    QMimeData image;
    QImage green(8, 6, QImage::Format_RGB32);
    green.fill(Qt::green);
    image.setImageData(green);
    ASSERT_TRUE(paste(image, {0, 0}));
    EXPECT_EQ(list()[1].rect, (halvex::AnnotationRect{0, 0, 8, 6}));
    EXPECT_EQ(halvex::PictureSize(QByteArray(reinterpret_cast<const char*>(list()[1].picture.data()),
                                             qsizetype(list()[1].picture.size()))),
              QSize(8, 6));
}

TEST_F(Annotations, AVectorPictureComesBeforeABitmapUnlessABitmapIsAsked)
{
    QMimeData data;
    data.setData("image/png", png(40, 30, Qt::red));
    data.setData("image/svg+xml", svg(64, 32));
    ASSERT_TRUE(paste(data));
    EXPECT_EQ(list()[0].rect, (halvex::AnnotationRect{10, 20, 74, 52}));
    EXPECT_EQ(list()[0].picture[0], '<');
    ASSERT_TRUE(paste(data, {0, 0}, PasteAs::Bitmap));
    EXPECT_EQ(list()[1].picture[1], 'P');

    std::vector<halvex::PasteChoice> choices = halvex::PasteChoices(data);
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[0].as, PasteAs::Picture);
    EXPECT_EQ(choices[1].as, PasteAs::Bitmap);
    // Nothing usable: no annotation, nothing marked.
    QMimeData text;
    text.setText("just words");
    EXPECT_FALSE(halvex::CanPasteAnnotation(&text));
    EXPECT_FALSE(paste(text));
    QMimeData broken;
    broken.setData("image/png", "not a picture");
    EXPECT_FALSE(paste(broken));
    EXPECT_EQ(list().size(), 2u);
}

TEST_F(Annotations, AHostRegionIsAPictureThatKeepsItsData)
{
    QMimeData data;
    data.setData(mime(halvex::clipfmt::EquationRegion.mime), QByteArray("x^2 + y^2", 9));
    data.setData("image/svg+xml", svg(20, 10));
    ASSERT_TRUE(paste(data));
    const Annotation& a = list()[0];
    EXPECT_EQ(a.type, halvex::kPictureAnnotation);
    EXPECT_EQ(a.clipFormat, halvex::clipfmt::EquationRegion.number);
    EXPECT_EQ(std::string(a.hostData.begin(), a.hostData.end()), "x^2 + y^2");
}

TEST_F(Annotations, AnObjectIsEmbeddedWithItsDataAndExtent)
{
    QMimeData data;
    data.setData(mime(halvex::clipfmt::ObjectDescriptor.mime), descriptor(kEquationClass, "Equation", 2540, 1270));
    data.setData(mime(halvex::clipfmt::EmbedSource.mime), QByteArray("\x01\x02\x00\x03", 4));
    ASSERT_TRUE(paste(data, {5, 5}));
    const Annotation& a = list()[0];
    EXPECT_EQ(a.type, halvex::kObjectAnnotation);
    EXPECT_EQ(a.rect, (halvex::AnnotationRect{5, 5, 101, 53})); // 1 inch by half an inch
    std::optional<halvex::EmbeddedItem> item = halvex::ReadEmbeddedItem(a.item);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->classId, kEquationClass);
    EXPECT_EQ(item->typeName, "Equation");
    EXPECT_EQ(item->data, (std::vector<std::uint8_t>{1, 2, 0, 3}));
    EXPECT_TRUE(item->presentation.empty());

    // An object nothing here can run: a labelled frame, kept byte for byte
    // through a save and a load.
    put(*ctl, "BorderColor", Variant(0));
    control().SetControlSize(200, 100);
    QImage image = drawn(200, 100);
    int frame = 0; // the frame's left side, dashed
    for (int y = 5; y < 53; ++y)
        frame += image.pixel(5, y) != QColor(Qt::white).rgb();
    EXPECT_GT(frame, 20);
    EXPECT_EQ(image.pixel(150, 90), QColor(Qt::white).rgb());
    std::vector<std::uint8_t> state = control().SaveState();
    Ref<Dispatch> other = newControl();
    dynamic_cast<halvex::COpenGLCtrl&>(*other).LoadState(state);
    EXPECT_EQ(dynamic_cast<halvex::COpenGLCtrl&>(*other).annotations()[0].item, a.item);
}

TEST_F(Annotations, ACopyOfThePlotControlIsNeverEmbeddedInIt)
{
    QMimeData data;
    data.setData(mime(halvex::clipfmt::ObjectDescriptor.mime), descriptor(halvex::kPlotClassId, "Plot", 2540, 2540));
    data.setData(mime(halvex::clipfmt::EmbedSource.mime), QByteArray("state"));
    data.setData("image/png", png(10, 10, Qt::blue));
    site.reset();
    EXPECT_FALSE(paste(data));
    EXPECT_TRUE(list().empty());
    EXPECT_FALSE(site.modified);

    // Nor is an annotation dragged out of a plot control and dropped back.
    QMimeData red;
    red.setData("image/png", png(12, 12, Qt::red));
    ASSERT_TRUE(paste(red));
    std::unique_ptr<QMimeData> dragged(halvex::AnnotationMimeData(list()[0], {3, 4}));
    EXPECT_TRUE(dragged->hasFormat("image/png"));
    EXPECT_TRUE(dragged->hasImage());
    auto d = halvex::ReadObjectDescriptor(
        std::span(reinterpret_cast<const std::uint8_t*>(dragged->data(mime(halvex::clipfmt::ObjectDescriptor.mime)).constData()),
                  std::size_t(dragged->data(mime(halvex::clipfmt::ObjectDescriptor.mime)).size())));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->classId, halvex::kPlotClassId);
    EXPECT_EQ(d->dragOffset[0], 79); // 3 pixels in 0.01 mm
    EXPECT_EQ(d->extent[0], 318);
    EXPECT_FALSE(paste(*dragged));
    EXPECT_EQ(list().size(), 1u);
    // Asked for as a picture, it is one.
    EXPECT_TRUE(paste(*dragged, {0, 0}, PasteAs::Bitmap));
}

TEST_F(Annotations, PicturesAreScaledFromControlPixelsToTheBounds)
{
    control().SetControlSize(200, 100);
    QMimeData data;
    data.setData("image/png", png(50, 25, Qt::red));
    ASSERT_TRUE(paste(data, {50, 25}));
    QImage image = drawn(400, 200); // twice the control's size
    EXPECT_EQ(QColor(image.pixel(150, 75)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(101, 51)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(98, 48)), QColor(Qt::white));
    EXPECT_EQ(QColor(image.pixel(202, 102)), QColor(Qt::white));
    EXPECT_EQ(halvex::AnnotationAt(control(), {60, 30}), 0);
    EXPECT_EQ(halvex::AnnotationAt(control(), {10, 10}), -1);

    // A loaded rectangle may hold any numbers: its size never overflows.
    halvex::AnnotationRect wide{INT32_MIN, 0, INT32_MAX, 10};
    EXPECT_EQ(wide.width(), INT32_MAX);
    EXPECT_EQ(wide.movedTo(5, 5), (halvex::AnnotationRect{5, 5, INT32_MAX, 15}));
    EXPECT_EQ((halvex::AnnotationRect{10, 10, 0, 0}).height(), 0);

    // A control without a size draws none (and divides by nothing).
    control().SetControlSize(0, 0);
    QImage none = drawn(400, 200);
    EXPECT_EQ(QColor(none.pixel(150, 75)), QColor(Qt::white));
}

} // namespace
