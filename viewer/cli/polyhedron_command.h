#pragma once
// --polyhedron: a uniform polyhedron by name, table number or Wythoff
// symbol ("+*rhombicuboctahedron", "#42", "3|2 4"), described with --info
// or drawn as a quick plot by --export.

#include "platform/automation/dispatch.h"
#include "viewer/cli/command_line.h"

#include <cstdio>
#include <string>

namespace tavrin {

// --info: NAME=VALUE lines (Name, Dual, Wythoff, Number, Coxeter,
// Wenninger, Vertices, Edges, Faces). Returns the exit status (1 with the
// message on err when the request fails).
int RunPolyhedronInfo(const std::string& request, std::FILE* out, std::FILE* err);

// Makes model 0 of the plot control a quick plot of the request, filled and
// outlined; the request's errors are the control's automation errors.
void AddPolyhedronPlot(platform::Dispatch& control, const std::string& request);

} // namespace tavrin
