// What the benchmark programs share: the drawing they measure on, and a main
// that runs them with a QApplication on the offscreen platform.
#pragma once

#include "cad/canvas/MyCAD.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <functional>
#include <random>

namespace mycad::bench {

/// Appends n rectangles of random size 10..60 spread over 4000 x 4000
/// document units, as a user draws them: four points, centre, text anchor,
/// numbered and named by the canvas. The same seed gives the same drawing.
inline void AddRandomRectangles(TMyCAD& cad, int32_t n, uint32_t seed = 11)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> pos(0.0f, 4000.0f);
    std::uniform_real_distribution<float> size(10.0f, 60.0f);
    for (int32_t i = 0; i < n; ++i) {
        TMyShape* s = cad.CreateAddShapeByName(QStringLiteral("TMyRectangle"));
        const float x = pos(rng);
        const float y = pos(rng);
        const float r = x + size(rng);
        const float b = y + size(rng);
        s->ThePoints = {{x, y}, {r, y}, {r, b}, {x, b}};
        s->CenterPoint = s->ComputeCenterPoint(4);
        s->TextOutPoint = {s->CenterPoint.X, b + 10.0f};
    }
}

inline std::unique_ptr<TMyCAD> RandomRectangles(int32_t n, uint32_t seed = 11)
{
    auto cad = std::make_unique<TMyCAD>();
    AddRandomRectangles(*cad, n, seed);
    return cad;
}

/// Each iteration is one mouse move of a drag of the selection pressed at
/// grip (outlines erased and drawn again).
inline void MeasureDragMoves(benchmark::State& state, TMyCAD& cad, const TPoint& grip)
{
    cad.MouseDown(TMouseButton::mbLeft, TShiftState{}, grip.X, grip.Y);
    int step = 0;
    for (auto _ : state) {
        ++step;
        cad.MouseMove(TShiftState{TShiftStateItem::ssLeft}, grip.X + (step % 40), grip.Y + (step % 25));
    }
    cad.MouseUp(TMouseButton::mbLeft, TShiftState{}, grip.X, grip.Y);
    ClipCursor(nullptr);
}

/// Each iteration is the release of a drag of distance d (alternately down
/// right and back) pressed at grip(), with the paint it asks for.
inline void MeasureDragReleases(benchmark::State& state, TMyCAD& cad, const std::function<TPoint()>& grip, int d)
{
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const TPoint at = grip();
        cad.MouseDown(TMouseButton::mbLeft, TShiftState{}, at.X, at.Y);
        const int move = (++step % 2) ? d : -d;
        cad.MouseMove(TShiftState{TShiftStateItem::ssLeft}, at.X + move, at.Y + move);
        state.ResumeTiming();
        cad.MouseUp(TMouseButton::mbLeft, TShiftState{}, at.X + move, at.Y + move);
        cad.Update();
    }
    ClipCursor(nullptr);
}

/// Mean times in milliseconds of the canvas and of its peer.
struct TPeerTimes {
    double Ours = 0;
    double Theirs = 0;
};

/// Each iteration repaints the canvas's device rectangle r into its back
/// buffer (DrawAll), then renders the scene's source rectangle into an image
/// of r's size first filled white. Sets the counters mycad_ms, qt_ms, ratio
/// (canvas / scene) and shapes_drawn.
inline TPeerTimes PaintAgainstScene(benchmark::State& state, TMyCAD& cad, QGraphicsScene& scene, const TRect& r,
                                    const QRectF& source)
{
    using Clock = std::chrono::steady_clock;
    QImage image(r.Width(), r.Height(), QImage::Format_RGB32);
    double ours = 0;
    double theirs = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        cad.DrawAll(r);
        benchmark::DoNotOptimize(cad.BackBuffer().Image().constBits());
        const auto t1 = Clock::now();
        {
            image.fill(Qt::white);
            QPainter p(&image);
            scene.render(&p, QRectF(0, 0, r.Width(), r.Height()), source, Qt::IgnoreAspectRatio);
        }
        benchmark::DoNotOptimize(image.constBits());
        const auto t2 = Clock::now();
        ours += std::chrono::duration<double, std::milli>(t1 - t0).count();
        theirs += std::chrono::duration<double, std::milli>(t2 - t1).count();
    }
    const double iterations = double(state.iterations());
    const TPeerTimes times{ours / iterations, theirs / iterations};
    state.counters["mycad_ms"] = times.Ours;
    state.counters["qt_ms"] = times.Theirs;
    state.counters["ratio"] = theirs > 0 ? ours / theirs : 0.0;
    state.counters["shapes_drawn"] = double(cad.ShapesDrawnLast().size());
    return times;
}

/// Runs the registered benchmarks after check (when given) has passed;
/// exit status 2 when it fails.
inline int RunBenchmarks(int argc, char** argv, const std::function<bool()>& check = {})
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (check && !check()) return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace mycad::bench
