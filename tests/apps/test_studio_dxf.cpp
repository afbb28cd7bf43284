// Studio's File > Export as DXF: the command in the File menu asks for a file
// and for text as text or outlines, and writes what the export writes.
#include "StudioTestSupport.h"

#include "apps/studio/DxfExportDialog.h"
#include "cad/io/DxfExport.h"

using namespace mycad;
using namespace mycad::appstest;

TEST(StudioDxf, FileMenuExportsTheDrawingAsDxf)
{
    Studio s;
    int asked = 0;
    std::optional<bool> choice;
    const auto previous = studio::AskDxfTextOutlines;
    studio::AskDxfTextOutlines = [&](QWidget*) {
        ++asked;
        return choice;
    };
    AddBox(s.window.Cad(), 10, 20, 110, 70, clRed);
    AddTextBox(s.window.Cad(), 10, 80, 110, 100, QStringLiteral("Valve"));

    // A name without extension gets ".dxf"; text and outlines both write the
    // export's file; a cancelled choice writes nothing.
    s.saveAs = s.Path("plan");
    const QString written = s.saveAs + QStringLiteral(".dxf");
    for (const std::optional<bool> c : {std::optional<bool>(false), std::optional<bool>(true), std::optional<bool>()}) {
        QFile::remove(written);
        choice = c;
        s.Trigger("File", "fileExportDxf");
        const std::vector<uint8_t> bytes = ReadBytes(written);
        const std::string text(bytes.begin(), bytes.end());
        EXPECT_EQ(text, c ? DxfDocument(s.window.Cad(), *c) : std::string());
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
