// MyCAD Studio's page commands: Page Setup, the vector exports, printing the
// selection and Copy as Picture.
#include "AppsTestSupport.h"
#include "io/RealReaders.h"

#include "apps/studio/PageCommands.h"
#include "apps/studio/StudioWindow.h"

#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QTemporaryDir>

using namespace mycad;
using namespace mycad::appstest;

namespace {

QAction* InMenus(QMenuBar* bar, const QString& name)
{
    for (QAction* top : bar->actions()) {
        if (!top->menu()) continue;
        for (QAction* a : top->menu()->actions()) {
            if (a->objectName() == name) return a;
        }
    }
    return nullptr;
}

TEST(StudioPages, PageSetupExportsPrintingAndCopyAsPicture)
{
    QTemporaryDir dir;
    studio::TStudioWindow window(dir.filePath(QStringLiteral("settings.ini")));
    window.AskSaveChanges = [](const QString&) { return studio::TStudioWindow::TSaveAnswer::Discard; };
    TMyCAD& cad = window.Cad();

    studio::TPageSetupDialog setup(cad);
    setup.findChild<QComboBox*>(QStringLiteral("pageSize"))->setCurrentIndex(int(TPageStyle::A5));
    setup.findChild<QComboBox*>(QStringLiteral("pageOrientation"))->setCurrentIndex(1);
    setup.findChild<QLineEdit*>(QStringLiteral("headText"))->setText(QStringLiteral("Plan B"));
    setup.findChild<QGroupBox*>(QStringLiteral("pageBorder"))->setChecked(true);
    setup.Apply();
    EXPECT_EQ(cad.PageStyle(), TPageStyle::A5);
    EXPECT_EQ(cad.PageWidth(), 210u); // landscape
    EXPECT_EQ(cad.PageHead(), QStringLiteral("Plan B"));
    EXPECT_TRUE(cad.PrintABorder());

    TMyShape* chosen = AddBox(cad, 100, 100, 200, 200, clRed);
    AddBox(cad, 300, 100, 400, 200, clBlue);
    cad.AddWorkingShapes(chosen);

    const QString svg = dir.filePath(QStringLiteral("page.svg"));
    window.AskSaveFileName = [&](const QString&, const QString&, const QString&) { return svg; };
    QAction* exportSvg = InMenus(window.menuBar(), QStringLiteral("fileExportSvg"));
    ASSERT_NE(exportSvg, nullptr);
    exportSvg->trigger();
    EXPECT_GT(QFileInfo(svg).size(), 100);
    for (const char* name : {"fileExportPdf", "fileExportWmf", "filePageSetup", "filePrintPreview", "filePrint"}) {
        EXPECT_NE(InMenus(window.menuBar(), QLatin1String(name)), nullptr) << name;
    }

    // The selection alone on the paper the dialog left in the printer.
    const QString pdf = dir.filePath(QStringLiteral("selection.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    ASSERT_TRUE(studio::PrintDrawing(cad, printer, studio::TPrintRange::Selection, {}));
    const QImage page = iotest::RasterisePdf(pdf);
    EXPECT_EQ(page.size(), QSize(794, 1123));
    EXPECT_EQ(page.pixel(150, 150) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(page.pixel(350, 150) & 0xFFFFFF, 0xFFFFFFu);

    QAction* copy = InMenus(window.menuBar(), QStringLiteral("editCopyPicture"));
    ASSERT_NE(copy, nullptr);
    copy->trigger();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(QStringLiteral("image/x-wmf")));
    EXPECT_TRUE(data->hasFormat(QStringLiteral("image/svg+xml")));
    EXPECT_TRUE(data->hasImage());
    // The selection at the window's zoom.
    const int side = RoundToInt(100 * cad.Zoom());
    EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).size(), QSize(side, side));
}

} // namespace
