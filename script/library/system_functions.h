#pragma once
// The engine's standard routines and constants in a scope (the global one):
// conversions, formatting, dates, strings, mathematics, the rest, and the
// Variant type constants. One registering party: they go when it goes.

#include "script/binding/registration_owner.h"

namespace script {

class TfsSystemFunctions : public TfsRegistrationOwner {
public:
    explicit TfsSystemFunctions(TfsScript& scope);
};

namespace library {

// The groups, each registering into scope (with whatever stamp is set).
void RegisterConversionFunctions(TfsScript& scope);
void RegisterFormatFunctions(TfsScript& scope);
void RegisterDateFunctions(TfsScript& scope);
void RegisterStringFunctions(TfsScript& scope);
void RegisterMathFunctions(TfsScript& scope);
void RegisterOtherFunctions(TfsScript& scope);
void RegisterVariantConstants(TfsScript& scope);

} // namespace library
} // namespace script
