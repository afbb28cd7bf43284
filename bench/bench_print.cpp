// Pages of 10 000 shapes: previews, and the page written as SVG, PDF and
// WMF.
//
// The drawing: an A4 page holding 10 000 filled rectangles of random size
// 10 to 60, with a head and a border. Cases and their targets:
//   preview:        PrintPreview at zoom 4 (3175 x 4490 pixels), under 500 ms;
//   preview_lowmem: PrintPreviewLowMem at zoom 8 with at most 2000 x 2000
//                   pixels; bitmap_bytes stays 2000 x 2000 x 4;
//   svg, pdf, wmf:  SaveToSvg, SaveToPdf, SaveToWmf of the page, each under
//                   1 s; file_bytes is the file's size.
// pdf also draws the same rectangles with a bare QPainter onto a QPdfWriter
// in the same iteration, the least any PDF of them costs: ratio = ours /
// bare painter.
#include "BenchSupport.h"

#include "cad/io/Printing.h"
#include "cad/io/VectorExport.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <chrono>
#include <random>

using namespace mycad;

namespace {

constexpr int kShapes = 10000;

struct Box {
    float l, t, r, b;
};

std::vector<Box> Boxes()
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> x(0.0f, 730.0f);
    std::uniform_real_distribution<float> y(0.0f, 1060.0f);
    std::uniform_real_distribution<float> size(10.0f, 60.0f);
    std::vector<Box> boxes;
    for (int i = 0; i < kShapes; ++i) {
        const float l = x(rng);
        const float t = y(rng);
        boxes.push_back({l, t, l + size(rng), t + size(rng)});
    }
    return boxes;
}

TMyCAD& Page()
{
    static std::unique_ptr<TMyCAD> cad = [] {
        auto c = std::make_unique<TMyCAD>();
        int i = 0;
        for (const Box& b : Boxes()) {
            TMyShape* s = c->CreateAddShapeByName(QStringLiteral("TMyRectangle"));
            s->ThePoints = {{b.l, b.t}, {b.r, b.t}, {b.r, b.b}, {b.l, b.b}};
            s->CenterPoint = s->ComputeCenterPoint(4);
            s->Brush().SetColor(TColor(0x204080 + 0x010203 * (i++ % 50)));
            s->SetCaptionShow(false);
        }
        c->SetPageHead(QStringLiteral("Ten thousand boxes"));
        c->SetPrintABorder(true);
        return c;
    }();
    return *cad;
}

void BM_Preview(benchmark::State& state)
{
    TMyCAD& cad = Page();
    TBitmap bitmap;
    for (auto _ : state) {
        PrintPreview(cad, {}, bitmap, 4.0);
        benchmark::DoNotOptimize(bitmap.ScanLine(0));
    }
    state.counters["width"] = bitmap.Width();
    state.counters["height"] = bitmap.Height();
}
BENCHMARK(BM_Preview)->Unit(benchmark::kMillisecond);

void BM_PreviewLowMem(benchmark::State& state)
{
    TMyCAD& cad = Page();
    TBitmap bitmap;
    for (auto _ : state) {
        PrintPreviewLowMem(cad, {}, bitmap, 2000, 2000, 8.0);
        benchmark::DoNotOptimize(bitmap.ScanLine(0));
    }
    state.counters["bitmap_bytes"] = double(bitmap.Image().sizeInBytes());
}
BENCHMARK(BM_PreviewLowMem)->Unit(benchmark::kMillisecond);

void BM_Export(benchmark::State& state, bool (*save)(TMyCAD&, const String&), const char* extension)
{
    TMyCAD& cad = Page();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("page.") + QLatin1String(extension));
    for (auto _ : state) {
        if (!save(cad, file)) state.SkipWithError("the file was not written");
    }
    state.counters["file_bytes"] = double(QFileInfo(file).size());
}
BENCHMARK_CAPTURE(BM_Export, svg, &SaveToSvg, "svg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, wmf, &SaveToWmf, "wmf")->Unit(benchmark::kMillisecond);

void BM_ExportPdf(benchmark::State& state)
{
    TMyCAD& cad = Page();
    const std::vector<Box> boxes = Boxes();
    QTemporaryDir dir;
    const QString ours = dir.filePath(QStringLiteral("ours.pdf"));
    const QString bare = dir.filePath(QStringLiteral("bare.pdf"));
    using Clock = std::chrono::steady_clock;
    double oursSeconds = 0;
    double bareSeconds = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        if (!SaveToPdf(cad, ours)) state.SkipWithError("the file was not written");
        const auto t1 = Clock::now();
        {
            QPdfWriter writer(bare);
            writer.setResolution(1200);
            writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
            QPainter p(&writer);
            p.scale(1200.0 / 96.0, 1200.0 / 96.0);
            p.setPen(QPen(Qt::black, 1));
            int i = 0;
            for (const Box& b : boxes) {
                p.setBrush(QColor::fromRgb(0x804020 + 0x030201 * (i++ % 50)));
                p.drawRect(QRectF(b.l, b.t, b.r - b.l, b.b - b.t));
            }
        }
        const auto t2 = Clock::now();
        oursSeconds += std::chrono::duration<double>(t1 - t0).count();
        bareSeconds += std::chrono::duration<double>(t2 - t1).count();
    }
    state.counters["file_bytes"] = double(QFileInfo(ours).size());
    state.counters["ratio"] = bareSeconds > 0 ? oursSeconds / bareSeconds : 0;
}
BENCHMARK(BM_ExportPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return mycad::bench::RunBenchmarks(argc, argv);
}
