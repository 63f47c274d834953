#pragma once
// "Tavrin.ini": the main window's parameters (sections MATRIX and
// INPUT_INFO) and the ABOUT section written at every start.

#include "viewer/data/matrix_settings.h"

#include <string>

namespace tavrin {

// The parameters as the main window holds them: the default values are
// texts, normalised by FormatNumberText.
struct WindowParameters {
    IndexRect rect{0, 100, 0, 100};
    bool yesScale = false;
    int modeMatrixFill = FillNone;
    std::string xdef = "0", ydef = "0", zdef = "0";
};

// Reads the keys with their defaults (0, 100, 0, 100, false, mode 0, "0");
// a mode outside 0..4 reads as 0.
WindowParameters LoadWindowParameters(const std::string& iniPath);
// Writes every key (skipped when the folder is not writable).
void SaveWindowParameters(const std::string& iniPath, const WindowParameters& p);

// The matrix settings of the parameters: default-value texts read as numbers
// (0 when not a number).
MatrixSettings ToMatrixSettings(const WindowParameters& p);

inline constexpr const char* kVersionText = "1.03  (24.11.2005)";
inline constexpr const char* kVersionCaption = "Version 1.03  (24.11.2005)";

// The ABOUT section; dateZeroText is the date-time value zero in the
// system's short date form.
void WriteAboutSection(const std::string& iniPath, const std::string& exePath, const std::string& dateZeroText);

} // namespace tavrin
