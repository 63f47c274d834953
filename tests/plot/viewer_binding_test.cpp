// The viewer's road to the plot: a data file read into a visualization
// matrix, handed to the real control made through the class registry by
// its class identifier, by dispatch identifier only, as the main window
// does (RemoveSurfaces, then AddSurface).
#include "tests/plot/plot_test_support.h"

#include "platform/automation/class_registry.h"
#include "plot/core/plot_control.h"
#include "plot/core/plot_ids.h"
#include "plot/core/plot_registration.h"
#include "plot/model/surface_model.h"
#include "viewer/data/matrix_builder.h"

using namespace plottest;

namespace {

constexpr platform::DispId kRemoveSurfaces = 66;
constexpr platform::DispId kAddSurface = 73;
constexpr platform::DispId kModel = 77;

class ViewerBinding : public PlotTest {
protected:
    tavrin::VisualizationMatrix matrixOf(const std::string& text, tavrin::IndexRect rect)
    {
        std::string path = config.write("points.txt", text);
        tavrin::MatrixSettings settings;
        settings.rect = rect;
        auto m = tavrin::BuildMatrix(tavrin::DataLines::fromFile(path), settings);
        if (!m)
            throw std::runtime_error("no matrix");
        return std::move(*m);
    }
    static const halvex::BoundingRecord& rectOf(Dispatch& control, int n)
    {
        std::vector<Variant> arg = {Variant(n)};
        Variant model = control.invoke(kModel, platform::InvokeKind::Method, arg);
        return dynamic_cast<halvex::CglModel&>(*model.dispatch()).Rect();
    }
};

TEST_F(ViewerBinding, MatrixFromADataFileBecomesTheSurface)
{
    Ref<Dispatch> plot = platform::ClassRegistry::instance().create(halvex::kPlotClassId);
    ASSERT_TRUE(plot);

    // X over -2..3 (6 indices), Y over -1..2 (4). Unscaled, the smallest X
    // and Y land on index 0, which is element 2 along X and 1 along Y.
    tavrin::VisualizationMatrix m = matrixOf("1 1 10\r\n2 2 -20\r\n3 3 30\r\n", {-2, 3, -1, 2});
    ASSERT_EQ(m.width(), 6u);
    ASSERT_EQ(m.height(), 4u);

    std::vector<Variant> none;
    plot->invoke(kRemoveSurfaces, platform::InvokeKind::Method, none);
    std::vector<Variant> args = {m.toVariant()};
    Variant result = plot->invoke(kAddSurface, platform::InvokeKind::Method, args);
    EXPECT_FALSE(result.toBool());

    // X runs along display z (rows), Y along display x (columns), Z up.
    const halvex::BoundingRecord& rect = rectOf(*plot, 0);
    EXPECT_EQ(rect.min, (std::array<float, 3>{0, -20, 0}));
    EXPECT_EQ(rect.max, (std::array<float, 3>{3, 30, 5}));
    auto& surface = *dynamic_cast<halvex::COpenGLCtrl&>(*plot).FindModel(0)->AsSurface();
    EXPECT_EQ(surface.GetVertex(2, 1)[1], 10.0f);
    EXPECT_EQ(surface.GetVertex(3, 2)[1], -20.0f);
    EXPECT_EQ(surface.GetVertex(4, 3)[1], 30.0f);
    EXPECT_EQ(surface.GetVertex(0, 0)[1], 0.0f);

    // The next show replaces it, under the same number.
    tavrin::VisualizationMatrix second = matrixOf("0 0 1\n", {0, 0, 0, 0});
    plot->invoke(kRemoveSurfaces, platform::InvokeKind::Method, none);
    args = {second.toVariant()};
    plot->invoke(kAddSurface, platform::InvokeKind::Method, args);
    EXPECT_EQ(rectOf(*plot, 0).max, (std::array<float, 3>{0, 1, 0}));
    EXPECT_EQ(get(*plot, "NumberOfModels").toInt32(), 1);
}

} // namespace
