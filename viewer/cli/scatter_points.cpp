#include "viewer/cli/scatter_points.h"

#include "viewer/data/data_lines.h"
#include "viewer/data/point_reader.h"

namespace tavrin {

ScatterPoints ReadScatterPoints(const std::string& path, const MatrixSettings& settings)
{
    DataLines lines = DataLines::fromFile(path);
    // About one point per 20 bytes of text: reserved once, not regrown.
    const std::size_t guess = lines.text().size() / 20 + 16;
    ScatterPoints p;
    p.x.reserve(guess);
    p.y.reserve(guess);
    p.z.reserve(guess);
    const PointDefaults defaults{{settings.xdef, settings.ydef, settings.zdef}};
    DataLines::Cursor cursor(lines);
    std::string_view line;
    double xyz[3];
    while (cursor.next(line)) {
        if (!readDataPoint(line, defaults, xyz))
            continue;
        p.x.push_back(xyz[0]);
        p.y.push_back(xyz[1]);
        p.z.push_back(xyz[2]);
    }
    // A file cut short under the mapping read as zeros: refuse it.
    lines.checkIntact();
    return p;
}

} // namespace tavrin
