// Connectors: a shape with 200 attached connectors dragged by the mouse
// (each move under 8 ms; the release, which moves the shape, re-routes all
// 200, records the undo step and repaints, under 30 ms), and a full repaint
// of 2 000 connectors with about 10 000 crossings with hops on and off (on
// within 2.0 of off: the crossings are found without comparing every
// segment with every other).
#include "bench/BenchSupport.h"

#include "cad/connectors/CrossingIndex.h"
#include "cad/connectors/LinkLine.h"

#include <benchmark/benchmark.h>

#include <QTest>

#include <chrono>
#include <cmath>
#include <numbers>
#include <random>

using namespace mycad;

namespace {

TMyShape* Box(TMyCAD& cad, float l, float t, float r, float b)
{
    TMyShape* s = cad.CreateAddShapeByName(QStringLiteral("TMyRectangle"));
    s->ThePoints = {{l, t}, {r, t}, {r, b}, {l, b}};
    s->CenterPoint = s->ComputeCenterPoint(4);
    s->LinkPoints = {{(l + r) / 2, t}, {r, (t + b) / 2}, {(l + r) / 2, b}, {l, (t + b) / 2}};
    return s;
}

void ShowOn(TMyCAD& cad)
{
    cad.SetPageStyle(TPageStyle::CustomerPage);
    cad.SetBounds(0, 0, 1920, 1080);
    cad.SetSnap(false);
    cad.show();
    (void)QTest::qWaitForWindowExposed(&cad);
}

/// A hub in the middle joined to 200 boxes on a ring around it.
class HubFixture {
public:
    HubFixture()
    {
        ShowOn(cad);
        hub = Box(cad, 900, 480, 1020, 600);
        for (int i = 0; i < 200; ++i) {
            const double a = 2.0 * std::numbers::pi * i / 200.0;
            const auto x = static_cast<float>(960 + 800 * std::cos(a));
            const auto y = static_cast<float>(540 + 450 * std::sin(a));
            TMyShape* leaf = Box(cad, x - 12, y - 8, x + 12, y + 8);
            cad.CreateLink(QString(), hub, i % 4, leaf, (i / 4) % 4);
        }
        cad.ClearAllUndoStuff();
        cad.SetShapeTool(TDrawTool::SpSelecting);
        cad.SelectShapeByCode(hub->ShapeId, true);
        cad.Update();
    }
    TPoint Grip() const { return MyPtToPt(hub->GetCenterPointInZoom()); }

    TMyCAD cad;
    TMyShape* hub = nullptr;
};

void BM_HubDragMove(benchmark::State& state)
{
    HubFixture f;
    bench::MeasureDragMoves(state, f.cad, f.Grip());
    state.SetLabel("a shape with 200 connectors");
}
BENCHMARK(BM_HubDragMove)->Unit(benchmark::kMillisecond);

void BM_HubDragRelease(benchmark::State& state)
{
    HubFixture f;
    bench::MeasureDragReleases(state, f.cad, [&f] { return f.Grip(); }, 9);
    state.SetLabel("move, re-route 200 connectors, undo step, repaint");
}
BENCHMARK(BM_HubDragRelease)->Unit(benchmark::kMillisecond)->Iterations(30);

/// 2 000 L-shaped connectors with legs of 30..110 pixels over the page.
class CrossingFixture {
public:
    CrossingFixture()
    {
        ShowOn(cad);
        cad.SetHotShow(false);
        std::mt19937 rng(5);
        std::uniform_real_distribution<float> x(0, 1800);
        std::uniform_real_distribution<float> y(0, 960);
        std::uniform_real_distribution<float> leg(30, 110);
        for (int i = 0; i < 2000; ++i) {
            auto line = std::make_unique<TMyLinkLine>(&cad);
            const float l = x(rng);
            const float t = y(rng);
            const float w = leg(rng);
            line->ThePoints = {{l, t}, {l + w, t}, {l + w, t + leg(rng)}};
            line->CenterPoint = line->ComputeCenterPoint(4);
            cad.AllocateShapeNoIdName(*line, true);
            std::unique_ptr<TMyShape> shape = std::move(line);
            cad.AddShape(shape, false, false);
        }
        TCrossingIndex index;
        for (const auto& s : cad.MyShapes) index.AddRoute(s->ThePoints);
        index.Build();
        std::vector<float> xs;
        for (const auto& s : cad.MyShapes) index.Crossings(s->ThePoints[0], s->ThePoints[1], xs);
        crossings = xs.size();
    }
    TMyCAD cad;
    size_t crossings = 0;
};

void PaintAll(benchmark::State& state, bool hops)
{
    CrossingFixture f;
    f.cad.SetCrossLine(hops);
    for (auto _ : state) {
        f.cad.Invalidate();
        f.cad.Update();
    }
    state.counters["crossings"] = static_cast<double>(f.crossings);
    state.SetLabel(hops ? "hops on" : "hops off");
}

void BM_PaintConnectorsHopsOff(benchmark::State& state) { PaintAll(state, false); }
BENCHMARK(BM_PaintConnectorsHopsOff)->Unit(benchmark::kMillisecond);

void BM_PaintConnectorsHopsOn(benchmark::State& state) { PaintAll(state, true); }
BENCHMARK(BM_PaintConnectorsHopsOn)->Unit(benchmark::kMillisecond);

/// Both repaints in one measurement, for the ratio.
void BM_PaintConnectorsHopsRatio(benchmark::State& state)
{
    CrossingFixture f;
    double on = 0;
    double off = 0;
    for (auto _ : state) {
        for (const bool hops : {false, true}) {
            f.cad.SetCrossLine(hops);
            const auto t0 = std::chrono::steady_clock::now();
            f.cad.Invalidate();
            f.cad.Update();
            const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            (hops ? on : off) += s;
        }
    }
    state.counters["ratio"] = off > 0 ? on / off : 0.0;
    state.counters["crossings"] = static_cast<double>(f.crossings);
}
BENCHMARK(BM_PaintConnectorsHopsRatio)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return bench::RunBenchmarks(argc, argv); }
