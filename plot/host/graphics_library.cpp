#include "plot/host/graphics_library.h"

#include <dlfcn.h>

#include <mutex>

namespace halvex::host {

namespace {

using GetErrorFn = const void* (*)(const void*, std::int32_t, std::uint64_t);
using MeshFn = const void* (*)(const void*, const void*, double, double, std::int32_t, double, double, std::int32_t);
using Mesh3Fn = const void* (*)(const void*, const void*, const void*, const void*, double, double, std::int32_t,
                                double, double, std::int32_t);
using SpaceFn = const void* (*)(const void*, const void*, double, double, std::int32_t);
using Space3Fn = const void* (*)(const void*, const void*, const void*, const void*, double, double, std::int32_t);

const HostValue* Value(const void* p)
{
    return static_cast<const HostValue*>(p);
}

class LoadedLibrary final : public GraphicsLibrary {
public:
    LoadedLibrary(void* handle, GetErrorFn e, MeshFn m, Mesh3Fn m3, SpaceFn s, Space3Fn s3)
        : handle_(handle), error_(e), mesh_(m), mesh3_(m3), space_(s), space3_(s3)
    {}
    ~LoadedLibrary() override { dlclose(handle_); }

    const HostValue* GetGraphicsLibError(const HostContext& c, std::int32_t listPosition,
                                         std::uint64_t errorPosition) const override
    {
        return Value(error_(&c, listPosition, errorPosition));
    }
    const HostValue* CreateMesh(const HostContext& c, const HostValue& f, const GraphicsRanges& r) const override
    {
        return Value(mesh_(&c, &f, r.u0, r.u1, r.m, r.v0, r.v1, r.n));
    }
    const HostValue* CreateMesh(const HostContext& c, const HostValue& x, const HostValue& y, const HostValue& z,
                                const GraphicsRanges& r) const override
    {
        return Value(mesh3_(&c, &x, &y, &z, r.u0, r.u1, r.m, r.v0, r.v1, r.n));
    }
    const HostValue* CreateSpace(const HostContext& c, const HostValue& f, const GraphicsRanges& r) const override
    {
        return Value(space_(&c, &f, r.u0, r.u1, r.m));
    }
    const HostValue* CreateSpace(const HostContext& c, const HostValue& x, const HostValue& y, const HostValue& z,
                                 const GraphicsRanges& r) const override
    {
        return Value(space3_(&c, &x, &y, &z, r.u0, r.u1, r.m));
    }

private:
    void* handle_;
    GetErrorFn error_;
    MeshFn mesh_;
    Mesh3Fn mesh3_;
    SpaceFn space_;
    Space3Fn space3_;
};

template <class F>
F Entry(void* handle, const char* name)
{
    return reinterpret_cast<F>(dlsym(handle, name));
}

std::string Folder(const std::string& path)
{
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

} // namespace

std::unique_ptr<GraphicsLibrary> LoadGraphicsLibrary(const std::string& path, std::string* whyNot)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (whyNot) {
            const char* e = dlerror();
            *whyNot = e ? e : "cannot load " + path;
        }
        return nullptr;
    }
    auto error = Entry<GetErrorFn>(handle, "GetGraphicsLibError");
    auto mesh = Entry<MeshFn>(handle, "CreateMesh");
    auto mesh3 = Entry<Mesh3Fn>(handle, "CreateMesh3");
    auto space = Entry<SpaceFn>(handle, "CreateSpace");
    auto space3 = Entry<Space3Fn>(handle, "CreateSpace3");
    if (!error || !mesh || !mesh3 || !space || !space3) {
        dlclose(handle);
        if (whyNot)
            *whyNot = path + ": an entry point of the graphics library is missing";
        return nullptr;
    }
    return std::make_unique<LoadedLibrary>(handle, error, mesh, mesh3, space, space3);
}

const GraphicsLibrary* ModuleGraphicsLibrary()
{
    static std::once_flag once;
    static std::unique_ptr<GraphicsLibrary> library;
    std::call_once(once, [] {
        Dl_info info{};
        if (dladdr(reinterpret_cast<const void*>(&ModuleGraphicsLibrary), &info) && info.dli_fname)
            library = LoadGraphicsLibrary(Folder(info.dli_fname) + "/" + kGraphicsLibraryFile);
    });
    return library.get();
}

} // namespace halvex::host
