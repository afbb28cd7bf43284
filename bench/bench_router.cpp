// The avoiding router on fixed drawings (see RouterScenes.h): S1 grids of
// 5 x 5 to 20 x 20 boxes with 30 to 600 random connections, S2 a corridor
// of 40 parallel connectors, S3 pockets no route reaches, S4 twenty drag
// steps of the centre box of the 10 x 10 grid. Each benchmark times a full
// routing and carries the measures of the result as counters: shape_hits,
// non_orthogonal and unreported must be 0; length_ratio is the routes'
// length over the Manhattan distance of their link points; bends, crossings
// per connector; overlaps counts overlapping collinear segment pairs; the
// drag reports the median and 95th percentile of a step and churn, the share
// of connectors not attached to the dragged box that changed on a step.
#include "bench/RouterScenes.h"
#include "cad/connectors/RouteStats.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

using namespace mycad;

namespace {

double Ms(std::chrono::steady_clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Report(benchmark::State& state, const scenes::TScene& s, double fullMs)
{
    const TRouteStats st = MeasureRoutes(s.Router);
    const std::vector<int32_t> reported = s.Router.Unroutable();
    int32_t unreported = 0;
    for (const int32_t c : s.Unreachable) unreported += std::count(reported.begin(), reported.end(), c) == 0 ? 1 : 0;
    int32_t falseReports = 0;
    for (const int32_t c : reported) falseReports += s.Unreachable.count(c) == 0 ? 1 : 0;
    const double n = st.Connectors > 0 ? st.Connectors : 1;
    state.counters["shape_hits"] = st.ShapeHits;
    state.counters["non_orthogonal"] = st.NonOrthogonal;
    state.counters["unreported"] = unreported;
    state.counters["false_unroutable"] = falseReports;
    state.counters["unroutable"] = static_cast<double>(reported.size());
    state.counters["length_ratio"] = st.ManhattanBound > 0 ? st.Length / st.ManhattanBound : 1.0;
    state.counters["bends"] = st.Bends / n;
    state.counters["crossings"] = st.Crossings / n;
    state.counters["overlaps"] = st.Overlaps;
    state.counters["full_ms"] = fullMs;
    state.counters["connectors"] = static_cast<double>(s.Router.Keys().size());
}

/// Times full routings of the scene the builder makes.
template <typename Build>
void FullRoute(benchmark::State& state, Build build)
{
    scenes::TScene s;
    build(s);
    double total = 0;
    int64_t runs = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        s.Router.RouteAll();
        total += Ms(std::chrono::steady_clock::now() - t0);
        ++runs;
    }
    Report(state, s, runs ? total / double(runs) : 0.0);
}

void BM_S1Grid(benchmark::State& state)
{
    const auto side = static_cast<int32_t>(state.range(0));
    const auto m = static_cast<int32_t>(state.range(1));
    FullRoute(state, [&](scenes::TScene& s) { scenes::Grid(s, side, side, m, 7); });
    state.SetLabel("S1 grid");
}
BENCHMARK(BM_S1Grid)->Args({5, 30})->Args({10, 150})->Args({15, 300})->Args({20, 600})->Unit(benchmark::kMillisecond);

/// The same grids with every connection between the sides of its boxes
/// that face each other, whatever lies between.
void BM_S1GridFacingSides(benchmark::State& state)
{
    const auto side = static_cast<int32_t>(state.range(0));
    const auto m = static_cast<int32_t>(state.range(1));
    FullRoute(state, [&](scenes::TScene& s) { scenes::Grid(s, side, side, m, 7, scenes::TSides::Facing); });
    state.SetLabel("S1 grid, facing sides");
}
BENCHMARK(BM_S1GridFacingSides)->Args({5, 30})->Args({10, 150})->Args({15, 300})->Args({20, 600})->Unit(benchmark::kMillisecond);

void BM_S2Corridor(benchmark::State& state)
{
    FullRoute(state, [](scenes::TScene& s) { scenes::Corridor(s); });
    state.SetLabel("S2 corridor, 40 connectors");
}
BENCHMARK(BM_S2Corridor)->Unit(benchmark::kMillisecond);

void BM_S3Pocket(benchmark::State& state)
{
    FullRoute(state, [](scenes::TScene& s) { scenes::Pockets(s, 3); });
    state.SetLabel("S3 pockets, 6 unreachable");
}
BENCHMARK(BM_S3Pocket)->Unit(benchmark::kMillisecond);

/// Each iteration: a fresh 10 x 10 / 150 grid routed in full, then the
/// centre box dragged 20 steps of (7, 5), then the full tidy-up of the
/// release. The counters describe the drawing after the last step.
void BM_S4Drag(benchmark::State& state)
{
    std::vector<double> steps;
    double churn = 0;
    int64_t churnSteps = 0;
    double full = 0;
    int64_t fulls = 0;
    scenes::TScene last;
    for (auto _ : state) {
        state.PauseTiming();
        scenes::TScene s;
        scenes::Grid(s, 10, 10, 150, 7);
        s.Router.RouteAll();
        state.ResumeTiming();
        const int32_t centre = scenes::CentreBox(10, 10);
        for (int32_t i = 0; i < 20; ++i) {
            const auto t0 = std::chrono::steady_clock::now();
            churn += scenes::DragStep(s, centre, 7, 5);
            steps.push_back(Ms(std::chrono::steady_clock::now() - t0));
            ++churnSteps;
        }
        state.PauseTiming();
        // The counters are measured on the drawing as the drag left it.
        if (fulls == 0) {
            const TRouteStats st = MeasureRoutes(s.Router);
            state.counters["drag_shape_hits"] = st.ShapeHits;
            state.counters["drag_overlaps"] = st.Overlaps;
        }
        const auto t0 = std::chrono::steady_clock::now();
        s.Router.RouteAll();
        full += Ms(std::chrono::steady_clock::now() - t0);
        ++fulls;
        state.ResumeTiming();
        if (fulls == 1) last = std::move(s);
    }
    Report(state, last, fulls ? full / double(fulls) : 0.0);
    std::sort(steps.begin(), steps.end());
    auto pct = [&](double q) { return steps.empty() ? 0.0 : steps[std::min(steps.size() - 1, size_t(q * double(steps.size())))]; };
    state.counters["drag_p50_ms"] = pct(0.5);
    state.counters["drag_p95_ms"] = pct(0.95);
    state.counters["churn"] = churnSteps ? churn / double(churnSteps) : 0.0;
    state.SetLabel("S4 drag of the centre box, 10 x 10 / 150");
}
BENCHMARK(BM_S4Drag)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
