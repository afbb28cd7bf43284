// Writes the seed corpus of fuzz_load_document into the folder given: a
// document of each layout from the test encoder, an 8-bit one, and drawings
// saved by the writer with every feature the format has (bitmaps, groups,
// attached connectors, user data, layers).
// Usage: make_load_document_seeds DIR
#include "SeedFiles.h"
#include "cad/canvas/MyCAD.h"
#include "cad/io/DocumentFile.h"
#include "cad/shapes/Line.h"
#include "io/DocumentEncoder.h"

#include <QApplication>

#include <cstdio>
#include <string>

using namespace mycad;

namespace {

using seeds::Write;

std::vector<uint8_t> Saved(const TMyCAD& cad)
{
    TMemoryStream s;
    SaveToStream(cad, s);
    return s.Bytes();
}

docenc::Document EncodedSample(const std::string& version)
{
    docenc::Document doc;
    doc.Version = version;
    doc.UserData = {{u"k", u"v"}};
    doc.Layers = {{u"Base", 0, 1}, {u"Hidden", 1, 0}};
    docenc::Shape group;
    group.Name = u"G";
    group.Points = {{0, 0}, {40, 0}, {40, 30}, {0, 30}};
    group.Children = {1};
    group.Links = {1};
    group.UserData = {{u"a", u"b"}};
    group.MultiInfo = {u"m"};
    docenc::Shape line;
    line.Class = "TMyLine";
    line.Name = u"L";
    line.Id = 1;
    line.No = 1;
    line.Layer = 1;
    line.Parent = 0;
    line.Points = {{1, 2}, {30, 20}};
    line.LinkPoints = {{5, 5}};
    line.ArrowStyle = 3;
    doc.Shapes = {group, line};
    return doc;
}

TBitmap Pattern(int32_t w, int32_t h)
{
    TBitmap bmp(w, h, TPixelFormat::pf24bit);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < 3 * w; ++x) bmp.ScanLine(y)[x] = static_cast<uint8_t>(x * 13 + y * 7);
    }
    return bmp;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string dir = argv[1];
    bool ok = true;
    for (const char* version : {"XP.2", "XP.4", "XP.6", "XP.7", "XP.8", "XP.9", "XP.a", "XP.e", "XP.h", "XP.j"}) {
        ok &= Write(dir, std::string("encoded-") + version, docenc::EncodeDocument(EncodedSample(version)));
    }
    ok &= Write(dir, "encoded-8bit", docenc::EncodeDocument(EncodedSample("XP.j"), true));

    TMyCAD empty;
    ok &= Write(dir, "saved-empty", Saved(empty));

    TMyCAD cad;
    cad.SetBkBitmap(Pattern(3, 2));
    cad.UserData().AddKeyandValue(QStringLiteral("author"), QStringLiteral("seed"));
    cad.NewLayer(QStringLiteral("Second"), false);
    TMyShape* group = cad.CreateAddShapeByName(QStringLiteral("TMyRectangle"));
    group->ThePoints = {{0, 0}, {50, 0}, {50, 40}, {0, 40}};
    const TBitmap brush = Pattern(8, 8);
    group->Brush().SetBitmap(&brush);
    group->SetStoredGradient(0x0000FF, 0xFF0000, TGradientStyle::gsDiamond);
    group->MultiInfo().Add(QStringLiteral("two"));
    group->UserData().AddKeyandValue(QStringLiteral("x"), QStringLiteral("y"));
    auto* line = dynamic_cast<TMyLine*>(cad.CreateAddShapeByName(QStringLiteral("TMyLine")));
    line->ThePoints = {{1, 1}, {20, 30}, {40, 5}};
    line->LinkPoints = {{2, 2}};
    line->SetArrowStyle(TArrowStyle::ALeft);
    group->ChildShapesNo = {1};
    line->ParentShapeNo = 0;
    group->LinkShapesNo = {1};
    ok &= Write(dir, "saved-drawing", Saved(cad));

    if (!ok) {
        std::fprintf(stderr, "cannot write the seeds into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
