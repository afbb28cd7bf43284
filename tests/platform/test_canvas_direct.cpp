// One-pixel strokes and solid upright boxes are written straight into 32-bit
// images; these tests draw the same figures once that way and once through
// the painter (a clip region that covers everything turns the direct way
// off) and require the same pixels.
#include "platform/Graphics.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace mycad;

namespace {

using Figures = std::function<void(TCanvas&, std::mt19937&)>;

QImage Render(bool direct, const TPoint& origin, const TRect& clip, const Figures& draw)
{
    std::mt19937 rng(11); // both renders draw the same figures
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

void ExpectSamePixels(const TPoint& origin, const TRect& clip, const Figures& draw)
{
    const QImage painted = Render(false, origin, clip, draw);
    const QImage direct = Render(true, origin, clip, draw);
    ASSERT_EQ(direct.size(), painted.size());
    int differing = 0;
    for (int y = 0; y < direct.height(); ++y)
        for (int x = 0; x < direct.width(); ++x) differing += direct.pixel(x, y) != painted.pixel(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0);
    EXPECT_NE(direct, Render(true, origin, clip, [](TCanvas&, std::mt19937&) {})) << "the figures drew nothing";
}

} // namespace

TEST(CanvasDirect, StrokesMatchThePainter)
{
    const TPenStyle styles[] = {TPenStyle::psSolid, TPenStyle::psDash, TPenStyle::psDot, TPenStyle::psDashDotDot,
                                TPenStyle::psAlternate, TPenStyle::psInsideFrame};
    for (const TPoint origin : {TPoint{0, 0}, TPoint{37, -11}}) {
        for (const TRect clip : {TRect{}, Rect(20 + origin.X, 10 + origin.Y, 130 + origin.X, 90 + origin.Y)}) {
            ExpectSamePixels(origin, clip, [&](TCanvas& c, std::mt19937& rng) {
                auto u = [&rng](int lo, int hi) { return std::uniform_int_distribution<>(lo, hi)(rng); };
                for (int i = 0; i < 40; ++i) {
                    c.Pen().SetStyle(styles[i % 6]);
                    c.Pen().SetColor(RGB(uint8_t(u(0, 255)), uint8_t(u(0, 255)), 7));
                    const int32_t x = origin.X + u(-20, 180);
                    const int32_t y = origin.Y + u(-20, 140);
                    if (i % 3 == 0) {
                        c.MoveTo(x, y);
                        c.LineTo(x + u(-90, 90), y + u(-90, 90));
                    } else if (i % 3 == 1) {
                        c.Polyline({{x, y}, {x + u(-50, 50), y + u(-50, 50)}, {x + u(-50, 50), y}});
                    } else {
                        // A figure stroked from a path, closed back to its start.
                        c.Brush().SetStyle(TBrushStyle::bsClear);
                        c.BeginPath();
                        c.Polygon({{x, y}, {x + u(5, 60), y}, {x + u(5, 60), y + u(5, 60)}, {x, y + u(5, 40)}});
                        c.EndPath();
                        c.StrokePath();
                        c.Rectangle(x, y, x + u(-40, 40), y + u(-40, 40));
                    }
                }
            });
        }
    }
}

TEST(CanvasDirect, UprightBoxesMatchThePainter)
{
    for (const TPoint origin : {TPoint{0, 0}, TPoint{-15, 22}}) {
        for (const TRect clip : {TRect{}, Rect(10 + origin.X, 30 + origin.Y, 100 + origin.X, 70 + origin.Y)}) {
            ExpectSamePixels(origin, clip, [&](TCanvas& c, std::mt19937& rng) {
                auto u = [&rng](int lo, int hi) { return std::uniform_int_distribution<>(lo, hi)(rng); };
                for (int i = 0; i < 30; ++i) {
                    TBrush brush;
                    brush.SetColor(RGB(9, uint8_t(u(0, 255)), uint8_t(u(0, 255))));
                    const int32_t l = origin.X + u(-30, 170);
                    const int32_t t = origin.Y + u(-30, 130);
                    const int32_t r = l + u(-60, 60);
                    const int32_t b = t + u(-60, 60);
                    // Every way round, with and without the closing corner.
                    TArrPoint corners = i % 2 ? TArrPoint{{l, t}, {r, t}, {r, b}, {l, b}}
                                              : TArrPoint{{l, t}, {l, b}, {r, b}, {r, t}};
                    if (i % 3 == 0) corners.push_back(corners.front());
                    c.FillRgn(TRegion::CreatePolygonRgn(corners, i % 4 ? WINDING : ALTERNATE), brush);
                    c.Brush().Assign(brush);
                    if (i % 5 == 0) c.FillRect(Rect(l, t, l + u(0, 40), t + u(0, 40)));
                }
            });
        }
    }
}

TEST(CanvasDirect, EveryRasterOperationMatchesThePainter)
{
    for (int m = 0; m <= 15; ++m) {
        const auto mode = static_cast<TPenMode>(m);
        ExpectSamePixels({0, 0}, TRect{}, [mode, m](TCanvas& c, std::mt19937& rng) {
            auto u = [&rng](int lo, int hi) { return std::uniform_int_distribution<>(lo, hi)(rng); };
            // A coloured background, so that every operation shows.
            c.Pen().SetMode(TPenMode::pmCopy);
            for (int i = 0; i < 12; ++i) {
                c.Brush().SetColor(RGB(uint8_t(u(0, 255)), uint8_t(u(0, 255)), uint8_t(u(0, 255))));
                c.FillRect(Bounds(u(0, 120), u(0, 80), 40, 40));
            }
            c.Pen().SetMode(mode);
            c.Pen().SetStyle(m % 2 == 0 ? TPenStyle::psSolid : TPenStyle::psDot);
            for (int i = 0; i < 20; ++i) {
                c.Pen().SetColor(RGB(uint8_t(u(0, 255)), uint8_t(u(0, 255)), uint8_t(u(0, 255))));
                c.MoveTo(u(-10, 170), u(-10, 130));
                c.LineTo(u(-10, 170), u(-10, 130));
                c.Polyline({{u(0, 160), u(0, 120)}, {u(0, 160), u(0, 120)}, {u(0, 160), u(0, 120)}});
                // Boxes filled and outlined, in both corner orders and down
                // to nothing, with and without a pen.
                c.Brush().SetColor(RGB(uint8_t(u(0, 255)), uint8_t(u(0, 255)), uint8_t(u(0, 255))));
                c.Pen().SetStyle(i % 3 == 0 ? TPenStyle::psClear : (m % 2 == 0 ? TPenStyle::psSolid : TPenStyle::psDot));
                c.Rectangle(u(-10, 170), u(-10, 130), u(-10, 170), u(-10, 130));
                const int32_t x = u(0, 150);
                const int32_t y = u(0, 110);
                c.Rectangle(x, y, x + u(0, 3), y + u(0, 3));
            }
        });
    }
}
