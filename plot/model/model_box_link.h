#pragma once
// The model box as the control sees it: the frame around the data with its
// three axes and three back planes, an automation object the control owns
// for its whole life and hands out through `ModelBox`.

#include "platform/automation/dispatch.h"
#include "plot/model/bounding_record.h"
#include "plot/model/draw_context.h"

#include <array>

namespace halvex {

class ModelBoxLink : public platform::Dispatch {
public:
    // Drops the display lists of the box and its planes.
    virtual void DiscardLists() = 0;
    // The three axes rebuild their labels on the next frame.
    virtual void MarkAxesStale() = 0;

    // The renderer's hooks. Each axis takes its data range from the scene
    // box and may widen it to the range it shows (or replace it by the
    // user's limits).
    virtual void FitAxes(BoundingRecord& sceneBox, bool flatPlot)
    {
        (void)sceneBox;
        (void)flatPlot;
    }
    // At the start of a frame: label fonts and the box's cached list.
    virtual void DrawFrameStart(const DrawContext& dc) { (void)dc; }
    // The parts behind the models and those in front of them.
    virtual void DrawBehind(const DrawContext& dc) { (void)dc; }
    virtual void DrawInFront(const DrawContext& dc) { (void)dc; }
    // Planes (a, b, c, d) that keep the part inside the axes' user limits;
    // at most six.
    virtual int UserClipPlanes(double (*planes)[4])
    {
        (void)planes;
        return 0;
    }
    // The name of the grid placement list of the plane of a type (0 XY,
    // 1 YZ, 2 XZ) in the current GL context; 0 when the plane is not shown.
    virtual unsigned GridPlacementList(int planeType)
    {
        (void)planeType;
        return 0;
    }
    // The stretch of the scene per display axis.
    virtual std::array<float, 3> BoxScale() { return {1.0f, 1.0f, 1.0f}; }
    // Pixels a flat plot's numbers (and axis labels) need beyond the data
    // rectangle and its ticks: left, bottom, right, top. Zero when nothing
    // is known; asked with the context current.
    virtual std::array<float, 4> FlatLabelSpace(const DrawContext& dc)
    {
        (void)dc;
        return {0.0f, 0.0f, 0.0f, 0.0f};
    }
};

} // namespace halvex
