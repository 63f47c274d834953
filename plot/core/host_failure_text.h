#pragma once
// The text a host is shown for a failure on its roads, inside a catch
// block: an automation error's description, the name of a structured
// exception ("singularity"), a host message as it is, "Caught Ole
// Exception code is %x." with the status of a framework failure (memory
// exhausted), and "Unknown error" for anything else.

#include <string>

namespace halvex {

std::string HostFailureText();

} // namespace halvex
