// Time of each ordering over 4096 paths on the real host's document: scattered squares for
// the object, vector and cutter orders, and one cluster of overlapping squares for the
// cutter order.
#include "plugin/conversion/art_lists.h"
#include "host/suites/art_suites.h"
#include "host/document/document.h"
#include "plugin/hpgl/geometry.h"
#include "host/session/host_session.h"
#include "plugin/conversion/output_ordering.h"
#include "plugin/entry/plugin_globals.h"
#include "host/suites/real_math_suite.h"
#include "plugin/entry/suite_table.h"
#include "host/suites/user_suite.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int kSide = 64;  // 64 x 64 = 4096 paths

struct Scene {
    std::unique_ptr<host::Document> doc;
    std::unique_ptr<PluginGlobals> globals;
    PlotSettings settings{};
};

// Squares of size on a grid of step, listed in a scrambled order.
void BuildScene(Scene& scene, double step, double size)
{
    using namespace host;
    sAIArt = HostArtSuite();
    sAIPath = HostPathSuite();
    sAIRealMath = HostRealMathSuite();
    sAIDocument = HostDocumentSuite();
    sAIUser = HostUserSuite();
    SetCancelAfterChecks(0);
    scene.globals = std::make_unique<PluginGlobals>();
    g = scene.globals.get();
    g->pPlotSettings = &scene.settings;
    AllocateArtLists();
    scene.doc = std::make_unique<Document>();
    TheSession().document = scene.doc.get();
    Layer* layer = nullptr;
    InsertLayer(*scene.doc, nullptr, Placement::BelowAll, &layer);
    scene.doc->currentLayer = layer;
    const int n = kSide * kSide;
    for (int k = 0; k < n; ++k) {
        int cell = (k * 2749) % n;  // 2749 is prime to 4096: every cell once
        double h = (cell % kSide) * step;
        double v = (cell / kSide) * step;
        Art* art = nullptr;
        NewArt(*scene.doc, ArtType::Path, Placement::InsideOnBottom, layer->group, &art);
        SetPathSegments(art, {AIPathSegment{{h, v}, {h, v}, {h, v}, 1},
                              AIPathSegment{{h + size, v}, {h + size, v}, {h + size, v}, 1},
                              AIPathSegment{{h + size, v + size}, {h + size, v + size}, {h + size, v + size}, 1},
                              AIPathSegment{{h, v + size}, {h, v + size}, {h, v + size}, 1}});
        SetPathClosed(art, true);
        AddArtEntry(g->pMainArtList, ToHandle(art), 0, nullptr);
    }
}

void FreeScene(Scene& scene)
{
    FreeArtLists();
    g = nullptr;
    host::TheSession().document = nullptr;
    scene.doc.reset();
}

template <typename Run>
void Order(benchmark::State& state, double step, double size, Run run)
{
    for (auto _ : state) {
        state.PauseTiming();
        Scene scene;
        BuildScene(scene, step, size);
        state.ResumeTiming();
        benchmark::DoNotOptimize(run());
        state.PauseTiming();
        if (g->pMainArtList->iCount != kSide * kSide) state.SkipWithError("rows were lost");
        FreeScene(scene);
        state.ResumeTiming();
    }
}

void ObjectSort(benchmark::State& state)
{
    Order(state, 10, 5, [] { return SortByOriginDistance(g->pMainArtList); });
}
void VectorSort(benchmark::State& state)
{
    Order(state, 10, 5, [] { return SortByNearestNeighbour(g->pMainArtList); });
}
void CutterOrderScattered(benchmark::State& state)
{
    Order(state, 10, 5, [] { return SortCutObjects(); });
}
void CutterOrderOneCluster(benchmark::State& state)
{
    Order(state, 4, 5, [] { return SortCutObjects(); });
}

}  // namespace

BENCHMARK(ObjectSort)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(VectorSort)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(CutterOrderScattered)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(CutterOrderOneCluster)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
