#pragma once
// `COpenGLCtrl`, the plot control as containers see it: the class `OpenGL`
// with its dispatch interface _DOpenGL and its events _DOpenGLEvents. It
// holds no toolkit: a window that shows it attaches a ControlSite, and the
// renderer draws it through the state it exposes.

#include "platform/archive/persist.h"
#include "plot/core/gl_control_core.h"

#include <string>

namespace halvex {

class MemberDispatch;
namespace host {
struct HostValue;
}

class COpenGLCtrl final : public CGLCOleControl,
                          public platform::PersistStream,
                          public platform::PersistPropertyBag {
public:
    explicit COpenGLCtrl(host::HostFramework& host = host::noHost());
    ~COpenGLCtrl() override;

    // _DOpenGL
    platform::DispId idOfName(std::string_view name) const override;
    platform::Variant invoke(platform::DispId id, platform::InvokeKind kind, std::span<platform::Variant> args) override;
    std::string className() const override { return "OpenGL"; }
    static const platform::MemberTable& memberNames();

    // The state a container keeps with its document. A stream that cannot
    // be loaded throws platform::ArchiveError and changes nothing.
    void LoadState(std::span<const std::uint8_t> stream) override;
    std::vector<std::uint8_t> SaveState() override;
    void LoadProperties(const platform::PropertyBag& bag) override;
    void SaveProperties(platform::PropertyBag& bag) override;

    // The methods that hand data over. Errors are automation errors.
    // AddSurface answers FALSE on success, as containers have always seen it.
    bool AddSurface(const platform::Variant& surface);
    bool AddSurfaces(const platform::Variant& surfaces);
    bool AddVolumes(const platform::Variant& volumes);
    bool AddParametricSurface(const platform::Variant& x, const platform::Variant& y, const platform::Variant& z);
    bool AddScatterPlot(const platform::Variant& x, const platform::Variant& y, const platform::Variant& z);
    bool AddVectorFieldPlot(const platform::Variant& re, const platform::Variant& im);

    platform::Ref<platform::Dispatch> Model(int n);
    platform::Ref<platform::Dispatch> CreateModel(int n);
    // A null reference for an empty slot or a number outside 0..7.
    platform::Ref<platform::Dispatch> Light(int n);
    bool SetDefaultHighQualityPrinting(bool highQuality);

private:
    static const MemberDispatch& members();

    int ChooseModelNumber() const;
    bool AddMesh(const platform::Variant& x, const platform::Variant& y, const platform::Variant& z, bool scatter);
    // Builds every element of a host list that refers to a value the host's
    // table knows, into the model numbered by its index.
    bool BuildHostList(const platform::Variant& list, void (COpenGLCtrl::*build)(const host::HostValue&, int));
    void BuildNestedSurface(const host::HostValue& value, int number);
    void BuildNestedVolume(const host::HostValue& value, int number);
    template <class T>
    void SetAndRedraw(T& field, const T& value);
};

} // namespace halvex
