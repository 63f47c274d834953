#pragma once
// What the control needs of its maker's host programs: which host it is
// embedded in, the data ports through which a host passes values between
// components, the host's own events, its graphics library and its nested
// values. With no host program present (every container but the two host
// programs) noHost() answers: both container checks false, ports that are
// never connected, host events fired to no one, no graphics library, no
// nested values. A host plugs in its own HostFramework; the control talks
// only to these interfaces.

#include "platform/automation/guid.h"
#include "plot/host/host_values.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace halvex::host {

// A value received from or sent to a port. Every lock is paired with its
// unlock; locked parts are rows × columns doubles, the row index fastest.
class DataValue {
public:
    virtual bool IsValid() const = 0;
    virtual bool IsScalar() const = 0;
    virtual bool IsVector() const = 0;
    virtual bool IsMatrix() const = 0;
    virtual bool IsComplex() const = 0;
    virtual std::int32_t Rows() const = 0;
    virtual std::int32_t Columns() const = 0;
    virtual const double* Lock() = 0;
    virtual const double* LockImaginary() = 0;
    virtual void Unlock() = 0;
    virtual void UnlockImaginary() = 0;
    // Gives the value back to the host; the object is gone afterwards.
    virtual void Destroy() = 0;

protected:
    ~DataValue() = default;
};

// The input or output ports of one control.
class DataPorts {
public:
    virtual ~DataPorts() = default;
    virtual int GetSize() const = 0;
    virtual void SetSize(int count) = 0;
    virtual bool IsConnected(int port) const = 0;
    // The framework's readiness check of a connected input port.
    virtual bool IsReady(int port) const { return IsConnected(port); }
    // The value waiting at an input port, or nullptr.
    virtual DataValue* Recv(int port) = 0;
    // Passes a value on to the next component (the ports take it over).
    virtual void Send(int port, DataValue* value) = 0;
};

// Events only the host programs understand, fired with the control's own.
enum class HostEvent : std::int32_t {
    Message = 515,    // one text: "Interrupted rendering"
    SendDataAgain = 516,
};

// The host's library of function plots (plot/host/graphics_library.h);
// its entry points belong to the quick plots of host functions.
class GraphicsLibrary;

// The two identifiers under which the host asks the control for its
// evaluation interface.
constexpr platform::Guid kHostEvaluationIid{0x6B1D2E40, 0x3F7A, 0x4C21, {0x9A, 0x51, 0x2E, 0x7C, 0x0D, 0x44, 0x81, 0x01}};
constexpr platform::Guid kHostEvaluationIid2{0x6B1D2E41, 0x3F7A, 0x4C21, {0x9A, 0x51, 0x2E, 0x7C, 0x0D, 0x44, 0x81, 0x01}};

class HostFramework {
public:
    virtual ~HostFramework() = default;

    virtual bool InZorvicContainer() const = 0;
    virtual bool InPellixContainer() const = 0;
    // Ports for one control; a control asks once for its inputs and once for
    // its outputs.
    virtual std::unique_ptr<DataPorts> createPorts() = 0;
    virtual void fireHostEvent(HostEvent event, std::string_view message) = 0;
    // Told once after each execution step.
    virtual void StepComplete() = 0;
    // Loaded once at module start when all its entry points were found (a
    // host program answers ModuleGraphicsLibrary(), or a library of its
    // own), else nullptr.
    virtual const GraphicsLibrary* graphicsLibrary() const = 0;
    // A plot kind changed to or from a vector field (the first host
    // program wants to know, to send its data again).
    virtual void PlotKindNotice() {}
    // A message box with an OK button, in the host's window.
    virtual void ShowMessage(std::string_view text) { (void)text; }
    // Asked between the rows of a long conversion on the port road: true
    // stops it (57763 "interrupted").
    virtual bool InterruptPending() { return false; }
    // The nested values that list elements refer to.
    virtual const HostValueTable& values() const = 0;
};

// The framework when no host program is present.
HostFramework& noHost();

} // namespace halvex::host
