#pragma once
// `COpenGLCtrl`, the plot control as containers see it: the class `OpenGL`
// with its dispatch interface _DOpenGL and its events _DOpenGLEvents. It
// holds no toolkit: a window that shows it attaches a ControlSite, and the
// renderer draws it through the state it exposes.

#include "platform/archive/persist.h"
#include "plot/core/gl_control_core.h"

#include <cstdint>
#include <memory>
#include <string>

namespace halvex {

class HostEvaluation;
class MemberDispatch;
namespace host {
struct HostValue;
struct HostContext;
class HostValueTable;
} // namespace host

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

    // The host programs' data ports and execution step
    // (plot/core/host_data_ports.cpp).
    void OnExecStateChange(std::int32_t state) override;
    bool OnExecStepEnabled() override;
    bool OnExecStep() override;
    void OnPropertyPagesDone() override;
    // The host evaluation interface, under either of the host's two
    // identifiers; nullptr for any other.
    HostEvaluation* QueryHostInterface(const platform::Guid& iid);
    // The host's call context while an evaluation runs, else nullptr.
    host::HostContext* HostContext() const noexcept { return hostContext_; }
    // The element of a host list being built (1-based), 0 outside a walk.
    std::int32_t ListPosition() const noexcept { return listPosition_; }
    // The nested-value builder: a host value (a matrix, or a list of three
    // matrices or of a vector field's parts) into a model; references
    // inside it resolve through the table.
    bool BuildNestedValue(const host::HostValue& value, int number, const host::HostValueTable& values);

private:
    friend class HostEvaluation;
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

    bool OnePortStep(int port);
    void ShowAsVectorField();
    bool TwoPortStep(int first, int second);
    bool ThreePortStep();

    std::unique_ptr<HostEvaluation> evaluation_;
    host::HostContext* hostContext_ = nullptr;
    std::int32_t listPosition_ = 0;
};

} // namespace halvex
