// The control's context menu: its entries, when each is enabled and
// checked, and what each command does.
#include "tests/plot/plot_test_support.h"

#include "plot/core/context_menu.h"
#include "plot/core/plot_control.h"
#include "plot/model/model_box.h"

#include "platform/system/user_settings.h"

#include <functional>

using namespace plottest;
using halvex::MenuEntry;
namespace cmd = halvex::menucmd;

namespace {

class ContextMenu : public PlotTest {
protected:
    halvex::COpenGLCtrl& control() { return dynamic_cast<halvex::COpenGLCtrl&>(*ctl); }
    std::vector<MenuEntry> entries() { return halvex::ContextMenuEntries(control(), false, false); }
    const MenuEntry& entry(int command)
    {
        menu_ = entries();
        for (const MenuEntry& e : menu_) {
            if (e.command == command)
                return e;
            for (const MenuEntry& s : e.submenu)
                if (s.command == command)
                    return s;
        }
        throw std::runtime_error("no such entry");
    }
    void flat()
    {
        call(*ctl, "AddSurface", {doubles2D(0, 3, 0, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9})});
        put(*dispatchOf(call(*ctl, "Model", {Variant(0)})), "ViewAs", Variant::fromInt16(1));
        ASSERT_TRUE(control().FlatPlot());
    }
    std::vector<MenuEntry> menu_;
};

TEST_F(ContextMenu, EntriesInTheirOrder)
{
    std::vector<MenuEntry> m = entries();
    std::vector<std::string> texts;
    for (const MenuEntry& e : m)
        texts.push_back(e.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"&Paste", "Paste &Special...", "Fo&rmat...", "&Fog", "&Lighting",
                                               "E&qual Scales", "&Perspective", "&Box", "Bo&rder", "&Axes"}));
    ASSERT_EQ(m.back().submenu.size(), 3u);
    EXPECT_EQ(m.back().submenu[0].text, "&Corner");
    EXPECT_EQ(m.back().submenu[0].command, 32825);
    EXPECT_EQ(m.back().submenu[1].text, "&Perimeter");
    EXPECT_EQ(m.back().submenu[2].text, "&None");
    EXPECT_EQ(m[0].command, 57637);
    EXPECT_EQ(m[1].command, 57639);
    EXPECT_EQ(m[2].command, 32780);
    EXPECT_FALSE(m[2].checkable);
    EXPECT_EQ(m[3].command, 32824);
    EXPECT_EQ(m[8].command, 32834);
    // A new control: border on, corner axes, the rest off, all enabled;
    // the Paste entries only while the clipboard holds something to paste.
    for (std::size_t i = 2; i < m.size(); ++i)
        EXPECT_TRUE(m[i].enabled) << m[i].text;
    EXPECT_FALSE(m[0].enabled);
    EXPECT_FALSE(m[1].enabled);
    std::vector<MenuEntry> pasting = halvex::ContextMenuEntries(control(), true);
    EXPECT_TRUE(pasting[0].enabled && pasting[1].enabled);
    EXPECT_FALSE(pasting[0].checkable);
    // The window runs them: the control alone cannot.
    EXPECT_FALSE(halvex::RunMenuCommand(control(), 57637));
    EXPECT_FALSE(entry(cmd::Fog).checked);
    EXPECT_TRUE(entry(cmd::Border).checked);
    EXPECT_FALSE(entry(cmd::Box).checked);
    EXPECT_TRUE(entry(cmd::AxesCorner).checked);
    EXPECT_FALSE(entry(cmd::AxesPerimeter).checked);
    EXPECT_FALSE(entry(cmd::AxesNone).checked);
}

TEST_F(ContextMenu, ExportEntriesFollowTheSetting)
{
    std::vector<MenuEntry> m = halvex::ContextMenuEntries(control(), false, true);
    ASSERT_EQ(m.size(), 14u);
    EXPECT_EQ(m[10].text, ""); // a separator
    EXPECT_EQ(m[11].text, "Debug Volume");
    EXPECT_EQ(m[11].command, 32875);
    EXPECT_EQ(m[12].text, "Export ...");
    EXPECT_EQ(m[12].command, 32828);
    EXPECT_EQ(m[13].text, "Print ...");
    for (std::size_t i = 11; i < m.size(); ++i)
        EXPECT_TRUE(m[i].enabled && !m[i].checkable) << m[i].text;
    // "Debug Volume" has no handler: nothing happens. Export and Print
    // need the window's dialogs.
    site.reset();
    EXPECT_TRUE(halvex::RunMenuCommand(control(), cmd::DebugVolume));
    EXPECT_EQ(site.invalidations, 0);
    EXPECT_FALSE(halvex::RunMenuCommand(control(), cmd::Export));
    EXPECT_FALSE(halvex::RunMenuCommand(control(), cmd::Print));
    // The per-user setting decides.
    platform::UserSettings settings("Corvane", "3-D Plot");
    EXPECT_FALSE(halvex::ReadExportMenuSetting());
    ASSERT_TRUE(settings.writeInt("ShowExportMenu", 1));
    EXPECT_TRUE(halvex::ReadExportMenuSetting());
    ASSERT_TRUE(settings.writeInt("ShowExportMenu", 0));
    EXPECT_FALSE(halvex::ReadExportMenuSetting());
}

TEST_F(ContextMenu, TogglesFlipAndRedraw)
{
    struct Case {
        int command;
        const char* property;
    };
    for (Case c : {Case{cmd::Fog, "Fog"}, Case{cmd::Lighting, "Lighting"}, Case{cmd::EqualScales, "ConstrainedView"},
                   Case{cmd::Perspective, "PerspectiveView"}, Case{cmd::Border, "ShowBorder"}}) {
        bool before = get(*ctl, c.property).toBool();
        site.reset();
        EXPECT_TRUE(halvex::RunMenuCommand(control(), c.command));
        EXPECT_NE(get(*ctl, c.property).toBool(), before) << c.property;
        EXPECT_EQ(entry(c.command).checked, !before) << c.property;
        EXPECT_TRUE(site.modified);
        EXPECT_GE(site.invalidations, 1);
    }
    Ref<Dispatch> box = dispatchOf(get(*ctl, "ModelBox"));
    EXPECT_TRUE(halvex::RunMenuCommand(control(), cmd::Box));
    EXPECT_TRUE(get(*box, "ShowBox").toBool());
    EXPECT_TRUE(entry(cmd::Box).checked);

    EXPECT_TRUE(halvex::RunMenuCommand(control(), cmd::AxesPerimeter));
    EXPECT_EQ(get(*box, "AxesStyle").toInt32(), 0);
    EXPECT_TRUE(entry(cmd::AxesPerimeter).checked);
    EXPECT_FALSE(entry(cmd::AxesCorner).checked);
    site.reset();
    EXPECT_TRUE(halvex::RunMenuCommand(control(), cmd::AxesPerimeter)); // already so: nothing
    EXPECT_EQ(site.invalidations, 0);
    EXPECT_TRUE(halvex::RunMenuCommand(control(), cmd::AxesNone));
    EXPECT_EQ(get(*box, "AxesStyle").toInt32(), 2);
    EXPECT_FALSE(halvex::RunMenuCommand(control(), 12345));
}

TEST_F(ContextMenu, FlatPlotsDisableTheViewEntries)
{
    flat();
    for (int c : {cmd::Lighting, cmd::EqualScales, cmd::Perspective, cmd::Box, cmd::Border, cmd::AxesCorner,
                  cmd::AxesPerimeter, cmd::AxesNone})
        EXPECT_FALSE(entry(c).enabled) << c;
    EXPECT_TRUE(entry(cmd::Fog).enabled);
    // Corner and Perimeter both shown checked while there are axes.
    EXPECT_TRUE(entry(cmd::AxesCorner).checked);
    EXPECT_TRUE(entry(cmd::AxesPerimeter).checked);
    EXPECT_FALSE(entry(cmd::AxesNone).checked);
    put(*dispatchOf(get(*ctl, "ModelBox")), "AxesStyle", Variant::fromInt16(2));
    EXPECT_FALSE(entry(cmd::AxesCorner).checked);
    EXPECT_TRUE(entry(cmd::AxesNone).checked);
    // A disabled entry does nothing.
    EXPECT_FALSE(halvex::RunMenuCommand(control(), cmd::Lighting));
    EXPECT_FALSE(get(*ctl, "Lighting").toBool());
    EXPECT_TRUE(halvex::RunMenuCommand(control(), cmd::Fog));
    EXPECT_TRUE(get(*ctl, "Fog").toBool());
}

// "Fo&rmat..." asks the site for the dialog; the modified flag tells
// afterwards whether the dialog changed anything.
TEST_F(ContextMenu, FormatAsksTheSiteAndKeepsTheModifiedFlag)
{
    struct FormatSite final : halvex::host::ControlSite {
        std::function<void()> dialog;
        int shown = 0;
        bool modified = false;
        int invalidations = 0;
        void invalidate(bool) override { ++invalidations; }
        void modifiedChanged(bool m) override { modified = m; }
        bool showFormatDialog() override
        {
            ++shown;
            if (dialog)
                dialog();
            return true;
        }
    } fs;
    control().setSite(&fs);
    // Untouched: the flag comes back as it was, nothing is redrawn.
    control().SetModifiedFlag(true);
    fs.invalidations = 0;
    EXPECT_TRUE(halvex::RunMenuCommand(control(), cmd::Format));
    EXPECT_EQ(fs.shown, 1);
    EXPECT_TRUE(control().IsModified());
    EXPECT_EQ(fs.invalidations, 0);
    control().SetModifiedFlag(false);
    EXPECT_TRUE(halvex::RunMenuCommand(control(), cmd::Format));
    EXPECT_FALSE(control().IsModified());
    // The dialog sees a clean flag; a change marks the control and redraws.
    fs.dialog = [&] {
        EXPECT_FALSE(control().IsModified());
        put(*ctl, "Fog", Variant(true));
    };
    EXPECT_TRUE(halvex::RunMenuCommand(control(), cmd::Format));
    EXPECT_TRUE(control().IsModified());
    EXPECT_TRUE(fs.modified);
    EXPECT_GE(fs.invalidations, 1);
    EXPECT_TRUE(control().NeedsRebuild());
    control().setSite(&site);
}

} // namespace
