// libFuzzer target: any bytes as the plot control's saved state. Loading
// either succeeds or fails with an archive error; a failure leaves the
// control exactly as it was (it saves the same bytes as before), and a
// loaded state saves, loads and saves again to the same bytes. Run with
// -malloc_limit_mb so that no count in a stream makes the loader allocate
// far past the stream's size.

#include "platform/archive/byte_archive.h"
#include "plot/core/plot_control.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

std::vector<std::uint8_t> saved(halvex::COpenGLCtrl& c)
{
    return c.SaveState();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A fresh control each time; its saved state is what an unchanged
    // control saves.
    static const std::vector<std::uint8_t> fresh = [] {
        platform::Ref<halvex::COpenGLCtrl> c(new halvex::COpenGLCtrl);
        return saved(*c);
    }();
    platform::Ref<halvex::COpenGLCtrl> control(new halvex::COpenGLCtrl);
    try {
        control->LoadState({data, size});
    } catch (const platform::ArchiveError&) {
        if (saved(*control) != fresh)
            std::abort(); // a failed load changed the control
        return 0;
    }
    // What was loaded is a state of this program: after one round it is
    // stable.
    std::vector<std::uint8_t> first = saved(*control);
    platform::Ref<halvex::COpenGLCtrl> second(new halvex::COpenGLCtrl);
    second->LoadState(first);
    std::vector<std::uint8_t> again = saved(*second);
    platform::Ref<halvex::COpenGLCtrl> third(new halvex::COpenGLCtrl);
    third->LoadState(again);
    std::vector<std::uint8_t> last = saved(*third);
    if (last != again) {
        auto diff = std::mismatch(last.begin(), last.end(), again.begin(), again.end());
        std::fprintf(stderr, "a saved state changed when loaded and saved again, at byte %zu of %zu\n",
                     std::size_t(diff.first - last.begin()), last.size());
        std::abort();
    }
    return 0;
}
