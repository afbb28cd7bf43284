// Studio's File > Export as DXF: the command in the File menu asks for a file
// and for text as text or outlines, and writes what the export writes.
#include "AppsTestSupport.h"

#include "apps/studio/DxfExportDialog.h"
#include "apps/studio/StudioWindow.h"
#include "cad/io/DxfExport.h"
#include "platform/Messages.h"

#include <QMenuBar>

using namespace mycad;
using namespace mycad::appstest;
using mycad::studio::TStudioWindow;

TEST(StudioDxf, FileMenuExportsTheDrawingAsDxf)
{
    QTemporaryDir dir;
    TMessageCapture messages;
    TStudioWindow window(dir.filePath(QStringLiteral("settings.ini")));
    QString target;
    int asked = 0;
    window.AskSaveFileName = [&](const QString&, const QString&, const QString&) { return target; };
    std::optional<bool> choice;
    const auto previous = studio::AskDxfTextOutlines;
    studio::AskDxfTextOutlines = [&](QWidget*) {
        ++asked;
        return choice;
    };
    AddBox(window.Cad(), 10, 20, 110, 70, clRed);
    AddTextBox(window.Cad(), 10, 80, 110, 100, QStringLiteral("Valve"));

    QAction* exportDxf = nullptr;
    for (QAction* top : window.menuBar()->actions()) {
        if (top->text().remove(u'&') != QStringLiteral("File")) continue;
        for (QAction* a : top->menu()->actions()) {
            if (a->objectName() == QStringLiteral("fileExportDxf")) exportDxf = a;
        }
    }
    ASSERT_NE(exportDxf, nullptr);

    // A name without extension gets ".dxf"; text and outlines both write the
    // export's file; a cancelled choice writes nothing.
    target = dir.filePath(QStringLiteral("plan"));
    for (const std::optional<bool> c : {std::optional<bool>(false), std::optional<bool>(true), std::optional<bool>()}) {
        QFile::remove(target + QStringLiteral(".dxf"));
        choice = c;
        exportDxf->trigger();
        const std::vector<uint8_t> bytes = ReadBytes(target + QStringLiteral(".dxf"));
        if (c) {
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), DxfDocument(window.Cad(), *c));
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()).find("Valve") != std::string::npos, !*c);
        } else {
            EXPECT_TRUE(bytes.empty());
        }
    }
    EXPECT_EQ(asked, 3);
    // No file chosen: nothing is asked.
    target.clear();
    exportDxf->trigger();
    EXPECT_EQ(asked, 3);
    EXPECT_TRUE(messages.Messages().empty());

    EXPECT_FALSE(studio::ExportDxf(window, dir.filePath(QStringLiteral("no/dir/x.dxf")), false));
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_TRUE(messages.Messages()[0].contains(QStringLiteral("could not be written")));
    studio::AskDxfTextOutlines = previous;
}
