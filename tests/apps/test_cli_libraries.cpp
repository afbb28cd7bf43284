// `mycad lib` and `mycad place`, and the shape libraries that ship.
#include "AppsTestSupport.h"
#include "io/LibrarySamples.h"

#include "apps/common/ShippedLibraries.h"
#include "cad/io/DocumentFile.h"
#include "cad/io/LibManager.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace mycad;
using namespace mycad::appstest;

namespace {

QJsonObject Json(const TRun& run) { return QJsonDocument::fromJson(run.out.toUtf8()).object(); }

TEST(ShippedLibraries, AreWhatTheGeneratorWritesAndEveryFlowchartEntryLinksOnFourSides)
{
    const QDir examples(QStringLiteral(MYCAD_EXAMPLES_DIR));
    TLibManager flowchart;
    app::BuildFlowchartLibrary(flowchart);
    TLibManager basic;
    app::BuildBasicLibrary(basic);
    EXPECT_EQ(ReadBytes(examples.filePath(QString::fromLatin1(app::kFlowchartLibraryFile))), flowchart.LibStream.Bytes())
        << "examples/ is out of date: run mycad-make-libraries examples";
    EXPECT_EQ(ReadBytes(examples.filePath(QString::fromLatin1(app::kBasicLibraryFile))), basic.LibStream.Bytes())
        << "examples/ is out of date: run mycad-make-libraries examples";

    ASSERT_EQ(flowchart.GetcmbShapesCount(), 9);
    for (int32_t i = 0; i < flowchart.GetcmbShapesCount(); ++i) {
        const QString name = flowchart.GetCmbShapesNameByID(i);
        TArrMyPoint links;
        TUserData data;
        TArrMyShape shapes;
        int32_t w = 0;
        int32_t h = 0;
        ASSERT_TRUE(flowchart.GetCmbShape(name, links, data, shapes, w, h, true));
        ASSERT_EQ(links.size(), 4u) << name.toStdString();
        // Top, right, bottom and left, each on the entry's frame or inside it.
        EXPECT_LT(links[0].Y, links[2].Y);
        EXPECT_LT(links[3].X, links[1].X);
        for (const TMyPoint& p : links) {
            EXPECT_TRUE(p.X >= -0.01f && p.X <= w + 0.01f && p.Y >= -0.01f && p.Y <= h + 0.01f) << name.toStdString();
        }
    }
    EXPECT_EQ(basic.GetcmbShapesCount(), 11);
}

TEST(MycadLib, AddListShowPreviewAndPlaceAnEntry)
{
    QTemporaryDir dir;
    const QString drawing = dir.filePath(QStringLiteral("pair.zed"));
    {
        TMyCAD cad;
        AddBox(cad, 100, 100, 140, 120, clRed);
        AddBox(cad, 140, 100, 180, 120, clBlue);
        ASSERT_TRUE(SaveToFile(cad, drawing));
    }
    const QString lib = dir.filePath(QStringLiteral("new.zlb"));
    ASSERT_EQ(Mycad({"lib", "add", lib, "Pair", drawing}).code, 0);
    ASSERT_EQ(Mycad({"lib", "add", lib, "Again", drawing}).code, 0);
    // The same name again replaces the entry.
    ASSERT_EQ(Mycad({"lib", "add", lib, "Pair", drawing}).code, 0);

    const TRun list = Mycad({"lib", "list", lib, "--json"});
    ASSERT_EQ(list.code, 0) << list.err.toStdString();
    const QJsonArray entries = Json(list)[u"entries"].toArray();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0][u"name"].toString(), QStringLiteral("Pair"));
    EXPECT_EQ(entries[0][u"width"].toInt(), 80);
    EXPECT_EQ(entries[0][u"height"].toInt(), 20);
    EXPECT_EQ(entries[1][u"shapes"].toInt(), 2);

    const TRun show = Mycad({"lib", "show", lib, "Pair", "--json"});
    ASSERT_EQ(show.code, 0);
    const QJsonArray shapes = Json(show)[u"shapes"].toArray();
    ASSERT_EQ(shapes.size(), 2);
    EXPECT_EQ(shapes[1][u"points"][0][0].toDouble(), 40.0);
    EXPECT_EQ(shapes[1][u"brush"][u"color"].toInt(), int(clBlue));

    const QString tile = dir.filePath(QStringLiteral("tile.png"));
    ASSERT_EQ(Mycad({"lib", "preview", lib, "Pair", tile, "--size", "42"}).code, 0);
    ExpectPicture(tile, 42, 42, {{10, 21, clRed}, {31, 21, clBlue}, {21, 3, clWhite}});

    const QString placed = dir.filePath(QStringLiteral("placed.zed"));
    ASSERT_EQ(Mycad({"place", drawing, lib, "Pair", "300", "200", placed}).code, 0);
    TMyCAD cad;
    ASSERT_TRUE(LoadFromFile(cad, placed));
    ASSERT_EQ(cad.GetShapesCount(), 5);
    const TMyShape* combine = cad.GetShapeByNo(2);
    EXPECT_EQ(combine->ClassName(), QStringLiteral("TMyCombine"));
    EXPECT_EQ(combine->ThePoints[0], (TMyPoint{260, 190}));
    EXPECT_EQ(cad.GetShapeByNo(4)->ParentShapeNo, 2);
    EXPECT_EQ(cad.GetShapeByNo(4)->Brush().Color(), clBlue);
}

TEST(MycadLib, UpgradeWritesOlderAndEightBitLibrariesInTheCurrentVersion)
{
    QTemporaryDir dir;
    libenc::Entry entry{u"Box", 80, 40, {{u"k", u"v"}}, {libenc::Box("TMyRectangle", 0, 0, 1, 1)}};
    const QString old = dir.filePath(QStringLiteral("old.zlb"));
    ASSERT_TRUE(WriteBytes(old, libenc::EncodeLibrary("ZEDALIBX.9", {entry})));
    const QString ansi = dir.filePath(QStringLiteral("ansi.zlb"));
    ASSERT_TRUE(WriteBytes(ansi, libenc::EightBitRingLibrary()));

    for (const auto& [from, name] : {std::pair{old, "Box"}, std::pair{ansi, "Ring"}}) {
        const QString upgraded = dir.filePath(QStringLiteral("new.zlb"));
        const std::vector<uint8_t> before = ReadBytes(from);
        ASSERT_EQ(Mycad({"lib", "upgrade", from, upgraded}).code, 0);
        EXPECT_EQ(ReadBytes(from), before);
        TLibManager lib;
        ASSERT_TRUE(lib.LoadFromFile(upgraded));
        EXPECT_EQ(lib.LibTag(), kNewestLibTag);
        EXPECT_EQ(lib.GetCmbShapesNameByID(0), QString::fromLatin1(name));
    }
    const TRun show = Mycad({"lib", "show", old, "Box", "--json"});
    EXPECT_EQ(Json(show)[u"userData"][0][1].toString(), QStringLiteral("v"));
}

TEST(MycadLib, ExitStatusAndOneLineForEachFailure)
{
    QTemporaryDir dir;
    const QString lib = dir.filePath(QStringLiteral("lib.zlb"));
    ASSERT_TRUE(WriteBytes(lib, ReadBytes(QStringLiteral(MYCAD_EXAMPLES_DIR "/flowchart.zlb"))));
    const std::vector<uint8_t> good = ReadBytes(lib);
    const QString damaged = dir.filePath(QStringLiteral("damaged.zlb"));
    ASSERT_TRUE(WriteBytes(damaged, std::vector<uint8_t>(good.begin(), good.end() - 9)));
    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    ASSERT_TRUE(WriteBytes(text, std::vector<uint8_t>(100, 'x')));
    const QString missing = dir.filePath(QStringLiteral("missing.zlb"));
    const QString png = dir.filePath(QStringLiteral("tile.png"));
    const QString drawing = QStringLiteral(MYCAD_SAMPLE_FILE);
    const QString out = dir.filePath(QStringLiteral("out.zed"));

    struct Case {
        QStringList args;
        int code;
        const char* says;
    };
    const std::vector<Case> cases = {
        {{"lib", "list", missing}, 1, "no such file"},
        {{"lib", "list", text}, 1, "not a shape library"},
        {{"lib", "list", damaged}, 1, "damaged"},
        {{"lib", "show", lib, "Nothing"}, 1, "no entry named 'Nothing'"},
        {{"lib", "preview", lib, "Nothing", png}, 1, "no entry named"},
        {{"place", drawing, lib, "Nothing", "10", "10", out}, 1, "no entry named"},
        {{"place", drawing, damaged, "Process", "10", "10", out}, 1, "damaged"},
        // Adding to a file that is no library leaves it alone.
        {{"lib", "add", text, "Sample", drawing}, 1, "not a shape library"},
        {{"lib", "preview", lib, "Process", png, "--size", "2"}, 2, "--size"},
        {{"lib", "preview", lib, "Process", dir.filePath(QStringLiteral("tile.gif"))}, 2, "must end in"},
        {{"lib", "show", lib}, 2, "expects"},
        {{"lib", "frobnicate", lib}, 2, "unknown action"},
        {{"place", drawing, lib, "Process", "x", "10", out}, 2, "whole numbers"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const TRun run = Mycad(c.args);
        EXPECT_EQ(run.code, c.code);
        EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromLatin1(c.says))) << run.err.toStdString();
    }
    EXPECT_EQ(ReadBytes(text), std::vector<uint8_t>(100, 'x'));
    EXPECT_FALSE(QFile::exists(png));
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(Mycad({"lib", "--help"}).code, 0);
    EXPECT_EQ(Mycad({"place", "--help"}).code, 0);
}

} // namespace
