// The painter's part of the picture: the border and the graph title over
// an image, their colours and fonts from the container, the title growing
// with the picture's resolution and never leaving the picture.
#include "plot/core/plot_control.h"
#include "plot/host/ambient_font.h"
#include "plot/widget/plot_overlays.h"
#include "tests/plot/plot_test_support.h"

#include <QImage>
#include <QPainter>

using namespace plottest;

namespace {

struct AmbientSite final : halvex::host::ControlSite {
    Variant font, textColor;
    void invalidate(bool) override {}
    Variant ambient(platform::DispId id) const override
    {
        if (id == halvex::host::ambient::Font)
            return font;
        if (id == halvex::host::ambient::TextColor)
            return textColor;
        return {};
    }
};

class Overlays : public PlotTest {
protected:
    halvex::COpenGLCtrl& control() { return dynamic_cast<halvex::COpenGLCtrl&>(*ctl); }
    QImage draw(int w = 300, int h = 200, double dpi = 96.0)
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        halvex::DrawOverlays(p, control(), image.rect(), dpi);
        return image;
    }
    static int count(const QImage& image, const QRect& r, QRgb color)
    {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += image.pixel(x, y) == color ? 1 : 0;
        return n;
    }
    static int inked(const QImage& image, const QRect& r)
    {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += qGray(image.pixel(x, y)) < 160 ? 1 : 0;
        return n;
    }
};

TEST_F(Overlays, TheBorderOutlinesTheBoundsInItsColour)
{
    put(*ctl, "BorderColor", Variant(0x0000FF)); // red
    QImage image = draw();
    QRgb red = qRgb(255, 0, 0);
    EXPECT_EQ(count(image, QRect(0, 0, 300, 1), red), 300);
    EXPECT_EQ(count(image, QRect(0, 199, 300, 1), red), 300);
    EXPECT_EQ(count(image, QRect(0, 0, 1, 200), red), 200);
    EXPECT_EQ(count(image, QRect(299, 0, 1, 200), red), 200);
    EXPECT_EQ(count(image, QRect(1, 1, 298, 198), red), 0);
    put(*ctl, "ShowBorder", Variant(false));
    EXPECT_EQ(count(draw(), QRect(0, 0, 300, 200), red), 0);
    // A flat plot's border is the XY plane's, not the painter's.
    put(*ctl, "ShowBorder", Variant(true));
    call(*ctl, "AddSurface", {doubles2D(0, 2, 0, 2, {1, 2, 3, 4})});
    put(*dispatchOf(call(*ctl, "Model", {Variant(0)})), "ViewAs", Variant::fromInt16(1));
    ASSERT_TRUE(control().FlatPlot());
    EXPECT_EQ(count(draw(), QRect(0, 0, 300, 200), red), 0);
}

TEST_F(Overlays, TheTitleNeverLeavesThePicture)
{
    put(*ctl, "ShowBorder", Variant(false));
    put(*ctl, "GraphTitle", Variant(std::string("A rather long title for a picture this narrow")));
    put(*ctl, "GraphTitlePosition", Variant::fromInt16(0));
    // Made smaller to fit the width: ink on neither edge column.
    QImage narrow = draw(150, 200);
    EXPECT_GT(inked(narrow, QRect(0, 0, 150, 30)), 20);
    EXPECT_EQ(inked(narrow, QRect(0, 0, 1, 200)), 0);
    EXPECT_EQ(inked(narrow, QRect(149, 0, 1, 200)), 0);
    // No room at all: no title, rather than a cut one.
    EXPECT_EQ(inked(draw(40, 30), QRect(0, 0, 40, 30)), 0);
}

TEST_F(Overlays, TheTitleStandsAboveOrBelowOrNowhere)
{
    put(*ctl, "ShowBorder", Variant(false));
    put(*ctl, "GraphTitle", Variant(std::string("Surface")));
    QRect top(0, 0, 300, 30), bottom(0, 170, 300, 30);
    EXPECT_EQ(inked(draw(), QRect(0, 0, 300, 200)), 0); // position 2: hidden
    put(*ctl, "GraphTitlePosition", Variant::fromInt16(0));
    QImage above = draw();
    EXPECT_GT(inked(above, top), 20);
    EXPECT_EQ(inked(above, bottom), 0);
    // Centred.
    EXPECT_EQ(inked(above, QRect(0, 0, 100, 30)), 0);
    EXPECT_EQ(inked(above, QRect(200, 0, 100, 30)), 0);
    put(*ctl, "GraphTitlePosition", Variant::fromInt16(1));
    QImage below = draw();
    EXPECT_EQ(inked(below, top), 0);
    EXPECT_GT(inked(below, bottom), 20);
}

TEST_F(Overlays, TheTitleTakesTheContainersFontAndGrowsWithThePicture)
{
    AmbientSite ambient;
    control().setSite(&ambient);
    put(*ctl, "ShowBorder", Variant(false));
    put(*ctl, "GraphTitle", Variant(std::string("Surface")));
    put(*ctl, "GraphTitlePosition", Variant::fromInt16(0));
    int plain = inked(draw(), QRect(0, 0, 300, 200));
    ambient.font = Variant(platform::Ref<platform::Dispatch>(new halvex::host::AmbientFont("DejaVu Sans", 20.0)));
    ambient.textColor = Variant(0x00FF00); // green
    QImage big = draw();
    EXPECT_GT(inked(big, QRect(0, 0, 300, 200)), plain * 2);
    halvex::TitleStyle style = halvex::AmbientTitleStyle(control());
    EXPECT_EQ(style.face, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(style.points, 20);
    EXPECT_EQ(style.color, QColor(0, 255, 0));
    // A picture at twice the resolution gets a title twice as large, and
    // a border twice as wide.
    ambient.font = Variant(platform::Ref<platform::Dispatch>(new halvex::host::AmbientFont("DejaVu Sans", 10.0)));
    int small = inked(draw(600, 400, 96.0), QRect(0, 0, 600, 400));
    int doubled = inked(draw(600, 400, 192.0), QRect(0, 0, 600, 400));
    EXPECT_GT(doubled, small * 3);
    put(*ctl, "ShowBorder", Variant(true));
    put(*ctl, "GraphTitlePosition", Variant::fromInt16(2));
    QImage bordered = draw(600, 400, 192.0);
    EXPECT_EQ(inked(bordered, QRect(0, 100, 2, 200)), 400);
    EXPECT_EQ(inked(bordered, QRect(2, 100, 1, 200)), 0);
    control().setSite(&site);
}

TEST_F(Overlays, AmbientFontsAreReadAsContainersHandThem)
{
    std::string face;
    int points = 0;
    Variant font(platform::Ref<platform::Dispatch>(new halvex::host::AmbientFont("Liberation Serif", 11.6)));
    ASSERT_TRUE(halvex::host::ReadAmbientFont(font, face, points));
    EXPECT_EQ(face, "Liberation Serif");
    EXPECT_EQ(points, 12); // rounded from 1/10000 points
    EXPECT_FALSE(halvex::host::ReadAmbientFont(Variant(5), face, points));
    EXPECT_FALSE(halvex::host::ReadAmbientFont(Variant(), face, points));
}

} // namespace
