// One render entry point onto any canvas: an image and a PDF of the same
// drawing agree (the PDF read back by pdftoppm), and rendering at another
// zoom leaves the control as it was.
#include "io/IoTestSupport.h"
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
        iotest::Use480PixelPage(cad);
        iotest::AddFilled(cad, "TMyRectangle", iotest::Box(40, 40, 200, 120), clRed);
        iotest::AddFilled(cad, "TMyEllipse", iotest::Box(240, 60, 420, 200), clBlue);
        iotest::AddFilled(cad, "TMyRectangle", iotest::Box(60, 260, 300, 440), clLime, 6);
        iotest::AddFilled(cad, "TMyLine", {{20, 200}, {460, 300}}, clBlack, 3);
        iotest::AddFilled(cad, "TMyPolyLine", {{320, 260}, {460, 280}, {380, 440}}, clBlack);
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
