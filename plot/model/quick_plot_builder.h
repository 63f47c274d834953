#pragma once
// `BuildQuickPlot`: a host's mesh or space value becomes a quick plot's
// recorded calls. Element by element: a matrix whose first element is 1
// declares the data's bounds (x, y, z minimum and maximum), any other
// matrix is a drawing call (its first element the operation, the rest its
// arguments; an argument that refers to a nested matrix passes that
// matrix's data), and a text is a polyhedron request. Without a bounding
// declaration the model's `Rect` is (−1, −1, −1) … (1, 1, 1).

namespace halvex {

class PlotOwner;
class QuickPlotModel;
namespace host {
struct HostMesh;
class HostValueTable;
} // namespace host

// Errors: 32814 "Illegal graphics primitive specified" for an element that
// is neither matrix nor text, operation 0 or one the library does not
// have, a call whose argument count is not the operation's, an argument of
// the wrong kind, or a bounding declaration of fewer than 7 elements or
// with values that are not finite floats; the polyhedron errors; 32785
// when memory runs out. A failed build leaves the model as it was.
void BuildQuickPlot(QuickPlotModel& model, const host::HostMesh& list, const host::HostValueTable& values);

// Builds into the control's model number: the quick-plot model there is
// rebuilt (its format stays); any other model is replaced by a quick plot
// that takes over its format. 57758 "must view as a surface plot" when the
// model there is not a surface plot. Widens the data box and marks the
// control modified.
void BuildQuickPlotModel(PlotOwner& control, int number, const host::HostMesh& list,
                         const host::HostValueTable& values);

} // namespace halvex
