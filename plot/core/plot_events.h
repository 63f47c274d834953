#pragma once
// The stock events of _DOpenGLEvents, raised when the matching input reaches
// the control's window. The window that hosts the control calls these; the
// connected sinks receive them by dispatch identifier.

#include "platform/automation/member_table.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace halvex {

namespace host {
class CDravikOleControl;
}

// Names and identifiers of the events, for containers that bind by name.
const platform::MemberTable& plotEventNames();

void FireClick(host::CDravikOleControl& control);
void FireDblClick(host::CDravikOleControl& control);
void FireMouseDown(host::CDravikOleControl& control, std::int16_t button, std::int16_t shift, std::int32_t x, std::int32_t y);
void FireMouseMove(host::CDravikOleControl& control, std::int16_t button, std::int16_t shift, std::int32_t x, std::int32_t y);
void FireMouseUp(host::CDravikOleControl& control, std::int16_t button, std::int16_t shift, std::int32_t x, std::int32_t y);
// The key code and character come back as a sink left them (0: swallowed).
std::int16_t FireKeyDown(host::CDravikOleControl& control, std::int16_t keyCode, std::int16_t shift);
std::int16_t FireKeyPress(host::CDravikOleControl& control, std::int16_t keyAscii);
std::int16_t FireKeyUp(host::CDravikOleControl& control, std::int16_t keyCode, std::int16_t shift);
void FireReadyStateChange(host::CDravikOleControl& control);
// True when a sink asked not to show the error itself.
bool FireError(host::CDravikOleControl& control, std::int16_t number, std::string& description, std::int32_t scode,
               std::string_view source, std::string_view helpFile, std::int32_t helpContext);

} // namespace halvex
