#pragma once
// The pictures of the main window's tool buttons, drawn at start-up so that
// they follow the screen's pixel ratio.

#include <QIcon>

namespace tavrin {

enum class ToolIcon {
    AddFile,
    RemoveFile,
    CheckAll,
    UncheckAll,
    InvertChecks,
    ClearList,
    ShowSum,
    ShowEach,
    ClearPlot,
    About,
};

QIcon MakeToolIcon(ToolIcon which);

} // namespace tavrin
