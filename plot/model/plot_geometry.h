#pragma once
// The drawing interface every plot model carries. The renderer and the
// exports talk to models only through it.

#include "plot/model/bounding_record.h"
#include "plot/model/draw_context.h"

#include <string>

namespace halvex {

class CglModel;
class MeshModel;
class SurfaceModel;
class QuickPlotModel;

class PlotGeometry {
public:
    // Takes over the other model's link to the format dialog's settings
    // object and points that object here.
    virtual void CopyFrom(CglModel& other) = 0;
    // Fills the bar box.
    virtual void ComputeBarBox() = 0;
    virtual ~PlotGeometry() = default;
    // Forgets cached drawing state and sets the dirty flag.
    virtual void Invalidate() = 0;
    // Some parts must be drawn on every paint, outside the recorded lists.
    virtual bool NeedsDirectDraw() const = 0;
    // Draws the pass the context names, with what the context gives; false
    // when the drawing was interrupted or the model cannot draw.
    virtual bool Draw(const DrawContext& dc) = 0;
    virtual SurfaceModel* AsSurface() = 0;
    virtual SurfaceModel* AsGridSurface() = 0;
    virtual CglModel* AsReservedA() = 0;
    virtual CglModel* AsReservedB() = 0;
    virtual MeshModel* AsMesh() = 0;
    virtual MeshModel* AsMeshModel() = 0;
    virtual QuickPlotModel* AsQuickPlotModel() = 0;
    virtual QuickPlotModel* AsQuickPlot() = 0;
    // Draws the vertices as named points for selection.
    virtual bool DrawForPicking() = 0;
    virtual bool CanInterpolate() const = 0;
    // Sets the per-axis scale that stretches every axis of the data box to
    // the length of the longest.
    virtual void ComputeScale(const BoundingRecord& dataBox) = 0;
};

} // namespace halvex
