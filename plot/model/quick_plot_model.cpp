// How a quick plot draws: its recorded calls replayed once per pass with
// the model's colours, widths and polygon modes.
#include "plot/model/quick_plot_model.h"

#include "plot/base/plot_errors.h"
#include "plot/model/pass_rules.h"
#include "plot/model/quick_plot_replay.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>

namespace halvex {

namespace {

void SolidColor(std::uint32_t c)
{
    glColor4ub(GLubyte(c & 0xFF), GLubyte(c >> 8 & 0xFF), GLubyte(c >> 16 & 0xFF), GLubyte(c >> 24));
}

void CheckGlError()
{
    GLenum e = glGetError();
    if (e == GL_NO_ERROR)
        return;
    while (glGetError() != GL_NO_ERROR) {
    }
    const GLubyte* text = gluErrorString(e);
    raiseError(err::OpenGLError, text ? reinterpret_cast<const char*>(text) : "unknown error");
}

// The attributes a pass changes, given back on every path.
class SavedState {
public:
    SavedState()
    {
        glPushMatrix();
        glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LIGHTING_BIT | GL_LINE_BIT | GL_POINT_BIT |
                     GL_POLYGON_BIT | GL_COLOR_BUFFER_BIT);
    }
    ~SavedState()
    {
        glPopAttrib();
        glPopMatrix();
    }
    SavedState(const SavedState&) = delete;
    SavedState& operator=(const SavedState&) = delete;
};

// The switches of a quick plot's passes per plot kind: fill, lines, dots
// (narrower than a mesh's: no contour switch draws here).
struct QuickPlotRule {
    SwitchBits fill, lines, points;
};
constexpr std::array<QuickPlotRule, 6> kQuickPlotRules{{
    {{shade1::DrawFilledPolygons}, {shade1::DrawLines}, {shade1::DrawPoints}},
    {{0, shade2::DrawFilledContours}, {shade1::DrawContourLines}, {}},
    {{}, {shade1::ScatterLines}, {shade1::ScatterPoints}},
    {{shade1::VectorFilled}, {shade1::VectorLines}, {}},
    {{shade1::BarFilled}, {shade1::BarLines}, {shade1::BarPoints}},
    {{shade1::PatchFilled}, {shade1::PatchLines}, {shade1::PatchPoints}},
}};
static_assert(kQuickPlotRules.size() == kPatchPlot + 1, "one row per plot kind");

// Whether the pass draws anything for the model's kind and switches.
bool PassOn(const ModelFormat& f, DrawPass pass)
{
    if (f.viewAs < 0 || f.viewAs > kPatchPlot)
        return false;
    const QuickPlotRule& r = kQuickPlotRules[std::size_t(f.viewAs)];
    switch (pass) {
    case DrawPass::Fill:
        return r.fill.AnyOf(f);
    case DrawPass::Lines:
        return r.lines.AnyOf(f);
    case DrawPass::Points:
        return r.points.AnyOf(f);
    default:
        return false;
    }
}

} // namespace

bool QuickPlotModel::Draw(const DrawContext& dc)
{
    const ModelFormat& f = format_;
    if (calls_.empty() || !PassOn(f, dc.pass))
        return true;

    SavedState saved;
    // The view may stretch the axes: the recorded normals are made unit
    // again after it.
    glEnable(GL_NORMALIZE);
    glPolygonOffset(f.polygonOffsetFactor, 1.0f);
    // Hidden lines: the faces first into the depth buffer, unless the fill
    // pass put them there.
    const bool hidden = (f.shadeModel1 & shade1::HiddenLineRemoval) && !PassOn(f, DrawPass::Fill);
    auto depthOnly = [&] {
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        ReplayCalls(calls_);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        CheckGlError();
    };
    switch (dc.pass) {
    case DrawPass::Fill:
        if (!f.polygonColorMap)
            SolidColor(f.polygonColor);
        ReplayCalls(calls_);
        break;
    case DrawPass::Lines:
        if (!f.lineColorMap)
            SolidColor(f.lineColor);
        glLineWidth(f.lineWidth * dc.lineScale());
        if (hidden)
            depthOnly();
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        // Outlines keep the model's line colour unless it follows the
        // colours of the calls.
        ReplayCalls(calls_, {.ignoreColors = !f.lineColorMap});
        break;
    default:
        if (!f.pointColorMap)
            SolidColor(f.pointColor);
        glPointSize(dc.pointScale() * f.pointSize * 0.25f);
        if (hidden)
            depthOnly();
        glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
        ReplayCalls(calls_, {.ignoreColors = !f.pointColorMap});
        break;
    }
    CheckGlError();
    return true;
}

bool QuickPlotModel::DrawForPicking()
{
    if (calls_.empty())
        return false;
    SavedState saved;
    glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
    try {
        ReplayCalls(calls_, {.ignoreColors = true});
    } catch (...) {
        return false;
    }
    return true;
}

} // namespace halvex
