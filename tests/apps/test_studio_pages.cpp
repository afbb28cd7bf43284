// MyCAD Studio's page commands: Page Setup, the vector and DXF exports,
// printing the selection and Copy as Picture.
#include "StudioTestSupport.h"
#include "io/RealReaders.h"

#include "apps/studio/DxfExportDialog.h"
#include "apps/studio/PageCommands.h"
#include "cad/io/DxfExport.h"

#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>

using namespace mycad;
using namespace mycad::appstest;
using StudioPages = StudioTest;

TEST_F(StudioPages, PageSetupExportsPrintingCopyAsPictureAndDxf)
{
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

    s.saveAs = s.Path("page.svg");
    s.Trigger("File", "fileExportSvg");
    EXPECT_GT(QFileInfo(s.saveAs).size(), 100);

    // The selection alone on the paper the dialog left in the printer.
    const QString pdf = s.Path("selection.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    ASSERT_TRUE(studio::PrintDrawing(cad, printer, studio::TPrintRange::Selection, {}));
    const QImage page = iotest::RasterisePdf(pdf);
    EXPECT_EQ(page.size(), QSize(794, 1123));
    EXPECT_EQ(page.pixel(150, 150) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(page.pixel(350, 150) & 0xFFFFFF, 0xFFFFFFu);

    s.Trigger("Edit", "editCopyPicture");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(QStringLiteral("image/x-wmf")));
    EXPECT_TRUE(data->hasFormat(QStringLiteral("image/svg+xml")));
    EXPECT_TRUE(data->hasImage());
    // The selection at the window's zoom.
    const int side = RoundToInt(100 * cad.Zoom());
    EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).size(), QSize(side, side));

    // DXF: a name without extension gets ".dxf"; text and outlines both write
    // the export's file; a cancelled choice writes nothing.
    AddTextBox(cad, 10, 80, 110, 100, QStringLiteral("Valve"));
    int asked = 0;
    std::optional<bool> choice;
    const auto previous = studio::AskDxfTextOutlines;
    studio::AskDxfTextOutlines = [&](QWidget*) {
        ++asked;
        return choice;
    };
    s.saveAs = s.Path("plan");
    const QString written = s.saveAs + QStringLiteral(".dxf");
    for (const std::optional<bool> c : {std::optional<bool>(false), std::optional<bool>(true), std::optional<bool>()}) {
        QFile::remove(written);
        choice = c;
        s.Trigger("File", "fileExportDxf");
        const std::vector<uint8_t> bytes = ReadBytes(written);
        const std::string text(bytes.begin(), bytes.end());
        EXPECT_EQ(text, c ? DxfDocument(cad, *c) : std::string());
        EXPECT_EQ(text.find("Valve") != std::string::npos, c == false);
    }
    EXPECT_EQ(asked, 3);
    // No file chosen: nothing is asked.
    s.saveAs.clear();
    s.Trigger("File", "fileExportDxf");
    EXPECT_EQ(asked, 3);
    EXPECT_TRUE(s.messages.Messages().empty());

    EXPECT_FALSE(studio::ExportDxf(s.window, s.Path("no/dir/x.dxf"), false));
    ASSERT_EQ(s.messages.Messages().size(), 1u);
    EXPECT_TRUE(s.messages.Messages()[0].contains(QStringLiteral("could not be written")));
    studio::AskDxfTextOutlines = previous;
}
