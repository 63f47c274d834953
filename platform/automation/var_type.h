#pragma once
#include <cstdint>

namespace platform {

// Type codes of a Variant. The numbers are those that scripts see through
// VarType() and the var* constants, so they must not change.
using VarType = std::uint16_t;

enum : VarType {
    varEmpty = 0,
    varNull = 1,
    varSmallint = 2,
    varInteger = 3,
    varSingle = 4,
    varDouble = 5,
    varCurrency = 6,
    varDate = 7,
    varOleStr = 8,
    varDispatch = 9,
    varError = 10,
    varBoolean = 11,
    varVariant = 12,
    varUnknown = 13,
    varShortInt = 16,
    varByte = 17,
    varWord = 18,
    varLongWord = 19,
    varInt64 = 20,
    varUInt64 = 21,
    varStrArg = 72,
    varString = 256,
    varAny = 257,
    // A script object reference: a handle number that resolves only
    // through a handle table. Arithmetic sees it as a 32-bit integer.
    varObject = 0x0FFE,
    varTypeMask = 4095,
    varArray = 8192,
    varByRef = 16384,
};

// Name used in conversion error messages ("Double", "String", ...).
const char* varTypeName(VarType t) noexcept;

} // namespace platform
