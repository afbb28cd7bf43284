// Selection operations and undo on large drawings.
//
// Targets: with 10 000 selected shapes out of 100 000, AlignLeft under 50 ms
// (its own undo step included), and recording one "ACT_CHANGE" step of them
// plus undoing it under 200 ms together, with the memory the step holds
// (step_bytes, bytes_per_shape). With UndoRedoSize 255 and 255 steps of one
// shape each on a 100 000-shape drawing, each push and each undo under 1 ms.
#include "bench/BenchSupport.h"

#include <benchmark/benchmark.h>


#include <malloc.h>

#include <random>

using namespace mycad;

namespace {

void SelectEveryTenth(TMyCAD& cad)
{
    cad.WorkingShapes.clear();
    for (size_t i = 0; i < cad.MyShapes.size(); i += 10) cad.WorkingShapes.push_back(cad.MyShapes[i].get());
}

void BM_AlignLeft(benchmark::State& state)
{
    auto cad = bench::RandomRectangles(100000);
    for (auto _ : state) {
        state.PauseTiming();
        cad->ClearAllUndoStuff();
        SelectEveryTenth(*cad);
        state.ResumeTiming();
        cad->AlignLeft();
    }
    state.SetLabel("10 000 of 100 000 selected");
}
BENCHMARK(BM_AlignLeft)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_RecordAndUndoSelection(benchmark::State& state)
{
    auto cad = bench::RandomRectangles(100000);
    double stepBytes = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        cad->ClearAllUndoStuff();
        SelectEveryTenth(*cad);
        const TArrMyShapeRef selection = cad->WorkingShapes;
        const size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        cad->PushtoUndoRedoShapeList(selection, ACT_CHANGE);
        state.PauseTiming();
        stepBytes = double(mallinfo2().uordblks - before);
        for (TMyShape* s : selection) s->DragChangeValuedxdy(5.0, 5.0);
        state.ResumeTiming();
        cad->PopFromUndoRedoShapeList();
    }
    state.counters["step_bytes"] = stepBytes;
    state.counters["bytes_per_shape"] = stepBytes / 10000.0;
}
BENCHMARK(BM_RecordAndUndoSelection)->Unit(benchmark::kMillisecond)->Iterations(10);

// A full list of 255 one-shape steps: every further push drops the oldest.
void BM_PushOneShapeStepOnFullList(benchmark::State& state)
{
    auto cad = bench::RandomRectangles(100000);
    cad->SetUndoRedoSize(255);
    std::mt19937 rng(5);
    std::uniform_int_distribution<int32_t> no(0, 99999);
    for (int i = 0; i < 255; ++i) cad->PushtoUndoRedoShapeList({cad->GetShapeByNo(no(rng))}, ACT_CHANGE);
    for (auto _ : state) cad->PushtoUndoRedoShapeList({cad->GetShapeByNo(no(rng))}, ACT_CHANGE);
    state.SetLabel("UndoRedoSize 255, 100 000 shapes");
}
BENCHMARK(BM_PushOneShapeStepOnFullList)->Unit(benchmark::kMicrosecond);

void BM_UndoOneShapeStep(benchmark::State& state)
{
    auto cad = bench::RandomRectangles(100000);
    cad->SetUndoRedoSize(255);
    std::mt19937 rng(6);
    std::uniform_int_distribution<int32_t> no(0, 99999);
    for (auto _ : state) {
        if (!cad->CanUndo()) {
            state.PauseTiming();
            for (int i = 0; i < 255; ++i) cad->PushtoUndoRedoShapeList({cad->GetShapeByNo(no(rng))}, ACT_CHANGE);
            state.ResumeTiming();
        }
        cad->PopFromUndoRedoShapeList();
    }
    state.SetLabel("UndoRedoSize 255, 100 000 shapes");
}
BENCHMARK(BM_UndoOneShapeStep)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) { return bench::RunBenchmarks(argc, argv); }
