#pragma once
// The plot control's fixed identifiers: its programmatic and class
// identifiers, the identifiers of its interfaces and type library, and the
// dispatch identifiers containers call it by.

#include "platform/automation/dispatch.h"
#include "platform/automation/guid.h"

#include <string_view>

namespace halvex {

constexpr std::string_view kPlotProgId = "Corvane.Plot3D.1";
constexpr std::string_view kTypeLibraryName = "HalvexLib";
constexpr unsigned kTypeLibraryMajor = 8, kTypeLibraryMinor = 6;
constexpr std::string_view kTypeLibraryHelp = "Corvane 3-D Plot module";
constexpr std::string_view kControlHelp = "Corvane 3-D Plot Control";
constexpr std::string_view kDispatchHelp = "Dispatch interface for Corvane 3-D Plot Control";
constexpr std::string_view kEventsHelp = "Event interface for Corvane 3-D Plot Control";

// Class `OpenGL`, its interfaces and the type library.
constexpr platform::Guid kPlotClassId{0x69009608, 0x34AF, 0x403F, {0xB8, 0xEA, 0x39, 0x2D, 0x58, 0xED, 0x7C, 0x3B}};
constexpr platform::Guid kDOpenGLIid{0xE2256251, 0x0340, 0x4960, {0x8D, 0x4B, 0xDF, 0x1E, 0xD5, 0x9E, 0xB9, 0x57}};
constexpr platform::Guid kDOpenGLEventsIid{0x8C50C96A, 0x315D, 0x4F59, {0xA0, 0xF5, 0x31, 0x70, 0x70, 0x8B, 0x90, 0xA6}};
constexpr platform::Guid kTypeLibraryId{0xE5C87BE2, 0xA28A, 0x4A6A, {0x88, 0x53, 0x69, 0xFD, 0x6E, 0xCD, 0xAF, 0x5A}};
constexpr platform::Guid kIglModelIid{0x2918FDB4, 0x197D, 0x4B15, {0x8C, 0x88, 0x4A, 0xC0, 0x36, 0xCC, 0xFA, 0x6E}};
constexpr platform::Guid kIglLightIid{0x660F6A69, 0xCD2C, 0x4445, {0xA6, 0x24, 0x26, 0x87, 0x45, 0xF6, 0x62, 0x6D}};

// Members of _DOpenGL that containers call by number.
namespace dispid {
constexpr platform::DispId CreateLight = 64;
constexpr platform::DispId AddSurfaces = 65;
constexpr platform::DispId RemoveSurfaces = 66;
constexpr platform::DispId Render = 67;
constexpr platform::DispId AddVolumes = 68;
constexpr platform::DispId MakeCurrent = 69;
constexpr platform::DispId MakeNotCurrent = 70;
constexpr platform::DispId Aspect = 71;
constexpr platform::DispId PolygonOffset = 72;
constexpr platform::DispId AddSurface = 73;
constexpr platform::DispId AddParametricSurface = 74;
constexpr platform::DispId Light = 75;
constexpr platform::DispId DestroyLight = 76;
constexpr platform::DispId Model = 77;
constexpr platform::DispId CreateModel = 78;
constexpr platform::DispId AddVectorFieldPlot = 79;
constexpr platform::DispId SetDefaultHighQualityPrinting = 80;
constexpr platform::DispId AddScatterPlot = 81;
constexpr platform::DispId AboutBox = -552;
} // namespace dispid

// Events of _DOpenGLEvents, and the two only the host programs understand.
namespace eventid {
constexpr platform::DispId Click = -600;
constexpr platform::DispId DblClick = -601;
constexpr platform::DispId KeyDown = -602;
constexpr platform::DispId KeyPress = -603;
constexpr platform::DispId KeyUp = -604;
constexpr platform::DispId MouseDown = -605;
constexpr platform::DispId MouseMove = -606;
constexpr platform::DispId MouseUp = -607;
constexpr platform::DispId Error = -608;
constexpr platform::DispId ReadyStateChange = -609;
} // namespace eventid

} // namespace halvex
