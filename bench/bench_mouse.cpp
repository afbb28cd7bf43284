// Dragging a selection of 1 000 shapes with the mouse on a 1920 x 1080
// control: each move erases and redraws every outline (target under 8 ms);
// the release moves the shapes, records the undo step, runs the re-routing
// hooks and repaints (target under 30 ms).
#include "bench/BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QTest>

#include <random>

using namespace mycad;

namespace {

class DragFixture {
public:
    DragFixture()
    {
        cad.SetPageStyle(TPageStyle::CustomerPage);
        cad.SetBounds(0, 0, 1920, 1080);
        cad.SetSnap(false);
        cad.show();
        (void)QTest::qWaitForWindowExposed(&cad);
        std::mt19937 rng(9);
        std::uniform_real_distribution<float> x(0.0f, 1800.0f);
        std::uniform_real_distribution<float> y(0.0f, 1000.0f);
        std::uniform_real_distribution<float> size(10.0f, 60.0f);
        for (int i = 0; i < 1000; ++i) {
            TMyShape* s = cad.CreateAddShapeByName(QStringLiteral("TMyRectangle"));
            const float l = x(rng);
            const float t = y(rng);
            const float w = size(rng);
            const float h = size(rng);
            s->ThePoints = {{l, t}, {l + w, t}, {l + w, t + h}, {l, t + h}};
            s->CenterPoint = s->ComputeCenterPoint(4);
        }
        // Two rows of rectangles that the press can hit, the rest random.
        cad.SetShapeTool(TDrawTool::SpSelecting);
        cad.SelectAllShapes();
        cad.Update();
    }
    TPoint Grip()
    {
        const TMyShape* s = cad.WorkingShapes.front();
        return MyPtToPt(s->GetCenterPointInZoom());
    }
    TMyCAD cad;
};

void BM_DragMove(benchmark::State& state)
{
    DragFixture f;
    bench::MeasureDragMoves(state, f.cad, f.Grip());
    state.SetLabel("1 000 selected outlines");
}
BENCHMARK(BM_DragMove)->Unit(benchmark::kMillisecond);

void BM_DragRelease(benchmark::State& state)
{
    DragFixture f;
    bench::MeasureDragReleases(state, f.cad, [&f] { return f.Grip(); }, 7);
    state.SetLabel("move, undo step, hooks and repaint of 1 000 shapes");
}
BENCHMARK(BM_DragRelease)->Unit(benchmark::kMillisecond)->Iterations(30);

} // namespace

int main(int argc, char** argv) { return bench::RunBenchmarks(argc, argv); }
