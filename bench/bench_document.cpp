// The document model on large drawings: adding 100 000 rectangles by class
// name, the id look-ups, deleting a 10 000-shape selection, and moving the
// bottom shape to the top and the top one to the bottom.
//
// Targets: adding under 300 ms with under 1 KiB per shape (mem_per_shape),
// each look-up under 1 us, the deletion under 100 ms, each z-order move
// under 20 ms. Before timing anything the program checks, on a drawing with
// groups and links, that the one-pass deletion and z-order moves leave
// exactly the lists that deleting one shape at a time and walking
// swap by swap leave; it stops with an error when they differ.
#include "bench/BenchSupport.h"

#include <benchmark/benchmark.h>


#include <malloc.h>

#include <cstdio>
#include <random>
#include <tuple>

using namespace mycad;

namespace {

const String kRectangle = QStringLiteral("TMyRectangle");

/// Every group of `span` consecutive top-level shapes below `limit` joins the
/// group shape that follows them, and each group links to the shape after it:
/// the relations deletion and reordering must renumber.
void AddRelations(TMyCAD& cad, int32_t span, int32_t limit)
{
    for (int32_t g = span; g < limit && g + 1 < cad.GetShapesCount(); g += span + 2) {
        TMyShape& group = *cad.MyShapes[size_t(g)];
        for (int32_t m = g - span; m < g; ++m) {
            group.ChildShapesNo.push_back(uint32_t(m));
            cad.MyShapes[size_t(m)]->ParentShapeNo = g;
        }
        group.LinkShapesNo.push_back(uint32_t(g + 1));
        cad.MyShapes[size_t(g + 1)]->LinkShapesNo.push_back(uint32_t(g));
    }
}

using Relations = std::tuple<int32_t, int32_t, int32_t, TMyShapeNo, TMyShapeNo>;

std::vector<Relations> Lists(const TMyCAD& cad)
{
    std::vector<Relations> out;
    out.reserve(cad.MyShapes.size());
    for (const auto& s : cad.MyShapes)
        out.emplace_back(s->ShapeId, s->ShapeNo, s->ParentShapeNo, s->ChildShapesNo, s->LinkShapesNo);
    return out;
}

/// Every k-th top-level shape, in list order.
void SelectEvery(TMyCAD& cad, int32_t k, int32_t count)
{
    cad.WorkingShapes.clear();
    for (const auto& s : cad.MyShapes) {
        if (int32_t(cad.WorkingShapes.size()) == count) break;
        if (s->ParentShapeNo < 0 && s->ShapeNo % k == 0) cad.WorkingShapes.push_back(s.get());
    }
}

bool FastPathsAgree()
{
    constexpr int32_t kShapes = 3000;
    bool ok = true;
    auto report = [&ok](const char* what, bool same) {
        std::printf("%-44s %s\n", what, same ? "same lists" : "DIFFERENT LISTS");
        ok = ok && same;
    };

    {
        auto fast = bench::RandomRectangles(kShapes);
        auto slow = bench::RandomRectangles(kShapes);
        AddRelations(*fast, 4, kShapes);
        AddRelations(*slow, 4, kShapes);
        SelectEvery(*fast, 3, 500);
        std::vector<int32_t> ids;
        for (TMyShape* s : fast->WorkingShapes) ids.push_back(s->ShapeId);
        fast->DeleteSelectedShapes();
        for (int32_t id : ids) slow->DeleteShapeById(id, false);
        report("DeleteSelectedShapes vs one by one", Lists(*fast) == Lists(*slow));
    }
    for (bool toFront : {true, false}) {
        auto fast = bench::RandomRectangles(kShapes);
        auto slow = bench::RandomRectangles(kShapes);
        AddRelations(*fast, 3, kShapes);
        AddRelations(*slow, 3, kShapes);
        // The moved shape is a group, so its members stay where they are.
        const int32_t moved = toFront ? 3 : 3 * 5 * 5 - 2;
        if (toFront) {
            fast->BringToFront(fast->MyShapes[size_t(moved)].get(), false);
            TMyShape* s = slow->MyShapes[size_t(moved)].get();
            while (TMyShape* next = slow->GetNextSingleorRootShape(s->ShapeNo)) slow->SwapShape(s, next);
        } else {
            fast->SendToBack(fast->MyShapes[size_t(moved)].get(), false);
            TMyShape* s = slow->MyShapes[size_t(moved)].get();
            while (TMyShape* prev = slow->GetPrevSingleorRootShape(s->ShapeNo)) slow->SwapShape(s, prev);
        }
        report(toFront ? "BringToFront vs swap by swap" : "SendToBack vs swap by swap",
               Lists(*fast) == Lists(*slow));
    }
    return ok;
}

void BM_AddRectangles(benchmark::State& state)
{
    const auto n = int32_t(state.range(0));
    double bytes = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        auto cad = std::make_unique<TMyCAD>();
        const size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        for (int32_t i = 0; i < n; ++i) benchmark::DoNotOptimize(cad->CreateAddShapeByName(kRectangle));
        state.PauseTiming();
        bytes = double(mallinfo2().uordblks - before);
        cad.reset();
        state.ResumeTiming();
    }
    state.counters["mem_per_shape"] = bytes / n;
}
BENCHMARK(BM_AddRectangles)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_GetShapeByID(benchmark::State& state)
{
    auto cad = bench::RandomRectangles(100000);
    std::mt19937 rng(3);
    std::uniform_int_distribution<int32_t> id(0, 99999);
    for (auto _ : state) benchmark::DoNotOptimize(cad->GetShapeByID(id(rng)));
}
BENCHMARK(BM_GetShapeByID)->Unit(benchmark::kNanosecond);

void BM_GetShapeNoById(benchmark::State& state)
{
    auto cad = bench::RandomRectangles(100000);
    std::mt19937 rng(5);
    std::uniform_int_distribution<int32_t> id(0, 99999);
    for (auto _ : state) benchmark::DoNotOptimize(cad->GetShapeNoById(id(rng)));
}
BENCHMARK(BM_GetShapeNoById)->Unit(benchmark::kNanosecond);

void BM_DeleteSelectedShapes(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto cad = bench::RandomRectangles(100000);
        SelectEvery(*cad, 10, 10000);
        state.ResumeTiming();
        benchmark::DoNotOptimize(cad->DeleteSelectedShapes());
        state.PauseTiming();
        if (cad->GetShapesCount() != 90000) state.SkipWithError("wrong number of shapes left");
        cad.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteSelectedShapes)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ZOrder(benchmark::State& state)
{
    const bool toFront = state.range(0) == 1;
    auto cad = bench::RandomRectangles(100000);
    for (auto _ : state) {
        if (toFront) {
            cad->BringToFront(cad->MyShapes.front().get(), false);
        } else {
            cad->SendToBack(cad->MyShapes.back().get(), false);
        }
    }
    state.SetLabel(toFront ? "BringToFront(bottom)" : "SendToBack(top)");
}
BENCHMARK(BM_ZOrder)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return bench::RunBenchmarks(argc, argv, FastPathsAgree); }
