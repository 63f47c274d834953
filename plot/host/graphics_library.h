#pragma once
// The host's graphics library: it turns one or three host functions over
// numeric ranges into a mesh or space value (drawing calls, Part of the
// quick plots), and makes the error value of a failed one. A host either
// provides it in process or ships it as the file "graphics.so" beside the
// control's own library, loaded once; a file that lacks one of the five
// entry points is released and not used.

#include "plot/host/host_context.h"

#include <cstdint>
#include <memory>
#include <string>

namespace halvex::host {

struct GraphicsRanges {
    double u0 = -5.0, u1 = 5.0;
    std::int32_t m = 21;
    double v0 = -5.0, v1 = 5.0;
    std::int32_t n = 21;
};

class GraphicsLibrary {
public:
    virtual ~GraphicsLibrary() = default;
    // The error value for a failed list element.
    virtual const HostValue* GetGraphicsLibError(const HostContext& context, std::int32_t listPosition,
                                                 std::uint64_t errorPosition) const = 0;
    // A function of two variables over both ranges; three functions (x, y,
    // z) likewise.
    virtual const HostValue* CreateMesh(const HostContext& context, const HostValue& f,
                                        const GraphicsRanges& r) const = 0;
    virtual const HostValue* CreateMesh(const HostContext& context, const HostValue& x, const HostValue& y,
                                        const HostValue& z, const GraphicsRanges& r) const = 0;
    // A function of one variable over the first range; three likewise.
    virtual const HostValue* CreateSpace(const HostContext& context, const HostValue& f,
                                         const GraphicsRanges& r) const = 0;
    virtual const HostValue* CreateSpace(const HostContext& context, const HostValue& x, const HostValue& y,
                                         const HostValue& z, const GraphicsRanges& r) const = 0;
};

// The entry points of a library file, with C linkage:
//   const void* GetGraphicsLibError(const void* context, int32_t listPosition, uint64_t errorPosition);
//   const void* CreateMesh(const void* context, const void* f, double u0, double u1, int32_t m,
//                          double v0, double v1, int32_t n);
//   const void* CreateMesh3(const void* context, const void* x, const void* y, const void* z,
//                           double u0, double u1, int32_t m, double v0, double v1, int32_t n);
//   const void* CreateSpace(const void* context, const void* f, double u0, double u1, int32_t m);
//   const void* CreateSpace3(const void* context, const void* x, const void* y, const void* z,
//                            double u0, double u1, int32_t m);
// where context is a HostContext and the values are HostValue records.
constexpr const char* kGraphicsLibraryFile = "graphics.so";

// The library in a file, or nullptr (no file, or an entry point missing;
// why goes to whyNot).
std::unique_ptr<GraphicsLibrary> LoadGraphicsLibrary(const std::string& path, std::string* whyNot = nullptr);

// The library beside the control's own file, loaded on the first call
// (the control's module start); nullptr when there is none.
const GraphicsLibrary* ModuleGraphicsLibrary();

} // namespace halvex::host
