#include "plot/core/context_menu.h"

#include "plot/core/gl_control_core.h"
#include "plot/model/model_box.h"

#include "platform/system/user_settings.h"

namespace halvex {

namespace {

MenuEntry toggle(const char* text, int command, bool enabled, bool checked)
{
    return {text, command, enabled, true, checked, {}};
}

// Enabled and checked as the menu shows the entry now.
const MenuEntry* find(const std::vector<MenuEntry>& entries, int command)
{
    for (const MenuEntry& e : entries) {
        if (e.command == command)
            return &e;
        if (const MenuEntry* inner = find(e.submenu, command))
            return inner;
    }
    return nullptr;
}

} // namespace

bool ReadExportMenuSetting()
{
    return platform::UserSettings("Corvane", "3-D Plot").readInt("ShowExportMenu", 0) != 0;
}

bool ExportMenuShown()
{
    static const bool shown = ReadExportMenuSetting();
    return shown;
}

std::vector<MenuEntry> ContextMenuEntries(const CGLCOleControl& control, bool canPaste, bool exportEntries)
{
    const ControlState& s = control.state();
    const CglModelBox& box = control.box();
    bool view = !control.FlatPlot();
    int style = box.axesStyle();
    // A flat plot shows "None" checked for no axes, the other two otherwise.
    auto axesChecked = [&](int mine) { return view ? style == mine : (mine == 2) == (style == 2); };
    std::vector<MenuEntry> menu;
    menu.push_back({"&Paste", menucmd::Paste, canPaste, false, false, {}});
    menu.push_back({"Paste &Special...", menucmd::PasteSpecial, canPaste, false, false, {}});
    menu.push_back({"Fo&rmat...", menucmd::Format, true, false, false, {}});
    menu.push_back(toggle("&Fog", menucmd::Fog, true, s.fog));
    menu.push_back(toggle("&Lighting", menucmd::Lighting, view, s.lighting));
    menu.push_back(toggle("E&qual Scales", menucmd::EqualScales, view, s.constrainedView));
    menu.push_back(toggle("&Perspective", menucmd::Perspective, view, s.perspective));
    menu.push_back(toggle("&Box", menucmd::Box, view, box.showBox()));
    menu.push_back(toggle("Bo&rder", menucmd::Border, view, s.showBorder));
    MenuEntry axes{"&Axes", 0, true, false, false, {}};
    axes.submenu.push_back(toggle("&Corner", menucmd::AxesCorner, view, axesChecked(1)));
    axes.submenu.push_back(toggle("&Perimeter", menucmd::AxesPerimeter, view, axesChecked(0)));
    axes.submenu.push_back(toggle("&None", menucmd::AxesNone, view, axesChecked(2)));
    menu.push_back(std::move(axes));
    if (exportEntries) {
        menu.push_back({});
        menu.push_back({"Debug Volume", menucmd::DebugVolume, true, false, false, {}});
        menu.push_back({"Export ...", menucmd::Export, true, false, false, {}});
        menu.push_back({"Print ...", menucmd::Print, true, false, false, {}});
    }
    return menu;
}

bool RunMenuCommand(CGLCOleControl& control, int command)
{
    const std::vector<MenuEntry> menu = ContextMenuEntries(control, false, true);
    const MenuEntry* entry = find(menu, command);
    if (!entry || !entry->enabled)
        return false;
    if (command == menucmd::Format) {
        control.OnFormat();
        return true;
    }
    ControlState& s = control.mutableState();
    CglModelBox& box = control.box();
    switch (command) {
    case menucmd::Fog: s.fog = !s.fog; break;
    case menucmd::Lighting: s.lighting = !s.lighting; break;
    case menucmd::EqualScales: s.constrainedView = !s.constrainedView; break;
    case menucmd::Perspective: s.perspective = !s.perspective; break;
    case menucmd::Border: s.showBorder = !s.showBorder; break;
    case menucmd::Box: box.SetShowBox(!box.showBox()); break;
    case menucmd::DebugVolume: return true; // no handler: nothing happens
    case menucmd::AxesCorner:
    case menucmd::AxesPerimeter:
    case menucmd::AxesNone: {
        int style = command == menucmd::AxesCorner ? 1 : command == menucmd::AxesPerimeter ? 0 : 2;
        if (style == box.axesStyle())
            return true;
        box.SetAxesStyle(style);
        box.DiscardLists();
        break;
    }
    default: return false;
    }
    control.RequestRedraw();
    return true;
}

} // namespace halvex
