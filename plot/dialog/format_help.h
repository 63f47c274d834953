#pragma once
// The help topics of the format dialog: one HTML file per page, named after
// the host program the control runs in, in the "help" folder beside the
// program. No toolkit.

#include <string>
#include <string_view>

namespace halvex {

// "Pellix3d_plot_format_dialog_box_axes.html" (the Help button), or with
// context "Pellix3D_Plot_Format_dialog_box_axes.html" (help from the
// caption); "Zorvic" in place of "Pellix" inside the first host program.
std::string FormatHelpTopic(bool inZorvic, std::string_view stem, bool context);

// The "help" folder beside the executable, with its trailing '/'.
std::string HelpFolder();

// The path of the topic's file in the folder, the name compared ignoring
// letter case (the two forms of a topic name one file); empty when there
// is none.
std::string FindHelpFile(const std::string& folder, std::string_view topic);

} // namespace halvex
