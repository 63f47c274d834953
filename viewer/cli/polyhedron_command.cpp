#include "viewer/cli/polyhedron_command.h"

#include "plot/core/plot_control.h"
#include "plot/host/host_framework.h"
#include "plot/model/polyhedron_request.h"
#include "plot/model/quick_plot_builder.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <stdexcept>
#include <tuple>

namespace tavrin {

namespace {

using halvex::kaleido::Fraction;
using halvex::kaleido::Symbol;

// "pentagonal", "pentagrammic", "13-gonal".
std::string PolygonWord(Fraction f)
{
    static constexpr std::array<const char*, 13> kStem{
        "", "", "", "triangular", "square", "pentagonal", "hexagonal", "heptagonal", "octagonal", "enneagonal",
        "decagonal", "hendecagonal", "dodecagonal"};
    static constexpr std::array<const char*, 13> kStar{
        "", "", "", "", "", "pentagrammic", "", "heptagrammic", "octagrammic", "enneagrammic", "decagrammic",
        "hendecagrammic", "dodecagrammic"};
    if (f.d == 1)
        return f.n < std::int32_t(kStem.size()) ? kStem[std::size_t(f.n)] : std::to_string(f.n) + "-gonal";
    if (f.n < std::int32_t(kStar.size()) && kStar[std::size_t(f.n)][0])
        return kStar[std::size_t(f.n)];
    return std::to_string(f.n) + "/" + std::to_string(std::min(f.d, f.n - f.d)) + "-grammic";
}

// Names of the prisms and antiprisms the table does not hold; empty for
// anything else.
std::pair<std::string, std::string> DihedralNames(const Symbol& s)
{
    if (s.numbers.size() != 3)
        return {};
    const Fraction two{2, 1};
    int twos = 0;
    Fraction other = two;
    for (const Fraction& f : s.numbers)
        if (f == two)
            ++twos;
        else
            other = f;
    if (twos < 2)
        return {};
    const auto& n = s.numbers;
    if (s.bar == 2 && n[2] == two) // 2 n|2
        return {PolygonWord(other) + " prism", PolygonWord(other) + " dipyramid"};
    if (s.bar == 3) { // 2 2 n|: the prism of twice the sides
        Fraction doubled{2 * other.n, other.d};
        auto g = std::gcd(doubled.n, doubled.d);
        doubled = {doubled.n / g, doubled.d / g};
        return {PolygonWord(doubled) + " prism", PolygonWord(doubled) + " dipyramid"};
    }
    if (s.bar == 0) {
        if (2 * other.d > other.n)
            return {PolygonWord(other) + " crossed antiprism", PolygonWord(other) + " concave deltohedron"};
        return {PolygonWord(other) + " antiprism", PolygonWord(other) + " deltohedron"};
    }
    return {};
}

void Line(std::FILE* out, const std::string& name, const std::string& value)
{
    std::string line = name + "=" + value + "\n";
    std::fwrite(line.data(), 1, line.size(), out);
}

std::string Number(std::int32_t n)
{
    return n > 0 ? std::to_string(n) : std::string();
}

} // namespace

int RunPolyhedronInfo(const std::string& text, std::FILE* out, std::FILE* err)
{
    halvex::PolyhedronRequest request;
    halvex::kaleido::Polyhedron p;
    halvex::kaleido::Failure failure;
    const halvex::kaleido::Solid* solid = nullptr;
    if (halvex::ReadPolyhedronRequest(text, request, failure) &&
        halvex::kaleido::Kaleido(request.symbol, p, failure))
        solid = halvex::RequestedSolid(request, p, failure);
    if (!solid) {
        std::fprintf(err, "tavrin: %.*s\n", int(failure.message.size()), failure.message.data());
        return 1;
    }
    std::string name, dual;
    if (request.entry) {
        name = std::string(request.entry->name);
        dual = std::string(request.entry->dualName);
    } else {
        std::tie(name, dual) = DihedralNames(p.symbol);
    }
    if (request.dual)
        std::swap(name, dual);
    Line(out, "Name", name);
    Line(out, "Dual", dual);
    Line(out, "Wythoff", p.symbol.Text());
    Line(out, "Number", request.entry ? std::to_string(request.entry->number) : std::string());
    Line(out, "Coxeter", request.entry ? Number(request.entry->coxeter) : std::string());
    Line(out, "Wenninger", request.entry ? Number(request.entry->wenninger) : std::string());
    Line(out, "Vertices", std::to_string(solid->vertices.size()));
    Line(out, "Edges", std::to_string(solid->edges));
    Line(out, "Faces", std::to_string(solid->faces.size()));
    return 0;
}

void AddPolyhedronPlot(platform::Dispatch& control, const std::string& request)
{
    auto* plot = dynamic_cast<halvex::COpenGLCtrl*>(&control);
    if (!plot)
        throw std::runtime_error("the plot control is not available");
    halvex::host::HostText text(request);
    halvex::host::HostMesh list;
    list.elements.push_back(&text);
    halvex::BuildQuickPlotModel(*plot, 0, list, plot->hostFramework().values());
    halvex::CglModel* model = plot->FindModel(0);
    platform::Variant on(true);
    model->put("DrawFilledPolygons", on);
    model->put("DrawLines", on);
    plot->RecomputeViewFlags();
    plot->RefreshScene();
}

} // namespace tavrin
