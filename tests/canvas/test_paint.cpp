#include "canvas/CanvasDrawing.h"
#include "canvas/test_paint_helpers.h"

#include "cad/shapes/ShapeDraw.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace mycad;
using namespace mycad::test;

namespace {

/// Paints the whole rectangle, then each part alone: every part shows the
/// pixels of the full picture, the shapes chosen do not depend on what
/// earlier paints learnt, and a corner far from most shapes draws few.
void ExpectPartsMatchTheWhole(TMyCAD& cad, const TRect& whole, const std::vector<TRect>& parts)
{
    cad.DrawAll(whole);
    const QImage full = BufferImage(cad);
    for (const TRect& part : parts) {
        cad.DrawAll(part);
        ASSERT_EQ(BufferImage(cad), full.copy(part.Left, part.Top, part.Width(), part.Height()))
            << part.Left << "," << part.Top << " " << part.Width() << "x" << part.Height();
        // What the selection learnt from earlier paints finds what a fresh one finds.
        const TMyShapeNo chosen = cad.ShapesDrawnLast();
        cad.Invalidate();
        cad.DrawAll(part);
        EXPECT_EQ(cad.ShapesDrawnLast(), chosen);
    }
    cad.DrawAll(Rect(0, 0, 4, 4));
    EXPECT_LT(cad.ShapesDrawnLast().size(), cad.MyShapes.size() / 4);
}

/// Forty rectangles up to 90 x 70 inside the whole.
template <typename Random>
std::vector<TRect> RandomParts(Random& u, const TRect& whole)
{
    std::vector<TRect> parts;
    for (int k = 0; k < 40; ++k) {
        const int32_t l = static_cast<int32_t>(u(0, float(whole.Right - 10)));
        const int32_t t = static_cast<int32_t>(u(0, float(whole.Bottom - 10)));
        parts.push_back(Rect(l, t, std::min(whole.Right, l + 1 + static_cast<int32_t>(u(0, 90))),
                             std::min(whole.Bottom, t + 1 + static_cast<int32_t>(u(0, 70)))));
    }
    return parts;
}

// A 10 x 6 red picture with a blue pixel at (mx, my), or a bigger one.
TBitmap Picture(int32_t w, int32_t h, int32_t mx, int32_t my)
{
    TBitmap b(w, h);
    b.Canvas().Brush().SetColor(clRed);
    b.Canvas().FillRect(Rect(0, 0, w, h));
    b.Canvas().SetPixel(mx, my, clBlue);
    return b;
}

} // namespace

TEST(Paint, BackgroundColourOnPaintAndTheProcessingGuard)
{
    TMyCAD cad;
    PlainCanvas(cad, 300, 200);
    int paints = 0;
    cad.OnPaint = [&](TMyCAD* sender) {
        EXPECT_EQ(sender, &cad);
        ++paints;
    };
    cad.SetColorOfBackGround(clYellow);
    cad.Repaint();
    EXPECT_EQ(paints, 1);
    ExpectSurface(cad, {{0, 0, clYellow}, {299, 199, clYellow}});

    // While the canvas is busy a paint does nothing, OnPaint included (and
    // the request is gone).
    paints = 0;
    cad.SetColorOfBackGround(clLime);
    cad.Processing = true;
    cad.Update();
    cad.Processing = false;
    EXPECT_EQ(paints, 0);
    EXPECT_EQ(SurfacePixel(cad, 10, 10), clYellow);
    EXPECT_TRUE(cad.InvalidRect().IsEmpty());

    // Only the invalid rectangle is rendered, through a buffer of its size.
    cad.InvalidateRect(Rect(40, 30, 90, 50));
    cad.Update();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(cad.BackBuffer().Width(), 50);
    EXPECT_EQ(cad.BackBuffer().Height(), 20);
    ExpectSurface(cad, {{40, 30, clLime}, {89, 49, clLime}, {90, 49, clYellow}, {39, 30, clYellow},
                        {40, 29, clYellow}});
}

TEST(Paint, BackgroundBitmapInEachMode)
{
    TMyCAD cad;
    PlainCanvas(cad, 50, 40);
    cad.SetBkBitmap(Picture(10, 6, 0, 0));
    const TRect all = cad.ClientRect();

    cad.SetBkBitmapMode(TBkBitmapMode::LeftTop);
    cad.DrawAll(all);
    ExpectBuffer(cad, {{0, 0, clBlue}, {9, 5, clRed}, {10, 0, clWhite}, {0, 6, clWhite}});

    // (50 - 10) div 2 = 20, (40 - 6) div 2 = 17.
    cad.SetBkBitmapMode(TBkBitmapMode::Center);
    cad.DrawAll(all);
    ExpectBuffer(cad, {{20, 17, clBlue}, {29, 22, clRed}, {19, 17, clWhite}, {30, 23, clWhite}});

    cad.SetBkBitmapMode(TBkBitmapMode::Stretch);
    cad.DrawAll(all);
    EXPECT_EQ(CountInBuffer(cad, all, clWhite), 0);
    ExpectBuffer(cad, {{0, 0, clBlue}, {4, 5, clBlue}, // one source pixel is 5 x 6.67 pixels
                       {5, 0, clRed}, {49, 39, clRed}});

    // Tiles from the control's origin: 0..50 div 10 by 0..40 div 6.
    cad.SetBkBitmapMode(TBkBitmapMode::Tiled);
    cad.DrawAll(all);
    EXPECT_EQ(CountInBuffer(cad, all, clWhite), 0);
    EXPECT_EQ(CountInBuffer(cad, all, clBlue), 5 * 7);
    ExpectBuffer(cad, {{40, 36, clBlue}, {10, 6, clBlue}});

    // A partial repaint shows the same tiles at the same control pixels.
    cad.DrawAll(Rect(13, 7, 33, 27));
    ExpectBuffer(cad, {{0, 0, clRed}, {7, 5, clBlue}, // control (20, 12)
                       {17, 11, clBlue}}); // control (30, 18)
    EXPECT_EQ(CountInBuffer(cad, Rect(0, 0, 20, 20), clBlue), 2 * 3);
}

TEST(Paint, HiddenLayersAndHiddenGroups)
{
    TMyCAD cad;
    PlainCanvas(cad, 400, 300);
    const int32_t hidden = cad.NewLayer(QStringLiteral("Hidden"), false);
    cad.SetCurrentLayerId(0);
    // 0..2: a group on the hidden layer whose members are on visible layer 0.
    AddBox(cad, 10, 10, 40, 40, clRed)->LayerId = hidden;
    AddBox(cad, 50, 10, 80, 40, clRed);
    AddBox(cad, 90, 10, 120, 40, clRed);
    MakeGroup(cad, 0, {1, 2});
    // 3..4: a group on a visible layer with a member on the hidden layer.
    AddBox(cad, 10, 60, 40, 90, clGreen);
    AddBox(cad, 50, 60, 80, 90, clLime)->LayerId = hidden;
    MakeGroup(cad, 3, {4});
    // 5..7: a hidden group with a link point of its own and on a member.
    TMyShape* hiddenGroup = AddBox(cad, 10, 110, 40, 140, clGreen);
    hiddenGroup->SetVisible(false);
    hiddenGroup->LinkPoints = {{25, 125}};
    AddBox(cad, 50, 110, 80, 140, clLime)->LinkPoints = {{65, 125}};
    AddBox(cad, 90, 110, 120, 140, clLime);
    MakeGroup(cad, 5, {6, 7});
    // 8..10: a visible group with one hidden member; the group covers its
    // members' overlap and is drawn after them.
    AddBox(cad, 10, 160, 60, 190, clNavy);
    AddBox(cad, 40, 170, 90, 200, clLime);
    AddBox(cad, 100, 170, 130, 200, clLime)->SetVisible(false);
    MakeGroup(cad, 8, {9, 10});

    cad.DrawAll(cad.ClientRect());
    EXPECT_EQ(cad.ShapesDrawnLast(), (TMyShapeNo{3, 5, 8}));
    ExpectBuffer(cad, {{25, 25, clWhite}, {65, 25, clWhite}, {105, 25, clWhite}, {25, 75, clGreen},
                       {65, 75, clLime}});
    // A hidden group hides every member but still shows the link marks.
    ExpectBuffer(cad, {{30, 130, clWhite}, {60, 130, clWhite}, {105, 130, clWhite}, {25, 125, clBlue},
                       {65, 125, clBlue}});
    ExpectBuffer(cad, {{50, 180, clNavy}, // the overlap: group above member
                       {80, 190, clLime}, {115, 185, clWhite}});

    // Showing the layer brings the first group back, members and all.
    cad.VisibleLayerByID(hidden);
    cad.DrawAll(cad.ClientRect());
    EXPECT_EQ(cad.ShapesDrawnLast(), (TMyShapeNo{0, 3, 5, 8}));
    ExpectBuffer(cad, {{25, 25, clRed}, {105, 25, clRed}});
}

TEST(Paint, HandlesGoOnTheControlButNotIntoTheBuffer)
{
    TMyCAD cad;
    PlainCanvas(cad, 200, 200);
    SetHotColor(clLime);
    TMyShape* a = AddBox(cad, 20, 20, 60, 60, clWhite);
    TMyShape* b = AddBox(cad, 100, 100, 160, 160, clWhite);
    cad.WorkingShapes = {a, b};
    cad.Repaint();
    // A handle square of half side HotSize (4) around each corner.
    ExpectSurface(cad, {{20, 20, clLime}, {16, 16, clBlack}, {158, 158, clLime}});
    ExpectBuffer(cad, {{16, 16, clWhite}, {20, 20, clBlack}});

    // Hidden or on a hidden layer: no handles.
    b->SetVisible(false);
    a->LayerId = cad.NewLayer(QStringLiteral("Off"), false);
    cad.Repaint();
    ExpectSurface(cad, {{16, 16, clWhite}, {158, 158, clWhite}});

    // A selected member of a group shows only its own, half-size handles,
    // even when its group is hidden from view.
    a->LayerId = 0;
    b->SetVisible(true);
    TMyShape* member = AddBox(cad, 30, 100, 70, 140, clWhite);
    MakeGroup(cad, 1, {2});
    cad.ChildWorkingShape = member;
    cad.Repaint();
    ExpectSurface(cad, {{30, 100, clLime}, {28, 98, clBlack}, {26, 96, clWhite}, {16, 16, clWhite}});
}

// Shapes that meet a rectangle are found by what they draw (ellipses and
// boxes inside the box of their corners, lines with their heads), so every
// part of the control renders exactly as in a full paint, and drawing leaves
// the shapes' coordinates exactly as they were.
TEST(Paint, PartialRepaintsMatchTheFullPicture)
{
    for (const double zoom : {1.0, 1.37, 0.6, 1.6}) {
        SCOPED_TRACE(zoom);
        TMyCAD cad;
        cad.SetZoom(zoom);
        cad.GridOperation().SetGridType(TGridType::gLine);
        std::mt19937 rng(7);
        auto u = [&rng](double lo, double hi) { return static_cast<float>(std::uniform_real_distribution<>(lo, hi)(rng)); };
        for (int i = 0; i < 60; ++i) {
            const float x = u(0, 560);
            const float y = u(0, 420);
            if (i % 3 == 0) {
                TMyLine* line = AddSegment(cad, x, y, x + u(-300, 300), y + u(-300, 300), clBlue,
                                           1 + static_cast<int32_t>(u(0, 7)));
                line->SetArrowStyle(i % 2 ? TArrowStyle::ADouble : TArrowStyle::ANone);
                line->SetArrowLength(static_cast<uint8_t>(u(10, 60)));
                line->SetArrowOffset(static_cast<uint8_t>(u(0, 30)));
            } else {
                // Boxes and ellipses, upright and turned, with wide pens,
                // labels, gradients and clear brushes.
                TMyShape* box = AddBox(cad, x, y, x + u(5, 120), y + u(5, 90), RGB(200, 40, static_cast<uint8_t>(i)),
                                       clBlack, i % 2 ? "TMyEllipse" : "TMyRectangle");
                box->Pen().SetWidth(1 + static_cast<int32_t>(u(0, 9)));
                if (i % 4 == 1) box->RotateChangeValueByAngle(box->GetCenterPoint(), u(0, 3));
                if (i % 5 == 2) box->SetInfo(QStringLiteral("Label number %1").arg(i));
                if (i % 7 == 3) box->LinkPoints = {{x - 2, y - 2}};
                if (i % 6 == 4) box->Brush().SetStyle(TBrushStyle::bsClear);
                if (i % 6 == 5) box->SetStoredGradient(clRed, clYellow, TGradientStyle::gsRadialC);
            }
        }
        // Members of a group, and a group of a class whose extent is not
        // known, which is drawn in every paint.
        MakeGroup(cad, 4, {5, 7});
        ASSERT_GE(cad.GroupShapes({cad.GetShapeByNo(20), cad.GetShapeByNo(22)}, false), 0);
        // A diamond that crosses the rectangle below with no corner inside it
        // while being smaller than it.
        TMyShape* diamond = AddBox(cad, 0, 0, 1, 1, clYellow);
        diamond->ThePoints = {{650, 500}, {700, 550}, {650, 600}, {600, 550}};
        // A polygon, whose extent is its corners alone.
        AddBox(cad, 0, 0, 1, 1, clGreen, clBlack, "TMyPolygon")->ThePoints = {{300, 380}, {380, 390}, {340, 440}, {300, 380}};
        const TArrMyPoint before = [&] {
            TArrMyPoint all;
            for (const auto& s : cad.MyShapes) all.insert(all.end(), s->ThePoints.begin(), s->ThePoints.end());
            return all;
        }();

        const TRect whole = Rect(0, 0, RoundToInt(760 * zoom), RoundToInt(640 * zoom));
        std::vector<TRect> parts = RandomParts(u, whole);
        parts.push_back(Rect(RoundToInt(660 * zoom), RoundToInt(560 * zoom), whole.Right, whole.Bottom));
        ExpectPartsMatchTheWhole(cad, whole, parts);

        TArrMyPoint after;
        for (const auto& s : cad.MyShapes) after.insert(after.end(), s->ThePoints.begin(), s->ThePoints.end());
        EXPECT_EQ(after, before);
    }
}

TEST(Paint, DrawAllShapeOnAnotherCanvasIsRelativeToTheRectangle)
{
    TMyCAD cad;
    PlainCanvas(cad, 400, 400);
    AddBox(cad, 110, 120, 150, 160, clRed);
    TBitmap target(100, 100);
    TCanvas& c = target.Canvas();
    c.SetClipRect(Rect(0, 0, 30, 100));
    cad.DrawAllShape(c, Rect(100, 100, 200, 200));
    EXPECT_EQ(ColorOf(target.Image().pixel(10, 20)), clBlack);
    EXPECT_EQ(ColorOf(target.Image().pixel(20, 30)), clRed);
    EXPECT_EQ(ColorOf(target.Image().pixel(35, 30)), clWhite); // the caller's clip still holds
    EXPECT_EQ(c.DeviceOrigin(), (TPoint{0, 0}));
    EXPECT_EQ(c.ClipRect(), Rect(0, 0, 30, 100));
}

TEST(Paint, AScrolledHugeControlRendersOnlyItsViewport)
{
    QScrollArea area;
    area.resize(320, 240);
    auto* cad = new TMyCAD;
    cad->GridOperation().SetGridType(TGridType::gNone);
    cad->SetPageStyle(TPageStyle::A0);
    cad->SetZoom(4.0); // 12 715 x 17 976 pixels
    EXPECT_GT(cad->Width(), 12000);
    AddBox(*cad, 2000, 3000, 2010, 3010, clRed);
    // The largest back buffer a paint used since the last look.
    QSize largest;
    cad->OnPaint = [&](TMyCAD* c) { largest = largest.expandedTo(c->BackBuffer().Image().size()); };
    area.setWidget(cad);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    QApplication::processEvents();
    const QSize view = area.viewport()->size();
    ASSERT_FALSE(largest.isEmpty());
    EXPECT_TRUE(view.expandedTo(largest) == view) << largest.width() << "x" << largest.height();

    largest = QSize();
    area.horizontalScrollBar()->setValue(8000 - 100);
    area.verticalScrollBar()->setValue(12000 - 100);
    QApplication::processEvents();
    ASSERT_FALSE(largest.isEmpty());
    EXPECT_TRUE(view.expandedTo(largest) == view) << largest.width() << "x" << largest.height();
    ExpectSurface(*cad, {{8020, 12020, clRed}, {8000, 12000, clBlack}, {7990, 12000, clWhite}});
}

// Partial paints reuse where shapes draw until the whole control is
// invalidated; a shape that moved or was added is never missed.

TEST(Paint, PartialPaintsSeeMovedAndAddedShapes)
{
    TMyCAD cad;
    PlainCanvas(cad, 400, 300);
    TMyShape* box = AddBox(cad, 10, 10, 50, 50, clRed);
    cad.DrawAll(cad.ClientRect());
    cad.DrawAll(Rect(200, 200, 240, 240));
    EXPECT_TRUE(cad.ShapesDrawnLast().empty());

    // Moved by code, which ends with an invalidation of the control.
    for (TMyPoint& p : box->ThePoints) p = {p.X + 200, p.Y + 200};
    cad.Invalidate();
    cad.DrawAll(Rect(200, 200, 240, 240));
    EXPECT_EQ(cad.ShapesDrawnLast(), (TMyShapeNo{0}));
    EXPECT_EQ(BufferPixel(cad, 20, 20), clRed);

    // Added without a repaint: the count tells.
    AddBox(cad, 100, 100, 120, 120, clBlue);
    cad.DrawAll(Rect(90, 90, 130, 130));
    EXPECT_EQ(cad.ShapesDrawnLast(), (TMyShapeNo{1}));
    EXPECT_EQ(BufferPixel(cad, 20, 20), clBlue);

    // A new zoom: extents are found again.
    cad.SetZoom(2.0);
    cad.DrawAll(Rect(400, 400, 480, 480));
    EXPECT_EQ(cad.ShapesDrawnLast(), (TMyShapeNo{0}));
    cad.DrawAll(Rect(200, 200, 240, 240));
    EXPECT_EQ(cad.ShapesDrawnLast(), (TMyShapeNo{1}));

    // Layers are asked at every paint.
    box->LayerId = cad.NewLayer(QStringLiteral("Off"), false);
    cad.DrawAll(Rect(400, 400, 480, 480));
    EXPECT_TRUE(cad.ShapesDrawnLast().empty());
}
