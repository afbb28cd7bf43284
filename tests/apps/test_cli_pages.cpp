// `mycad render` into vector files, `mycad preview` and `mycad print`.
#include "AppsTestSupport.h"
#include "io/RealReaders.h"

#include "cad/io/DocumentFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace mycad;
using namespace mycad::appstest;

namespace {

TEST(MycadPages, VectorRendersPreviewsAndPrints)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("page.zed"));
    TMyCAD cad; // A4
    AddBox(cad, 100, 100, 300, 200, clRed);
    cad.NewLayer(QStringLiteral("Other"), true);
    AddBox(cad, 400, 100, 500, 200, clBlue);
    ASSERT_TRUE(SaveToFile(cad, file));

    for (const char* ext : {"svg", "pdf", "wmf"}) {
        const QString out = dir.filePath(QStringLiteral("page.") + QLatin1String(ext));
        ASSERT_EQ(Mycad({QStringLiteral("render"), file, out}).code, 0) << ext;
        EXPECT_GT(QFileInfo(out).size(), 100) << ext;
    }
    QFile svg(dir.filePath(QStringLiteral("page.svg")));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svg.readAll().startsWith("<?xml"));

    // Layer 1 only, at zoom 0.5; then at most 200 x 100 pixels.
    const QString preview = dir.filePath(QStringLiteral("preview.png"));
    ASSERT_EQ(Mycad({QStringLiteral("preview"), file, preview, QStringLiteral("--zoom"), QStringLiteral("0.5"),
                     QStringLiteral("--layers"), QStringLiteral("1")})
                  .code,
              0);
    EXPECT_EQ(PixelAt(preview, 100, 75), clWhite);
    EXPECT_EQ(PixelAt(preview, 225, 75), clBlue);
    ASSERT_EQ(Mycad({QStringLiteral("preview"), file, preview, QStringLiteral("--max-size"),
                     QStringLiteral("200x100")})
                  .code,
              0);
    TBitmap small;
    ASSERT_TRUE(small.LoadFromFile(preview));
    EXPECT_EQ(small.Width(), 200);
    EXPECT_EQ(small.Height(), 100);
    EXPECT_EQ(Mycad({QStringLiteral("preview"), file, preview, QStringLiteral("--max-size"), QStringLiteral("20")})
                  .code,
              2);

    // Printed on A4 paper at its real size.
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    ASSERT_EQ(Mycad({QStringLiteral("print"), file, pdf}).code, 0);
    const QImage page = iotest::RasterisePdf(pdf);
    EXPECT_EQ(page.size(), QSize(794, 1123));
    EXPECT_EQ(page.pixel(200, 150) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(Mycad({QStringLiteral("print"), file, dir.filePath(QStringLiteral("x.png"))}).code, 2);
}

} // namespace
