// Painting Bezier chains and B-splines on a TMyCAD and the same curves as
// QGraphicsPathItems on a Qt Graphics View scene, and solving a B-spline.
//
// The drawing: 1 000 B-splines through 20 points and 1 000 Bezier chains of
// 31 points (10 segments), each wandering over about 200 x 200 units inside
// a 1920 x 1080 page; one-pixel black outlines, no fill. The scene holds a
// QGraphicsPathItem per curve: a chain's cubic segments from the same
// (whole-pixel) points, and a B-spline as the cubic segments of the very
// B-spline the canvas draws (its solved control points), with a cosmetic
// one-pixel pen, aliased like the canvas.
//
// BM_PaintCurves: a full repaint of the 1920 x 1080 viewport at zoom 1. The
// canvas renders with DrawAll into its back buffer; the scene renders into a
// QImage first filled white. Both run in the same iteration; ratio = canvas /
// scene (target: at most 1).
// BM_Interpolate100: solving the B-spline through 100 points.
#include "BenchSupport.h"
#include "cad/shapes/BLine.h"
#include "cad/shapes/PolyBezier.h"

#include <QGraphicsPathItem>
#include <QGraphicsScene>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

using namespace mycad;

namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;
constexpr int32_t kEach = 1000;

struct Drawing {
    std::unique_ptr<TMyCAD> cad;
    std::unique_ptr<QGraphicsScene> scene;
};

/// A random walk of n whole-unit points starting inside the page.
TArrMyPoint Walk(std::mt19937& rng, int32_t n)
{
    std::uniform_real_distribution<double> step(-30.0, 30.0);
    double x = std::uniform_real_distribution<double>(100.0, kWidth - 300.0)(rng);
    double y = std::uniform_real_distribution<double>(100.0, kHeight - 300.0)(rng);
    TArrMyPoint points;
    for (int32_t i = 0; i < n; ++i) {
        points.push_back({static_cast<float>(std::floor(x)), static_cast<float>(std::floor(y))});
        x = std::clamp(x + step(rng) + 6.0, 20.0, kWidth - 20.0);
        y = std::clamp(y + step(rng) + 4.0, 20.0, kHeight - 20.0);
    }
    return points;
}

TMyShape* AddCurve(TMyCAD& cad, const char* className, const TArrMyPoint& points)
{
    TMyShape* s = cad.CreateAddShapeByName(QString::fromLatin1(className));
    s->ThePoints = points;
    s->CenterPoint = s->ComputeCenterPoint(4);
    s->Pen().SetColor(clBlack);
    s->Brush().SetStyle(TBrushStyle::bsClear);
    return s;
}

QPointF Q(const TMyPoint& p) { return QPointF(std::nearbyint(p.X), std::nearbyint(p.Y)); }

/// The cubic segments of the uniform B-spline the canvas draws through the points.
QPainterPath SplinePath(TMyBLine& spline)
{
    spline.LoadVertices(spline.ThePoints);
    const TSplineRow& c = spline.VertexList;
    auto mix = [](const TMyPoint& a, double wa, const TMyPoint& b, double wb, const TMyPoint& d, double wd) {
        return QPointF(wa * a.X + wb * b.X + wd * d.X, wa * a.Y + wb * b.Y + wd * d.Y);
    };
    QPainterPath path;
    path.moveTo(mix(c[0], 1.0 / 6, c[1], 4.0 / 6, c[2], 1.0 / 6));
    for (int32_t k = 1; k < spline.NoPoints; ++k) {
        const auto i = static_cast<size_t>(k);
        path.cubicTo(mix(c[i], 2.0 / 3, c[i + 1], 1.0 / 3, c[i], 0.0), mix(c[i], 1.0 / 3, c[i + 1], 2.0 / 3, c[i], 0.0),
                     mix(c[i], 1.0 / 6, c[i + 1], 4.0 / 6, c[i + 2], 1.0 / 6));
    }
    return path;
}

Drawing& TheDrawing()
{
    static Drawing d;
    if (d.cad) return d;
    d.cad = std::make_unique<TMyCAD>();
    d.scene = std::make_unique<QGraphicsScene>(0, 0, kWidth, kHeight);
    TMyCAD& cad = *d.cad;
    cad.GridOperation().SetGridType(TGridType::gNone);
    cad.SetBounds(0, 0, kWidth, kHeight);
    QPen pen(Qt::black);
    pen.setWidth(0);
    pen.setCosmetic(true);
    std::mt19937 rng(2026);
    for (int32_t i = 0; i < kEach; ++i) {
        auto* spline = static_cast<TMyBLine*>(AddCurve(cad, "TMyBLine", Walk(rng, 20)));
        d.scene->addPath(SplinePath(*spline), pen);
        const TArrMyPoint chain = Walk(rng, 31);
        AddCurve(cad, "TMyPolyBezier", chain);
        QPainterPath path;
        path.moveTo(Q(chain[0]));
        for (size_t k = 1; k + 2 < chain.size(); k += 3) path.cubicTo(Q(chain[k]), Q(chain[k + 1]), Q(chain[k + 2]));
        d.scene->addPath(path, pen);
    }
    return d;
}

void BM_PaintCurves(benchmark::State& state)
{
    Drawing& d = TheDrawing();
    bench::PaintAgainstScene(state, *d.cad, *d.scene, Rect(0, 0, kWidth, kHeight), QRectF(0, 0, kWidth, kHeight));
}
BENCHMARK(BM_PaintCurves)->Unit(benchmark::kMillisecond);

void BM_Interpolate100(benchmark::State& state)
{
    TMyCAD cad;
    TMyBLine spline(&cad);
    std::mt19937 rng(7);
    const TArrMyPoint walk = Walk(rng, kMaxBLinePoints);
    TSplineRow points{};
    for (size_t i = 0; i < walk.size(); ++i) points[i + 1] = walk[i];
    for (auto _ : state) {
        // Interpolate solves in place: each run starts from the same points.
        spline.VertexList = points;
        spline.NoPoints = kMaxBLinePoints;
        spline.Interpolate();
        benchmark::DoNotOptimize(spline.VertexList.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Interpolate100)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return mycad::bench::RunBenchmarks(argc, argv);
}
