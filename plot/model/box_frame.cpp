#include "plot/model/box_frame.h"

namespace halvex {

std::array<int, 3> AxisEdges(const double* m, int axesStyle, bool flat)
{
    if (axesStyle != 0 || flat)
        return {3, 0, 8};
    static constexpr int Q[8] = {4, 5, 3, 2, 7, 6, 0, 1};
    static constexpr std::array<int, 3> rows[8] = {{1, 2, 11}, {1, 2, 9}, {1, 0, 10}, {1, 0, 8},
                                                   {3, 0, 9},  {3, 0, 11}, {3, 2, 8}, {3, 2, 10}};
    bool a = m[10] >= 0.0, b = m[2] >= 0.0;
    bool c = (m[8] + m[10]) * 0.7071068 >= 0.0;
    bool d = (m[2] + m[0]) * 0.7071068 >= 0.0;
    int e = c != d ? 1 : 0;
    std::array<int, 3> edges = rows[Q[(2 * int(a) + int(b)) * 2 + e]];
    // Seen from below, the X and Y axes go to the upper edges.
    if (m[6] < 0.0) {
        edges[0] += 4;
        edges[1] += 4;
    }
    return edges;
}

} // namespace halvex
