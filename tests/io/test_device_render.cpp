// One render entry point onto any canvas: an image and a PDF of the same
// drawing agree (the PDF read back by pdftoppm), and rendering at another
// zoom leaves the control as it was.
#include "io/RealReaders.h"

#include "cad/canvas/MyCAD.h"
#include "cad/io/RasterExport.h"
#include "platform/Graphics.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace mycad {
namespace {

// A 480 x 480 page with filled and outlined figures, a wide-pen line and a
// polyline, on two layers.
struct FiguresDrawing {
    FiguresDrawing()
    {
        cad.SetPageStyle(TPageStyle::CustomerPage);
        cad.SetPageWidth(127);
        cad.SetPageHeight(127);
        cad.SetZoom(2.0);
        cad.SetZoom(1.0);
        Add("TMyRectangle", {{40, 40}, {200, 40}, {200, 120}, {40, 120}}, clRed, 1);
        Add("TMyEllipse", {{240, 60}, {420, 60}, {420, 200}, {240, 200}}, clBlue, 1);
        Add("TMyRectangle", {{60, 260}, {300, 260}, {300, 440}, {60, 440}}, clLime, 6);
        Add("TMyLine", {{20, 200}, {460, 300}}, clBlack, 3);
        Add("TMyPolyLine", {{320, 260}, {460, 280}, {380, 440}}, clBlack, 1);
    }
    void Add(const char* cls, const TArrMyPoint& points, TColor colour, int32_t pen)
    {
        TMyShape* s = cad.CreateAddShapeByName(QString::fromLatin1(cls));
        ASSERT_NE(s, nullptr);
        s->ThePoints = points;
        s->CenterPoint = s->ComputeCenterPoint(static_cast<int32_t>(points.size()));
        s->Brush().SetColor(colour);
        s->Brush().SetStyle(TBrushStyle::bsSolid);
        s->Pen().SetColor(clBlack);
        s->Pen().SetWidth(pen);
        s->SetCaptionShow(false);
    }
    TMyCAD cad;
};

TEST(DeviceRender, ImageAndPdfAgreeAndTheControlStaysAsItWas)
{
    FiguresDrawing d;
    d.cad.SetZoom(1.5);
    const int32_t width = d.cad.Width();
    int paints = 0;
    d.cad.OnPaint = [&](TMyCAD*) { ++paints; };

    TRenderRequest request;
    request.Zoom = 1.0;
    TBitmap image(480, 480, TPixelFormat::pf32bit);
    d.cad.RenderShapes(image.Canvas(), request);
    EXPECT_EQ(image.Canvas().Pixel(100, 80), clRed);
    EXPECT_EQ(image.Canvas().Pixel(330, 130), clBlue);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("figures.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QSizeF(127, 127), QPageSize::Millimeter),
                                         QPageLayout::Portrait, QMarginsF()));
        TCanvas canvas;
        ASSERT_TRUE(canvas.SetDevice(&writer));
        EXPECT_EQ(canvas.GetDeviceCaps(HORZRES), 480);
        d.cad.RenderShapes(canvas, request);
        canvas.SetDevice(nullptr);
    }
    const QImage fromPdf = iotest::RasterisePdf(pdf);
    ASSERT_EQ(fromPdf.size(), QSize(480, 480));
    EXPECT_EQ(iotest::DifferencesAwayFromEdges(image.Image().convertToFormat(QImage::Format_RGB32), fromPdf), 0);

    // An offset moves the picture; the control kept its zoom and size and
    // did not repaint.
    request.Offset = {-40, -40};
    TBitmap shifted(480, 480, TPixelFormat::pf32bit);
    d.cad.RenderShapes(shifted.Canvas(), request);
    EXPECT_EQ(shifted.Canvas().Pixel(60, 40), clRed);
    EXPECT_EQ(d.cad.Zoom(), 1.5);
    EXPECT_EQ(d.cad.Width(), width);
    EXPECT_EQ(paints, 0);
}

} // namespace
} // namespace mycad
