#pragma once
// The control's context menu (menu 202) apart from any toolkit: its
// entries with their commands, and whether each is enabled and checked
// for the control as it is; and the commands themselves. The window shows
// the entries and runs the command the user picks.

#include <string>
#include <vector>

namespace halvex {

class CGLCOleControl;

namespace menucmd {
constexpr int Format = 32780;
constexpr int Lighting = 32823;
constexpr int Fog = 32824;
constexpr int AxesCorner = 32825;
constexpr int AxesPerimeter = 32826;
constexpr int AxesNone = 32827;
constexpr int Export = 32828;
constexpr int EqualScales = 32831;
constexpr int Perspective = 32832;
constexpr int Box = 32833;
constexpr int Border = 32834;
constexpr int DebugVolume = 32875;
constexpr int Print = 32890;
constexpr int Paste = 57637;
constexpr int PasteSpecial = 57639;
} // namespace menucmd

struct MenuEntry {
    std::string text; // with "&" before the access key; empty: a separator
    int command = 0;
    bool enabled = true;
    bool checkable = false;
    bool checked = false;
    std::vector<MenuEntry> submenu;
};

// The setting "ShowExportMenu" of the per-user settings (non-zero: the
// export entries are shown), as it is now.
bool ReadExportMenuSetting();
// The same, read once for the process, the first time it is asked for.
bool ExportMenuShown();

// Menu 202 for the control's state. canPaste: the clipboard holds a
// picture or an object the control can take as an annotation.
// exportEntries: a separator, "Debug Volume", "Export ..." and "Print ..."
// follow.
std::vector<MenuEntry> ContextMenuEntries(const CGLCOleControl& control, bool canPaste = false,
                                          bool exportEntries = ExportMenuShown());

// Runs a command of the menu; false for a command the menu does not have
// or one disabled now. The two Paste commands need the clipboard, Export
// and Print a file or printer dialog: the window runs them. "Debug Volume"
// does nothing.
bool RunMenuCommand(CGLCOleControl& control, int command);

} // namespace halvex
