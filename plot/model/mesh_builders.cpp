#include "plot/model/mesh_builders.h"

#include "plot/base/plot_errors.h"
#include "plot/host/host_values.h"
#include "plot/model/model_install.h"
#include "plot/model/primitive_model.h"
#include "plot/model/surface_builder.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <vector>

namespace halvex {

namespace {

constexpr double kFloatLimit = std::numeric_limits<float>::max();
// Vertex counts beyond this are refused before anything is allocated (the
// drawing indexes vertices with 32 bits).
constexpr std::uint64_t kMaxVertices = std::uint64_t(1) << 31;

// A finite number a float can carry.
inline bool fitsFloat(double v) noexcept
{
    return std::fabs(v) <= kFloatLimit;
}

// The stride of a coordinate, checked against its array: element (i, j) at
// j × stride + i for i < rows, j < cols.
std::size_t checkedStride(const MeshCoordinate& c, std::int32_t rows, std::int32_t cols)
{
    std::size_t stride = c.stride ? c.stride : std::size_t(rows);
    if (!c.data)
        return stride;
    // (cols − 1) × stride + rows ≤ length, without overflow.
    std::size_t r = std::size_t(rows), k = std::size_t(cols - 1);
    if (r > c.length || (k > 0 && stride > (c.length - r) / k))
        raiseError(err::FailedToCreateSurface);
    return stride;
}

// The bounding record of vertices (3 floats each), vector (0, 0, 1).
BoundingRecord boundsOf(const float* xyz, std::size_t count)
{
    BoundingRecord r = BoundingRecord::empty();
    for (std::size_t k = 0; k < count; ++k)
        for (int a = 0; a < 3; ++a) {
            float v = xyz[3 * k + std::size_t(a)];
            r.min[a] = v < r.min[a] ? v : r.min[a];
            r.max[a] = v > r.max[a] ? v : r.max[a];
        }
    r.vector = {0.0f, 0.0f, 1.0f};
    return r;
}

// Fills rows × cols vertices (y, z, x) from the three coordinates.
void fillVertices(float* out, const MeshCoordinate& x, const MeshCoordinate& y, const MeshCoordinate& z,
                  std::int32_t rows, std::int32_t cols)
{
    const std::size_t sx = checkedStride(x, rows, cols), sy = checkedStride(y, rows, cols),
                      sz = checkedStride(z, rows, cols);
    bool finite = true;
    for (std::int32_t j = 0; j < cols; ++j) {
        const double* px = x.data ? x.data + std::size_t(j) * sx : nullptr;
        const double* py = y.data ? y.data + std::size_t(j) * sy : nullptr;
        const double* pz = z.data ? z.data + std::size_t(j) * sz : nullptr;
        float* v = out + 3 * std::size_t(j) * std::size_t(rows);
        for (std::int32_t i = 0; i < rows; ++i) {
            double dx = px ? px[i] : 0.0, dy = py ? py[i] : 0.0, dz = pz ? pz[i] : 0.0;
            finite &= fitsFloat(dx) && fitsFloat(dy) && fitsFloat(dz);
            v[3 * i] = float(dy);
            v[3 * i + 1] = float(dz);
            v[3 * i + 2] = float(dx);
        }
        if (!finite)
            raiseError(err::FailedToCreateSurface);
    }
}

std::unique_ptr<float[]> allocateVertices(std::uint64_t count)
{
    if (count == 0 || count > kMaxVertices)
        raiseError(err::FailedToCreateSurface);
    std::unique_ptr<float[]> v(new (std::nothrow) float[3 * std::size_t(count)]);
    if (!v)
        raiseError(err::FailedToCreateSurface);
    return v;
}

template <class Model>
platform::Ref<Model> newModel(PlotOwner& control)
{
    platform::Ref<Model> m(new (std::nothrow) Model(control.Link()));
    if (!m)
        raiseError(err::NotEnoughMemory);
    return m;
}

} // namespace

bool BuildMesh(PlotOwner& control, const MeshCoordinate& x, const MeshCoordinate& y, const MeshCoordinate& z,
               std::int32_t rows, std::int32_t cols, int modelNumber)
{
    if (rows < 1 || cols < 1)
        raiseError(err::FailedToCreateSurface);
    platform::Ref<CglModel> old(control.FindModel(modelNumber));
    platform::Ref<MeshModel> model = newModel<MeshModel>(control);
    std::uint64_t count = std::uint64_t(rows) * std::uint64_t(cols);
    std::unique_ptr<float[]> xyz = allocateVertices(count);
    fillVertices(xyz.get(), x, y, z, rows, cols);

    if (old)
        model->TakeFormat(old->format());
    model->SetRect(boundsOf(xyz.get(), std::size_t(count)));
    model->SetBarBoxValid(false);
    model->SetVertices(std::move(xyz), rows, cols);
    InstallBuiltModel(control, modelNumber, old.get(), model);
    return true;
}

bool BuildVectorField(PlotOwner& control, const double* re, const double* im, std::int32_t rows, std::int32_t cols,
                      int modelNumber, InterruptSource* interrupt)
{
    if (rows < 2 || cols < 2)
        raiseError(err::MustBeMultidimensional);
    if (!re)
        raiseError(err::FailedToCreateSurface);
    platform::Ref<CglModel> old(control.FindModel(modelNumber));
    platform::Ref<MeshModel> model = newModel<MeshModel>(control);
    std::unique_ptr<float[]> vectors = allocateVertices(std::uint64_t(rows) * std::uint64_t(cols));
    double largest = 0.0;
    for (std::int32_t j = 0; j < cols; ++j) {
        for (std::int32_t i = 0; i < rows; ++i) {
            std::size_t k = std::size_t(i) + std::size_t(j) * std::size_t(rows);
            double r = re[k], m = im ? im[k] : 0.0;
            if (!fitsFloat(r) || !fitsFloat(m))
                raiseError(err::NonScalarValue);
            vectors[3 * k] = float(m);
            vectors[3 * k + 1] = 0.0f;
            vectors[3 * k + 2] = float(r);
            const double fr = double(float(r)), fm = double(float(m));
            double length = std::sqrt(fr * fr + fm * fm);
            largest = length > largest ? length : largest;
        }
        if (interrupt && interrupt->InterruptPending())
            raiseError(err::Interrupted);
    }

    if (old)
        model->TakeFormat(old->format());
    // The grid positions, and as far as the arrows reach beyond them (an
    // arrow is at most one grid step long), so that no arrow is cut at the
    // picture's edge.
    BoundingRecord rect;
    rect.min = {0.0f, 0.0f, 0.0f};
    rect.max = {float(rows - 1), 0.0f, float(cols - 1)};
    if (largest > 0.0) {
        for (std::int32_t j = 0; j < cols; ++j)
            for (std::int32_t i = 0; i < rows; ++i) {
                std::size_t k = std::size_t(i) + std::size_t(j) * std::size_t(rows);
                // Along the vector to the tip; across it by the head's half
                // width at half the length.
                double ax = vectors[3 * k] / largest, az = vectors[3 * k + 2] / largest;
                const double reach[3][2] = {{ax, az}, {0.5 * ax - 0.16 * az, 0.5 * az + 0.16 * ax},
                                            {0.5 * ax + 0.16 * az, 0.5 * az - 0.16 * ax}};
                for (const auto& r : reach) {
                    rect.min[0] = std::min(rect.min[0], float(i + r[0]));
                    rect.max[0] = std::max(rect.max[0], float(i + r[0]));
                    rect.min[2] = std::min(rect.min[2], float(j + r[1]));
                    rect.max[2] = std::max(rect.max[2], float(j + r[1]));
                }
            }
    }
    model->SetRect(rect);
    model->SetBarBoxValid(false);
    model->SetVectors(std::move(vectors), rows, cols, largest);
    InstallBuiltModel(control, modelNumber, old.get(), model);
    return true;
}

bool BuildVolume(PlotOwner& control, const host::HostValueTable& values, const host::HostValue& element,
                 int modelNumber)
{
    // The pieces: references in a one-column list.
    auto listOf = [&](const host::HostValue& v) -> const host::HostMatrix& {
        const auto* m = v.type == host::HostValueType::Matrix ? static_cast<const host::HostMatrix*>(&v) : nullptr;
        if (!m || !m->real || m->cols != 1 || m->rows < 1)
            raiseError(err::FailedToCreateSurface);
        return *m;
    };
    auto nested = [&](double ref) -> const host::HostMatrix& {
        auto r = host::nestedReference(ref);
        const host::HostMatrix* m = r ? values.findMatrix(*r) : nullptr;
        if (!m)
            raiseError(err::FailedToCreateSurface);
        return *m;
    };
    const host::HostMatrix& pieces = listOf(element);
    const std::int32_t k = pieces.rows;
    std::int32_t rows = 0, cols = 0;
    struct Triple {
        const host::HostMatrix* c[3];
    };
    std::vector<Triple> triples;
    triples.reserve(std::size_t(k));
    for (std::int32_t p = 0; p < k; ++p) {
        const host::HostMatrix& piece = listOf(nested(pieces.real[p]));
        if (piece.rows != 3)
            raiseError(err::FailedToCreateSurface);
        Triple t;
        for (int c = 0; c < 3; ++c) {
            t.c[c] = &nested(piece.real[c]);
            if (!t.c[c]->real)
                raiseError(err::FailedToCreateSurface);
        }
        if (p == 0) {
            rows = t.c[0]->rows;
            cols = t.c[0]->cols;
        }
        for (const host::HostMatrix* m : t.c)
            if (m->rows != rows || m->cols != cols || rows < 1 || cols < 1)
                raiseError(err::FailedToCreateSurface);
        triples.push_back(t);
    }
    platform::Ref<CglModel> old(control.FindModel(modelNumber));
    platform::Ref<PrimitiveModel> model = newModel<PrimitiveModel>(control);
    const std::uint64_t perPiece = std::uint64_t(rows) * std::uint64_t(cols);
    std::unique_ptr<float[]> xyz = allocateVertices(perPiece * std::uint64_t(k));
    const std::size_t length = std::size_t(perPiece);
    for (std::int32_t p = 0; p < k; ++p) {
        const Triple& t = triples[std::size_t(p)];
        fillVertices(xyz.get() + 3 * std::size_t(p) * length, {t.c[0]->real, length, 0}, {t.c[1]->real, length, 0},
                     {t.c[2]->real, length, 0}, rows, cols);
    }

    if (old)
        model->TakeFormat(old->format());
    model->SetRect(boundsOf(xyz.get(), length * std::size_t(k)));
    model->SetBarBoxValid(false);
    model->SetPieces(std::move(xyz), rows, cols, k);
    InstallBuiltModel(control, modelNumber, old.get(), model);
    return true;
}

} // namespace halvex
