#include "plot/export/eps_writer.h"

#include "platform/text/number_text.h"
#include "plot/base/feedback_marks.h"

#include <algorithm>
#include <cmath>

namespace halvex::eps {

namespace {

// The feedback tokens of the renderer.
enum Token : int {
    kPassThrough = 0x0700,
    kPoint = 0x0701,
    kLine = 0x0702,
    kPolygon = 0x0703,
    kBitmap = 0x0704,
    kDrawPixel = 0x0705,
    kCopyPixel = 0x0706,
    kLineReset = 0x0707,
};

constexpr std::size_t kFlushAt = 1 << 18;

// A stream value that stands for a whole number (token or count): finite
// and within range, read by truncation.
bool wholeValue(float v, std::int64_t& out)
{
    if (!(v >= -2147483648.0f && v < 2147483648.0f))
        return false;
    out = std::int64_t(v);
    return true;
}

// Twice the signed area of the polygon in window coordinates.
double doubleArea(const float* v, std::uint32_t n)
{
    double a = 0.0;
    for (std::uint32_t k = 0; k < n; ++k) {
        const float* p = v + std::size_t(k) * kVertexValues;
        const float* q = v + std::size_t((k + 1) % n) * kVertexValues;
        a += double(p[0]) * q[1] - double(q[0]) * p[1];
    }
    return a;
}

float farthestDepth(const float* v, std::uint32_t n)
{
    float z = v[2];
    for (std::uint32_t k = 1; k < n; ++k)
        z = std::max(z, v[std::size_t(k) * kVertexValues + 2]);
    return z;
}

float meanDepth(const float* v, std::uint32_t n)
{
    double z = 0.0;
    for (std::uint32_t k = 0; k < n; ++k)
        z += v[std::size_t(k) * kVertexValues + 2];
    return float(z / n);
}

const char* const kProlog[] = {
    "/bd { bind def } bind def",
    "% [x0 x1 x2 y0 y1 y2] [r g b] triangle: the triangle filled in the colour",
    "/triangle {",
    "  aload pop setrgbcolor",
    "  dup 0 get 1 index 3 get moveto",
    "  dup 1 get 1 index 4 get lineto",
    "  dup 2 get exch 5 get lineto",
    "  closepath fill",
    "} bd",
    "% a b c computediff1: true when two of the numbers differ by threshold or more",
    "/computediff1 {",
    "  2 index 2 index sub abs threshold ge",
    "  2 index 2 index sub abs threshold ge or",
    "  3 index 2 index sub abs threshold ge or",
    "  4 1 roll pop pop pop",
    "} bd",
    "% c0 c1 c2 i component3: c0 c1 c2 and the i-th component of each",
    "/component3 {",
    "  3 index 1 index get",
    "  3 index 2 index get",
    "  3 index 3 index get",
    "  4 -1 roll pop",
    "} bd",
    "% c0 c1 c2 computediff3: true when the colours differ in some component",
    "/computediff3 {",
    "  0 component3 computediff1 4 1 roll",
    "  1 component3 computediff1 4 1 roll",
    "  2 component3 computediff1 4 1 roll",
    "  pop pop pop or or",
    "} bd",
    "% c0 c1 middlecolor: the mean of the two colours",
    "/middlecolor {",
    "  aload pop 4 -1 roll aload pop",
    "  4 -1 roll add 2 div 5 1 roll",
    "  3 -1 roll add 2 div 3 1 roll",
    "  add 2 div 3 1 roll exch",
    "  3 array astore",
    "} bd",
    "% [x0 x1 x2 y0 y1 y2] c0 c1 c2 gouraudsplit: the triangle shaded from its",
    "% corner colours, split at its edges' midpoints while the colours differ",
    "/gouraudsplit {",
    "  3 copy computediff3 {",
    "    16 dict begin",
    "    /c2 exch def /c1 exch def /c0 exch def /p exch def",
    "    /m01 c0 c1 middlecolor def",
    "    /m12 c1 c2 middlecolor def",
    "    /m20 c2 c0 middlecolor def",
    "    /x01 p 0 get p 1 get add 2 div def /y01 p 3 get p 4 get add 2 div def",
    "    /x12 p 1 get p 2 get add 2 div def /y12 p 4 get p 5 get add 2 div def",
    "    /x20 p 2 get p 0 get add 2 div def /y20 p 5 get p 3 get add 2 div def",
    "    [p 0 get x01 x20 p 3 get y01 y20] c0 m01 m20 gouraudsplit",
    "    [x01 p 1 get x12 y01 p 4 get y12] m01 c1 m12 gouraudsplit",
    "    [x20 x12 p 2 get y20 y12 p 5 get] m20 m12 c2 gouraudsplit",
    "    [x01 x12 x20 y01 y12 y20] m01 m12 m20 gouraudsplit",
    "    end",
    "  } {",
    "    8 dict begin",
    "    /c2 exch def /c1 exch def /c0 exch def",
    "    [ 0 1 2 { dup c0 exch get exch dup c1 exch get exch c2 exch get add add 3 div } for ]",
    "    triangle",
    "    end",
    "  } ifelse",
    "} bd",
    "% [x0 x1 x2 y0 y1 y2] c0 c1 c2 gouraudtriangle: the smooth triangle, by the",
    "% interpreter's own Gouraud shading where it has one (LanguageLevel 3),",
    "% else by splitting",
    "/gouraudtriangle {",
    "  /shfill where {",
    "    pop",
    "    8 dict begin",
    "    /c2 exch def /c1 exch def /c0 exch def /p exch def",
    "    << /ShadingType 4 /ColorSpace /DeviceRGB /DataSource [",
    "      0 p 0 get p 3 get c0 aload pop",
    "      0 p 1 get p 4 get c1 aload pop",
    "      0 p 2 get p 5 get c2 aload pop",
    "    ] >> shfill",
    "    end",
    "  } {",
    "    gouraudsplit",
    "  } ifelse",
    "} bd",
};

class Writer {
public:
    Writer(std::span<const float> stream, const Page& page, TextSink& sink)
        : s_(stream), page_(page), sink_(sink)
    {
        out_.reserve(kFlushAt + 4096);
    }

    bool Run(const std::vector<Primitive>& primitives);

private:
    void num(double v) { platform::appendPrintfG(out_, v, 6); }
    void nums(std::initializer_list<double> values)
    {
        bool first = true;
        for (double v : values) {
            if (!first)
                out_ += ' ';
            first = false;
            num(v);
        }
    }
    void text(std::string_view t) { out_ += t; }
    bool flush(bool always = false)
    {
        if (!always && out_.size() < kFlushAt)
            return ok_;
        if (ok_ && !out_.empty())
            ok_ = sink_.Write(out_);
        out_.clear();
        return ok_;
    }
    void rgb(const float* c)
    {
        nums({c[0], c[1], c[2]});
        text(" setrgbcolor\n");
    }
    const float* vertex(const Primitive& p, std::uint32_t k) const
    {
        return s_.data() + p.offset + std::size_t(k) * kVertexValues;
    }
    void point(const Primitive& p);
    void line(const Primitive& p);
    void polygon(const Primitive& p);

    std::span<const float> s_;
    const Page& page_;
    TextSink& sink_;
    std::string out_;
    bool ok_ = true;
};

bool Writer::Run(const std::vector<Primitive>& primitives)
{
    const auto& vp = page_.viewport;
    text("%!PS-Adobe-2.0 EPSF-2.0\n");
    text("%%Creator: ");
    text(page_.creator);
    text(" (using OpenGL feedback)\n");
    // Whole points, lower left then upper right.
    text("%%BoundingBox: ");
    out_ += std::to_string(vp[0]) + ' ' + std::to_string(vp[1]) + ' ' + std::to_string(std::int64_t(vp[0]) + vp[2]) +
            ' ' + std::to_string(std::int64_t(vp[1]) + vp[3]);
    text("\n%%EndComments\n\ngsave\n\n");
    text("% Smooth-shaded triangles are split into four at their edges' midpoints\n");
    text("% until the colours of each piece agree within the threshold below.\n");
    text("/threshold ");
    num(0.005);
    text(" def\n");
    for (const char* line : kProlog) {
        text(line);
        text("\n");
    }
    text("\n");
    num(page_.lineWidth);
    text(" setlinewidth\n");
    rgb(page_.clearColor.data());
    nums({double(vp[0]), double(vp[1]), double(vp[2]), double(vp[3])});
    text(" rectfill\n\n");
    for (const Primitive& p : primitives) {
        switch (p.kind) {
        case PrimitiveKind::Point: point(p); break;
        case PrimitiveKind::Line: line(p); break;
        case PrimitiveKind::Polygon: polygon(p); break;
        }
        if (!flush())
            return false;
    }
    if (!page_.overlay.empty()) {
        text(page_.overlay);
        if (page_.overlay.back() != '\n')
            text("\n");
    }
    text("grestore\n\n");
    text("%Add `showpage' to the end of this file to be able to print to a printer.\n");
    return flush(true);
}

void Writer::point(const Primitive& p)
{
    const float* v = vertex(p, 0);
    rgb(v + 3);
    nums({v[0], v[1], double(page_.pointSize) * 0.5});
    text(" 0 360 arc fill\n\n");
}

void Writer::line(const Primitive& p)
{
    const float* a = vertex(p, 0);
    const float* b = vertex(p, 1);
    double dr = double(b[3]) - a[3], dg = double(b[4]) - a[4], db = double(b[5]) - a[5];
    rgb(a + 3);
    nums({a[0], a[1]});
    text(" moveto\n");
    if (dr != 0.0 || dg != 0.0 || db != 0.0) {
        // A colour that changes along the line: short pieces, each in the
        // colour of its middle.
        double dx = double(b[0]) - a[0], dy = double(b[1]) - a[1];
        double length = std::sqrt(dx * dx + dy * dy);
        double biggest = std::max({std::fabs(dr), std::fabs(dg), std::fabs(db)});
        auto steps = std::int64_t(std::max(1.0, biggest * 0.06 * length));
        double sx = dx / double(steps), sy = dy / double(steps);
        double sr = dr / double(steps), sg = dg / double(steps), sb = db / double(steps);
        double x = a[0] - sx / 2, y = a[1] - sy / 2;
        double r = a[3] - sr / 2, g = a[4] - sg / 2, bl = a[5] - sb / 2;
        for (std::int64_t k = 0; k < steps; ++k) {
            x += sx, y += sy, r += sr, g += sg, bl += sb;
            nums({x, y});
            text(" lineto stroke\n");
            nums({r, g, bl});
            text(" setrgbcolor\n");
            nums({x, y});
            text(" moveto\n");
        }
    }
    nums({b[0], b[1]});
    text(" lineto stroke\n");
}

void Writer::polygon(const Primitive& p)
{
    const float* v0 = vertex(p, 0);
    const float* color0 = p.hiddenFill ? page_.clearColor.data() : v0 + 3;
    bool flat = true;
    for (std::uint32_t k = 1; k < p.count && flat && !p.hiddenFill; ++k) {
        const float* c = vertex(p, k) + 3;
        flat = c[0] == v0[3] && c[1] == v0[4] && c[2] == v0[5];
    }
    if (flat) {
        text("newpath\n");
        rgb(color0);
        nums({v0[0], v0[1]});
        text(" moveto\n");
        for (std::uint32_t k = 1; k < p.count; ++k) {
            const float* v = vertex(p, k);
            nums({v[0], v[1]});
            text(" lineto\n");
        }
        text("closepath fill\n\n");
        return;
    }
    for (std::uint32_t i = 0; i + 2 < p.count; ++i) {
        const float* a = vertex(p, i + 1);
        const float* b = vertex(p, i + 2);
        text("[");
        nums({v0[0], a[0], b[0], v0[1], a[1], b[1]});
        text("] [");
        nums({v0[3], v0[4], v0[5]});
        text("] [");
        nums({a[3], a[4], a[5]});
        text("] [");
        nums({b[3], b[4], b[5]});
        text("] gouraudtriangle\n");
    }
}

} // namespace

bool ParseFeedback(std::span<const float> stream, std::vector<Primitive>& out, std::string& error)
{
    out.clear();
    const std::size_t n = stream.size();
    if (n > 0xFFFFFFFFu) {
        error = "the feedback stream is too long";
        return false;
    }
    bool hidden = false;
    std::size_t k = 0;
    auto fail = [&](const char* what) {
        error = std::string(what) + " at value " + std::to_string(k) + " of " + std::to_string(n);
        return false;
    };
    // Room for `values` more values after position `at`.
    auto room = [&](std::size_t at, std::uint64_t values) { return at <= n && values <= n - at; };
    while (k < n) {
        std::int64_t token = 0;
        if (!wholeValue(stream[k], token))
            return fail("a feedback token that is not a number");
        switch (token) {
        case kPassThrough: {
            if (!room(k + 1, 1))
                return fail("a pass-through token cut short");
            float mark = stream[k + 1];
            if (mark == feedback_mark::kHiddenFillBegin)
                hidden = true;
            else if (mark == feedback_mark::kHiddenFillEnd)
                hidden = false;
            k += 2;
            break;
        }
        case kPoint:
            if (!room(k + 1, kVertexValues))
                return fail("a point cut short");
            out.push_back({std::uint32_t(k + 1), 1, PrimitiveKind::Point, false, stream[k + 3]});
            k += 1 + kVertexValues;
            break;
        case kLine:
        case kLineReset: {
            if (!room(k + 1, 2 * kVertexValues))
                return fail("a line cut short");
            const float* v = stream.data() + k + 1;
            if (v[0] != v[kVertexValues] || v[1] != v[kVertexValues + 1])
                out.push_back({std::uint32_t(k + 1), 2, PrimitiveKind::Line, false, meanDepth(v, 2)});
            k += 1 + 2 * kVertexValues;
            break;
        }
        case kPolygon: {
            std::int64_t count = 0;
            if (!room(k + 1, 1) || !wholeValue(stream[k + 1], count) || count < 0)
                return fail("a polygon without a vertex count");
            if (!room(k + 2, std::uint64_t(count) * kVertexValues))
                return fail("a polygon whose vertices run past the end of the stream");
            const float* v = stream.data() + k + 2;
            auto c = std::uint32_t(count);
            if (c >= 3 && doubleArea(v, c) != 0.0)
                out.push_back({std::uint32_t(k + 2), c, PrimitiveKind::Polygon, hidden, farthestDepth(v, c)});
            k += 2 + std::size_t(count) * kVertexValues;
            break;
        }
        case kBitmap:
        case kDrawPixel:
        case kCopyPixel:
            if (!room(k + 1, kVertexValues))
                return fail("a raster token cut short");
            k += 1 + kVertexValues;
            break;
        default: return fail("an unknown feedback token");
        }
    }
    return true;
}

void SortByDepth(std::vector<Primitive>& primitives)
{
    std::stable_sort(primitives.begin(), primitives.end(),
                     [](const Primitive& a, const Primitive& b) { return a.depth > b.depth; });
}

bool WriteEps(std::span<const float> stream, const std::vector<Primitive>& primitives, const Page& page,
              TextSink& sink)
{
    Writer w(stream, page, sink);
    return w.Run(primitives);
}

std::span<const char* const> PrologLines()
{
    return kProlog;
}

} // namespace halvex::eps
