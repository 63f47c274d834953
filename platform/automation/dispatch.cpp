#include "platform/automation/dispatch.h"

#include "platform/automation/dispatch_exception.h"

#include <cstdio>

namespace platform {

DispatchException DispatchException::fromStatus(std::int32_t scode, std::string source)
{
    const char* text = nullptr;
    switch (scode) {
    case status::MemberNotFound: text = "Member not found."; break;
    case status::UnknownName: text = "Unknown name."; break;
    case status::TypeMismatch: text = "Type mismatch."; break;
    case status::BadParamCount: text = "Invalid number of parameters."; break;
    case status::ParamNotOptional: text = "Parameter not optional."; break;
    case status::BadIndex: text = "Invalid index."; break;
    case status::Overflow: text = "Out of present range."; break;
    case status::BadVarType: text = "Bad variable type."; break;
    case status::OutOfMemory: text = "Not enough storage is available to complete this operation."; break;
    case status::InvalidArg: text = "The parameter is incorrect."; break;
    case status::ClassNotRegistered: text = "Class not registered"; break;
    default: break;
    }
    std::string description;
    if (text) {
        description = text;
    } else {
        char buf[32];
        std::snprintf(buf, sizeof buf, "Error %08X", static_cast<unsigned>(scode));
        description = buf;
    }
    return DispatchException(scode, 0, std::move(source), std::move(description));
}

Variant Dispatch::invoke(std::string_view name, InvokeKind kind, std::span<Variant> args)
{
    DispId id = idOfName(name);
    if (id == kDispIdUnknown)
        throw DispatchException::fromStatus(status::UnknownName, className());
    return invoke(id, kind, args);
}

void Dispatch::put(DispId id, Variant value)
{
    invoke(id, InvokeKind::PropertyPut, std::span<Variant>(&value, 1));
}

void Dispatch::put(std::string_view name, Variant value)
{
    invoke(name, InvokeKind::PropertyPut, std::span<Variant>(&value, 1));
}

} // namespace platform
