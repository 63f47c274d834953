#include "plot/dialog/property_io.h"

#include <cmath>

namespace halvex {

using platform::Dispatch;
using platform::Variant;

double ReadNumber(Dispatch& object, std::string_view name)
{
    Variant v = object.get(name);
    if (v.isBool())
        return v.rawBool() ? 1.0 : 0.0;
    return v.toDouble();
}

std::uint32_t ReadColor(Dispatch& object, std::string_view name)
{
    return static_cast<std::uint32_t>(object.get(name).toInt64() & 0xFFFFFFFF);
}

std::string ReadText(Dispatch& object, std::string_view name)
{
    return object.get(name).toString();
}

platform::Ref<Dispatch> ReadObject(Dispatch& object, std::string_view name)
{
    return platform::Ref<Dispatch>(object.get(name).dispatch());
}

platform::Ref<Dispatch> CallForObject(Dispatch& object, std::string_view method, int argument)
{
    Variant arg = Variant::fromInt16(static_cast<std::int16_t>(argument));
    Variant r = object.invoke(method, platform::InvokeKind::Method, std::span<Variant>(&arg, 1));
    return platform::Ref<Dispatch>(r.dispatch());
}

void CallMethod(Dispatch& object, std::string_view method, Variant argument)
{
    object.invoke(method, platform::InvokeKind::Method, std::span<Variant>(&argument, 1));
}

void WriteSwitch(Dispatch& object, std::string_view name, bool on)
{
    object.put(name, Variant::fromInt16(on ? 1 : 0));
}

void WriteInt(Dispatch& object, std::string_view name, long long value)
{
    object.put(name, Variant::fromInt64(value));
}

void WriteNumber(Dispatch& object, std::string_view name, double value)
{
    object.put(name, Variant(value));
}

void WriteText(Dispatch& object, std::string_view name, const std::string& text)
{
    object.put(name, Variant(text));
}

void WriteColorKeepingHighByte(Dispatch& object, std::string_view name, std::uint32_t rgb)
{
    std::uint32_t now = ReadColor(object, name);
    std::uint32_t next = (now & 0xFF000000u) | (rgb & 0xFFFFFFu);
    object.put(name, Variant::fromInt32(static_cast<std::int32_t>(next)));
}

void ReadFields(Dispatch& object, std::span<const PropertyField> fields, FieldValues& values)
{
    for (const PropertyField& f : fields) {
        FieldValue& v = values[std::size_t(f.slot)];
        switch (f.kind) {
        case PropertyKind::Color: v = FieldValue(double(ReadColor(object, f.property))); break;
        case PropertyKind::Text: v = FieldValue(ReadText(object, f.property)); break;
        default: v = FieldValue(ReadNumber(object, f.property) / f.scale); break;
        }
    }
}

void WriteFields(Dispatch& object, std::span<const PropertyField> fields, const FieldRecord& record)
{
    for (const PropertyField& f : fields) {
        if (!record.changed(std::size_t(f.slot)))
            continue;
        const FieldValue& v = record.now[std::size_t(f.slot)];
        switch (f.kind) {
        case PropertyKind::Switch: WriteSwitch(object, f.property, v.number != 0.0); break;
        case PropertyKind::Integer: WriteInt(object, f.property, std::llround(v.number * f.scale)); break;
        case PropertyKind::Number: WriteNumber(object, f.property, v.number * f.scale); break;
        case PropertyKind::Color:
            WriteColorKeepingHighByte(object, f.property, static_cast<std::uint32_t>(v.number));
            break;
        case PropertyKind::Text: WriteText(object, f.property, v.text); break;
        }
    }
}

} // namespace halvex
