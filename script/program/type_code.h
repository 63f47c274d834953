#pragma once
// The engine's type codes and the names that messages give them.

#include <string>
#include <string_view>

namespace script {

enum TfsVarType : unsigned char {
    fvtInt = 0,
    fvtBool = 1,
    fvtFloat = 2,
    fvtChar = 3,
    fvtString = 4,
    fvtClass = 5,
    fvtArray = 6,
    fvtVariant = 7,
    fvtEnum = 8,
    fvtConstructor = 9,
};

// "Integer", "Boolean", "Extended", "Char", "String", "Class " + class name,
// "Array", the enumeration's own name, else "Variant".
std::string TypeDisplayName(TfsVarType type, std::string_view typeName);

// Whether a value of type source may be given to type target (classes by
// name: the source class must be the target class or inherit from it,
// which isDerived answers).
bool TypesCompatible(TfsVarType target, std::string_view targetName, TfsVarType source,
                     std::string_view sourceName, bool (*isDerived)(std::string_view cls, std::string_view base,
                                                                    const void* ctx),
                     const void* ctx);

} // namespace script
