#include "plot/base/font_face.h"

#include "platform/text/ascii_case.h"
#include "platform/text/cp1251.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <fontconfig/fontconfig.h>

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>

namespace halvex {

namespace {

std::mutex libraryMutex;
FT_Library library = nullptr;

FT_Library freetype()
{
    if (!library && FT_Init_FreeType(&library) != 0)
        library = nullptr;
    return library;
}

struct FontFile {
    std::string path;
    int index = 0;
    std::string family;
};

// fontconfig's best match for the family, or false when it has none.
bool matchFont(const std::string& family, FontFile& out)
{
    if (!FcInit())
        return false;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return false;
    FcChar8* file = nullptr;
    FcChar8* name = nullptr;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
    if (ok) {
        out.path = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &out.index) != FcResultMatch)
            out.index = 0;
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name)
            out.family = reinterpret_cast<const char*>(name);
    }
    FcPatternDestroy(match);
    return ok;
}

// Outlines flattened into contours of em units.
struct OutlineWalk {
    float scale;
    std::vector<float>* points;
    std::vector<std::uint32_t>* ends;
    FT_Vector last{0, 0};

    void point(double x, double y)
    {
        float px = float(x * scale), py = float(y * scale);
        std::size_t n = points->size();
        std::size_t begin = ends->empty() ? 0 : std::size_t(ends->back()) * 2;
        if (n >= begin + 2 && (*points)[n - 2] == px && (*points)[n - 1] == py)
            return;
        points->push_back(px);
        points->push_back(py);
    }
    void close()
    {
        std::size_t n = points->size() / 2;
        std::size_t begin = ends->empty() ? 0 : ends->back();
        // A closing point equal to the first is dropped; the contour closes
        // by itself.
        if (n >= begin + 2 && (*points)[2 * begin] == (*points)[2 * n - 2] &&
            (*points)[2 * begin + 1] == (*points)[2 * n - 1]) {
            points->resize(points->size() - 2);
            --n;
        }
        if (n < begin + 3)
            points->resize(2 * begin); // no area
        else
            ends->push_back(std::uint32_t(n));
    }
    // Segments for a curve: finer for longer control polygons.
    int segments(double length) const { return std::clamp(int(std::ceil(length * scale * 24.0)), 2, 16); }

    static int moveTo(const FT_Vector* to, void* user)
    {
        auto* w = static_cast<OutlineWalk*>(user);
        if (!w->points->empty() || !w->ends->empty()) {
            std::size_t begin = w->ends->empty() ? 0 : std::size_t(w->ends->back()) * 2;
            if (w->points->size() > begin)
                w->close();
        }
        w->point(double(to->x), double(to->y));
        w->last = *to;
        return 0;
    }
    static int lineTo(const FT_Vector* to, void* user)
    {
        auto* w = static_cast<OutlineWalk*>(user);
        w->point(double(to->x), double(to->y));
        w->last = *to;
        return 0;
    }
    static int conicTo(const FT_Vector* c, const FT_Vector* to, void* user)
    {
        auto* w = static_cast<OutlineWalk*>(user);
        double x0 = double(w->last.x), y0 = double(w->last.y);
        double len = std::hypot(c->x - x0, c->y - y0) + std::hypot(double(to->x - c->x), double(to->y - c->y));
        int n = w->segments(len);
        for (int i = 1; i <= n; ++i) {
            double t = double(i) / n, u = 1.0 - t;
            w->point(u * u * x0 + 2 * u * t * c->x + t * t * to->x, u * u * y0 + 2 * u * t * c->y + t * t * to->y);
        }
        w->last = *to;
        return 0;
    }
    static int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user)
    {
        auto* w = static_cast<OutlineWalk*>(user);
        double x0 = double(w->last.x), y0 = double(w->last.y);
        double len = std::hypot(c1->x - x0, c1->y - y0) + std::hypot(double(c2->x - c1->x), double(c2->y - c1->y)) +
                     std::hypot(double(to->x - c2->x), double(to->y - c2->y));
        int n = w->segments(len);
        for (int i = 1; i <= n; ++i) {
            double t = double(i) / n, u = 1.0 - t;
            double a = u * u * u, b = 3 * u * u * t, cc = 3 * u * t * t, d = t * t * t;
            w->point(a * x0 + b * c1->x + cc * c2->x + d * to->x, a * y0 + b * c1->y + cc * c2->y + d * to->y);
        }
        w->last = *to;
        return 0;
    }
};

// The GLU tessellator turning contours into triangles; it needs no GL
// context.
struct Tessellation {
    std::vector<float>* triangles;
    std::deque<std::array<double, 3>> made; // vertices the tessellator combined

    static void begin(GLenum, void*) {}
    static void end(void*) {}
    static void edgeFlag(GLboolean, void*) {} // asks for separate triangles only
    static void vertex(void* v, void* user)
    {
        auto* t = static_cast<Tessellation*>(user);
        const double* p = static_cast<const double*>(v);
        t->triangles->push_back(float(p[0]));
        t->triangles->push_back(float(p[1]));
    }
    static void combine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* user)
    {
        auto* t = static_cast<Tessellation*>(user);
        t->made.push_back({coords[0], coords[1], coords[2]});
        *out = t->made.back().data();
    }
    static void error(GLenum, void*) {}
};

using TessCallback = void(GLAPIENTRY*)();

void tessellate(GlyphOutline& g, bool evenOdd)
{
    if (g.contourEnds.empty())
        return;
    GLUtesselator* tess = gluNewTess();
    if (!tess)
        return;
    Tessellation t{&g.triangles, {}};
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<TessCallback>(&Tessellation::begin));
    gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<TessCallback>(&Tessellation::end));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<TessCallback>(&Tessellation::edgeFlag));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<TessCallback>(&Tessellation::vertex));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<TessCallback>(&Tessellation::combine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<TessCallback>(&Tessellation::error));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, evenOdd ? GLU_TESS_WINDING_ODD : GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0.0, 0.0, 1.0);
    std::vector<std::array<double, 3>> input(g.contours.size() / 2);
    for (std::size_t i = 0; i < input.size(); ++i)
        input[i] = {double(g.contours[2 * i]), double(g.contours[2 * i + 1]), 0.0};
    gluTessBeginPolygon(tess, &t);
    std::uint32_t begin = 0;
    for (std::uint32_t end : g.contourEnds) {
        gluTessBeginContour(tess);
        for (std::uint32_t i = begin; i < end; ++i)
            gluTessVertex(tess, input[i].data(), input[i].data());
        gluTessEndContour(tess);
        begin = end;
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    // A failed tessellation may leave a partial triangle behind.
    g.triangles.resize(g.triangles.size() / 6 * 6);
}

} // namespace

struct FontFace::Impl {
    FT_Face face = nullptr;
    ~Impl()
    {
        if (face) {
            std::lock_guard lock(libraryMutex);
            FT_Done_Face(face);
        }
    }
    FT_UInt index(unsigned char code) const
    {
        return FT_Get_Char_Index(face, FT_ULong(platform::cp1251ToUnicode(code)));
    }
};

FontFace::FontFace(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

FontFace::~FontFace() = default;

std::string FontFace::SubstituteFamily(std::string_view family)
{
    static const std::pair<std::string_view, std::string_view> table[] = {
        {"Times New Roman", "Liberation Serif"},
        {"Arial", "Liberation Sans"},
        {"Courier New", "Liberation Mono"},
    };
    for (const auto& [windows, here] : table)
        if (platform::equalsIgnoreCaseAscii(family, windows))
            return std::string(here);
    return std::string(family);
}

std::shared_ptr<FontFace> FontFace::Find(std::string_view family)
{
    static std::mutex cacheMutex;
    static std::map<std::string, std::weak_ptr<FontFace>> cache;
    std::string wanted = SubstituteFamily(family.empty() ? std::string_view("sans-serif") : family);
    std::lock_guard cacheLock(cacheMutex);
    std::string key = platform::lowerAscii(wanted);
    if (auto it = cache.find(key); it != cache.end())
        if (auto found = it->second.lock())
            return found;

    FontFile file;
    if (!matchFont(wanted, file) && !matchFont("sans-serif", file))
        return nullptr;
    auto impl = std::make_unique<Impl>();
    {
        std::lock_guard lock(libraryMutex);
        FT_Library lib = freetype();
        if (!lib || FT_New_Face(lib, file.path.c_str(), file.index, &impl->face) != 0) {
            impl->face = nullptr;
            return nullptr;
        }
    }
    FT_Select_Charmap(impl->face, FT_ENCODING_UNICODE);
    std::shared_ptr<FontFace> face(new FontFace(std::move(impl)));
    FT_Face f = face->impl_->face;
    face->family_ = file.family.empty() ? wanted : file.family;
    face->scalable_ = FT_IS_SCALABLE(f) && f->units_per_EM > 0;
    if (face->scalable_) {
        float em = float(f->units_per_EM);
        face->ascent_ = float(f->ascender) / em;
        face->descent_ = -float(f->descender) / em;
    }
    cache[key] = face;
    return face;
}

const GlyphOutline& FontFace::Outline(unsigned char code)
{
    std::lock_guard lock(mutex_);
    auto& slot = outlines_[code];
    if (slot)
        return *slot;
    slot = std::make_unique<GlyphOutline>();
    GlyphOutline& g = *slot;
    FT_Face f = impl_->face;
    if (code < 0x20 || !scalable_)
        return g;
    if (FT_Load_Glyph(f, impl_->index(code), FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
        return g;
    float scale = 1.0f / float(f->units_per_EM);
    g.advance = float(f->glyph->advance.x) * scale;
    if (f->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return g;
    OutlineWalk walk{scale, &g.contours, &g.contourEnds};
    FT_Outline_Funcs funcs{};
    funcs.move_to = &OutlineWalk::moveTo;
    funcs.line_to = &OutlineWalk::lineTo;
    funcs.conic_to = &OutlineWalk::conicTo;
    funcs.cubic_to = &OutlineWalk::cubicTo;
    if (FT_Outline_Decompose(&f->glyph->outline, &funcs, &walk) != 0) {
        g.contours.clear();
        g.contourEnds.clear();
        return g;
    }
    std::size_t begin = g.contourEnds.empty() ? 0 : std::size_t(g.contourEnds.back()) * 2;
    if (g.contours.size() > begin)
        walk.close();
    tessellate(g, (f->glyph->outline.flags & FT_OUTLINE_EVEN_ODD_FILL) != 0);
    return g;
}

GlyphBitmap FontFace::Bitmap(unsigned char code, int pixelSize)
{
    std::lock_guard lock(mutex_);
    GlyphBitmap b;
    FT_Face f = impl_->face;
    if (code < 0x20 || pixelSize < 1)
        return b;
    if (FT_Set_Pixel_Sizes(f, 0, FT_UInt(std::min(pixelSize, 2048))) != 0 && f->num_fixed_sizes > 0)
        FT_Select_Size(f, 0);
    if (FT_Load_Glyph(f, impl_->index(code), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0)
        return b;
    const FT_GlyphSlot slot = f->glyph;
    b.advance = float(slot->advance.x) / 64.0f;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_MONO || bm.width == 0 || bm.rows == 0)
        return b;
    b.width = int(bm.width);
    b.height = int(bm.rows);
    b.xorig = float(-slot->bitmap_left);
    b.yorig = float(b.height - slot->bitmap_top);
    std::size_t rowBytes = (std::size_t(b.width) + 7) / 8;
    b.bits.resize(rowBytes * std::size_t(b.height));
    for (int r = 0; r < b.height; ++r) {
        const unsigned char* src = bm.buffer + std::ptrdiff_t(r) * bm.pitch;
        if (bm.pitch < 0)
            src = bm.buffer + std::ptrdiff_t(b.height - 1 - r) * -bm.pitch;
        std::copy(src, src + rowBytes, b.bits.begin() + std::ptrdiff_t(std::size_t(b.height - 1 - r) * rowBytes));
    }
    return b;
}

std::array<int, 2> FontFace::PixelExtent(int pixelSize)
{
    std::lock_guard lock(mutex_);
    FT_Face f = impl_->face;
    if (pixelSize < 1)
        return {0, 0};
    if (FT_Set_Pixel_Sizes(f, 0, FT_UInt(std::min(pixelSize, 2048))) != 0 && f->num_fixed_sizes > 0)
        FT_Select_Size(f, 0);
    return {int(f->size->metrics.ascender / 64), int(-f->size->metrics.descender / 64)};
}

} // namespace halvex
