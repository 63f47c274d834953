#pragma once
// What the plot wizard decides: the choices of its three pages, how they
// set up a plot control (`ApplyWizardChoices`), and the sample data its
// preview shows. No toolkit: the command line applies the same choices
// with no window.

#include "platform/automation/dispatch.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace halvex {

enum WizardPlotType : int {
    kWizardSurface = 0,
    kWizardContour = 1,
    kWizardVectorField = 2,
    kWizardBar = 3,
    kWizardScatter = 4,
};

enum WizardColoring : int {
    kColorByHeight = 0,
    kColorUsingLighting = 1,
    kSolidColor = 2,
};

struct WizardChoices {
    int plotType = kWizardSurface; // 0 … 4
    int appearance = 0;            // 0 … 2, as the plot type names them
    bool numberedContours = false; // contour plots
    int symbol = 0;                // scatter plots: 0 dot … 4 diamond
    int symbolSize = 1;            // scatter plots: 1 … 10
    int coloring = kColorByHeight; // surface and scatter plots
    std::uint32_t solidColor = 0xFF0000; // 24-bit, red in the low byte: blue
};

// Surface and scatter plots go on to the colouring page; the others finish
// on the appearance page and never colour.
bool WizardHasColoringPage(int plotType) noexcept;

// Sets the control's view and its model 0 for the choices, through the
// control's automation interface by name. False, with nothing changed,
// when control is null, is no plot control or has no model 0. Choices out
// of their ranges are brought into them first. Automation errors of the
// control pass unchanged.
bool ApplyWizardChoices(platform::Dispatch* control, const WizardChoices& choices);

// Replaces the control's surfaces by the preview's sample data for the
// plot type: a 6 × 6 saddle (surface, bar, scatter), a 6 × 6 wave
// (contour), or two 5 × 5 matrices of a vector field.
void LoadWizardSampleData(platform::Dispatch& control, int plotType);

// Choices as the command line writes them: "TYPE,APPEARANCE,COLOURING"
// followed by any of ",numbered", ",symbol=S", ",size=N", ",colour=#RRGGBB".
// TYPE is 0 … 4 or surface, contour, vector, bar, scatter; symbols are
// 0 … 4 or dots, x, plus, boxes, diamonds. False with a message for
// anything else.
bool ParseWizardChoices(std::string_view text, WizardChoices& out, std::string& error);

} // namespace halvex
