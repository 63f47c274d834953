// A host graphics library as a file, for the loader's tests: each entry
// point answers the value it was given, so a test sees its call arrive.
// Built once whole and once without CreateSpace3.
#include <cstdint>

extern "C" {

const void* GetGraphicsLibError(const void* context, std::int32_t, std::uint64_t)
{
    return context;
}

const void* CreateMesh(const void*, const void* f, double, double, std::int32_t, double, double, std::int32_t)
{
    return f;
}

const void* CreateMesh3(const void*, const void*, const void* y, const void*, double, double, std::int32_t, double,
                        double, std::int32_t)
{
    return y;
}

const void* CreateSpace(const void*, const void* f, double, double, std::int32_t m)
{
    return m > 0 ? f : nullptr;
}

#ifndef WITHOUT_SPACE3
const void* CreateSpace3(const void*, const void*, const void*, const void* z, double, double, std::int32_t)
{
    return z;
}
#endif
}
