#pragma once
// The model box as the control sees it: the frame around the data with its
// three axes and three back planes, an automation object the control owns
// for its whole life and hands out through `ModelBox`.

#include "platform/automation/dispatch.h"

namespace halvex {

class ModelBoxLink : public platform::Dispatch {
public:
    // Drops the display lists of the box and its planes.
    virtual void DiscardLists() = 0;
    // The three axes rebuild their labels on the next frame.
    virtual void MarkAxesStale() = 0;
};

} // namespace halvex
