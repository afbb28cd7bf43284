// Shape libraries: a library of 1 000 entries of 10 shapes each (a framed
// box with a title bar, texts' stand-ins, lines and four link points).
//
// Targets: counting and listing the names under 5 ms; reading one entry
// under 1 ms; placing one under 2 ms; a preview tile of 64 x 64 pixels under
// 1 ms; appending an entry under 5 ms. The peer of reading an entry is
// loading the same ten shapes as a document stream.
#include "bench/BenchSupport.h"

#include "cad/io/DocumentFile.h"
#include "cad/io/LibManager.h"

#include <benchmark/benchmark.h>

using namespace mycad;

namespace {

constexpr int32_t kEntries = 1000;

/// Ten shapes of one entry, made on the library's canvas.
TArrMyShape EntryShapes(TMyCAD& cad, int32_t seed)
{
    TArrMyShape shapes;
    auto add = [&](const char* cls, float l, float t, float r, float b) {
        auto s = cad.CreateShapeByName(QString::fromLatin1(cls));
        s->ThePoints = {{l, t}, {r, t}, {r, b}, {l, b}};
        s->CenterPoint = s->ComputeCenterPoint(4);
        shapes.push_back(std::move(s));
    };
    const float w = 100.0f + float(seed % 50);
    add("TMyRectangle", 0, 0, w, 60);
    add("TMyRectangle", 0, 0, w, 12);
    add("TMyEllipse", 5, 20, 25, 40);
    add("TMyEllipse", w - 25, 20, w - 5, 40);
    add("TMyRectangle", 30, 20, w - 30, 40);
    add("TMyRectangle", 30, 45, w - 30, 55);
    add("TMyLinkPoint", w / 2 - 4, -4, w / 2 + 4, 4);
    add("TMyLinkPoint", w - 4, 26, w + 4, 34);
    add("TMyLinkPoint", w / 2 - 4, 56, w / 2 + 4, 64);
    add("TMyLinkPoint", -4, 26, 4, 34);
    return shapes;
}

TArrMyShapeRef Refs(const TArrMyShape& shapes)
{
    TArrMyShapeRef refs;
    for (const auto& s : shapes) refs.push_back(s.get());
    return refs;
}

TLibManager& Library()
{
    static TLibManager lib;
    static bool built = false;
    if (!built) {
        built = true;
        TUserData data;
        data.AddKeyandValue(u"kind"_s, u"device"_s);
        for (int32_t i = 0; i < kEntries; ++i) {
            const TArrMyShape shapes = EntryShapes(lib.Canvas(), i);
            lib.AppendNewShape(u"Entry "_s + String::number(i), Refs(shapes), data, 120, 60);
        }
    }
    return lib;
}

const String kMiddle = u"Entry 500"_s;

void BM_CountAndListNames(benchmark::State& state)
{
    TLibManager& lib = Library();
    size_t listed = 0;
    for (auto _ : state) {
        const int32_t count = lib.GetcmbShapesCount();
        const std::vector<String> names = lib.GetCmbShapesNames();
        listed = names.size() + static_cast<size_t>(count);
        benchmark::DoNotOptimize(listed);
    }
    if (listed != 2 * kEntries) state.SkipWithError("not every entry listed");
    state.SetLabel("1 000 entries, one walk each");
}
BENCHMARK(BM_CountAndListNames)->Unit(benchmark::kMillisecond);

void BM_ListNamesByPosition(benchmark::State& state)
{
    TLibManager& lib = Library();
    for (auto _ : state) {
        const int32_t count = lib.GetcmbShapesCount();
        for (int32_t i = 0; i < count; ++i) benchmark::DoNotOptimize(lib.GetCmbShapesNameByID(i));
    }
    state.SetLabel("GetCmbShapesNameByID for each of 1 000");
}
BENCHMARK(BM_ListNamesByPosition)->Unit(benchmark::kMillisecond);

void BM_ReadEntry(benchmark::State& state)
{
    TLibManager& lib = Library();
    bool ok = true;
    for (auto _ : state) {
        TArrMyPoint links;
        TUserData data;
        TArrMyShape shapes;
        int32_t w = 0;
        int32_t h = 0;
        ok = lib.GetCmbShape(kMiddle, links, data, shapes, w, h, true) && shapes.size() == 6 && ok;
    }
    if (!ok) state.SkipWithError("not read");
    state.SetLabel("the 501st of 1 000");
}
BENCHMARK(BM_ReadEntry)->Unit(benchmark::kMicrosecond);

void BM_ReadSameShapesAsDocument(benchmark::State& state)
{
    TMyCAD source;
    for (auto& s : EntryShapes(source, 500)) {
        std::unique_ptr<TMyShape> listed = std::move(s);
        source.AddShape(listed, false, false);
    }
    TMemoryStream bytes;
    SaveToStream(source, bytes);
    TMyCAD target;
    bool ok = true;
    for (auto _ : state) {
        bytes.SetPosition(0);
        ok = LoadFromStream(target, bytes) && ok;
    }
    if (!ok) state.SkipWithError("not read");
    state.SetLabel("peer: the ten shapes as a document");
}
BENCHMARK(BM_ReadSameShapesAsDocument)->Unit(benchmark::kMicrosecond);

void BM_PlaceEntry(benchmark::State& state)
{
    TLibManager& lib = Library();
    TMyCAD cad;
    int64_t placed = 0;
    for (auto _ : state) {
        if (cad.AddUserDefineShapefromLib(&lib, kMiddle, 300, 200) >= 0) ++placed;
        if (cad.GetShapesCount() > 7000) {
            state.PauseTiming();
            cad.DeleteAllShapes();
            cad.ClearAllUndoStuff();
            state.ResumeTiming();
        }
    }
    if (placed != state.iterations()) state.SkipWithError("not placed");
    state.SetLabel("a combined shape and six members, recorded for undo");
}
BENCHMARK(BM_PlaceEntry)->Unit(benchmark::kMicrosecond);

void BM_PreviewTile64(benchmark::State& state)
{
    TLibManager& lib = Library();
    TBitmap tile;
    bool ok = true;
    for (auto _ : state) ok = lib.GetCmbShapeImage(kMiddle, 64, tile, clWhite) && ok;
    if (!ok) state.SkipWithError("no tile");
    state.SetLabel("64 x 64 pixels");
}
BENCHMARK(BM_PreviewTile64)->Unit(benchmark::kMicrosecond);

void BM_AppendEntry(benchmark::State& state)
{
    TLibManager& lib = Library();
    const TArrMyShape shapes = EntryShapes(lib.Canvas(), 7);
    const TArrMyShapeRef refs = Refs(shapes);
    const std::vector<uint8_t> original = lib.LibStream.Bytes();
    TUserData data;
    bool ok = true;
    int32_t n = 0;
    for (auto _ : state) {
        ok = lib.AppendNewShape(u"Added "_s + String::number(n++), refs, data, 120, 60) && ok;
        if (n % 200 == 0) {
            state.PauseTiming();
            lib.LibStream.Clear();
            lib.LibStream.WriteBuffer(original.data(), static_cast<int64_t>(original.size()));
            state.ResumeTiming();
        }
    }
    lib.LibStream.Clear();
    lib.LibStream.WriteBuffer(original.data(), static_cast<int64_t>(original.size()));
    if (!ok) state.SkipWithError("not appended");
    state.SetLabel("10 shapes onto 1 000 entries");
}
BENCHMARK(BM_AppendEntry)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) { return bench::RunBenchmarks(argc, argv); }
