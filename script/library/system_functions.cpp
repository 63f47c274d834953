#include "script/library/system_functions.h"

namespace script {

TfsSystemFunctions::TfsSystemFunctions(TfsScript& scope) : TfsRegistrationOwner(scope)
{
    Stamp stamp(*this);
    library::RegisterConversionFunctions(scope);
    library::RegisterFormatFunctions(scope);
    library::RegisterDateFunctions(scope);
    library::RegisterStringFunctions(scope);
    library::RegisterMathFunctions(scope);
    library::RegisterOtherFunctions(scope);
    library::RegisterVariantConstants(scope);
}

} // namespace script
