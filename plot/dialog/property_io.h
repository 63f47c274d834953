#pragma once
// The format dialog reads and writes the control as a container does:
// properties and methods of its automation objects, by name. These name
// the few shapes the pages need, and a table form for fields that map one
// to one onto a property. No toolkit.

#include "platform/automation/dispatch.h"
#include "plot/dialog/field_values.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace halvex {

// Numbers as they read: a switch or BOOL as 0 or 1, a float as its value.
double ReadNumber(platform::Dispatch& object, std::string_view name);
// A packed colour, whatever integer type carries it.
std::uint32_t ReadColor(platform::Dispatch& object, std::string_view name);
std::string ReadText(platform::Dispatch& object, std::string_view name);
// An object-valued property or method result; null when it is null.
platform::Ref<platform::Dispatch> ReadObject(platform::Dispatch& object, std::string_view name);
platform::Ref<platform::Dispatch> CallForObject(platform::Dispatch& object, std::string_view method, int argument);
void CallMethod(platform::Dispatch& object, std::string_view method, platform::Variant argument);

// A switch as 1 or 0 (the form every switch type takes).
void WriteSwitch(platform::Dispatch& object, std::string_view name, bool on);
void WriteInt(platform::Dispatch& object, std::string_view name, long long value);
void WriteNumber(platform::Dispatch& object, std::string_view name, double value);
void WriteText(platform::Dispatch& object, std::string_view name, const std::string& text);
// Red, green and blue of rgb replace the colour's; its high byte (a model
// colour's alpha) stays as the object holds it now.
void WriteColorKeepingHighByte(platform::Dispatch& object, std::string_view name, std::uint32_t rgb);

// A field that is one property: the record slot, the property and how it
// reads. A number's shown value is the property's divided by scale (a
// weight in tenths of a pixel shows in pixels); an integer property is
// written rounded.
enum class PropertyKind { Switch, Integer, Number, Color, Text };
struct PropertyField {
    int slot;
    const char* property;
    PropertyKind kind;
    double scale = 1.0;
};

// Reads the fields' properties into their slots of values.
void ReadFields(platform::Dispatch& object, std::span<const PropertyField> fields, FieldValues& values);
// Writes the fields whose slot the user changed.
void WriteFields(platform::Dispatch& object, std::span<const PropertyField> fields, const FieldRecord& record);

} // namespace halvex
