#pragma once
// Makes the plot control creatable through the class registry under
// "Corvane.Plot3D.1" and its class identifier. A container calls it once at
// start; calling it again changes nothing.

namespace halvex {

namespace host {
class HostFramework;
}

// Registers the class; controls made through the registry stand on the
// given host framework (no host program by default).
void registerPlotControl();
void registerPlotControl(host::HostFramework& host);

} // namespace halvex
