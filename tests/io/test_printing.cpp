// Pages and pictures: preview sizes and page elements, which layers a
// preview shows, the selection's preview and metafile, grey printing at the
// page's real size, read back by poppler and libwmf; and the drawing rendered
// into bitmaps and image files: what lands where, at which scale, over which
// background, and that the canvas is left as it was.
#include "io/IoTestSupport.h"
#include "io/RealReaders.h"

#include "cad/canvas/MyCAD.h"
#include "cad/io/Printing.h"
#include "cad/io/RasterExport.h"
#include "cad/io/VectorExport.h"
#include "cad/shapes/Image.h"
#include "cad/shapes/TextOut.h"
#include "platform/Metafile.h"

#include <QFile>
#include <QPainter>
#include <QtSvg/QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <tuple>

namespace mycad {
namespace {

TMyShape* AddBox(TMyCAD& cad, float l, float t, float r, float b, TColor fill)
{
    return iotest::AddFilled(cad, "TMyRectangle", iotest::Box(l, t, r, b), fill);
}

TColor At(TBitmap& b, int32_t x, int32_t y) { return b.Canvas().Pixel(x, y); }

// The leftmost column of bitmap with a pixel that is not white.
int LeftmostInk(TBitmap& b)
{
    for (int x = 0; x < b.Width(); ++x) {
        for (int y = 0; y < b.Height(); ++y) {
            if (At(b, x, y) != clWhite) return x;
        }
    }
    return -1;
}

// An SVG drawn by Qt's renderer onto a white picture of the size.
QImage DrawSvg(QSvgRenderer& renderer, int w, int h)
{
    EXPECT_TRUE(renderer.isValid());
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    renderer.render(&p);
    return image;
}

// A metafile as libwmf reads it, drawn back onto white.
QImage DrawWmf(const QString& file, int w, int h, QByteArray* svgOut = nullptr)
{
    QByteArray svg;
    EXPECT_EQ(iotest::RunProgram(QStringLiteral("wmf2svg"), {file}, &svg), 0) << "wmf2svg (libwmf-bin, see scripts/setup) failed";
    if (svgOut) *svgOut = svg;
    QSvgRenderer renderer(svg.mid(svg.indexOf("<?xml")));
    return DrawSvg(renderer, w, h);
}

TEST(PagePreview, SizesBackgroundBorderAndHead)
{
    TMyCAD cad; // A4 portrait
    TBitmap preview;
    cad.SetColorOfBackGround(clYellow);
    PrintPreview(cad, {}, preview, 0.5);
    EXPECT_EQ(preview.Width(), 397);
    EXPECT_EQ(preview.Height(), 561);
    EXPECT_EQ(At(preview, 200, 300), clWhite); // PrintBackground is off
    cad.SetPrintBackground(true);
    PrintPreviewLowMem(cad, {}, preview, 500, 500, 1.0);
    EXPECT_EQ(preview.Width(), 500);
    EXPECT_EQ(preview.Height(), 500);
    EXPECT_EQ(At(preview, 200, 300), clYellow);
    EXPECT_EQ(cad.Zoom(), 1.0);

    // The border at its distances, times the zoom.
    cad.SetPrintBackground(false);
    cad.SetPrintABorder(true);
    PrintPreview(cad, {}, preview, 2.0);
    EXPECT_EQ(At(preview, 40, 300), clBlack);
    EXPECT_EQ(At(preview, 41, 300), clWhite);
    EXPECT_EQ(At(preview, preview.Width() - 41, 300), clBlack);

    // A centred head stands (bitmap width - text width) / 2 from the left:
    // compared with the same text left-aligned at a known x, so the glyphs'
    // own bearings cancel.
    cad.SetPrintABorder(false);
    cad.SetPageHead(QStringLiteral("Quarterly plan"));
    TBitmap page(800, 200, TPixelFormat::pf32bit);
    DrawBackground(cad, page);
    DrawHeadFoot(cad, page);
    const int centred = LeftmostInk(page);
    cad.SetPageHeadAlignment(TAlignment::taLeftJustify);
    DrawBackground(cad, page);
    DrawHeadFoot(cad, page);
    const int left = LeftmostInk(page);
    const TSize text = GetTextWidthHeight(page.Canvas(), cad.PageHead(), cad.PageHeadFont(), 0.0, 1.0);
    ASSERT_GT(text.cx, 0);
    EXPECT_EQ(centred - left, RoundToInt((800 - text.cx) / 2.0) - cad.PrintABordertoLeft());
}

TEST(PagePreview, LayersGroupsAndTheSelection)
{
    TMyCAD cad;
    // Layer ids count from 0: the second new layer is 2.
    cad.NewLayer(QStringLiteral("Two"), true);
    ASSERT_EQ(cad.NewLayer(QStringLiteral("Three"), false), 2);
    cad.SetCurrentLayerId(0);
    TMyShape* onZero = AddBox(cad, 10, 10, 60, 60, clRed);
    cad.SetCurrentLayerId(2);
    AddBox(cad, 100, 10, 150, 60, clBlue);
    TMyShape* hidden = AddBox(cad, 200, 10, 250, 60, clLime);
    hidden->SetVisible(false);
    TMyShape* memberA = AddBox(cad, 10, 100, 60, 150, clFuchsia);
    TMyShape* memberB = AddBox(cad, 100, 100, 150, 150, clAqua);
    ASSERT_GE(cad.GroupShapes({memberA, memberB}, false), 0);
    memberA->LayerId = 0; // a member on another layer than its group
    TMyShape* group = cad.GetShapeByNo(static_cast<int32_t>(memberB->ParentShapeNo));
    ASSERT_NE(group, nullptr);
    group->LayerId = 2;

    // Layer 2 only, though hidden in the layer table: its visible shapes and
    // the whole group with its members.
    TBitmap preview;
    PrintPreview(cad, {2}, preview, 1.0);
    EXPECT_EQ(At(preview, 30, 30), clWhite);
    EXPECT_EQ(At(preview, 120, 30), clBlue);
    EXPECT_EQ(At(preview, 220, 30), clWhite);
    EXPECT_EQ(At(preview, 30, 120), clFuchsia);
    EXPECT_EQ(At(preview, 120, 120), clAqua);
    // Shape by shape, members by their own layer.
    PrintPreviewLowMem(cad, {2}, preview, 400, 400, 1.0);
    EXPECT_EQ(At(preview, 30, 120), clWhite);
    EXPECT_EQ(At(preview, 120, 120), clAqua);

    // The selection's preview leaves out a hidden shape.
    cad.AddWorkingShapes(onZero);
    cad.AddWorkingShapes(hidden);
    PreviewSelectedShapes(cad, preview, 1.0);
    EXPECT_EQ(At(preview, 30, 30), clRed);
    EXPECT_EQ(At(preview, 220, 30), clWhite);
    EXPECT_EQ(At(preview, 120, 30), clWhite);
}

TEST(PagePrint, GreyAtRealSizeIntoPdf)
{
    TMyCAD cad; // A4
    // Blue: its grey by the mean of red, green and blue (85) is far from
    // its grey by brightness (about 40), so the printer's own conversion
    // cannot pass for the canvas's.
    AddBox(cad, 100, 200, 300, 400, clBlue);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    TPrinter printer;
    printer.SetOutputFileName(pdf);
    printer.SetGrayscale(true);
    ASSERT_TRUE(Print(cad, {}, 1.0, printer));
    const QImage page = iotest::RasterisePdf(pdf);
    // A4 at 96 pixels per inch: the paper is the page, the drawing 1:1.
    EXPECT_EQ(page.size(), QSize(794, 1123));
    const QRgb inside = page.pixel(200, 300);
    EXPECT_EQ(qRed(inside), qGreen(inside));
    EXPECT_NEAR(qRed(inside), 255 / 3, 3);
    EXPECT_GT(qRed(page.pixel(98, 300)), 240); // the box starts at x 100, 1:1
    EXPECT_LT(qRed(page.pixel(102, 300)), 160);
    // The application's printer reports grey printing as two colours.
    Printer().SetGrayscale(true);
    EXPECT_TRUE(IsBlackWhitePrinter());
    Printer().SetGrayscale(false);
    EXPECT_FALSE(IsBlackWhitePrinter());
}

// A host that runs its own job prints the page elements one by one; the
// page then shows what the preview shows, in every picture mode. (The
// picture is grey and white: the PDF keeps pictures as JPEG, which blurs
// colour edges.)
TEST(PagePrint, AHostsOwnJobPrintsThePageElementsAsThePreviewShowsThem)
{
    TMyCAD cad; // A4
    TBitmap tile(30, 30, TPixelFormat::pf24bit);
    tile.Canvas().Brush().SetColor(clGray);
    tile.Canvas().FillRect(Rect(0, 0, 15, 30));
    tile.Canvas().Brush().SetColor(clWhite);
    tile.Canvas().FillRect(Rect(15, 0, 30, 30));
    cad.SetBkBitmap(tile);
    cad.SetPrintABorder(true);
    cad.SetPageHead(QStringLiteral("Plan"));
    cad.SetPageFoot(QStringLiteral("Sheet 1"));
    cad.SetPageFootAlignment(TAlignment::taRightJustify);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("job.pdf"));
    for (const TBkBitmapMode mode :
         {TBkBitmapMode::Tiled, TBkBitmapMode::Stretch, TBkBitmapMode::Center, TBkBitmapMode::LeftTop}) {
        SCOPED_TRACE(int(mode));
        cad.SetBkBitmapMode(mode);
        TPrinter job;
        job.SetOutputFileName(pdf);
        job.SetPaper(PaperOf(cad));
        EXPECT_FALSE(job.NewPage()); // no page outside a job
        ASSERT_TRUE(job.BeginDoc());
        PrintBkBitmap(cad, job, 1.0);
        PrintBorder(cad, job);
        PrintHeadFoot(cad, job);
        job.EndDoc();
        TBitmap preview;
        PrintPreview(cad, {}, preview, 1.0);
        const QImage want = preview.Image().convertToFormat(QImage::Format_RGB32);
        const QImage got = iotest::RasterisePdf(pdf);
        // Both ways: ink where the preview has none, and ink the page lacks.
        EXPECT_LT(iotest::DifferencesAwayFromEdges(want, got) + iotest::DifferencesAwayFromEdges(got, want), 20);
    }
}

TEST(VectorExport, SvgAndWmfFilesShowWhatTheScreenShows)
{
    TMyCAD cad;
    iotest::Use480PixelPage(cad);
    // A white sheet as large as the page: libwmf sizes its picture by what
    // the metafile draws, so the sheet makes that the page.
    AddBox(cad, 0, 0, 481, 481, clWhite)->Pen().SetColor(clWhite);
    AddBox(cad, 40, 40, 200, 120, clRed);
    iotest::AddFilled(cad, "TMyEllipse", iotest::Box(240, 60, 420, 200), clBlue);
    cad.SetPageHead(QStringLiteral("Site plan"));
    // A dashed triangle; in the head's band, where glyphs differ anyway, a
    // captioned box and a picture (libwmf's SVG adds a picture's position
    // twice, so the picture is checked in the file it decodes).
    iotest::AddFilled(cad, "TMyPolygon", {{40, 300}, {200, 300}, {120, 440}}, clGreen)->Pen().SetStyle(TPenStyle::psDash);
    TMyShape* gate = AddBox(cad, 300, 4, 400, 36, clYellow);
    gate->SetInfo(QStringLiteral("Gate"));
    gate->SetCaptionShow(true);
    gate->TextOutPoint = {350, 14};
    TBitmap picture(60, 40, TPixelFormat::pf24bit);
    picture.Canvas().Brush().SetColor(clFuchsia);
    picture.Canvas().FillRect(Rect(0, 0, 30, 40));
    picture.Canvas().Brush().SetColor(clAqua);
    picture.Canvas().FillRect(Rect(30, 0, 60, 40));
    static_cast<TMyImage*>(iotest::AddFilled(cad, "TMyImage", iotest::Box(410, 0, 470, 40), clWhite))->SetBitmap(&picture);

    TBitmap screen;
    PrintPreview(cad, {}, screen, 1.0);
    ASSERT_EQ(screen.Width(), 480);
    QTemporaryDir dir;
    const QString svgFile = dir.filePath(QStringLiteral("page.svg"));
    ASSERT_TRUE(SaveToSvg(cad, svgFile));
    QFile svgText(svgFile);
    ASSERT_TRUE(svgText.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svgText.readAll().contains("Site plan")); // text stays text
    QSvgRenderer renderer(svgFile);
    const QImage fromSvg = DrawSvg(renderer, 480, 480);
    // The head's glyphs are edges through and through; the rest agrees.
    const QImage want = screen.Image().convertToFormat(QImage::Format_RGB32);
    const QRect headArea(0, 0, 480, 40);
    QImage wantNoHead = want;
    QImage gotNoHead = fromSvg;
    QPainter(&wantNoHead).fillRect(headArea, Qt::white);
    QPainter(&gotNoHead).fillRect(headArea, Qt::white);
    EXPECT_EQ(iotest::DifferencesAwayFromEdges(wantNoHead, gotNoHead), 0);

    const QString wmfFile = dir.filePath(QStringLiteral("page.wmf"));
    ASSERT_TRUE(SaveToWmf(cad, wmfFile));
    QByteArray wmfSvg;
    QImage wmfPixels = DrawWmf(wmfFile, 480, 480, &wmfSvg);
    EXPECT_TRUE(wmfSvg.contains(">Gate</text>"));
    const QImage decoded(dir.filePath(QStringLiteral("page-1.png")));
    ASSERT_EQ(decoded.size(), QSize(60, 40));
    EXPECT_EQ(decoded.pixel(5, 5) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_EQ(decoded.pixel(55, 35) & 0xFFFFFF, 0x00FFFFu);
    QPainter(&wmfPixels).fillRect(headArea, Qt::white);
    // libwmf scales the picture to a size of its own choosing before it is
    // drawn back, which moves some outline pixels by a little more than the
    // one-pixel margin: a few dozen of the 230 400 pixels.
    EXPECT_LT(iotest::DifferencesAwayFromEdges(wantNoHead, wmfPixels), 200);
}

TEST(VectorExport, SelectionMetafileStartsAtItsCorner)
{
    TMyCAD cad;
    TMyShape* box = AddBox(cad, 100, 50, 300, 150, clRed);
    cad.AddWorkingShapes(box);
    const std::vector<uint8_t> wmf = SelectionAsWmf(cad);
    ASSERT_GT(wmf.size(), 40u);
    auto word = [&](size_t i) { return uint16_t(wmf[2 * i] | (wmf[2 * i + 1] << 8)); };
    EXPECT_EQ(uint32_t(word(0)) | (uint32_t(word(1)) << 16), 0x9AC6CDD7u);
    uint16_t sum = 0;
    for (size_t i = 0; i < 10; ++i) sum ^= word(i);
    EXPECT_EQ(word(10), sum);
    // 200 x 100 pixels: the box's size in units, at units-per-inch / 96.
    const double unitsPerPixel = word(7) / 96.0;
    EXPECT_EQ(word(5) - word(3), RoundToInt(200 * unitsPerPixel));
    EXPECT_EQ(word(6) - word(4), RoundToInt(100 * unitsPerPixel));
    // The picture does not depend on where the selection lies.
    TMyCAD atOrigin;
    atOrigin.AddWorkingShapes(AddBox(atOrigin, 0, 0, 200, 100, clRed));
    EXPECT_EQ(SelectionAsWmf(atOrigin), wmf);

    // libwmf reads it; drawn back, the red box fills the picture from its corner.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("box.wmf"));
    iotest::WriteBytes(file, wmf);
    const QImage back = DrawWmf(file, 200, 100);
    EXPECT_EQ(back.pixel(5, 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(back.pixel(190, 90) & 0xFFFFFF, 0xFF0000u);

    // A host filling a metafile through a canvas of its own.
    TMetafile sheet(100, 50);
    TCanvas canvas;
    ASSERT_TRUE(canvas.SetDevice(&sheet));
    canvas.Brush().SetColor(clLime);
    canvas.FillRect(Rect(0, 0, 100, 50));
    canvas.SetDevice(nullptr);
    ASSERT_TRUE(sheet.SaveToFile(dir.filePath(QStringLiteral("sheet.wmf"))));
    EXPECT_EQ(DrawWmf(dir.filePath(QStringLiteral("sheet.wmf")), 100, 50).pixel(50, 25) & 0xFFFFFF, 0x00FF00u);
}

TEST(RasterExport, ScalesToFitKeepingProportionsAndWritesFilesInTheFormatOfTheOperation)
{
    // A 480 x 480 pixel page (127 mm at 96 pixels per inch) holding one red
    // filled rectangle from (100, 50) to (300, 150) with a black outline.
    TMyCAD cad;
    iotest::Use480PixelPage(cad);
    iotest::AddFilled(cad, "TMyRectangle", iotest::Box(100, 50, 300, 150), clRed);
    // Drawn at zoom 1 over the background colour, whatever the canvas's own
    // zoom, which it keeps.
    cad.SetColorOfBackGround(clYellow);
    cad.SetZoom(1.5);
    struct Case {
        int32_t w, h;
        double zoom;
    };
    // Width-bound, height-bound, and larger than the page.
    for (const Case c : {Case{240, 480, 0.5}, Case{480, 240, 0.5}, Case{960, 960, 2.0}, Case{960, 480, 1.0}}) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        TBitmap bmp;
        SaveToBmp(cad, bmp, c.w, c.h, true);
        ASSERT_EQ(bmp.Width(), c.w);
        ASSERT_EQ(bmp.Height(), c.h);
        EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::pf24bit);
        const auto at = [&](double x, double y) {
            return At(bmp, static_cast<int32_t>(x * c.zoom), static_cast<int32_t>(y * c.zoom));
        };
        for (const auto& [x, y, colour] : {std::tuple{200, 100, clRed}, {104, 54, clRed}, {296, 146, clRed},
                                           {90, 100, clYellow}, {310, 100, clYellow}, {200, 160, clYellow}}) {
            EXPECT_EQ(at(x, y), colour) << x << "," << y;
        }
        EXPECT_EQ(At(bmp, c.w - 1, c.h - 1), clYellow);
        EXPECT_DOUBLE_EQ(cad.Zoom(), 1.5);
        EXPECT_DOUBLE_EQ(cad.PreZoom(), 1.0);
        EXPECT_EQ(cad.Width(), 720);
    }
    // Without the fill the background colour stays out: the picture stands
    // on white, even in a bitmap that held another picture before.
    TBitmap reused(480, 480);
    reused.Canvas().Brush().SetColor(clBlue);
    reused.Canvas().FillRect(Rect(0, 0, 480, 480));
    SaveToBmp(cad, reused, 480, 480, false);
    EXPECT_EQ(At(reused, 200, 100), clRed);
    EXPECT_EQ(At(reused, 100, 100), clBlack); // the outline
    EXPECT_EQ(At(reused, 50, 100), clWhite);
    EXPECT_EQ(At(reused, 479, 479), clWhite);

    // Shapes far from the origin still come out when the bitmap is larger
    // than the control.
    iotest::AddFilled(cad, "TMyRectangle", iotest::Box(400, 400, 470, 470), clGreen);
    TBitmap big;
    SaveToBmp(cad, big, 960, 960, true);
    EXPECT_EQ(At(big, 870, 870), clGreen);

    TBitmap none(10, 10);
    SaveToBmp(cad, none, 0, 50, true);
    EXPECT_TRUE(none.Empty());

    // Files: the page at zoom 1 over the background, whatever the zoom.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const String png = dir.filePath(QStringLiteral("box.png"));
    const String bmp = dir.filePath(QStringLiteral("box.BMP"));
    const String jpg = dir.filePath(QStringLiteral("box.jpeg"));
    cad.SetZoom(0.5);

    ASSERT_TRUE(SaveToPng(cad, png, true));
    ASSERT_TRUE(SaveToBmp(cad, bmp, true));
    ASSERT_TRUE(SaveToJpg(cad, jpg, 95, true));
    EXPECT_DOUBLE_EQ(cad.Zoom(), 0.5);

    const auto startsWith = [](const String& name, const QByteArray& magic) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) && f.read(magic.size()) == magic;
    };
    EXPECT_TRUE(startsWith(png, "\x89PNG"));
    EXPECT_TRUE(startsWith(bmp, "BM"));
    EXPECT_TRUE(startsWith(jpg, "\xFF\xD8"));

    for (const String& name : {png, bmp}) {
        TBitmap back;
        ASSERT_TRUE(back.LoadFromFile(name));
        EXPECT_EQ(back.Width(), 480);
        EXPECT_EQ(back.Height(), 480);
        EXPECT_EQ(At(back, 200, 100), clRed);
        EXPECT_EQ(At(back, 50, 100), clYellow);
    }
    // (The JPEG's colours and its quality are the render command's checks.)

    // The name must carry the format's extension; nothing is written otherwise.
    const String wrong = dir.filePath(QStringLiteral("box.png.bmp"));
    EXPECT_FALSE(SaveToPng(cad, wrong, true));
    EXPECT_FALSE(SaveToJpg(cad, dir.filePath(QStringLiteral("noext")), 90, true));
    EXPECT_FALSE(QFile::exists(wrong));
    EXPECT_FALSE(SaveToPng(cad, dir.filePath(QStringLiteral("missing/dir/box.png")), true));
}

} // namespace
} // namespace mycad
