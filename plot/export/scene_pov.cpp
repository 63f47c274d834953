// The POV-Ray scene.
#include "plot/export/scene_writers.h"

#include "platform/text/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <unordered_map>

namespace halvex {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

// Colours quantised to bytes name the scene's textures: a mesh of a
// million triangles refers to a few hundred of them.
std::uint32_t colorKey(const Rgb& c)
{
    auto byte = [](float v) {
        float b = std::round((v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f) * 255.0f);
        return std::uint32_t(b);
    };
    return byte(c[0]) | byte(c[1]) << 8 | byte(c[2]) << 16;
}

using Point3 = std::array<double, 3>;

class PovWriter {
public:
    PovWriter(const SceneView& view, TextSink& sink) : v_(view), t_(sink) {}

    bool Run(const std::vector<SceneModel>& models);

private:
    void vec(double x, double y, double z)
    {
        t_ << "< ";
        t_.num(x + 0.0) << ", ";
        t_.num(y + 0.0) << ", ";
        t_.num(z + 0.0) << " >";
    }
    void vec(const Vertex& p) { vec(p[0], p[1], p[2]); }
    void vec(const Point3& p) { vec(p[0], p[1], p[2]); }
    void open(std::string_view head)
    {
        t_.indent() << head << " {\n";
        t_.open();
    }
    void close()
    {
        t_.close();
        t_.indent() << "}\n";
    }
    // The point in the scaled, centred frame that VIEW turns into the
    // camera's: what the renderer's scale and centring make of it.
    Point3 scaled(const Vertex& p) const
    {
        if (v_.flatPlot)
            return {double(p[0]) * v_.scale[0], (double(p[1]) - v_.centre[1]) * v_.scale[1],
                    double(p[2]) * v_.scale[2]};
        return {(double(p[0]) - v_.centre[0]) * v_.scale[0], (double(p[1]) - v_.centre[1]) * v_.scale[1],
                (double(p[2]) - v_.centre[2]) * v_.scale[2]};
    }
    // The point as the file gives it (six significant digits): ends of a
    // line that differ only past them make a cylinder POV-Ray refuses.
    static Point3 printed(const Point3& p)
    {
        Point3 r{};
        std::string text;
        for (int k = 0; k < 3; ++k) {
            text.clear();
            platform::appendPrintfG(text, p[k] + 0.0, 6);
            double v = 0.0;
            std::from_chars(text.data(), text.data() + text.size(), v);
            r[k] = v;
        }
        return r;
    }
    // The texture of a colour, declared the first time it is met.
    const std::string& texture(const Rgb& c, bool lit);
    void declareTransforms();
    void camera();
    void lights();
    bool faces(const SceneModel& m, const SceneShape& s);
    bool lines(const SceneModel& m, const SceneShape& s);
    bool points(const SceneModel& m, const SceneShape& s);
    Rgb colorOf(const SceneShape& s, std::size_t element, const std::uint32_t* corners, int count) const;

    const SceneView& v_;
    ChunkedText t_;
    std::unordered_map<std::uint64_t, std::string> textures_;
    std::string pending_; // declarations for the next object
};

const std::string& PovWriter::texture(const Rgb& c, bool lit)
{
    std::uint64_t key = colorKey(c) | (lit ? std::uint64_t(1) << 32 : 0);
    auto it = textures_.find(key);
    if (it != textures_.end())
        return it->second;
    std::string name = "T" + std::to_string(textures_.size());
    std::string decl = "#declare " + name + " = texture { pigment { color rgb < ";
    auto byteText = [](std::uint32_t b) {
        std::string s;
        double v = double(b) / 255.0;
        char buf[32];
        auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
        s.assign(buf, r.ptr);
        return s;
    };
    std::uint32_t k = colorKey(c);
    decl += byteText(k & 0xFF) + ", " + byteText(k >> 8 & 0xFF) + ", " + byteText(k >> 16 & 0xFF) + " > } ";
    // The renderer's lighting: a fifth of the colour everywhere and the
    // lights' diffuse part; unlit, the colour as it is.
    decl += lit ? "finish { ambient 0.2 diffuse 1 } }\n" : "finish { ambient 1 diffuse 0 } }\n";
    pending_ += decl;
    return textures_.emplace(key, std::move(name)).first->second;
}

bool PovWriter::Run(const std::vector<SceneModel>& models)
{
    t_ << "#version 3.0\n\n";
    t_ << "// Corvane 3-D Plot Export\n";
    t_ << "background { color rgb ";
    vec(v_.background[0], v_.background[1], v_.background[2]);
    t_ << " }\n\n";
    declareTransforms();
    camera();
    if (!t_.flush())
        return false;
    for (const SceneModel& m : models) {
        for (const SceneShape& s : m.shapes) {
            bool ok = s.kind == ShapeKind::Faces   ? faces(m, s)
                      : s.kind == ShapeKind::Lines ? lines(m, s)
                                                   : points(m, s);
            if (!ok)
                return false;
        }
    }
    lights();
    return t_.flush(true);
}

void PovWriter::declareTransforms()
{
    // DATA: the renderer's centring and axis stretch. VIEW: its rotations
    // and camera distance, then z reflected into POV-Ray's left-handed
    // space (the camera looks along +z there).
    t_ << "#declare DATA = transform {\n";
    t_.open();
    if (v_.flatPlot) {
        t_.indent() << "translate ";
        vec(0.0, -double(v_.centre[1]), 0.0);
    } else {
        t_.indent() << "translate ";
        vec(-double(v_.centre[0]), -double(v_.centre[1]), -double(v_.centre[2]));
    }
    t_ << '\n';
    t_.indent() << "scale ";
    vec(v_.scale[0], v_.scale[1], v_.scale[2]);
    t_ << '\n';
    t_.close();
    t_ << "}\n";
    t_ << "#declare VIEW = transform {\n";
    t_.open();
    if (v_.flatPlot) {
        t_.indent() << "rotate < 0, 90, 0 >\n";
        t_.indent() << "rotate < 90, 0, 0 >\n";
        t_.indent() << "translate ";
        vec(0.0, 0.0, -v_.zPosition);
    } else {
        if (v_.spinAngle != 0.0) {
            // The free rotation of a spin, about its own axis.
            double a = v_.spinAngle / kDegreesPerRadian;
            double x = v_.spinAxis[0], y = v_.spinAxis[1], z = v_.spinAxis[2];
            double len = std::sqrt(x * x + y * y + z * z);
            if (len > 0.0) {
                x /= len, y /= len, z /= len;
                double c = std::cos(a), s = std::sin(a), k = 1.0 - c;
                // Rows of POV-Ray's matrix map (x, y, z) as a row vector.
                double m[9] = {c + x * x * k,     x * y * k + z * s, x * z * k - y * s,
                               x * y * k - z * s, c + y * y * k,     y * z * k + x * s,
                               x * z * k + y * s, y * z * k - x * s, c + z * z * k};
                t_.indent() << "matrix < ";
                for (int i = 0; i < 9; ++i)
                    t_.num(m[i] + 0.0) << ", ";
                t_ << "0, 0, 0 >\n";
            }
        }
        t_.indent() << "rotate < 0, ";
        t_.num(v_.twist * kDegreesPerRadian) << ", 0 >\n";
        t_.indent() << "rotate < ";
        t_.num(v_.tilt * kDegreesPerRadian) << ", 0, 0 >\n";
        t_.indent() << "rotate < 0, ";
        t_.num(v_.rotation * kDegreesPerRadian) << ", 0 >\n";
        t_.indent() << "translate ";
        vec(v_.pan[0], v_.pan[1], -v_.zPosition);
    }
    t_ << '\n';
    t_.indent() << "scale < 1, 1, -1 >\n";
    t_.close();
    t_ << "}\n";
    t_ << "#declare MODELVIEW = transform {\n\ttransform DATA\n\ttransform VIEW\n}\n\n";
}

void PovWriter::camera()
{
    // The camera at the eye, looking along +z; up and right span the
    // renderer's view volume, so the picture is cut exactly as ours
    // (vertically by the field of view, across by the volume's aspect).
    const auto& f = v_.frustum;
    t_ << "camera {\n";
    t_.open();
    if (v_.perspective) {
        double up = (f[3] - f[2]) / v_.nearPlane, right = (f[1] - f[0]) / v_.nearPlane;
        t_.indent() << "perspective\n";
        t_.indent() << "location < 0, 0, 0 >\n";
        t_.indent() << "direction < 0, 0, 1 >\n";
        t_.indent() << "up ";
        vec(0.0, up, 0.0);
        t_ << '\n';
        t_.indent() << "right ";
        vec(right, 0.0, 0.0);
        t_ << '\n';
        // The horizontal angle these give (POV-Ray's angle is across).
        t_.indent() << "angle ";
        t_.num(2.0 * std::atan(right / 2.0) * kDegreesPerRadian) << '\n';
    } else {
        // A flat plot's volume is not centred on the eye: the camera
        // moves to its middle.
        t_.indent() << "orthographic\n";
        t_.indent() << "location ";
        vec(0.5 * (double(f[0]) + f[1]), 0.5 * (double(f[2]) + f[3]), 0.0);
        t_ << '\n';
        t_.indent() << "direction < 0, 0, 1 >\n";
        t_.indent() << "up ";
        vec(0.0, f[3] - f[2], 0.0);
        t_ << '\n';
        t_.indent() << "right ";
        vec(f[1] - f[0], 0.0, 0.0);
        t_ << '\n';
    }
    t_.close();
    t_ << "}\n\n";
}

void PovWriter::lights()
{
    // Lights are fixed to the camera, as the renderer places them.
    const Point3 centre{v_.pan[0], v_.pan[1], v_.zPosition};
    for (const SceneLight& l : v_.lights) {
        if (!l.enabled)
            continue;
        const auto& p = l.position;
        Point3 at;
        bool far = p[3] == 0.0f;
        if (far) {
            double x = p[0], y = p[1], z = -double(p[2]);
            double len = std::sqrt(x * x + y * y + z * z);
            if (len == 0.0)
                x = 0.0, y = 0.0, z = -1.0, len = 1.0;
            double s = 1000.0 * v_.radius / len;
            at = {centre[0] + x * s, centre[1] + y * s, centre[2] + z * s};
        } else {
            at = {p[0] / p[3], p[1] / p[3], v_.zPosition - p[2] / p[3]};
        }
        t_ << "light_source {\n";
        t_.open();
        if (far)
            t_.indent() << "// multiplying light position by 1000*model_radius to simulate an infinite light\n";
        t_.indent();
        vec(at);
        t_ << '\n';
        t_.indent() << "color rgb ";
        vec(l.diffuse[0], l.diffuse[1], l.diffuse[2]);
        t_ << '\n';
        t_.close();
        t_ << "}\n";
    }
}

Rgb PovWriter::colorOf(const SceneShape& s, std::size_t element, const std::uint32_t* corners, int count) const
{
    switch (s.binding) {
    case ColorBinding::Overall: return s.colors[0];
    case ColorBinding::PerFace: return s.colors[element];
    case ColorBinding::PerVertex: break;
    }
    // One colour per piece: the mean of its corners'.
    Rgb c{0.0f, 0.0f, 0.0f};
    for (int k = 0; k < count; ++k)
        for (int i = 0; i < 3; ++i)
            c[std::size_t(i)] += s.colors[corners[k]][std::size_t(i)] / float(count);
    return c;
}

bool PovWriter::faces(const SceneModel& m, const SceneShape& s)
{
    const bool lit = v_.lighting;
    const bool smooth = s.smooth && m.normals.size() == m.points.size();
    // Triangles of no area would stop POV-Ray; a mesh left with none is
    // not written at all.
    std::vector<std::size_t> kept;
    for (std::size_t k = 0; k + 2 < s.indices.size(); k += 3) {
        const Vertex& a = m.points[s.indices[k]];
        const Vertex& b = m.points[s.indices[k + 1]];
        const Vertex& c = m.points[s.indices[k + 2]];
        double ux = double(b[0]) - a[0], uy = double(b[1]) - a[1], uz = double(b[2]) - a[2];
        double wx = double(c[0]) - a[0], wy = double(c[1]) - a[1], wz = double(c[2]) - a[2];
        double nx = uy * wz - uz * wy, ny = uz * wx - ux * wz, nz = ux * wy - uy * wx;
        if (nx != 0.0 || ny != 0.0 || nz != 0.0)
            kept.push_back(k);
    }
    if (kept.empty())
        return true;
    const bool one = s.binding == ColorBinding::Overall;
    // Declare the textures first: a declaration may not stand inside a mesh.
    std::vector<const std::string*> names;
    if (!one) {
        names.reserve(kept.size());
        for (std::size_t k : kept)
            names.push_back(&texture(colorOf(s, k / 3, &s.indices[k], 3), lit));
    }
    const std::string& overall = texture(s.colors.empty() ? Rgb{1, 1, 1} : s.colors[0], lit);
    t_ << pending_;
    pending_.clear();
    t_ << "object {\n";
    t_.open();
    open("mesh");
    for (std::size_t n = 0; n < kept.size(); ++n) {
        const std::uint32_t* idx = &s.indices[kept[n]];
        t_.indent() << (smooth ? "smooth_triangle { " : "triangle { ");
        for (int c = 0; c < 3; ++c) {
            vec(m.points[idx[c]]);
            if (smooth) {
                t_ << ", ";
                vec(m.normals[idx[c]]);
            }
            t_ << (c < 2 ? ", " : "");
        }
        if (!one)
            t_ << " texture { " << *names[n] << " }";
        t_ << " }\n";
        if (!t_.flush())
            return false;
    }
    close();
    t_.indent() << "texture { " << overall << " }\n";
    t_.indent() << "transform MODELVIEW\n";
    t_.close();
    t_ << "}\n";
    return t_.flush();
}

bool PovWriter::lines(const SceneModel& m, const SceneShape& s)
{
    // Lines as thin cylinders of the picture's line width, drawn in the
    // scaled frame so that they stay round.
    const double radius = 0.5 * std::max(1.0f, s.width) * v_.PixelSize();
    std::vector<std::array<std::uint32_t, 2>> pieces;
    for (std::size_t k = 0; k + 1 < s.indices.size(); ++k) {
        std::uint32_t a = s.indices[k], b = s.indices[k + 1];
        if (a == kPolylineEnd || b == kPolylineEnd)
            continue;
        const Point3 p = printed(scaled(m.points[a])), q = printed(scaled(m.points[b]));
        const double dx = p[0] - q[0], dy = p[1] - q[1], dz = p[2] - q[2];
        if (dx * dx + dy * dy + dz * dz > 1e-14)
            pieces.push_back({a, b});
    }
    if (pieces.empty())
        return true;
    const bool one = s.binding == ColorBinding::Overall;
    std::vector<const std::string*> names;
    if (!one)
        for (const auto& piece : pieces)
            names.push_back(&texture(colorOf(s, 0, piece.data(), 2), false));
    const std::string& overall = texture(s.colors[0], false);
    t_ << pending_;
    pending_.clear();
    t_ << "union {\n";
    t_.open();
    for (std::size_t n = 0; n < pieces.size(); ++n) {
        t_.indent() << "cylinder { ";
        vec(scaled(m.points[pieces[n][0]]));
        t_ << ", ";
        vec(scaled(m.points[pieces[n][1]]));
        t_ << ", ";
        t_.num(radius);
        if (!one)
            t_ << " texture { " << *names[n] << " }";
        t_ << " }\n";
        if (!t_.flush())
            return false;
    }
    t_.indent() << "texture { " << overall << " }\n";
    t_.indent() << "transform VIEW\n";
    t_.close();
    t_ << "}\n";
    return t_.flush();
}

bool PovWriter::points(const SceneModel& m, const SceneShape& s)
{
    if (s.indices.empty())
        return true;
    const double radius = 0.5 * std::max(1.0f, s.width) * v_.PixelSize();
    const bool one = s.binding == ColorBinding::Overall;
    std::vector<const std::string*> names;
    if (!one)
        for (std::uint32_t k : s.indices)
            names.push_back(&texture(s.colors[k], false));
    const std::string& overall = texture(s.colors[0], false);
    t_ << pending_;
    pending_.clear();
    t_ << "union {\n";
    t_.open();
    for (std::size_t n = 0; n < s.indices.size(); ++n) {
        t_.indent() << "sphere { ";
        vec(scaled(m.points[s.indices[n]]));
        t_ << ", ";
        t_.num(radius);
        if (!one)
            t_ << " texture { " << *names[n] << " }";
        t_ << " }\n";
        if (!t_.flush())
            return false;
    }
    t_.indent() << "texture { " << overall << " }\n";
    t_.indent() << "transform VIEW\n";
    t_.close();
    t_ << "}\n";
    return t_.flush();
}

} // namespace

bool WritePov(const SceneView& view, const std::vector<SceneModel>& models, TextSink& sink)
{
    PovWriter w(view, sink);
    return w.Run(models);
}

} // namespace halvex
