#include "viewer/cli/scatter_export.h"

#include "platform/automation/safe_array.h"
#include "viewer/cli/scatter_points.h"

#include <cstring>
#include <new>

namespace tavrin {

namespace {

platform::Variant doubles(const std::vector<double>& v)
{
    const platform::SafeArray::Bound bound{0, std::uint32_t(v.size())};
    auto a = platform::Ref<platform::SafeArray>::adopt(platform::SafeArray::create(platform::varDouble, {&bound, 1}));
    if (!a)
        throw std::bad_alloc();
    std::memcpy(a->data(), v.data(), v.size() * sizeof(double));
    return platform::Variant(a.get());
}

void put(platform::Dispatch& object, const char* name, platform::Variant value)
{
    object.invoke(name, platform::InvokeKind::PropertyPut, std::span<platform::Variant>(&value, 1));
}

} // namespace

int AddScatterFiles(platform::Dispatch& control, const std::vector<std::string>& files, const MatrixSettings& s,
                    const std::optional<std::array<int, 2>>& grid, std::FILE* err)
{
    int added = 0;
    for (const std::string& f : files) {
        ScatterPoints p = ReadScatterPoints(f, s);
        if (p.size() == 0) {
            std::string line = "tavrin: \"" + f + "\" holds no points\n";
            std::fwrite(line.data(), 1, line.size(), err);
            continue;
        }
        if (p.size() > platform::SafeArray::kMaxElements) {
            std::string line = "tavrin: \"" + f + "\" holds more points than a plot takes\n";
            std::fwrite(line.data(), 1, line.size(), err);
            continue;
        }
        std::vector<platform::Variant> args{doubles(p.x), doubles(p.y), doubles(p.z)};
        p = {};
        control.invoke("AddScatterPlot", platform::InvokeKind::Method, args);
        ++added;
        if (!grid)
            continue;
        // After RemoveSurfaces the lists go to models 0, 1, 2 ... in turn.
        std::vector<platform::Variant> which{platform::Variant(added - 1)};
        platform::Variant model = control.invoke("Model", platform::InvokeKind::Method, which);
        put(*model.dispatch(), "InterpolatedRows", platform::Variant::fromInt16(std::int16_t((*grid)[0])));
        put(*model.dispatch(), "InterpolatedColumns", platform::Variant::fromInt16(std::int16_t((*grid)[1])));
        put(*model.dispatch(), "ViewAs", platform::Variant::fromInt16(0));
    }
    return added;
}

} // namespace tavrin
