#pragma once
// The viewer's command line: the headless commands, and the files to open
// in the window.

#include "viewer/data/matrix_settings.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tavrin {

struct CommandLine {
    enum class Mode {
        Window, // open the main window with the files
        Matrix, // print the visualization matrix of one file
        Sum,    // print the sum of the files
        Export, // draw the files' surfaces into a picture file
        PolyhedronInfo, // describe a uniform polyhedron
        State,  // load and save the plot control's state, nothing drawn
        Contours, // print the Z contour lines of one file's matrix
        Wizard, // the plot wizard, then a window with the plot
        Grid,   // print a file's points gridded by natural neighbours
        Help,
        Version,
    };
    Mode mode = Mode::Window;
    std::vector<std::string> files;

    // Matrix options; what is not given comes from the settings file.
    std::optional<IndexRect> rect;
    std::optional<bool> yesScale;
    std::optional<int> fillMode;
    std::optional<std::array<std::string, 3>> defaults;

    // --contours FILE [--levels N]: N interior levels evenly spaced; without
    // it, the automatic (nice-number) levels.
    std::optional<std::int32_t> contourLevels;

    // --export OUT [FILE...] [--each | --sum] [--size WxH] [--dpi N] [--bits B] [--colorbar]
    // [--set NAME=VALUE]... [--model-set NAME=VALUE]... [--get NAME]... [--plot-script SCRIPT]
    // (names may be dotted paths through the control's objects:
    // ModelBox.ZAxis.NumGrids). Files are needed unless a saved state or a
    // plot script gives the picture.
    // [--scatter [--grid RxC]]: the files' points as point lists, not
    // matrices; with --grid, gridded by natural neighbours into a surface.
    struct Export {
        std::string output;
        bool sum = false;
        int width = 800;
        int height = 600;
        // Dots per inch: the picture is laid out as a control of
        // width × 96 / dpi by height × 96 / dpi pixels would be.
        int dpi = 96;
        int bits = 24; // bits per pixel of a bitmap
        bool bitsGiven = false;
        // A bar of the colour map with its values, right of the box.
        bool colorBar = false;
        std::vector<std::pair<std::string, std::string>> sets;      // control properties
        std::vector<std::pair<std::string, std::string>> modelSets; // properties of each model added
        std::vector<std::string> gets;                              // printed after the picture is drawn
        // --wizard-choices TYPE,APPEARANCE,COLOURING[,...]: as the plot
        // wizard sets the plot up; read by the command that uses it.
        std::string wizardChoices;
        std::string plotScript; // run with the control as Plot before the picture is drawn
        bool scatter = false;
        std::optional<std::array<int, 2>> grid; // rows, columns
    } exportTo;

    // --polyhedron REQUEST: with --info described, with --export drawn.
    std::optional<std::string> polyhedron;
    bool info = false;
    // --grid FILE --size RxC: rows along X, columns along Y.
    std::optional<std::array<int, 2>> gridSize;
    // --load-state IN, --save-state OUT: with --export, or alone (the control
    // with nothing drawn; --set and --get apply there too).
    std::string loadState;
    std::string saveState;

    bool headless() const noexcept { return mode != Mode::Window && mode != Mode::Wizard; }
};

// False with a message for an unknown option or a bad value.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

const char* UsageText();

} // namespace tavrin
