// DXF export of a large drawing: 100 000 shapes of every class that writes
// entities (lines, five-point polylines, rectangles, polygons, ellipses,
// circle and conic arcs, connectors, junction dots, Bezier chains, text
// boxes with one and with three lines) and free-hand lines, which write
// none, spread over an A0 page.
//
// Target: the whole file composed in under 1 s. Times are wall-clock;
// MB_per_s is the file's size over that time. BM_DxfComposed hands the
// pieces to a sink that keeps nothing; BM_SaveToDxf adds writing them beside
// the target, syncing them to the disk and renaming the file. The peer,
// BM_PrintfPeer, prints the very same lines with fprintf into a file: every
// value the export wrote for the first tenth of the drawing, numbers through
// "%.15g", group codes and names through "%s"; compare the rates. Before
// timing anything the program checks that every class of the drawing wrote
// its entities.
#include "bench/BenchSupport.h"
#include "cad/io/DxfExport.h"
#include "cad/shapes/Ellipse.h"
#include "cad/shapes/Text.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sys/resource.h>

using namespace mycad;

namespace {

constexpr int32_t kShapes = 100000;

std::unique_ptr<TMyCAD> MixedDrawing(int32_t shapes)
{
    auto cad = std::make_unique<TMyCAD>();
    cad->SetPageStyle(TPageStyle::A0);
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> posX(0.0f, 3100.0f);
    std::uniform_real_distribution<float> posY(0.0f, 4400.0f);
    std::uniform_real_distribution<float> size(10.0f, 60.0f);
    static const char* const kClasses[] = {"TMyLine",     "TMyPolyLine",     "TMyRectangle",  "TMyPolygon",
                                           "TMyEllipse",  "TMyElliArc",      "TMyElliArc",    "TMyFreeLine",
                                           "TMyLinkLine", "TMyLineLinkLine", "TMyPolyBezier", "TMyText",
                                           "TMyText"};
    constexpr int32_t kKinds = sizeof(kClasses) / sizeof(kClasses[0]);
    for (int32_t i = 0; i < shapes; ++i) {
        const int32_t kind = i % kKinds;
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
        case 4:
        case 11:
        case 12: s->ThePoints = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}; break;
        case 3: s->ThePoints = {{x, y}, {x + w, y}, {x + w / 2, y + h}, {x, y}}; break;
        case 8: s->ThePoints = {{x, y}, {x + w, y}, {x + w, y + h}}; break;
        case 9: s->ThePoints = {{x, y}, {x + 8, y}, {x + 8, y + 8}, {x, y + 8}}; break;
        case 10: s->ThePoints = {{x, y}, {x + w / 3, y - h}, {x + 2 * w / 3, y - h}, {x + w, y}}; break;
        default:
            s->ThePoints = {{x, y}, {x + w / 2, y - h / 2}, {x + w, y}};
            dynamic_cast<TMyElliArc&>(*s).SetArcMode(kind == 5 ? TArcMode::amCircle : TArcMode::amEllipse);
            break;
        }
        if (kind == 11) s->SetInfo(QStringLiteral("Part %1").arg(i));
        if (kind == 12) {
            dynamic_cast<TMyText&>(*s).Lines().SetText(QStringLiteral("Pump %1\nvalve\nline").arg(i));
        }
        s->CenterPoint = s->ComputeCenterPoint(4);
    }
    return cad;
}

TMyCAD& Drawing()
{
    static const std::unique_ptr<TMyCAD> cad = MixedDrawing(kShapes);
    return *cad;
}

/// The first tenth of the same drawing, for the peer: its lines are kept in
/// memory, and a tenth of them is plenty to measure its rate.
TMyCAD& PeerDrawing()
{
    static const std::unique_ptr<TMyCAD> cad = MixedDrawing(kShapes / 10);
    return *cad;
}

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void Report(benchmark::State& state, size_t bytes, int32_t shapes = kShapes)
{
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
    state.counters["MB_per_s"] = benchmark::Counter(double(bytes) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["file_MB"] = double(bytes) / 1e6;
    state.counters["shapes"] = shapes;
    state.counters["peak_RSS_MB"] = PeakMegabytes();
}

void BM_DxfComposed(benchmark::State& state)
{
    TMyCAD& cad = Drawing();
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        WriteDxf(cad, false, [&bytes](std::string_view piece) {
            bytes += piece.size();
            benchmark::DoNotOptimize(piece.data());
            return true;
        });
    }
    Report(state, bytes);
}
BENCHMARK(BM_DxfComposed)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

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
BENCHMARK(BM_SaveToDxf)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

/// One line of the file: a number to print, or text (NUL-ended in the
/// file's copy) to print as it is.
struct TPeerLine {
    double Number;
    const char* Text;
};

/// The lines of the peer drawing's file, numbers parsed, so the peer prints
/// the same values the export wrote.
const std::vector<TPeerLine>& PeerLines()
{
    static std::string file = DxfDocument(PeerDrawing(), false);
    static const std::vector<TPeerLine> lines = [] {
        std::vector<TPeerLine> out;
        size_t start = 0;
        bool value = false;
        while (start < file.size()) {
            const size_t eol = file.find("\r\n", start);
            file[eol] = '\0';
            const char* text = file.data() + start;
            start = eol + 2;
            char* end = nullptr;
            const double number = std::strtod(text, &end);
            // Values that are numbers, but not the literal "0.0" of z or the
            // integers of codes and handles, which are text to fprintf too.
            const bool isNumber = value && *text != '\0' && *end == '\0' && std::strcmp(text, "0.0") != 0 &&
                                  std::strpbrk(text, ".E") != nullptr;
            out.push_back({number, isNumber ? nullptr : text});
            value = !value;
        }
        return out;
    }();
    return lines;
}

void BM_PrintfPeer(benchmark::State& state)
{
    const std::vector<TPeerLine>& lines = PeerLines();
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("peer.dxf")).toStdString();
    size_t bytes = 0;
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) {
            state.SkipWithError("the peer's file could not be opened");
            break;
        }
        for (const TPeerLine& l : lines) {
            if (l.Text) {
                std::fprintf(f, "%s\r\n", l.Text);
            } else {
                std::fprintf(f, "%.15g\r\n", l.Number);
            }
        }
        bytes = static_cast<size_t>(std::ftell(f));
        std::fclose(f);
    }
    Report(state, bytes, kShapes / 10);
}
BENCHMARK(BM_PrintfPeer)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

/// Each class of the mix writes entities (the free-hand line by design none).
bool CheckDrawing()
{
    const std::string file = DxfDocument(PeerDrawing(), false);
    for (const char* entity : {"\r\nLINE\r\n", "\r\nPOLYLINE\r\n", "\r\nCIRCLE\r\n", "\r\nARC\r\n", "\r\nVERTEX\r\n",
                               "\r\nTEXT\r\n", "\r\nPart 11\r\n", "\r\nvalve\r\n"}) {
        if (file.find(entity) == std::string::npos) return false;
    }
    return file.size() > size_t(kShapes / 10) * 100;
}

} // namespace

int main(int argc, char** argv) { return bench::RunBenchmarks(argc, argv, CheckDrawing); }
