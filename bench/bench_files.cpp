// Document files on a large drawing: saving and loading 100 000 rectangles
// through memory streams, with the raw memory-copy rate of the same bytes
// for scale.
//
// Targets: saving under 100 ms, loading under 250 ms. Each benchmark reports
// bytes_per_second (the document's bytes over the time), so the three rates
// compare directly. Before timing anything the program checks that the
// drawing it loads saves back to the very same bytes.
#include "cad/canvas/MyCAD.h"
#include "cad/io/DocumentFile.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstring>
#include <random>

using namespace mycad;

namespace {

constexpr int32_t kShapes = 100000;

/// A canvas with n named rectangles of random size spread over 4000 x 4000,
/// the drawing a user builds: captions, a text anchor, four points each.
std::unique_ptr<TMyCAD> MakeDrawing(int32_t n)
{
    auto cad = std::make_unique<TMyCAD>();
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> pos(0.0f, 4000.0f);
    std::uniform_real_distribution<float> size(10.0f, 60.0f);
    for (int32_t i = 0; i < n; ++i) {
        TMyShape* s = cad->CreateAddShapeByName(QStringLiteral("TMyRectangle"));
        const float x = pos(rng);
        const float y = pos(rng);
        const float r = x + size(rng);
        const float b = y + size(rng);
        s->ThePoints = {{x, y}, {r, y}, {r, b}, {x, b}};
        s->CenterPoint = s->ComputeCenterPoint(4);
        s->TextOutPoint = {s->CenterPoint.X, b + 10.0f};
    }
    return cad;
}

const TMemoryStream& SavedDrawing()
{
    static const TMemoryStream bytes = [] {
        TMemoryStream s;
        SaveToStream(*MakeDrawing(kShapes), s);
        return s;
    }();
    return bytes;
}

void BM_SaveToStream(benchmark::State& state)
{
    auto cad = MakeDrawing(kShapes);
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!LoadedDrawingSavesTheSameBytes()) {
        std::fprintf(stderr, "a loaded drawing does not save back to the same bytes\n");
        return 2;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
