// Scatter lines: one line strip through every vertex, in the order of
// DataPointsConnectivity (by row, by X, by Y, by Z).
#include "plot/model/mesh_model.h"
#include "plot/model/mesh_paint.h"

#include <algorithm>

namespace halvex {

bool MeshModel::DrawScatterLines(const DrawContext& dc)
{
    const ModelFormat& f = format_;
    const std::vector<std::uint32_t> order = ConnectionOrder();
    if (order.size() < 2)
        return true;
    const std::int32_t colormap = f.lineColorMap ? f.colormapIndex : -1;
    const Painter p = painterFor(*this, dc.dataBox, colormap, f.lineColor);
    glPushAttrib(GL_CURRENT_BIT | GL_LINE_BIT);
    if (colormap < 0)
        solidColor(f.lineColor);
    bool going = true;
    {
        LineStyleScope style(f, dc);
        const GridSource g = Grid();
        const std::size_t rows = std::size_t(g.rows);
        // One strip, so a dash pattern runs on unbroken; the drawing may
        // stop after each outer step of the order (a row's worth of points).
        const std::size_t step = std::max<std::size_t>(1, std::max(rows, std::size_t(g.cols)));
        glBegin(GL_LINE_STRIP);
        for (std::size_t k = 0; k < order.size(); ++k) {
            const std::uint32_t m = order[k];
            const Vertex v = g.at(std::int32_t(m % rows), std::int32_t(m / rows));
            if (colormap >= 0)
                p.color(v);
            glVertex3fv(v.data());
            if ((k + 1) % step == 0 && dc.Interrupted()) {
                going = false;
                break;
            }
        }
        glEnd();
    }
    glPopAttrib();
    return going;
}

} // namespace halvex
