#include "viewer/cli/scatter_export.h"

#include "platform/automation/dispatch_exception.h"
#include "platform/automation/safe_array.h"
#include "platform/text/number_text.h"
#include "viewer/cli/scatter_points.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

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

// The first value of the points that single precision cannot carry, as a
// note to the plot's refusal; empty when there is none.
std::string rangeNote(const ScatterPoints& p)
{
    for (const std::vector<double>* axis : {&p.x, &p.y, &p.z})
        for (double v : *axis)
            if (!std::isfinite(v) || std::fabs(v) > double(std::numeric_limits<float>::max()))
                return " A value of the file (" + platform::formatShortest(v) +
                       ") lies beyond the plot's single precision, ±3.4028235e38.";
    return {};
}

// Why the plot refused a file's points, naming the file.
std::string refusal(const std::string& file, const std::string& note)
{
    std::string text;
    try {
        throw;
    } catch (const platform::DispatchException& e) {
        text = e.description().empty() ? e.what() : e.description();
    } catch (const std::exception& e) {
        text = e.what();
    }
    return "\"" + file + "\": " + text + note;
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
        const std::string note = rangeNote(p);
        p = {};
        try {
            control.invoke("AddScatterPlot", platform::InvokeKind::Method, args);
        } catch (const std::exception&) {
            throw std::runtime_error(refusal(f, note));
        }
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
