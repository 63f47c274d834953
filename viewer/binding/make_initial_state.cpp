// Writes the viewer's initial plot state, as the control's saver makes it,
// to the file named by its argument (resources/initial_state.bin).
#include "platform/automation/class_registry.h"
#include "platform/system/file_io.h"
#include "plot/core/plot_registration.h"
#include "viewer/binding/initial_state.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.bin\n", argv[0]);
        return 2;
    }
    try {
        halvex::registerPlotControl();
        platform::Ref<platform::Dispatch> control = platform::ClassRegistry::instance().create("Corvane.Plot3D.1");
        std::vector<std::uint8_t> state = tavrin::MakeInitialPlotState(*control);
        std::string why;
        if (!platform::writeFileAtomic(argv[1], {reinterpret_cast<const char*>(state.data()), state.size()}, &why)) {
            std::fprintf(stderr, "%s\n", why.c_str());
            return 1;
        }
        std::printf("%zu bytes\n", state.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
