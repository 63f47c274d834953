#include "plot/base/glyph_font_list.h"

#include "plot/base/plot_errors.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace halvex {

namespace {

constexpr float kRaisedScale = 0.7f;
constexpr float kRaisedLift = 0.45f; // em

} // namespace

GlyphFontList::GlyphFontList(std::shared_ptr<FontFace> face, float pixelSize, bool bitmap)
    : face_(std::move(face)), size_(std::max(pixelSize, 1.0f)), bitmap_(bitmap || !face_->scalable()),
      raisedPixels_(std::max(1, int(std::lround(size_ * kRaisedScale))))
{
    if (bitmap_) {
        pixelExtent_[0] = face_->PixelExtent(int(std::lround(size_)));
        pixelExtent_[1] = face_->PixelExtent(raisedPixels_);
    }
}

// The lists go with their context; nothing of the GL is touched here.
GlyphFontList::~GlyphFontList() = default;

const GlyphFontList::BitmapMetrics& GlyphFontList::Metrics(unsigned char code, bool raised)
{
    BitmapMetrics& m = metrics_[raised ? 1 : 0][code];
    if (!m.known) {
        GlyphBitmap b = face_->Bitmap(code, raised ? raisedPixels_ : int(std::lround(size_)));
        m.advance = b.advance;
        if (b.width > 0 && b.height > 0)
            m.ink = {-b.xorig, -b.yorig, -b.xorig + float(b.width), -b.yorig + float(b.height)};
        m.known = true;
    }
    return m;
}

float GlyphFontList::Advance(unsigned char code, bool raised)
{
    if (!bitmap_)
        return face_->Outline(code).advance * size_ * (raised ? kRaisedScale : 1.0f);
    return Metrics(code, raised).advance;
}

std::array<float, 4> GlyphFontList::Ink(unsigned char code, bool raised)
{
    if (bitmap_)
        return Metrics(code, raised).ink;
    if (!outlineInkKnown_[code]) {
        const GlyphOutline& g = face_->Outline(code);
        std::array<float, 4> box{0.0f, 0.0f, 0.0f, 0.0f};
        if (g.triangles.size() >= 2) {
            box = {g.triangles[0], g.triangles[1], g.triangles[0], g.triangles[1]};
            for (std::size_t i = 0; i + 1 < g.triangles.size(); i += 2) {
                box[0] = std::min(box[0], g.triangles[i]);
                box[1] = std::min(box[1], g.triangles[i + 1]);
                box[2] = std::max(box[2], g.triangles[i]);
                box[3] = std::max(box[3], g.triangles[i + 1]);
            }
        }
        outlineInk_[code] = box;
        outlineInkKnown_[code] = true;
    }
    const float scale = size_ * (raised ? kRaisedScale : 1.0f);
    const std::array<float, 4>& em = outlineInk_[code];
    return {em[0] * scale, em[1] * scale, em[2] * scale, em[3] * scale};
}

TextExtent GlyphFontList::Measure(std::string_view text)
{
    TextExtent e;
    float ascent = bitmap_ ? float(pixelExtent_[0][0]) : face_->ascent() * size_;
    float descent = bitmap_ ? float(pixelExtent_[0][1]) : face_->descent() * size_;
    float raisedTop = bitmap_ ? std::round(kRaisedLift * size_) + float(pixelExtent_[1][0])
                              : (kRaisedLift + kRaisedScale * face_->ascent()) * size_;
    e.ascent = ascent;
    e.descent = descent;
    // Raised glyphs are lifted as Draw lifts them.
    const float lift = bitmap_ ? std::round(kRaisedLift * size_) : kRaisedLift * size_;
    bool raised = false, inked = false;
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c == 1) {
            raised = true;
            e.ascent = std::max(e.ascent, raisedTop);
        } else if (c == 2) {
            raised = false;
        } else {
            std::array<float, 4> ink = Ink(c, raised);
            if (ink[2] > ink[0] && ink[3] > ink[1]) {
                float up = raised ? lift : 0.0f;
                float left = e.width + ink[0], right = e.width + ink[2];
                float bottom = ink[1] + up, top = ink[3] + up;
                if (!inked) {
                    e.inkLeft = left, e.inkRight = right, e.inkBottom = bottom, e.inkTop = top;
                    inked = true;
                } else {
                    e.inkLeft = std::min(e.inkLeft, left);
                    e.inkRight = std::max(e.inkRight, right);
                    e.inkBottom = std::min(e.inkBottom, bottom);
                    e.inkTop = std::max(e.inkTop, top);
                }
            }
            e.width += Advance(c, raised);
        }
    }
    return e;
}

void GlyphFontList::EmitOutline(const GlyphOutline& g)
{
    if (!g.triangles.empty()) {
        glBegin(GL_TRIANGLES);
        for (std::size_t i = 0; i + 1 < g.triangles.size(); i += 2)
            glVertex2f(g.triangles[i], g.triangles[i + 1]);
        glEnd();
    }
    // The outlines drawn as smooth lines soften the edges of small text.
    // Closed strips, not loops: the software renderer fails on loops in
    // display lists played in feedback mode.
    std::uint32_t begin = 0;
    for (std::uint32_t end : g.contourEnds) {
        glBegin(GL_LINE_STRIP);
        for (std::uint32_t i = begin; i < end; ++i)
            glVertex2f(g.contours[2 * i], g.contours[2 * i + 1]);
        glVertex2f(g.contours[2 * begin], g.contours[2 * begin + 1]);
        glEnd();
        begin = end;
    }
    glTranslatef(g.advance, 0.0f, 0.0f);
}

void GlyphFontList::EmitBitmap(const GlyphBitmap& b)
{
    glBitmap(b.width, b.height, b.xorig, b.yorig, b.advance, 0.0f, b.bits.empty() ? nullptr : b.bits.data());
}

void GlyphFontList::DrawGlyph(unsigned char code, bool raised, bool compiling)
{
    int set = bitmap_ && raised ? 1 : 0;
    auto emit = [&] {
        if (bitmap_)
            EmitBitmap(face_->Bitmap(code, set ? raisedPixels_ : int(std::lround(size_))));
        else
            EmitOutline(face_->Outline(code));
    };
    if (!recorded_[set][code] && !compiling) {
        if (base_[set] == 0)
            base_[set] = glGenLists(256);
        if (base_[set] != 0) {
            glNewList(base_[set] + code, GL_COMPILE);
            emit();
            glEndList();
            recorded_[set][code] = true;
        }
    }
    if (recorded_[set][code])
        glCallList(base_[set] + code);
    else
        emit();
}

void GlyphFontList::Draw(std::string_view text)
{
    GLint list = 0;
    glGetIntegerv(GL_LIST_INDEX, &list);
    bool compiling = list != 0;
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPushMatrix();
    if (!bitmap_)
        glScalef(size_, size_, 1.0f);
    const float lift = std::round(kRaisedLift * size_);
    bool raised = false;
    float raisedAdvance = 0.0f;
    auto beginRaised = [&] {
        raised = true;
        raisedAdvance = 0.0f;
        if (bitmap_) {
            glBitmap(0, 0, 0.0f, 0.0f, 0.0f, lift, nullptr);
        } else {
            glPushMatrix();
            glTranslatef(0.0f, kRaisedLift, 0.0f);
            glScalef(kRaisedScale, kRaisedScale, 1.0f);
        }
    };
    auto endRaised = [&] {
        raised = false;
        if (bitmap_) {
            glBitmap(0, 0, 0.0f, 0.0f, 0.0f, -lift, nullptr);
        } else {
            glPopMatrix();
            glTranslatef(raisedAdvance * kRaisedScale, 0.0f, 0.0f);
        }
    };
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c == 1) {
            if (!raised)
                beginRaised();
        } else if (c == 2) {
            if (raised)
                endRaised();
        } else {
            DrawGlyph(c, raised, compiling);
            if (raised && !bitmap_)
                raisedAdvance += face_->Outline(c).advance;
        }
    }
    if (raised)
        endRaised();
    glPopMatrix();
    glPopClientAttrib();
}

GlyphFontList* SceneFonts::Get(std::string_view family, float points, float dpi, bool bitmap)
{
    float pixels = std::clamp(points * dpi / 72.0f, 1.0f, 2048.0f);
    auto key = std::make_tuple(std::string(family), int(std::lround(pixels * 64.0f)), bitmap);
    auto it = lists_.find(key);
    if (it != lists_.end())
        return it->second.get();
    std::shared_ptr<FontFace> face = FontFace::Find(family);
    if (!face)
        return nullptr;
    auto list = std::make_unique<GlyphFontList>(std::move(face), pixels, bitmap);
    GlyphFontList* result = list.get();
    lists_.emplace(std::move(key), std::move(list));
    return result;
}

TextExtent MeasureSceneText(GlyphFontList* list, std::string_view text)
{
    if (!list)
        raiseError(err::GlyphFontListMissing);
    if (text.empty())
        raiseError(err::GlyphEmptyString);
    return list->Measure(text);
}

} // namespace halvex
