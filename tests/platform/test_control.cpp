#include "platform/Control.h"

#include <QApplication>
#include <QHelpEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

using namespace mycad;

namespace {

using S = TShiftStateItem;

struct MouseRecord {
    char kind; // 'D' down, 'M' move, 'U' up, 'C' double click
    TMouseButton button;
    TShiftState shift;
    TPoint at;
    friend bool operator==(const MouseRecord&, const MouseRecord&) = default;
};

void PrintTo(const MouseRecord& r, std::ostream* os)
{
    *os << r.kind << " button " << int(r.button) << " shift " << r.shift.Bits() << " at " << r.at.X << "," << r.at.Y;
}

// A control that paints its whole client area in one colour (the canvas clips
// it to the invalid area) and records what reaches it.
class Probe : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

    TColor fill = clYellow;
    TRect invalidateDuringPaint;
    std::vector<TRect> paints;
    std::vector<MouseRecord> mouse;
    int resizes = 0;

    void Settle()
    {
        QApplication::processEvents();
        paints.clear();
    }
    /// Shown on the screen, with nothing recorded yet.
    bool ShowAndSettle()
    {
        show();
        const bool exposed = QTest::qWaitForWindowExposed(this);
        Settle();
        mouse.clear();
        return exposed;
    }

protected:
    void Paint() override
    {
        paints.push_back(Canvas().ClipRect());
        if (!invalidateDuringPaint.IsEmpty()) {
            InvalidateRect(invalidateDuringPaint);
            invalidateDuringPaint = {};
            Update(); // must not re-enter Paint
        }
        Canvas().Brush().SetColor(fill);
        Canvas().FillRect(ClientRect());
    }
    void MouseDown(TMouseButton b, TShiftState s, int32_t x, int32_t y) override { mouse.push_back({'D', b, s, {x, y}}); }
    void MouseMove(TShiftState s, int32_t x, int32_t y) override { mouse.push_back({'M', TMouseButton::mbLeft, s, {x, y}}); }
    void MouseUp(TMouseButton b, TShiftState s, int32_t x, int32_t y) override { mouse.push_back({'U', b, s, {x, y}}); }
    void DblClick() override { mouse.push_back({'C', TMouseButton::mbLeft, {}, {}}); }
    void Resize() override { ++resizes; }
};

TColor Rgb(QRgb p)
{
    return RGB(static_cast<uint8_t>(qRed(p)), static_cast<uint8_t>(qGreen(p)), static_cast<uint8_t>(qBlue(p)));
}

// The surface pixel at control coordinates (x, y), as 0x00BBGGRR.
TColor SurfaceAt(const TGraphicControl& c, int32_t x, int32_t y)
{
    return Rgb(c.Surface().pixel(x - c.SurfaceRect().Left, y - c.SurfaceRect().Top));
}

// Cursor confinement is global; never let one test leave it on.
struct ClipGuard {
    ~ClipGuard() { ClipCursor(nullptr); }
};

} // namespace

namespace mycad {
void PrintTo(const TRect& r, std::ostream* os)
{
    *os << "(" << r.Left << "," << r.Top << ")-(" << r.Right << "," << r.Bottom << ")";
}
} // namespace mycad

TEST(Control, DrawingOutsidePaintPersistsIsShownAndSurvivesResizing)
{
    Probe c;
    c.SetBounds(0, 0, 200, 100);
    c.Settle();
    const int before = c.resizes;
    EXPECT_EQ(c.Surface().format(), QImage::Format_RGB32);
    EXPECT_EQ(SurfaceAt(c, 150, 50), clYellow); // the first paint covered everything

    c.Canvas().Brush().SetColor(clRed);
    c.Canvas().FillRect(Rect(10, 10, 20, 20));

    // Showing the control paints nothing new and keeps the drawing; what the
    // widget shows is the surface.
    c.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&c));
    QApplication::processEvents();
    EXPECT_TRUE(c.paints.empty());
    EXPECT_EQ(SurfaceAt(c, 15, 15), clRed);
    const QImage shown = c.grab().toImage();
    EXPECT_EQ(Rgb(shown.pixel(15, 15)), clRed);
    EXPECT_EQ(Rgb(shown.pixel(25, 25)), clYellow);

    // Drawing after the widget was shown appears at its next paint event.
    c.Canvas().Brush().SetColor(clBlue);
    c.Canvas().FillRect(Rect(100, 50, 110, 60));
    EXPECT_EQ(Rgb(c.grab().toImage().pixel(105, 55)), clBlue);

    // Growing keeps the pixels, paints only the new part and notifies once
    // (showing notified nothing); the same size again is no resize.
    c.Settle();
    c.fill = clAqua;
    c.SetWidth(250);
    EXPECT_EQ(c.resizes, before + 1);
    QApplication::processEvents();
    EXPECT_EQ(c.paints, (std::vector<TRect>{Rect(200, 0, 250, 100)}));
    EXPECT_EQ(SurfaceAt(c, 220, 40), clAqua);
    EXPECT_EQ(SurfaceAt(c, 15, 15), clRed);
    c.SetWidth(250);
    EXPECT_EQ(c.resizes, before + 1);

    // A control shrunk to nothing has no surface, and drawing is ignored.
    c.SetBounds(0, 0, 0, 0);
    EXPECT_TRUE(c.Surface().isNull());
    EXPECT_TRUE(c.SurfaceRect().IsEmpty());
    c.Canvas().FillRect(Rect(0, 0, 10, 10));
}

TEST(Control, InvalidationsMergeIntoOnePaintOfTheInvalidArea)
{
    Probe c;
    c.SetBounds(0, 0, 200, 100);
    c.Settle();

    c.fill = clLime;
    c.InvalidateRect(Rect(10, 10, 20, 20));
    c.InvalidateRect(Rect(50, 40, 60, 50));
    EXPECT_TRUE(c.paints.empty()); // nothing paints before the event loop runs
    EXPECT_EQ(c.InvalidRect(), Rect(10, 10, 60, 50));
    QApplication::processEvents();
    EXPECT_EQ(c.paints, (std::vector<TRect>{Rect(10, 10, 60, 50)}));
    EXPECT_EQ(SurfaceAt(c, 30, 30), clLime);
    EXPECT_EQ(SurfaceAt(c, 9, 9), clYellow); // the canvas clipped the paint
    EXPECT_EQ(SurfaceAt(c, 60, 50), clYellow);

    // Only the visible part of a request is painted; a request outside paints nothing.
    c.Settle();
    c.InvalidateRect(Rect(-10, -10, 5, 5));
    c.InvalidateRect(Rect(300, 300, 400, 400));
    QApplication::processEvents();
    EXPECT_EQ(c.paints, (std::vector<TRect>{Rect(0, 0, 5, 5)}));

    // Update paints now; the queued request then finds nothing to do.
    c.Settle();
    c.InvalidateRect(Rect(1, 2, 3, 4));
    c.Update();
    EXPECT_EQ(c.paints, (std::vector<TRect>{Rect(1, 2, 3, 4)}));
    QApplication::processEvents();
    EXPECT_EQ(c.paints.size(), 1u);

    c.Settle();
    c.Update(); // nothing invalid: no paint
    EXPECT_TRUE(c.paints.empty());

    // A request made during Paint is served by the next one.
    c.invalidateDuringPaint = Rect(70, 70, 80, 80);
    c.InvalidateRect(Rect(0, 0, 10, 10));
    c.Update();
    ASSERT_EQ(c.paints.size(), 1u);
    QApplication::processEvents();
    ASSERT_EQ(c.paints.size(), 2u);
    EXPECT_EQ(c.paints[1], Rect(70, 70, 80, 80));
}

TEST(Control, HugeControlInScrollAreaKeepsSurfaceToViewportAndPaintsWhatScrollsIn)
{
    QScrollArea area;
    area.resize(800, 600);
    auto* c = new Probe;
    c->SetBounds(0, 0, 20000, 20000);
    // Even on its own, before it has a viewport, it does not hold the whole page.
    EXPECT_LE(c->Surface().width(), 4096);
    area.setWidget(c);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    c->Settle();

    const QSize view = area.viewport()->size();
    EXPECT_EQ(c->SurfaceRect(), Rect(0, 0, view.width(), view.height()));

    c->Canvas().Brush().SetColor(clRed);
    c->Canvas().FillRect(Rect(50, 50, 60, 60));
    // Drawing outside the visible part is clipped, not an error.
    c->Canvas().FillRect(Rect(15000, 15000, 15010, 15010));

    c->fill = clFuchsia;
    area.horizontalScrollBar()->setValue(30);
    QApplication::processEvents();
    EXPECT_EQ(c->SurfaceRect(), Rect(30, 0, 30 + view.width(), view.height()));
    EXPECT_EQ(c->paints, (std::vector<TRect>{Rect(view.width(), 0, view.width() + 30, view.height())}));
    EXPECT_EQ(SurfaceAt(*c, 55, 55), clRed); // kept while scrolling
    EXPECT_EQ(SurfaceAt(*c, view.width() + 10, 10), clFuchsia);
    EXPECT_EQ(Rgb(c->grab(QRect(50, 50, 10, 10)).toImage().pixel(5, 5)), clRed);

    // A scroll that leaves nothing in view repaints the whole new view.
    c->Settle();
    area.verticalScrollBar()->setValue(5000);
    QApplication::processEvents();
    EXPECT_EQ(c->paints, (std::vector<TRect>{Rect(30, 5000, 30 + view.width(), 5000 + view.height())}));
}

TEST(Control, MouseEventsArriveWithButtonShiftStateAndPosition)
{
    Probe c;
    c.SetBounds(0, 0, 200, 150);
    ASSERT_TRUE(c.ShowAndSettle());

    QTest::mousePress(&c, Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 40));
    QTest::mouseMove(&c, QPoint(35, 45));
    QTest::mouseRelease(&c, Qt::LeftButton, Qt::ControlModifier, QPoint(36, 46));
    QTest::mousePress(&c, Qt::RightButton, Qt::AltModifier, QPoint(5, 6));
    QTest::mouseRelease(&c, Qt::RightButton, Qt::NoModifier, QPoint(5, 6));
    QTest::mousePress(&c, Qt::MiddleButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(7, 8));
    QTest::mouseRelease(&c, Qt::MiddleButton, Qt::NoModifier, QPoint(7, 8));
    // A released button is no longer held.
    using enum TMouseButton;
    EXPECT_EQ(c.mouse, (std::vector<MouseRecord>{{'D', mbLeft, {S::ssShift, S::ssLeft}, {30, 40}},
                                                 {'M', mbLeft, {S::ssLeft}, {35, 45}},
                                                 {'U', mbLeft, {S::ssCtrl}, {36, 46}},
                                                 {'D', mbRight, {S::ssAlt, S::ssRight}, {5, 6}},
                                                 {'U', mbRight, {}, {5, 6}},
                                                 {'D', mbMiddle, {S::ssShift, S::ssCtrl, S::ssMiddle}, {7, 8}},
                                                 {'U', mbMiddle, {}, {7, 8}}}));

    // A double click: the second press arrives as MouseDown with ssDouble,
    // followed by DblClick, then the release.
    c.mouse.clear();
    QTest::mousePress(&c, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QTest::mouseRelease(&c, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QTest::mouseDClick(&c, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QTest::mouseRelease(&c, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_EQ(c.mouse, (std::vector<MouseRecord>{{'D', mbLeft, {S::ssLeft}, {50, 50}},
                                                 {'U', mbLeft, {}, {50, 50}},
                                                 {'D', mbLeft, {S::ssLeft, S::ssDouble}, {50, 50}},
                                                 {'C', mbLeft, {}, {}},
                                                 {'U', mbLeft, {}, {50, 50}}}));

    // Moving the pointer without a button: a move with nothing held.
    SetCursorPos(c.ClientToScreen(Point(60, 70)));
    QApplication::processEvents();
    ASSERT_FALSE(c.mouse.empty());
    EXPECT_TRUE(c.mouse.back().kind == 'M' && c.mouse.back().shift.Empty());
    EXPECT_EQ(c.mouse.back().at, Point(60, 70));
}

TEST(Control, ClipCursorClampsDeliveredAndReportedPositions)
{
    ClipGuard guard;
    Probe c;
    c.SetBounds(0, 0, 200, 150);
    c.move(40, 30);
    ASSERT_TRUE(c.ShowAndSettle());

    const TPoint origin = c.ClientToScreen(Point(0, 0));
    const TRect screen = Rect(origin.X + 10, origin.Y + 10, origin.X + 50, origin.Y + 40);
    ClipCursor(&screen);
    TRect got;
    ASSERT_TRUE(GetClipCursor(got));
    EXPECT_EQ(got, screen);

    // Right and bottom edges are outside the confinement.
    QTest::mousePress(&c, Qt::LeftButton, Qt::NoModifier, QPoint(100, 5));
    QTest::mouseMove(&c, QPoint(0, 100));
    QTest::mouseMove(&c, QPoint(20, 20));
    QTest::mouseRelease(&c, Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
    std::vector<TPoint> at;
    for (const MouseRecord& m : c.mouse) at.push_back(m.at);
    EXPECT_EQ(at, (std::vector<TPoint>{{49, 10}, {10, 39}, {20, 20}, {49, 39}}));

    SetCursorPos(Point(origin.X + 500, origin.Y - 100));
    EXPECT_EQ(GetCursorPos(), Point(origin.X + 49, origin.Y + 10));

    ClipCursor(nullptr);
    EXPECT_FALSE(GetClipCursor(got));
    SetCursorPos(Point(origin.X + 150, origin.Y + 120));
    EXPECT_EQ(GetCursorPos(), Point(origin.X + 150, origin.Y + 120));
}

TEST(Control, CursorShapesAndHints)
{
    Probe c;
    c.SetBounds(0, 0, 100, 100);
    // A custom cursor nobody registered (7) shows the arrow.
    const std::pair<TCursor, Qt::CursorShape> shapes[] = {
        {TCursor::crCross, Qt::CrossCursor},          {TCursor::crNone, Qt::BlankCursor},
        {TCursor::crSizeNESW, Qt::SizeBDiagCursor},   {TCursor::crSizeNWSE, Qt::SizeFDiagCursor},
        {TCursor::crSizeWE, Qt::SizeHorCursor},       {TCursor::crHandPoint, Qt::PointingHandCursor},
        {static_cast<TCursor>(7), Qt::ArrowCursor},   {TCursor::crDefault, Qt::ArrowCursor}};
    for (const auto& [cursor, shape] : shapes) {
        c.SetCursor(cursor);
        EXPECT_EQ(c.cursor().shape(), shape) << int(cursor);
    }

    c.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&c));
    SetCursorPos(c.ClientToScreen(Point(50, 50)));
    QApplication::processEvents();
    c.ActivateHint("Rectangle 3");
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), String("Rectangle 3"));
    // Hiding returns at once; the tip fades out on its own timer.
    c.ActivateHint("");
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000));
    c.ActivateHint("again");
    EXPECT_EQ(QToolTip::text(), String("again"));
    c.CancelHint();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000));

    // Resting the mouse shows the control's own hint only when hints are on.
    QHelpEvent rest(QEvent::ToolTip, QPoint(50, 50), c.mapToGlobal(QPoint(50, 50)));
    c.SetHint("Drawing");
    QApplication::sendEvent(&c, &rest);
    EXPECT_FALSE(QToolTip::isVisible());
    c.SetShowHint(true);
    QApplication::sendEvent(&c, &rest);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), String("Drawing"));
}
