// DXF files read back by a DXF library we did not write (ezdxf): its audit
// finds nothing wrong, and the entities it reads lie where the shapes are.
#include "DxfSamples.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

using namespace mycad;
using namespace iotest;

namespace {

constexpr double kMm = kDxfPixelsPerMillimetre;

/// What the reader makes of each file, in the order given.
QJsonArray ReadBack(const QStringList& files)
{
    QProcess p;
    p.start(QStringLiteral(MYCAD_SYSTEM_PYTHON3),
            QStringList{QStringLiteral(MYCAD_SOURCE_DIR "/tests/io/dxf_readback.py")} + files);
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(p.readAllStandardOutput()).array();
}

/// A document point as the file's frame holds it: millimetres, y up from the
/// bottom of a page 378 pixels high.
void ExpectAt(const QJsonValue& point, double x, double y, const std::string& what)
{
    const QJsonArray p = point.toArray();
    ASSERT_EQ(p.size(), 2) << what;
    EXPECT_NEAR(p[0].toDouble(), x / kMm, 1e-9) << what;
    EXPECT_NEAR(p[1].toDouble(), (378.0 - y) / kMm, 1e-9) << what;
}

} // namespace

TEST(DxfReadBack, AuditsCleanlyWithTheShapesWhereTheyAre)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString every = dir.filePath(QStringLiteral("every.dxf"));
    const QString empty = dir.filePath(QStringLiteral("empty.dxf"));
    const QString outlines = dir.filePath(QStringLiteral("outlines.dxf"));
    auto cad = EveryClassDrawing();
    ASSERT_TRUE(SaveToDxf(*cad, every));
    TMyCAD blank;
    ASSERT_TRUE(SaveToDxf1(blank, empty));
    // (The zoom changes nothing in the file; the writer's tests compare bytes.)
    cad->SetZoom(3.0);
    ASSERT_TRUE(SaveToDxf1(*cad, outlines));

    const QJsonArray files = ReadBack({every, empty, outlines});
    ASSERT_EQ(files.size(), 3);
    for (const QJsonValue& f : files) {
        EXPECT_TRUE(f[QStringLiteral("errors")].toArray().isEmpty())
            << f[QStringLiteral("file")].toString().toStdString() << ": "
            << QJsonDocument(f[QStringLiteral("errors")].toArray()).toJson().toStdString();
    }
    EXPECT_TRUE(files[1][QStringLiteral("entities")].toArray().isEmpty());

    const QJsonArray e = files[0][QStringLiteral("entities")].toArray();
    QStringList kinds;
    for (const QJsonValue& v : e) kinds << v[QStringLiteral("type")].toString();
    ASSERT_EQ(kinds, QStringList({"LINE", "LINE", "LINE", "POLYLINE", "POLYLINE", "CIRCLE", "POLYLINE", "ARC", "ARC",
                                  "POLYLINE", "LINE", "LINE", "CIRCLE", "CIRCLE", "POLYLINE", "TEXT", "TEXT", "TEXT",
                                  "TEXT"}));
    const auto points = [&e](int i) { return e[i][QStringLiteral("points")].toArray(); };
    ExpectAt(points(0)[0], 0, 0, "line start");
    ExpectAt(points(0)[1], 100, 50, "line end");
    ExpectAt(points(2)[1], 30, 30, "polyline end");
    ASSERT_EQ(points(4).size(), 4);
    ExpectAt(points(4)[2], 140, 120, "rectangle corner 2");
    EXPECT_TRUE(e[4][QStringLiteral("closed")].toBool());
    ExpectAt(points(5)[0], 215, 215.25, "circle centre");
    EXPECT_NEAR(e[5][QStringLiteral("radius")].toDouble(), 15 / kMm, 1e-9);

    // The ellipse: 181 vertices from its left end.
    ASSERT_EQ(points(6).size(), 181);
    ExpectAt(points(6)[0], 0, 310, "ellipse start");

    // Both arcs have their centre at (100, 100) and radius 100, over the top
    // and under the bottom of the circle as the canvas draws them.
    for (int i : {7, 8}) {
        ExpectAt(points(i)[0], 100, 100, "arc centre");
        EXPECT_NEAR(e[i][QStringLiteral("radius")].toDouble(), 100 / kMm, 1e-9);
    }
    EXPECT_EQ(e[7][QStringLiteral("angles")].toArray(), QJsonArray({0.0, 180.0}));
    EXPECT_EQ(e[8][QStringLiteral("angles")].toArray(), QJsonArray({180.0, 0.0}));

    // The connector round its corner. (The sampled conics and the junction
    // dot have their own cases in test_dxf.cpp and the expected file.)
    ExpectAt(points(11)[0], 60, 200, "connector corner");
    ExpectAt(points(11)[1], 60, 250, "connector end");

    // Text: Info on its box's bottom-left corner, beyond ASCII intact; the
    // lines top to bottom, the last on the corner.
    EXPECT_EQ(e[15][QStringLiteral("text")].toString(), u"Pump \u00e9"_s);
    ExpectAt(points(15)[0], 150, 270, "info text");
    QStringList texts;
    for (int i : {16, 17, 18}) texts << e[i][QStringLiteral("text")].toString();
    EXPECT_EQ(texts, QStringList({"one", "two", "three"}));
    ExpectAt(points(18)[0], 150, 340, "last line");

    // As outlines the text boxes are closed polylines, and nothing else
    // changes: every entity before them reads the same.
    const QJsonArray o = files[2][QStringLiteral("entities")].toArray();
    ASSERT_GT(o.size(), e.size());
    for (int i = 0; i < 15; ++i) EXPECT_EQ(o[i], e[i]) << i;
    for (int i = 15; i < o.size(); ++i) {
        EXPECT_EQ(o[i][QStringLiteral("type")].toString(), u"POLYLINE"_s) << i;
        EXPECT_TRUE(o[i][QStringLiteral("closed")].toBool()) << i;
        EXPECT_GE(o[i][QStringLiteral("points")].toArray().size(), 3) << i;
    }
}
