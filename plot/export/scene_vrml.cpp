// The VRML 1.0 world.
#include "plot/export/scene_writers.h"

#include <cmath>

namespace halvex {

namespace {

constexpr double kHalfPi = 1.5707963267948966;

class VrmlWriter {
public:
    VrmlWriter(const SceneView& view, TextSink& sink) : v_(view), t_(sink) {}

    bool Run(const std::vector<SceneModel>& models);

private:
    // "name {" on its own line, and the closing brace.
    void open(std::string_view name)
    {
        t_.indent() << name << " {\n";
        t_.open();
    }
    void close()
    {
        t_.close();
        t_.indent() << "}\n";
    }
    void line(std::string_view text) { t_.indent() << text << '\n'; }
    void triple(double a, double b, double c)
    {
        t_.num(a) << ' ';
        t_.num(b) << ' ';
        t_.num(c);
    }
    void rotation(double x, double y, double z, double angle)
    {
        open("Rotation");
        t_.indent() << "rotation ";
        triple(x, y, z);
        t_ << ' ';
        t_.num(angle) << '\n';
        close();
    }
    void light(const SceneLight& l);
    void camera();
    void transform();
    bool model(const SceneModel& m);
    void material(const SceneShape& s, bool lines);

    const SceneView& v_;
    ChunkedText t_;
};

bool VrmlWriter::Run(const std::vector<SceneModel>& models)
{
    t_ << "#VRML V1.0 ascii\n";
    t_ << "# Corvane 3-D Plot Export\n";
    t_ << "# The plot's camera, lights and models; points are in its display coordinates (y is the height)\n";
    open("Separator");
    t_.indent() << "ShapeHints{\n";
    t_.open();
    line("vertexOrdering UNKNOWN_ORDERING");
    line("faceType CONVEX");
    line("creaseAngle 0.5");
    close();
    for (const SceneLight& l : v_.lights)
        light(l);
    camera();
    transform();
    if (!t_.flush())
        return false;
    for (const SceneModel& m : models)
        if (!model(m))
            return false;
    close();
    return t_.flush(true);
}

void VrmlWriter::light(const SceneLight& l)
{
    const auto& p = l.position;
    if (p[3] != 0.0f) {
        // A light at a point, fixed to the camera as the renderer fixes it:
        // the camera sits at (−pan x, −pan y, z position).
        open("PointLight");
        t_.indent() << "on\t" << (l.enabled ? "TRUE" : "FALSE") << '\n';
        line("intensity\t1");
        t_.indent() << "color\t";
        triple(l.diffuse[0], l.diffuse[1], l.diffuse[2]);
        t_ << '\n';
        t_.indent() << "location\t";
        triple(p[0] / p[3] - v_.pan[0], p[1] / p[3] - v_.pan[1], p[2] / p[3]);
        t_ << '\n';
        close();
        return;
    }
    open("DirectionalLight");
    t_.indent() << "on\t" << (l.enabled ? "TRUE" : "FALSE") << '\n';
    line("intensity\t1");
    t_.indent() << "color\t";
    triple(l.diffuse[0], l.diffuse[1], l.diffuse[2]);
    t_ << '\n';
    // The light shines from its position towards the origin; one at the
    // origin shines into the picture.
    double dx = -p[0], dy = -p[1], dz = -p[2];
    if (dx == 0.0 && dy == 0.0 && dz == 0.0)
        dz = -1.0;
    t_.indent() << "direction\t";
    triple(dx + 0.0, dy + 0.0, dz + 0.0);
    t_ << '\n';
    close();
}

void VrmlWriter::camera()
{
    const auto& f = v_.frustum;
    const double px = v_.flatPlot ? 0.0 : -double(v_.pan[0]);
    const double py = v_.flatPlot ? 0.0 : -double(v_.pan[1]);
    if (v_.perspective) {
        open("PerspectiveCamera");
        t_.indent() << "position\t";
        triple(px + 0.0, py + 0.0, v_.zPosition);
        t_ << '\n';
        t_.indent() << "focalDistance\t";
        t_.num(v_.zPosition) << '\n';
        t_.indent() << "heightAngle\t";
        t_.num(2.0 * std::atan((f[3] - f[2]) / (2.0 * v_.nearPlane))) << '\n';
        close();
        return;
    }
    // The picture is a parallel projection: so is the world's camera.
    // A flat plot's volume is not centred on the eye: the camera moves to its middle.
    open("OrthographicCamera");
    t_.indent() << "position\t";
    triple(px + 0.5 * (double(f[0]) + f[1]) + 0.0, py + 0.5 * (double(f[2]) + f[3]) + 0.0, v_.zPosition);
    t_ << '\n';
    t_.indent() << "focalDistance\t";
    t_.num(v_.zPosition) << '\n';
    t_.indent() << "height\t";
    t_.num(f[3] - f[2]) << '\n';
    close();
}

void VrmlWriter::transform()
{
    if (v_.flatPlot) {
        rotation(1, 0, 0, kHalfPi);
        rotation(0, 1, 0, kHalfPi);
    } else {
        // Three nodes: each rotates what follows, in the renderer's order.
        rotation(0, 1, 0, v_.rotation);
        rotation(1, 0, 0, v_.tilt);
        rotation(0, 1, 0, v_.twist);
        if (v_.spinAngle != 0.0)
            rotation(v_.spinAxis[0], v_.spinAxis[1], v_.spinAxis[2], v_.spinAngle * kHalfPi / 90.0);
    }
    open("Scale");
    t_.indent() << "scaleFactor ";
    triple(v_.scale[0], v_.scale[1], v_.scale[2]);
    t_ << '\n';
    close();
    open("Translation");
    t_.indent() << "translation ";
    if (v_.flatPlot)
        triple(0.0, -double(v_.centre[1]) + 0.0, 0.0);
    else
        triple(-double(v_.centre[0]) + 0.0, -double(v_.centre[1]) + 0.0, -double(v_.centre[2]) + 0.0);
    t_ << '\n';
    close();
}

void VrmlWriter::material(const SceneShape& s, bool lines)
{
    open("Material");
    auto list = [&](std::string_view field) {
        t_.indent() << field << " [\n";
        t_.open();
        for (const Rgb& c : s.colors) {
            t_.indent();
            triple(c[0], c[1], c[2]);
            t_ << ",\n";
        }
        t_.close();
        t_.indent() << "]\n";
    };
    if (s.binding == ColorBinding::Overall && (!v_.lighting || lines)) {
        // Unlit: the colour as it is, whatever lights the viewer adds.
        line("ambientColor 0 0 0");
        line("diffuseColor 0 0 0");
        line("specularColor 0 0 0");
        t_.indent() << "emissiveColor ";
        triple(s.colors[0][0], s.colors[0][1], s.colors[0][2]);
        t_ << '\n';
    } else {
        list("diffuseColor");
        line("specularColor 0 0 0");
    }
    close();
    open("MaterialBinding");
    line(s.binding == ColorBinding::Overall   ? "value OVERALL"
         : s.binding == ColorBinding::PerFace ? "value PER_FACE"
                                              : "value PER_VERTEX_INDEXED");
    close();
}

bool VrmlWriter::model(const SceneModel& m)
{
    if (m.shapes.empty())
        return true;
    open("Separator");
    t_.indent() << "# model " << std::to_string(m.number) << '\n';
    open("Coordinate3");
    line("point[");
    t_.open();
    for (const Vertex& p : m.points) {
        t_.indent();
        triple(p[0], p[1], p[2]);
        t_ << ",\n";
        if (!t_.flush())
            return false;
    }
    t_.close();
    line("]");
    close();
    for (const SceneShape& s : m.shapes) {
        open("Separator");
        if (s.kind == ShapeKind::Faces && s.smooth && m.normals.size() == m.points.size()) {
            open("Normal");
            line("vector[");
            t_.open();
            for (const Vertex& n : m.normals) {
                t_.indent();
                triple(n[0], n[1], n[2]);
                t_ << ",\n";
                if (!t_.flush())
                    return false;
            }
            t_.close();
            line("]");
            close();
            open("NormalBinding");
            line("value PER_VERTEX_INDEXED");
            close();
        }
        material(s, s.kind != ShapeKind::Faces);
        switch (s.kind) {
        case ShapeKind::Faces:
            open("IndexedFaceSet");
            line("coordIndex[");
            t_.open();
            for (std::size_t k = 0; k + 2 < s.indices.size(); k += 3) {
                t_.indent() << std::to_string(s.indices[k]) << ',' << std::to_string(s.indices[k + 1]) << ','
                            << std::to_string(s.indices[k + 2]) << ",-1,\n";
                if (!t_.flush())
                    return false;
            }
            t_.close();
            line("]");
            close();
            break;
        case ShapeKind::Lines: {
            open("IndexedLineSet");
            line("coordIndex[");
            t_.open();
            t_.indent();
            for (std::uint32_t k : s.indices) {
                if (k == kPolylineEnd) {
                    t_ << "-1,\n";
                    t_.indent();
                    if (!t_.flush())
                        return false;
                } else {
                    t_ << std::to_string(k) << ", ";
                }
            }
            t_ << '\n';
            t_.close();
            line("]");
            close();
            break;
        }
        case ShapeKind::Points:
            open("PointSet");
            line("startIndex 0");
            t_.indent() << "numPoints " << std::to_string(m.points.size()) << '\n';
            close();
            break;
        }
        close();
    }
    close();
    return t_.flush();
}

} // namespace

bool WriteVrml(const SceneView& view, const std::vector<SceneModel>& models, TextSink& sink)
{
    VrmlWriter w(view, sink);
    return w.Run(models);
}

} // namespace halvex
