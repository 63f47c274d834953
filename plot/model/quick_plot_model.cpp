// How a quick plot draws: its recorded calls replayed once per pass with
// the model's colours, widths and polygon modes.
#include "plot/model/quick_plot_model.h"

#include "plot/core/plot_errors.h"
#include "plot/core/render_context.h"
#include "plot/model/quick_plot_replay.h"

#include <GL/gl.h>
#include <GL/glu.h>

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

struct Passes {
    bool fill = false, lines = false, points = false;
};

Passes PassesOf(const ModelFormat& f)
{
    const std::uint32_t s1 = f.shadeModel1, s2 = f.shadeModel2;
    switch (f.viewAs) {
    case kSurfacePlot:
        return {bool(s1 & shade1::DrawFilledPolygons), bool(s1 & shade1::DrawLines), bool(s1 & shade1::DrawPoints)};
    case kContourPlot:
        return {bool(s2 & shade2::DrawFilledContours), bool(s1 & shade1::DrawContourLines), false};
    case kDataPointsPlot:
        return {false, bool(s1 & shade1::ScatterLines), bool(s1 & shade1::ScatterPoints)};
    case kVectorFieldPlot:
        return {bool(s1 & shade1::VectorFilled), bool(s1 & shade1::VectorLines), false};
    case kBarPlot:
        return {bool(s1 & shade1::BarFilled), bool(s1 & shade1::BarLines), bool(s1 & shade1::BarPoints)};
    case kPatchPlot:
        return {bool(s1 & shade1::PatchFilled), bool(s1 & shade1::PatchLines), bool(s1 & shade1::PatchPoints)};
    default:
        return {};
    }
}

} // namespace

bool QuickPlotModel::Draw(const BoundingRecord&, bool, int, int pass)
{
    if (calls_.empty())
        return true;
    const ModelFormat& f = format_;
    const Passes on = PassesOf(f);
    if (!((pass == 1 && on.fill) || (pass == 2 && on.lines) || (pass == 3 && on.points)))
        return true;

    SavedState saved;
    // The view may stretch the axes: the recorded normals are made unit
    // again after it.
    glEnable(GL_NORMALIZE);
    glPolygonOffset(f.polygonOffsetFactor, 1.0f);
    const bool hidden = (f.shadeModel1 & shade1::HiddenLineRemoval) && !on.fill;
    auto depthOnly = [&] {
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        ReplayCalls(calls_);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        CheckGlError();
    };
    const RenderContext* rc = RenderContext::Current();
    switch (pass) {
    case 1:
        if (!f.polygonColorMap)
            SolidColor(f.polygonColor);
        ReplayCalls(calls_);
        break;
    case 2:
        if (!f.lineColorMap)
            SolidColor(f.lineColor);
        glLineWidth(f.lineWidth * (rc ? rc->lineScale() : 1.0f));
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
        glPointSize((rc ? rc->pointScale() : 8.0f) * f.pointSize * 0.25f);
        if (hidden)
            depthOnly();
        glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
        ReplayCalls(calls_, {.ignoreColors = !f.pointColorMap});
        break;
    }
    CheckGlError();
    return true;
}

} // namespace halvex
