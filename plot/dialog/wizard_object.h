#pragma once
// The plot wizard as its maker's container framework knows it: an
// automation class registered under "Zorvic.3DPlot.Wizard". A container
// runs it (`Run`, modal, true when the user finished) and then hands it the
// plot object it created (`Apply`), which gets the choices through
// ApplyWizardChoices. The choices are properties too (`PlotType`,
// `Appearance`, `NumberedContours`, `Symbol`, `SymbolSize`, `Coloring`,
// `SolidColor`), set before `Run` to preset the pages or instead of it.

#include "platform/automation/guid.h"

#include <string_view>

namespace halvex {

constexpr std::string_view kWizardProgId = "Zorvic.3DPlot.Wizard";
constexpr platform::Guid kWizardClassId{0x4B1D7C52, 0x9E0A, 0x4C31, {0xA6, 0x58, 0x2F, 0x07, 0xC4, 0x93, 0x1E, 0x6D}};

// Registers the class; calling it again changes nothing.
void registerPlotWizard();

} // namespace halvex
