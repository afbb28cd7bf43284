// Painting turned pictures: 50 picture shapes of 1000 x 1000 pixels, each
// turned by 30 degrees, in a 10 x 5 grid that a 1920 x 1080 view shows whole
// at zoom 0.18 (each picture 180 x 180 pixels on the screen).
//
// first_ms: the first repaint, which makes each picture's turned, adjusted
// copy; BM_Repaint: the repaints after it, which draw the kept copies
// (target: under 16 ms). kept_bytes: the memory the kept copies hold.
#include "BenchSupport.h"

#include "cad/canvas/ImageByCode.h"
#include "cad/shapes/Image.h"

#include <chrono>
#include <cmath>
#include <numbers>

using namespace mycad;

namespace {

constexpr int kPictures = 50;
constexpr int kSide = 1000;
constexpr int kViewW = 1920;
constexpr int kViewH = 1080;
constexpr double kZoom = 0.18;

struct Drawing {
    std::unique_ptr<TMyCAD> cad;
    double firstMs = 0;
};

// A picture with some structure: colour bands and a diagonal.
TBitmap MakePicture(int seed)
{
    TBitmap b(kSide, kSide, TPixelFormat::pf24bit);
    for (int y = 0; y < kSide; ++y) {
        uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < kSide; ++x) {
            row[3 * x] = static_cast<uint8_t>((x + seed * 17) & 0xFF);
            row[3 * x + 1] = static_cast<uint8_t>((y / 4) & 0xFF);
            row[3 * x + 2] = static_cast<uint8_t>(std::abs(x - y) < 20 ? 0 : 200);
        }
    }
    return b;
}

int64_t KeptBytes(const TMyCAD& cad)
{
    int64_t bytes = 0;
    for (const auto& s : cad.MyShapes) {
        if (const auto* image = dynamic_cast<const TMyImage*>(s.get())) bytes += image->KeptCopyBytes();
    }
    return bytes;
}

Drawing& TheDrawing()
{
    static Drawing d;
    if (d.cad) return d;
    d.cad = std::make_unique<TMyCAD>();
    TMyCAD& cad = *d.cad;
    cad.GridOperation().SetGridType(TGridType::gNone);
    // The page at zoom 1; the view shows all of it at the picture zoom.
    cad.SetBounds(0, 0, RoundToInt(kViewW / kZoom), RoundToInt(kViewH / kZoom));
    for (int i = 0; i < kPictures; ++i) {
        TBitmap picture = MakePicture(i);
        // 1050 units apart (189 pixels at the view's zoom); the turned
        // pictures overlap their neighbours' corners.
        const int32_t x = 330 + (i % 10) * 1050;
        const int32_t y = 330 + (i / 10) * 1050;
        AddImageShapeByCode(cad, QStringLiteral("Picture%1").arg(i), {x, y}, &picture);
        TMyShape* s = cad.MyShapes.back().get();
        s->SetCaptionShow(false);
        s->RotateChangeValueByAngle(s->ComputeCenterPoint(4), std::numbers::pi / 6);
    }
    cad.SetZoom(kZoom);
    const auto t0 = std::chrono::steady_clock::now();
    cad.DrawAll(Rect(0, 0, kViewW, kViewH));
    d.firstMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    return d;
}

void BM_Repaint(benchmark::State& state)
{
    Drawing& d = TheDrawing();
    const TRect r = Rect(0, 0, kViewW, kViewH);
    for (auto _ : state) {
        d.cad->DrawAll(r);
        benchmark::DoNotOptimize(d.cad->BackBuffer().Image().constBits());
    }
    state.counters["first_ms"] = d.firstMs;
    state.counters["kept_bytes"] = double(KeptBytes(*d.cad));
    state.counters["pictures_drawn"] = double(d.cad->ShapesDrawnLast().size());
}

BENCHMARK(BM_Repaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return mycad::bench::RunBenchmarks(argc, argv);
}
