// The `mycad` command: its report of a drawing, its pictures, its
// conversions, its shape library commands and how it fails; and the shape
// libraries that ship.
#include "AppsTestSupport.h"
#include "io/DocumentEncoder.h"
#include "io/LibrarySamples.h"
#include "io/RealReaders.h"

#include "apps/common/ShippedLibraries.h"
#include "cad/canvas/ImageByCode.h"
#include "cad/connectors/LinkLine.h"
#include "cad/connectors/LinkPoint.h"
#include "cad/io/DocumentFile.h"
#include "cad/io/DxfExport.h"
#include "cad/io/LibManager.h"
#include "cad/shapes/Image.h"
#include "cad/shapes/Line.h"
#include "cad/shapes/RuleLine.h"
#include "cad/shapes/Text.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <cmath>

using namespace mycad;
using namespace mycad::appstest;

void PrintTo(const QJsonValue& v, std::ostream* os)
{
    *os << QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact).toStdString();
}

namespace {

/// Every JSON number that stands for a float reads back as that float.
float F(const QJsonValue& v) { return static_cast<float>(v.toDouble()); }

/// Each named field of a reported object holds its value.
void ExpectFields(const QJsonObject& object, std::initializer_list<std::pair<const char*, QJsonValue>> fields)
{
    for (const auto& [key, value] : fields) EXPECT_EQ(object[QLatin1String(key)], value) << key;
}

/// A drawing with a value worth checking in every field: a filled box with
/// texts and user data, an arrow on a hidden layer, a group of two boxes, a
/// text box, a picture, a connector, a link point and a dimension line.
void BuildReportedDrawing(TMyCAD& cad)
{
    cad.SetPageStyle(TPageStyle::CustomerPage);
    cad.SetPageWidth(127);
    cad.SetPageHeight(100);
    cad.SetZoom(2.0);
    cad.SetZoom(1.0);
    cad.SetColorOfBackGround(RGB(250, 240, 230));
    cad.SetTheUNIT(TUnits::inch);
    cad.SetRatio(0.1);
    cad.SetTag(-42);
    cad.SetBkBitmapMode(TBkBitmapMode::Tiled);
    cad.SetBkBitmap(TBitmap(3, 2));
    cad.UserData().AddKeyandValue(QStringLiteral("owner"), QStringLiteral("Ann \"A\" \u00c5s"));

    TMyShape* box = AddBox(cad, 10.1f, 20.2f, 110.3f, 70.4f, clRed);
    box->SetName(QStringLiteral("Box"));
    box->SetCaption(QStringLiteral("A caption"));
    box->SetInfo(QStringLiteral("two\nlines"));
    box->MultiInfo().Add(QStringLiteral("first"));
    box->MultiInfo().Add(QStringLiteral("second"));
    box->SetTag(7);
    box->Pen().SetColor(clBlue);
    box->Pen().SetWidth(3);
    box->Pen().SetStyle(TPenStyle::psDash);
    box->Font().SetName(QStringLiteral("DejaVu Serif"));
    box->Font().SetSize(14);
    box->Font().SetStyle(TFontStyles{TFontStyle::fsBold, TFontStyle::fsItalic});
    box->SetStoredGradient(clYellow, clGreen, TGradientStyle::gsDiamond);
    box->UserData().AddKeyandValue(QStringLiteral("k"), QStringLiteral("v"));
    box->SetStoredAngle(0.3f);
    box->SetStoredLocked(true);

    const int32_t notes = cad.NewLayer(QStringLiteral("Notes"), false);
    auto* arrow = dynamic_cast<TMyLine*>(cad.CreateAddShapeByName(QStringLiteral("TMyLine")));
    arrow->ThePoints = {{0.1f, 0.2f}, {300.5f, 1e-3f}};
    arrow->SetArrowStyle(TArrowStyle::ADouble);
    arrow->SetArrowAngle(33);
    arrow->SetArrowLength(44);
    arrow->SetArrowOffset(5);
    arrow->SetVisible(false);
    ASSERT_EQ(arrow->LayerId, notes);

    cad.SetCurrentLayerId(0);
    TMyShape* a = AddBox(cad, 200, 200, 220, 220, clGreen);
    TMyShape* b = AddBox(cad, 240, 200, 260, 220, clGreen);
    ASSERT_GE(cad.GroupShapes({a, b}, false), 0);

    const TArrMyPoint corners{{300, 10}, {400, 10}, {400, 60}, {300, 60}};
    ASSERT_GE(cad.AddShapeByCode(&cad, TDrawTool::SpText, QStringLiteral("Note"), corners, 3, 0.0, QString()), 0);
    auto* text = dynamic_cast<TMyText*>(cad.MyShapes.back().get());
    text->Lines().Add(QStringLiteral("one"));
    text->SetVAlignment(TVAlignment::vaBottom);
    text->SetIsSolid(false);
    TBitmap picture(5, 4);
    const int32_t image = AddImageShapeByCode(cad, QStringLiteral("Logo"), {300, 100}, &picture);
    dynamic_cast<TMyImage*>(cad.GetShapeByID(image))->SetContrast(-7);

    // Two boxes joined by a connector, a link point mark and a dimension line.
    TMyShape* from = AddBox(cad, 0, 300, 50, 340, clRed);
    from->LinkPoints = {{50, 320}};
    TMyShape* to = AddBox(cad, 200, 300, 250, 340, clRed);
    to->LinkPoints = {{200, 310}, {200, 330}};
    ASSERT_GE(cad.CreateLink(QStringLiteral("ab"), from, 0, to, 1), 0);
    dynamic_cast<TMyLinkPoint*>(cad.CreateAddShapeByName(QStringLiteral("TMyLinkPoint")))->SetSize(11);
    ASSERT_GE(cad.AddShapeByCode(&cad, TDrawTool::SpRuleLine, QStringLiteral("Gauge"), {{0, 400}, {100, 400}}, 1, 0.0,
                                 String()),
              0);
    auto* rule = dynamic_cast<TMyRuleLine*>(cad.MyShapes.back().get());
    rule->SetShowUserInfo(true);
    rule->SetTickStyle(TTickStyle::tsNone);
    rule->SetUserInfo(QStringLiteral("Span"));
}


TEST(MycadInfo, JsonReportsEveryStoredValueOfTheDrawing)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("report.zed"));
    TMyCAD cad;
    BuildReportedDrawing(cad);
    ASSERT_TRUE(SaveToFile(cad, file));

    const TRun run = Mycad({"info", file, "--json"});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty());
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(run.out.toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonObject doc = json.object();
    // User data is a list of [key, value] arrays. Each inner array goes in as a
    // QJsonValue: braces around a lone QJsonArray copy it rather than nest it
    // with some compilers.
    ExpectFields(doc, {{"version", "XP.j"}, {"width", 480}, {"height", cad.Height()}, {"unit", int(TUnits::inch)},
                       {"backgroundColor", qint64(RGB(250, 240, 230))}, {"bkBitmapMode", int(TBkBitmapMode::Tiled)},
                       {"bkBitmap", QJsonObject{{"width", 3}, {"height", 2}}}, {"ratio", 0.1}, {"tag", -42},
                       {"userData", QJsonArray{QJsonValue(QJsonArray{"owner", QStringLiteral("Ann \"A\" \u00c5s")})}},
                       {"layers", QJsonArray{QJsonObject{{"name", "Layer0"}, {"id", 0}, {"visible", true}},
                                             QJsonObject{{"name", "Notes"}, {"id", 1}, {"visible", false}}}},
                       {"currentLayer", 0}});

    const QJsonArray shapes = doc[u"shapes"].toArray();
    ASSERT_EQ(shapes.size(), 12);
    // Shapes in list order, each with its class.
    QStringList classes;
    for (const QJsonValue& s : shapes) classes << s[u"class"].toString();
    EXPECT_EQ(classes, (QStringList{"TMyRectangle", "TMyLine", "TMyRectangle", "TMyRectangle", "TMyGroup", "TMyText",
                                    "TMyImage", "TMyRectangle", "TMyRectangle", "TMyLinkLine", "TMyLinkPoint",
                                    "TMyRuleLine"}));
    // The text box's and the picture's own fields.
    ExpectFields(shapes[5].toObject(), {{"lines", QJsonArray{"one"}}, {"vAlignment", int(TVAlignment::vaBottom)},
                                        {"hAlignment", int(TAlignment::taCenter)}, {"isSolid", false},
                                        {"isBorder", false}, {"wordWrap", false}});
    ExpectFields(shapes[6].toObject(), {{"bitmap", QJsonObject{{"width", 5}, {"height", 4}}}, {"contrast", -7},
                                        {"brightness", 0}, {"transparentColor", qint64(clDefault)},
                                        {"transparentMode", 0}});

    const QJsonObject box = shapes[0].toObject();
    ExpectFields(box, {{"name", "Box"}, {"id", 0}, {"no", 0}, {"layer", 0}, {"parent", -1}, {"tag", 7},
                       {"caption", "A caption"}, {"info", "two\nlines"}, {"multiInfo", QJsonArray{"first", "second"}},
                       {"visible", true}, {"locked", true}, {"flipHorz", false},
                       {"pen", QJsonObject{{"color", qint64(clBlue)}, {"style", int(TPenStyle::psDash)},
                                           {"mode", int(TPenMode::pmCopy)}, {"width", 3}}},
                       {"brush", QJsonObject{{"color", qint64(clRed)}, {"style", int(TBrushStyle::bsSolid)},
                                             {"bitmap", false}}},
                       {"gradient", QJsonObject{{"style", int(TGradientStyle::gsDiamond)}, {"begin", qint64(clYellow)},
                                                {"end", qint64(clGreen)}}},
                       {"userData", QJsonArray{QJsonValue(QJsonArray{"k", "v"})}}});
    // Style 3: bold and italic.
    ExpectFields(box[u"font"].toObject(), {{"name", "DejaVu Serif"}, {"size", 14}, {"style", 3}, {"charset", 1}});
    EXPECT_EQ(box[u"points"].toArray().size(), 4);
    EXPECT_EQ(F(box[u"angle"]), 0.3f);
    // Floats print in their shortest exact form, not as widened doubles.
    EXPECT_TRUE(run.out.contains(QStringLiteral("[10.1, 20.2]"))) << run.out.toStdString();
    EXPECT_FALSE(box.contains(u"arrowStyle"));

    const QJsonObject arrow = shapes[1].toObject();
    ExpectFields(arrow, {{"layer", 1}, {"visible", false}, {"arrowStyle", int(TArrowStyle::ADouble)},
                         {"arrowAngle", 33}, {"arrowLength", 44}, {"arrowOffset", 5}});
    EXPECT_EQ(F(arrow[u"points"][1][1]), 1e-3f);

    EXPECT_EQ(shapes[4][u"children"].toArray(), (QJsonArray{2, 3}));
    EXPECT_EQ(shapes[3][u"parent"].toInt(), 4);

    // Connector ends, the shapes' lists of their connectors, link point sizes
    // and the dimension line's own fields.
    ExpectFields(shapes[9].toObject(), {{"startSpNo", 7}, {"startSpPtId", 0}, {"endSpNo", 8}, {"endSpPtId", 1},
                                        {"linkLineDrawStyle", int(TLinkLineDrawStyle::lldsHV)}});
    EXPECT_EQ(shapes[7][u"links"].toArray(), (QJsonArray{9}));
    EXPECT_EQ(shapes[10][u"size"].toInt(), 11);
    EXPECT_FALSE(box.contains(u"size"));
    ExpectFields(shapes[11].toObject(), {{"arrowStyle", int(TArrowStyle::ADouble)}, {"showUserInfo", true},
                                         {"tickStyle", int(TTickStyle::tsNone)}, {"userInfo", "Span"}});

    // Without --json: a summary for people.
    const TRun summary = Mycad({"info", file});
    ASSERT_EQ(summary.code, 0);
    for (const QString& line : {QStringLiteral("XP.j"), QStringLiteral("480 x %1").arg(cad.Height()),
                                QStringLiteral("Notes (id 1, 1 shapes, hidden)"), QStringLiteral("12 (10 at the top level)")}) {
        EXPECT_TRUE(summary.out.contains(line)) << line.toStdString() << " in " << summary.out.toStdString();
    }
}

TEST(MycadRender, DrawsTheDrawingAtItsPageSizeOrTheSizeAsked)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("red.zed"));
    TMyCAD cad;
    cad.SetPageStyle(TPageStyle::CustomerPage);
    cad.SetPageWidth(127);
    cad.SetPageHeight(127);
    cad.SetZoom(2.0);
    cad.SetZoom(1.0);
    cad.SetColorOfBackGround(clYellow);
    AddBox(cad, 100, 100, 300, 200, clRed);
    ASSERT_TRUE(SaveToFile(cad, file));

    // The page's size; one side given, the other follows the page and the
    // drawing scales (without its background: white); both sides given, the
    // drawing fits the smaller scale.
    const struct {
        QStringList options;
        const char* name;
        int32_t w, h;
        std::vector<PixelIs> pixels;
    } cases[] = {
        {{}, "page.png", 480, 480, {{200, 150, clRed}, {104, 104, clRed}, {50, 150, clYellow}, {200, 250, clYellow}}},
        {{"--width", "240", "--no-background"}, "half.bmp", 240, 240,
         {{100, 75, clRed}, {40, 75, clWhite}, {155, 75, clWhite}}},
        {{"--width=960", "--height=240"}, "wide.png", 960, 240, {{100, 75, clRed}, {200, 75, clYellow}}},
    };
    for (const auto& c : cases) {
        const QString out = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_EQ(Mycad(QStringList{"render", file, out} + c.options).code, 0) << c.name;
        ExpectPicture(out, c.w, c.h, c.pixels);
    }

    // A PNG without its background is transparent there, and only there.
    const QString clear = dir.filePath(QStringLiteral("clear.png"));
    ASSERT_EQ(Mycad({"render", file, clear, "--no-background"}).code, 0);
    const QImage transparent(clear);
    ASSERT_TRUE(transparent.hasAlphaChannel());
    EXPECT_EQ(qAlpha(transparent.pixel(50, 150)), 0);
    EXPECT_EQ(transparent.pixel(200, 150), qRgba(255, 0, 0, 255));

    // JPEG quality changes the file.
    const QString best = dir.filePath(QStringLiteral("best.jpg"));
    const QString worst = dir.filePath(QStringLiteral("worst.JPEG"));
    ASSERT_EQ(Mycad({"render", file, best, "--quality", "100"}).code, 0);
    ASSERT_EQ(Mycad({"render", file, worst, "--quality", "1"}).code, 0);
    EXPECT_GT(QFileInfo(best).size(), QFileInfo(worst).size());
}

TEST(MycadRender, VectorFilesPreviewsAndPrints)
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
        ASSERT_EQ(Mycad({"render", file, out}).code, 0) << ext;
        EXPECT_GT(QFileInfo(out).size(), 100) << ext;
    }
    const std::vector<uint8_t> svg = ReadBytes(dir.filePath(QStringLiteral("page.svg")));
    EXPECT_EQ(std::string(svg.begin(), svg.begin() + std::min<ptrdiff_t>(5, std::ssize(svg))), "<?xml");

    // Layer 1 only, at zoom 0.5; then at most 200 x 100 pixels.
    const QString preview = dir.filePath(QStringLiteral("preview.png"));
    ASSERT_EQ(Mycad({"preview", file, preview, "--zoom", "0.5", "--layers", "1"}).code, 0);
    ExpectPicture(preview, 0, 0, {{100, 75, clWhite}, {225, 75, clBlue}});
    ASSERT_EQ(Mycad({"preview", file, preview, "--max-size", "200x100"}).code, 0);
    ExpectPicture(preview, 200, 100, {});
    EXPECT_EQ(Mycad({"preview", file, preview, "--max-size", "20"}).code, 2);

    // Printed on A4 paper at its real size.
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    ASSERT_EQ(Mycad({"print", file, pdf}).code, 0);
    const QImage page = iotest::RasterisePdf(pdf);
    EXPECT_EQ(page.size(), QSize(794, 1123));
    EXPECT_EQ(page.pixel(200, 150) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(Mycad({"print", file, dir.filePath(QStringLiteral("x.png"))}).code, 2);
}

TEST(MycadConvert, AnOlderVersionBecomesTheCurrentVersionAndADxfOutputTheDxfFile)
{
    // A document an older version could hold: layers, texts, user data of
    // shapes and flips (from "XP.9"); the loader's tests read every field of
    // every layout, this one follows the command through.
    docenc::Document doc;
    doc.Layers = {{u"Base", 0, 1}, {u"Top", 1, 0}};
    docenc::Shape rect;
    rect.Name = u"Frame";
    rect.Points = {{10, 20}, {110, 20}, {110, 70}, {10, 70}};
    rect.Angle = 0.25;
    rect.UserData = {{u"key", u"value"}};
    rect.FlipVert = true;
    docenc::Shape line;
    line.Class = "TMyLine";
    line.Id = 1;
    line.No = 1;
    line.Layer = 1;
    line.Points = {{0, 0}, {50, 60}};
    doc.Shapes = {rect, line};

    // Unless told otherwise the encoder writes the current version.
    const std::vector<uint8_t> expected = docenc::EncodeDocument(doc);
    QTemporaryDir dir;
    const QString old = dir.filePath(QStringLiteral("old.zed"));
    doc.Version = "XP.9";
    ASSERT_TRUE(WriteBytes(old, docenc::EncodeDocument(doc, true))); // texts in 8 bits
    const QString out = dir.filePath(QStringLiteral("new.zed"));
    const TRun run = Mycad({"convert", old, out});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(ReadBytes(out), expected);

    // The converted drawing with a text box, to DXF.
    TMyCAD cad;
    ASSERT_TRUE(LoadFromFile(cad, out));
    AddTextBox(cad, 10, 80, 110, 100, QStringLiteral("Valve"));
    const QString in = dir.filePath(QStringLiteral("in.zed"));
    ASSERT_TRUE(SaveToFile(cad, in));
    // Text as TEXT entities, or with --text-outlines as glyph outlines.
    for (const bool outlines : {false, true}) {
        const QString out = dir.filePath(QStringLiteral("out.DXF"));
        QFile::remove(out);
        const TRun dxf = Mycad(outlines ? QStringList{"convert", in, out, "--text-outlines"} : QStringList{"convert", in, out});
        ASSERT_EQ(dxf.code, 0) << dxf.err.toStdString();
        const std::vector<uint8_t> bytes = ReadBytes(out);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), DxfDocument(cad, outlines));
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()).find("Valve") != std::string::npos, !outlines);
    }
}

TEST(MycadFailures, StatusOneAndOneLineForEachFileFailureTwoForAWrongCommandLine)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.zed"));
    TMyCAD cad;
    AddBox(cad, 10, 10, 50, 50, clRed);
    ASSERT_TRUE(SaveToFile(cad, good));
    const std::vector<uint8_t> bytes = ReadBytes(good);
    const QString truncated = dir.filePath(QStringLiteral("truncated.zed"));
    ASSERT_TRUE(WriteBytes(truncated, std::vector<uint8_t>(bytes.begin(), bytes.end() - 30)));
    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    ASSERT_TRUE(WriteBytes(text, std::vector<uint8_t>(600, 'x')));
    const QString missing = dir.filePath(QStringLiteral("missing.zed"));
    const QString png = dir.filePath(QStringLiteral("out.png"));

    struct Case {
        QString file;
        const char* says;
    };
    for (const Case& c : {Case{missing, "no such file"}, Case{text, "not a MyCAD drawing"},
                          Case{truncated, "damaged or incomplete"}, Case{dir.path(), "not a MyCAD drawing"}}) {
        for (const QStringList& args : {QStringList{"info", c.file}, QStringList{"info", "--json", c.file},
                                        QStringList{"render", c.file, png}, QStringList{"convert", c.file, good}}) {
            SCOPED_TRACE(args.join(u' ').toStdString());
            const TRun run = Mycad(args);
            EXPECT_EQ(run.code, 1);
            EXPECT_TRUE(run.out.isEmpty());
            EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
            EXPECT_TRUE(run.err.contains(QString::fromLatin1(c.says))) << run.err.toStdString();
            EXPECT_TRUE(run.err.contains(c.file));
        }
    }
    // A failed conversion left the target as it was; no picture was made.
    EXPECT_EQ(ReadBytes(good), bytes);
    EXPECT_FALSE(QFile::exists(png));

    // Results that cannot be written.
    EXPECT_EQ(Mycad({"render", good, dir.filePath(QStringLiteral("no/such/dir/out.png"))}).code, 1);
    EXPECT_EQ(Mycad({"convert", good, dir.filePath(QStringLiteral("no/such/dir/x.zed"))}).code, 1);

    // Help on every command, and status 2 for a command line that is wrong.
    const struct {
        QStringList args;
        const char* says;
    } helps[] = {{{"--help"}, "usage: mycad COMMAND"},       {{"info", "--help"}, "usage: mycad info"},
                 {{"render", "--help"}, "usage: mycad render"}, {{"convert", "--help"}, "usage: mycad convert"},
                 {{"lib", "--help"}, "usage: mycad lib"},       {{"place", "--help"}, "usage: mycad place"},
                 {{"--version"}, "mycad 0."}};
    for (const auto& h : helps) {
        const TRun help = Mycad(h.args);
        EXPECT_EQ(help.code, 0) << h.says;
        EXPECT_TRUE(help.out.startsWith(QString::fromLatin1(h.says))) << help.out.toStdString();
        EXPECT_TRUE(help.err.isEmpty());
    }
    const QStringList wrong[] = {
        {},
        {"draw", good},
        {"info"},
        {"info", good, good},
        {"info", good, "--yaml"},
        {"render", good},
        {"render", good, dir.filePath(QStringLiteral("out.gif"))},
        {"render", good, png, "--width"},
        {"render", good, png, "--width", "0"},
        {"render", good, png, "--height", "many"},
        {"render", good, png, "--width", "99999"},
        {"render", good, png, "--width", "20000", "--height", "20000"},
        {"render", good, png, "--quality", "101"},
        {"render", good, png, "--no-background=yes"},
        {"convert", good},
        {"convert", good, dir.filePath(QStringLiteral("copy.zed")), "--text-outlines"},
    };
    for (const QStringList& args : wrong) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const TRun run = Mycad(args);
        EXPECT_EQ(run.code, 2);
        EXPECT_FALSE(run.err.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(png));
}

TEST(MycadProgram, RunsWithoutADisplayAndSaysOneLine)
{
    QTemporaryDir dir;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(MYCAD_CLI_BINARY), {"info", dir.filePath(QStringLiteral("none.zed"))});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(err.count(u'\n'), 1) << err.toStdString();
    EXPECT_TRUE(err.startsWith(QStringLiteral("mycad: "))) << err.toStdString();
}


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
}

TEST(MycadLib, AddListShowPreviewPlaceAndUpgrade)
{
    QTemporaryDir dir;
    const QString drawing = dir.filePath(QStringLiteral("pair.zed"));
    TMyCAD pair;
    AddBox(pair, 100, 100, 140, 120, clRed);
    AddBox(pair, 140, 100, 180, 120, clBlue);
    ASSERT_TRUE(SaveToFile(pair, drawing));
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

    // Older and eight-bit libraries are written in the current version.
    libenc::Entry entry{u"Box", 80, 40, {{u"k", u"v"}}, {libenc::Box("TMyRectangle", 0, 0, 1, 1)}};
    const QString old = dir.filePath(QStringLiteral("old.zlb"));
    ASSERT_TRUE(WriteBytes(old, libenc::EncodeLibrary("ZEDALIBX.9", {entry})));
    const QString ansi = dir.filePath(QStringLiteral("ansi.zlb"));
    ASSERT_TRUE(WriteBytes(ansi, libenc::EightBitRingLibrary()));

    for (const auto& [from, name] : {std::pair{old, "Box"}, std::pair{ansi, "Ring"}}) {
        const QString upgraded = dir.filePath(QStringLiteral("upgraded.zlb"));
        const std::vector<uint8_t> before = ReadBytes(from);
        ASSERT_EQ(Mycad({"lib", "upgrade", from, upgraded}).code, 0);
        EXPECT_EQ(ReadBytes(from), before);
        TLibManager back;
        ASSERT_TRUE(back.LoadFromFile(upgraded));
        EXPECT_EQ(back.LibFileName(), upgraded);
        EXPECT_EQ(back.LibTag(), kNewestLibTag);
        EXPECT_EQ(back.GetCmbShapesNameByID(0), QString::fromLatin1(name));
    }
    const TRun oldShow = Mycad({"lib", "show", old, "Box", "--json"});
    EXPECT_EQ(Json(oldShow)[u"userData"][0][1].toString(), QStringLiteral("v"));
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
}

} // namespace
