#include "plot/host/host_framework.h"

namespace halvex::host {

namespace {

// Ports that are declared but never connected: nothing arrives, and a
// value sent on is given back at once.
class UnconnectedPorts final : public DataPorts {
public:
    int GetSize() const override { return size_; }
    void SetSize(int count) override { size_ = count < 0 ? 0 : count; }
    bool IsConnected(int) const override { return false; }
    DataValue* Recv(int) override { return nullptr; }
    void Send(int, DataValue* value) override
    {
        if (value)
            value->Destroy();
    }

private:
    int size_ = 0;
};

class NoHost final : public HostFramework {
public:
    bool InZorvicContainer() const override { return false; }
    bool InPellixContainer() const override { return false; }
    std::unique_ptr<DataPorts> createPorts() override { return std::make_unique<UnconnectedPorts>(); }
    void fireHostEvent(HostEvent, std::string_view) override {}
    void StepComplete() override {}
    const GraphicsLibrary* graphicsLibrary() const override { return nullptr; }
    const HostValueTable& values() const override { return values_; }

private:
    HostValueTable values_; // stays empty: no host fills it
};

} // namespace

HostFramework& noHost()
{
    static NoHost host;
    return host;
}

} // namespace halvex::host
