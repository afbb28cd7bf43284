// DXF export: the bytes of the file for the edge cases of each entity, the
// number format, and one drawing of every class against its expected file;
// then the files read back by a DXF library we did not write (ezdxf): its
// audit finds nothing wrong, and the entities it reads lie where the shapes are.
#include "IoTestSupport.h"

#include "cad/io/DxfExport.h"
#include "cad/shapes/Ellipse.h"
#include "cad/shapes/PolyLine.h"
#include "cad/shapes/Text.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>

using namespace mycad;
using namespace iotest;

namespace {

// Drawings on a page 378 pixels high (100 mm at 96 pixels per inch), shapes
// placed by their stored points, and the file split into its lines.

/// A canvas at zoom 1 whose control is 378 pixels high.
std::unique_ptr<TMyCAD> DxfCanvas()
{
    auto cad = std::make_unique<TMyCAD>();
    cad->SetHeight(378);
    EXPECT_EQ(cad->Height(), 378);
    return cad;
}

TMyShape* AddDxfShape(TMyCAD& cad, const char* className, const TArrMyPoint& points)
{
    TMyShape* s = AddShape<TMyShape>(cad, className);
    if (s) {
        s->ThePoints = points;
        s->CenterPoint = s->ComputeCenterPoint(4);
    }
    return s;
}

void AddArc(TMyCAD& cad, TArcMode mode, const TArrMyPoint& points)
{
    auto* arc = dynamic_cast<TMyElliArc*>(AddDxfShape(cad, "TMyElliArc", points));
    ASSERT_NE(arc, nullptr);
    arc->SetArcMode(mode);
}

/// A text box on the box's corners with a font 16 pixels high: Info as its
/// text, or without Info the lines.
TMyText* AddText(TMyCAD& cad, const TArrMyPoint& box, const String& info, const std::vector<String>& lines = {})
{
    auto* text = dynamic_cast<TMyText*>(AddDxfShape(cad, "TMyText", box));
    EXPECT_NE(text, nullptr);
    if (!text) return nullptr;
    text->Font().SetHeight(-16);
    text->SetInfo(info);
    text->Lines().Clear();
    for (const String& line : lines) text->Lines().Add(line);
    return text;
}

/// One shape of every class in the order of data/every_class.dxf; the
/// free-hand line, the rule line, the B-spline, the picture, the link point,
/// the group and the combine write nothing. Without text the drawing has no
/// text box, so both kinds of file are the same.
std::unique_ptr<TMyCAD> EveryClassDrawing(bool withText = true)
{
    auto cad = DxfCanvas();
    AddDxfShape(*cad, "TMyLine", {{0, 0}, {100, 50}});
    AddDxfShape(*cad, "TMyPolyLine", {{10, 10}, {30, 10}, {30, 30}});
    AddDxfShape(*cad, "TMyFreeLine", {{0, 0}, {5, 5}, {10, 0}});
    AddDxfShape(*cad, "TMyPolygon", {{40, 40}, {80, 40}, {60, 70}, {40, 40}});
    AddDxfShape(*cad, "TMyRectangle", Box(100, 100, 140, 120));
    AddDxfShape(*cad, "TMyEllipse", Box(200, 200, 230, 230.5f));
    AddDxfShape(*cad, "TMyEllipse", Box(0, 300, 40, 320));
    // The same circle through its top, then through its bottom.
    AddArc(*cad, TArcMode::amCircle, {{0, 100}, {100, 0}, {200, 100}});
    AddArc(*cad, TArcMode::amCircle, {{0, 100}, {100, 200}, {200, 100}});
    AddArc(*cad, TArcMode::amEllipse, {{2, 0}, {0, 0}, {0, 2}});
    AddDxfShape(*cad, "TMyGroup", Box(0, 0, 10, 10));
    AddDxfShape(*cad, "TMyCombine", Box(0, 0, 10, 10));
    // A connector round a corner, and the junction dot on its corner.
    AddDxfShape(*cad, "TMyLinkLine", {{10, 200}, {60, 200}, {60, 250}});
    AddDxfShape(*cad, "TMyLineLinkLine", Box(56, 196, 64, 204));
    // Sampled as the conic through its first three points: A = (3, 4), so
    // n = round(sqrt(100 * 5)) = 22 and 23 vertices.
    AddDxfShape(*cad, "TMyPolyBezier", {{4, 4}, {6, 2}, {5.5f, 2}, {8, 0}});
    AddDxfShape(*cad, "TMyRuleLine", {{0, 360}, {100, 360}});
    AddDxfShape(*cad, "TMyBLine", {{250, 250}, {260, 240}, {270, 260}});
    AddDxfShape(*cad, "TMyImage", Box(300, 300, 340, 330));
    AddDxfShape(*cad, "TMyLinkPoint", Box(96, 96, 104, 104));
    if (withText) {
        AddText(*cad, Box(150, 250, 230, 270), u"Pump \u00e9"_s);
        AddText(*cad, Box(150, 280, 230, 340), String(), {u"one"_s, u"two"_s, u"three"_s});
    }
    return cad;
}

/// The file's lines without their CR LF; a line not ended so fails the test.
std::vector<std::string> DxfLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t eol = text.find("\r\n", start);
        EXPECT_NE(eol, std::string::npos) << "the last line does not end in CR LF";
        if (eol == std::string::npos) break;
        lines.push_back(text.substr(start, eol - start));
        start = eol + 2;
    }
    return lines;
}

std::vector<std::string> Entities(const std::vector<std::string>& lines)
{
    std::vector<std::string> names;
    for (size_t i = 4; i + 1 < lines.size(); i += 2) {
        if (lines[i] == "0") names.push_back(lines[i + 1]);
    }
    return names;
}

/// The values of every group with that code, in file order.
std::vector<std::string> Values(const std::vector<std::string>& lines, const std::string& code)
{
    std::vector<std::string> values;
    for (size_t i = 0; i + 1 < lines.size(); i += 2) {
        if (lines[i] == code) values.push_back(lines[i + 1]);
    }
    return values;
}

std::string ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().toStdString();
}

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
    EXPECT_NEAR(p[0].toDouble(), x / kDxfPixelsPerMillimetre, 1e-9) << what;
    EXPECT_NEAR(p[1].toDouble(), (378.0 - y) / kDxfPixelsPerMillimetre, 1e-9) << what;
}

} // namespace

TEST(DxfFile, AnEmptyCanvasWritesOnlyTheEntitiesSectionAndALineIsInMillimetres)
{
    auto cad = DxfCanvas();
    EXPECT_EQ(DxfDocument(*cad, false), "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n");
    // Y is flipped against the page. 37.795275590551185 pixels are 10 mm; stored as a 32-bit float the
    // point lies 2.8e-7 mm further.
    AddDxfShape(*cad, "TMyLine", {{0, 0}, {37.795275590551185f, 0}});
    const std::vector<std::string> expected{"0",  "SECTION",  "2",  "ENTITIES", "0",  "LINE", "5",  "20",
                                            "8",  "0",        "10", "0",        "20", "100.0125",  "30", "0.0",
                                            "11", "10.000000278155", "21", "100.0125", "31", "0.0", "0", "ENDSEC",
                                            "0",  "EOF"};
    EXPECT_EQ(DxfLines(DxfDocument(*cad, false)), expected);

    // The page is measured at zoom 1: zooming the view changes nothing.
    const std::string atOne = DxfDocument(*cad, false);
    cad->SetZoom(2.0);
    ASSERT_EQ(cad->Height(), 756);
    EXPECT_EQ(DxfDocument(*cad, false), atOne);
}

TEST(DxfFile, HandlesCountEveryEntityFromTwenty)
{
    auto cad = DxfCanvas();
    AddDxfShape(*cad, "TMyRectangle", Box(10, 10, 50, 30));
    AddDxfShape(*cad, "TMyLine", {{0, 0}, {1, 1}});
    const std::vector<std::string> lines = DxfLines(DxfDocument(*cad, false));
    EXPECT_EQ(Entities(lines),
              (std::vector<std::string>{"POLYLINE", "VERTEX", "VERTEX", "VERTEX", "VERTEX", "SEQEND", "LINE",
                                        "ENDSEC", "EOF"}));
    EXPECT_EQ(Values(lines, "5"), (std::vector<std::string>{"20", "21", "22", "23", "24", "25", "26"}));
}

TEST(DxfFile, ManyPointLinesWriteOneLinePerSegment)
{
    auto cad = DxfCanvas();
    AddDxfShape(*cad, "TMyPolyLine", {{0, 0}, {10, 0}, {10, 10}, {20, 10}, {20, 20}});
    // Classes the table does not name write nothing, subclasses included.
    AddDxfShape(*cad, "TMyFreeLine", {{0, 0}, {10, 0}, {10, 10}});
    const std::vector<std::string> lines = DxfLines(DxfDocument(*cad, false));
    EXPECT_EQ(Entities(lines), (std::vector<std::string>{"LINE", "LINE", "LINE", "LINE", "ENDSEC", "EOF"}));
    EXPECT_EQ(Values(lines, "11"), (std::vector<std::string>{"2.64583333333333", "2.64583333333333",
                                                             "5.29166666666667", "5.29166666666667"}));
}

TEST(DxfFile, EllipsesAreCirclesWhenTheirRadiiDifferByLessThanHalfAPixel)
{
    struct Case {
        TArrMyPoint box;
        std::vector<std::string> entities;
    };
    const std::vector<std::string> circle{"CIRCLE", "ENDSEC", "EOF"};
    std::vector<std::string> polyline{"POLYLINE"};
    polyline.insert(polyline.end(), 181, "VERTEX");
    polyline.insert(polyline.end(), {"SEQEND", "ENDSEC", "EOF"});
    const std::vector<Case> cases{
        {Box(0, 0, 40, 40.99f), circle},
        {Box(40, 40.99f, 0, 0), circle}, // drawn from the other corner
        {Box(0, 0, 40, 41), polyline},
        {Box(0, 0, 0, 40), polyline}, // no width: the vertices stay on the centre line
    };
    for (const Case& c : cases) {
        auto cad = DxfCanvas();
        AddDxfShape(*cad, "TMyEllipse", c.box);
        const std::vector<std::string> lines = DxfLines(DxfDocument(*cad, false));
        EXPECT_EQ(Entities(lines), c.entities) << c.box[2].X << " x " << c.box[2].Y;
        for (const std::string& v : Values(lines, "20")) EXPECT_EQ(v.find_first_not_of("-.0123456789"), std::string::npos) << v;
    }
}

TEST(DxfFile, CircleArcsRunCounterClockwiseOverTheSideTheCanvasDraws)
{
    struct Case {
        TArrMyPoint points;
        std::vector<std::string> entities;
        std::vector<std::string> angles; // codes 50 and 51
    };
    const std::vector<std::string> arc{"ARC", "ENDSEC", "EOF"};
    const std::vector<Case> cases{
        // Over the top of the screen: y up, that runs from 0 to 180 degrees.
        {{{0, 100}, {100, 0}, {200, 100}}, arc, {"0", "180"}},
        {{{200, 100}, {100, 0}, {0, 100}}, arc, {"0", "180"}},
        // Under the bottom: from 180 to 0 (through 270).
        {{{0, 100}, {100, 200}, {200, 100}}, arc, {"180", "0"}},
        // Right of the centre the angle is the arc tangent of the slope.
        {{{100, 0}, {200, 100}, {100, 200}}, arc, {"270", "90"}},
        {{{160, 20}, {200, 100}, {100, 200}}, arc, {"270", "53.130102354156"}},
        // On one line: the canvas draws a segment, and so does the file.
        {{{0, 0}, {50, 50}, {100, 100}}, {"LINE", "ENDSEC", "EOF"}, {}},
    };
    for (const Case& c : cases) {
        auto cad = DxfCanvas();
        AddArc(*cad, TArcMode::amCircle, c.points);
        const std::vector<std::string> lines = DxfLines(DxfDocument(*cad, false));
        EXPECT_EQ(Entities(lines), c.entities) << c.points[0].X << "," << c.points[0].Y;
        std::vector<std::string> angles = Values(lines, "50");
        for (const std::string& v : Values(lines, "51")) angles.push_back(v);
        EXPECT_EQ(angles, c.angles) << c.points[0].X << "," << c.points[0].Y;
    }
}

TEST(DxfFile, ConicArcsWithoutAStepAreOneVertexAtTheFirstPoint)
{
    // A conic is sampled from its first step one past the end, n steps for
    // A = P0 - 2 P1 + 2 P2 (the every-class file holds two such curves);
    // points whose A is the origin give no step: one vertex at the first point.
    auto cad = DxfCanvas();
    AddArc(*cad, TArcMode::amEllipse, {{0, 0}, {7.5f, 3}, {7.5f, 3}});
    const std::vector<std::string> lines = DxfLines(DxfDocument(*cad, false));
    EXPECT_EQ(Entities(lines), (std::vector<std::string>{"POLYLINE", "VERTEX", "SEQEND", "ENDSEC", "EOF"}));
    EXPECT_EQ(Values(lines, "10"), (std::vector<std::string>{"0.0", "0"}));
}

TEST(DxfFile, RealsAgreeWithTheCLibraryOnRandomValues)
{
    // The C library's correctly rounded digits, laid out in the file's
    // general format, against the writer's own conversion.
    const auto reference = [](double value) {
        if (value == 0.0) return std::string("0");
        std::array<char, 64> buf{};
        std::snprintf(buf.data(), buf.size(), "%.14e", value);
        std::string text(buf.data());
        const size_t e = text.find('e');
        const int exponent = std::atoi(text.c_str() + e + 1);
        const bool negative = text[0] == '-';
        std::string digits;
        for (size_t i = negative ? 1 : 0; i < e; ++i) {
            if (text[i] != '.') digits += text[i];
        }
        digits.erase(digits.find_last_not_of('0') + 1);
        std::string out = negative ? "-" : "";
        if (exponent < -5 || exponent >= 15) {
            out += digits.substr(0, 1);
            if (digits.size() > 1) out += "." + digits.substr(1);
            return out + "E" + std::to_string(exponent);
        }
        if (exponent < 0) return out + "0." + std::string(size_t(-exponent - 1), '0') + digits;
        const size_t whole = size_t(exponent) + 1;
        if (digits.size() <= whole) return out + digits + std::string(whole - digits.size(), '0');
        return out + digits.substr(0, whole) + "." + digits.substr(whole);
    };
    std::mt19937_64 rng(21);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> power(-9, 17);
    std::uniform_int_distribution<int64_t> whole(-2000000, 2000000);
    // Signed zeros, a sum that is not exact, exact ties at the sixteenth
    // digit (to the even neighbour), both ends of the plain layout, the
    // smallest subnormal; then random values.
    const std::vector<double> edges{0.0, -0.0, 0.1 + 0.2, 100000000000000.5, 100000000000001.5, 999999999999999.9,
                                    1e-5, 0.000012345, 1.5e-7, -2.5e20, 100.01249999999999, 4.9e-324};
    int mismatches = 0;
    for (int i = -int(edges.size()); i < 300000 && mismatches < 10; ++i) {
        double value = 0;
        switch (i < 0 ? 3 : i % 3) {
        case 3: value = edges[size_t(i + int(edges.size()))]; break;
        case 0: value = unit(rng) * std::pow(10.0, power(rng)); break;
        // Document pixels in millimetres, as the file holds them.
        case 1: value = double(whole(rng)) / 64.0 / kDxfPixelsPerMillimetre; break;
        // Raw bit patterns: every magnitude, subnormals included.
        default:
            value = std::bit_cast<double>(rng());
            if (!std::isfinite(value)) continue;
            break;
        }
        std::string out;
        TDxfWriter::AppendReal(out, value);
        const std::string want = reference(value);
        if (out != want) {
            ++mismatches;
            ADD_FAILURE() << std::hexfloat << value << ": " << out << " instead of " << want;
        }
    }
}

TEST(DxfFile, WholePixelsReadTheSameWhetherFormattedOrRemembered)
{
    // Each axis remembers the text of the whole pixels it has written: the
    // same pixel on both axes, again later, at the ends of what is
    // remembered and beyond must read as the quotient formatted afresh.
    const double height = 4493.0;
    std::string file;
    TDxfWriter w(height, [&file](std::string_view piece) {
        file.append(piece);
        return true;
    });
    std::string want;
    for (const double p : {100.0, 100.5, -100.0, 0.0, -0.0, 16383.0, -16383.0, 16384.0, -16385.0, 1e9, 100.0, 4493.0}) {
        w.X("10", p);
        w.Y("20", p);
        std::string x;
        std::string y;
        TDxfWriter::AppendReal(x, p / kDxfPixelsPerMillimetre);
        TDxfWriter::AppendReal(y, (height - p) / kDxfPixelsPerMillimetre);
        want += "10\r\n" + x + "\r\n20\r\n" + y + "\r\n";
    }
    ASSERT_TRUE(w.Flush());
    EXPECT_EQ(file, want);
}

TEST(DxfFile, TextBoxesWriteTheirLinesTopToBottomWhateverTheZoom)
{
    auto cad = DxfCanvas();
    TMyText* info = AddText(*cad, Box(20, 40, 100, 60), u"Info"_s);
    TMyText* lines = AddText(*cad, Box(20, 100, 100, 160), String(), {u"one"_s, u"two"_s, u"three"_s});
    ASSERT_TRUE(info && lines);
    const std::string atOne = DxfDocument(*cad, false);
    const std::vector<std::string> file = DxfLines(atOne);
    EXPECT_EQ(Values(file, "1"), (std::vector<std::string>{"Info", "one", "two", "three"}));
    // Every line on the left edge of the box (its font and angle are pinned
    // by the every-class file).
    EXPECT_EQ(Values(file, "10"), std::vector<std::string>(4, "5.29166666666667"));
    // Info sits on the bottom-left corner; of the lines the last does, and
    // each earlier one a line height (measured at zoom 1) above the next.
    const std::vector<std::string> ys = Values(file, "20");
    ASSERT_EQ(ys.size(), 4u);
    const double h = lines->GetTextWidthHeight(cad->Canvas(), u"one"_s, lines->Font(), 0.0, 1.0).cy;
    ASSERT_GT(h, 10.0);
    EXPECT_EQ(ys[0], "84.1375"); // (378 - 60) pixels in millimetres
    EXPECT_NEAR(std::stod(ys[3]), (378 - 160) / kDxfPixelsPerMillimetre, 1e-12);
    EXPECT_NEAR(std::stod(ys[2]) - std::stod(ys[3]), h / kDxfPixelsPerMillimetre, 1e-12);
    EXPECT_NEAR(std::stod(ys[1]) - std::stod(ys[2]), h / kDxfPixelsPerMillimetre, 1e-12);
    cad->SetZoom(2.0);
    EXPECT_EQ(DxfDocument(*cad, false), atOne);
    cad->SetZoom(1.0);

    // Turned a quarter clockwise on the screen: the text reads downwards,
    // which in the file's y-up frame is -90 degrees, and the lines stack
    // along the box's up direction, to the right.
    lines->SetAngle(static_cast<float>(std::numbers::pi / 2));
    const std::vector<std::string> turned = DxfLines(DxfDocument(*cad, false));
    const std::vector<std::string> angles = Values(turned, "50");
    ASSERT_EQ(angles.size(), 4u);
    EXPECT_NEAR(std::stod(angles[1]), -90.0, 1e-5);
    const std::vector<std::string> xs = Values(turned, "10");
    const double hTurned = lines->GetTextWidthHeight(cad->Canvas(), u"one"_s, lines->Font(), lines->Angle(), 1.0).cy;
    EXPECT_NEAR(std::stod(xs[1]) - std::stod(xs[2]), hTurned / kDxfPixelsPerMillimetre, 1e-6);
    EXPECT_NEAR(std::stod(xs[2]) - std::stod(xs[3]), hTurned / kDxfPixelsPerMillimetre, 1e-6);
    EXPECT_NEAR(std::stod(Values(turned, "20")[1]), std::stod(Values(turned, "20")[3]), 1e-5);
}

TEST(DxfFile, LargeFilesReachTheSinkWholeAndInOrder)
{
    // Forty ellipses (183 entities each), a text longer than the writer's
    // buffer, and forty more: the pieces cross every kind of boundary.
    auto cad = DxfCanvas();
    for (int i = 0; i < 80; ++i) {
        if (i == 40) AddText(*cad, Box(0, 0, 10, 10), String(1500000, u'x'));
        AddDxfShape(*cad, "TMyEllipse", Box(float(i), 0, float(i) + 40, 20));
    }
    std::string file;
    int pieces = 0;
    ASSERT_TRUE(WriteDxf(*cad, false, [&](std::string_view piece) {
        file += piece;
        ++pieces;
        return true;
    }));
    EXPECT_GT(pieces, 2);
    const std::vector<std::string> lines = DxfLines(file);
    const std::vector<std::string> handles = Values(lines, "5");
    ASSERT_EQ(handles.size(), 80u * 183 + 1);
    for (size_t i = 0; i < handles.size(); ++i) ASSERT_EQ(handles[i], std::to_string(20 + i));
    EXPECT_EQ(Values(lines, "1"), std::vector<std::string>{std::string(1500000, 'x')});
    EXPECT_EQ(lines.back(), "EOF");

    // A sink that refuses stops the writing: nothing more is offered.
    int offered = 0;
    EXPECT_FALSE(WriteDxf(*cad, false, [&](std::string_view) { return ++offered > 1; }));
    EXPECT_EQ(offered, 1);
}

TEST(DxfFile, EveryClassWritesItsEntities)
{
    auto cad = EveryClassDrawing();
    const std::string expected = ReadAll(QStringLiteral(MYCAD_SOURCE_DIR "/tests/io/data/every_class.dxf"));
    ASSERT_FALSE(expected.empty());
    // Written over a longer file, which is replaced whole.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString text = dir.filePath(QStringLiteral("text.dxf"));
    QFile old(text);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(std::string(expected.size() + 100000, 'x').c_str());
    old.close();
    ASSERT_TRUE(SaveToDxf(*cad, text));
    const std::string written = ReadAll(text);
    // (A difference is shown as a diff with the lines' numbers.)
    EXPECT_EQ(written, expected);

    // Without text shapes both operations write the same file.
    auto noText = EveryClassDrawing(false);
    const QString outlines = dir.filePath(QStringLiteral("outlines.dxf"));
    ASSERT_TRUE(SaveToDxf(*noText, text));
    ASSERT_TRUE(SaveToDxf1(*noText, outlines));
    EXPECT_EQ(ReadAll(text), DxfDocument(*noText, false));
    EXPECT_EQ(ReadAll(outlines), ReadAll(text));
    EXPECT_FALSE(SaveToDxf(*cad, dir.filePath(QStringLiteral("missing/folder.dxf"))));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

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
    EXPECT_NEAR(e[5][QStringLiteral("radius")].toDouble(), 15 / kDxfPixelsPerMillimetre, 1e-9);

    // The ellipse: 181 vertices from its left end.
    ASSERT_EQ(points(6).size(), 181);
    ExpectAt(points(6)[0], 0, 310, "ellipse start");

    // Both arcs have their centre at (100, 100) and radius 100, over the top
    // and under the bottom of the circle as the canvas draws them.
    for (int i : {7, 8}) {
        ExpectAt(points(i)[0], 100, 100, "arc centre");
        EXPECT_NEAR(e[i][QStringLiteral("radius")].toDouble(), 100 / kDxfPixelsPerMillimetre, 1e-9);
    }
    EXPECT_EQ(e[7][QStringLiteral("angles")].toArray(), QJsonArray({0.0, 180.0}));
    EXPECT_EQ(e[8][QStringLiteral("angles")].toArray(), QJsonArray({180.0, 0.0}));

    // The connector round its corner. (The sampled conics and the junction
    // dot have their own cases above and in the expected file.)
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
