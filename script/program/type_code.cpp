#include "script/program/type_code.h"

#include "platform/text/ascii_case.h"

namespace script {

std::string TypeDisplayName(TfsVarType type, std::string_view typeName)
{
    switch (type) {
    case fvtInt: return "Integer";
    case fvtBool: return "Boolean";
    case fvtFloat: return "Extended";
    case fvtChar: return "Char";
    case fvtString: return "String";
    case fvtClass: return "Class " + std::string(typeName);
    case fvtArray: return "Array";
    case fvtEnum: return std::string(typeName);
    default: return "Variant";
    }
}

bool TypesCompatible(TfsVarType target, std::string_view targetName, TfsVarType source, std::string_view sourceName,
                     bool (*isDerived)(std::string_view, std::string_view, const void*), const void* ctx)
{
    switch (target) {
    case fvtInt: return source == fvtInt || source == fvtVariant || source == fvtEnum;
    case fvtBool: return source == fvtBool || source == fvtVariant;
    case fvtFloat: return source == fvtInt || source == fvtFloat || source == fvtVariant;
    case fvtChar:
    case fvtString: return source == fvtChar || source == fvtString || source == fvtVariant;
    case fvtClass:
        if (source == fvtVariant)
            return true;
        if (source != fvtClass)
            return false;
        return isDerived ? isDerived(sourceName, targetName, ctx) : platform::equalsIgnoreCaseAscii(sourceName, targetName);
    case fvtArray: return source == fvtArray || source == fvtVariant;
    case fvtVariant: return true;
    case fvtEnum:
        return (source == fvtEnum && platform::equalsIgnoreCaseAscii(sourceName, targetName)) || source == fvtInt ||
               source == fvtVariant;
    default: return false;
    }
}

} // namespace script
