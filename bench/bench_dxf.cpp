// DXF export of a large drawing: 100 000 shapes of mixed classes (lines,
// five-point polylines, rectangles, polygons, ellipses, circle and conic
// arcs, free-hand lines) spread over an A0 page.
//
// Target: the whole file composed in under 1 s. MB_per_s is the file's size
// over the time; the file benchmark adds writing it beside the target and
// renaming it. Before timing anything the program checks that every class
// of the drawing wrote its entities.
#include "bench/BenchSupport.h"
#include "cad/io/DxfExport.h"
#include "cad/shapes/Ellipse.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <random>

using namespace mycad;

namespace {

constexpr int32_t kShapes = 100000;

std::unique_ptr<TMyCAD> MixedDrawing()
{
    auto cad = std::make_unique<TMyCAD>();
    cad->SetPageStyle(TPageStyle::A0);
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> posX(0.0f, 3100.0f);
    std::uniform_real_distribution<float> posY(0.0f, 4400.0f);
    std::uniform_real_distribution<float> size(10.0f, 60.0f);
    static const char* const kClasses[] = {"TMyLine",    "TMyPolyLine", "TMyRectangle", "TMyPolygon",
                                           "TMyEllipse", "TMyElliArc",  "TMyElliArc",   "TMyFreeLine"};
    for (int32_t i = 0; i < kShapes; ++i) {
        const int32_t kind = i % 8;
        TMyShape* s = cad->CreateAddShapeByName(QString::fromLatin1(kClasses[kind]));
        const float x = posX(rng);
        const float y = posY(rng);
        const float w = size(rng);
        const float h = size(rng);
        switch (kind) {
        case 0: s->ThePoints = {{x, y}, {x + w, y + h}}; break;
        case 1:
        case 7: s->ThePoints = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}, {x + w / 2, y + h / 2}}; break;
        case 2:
        case 4: s->ThePoints = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}; break;
        case 3: s->ThePoints = {{x, y}, {x + w, y}, {x + w / 2, y + h}, {x, y}}; break;
        default:
            s->ThePoints = {{x, y}, {x + w / 2, y - h / 2}, {x + w, y}};
            dynamic_cast<TMyElliArc&>(*s).SetArcMode(kind == 5 ? TArcMode::amCircle : TArcMode::amEllipse);
            break;
        }
        s->CenterPoint = s->ComputeCenterPoint(4);
    }
    return cad;
}

TMyCAD& Drawing()
{
    static const std::unique_ptr<TMyCAD> cad = MixedDrawing();
    return *cad;
}

void Report(benchmark::State& state, size_t bytes)
{
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
    state.counters["MB_per_s"] = benchmark::Counter(double(bytes) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["file_MB"] = double(bytes) / 1e6;
    state.counters["shapes"] = kShapes;
}

void BM_DxfDocument(benchmark::State& state)
{
    TMyCAD& cad = Drawing();
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string file = DxfDocument(cad, false);
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    Report(state, bytes);
}
BENCHMARK(BM_DxfDocument)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_SaveToDxf(benchmark::State& state)
{
    TMyCAD& cad = Drawing();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("drawing.dxf"));
    for (auto _ : state) {
        if (!SaveToDxf(cad, file)) state.SkipWithError("the file could not be written");
    }
    Report(state, static_cast<size_t>(QFileInfo(file).size()));
}
BENCHMARK(BM_SaveToDxf)->Unit(benchmark::kMillisecond)->MinTime(1.0);

/// Each class of the mix writes entities (the free-hand line by design none).
bool CheckDrawing()
{
    const std::string file = DxfDocument(Drawing(), false);
    for (const char* entity : {"\r\nLINE\r\n", "\r\nPOLYLINE\r\n", "\r\nCIRCLE\r\n", "\r\nARC\r\n", "\r\nVERTEX\r\n"}) {
        if (file.find(entity) == std::string::npos) return false;
    }
    return file.size() > size_t(kShapes) * 100;
}

} // namespace

int main(int argc, char** argv) { return bench::RunBenchmarks(argc, argv, CheckDrawing); }
