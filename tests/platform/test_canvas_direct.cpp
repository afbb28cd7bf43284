// One-pixel strokes, solid upright boxes and solid polygon fills are written
// straight into 32-bit images; these tests draw the same figures once that
// way and once through the painter (a clip region that covers everything
// turns the direct way off) and require the same pixels.
#include "platform/CanvasFill.h"
#include "platform/Graphics.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>
#include <random>
#include <utility>

using namespace mycad;

namespace {

/// Whole numbers and colours drawn from one seeded generator, so that two
/// renders of the same seed draw the same figures.
struct Rng {
    std::mt19937 gen;
    int operator()(int lo, int hi) { return std::uniform_int_distribution<>(lo, hi)(gen); }
    TColor Colour() { return RGB(uint8_t((*this)(0, 255)), uint8_t((*this)(0, 255)), uint8_t((*this)(0, 255))); }
};

using Figures = std::function<void(TCanvas&, Rng&)>;

QImage Render(bool direct, const TPoint& origin, const TRect& clip, const Figures& draw, unsigned seed)
{
    Rng rng{std::mt19937(seed)};
    TBitmap bmp(160, 120, TPixelFormat::pf32bit);
    TCanvas& c = bmp.Canvas();
    c.SetDeviceOrigin(origin);
    c.Brush().SetColor(clWhite);
    c.FillRect(Bounds(origin.X, origin.Y, 160, 120));
    c.SetClipRect(clip);
    const TRegion everything =
        TRegion::CreatePolygonRgn({{-100000, -100000}, {100000, -100000}, {0, 100000}}, ALTERNATE);
    if (!direct) c.SelectClipRgn(&everything);
    draw(c, rng);
    return bmp.Image().copy();
}

int DifferingPixels(const QImage& a, const QImage& b)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) differing += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return differing;
}

void ExpectSamePixels(const TPoint& origin, const TRect& clip, const Figures& draw, unsigned seed = 11)
{
    const QImage painted = Render(false, origin, clip, draw, seed);
    const QImage direct = Render(true, origin, clip, draw, seed);
    ASSERT_EQ(direct.size(), painted.size());
    EXPECT_EQ(DifferingPixels(direct, painted), 0) << "seed " << seed;
    EXPECT_NE(direct, Render(true, origin, clip, [](TCanvas&, Rng&) {}, seed)) << "the figures drew nothing";
}

/// A polygon for the fill tests, by kind: a turned rectangle as shapes make
/// them, a star that crosses itself, points anywhere (repeats and straight
/// runs included), or an upright box any way round.
TArrPoint RandomPolygon(Rng& u, int kind, int32_t reach, bool centred = false)
{
    const double cx = centred ? u(60, 100) : u(-30, 190);
    const double cy = centred ? u(40, 80) : u(-30, 150);
    TArrPoint pts;
    if (kind == 0) {
        const double a = std::uniform_real_distribution<>(0.0, 6.3)(u.gen);
        const double w = u(1, reach) / 2.0;
        const double h = u(1, reach) / 2.0;
        for (const auto& [sx, sy] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
            const double x = sx * w;
            const double y = sy * h;
            pts.push_back({static_cast<int32_t>(std::nearbyint(cx + x * std::cos(a) - y * std::sin(a))),
                           static_cast<int32_t>(std::nearbyint(cy + x * std::sin(a) + y * std::cos(a)))});
        }
        if (u(0, 1) != 0) pts.push_back(pts.front());
    } else if (kind == 1) {
        const int n = 5 + 2 * u(0, 2);
        const double r = u(std::min(5, reach), reach);
        for (int i = 0; i < n; ++i) {
            const double a = 2 * 3.14159265 * (i * (n / 2)) / n;
            pts.push_back({static_cast<int32_t>(cx + r * std::cos(a)), static_cast<int32_t>(cy + r * std::sin(a))});
        }
    } else if (kind == 2) {
        const int n = u(0, 4) == 0 ? u(17, 40) : u(3, 12); // some with more edges than fit on the stack
        for (int i = 0; i < n; ++i) {
            if (i > 0 && u(0, 7) == 0) {
                pts.push_back(pts.back());
            } else {
                pts.push_back({static_cast<int32_t>(cx) + u(-reach, reach), static_cast<int32_t>(cy) + u(-reach, reach)});
            }
        }
    } else {
        // Either way round, with and without the closing corner, down to nothing.
        const auto l = static_cast<int32_t>(cx);
        const auto t = static_cast<int32_t>(cy);
        const int32_t r = l + u(-reach, reach);
        const int32_t b = t + u(-reach, reach);
        pts = u(0, 1) ? TArrPoint{{l, t}, {r, t}, {r, b}, {l, b}} : TArrPoint{{l, t}, {l, b}, {r, b}, {r, t}};
        if (u(0, 2) == 0) pts.push_back(pts.front());
    }
    return pts;
}

} // namespace

TEST(CanvasDirect, FilledPolygonsMatchAPlainPainter)
{
    // The same fills against a painter on an image of its own with no clip
    // at all, so the reference owes nothing to the canvas.
    Rng u{std::mt19937(5)};
    for (int round = 0; round < 400; ++round) {
        const TArrPoint pts = RandomPolygon(u, round % 4, u(0, 5) == 0 ? 400 : u(2, 80));
        const bool winding = u(0, 1) != 0;
        QImage reference(160, 120, QImage::Format_RGB32);
        reference.fill(Qt::white);
        {
            QPainter p(&reference);
            QPainterPath path;
            path.moveTo(pts[0].X, pts[0].Y);
            for (size_t i = 1; i < pts.size(); ++i) path.lineTo(pts[i].X, pts[i].Y);
            path.closeSubpath();
            path.setFillRule(winding ? Qt::WindingFill : Qt::OddEvenFill);
            p.fillPath(path, QColor(200, 30, 90));
        }
        TBitmap bmp(160, 120, TPixelFormat::pf32bit);
        TCanvas& c = bmp.Canvas();
        c.Brush().SetColor(clWhite);
        c.FillRect(Rect(0, 0, 160, 120));
        TBrush brush;
        brush.SetColor(RGB(200, 30, 90));
        c.FillRgn(TRegion::CreatePolygonRgn(pts, winding ? WINDING : ALTERNATE), brush);
        ASSERT_EQ(DifferingPixels(bmp.Image().convertToFormat(QImage::Format_RGB32), reference), 0)
            << "round " << round;
    }
}

TEST(CanvasDirect, StrokesAndBoxesInEveryRasterOperationMatchThePainter)
{
    const TPenStyle styles[] = {TPenStyle::psSolid, TPenStyle::psDash, TPenStyle::psDot, TPenStyle::psDashDotDot,
                                TPenStyle::psAlternate, TPenStyle::psInsideFrame};
    for (int m = 0; m <= 15; ++m) {
        SCOPED_TRACE(m);
        // With and without a device origin, and with no clip or one inside the image.
        for (const TPoint o : {TPoint{0, 0}, TPoint{37, -11}}) {
            for (const TRect clip : {TRect{}, Rect(20 + o.X, 10 + o.Y, 130 + o.X, 90 + o.Y)}) {
                SCOPED_TRACE(testing::Message() << "origin " << o.X << "," << o.Y << (clip.IsEmpty() ? "" : " clipped"));
                ExpectSamePixels(o, clip, [&](TCanvas& c, Rng& u) {
                    // A coloured background, so that every operation shows.
                    for (int i = 0; i < 12; ++i) {
                        c.Brush().SetColor(u.Colour());
                        c.FillRect(Bounds(o.X + u(0, 120), o.Y + u(0, 80), 40, 40));
                    }
                    c.Pen().SetMode(static_cast<TPenMode>(m));
                    for (int i = 0; i < 24; ++i) {
                        c.Pen().SetStyle(styles[(i + m) % 6]);
                        c.Pen().SetColor(u.Colour());
                        const int32_t x = o.X + u(-20, 180);
                        const int32_t y = o.Y + u(-20, 140);
                        if (i % 4 == 0) {
                            c.MoveTo(x, y);
                            c.LineTo(x + u(-90, 90), y + u(-90, 90));
                        } else if (i % 4 == 1) {
                            c.Polyline({{x, y}, {x + u(-50, 50), y + u(-50, 50)}, {x + u(-50, 50), y}});
                        } else if (i % 4 == 2) {
                            // A figure stroked from a path, closed back to its start.
                            c.Brush().SetStyle(TBrushStyle::bsClear);
                            c.BeginPath();
                            c.Polygon({{x, y}, {x + u(5, 60), y}, {x + u(5, 60), y + u(5, 60)}, {x, y + u(5, 40)}});
                            c.EndPath();
                            c.StrokePath();
                            c.Rectangle(x, y, x + u(-40, 40), y + u(-40, 40));
                        } else {
                            // Boxes filled and outlined, in both corner orders and
                            // down to nothing, with and without a pen.
                            c.Brush().SetStyle(TBrushStyle::bsSolid);
                            c.Brush().SetColor(u.Colour());
                            if (i % 3 == 0) c.Pen().SetStyle(TPenStyle::psClear);
                            c.Rectangle(x, y, x + u(-60, 60), y + u(-60, 60));
                            c.Rectangle(x, y, x + u(0, 3), y + u(0, 3));
                        }
                    }
                });
            }
        }
    }
}

TEST(CanvasDirect, PolygonFillsWithoutARegionMatchTheRegionFill)
{
    // FillPolygonRgn against FillRgn of the region made from the same
    // points: turned and upright boxes, stars, stray points, part of a
    // point list, hatched brushes and clip regions that send both to the
    // painter.
    const TBrushStyle styles[] = {TBrushStyle::bsSolid, TBrushStyle::bsSolid, TBrushStyle::bsCross,
                                  TBrushStyle::bsClear};
    for (unsigned seed = 1; seed <= 40; ++seed) {
        for (const bool clipped : {false, true}) {
            QImage results[2];
            for (const bool viaRegion : {false, true}) {
                Rng u{std::mt19937(seed)};
                TBitmap bmp(160, 120, TPixelFormat::pf32bit);
                TCanvas& c = bmp.Canvas();
                c.SetDeviceOrigin({u(-20, 20), u(-20, 20)});
                c.Brush().SetColor(clWhite);
                c.FillRect(Bounds(c.DeviceOrigin().X, c.DeviceOrigin().Y, 160, 120));
                const TRegion lens = TRegion::CreatePolygonRgn({{0, 60}, {80, 0}, {160, 60}, {80, 120}}, ALTERNATE);
                if (clipped) c.SelectClipRgn(&lens);
                for (int i = 0; i < 8; ++i) {
                    TBrush brush;
                    brush.SetStyle(styles[u(0, 3)]);
                    brush.SetColor(RGB(uint8_t(u(0, 255)), 90, uint8_t(u(0, 255))));
                    const TArrPoint pts = RandomPolygon(u, u(0, 3), u(2, 70), i == 0);
                    const size_t count = u(0, 4) == 0 ? size_t(u(0, int(pts.size()))) : pts.size();
                    const int32_t mode = u(0, 1) ? WINDING : ALTERNATE;
                    if (viaRegion) {
                        c.FillRgn(TRegion::CreatePolygonRgn(TArrPoint(pts.begin(), pts.begin() + std::ptrdiff_t(count)), mode),
                                  brush);
                    } else {
                        FillPolygonRgn(c, pts, count, mode, brush);
                    }
                }
                results[viaRegion ? 1 : 0] = bmp.Image().copy();
            }
            EXPECT_EQ(DifferingPixels(results[0], results[1]), 0) << "seed " << seed << (clipped ? " clipped" : "");
        }
    }
}
