// Scene text: the system's fonts in place of the Windows faces, outline
// glyphs tessellated into display lists of one context, bitmap glyphs,
// measuring with its two errors, raised exponents, and the lists made
// again for a new context.
#include "plot/core/egl_context.h"
#include "plot/base/font_face.h"
#include "plot/base/glyph_font_list.h"
#include "plot/base/plot_errors.h"
#include "plot/model/scene_number.h"
#include "tests/plot/plot_test_support.h"

#include <GL/gl.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace halvex;
using plottest::expectError;

namespace {

class SceneText : public ::testing::Test {
protected:
    void SetUp() override
    {
        context = std::make_unique<EglRenderContext>(160, 60);
        if (!context->valid())
            GTEST_SKIP() << context->error();
        ASSERT_TRUE(context->MakeCurrent());
        glViewport(0, 0, 160, 60);
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 160, 0, 60, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glColor3f(0, 0, 0);
    }
    // Dark pixels in columns [x0, x1).
    int ink(int x0 = 0, int x1 = 160)
    {
        std::vector<std::uint8_t> px;
        EXPECT_TRUE(context->ReadPixels(px));
        int n = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = x0; x < x1; ++x)
                n += px[std::size_t(y * 160 + x) * 4] < 128 ? 1 : 0;
        return n;
    }
    std::unique_ptr<EglRenderContext> context;
};

TEST(FontFaces, TheWindowsFacesAreTheLiberationFonts)
{
    EXPECT_EQ(FontFace::SubstituteFamily("Times New Roman"), "Liberation Serif");
    EXPECT_EQ(FontFace::SubstituteFamily("arial"), "Liberation Sans");
    EXPECT_EQ(FontFace::SubstituteFamily("Courier New"), "Liberation Mono");
    EXPECT_EQ(FontFace::SubstituteFamily("DejaVu Sans"), "DejaVu Sans");
    auto times = FontFace::Find("Times New Roman");
    ASSERT_TRUE(times);
    EXPECT_EQ(times->family(), "Liberation Serif");
    EXPECT_TRUE(times->scalable());
    EXPECT_EQ(FontFace::Find("TIMES NEW ROMAN"), times); // shared
    // An unknown face still gives a font to draw with.
    auto unknown = FontFace::Find("No Such Face 12345");
    ASSERT_TRUE(unknown);
}

TEST(FontFaces, OutlinesAreTessellatedInEmUnits)
{
    auto arial = FontFace::Find("Arial");
    ASSERT_TRUE(arial);
    const GlyphOutline& o = arial->Outline('O');
    ASSERT_FALSE(o.triangles.empty());
    EXPECT_EQ(o.triangles.size() % 6, 0u);
    EXPECT_EQ(o.contourEnds.size(), 2u); // the ring's two contours
    // The ring's area: its triangles cover the outer contour less the hole.
    double area = 0;
    for (std::size_t i = 0; i + 5 < o.triangles.size(); i += 6) {
        const float* t = &o.triangles[i];
        area += std::fabs((t[2] - t[0]) * (t[5] - t[1]) - (t[4] - t[0]) * (t[3] - t[1])) * 0.5;
    }
    EXPECT_GT(area, 0.1);
    EXPECT_LT(area, 0.5);
    EXPECT_NEAR(o.advance, 0.778, 0.01); // Arial's O
    EXPECT_TRUE(arial->Outline(' ').triangles.empty());
    EXPECT_GT(arial->Outline(' ').advance, 0.2f);
    EXPECT_EQ(arial->Outline('\x01').advance, 0.0f);
    // Cyrillic letters of the code page.
    EXPECT_FALSE(arial->Outline(static_cast<unsigned char>('\xC6')).triangles.empty()); // Ж

    GlyphBitmap b = arial->Bitmap('H', 20);
    EXPECT_GT(b.width, 5);
    EXPECT_GT(b.height, 10);
    EXPECT_EQ(b.bits.size(), std::size_t((b.width + 7) / 8 * b.height));
    EXPECT_NEAR(b.advance, 14.0f, 1.5f);
}

TEST_F(SceneText, MeasuringNeedsAFontListAndAText)
{
    expectError([] { MeasureSceneText(nullptr, "12"); }, err::GlyphFontListMissing,
                "GlyphMetrics: Font List is not Initialized", std::int32_t(0x800A0000u | err::GlyphFontListMissing));
    SceneFonts fonts;
    GlyphFontList* list = fonts.Get("Arial", 10, 96);
    ASSERT_NE(list, nullptr);
    expectError([&] { MeasureSceneText(list, ""); }, err::GlyphEmptyString, "GlyphMetrics: empty string.",
                std::int32_t(0x800A0000u | err::GlyphEmptyString));
    TextExtent plain = MeasureSceneText(list, "1.5");
    EXPECT_GT(plain.width, 10.0f);
    EXPECT_NEAR(plain.ascent, 0.905f * 10 * 96 / 72, 0.5f);
    // The raised exponent is smaller and lifts the top.
    TextExtent raised = MeasureSceneText(list, FormatSceneNumber(150000, 2));
    TextExtent flat = MeasureSceneText(list, "1.5\xB7""105");
    EXPECT_LT(raised.width, flat.width);
    EXPECT_GT(raised.ascent, plain.ascent);
    EXPECT_EQ(fonts.Get("Arial", 10, 96), list);
    EXPECT_NE(fonts.Get("Arial", 10, 192), list);
}

TEST_F(SceneText, OutlineGlyphsBecomeListsOnceAndDrawPolygons)
{
    SceneFonts fonts;
    GlyphFontList* list = fonts.Get("Arial", 24, 72);
    ASSERT_TRUE(list && list->outline());
    glTranslatef(10, 20, 0);
    list->Draw("808");
    EXPECT_EQ(list->recordedLists(), 2);
    EXPECT_GT(ink(10, 60), 100);
    EXPECT_EQ(ink(80, 160), 0);
    glLoadIdentity();
    glTranslatef(90, 20, 0);
    list->Draw("88");
    EXPECT_EQ(list->recordedLists(), 2);
    EXPECT_GT(ink(80, 160), 50);

    // In feedback mode the glyphs are polygons (the EPS export reads them).
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    list->Draw("8");
    GLint n = glRenderMode(GL_RENDER);
    int polygons = 0;
    for (GLint k = 0; k < n;) {
        auto token = GLint(buffer[std::size_t(k)]);
        if (token == GL_POLYGON_TOKEN) {
            ++polygons;
            k += 2 + 2 * GLint(buffer[std::size_t(k) + 1]);
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            k += 5;
        } else {
            k += 3;
        }
    }
    EXPECT_GT(polygons, 10);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(SceneText, BitmapGlyphsDrawAtTheRasterPosition)
{
    SceneFonts fonts;
    GlyphFontList* list = fonts.Get("Arial", 20, 72, true);
    ASSERT_TRUE(list && !list->outline());
    glRasterPos2f(5, 20);
    list->Draw("1\x01" "2\x02" "3");
    EXPECT_EQ(list->recordedLists(), 3); // the raised "2" has its own glyph
    EXPECT_GT(ink(0, 60), 30);
    EXPECT_EQ(ink(80, 160), 0);
    TextExtent e = list->Measure("1\x01" "2\x02" "3");
    EXPECT_GT(e.width, 20.0f);
    EXPECT_LT(e.width, 40.0f);
}

TEST_F(SceneText, AGlyphMetWhileRecordingGoesIntoThatList)
{
    SceneFonts fonts;
    GlyphFontList* list = fonts.Get("Arial", 24, 72);
    ASSERT_TRUE(list);
    GLuint outer = glGenLists(1);
    glNewList(outer, GL_COMPILE);
    glTranslatef(10, 20, 0);
    list->Draw("7");
    glEndList();
    EXPECT_EQ(list->recordedLists(), 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(ink(), 0);
    glCallList(outer);
    EXPECT_GT(ink(), 20);
}

TEST(ContextFonts, ANewContextMakesItsGlyphListsAgain)
{
    EglRenderContext a(40, 40);
    if (!a.valid())
        GTEST_SKIP() << a.error();
    ASSERT_TRUE(a.MakeCurrent());
    GlyphFontList* first = a.fonts().Get("Arial", 10, 96);
    ASSERT_TRUE(first);
    first->Draw("1");
    EXPECT_EQ(first->recordedLists(), 1);
    EXPECT_TRUE(RenderContext::GenerationLive(a.generation()));
    std::uint64_t old;
    {
        EglRenderContext b(40, 40);
        ASSERT_TRUE(b.MakeCurrent());
        GlyphFontList* second = b.fonts().Get("Arial", 10, 96);
        EXPECT_EQ(second->recordedLists(), 0);
        old = b.generation();
        EXPECT_NE(old, a.generation());
    }
    EXPECT_FALSE(RenderContext::GenerationLive(old));
    EXPECT_TRUE(RenderContext::GenerationLive(a.generation()));
}

} // namespace
