// Painting the same drawing on a TMyCAD and on a Qt Graphics View scene.
//
// The drawing: N shapes spread over 4000 x 4000 document units, sizes 10 to
// 60: a third solid-filled rectangles, a third filled four-point polygons
// (rectangles turned by a random angle), a third lines; one-pixel black
// outlines. The scene holds the equivalent QGraphicsRectItem,
// QGraphicsPolygonItem and QGraphicsLineItem objects with the same pens and
// brushes, aliased like the canvas.
//
// Cases, each for N = 1 000, 10 000 and 100 000:
//   viewport: a 1920 x 1080 view at zoom 1 painted into an image;
//   whole:    the whole document at zoom 0.25 (1000 x 1000 pixels);
//   partial:  a 200 x 200 repaint.
// The canvas renders with DrawAll, which fills its back buffer (the image) with
// the background and draws the shapes that meet the rectangle; the scene
// renders with QGraphicsScene::render into a QImage that is first filled
// white. Both run in the same iteration; the counters are the mean times of
// each and ratio = canvas / scene. Targets: ratio at most 1 for viewport and
// whole, partial under 2 ms at N = 100 000.
#include "BenchSupport.h"
#include "cad/canvas/MyCAD.h"
#include "cad/shapes/Line.h"
#include "cad/shapes/Rectangle.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace mycad;

namespace {

constexpr double kDocument = 4000.0;

struct Drawing {
    std::unique_ptr<TMyCAD> cad;
    std::unique_ptr<QGraphicsScene> scene;
};

QColor QtColor(TColor c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

void Build(Drawing& d, int n)
{
    d.cad = std::make_unique<TMyCAD>();
    d.scene = std::make_unique<QGraphicsScene>(0, 0, kDocument, kDocument);
    TMyCAD& cad = *d.cad;
    cad.GridOperation().SetGridType(TGridType::gNone);
    cad.SetBounds(0, 0, int(kDocument), int(kDocument));
    std::mt19937 rng(12345);
    auto u = [&rng](double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(rng); };
    QPen qpen(Qt::black);
    qpen.setWidth(0);
    qpen.setCosmetic(true);
    for (int i = 0; i < n; ++i) {
        // Whole-unit positions, so both sides place every corner on the same pixel at zoom 1.
        const double x = std::floor(u(0, kDocument - 60));
        const double y = std::floor(u(0, kDocument - 60));
        const double w = std::floor(u(10, 60));
        const double h = std::floor(u(10, 60));
        const TColor fill = RGB(uint8_t(u(0, 255)), uint8_t(u(0, 255)), uint8_t(u(0, 255)));
        switch (i % 3) {
        case 0:
        case 1: {
            TMyShape* s = cad.CreateAddShapeByName(QStringLiteral("TMyRectangle"));
            s->ThePoints = {{float(x), float(y)}, {float(x + w), float(y)}, {float(x + w), float(y + h)},
                            {float(x), float(y + h)}};
            s->CenterPoint = s->ComputeCenterPoint(4);
            s->Brush().SetStyle(TBrushStyle::bsSolid);
            s->Brush().SetColor(fill);
            s->Pen().SetColor(clBlack);
            if (i % 3 == 1) s->RotateChangeValueByAngle(s->CenterPoint, u(0.1, 1.4));
            if (i % 3 == 0) {
                auto* item = d.scene->addRect(x, y, w, h, qpen, QBrush(QtColor(fill)));
                (void)item;
            } else {
                QPolygonF poly;
                for (const TMyPoint& p : s->ThePoints) poly << QPointF(std::nearbyint(p.X), std::nearbyint(p.Y));
                d.scene->addPolygon(poly, qpen, QBrush(QtColor(fill)));
            }
            break;
        }
        default: {
            const double a = u(0, 6.283);
            const double len = u(10, 60);
            const double x2 = std::floor(x + std::cos(a) * len);
            const double y2 = std::floor(y + std::sin(a) * len);
            TMyShape* s = cad.CreateAddShapeByName(QStringLiteral("TMyLine"));
            s->ThePoints = {{float(x), float(y)}, {float(x2), float(y2)}};
            s->CenterPoint = s->ComputeCenterPoint(4);
            s->Pen().SetColor(clBlack);
            d.scene->addLine(x, y, x2, y2, qpen);
            break;
        }
        }
    }
}

Drawing& DrawingFor(int n)
{
    static std::map<int, Drawing> drawings;
    Drawing& d = drawings[n];
    if (!d.cad) Build(d, n);
    return d;
}

enum class Case { Viewport, Whole, Partial };

struct CaseSetup {
    double Zoom;
    TRect Device;   // the device rectangle of the canvas
    QRectF Source;  // the scene rectangle shown
};

CaseSetup SetupOf(Case c)
{
    switch (c) {
    case Case::Viewport: return {1.0, Rect(1000, 1500, 2920, 2580), QRectF(1000, 1500, 1920, 1080)};
    case Case::Whole: return {0.25, Rect(0, 0, 1000, 1000), QRectF(0, 0, kDocument, kDocument)};
    case Case::Partial: return {1.0, Rect(2000, 2000, 2200, 2200), QRectF(2000, 2000, 200, 200)};
    }
    return {};
}

const char* NameOf(Case c)
{
    switch (c) {
    case Case::Viewport: return "viewport 1920x1080 zoom 1";
    case Case::Whole: return "whole 4000x4000 zoom 0.25";
    case Case::Partial: return "partial 200x200";
    }
    return "";
}

struct Result {
    double Ours = 0;
    double Theirs = 0;
};
std::map<std::pair<int, int>, Result> gResults;

void BM_Paint(benchmark::State& state, Case c)
{
    const int n = int(state.range(0));
    Drawing& d = DrawingFor(n);
    const CaseSetup setup = SetupOf(c);
    d.cad->SetZoom(setup.Zoom);
    const bench::TPeerTimes t = bench::PaintAgainstScene(state, *d.cad, *d.scene, setup.Device, setup.Source);
    gResults[{int(c), n}] = {t.Ours, t.Theirs};
}

void Register()
{
    for (const Case c : {Case::Viewport, Case::Whole, Case::Partial}) {
        const std::string name = std::string("BM_Paint/") + (c == Case::Viewport ? "viewport" : c == Case::Whole ? "whole" : "partial");
        benchmark::RegisterBenchmark(name.c_str(), [c](benchmark::State& s) { BM_Paint(s, c); })
            ->Arg(1000)
            ->Arg(10000)
            ->Arg(100000)
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    Register();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\n%-28s %8s %12s %12s %8s\n", "case", "N", "MyCAD ms", "QGraphics ms", "ratio");
    for (const auto& [key, r] : gResults) {
        std::printf("%-28s %8d %12.3f %12.3f %8.2f\n", NameOf(Case(key.first)), key.second, r.Ours, r.Theirs,
                    r.Theirs > 0 ? r.Ours / r.Theirs : 0.0);
    }
    return 0;
}
