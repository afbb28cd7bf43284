// Document files on a large drawing: saving and loading 100 000 rectangles
// through memory streams, with the raw memory-copy rate of the same bytes
// for scale.
//
// Targets: saving under 100 ms, loading under 250 ms. Each benchmark reports
// bytes_per_second (the document's bytes over the time), so the three rates
// compare directly. Before timing anything the program checks that the
// drawing it loads saves back to the very same bytes.
#include "cad/canvas/MyCAD.h"
#include "bench/BenchSupport.h"
#include "cad/io/DocumentFile.h"

#include <benchmark/benchmark.h>

#include <cstring>

using namespace mycad;

namespace {

constexpr int32_t kShapes = 100000;

const TMemoryStream& SavedDrawing()
{
    static const TMemoryStream bytes = [] {
        TMemoryStream s;
        SaveToStream(*bench::RandomRectangles(kShapes), s);
        return s;
    }();
    return bytes;
}

void BM_SaveToStream(benchmark::State& state)
{
    auto cad = bench::RandomRectangles(kShapes);
    const int64_t size = SavedDrawing().Size();
    TMemoryStream s;
    s.SetSize(size); // the stream's own growth is not what is measured
    for (auto _ : state) {
        s.SetPosition(0);
        if (!SaveToStream(*cad, s)) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["shapes"] = kShapes;
}
BENCHMARK(BM_SaveToStream)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_LoadFromStream(benchmark::State& state)
{
    TMemoryStream s;
    s.LoadFromStream(const_cast<TMemoryStream&>(SavedDrawing()));
    auto cad = std::make_unique<TMyCAD>();
    for (auto _ : state) {
        if (!LoadFromStream(*cad, s)) state.SkipWithError("load failed");
        state.PauseTiming();
        // Freeing the drawing is the next load's business, not this one's.
        cad = std::make_unique<TMyCAD>();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * s.Size());
    state.counters["shapes"] = kShapes;
}
BENCHMARK(BM_LoadFromStream)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_MemoryCopy(benchmark::State& state)
{
    const TMemoryStream& source = SavedDrawing();
    std::vector<uint8_t> target(static_cast<size_t>(source.Size()));
    for (auto _ : state) {
        std::memcpy(target.data(), source.Memory(), target.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * source.Size());
}
BENCHMARK(BM_MemoryCopy)->Unit(benchmark::kMillisecond);

bool LoadedDrawingSavesTheSameBytes()
{
    TMemoryStream s;
    s.LoadFromStream(const_cast<TMemoryStream&>(SavedDrawing()));
    TMyCAD cad;
    if (!LoadFromStream(cad, s) || cad.GetShapesCount() != kShapes) return false;
    TMemoryStream again;
    return SaveToStream(cad, again) && again.Bytes() == SavedDrawing().Bytes();
}

} // namespace

int main(int argc, char** argv)
{
    return bench::RunBenchmarks(argc, argv, [] {
        if (LoadedDrawingSavesTheSameBytes()) return true;
        std::fprintf(stderr, "a loaded drawing does not save back to the same bytes\n");
        return false;
    });
}
