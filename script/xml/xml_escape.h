#pragma once
// Attribute values of the engine's XML are stored escaped: CR, LF, the
// double quote, '<' and '>' become numeric character references ("&#34;"),
// and so does an '&' that a reader would otherwise take for the start of a
// reference (one followed by '#'). A lone '&' is written as it is. There are
// no named entities.

#include <string>
#include <string_view>

namespace script {

void AppendXmlEscaped(std::string& out, std::string_view value);
std::string XmlEscape(std::string_view value);

// Replaces every "&#" + digits + ";" by the character of that code (its low
// eight bits). A "&#" without at least one character and a ';' after it is
// kept. Throws ScriptError when the characters between are not a number.
std::string XmlUnescape(std::string_view text);

} // namespace script
