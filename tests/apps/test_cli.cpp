// The `mycad` command: its report of a drawing, its pictures, its
// conversions and how it fails.
#include "AppsTestSupport.h"
#include "io/DocumentEncoder.h"

#include "cad/canvas/ImageByCode.h"
#include "cad/connectors/LinkLine.h"
#include "cad/connectors/LinkPoint.h"
#include "cad/io/DocumentFile.h"
#include "cad/io/DxfExport.h"
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

namespace {

/// Every JSON number that stands for a float reads back as that float.
float F(const QJsonValue& v) { return static_cast<float>(v.toDouble()); }

/// A drawing with a value worth checking in every field: a filled box with
/// texts and user data, an arrow on a hidden layer, and a group of two boxes.
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
    TStringList lines;
    lines.Add(QStringLiteral("first"));
    lines.Add(QStringLiteral("second"));
    box->SetMultiInfo(lines);
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
}

} // namespace

TEST(MycadInfo, JsonReportsEveryStoredValueOfTheDrawing)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("report.zed"));
    TMyCAD cad;
    BuildReportedDrawing(cad);
    ASSERT_TRUE(SaveToFile(cad, file));

    const TRun run = Mycad({QStringLiteral("info"), file, QStringLiteral("--json")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty());
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(run.out.toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonObject doc = json.object();

    EXPECT_EQ(doc[u"version"].toString(), QStringLiteral("XP.j"));
    EXPECT_EQ(doc[u"width"].toInt(), 480);
    EXPECT_EQ(doc[u"height"].toInt(), cad.Height());
    EXPECT_EQ(doc[u"unit"].toInt(), int(TUnits::inch));
    EXPECT_EQ(doc[u"backgroundColor"].toInteger(), qint64(RGB(250, 240, 230)));
    EXPECT_EQ(doc[u"bkBitmap"].toObject(), (QJsonObject{{"width", 3}, {"height", 2}}));
    EXPECT_EQ(doc[u"bkBitmapMode"].toInt(), int(TBkBitmapMode::Tiled));
    EXPECT_EQ(doc[u"ratio"].toDouble(), 0.1);
    EXPECT_EQ(doc[u"tag"].toInt(), -42);
    EXPECT_EQ(doc[u"userData"].toArray(), (QJsonArray{QJsonArray{"owner", QStringLiteral("Ann \"A\" \u00c5s")}}));
    EXPECT_EQ(doc[u"layers"].toArray(), (QJsonArray{QJsonObject{{"name", "Layer0"}, {"id", 0}, {"visible", true}},
                                                     QJsonObject{{"name", "Notes"}, {"id", 1}, {"visible", false}}}));
    EXPECT_EQ(doc[u"currentLayer"].toInt(), 0);

    const QJsonArray shapes = doc[u"shapes"].toArray();
    ASSERT_EQ(shapes.size(), 7);
    // Shapes in list order, each with its class.
    QStringList classes;
    for (const QJsonValue& s : shapes) classes << s[u"class"].toString();
    EXPECT_EQ(classes, (QStringList{"TMyRectangle", "TMyLine", "TMyRectangle", "TMyRectangle", "TMyGroup", "TMyText",
                                    "TMyImage"}));
    // The text box's and the picture's own fields.
    const QJsonObject text = shapes[5].toObject();
    EXPECT_EQ(text[u"lines"].toArray(), (QJsonArray{"one"}));
    EXPECT_EQ(text[u"vAlignment"].toInt(), int(TVAlignment::vaBottom));
    EXPECT_EQ(text[u"hAlignment"].toInt(), int(TAlignment::taCenter));
    EXPECT_FALSE(text[u"isSolid"].toBool());
    EXPECT_FALSE(text[u"isBorder"].toBool());
    EXPECT_FALSE(text[u"wordWrap"].toBool());
    const QJsonObject image = shapes[6].toObject();
    EXPECT_EQ(image[u"bitmap"].toObject(), (QJsonObject{{"width", 5}, {"height", 4}}));
    EXPECT_EQ(image[u"contrast"].toInt(), -7);
    EXPECT_EQ(image[u"brightness"].toInt(), 0);
    EXPECT_EQ(image[u"transparentColor"].toInteger(), qint64(clDefault));
    EXPECT_EQ(image[u"transparentMode"].toInt(), 0);

    const QJsonObject box = shapes[0].toObject();
    EXPECT_EQ(box[u"name"].toString(), QStringLiteral("Box"));
    EXPECT_EQ(box[u"id"].toInt(), 0);
    EXPECT_EQ(box[u"no"].toInt(), 0);
    EXPECT_EQ(box[u"layer"].toInt(), 0);
    EXPECT_EQ(box[u"parent"].toInt(), -1);
    const QJsonArray points = box[u"points"].toArray();
    ASSERT_EQ(points.size(), 4);
    EXPECT_EQ(F(points[0][0]), 10.1f);
    EXPECT_EQ(F(points[0][1]), 20.2f);
    EXPECT_EQ(F(points[2][0]), 110.3f);
    EXPECT_EQ(F(points[2][1]), 70.4f);
    EXPECT_EQ(F(box[u"angle"]), 0.3f);
    // Floats print in their shortest exact form, not as widened doubles.
    EXPECT_TRUE(run.out.contains(QStringLiteral("[10.1, 20.2]"))) << run.out.toStdString();
    EXPECT_EQ(box[u"textOut"].toArray().size(), 2);
    EXPECT_EQ(box[u"tag"].toInt(), 7);
    EXPECT_EQ(box[u"caption"].toString(), QStringLiteral("A caption"));
    EXPECT_EQ(box[u"info"].toString(), QStringLiteral("two\nlines"));
    EXPECT_EQ(box[u"multiInfo"].toArray(), (QJsonArray{"first", "second"}));
    EXPECT_TRUE(box[u"visible"].toBool());
    EXPECT_TRUE(box[u"locked"].toBool());
    EXPECT_FALSE(box[u"flipHorz"].toBool());
    EXPECT_EQ(box[u"pen"].toObject(),
              (QJsonObject{{"color", qint64(clBlue)}, {"style", int(TPenStyle::psDash)}, {"mode", int(TPenMode::pmCopy)},
                           {"width", 3}}));
    EXPECT_EQ(box[u"brush"].toObject(),
              (QJsonObject{{"color", qint64(clRed)}, {"style", int(TBrushStyle::bsSolid)}, {"bitmap", false}}));
    const QJsonObject font = box[u"font"].toObject();
    EXPECT_EQ(font[u"name"].toString(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(font[u"size"].toInt(), 14);
    EXPECT_EQ(font[u"style"].toInt(), 3); // bold and italic bits
    EXPECT_EQ(font[u"charset"].toInt(), 1);
    EXPECT_EQ(box[u"gradient"].toObject(),
              (QJsonObject{{"style", int(TGradientStyle::gsDiamond)}, {"begin", qint64(clYellow)},
                           {"end", qint64(clGreen)}}));
    EXPECT_EQ(box[u"userData"].toArray(), (QJsonArray{QJsonArray{"k", "v"}}));
    EXPECT_FALSE(box.contains(u"arrowStyle"));

    const QJsonObject arrow = shapes[1].toObject();
    EXPECT_EQ(arrow[u"layer"].toInt(), 1);
    EXPECT_FALSE(arrow[u"visible"].toBool());
    EXPECT_EQ(arrow[u"arrowStyle"].toInt(), int(TArrowStyle::ADouble));
    EXPECT_EQ(arrow[u"arrowAngle"].toInt(), 33);
    EXPECT_EQ(arrow[u"arrowLength"].toInt(), 44);
    EXPECT_EQ(arrow[u"arrowOffset"].toInt(), 5);
    EXPECT_EQ(F(arrow[u"points"][1][1]), 1e-3f);

    const QJsonObject group = shapes[4].toObject();
    EXPECT_EQ(group[u"children"].toArray(), (QJsonArray{2, 3}));
    EXPECT_EQ(shapes[2][u"parent"].toInt(), 4);
    EXPECT_EQ(shapes[3][u"parent"].toInt(), 4);

    // Without --json: a summary for people.
    const TRun summary = Mycad({QStringLiteral("info"), file});
    ASSERT_EQ(summary.code, 0);
    EXPECT_TRUE(summary.out.contains(QStringLiteral("XP.j")));
    EXPECT_TRUE(summary.out.contains(QStringLiteral("480 x %1").arg(cad.Height())));
    EXPECT_TRUE(summary.out.contains(QStringLiteral("Notes (id 1, 1 shapes, hidden)"))) << summary.out.toStdString();
    EXPECT_TRUE(summary.out.contains(QStringLiteral("7 (5 at the top level)")));
}

TEST(MycadInfo, JsonReportsConnectorEndsAndLinkPointSizes)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("links.zed"));
    TMyCAD cad;
    TMyShape* a = cad.CreateAddShapeByName(QStringLiteral("TMyRectangle"));
    a->ThePoints = {{0, 0}, {50, 0}, {50, 40}, {0, 40}};
    a->LinkPoints = {{50, 20}};
    TMyShape* b = cad.CreateAddShapeByName(QStringLiteral("TMyRectangle"));
    b->ThePoints = {{200, 0}, {250, 0}, {250, 40}, {200, 40}};
    b->LinkPoints = {{200, 10}, {200, 30}};
    ASSERT_GE(cad.CreateLink(QStringLiteral("ab"), a, 0, b, 1), 0);
    auto* mark = dynamic_cast<TMyLinkPoint*>(cad.CreateAddShapeByName(QStringLiteral("TMyLinkPoint")));
    ASSERT_NE(mark, nullptr);
    mark->SetSize(11);
    ASSERT_TRUE(SaveToFile(cad, file));

    const TRun run = Mycad({QStringLiteral("info"), file, QStringLiteral("--json")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QJsonArray shapes = QJsonDocument::fromJson(run.out.toUtf8()).object()[u"shapes"].toArray();
    ASSERT_EQ(shapes.size(), 4);
    const QJsonObject link = shapes[2].toObject();
    EXPECT_EQ(link[u"class"].toString(), QStringLiteral("TMyLinkLine"));
    EXPECT_EQ(link[u"startSpNo"].toInt(), 0);
    EXPECT_EQ(link[u"startSpPtId"].toInt(), 0);
    EXPECT_EQ(link[u"endSpNo"].toInt(), 1);
    EXPECT_EQ(link[u"endSpPtId"].toInt(), 1);
    EXPECT_EQ(link[u"linkLineDrawStyle"].toInt(), int(TLinkLineDrawStyle::lldsHV));
    EXPECT_EQ(shapes[0][u"links"].toArray(), (QJsonArray{2}));
    EXPECT_EQ(shapes[3][u"size"].toInt(), 11);
    EXPECT_FALSE(shapes[0].toObject().contains(u"size"));
}

TEST(MycadInfo, JsonReportsTheRuleLinesOwnFields)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("rule.zed"));
    TMyCAD cad;
    ASSERT_GE(cad.AddShapeByCode(&cad, TDrawTool::SpRuleLine, QStringLiteral("Gauge"), {{0, 0}, {100, 0}}, 1, 0.0,
                                 String()),
              0);
    auto* rule = dynamic_cast<TMyRuleLine*>(cad.GetShapeByNo(0));
    ASSERT_NE(rule, nullptr);
    rule->SetShowUserInfo(true);
    rule->SetTickStyle(TTickStyle::tsNone);
    rule->SetUserInfo(QStringLiteral("Span"));
    ASSERT_TRUE(SaveToFile(cad, file));

    const TRun run = Mycad({QStringLiteral("info"), file, QStringLiteral("--json")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QJsonObject shape = QJsonDocument::fromJson(run.out.toUtf8())[u"shapes"][0].toObject();
    EXPECT_EQ(shape[u"class"].toString(), QStringLiteral("TMyRuleLine"));
    EXPECT_EQ(shape[u"arrowStyle"].toInt(), int(TArrowStyle::ADouble));
    EXPECT_TRUE(shape[u"showUserInfo"].toBool());
    EXPECT_EQ(shape[u"tickStyle"].toInt(), int(TTickStyle::tsNone));
    EXPECT_EQ(shape[u"userInfo"].toString(), QStringLiteral("Span"));
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

    const QString png = dir.filePath(QStringLiteral("page.png"));
    ASSERT_EQ(Mycad({QStringLiteral("render"), file, png}).code, 0);
    TBitmap page;
    ASSERT_TRUE(page.LoadFromFile(png));
    EXPECT_EQ(page.Width(), 480);
    EXPECT_EQ(page.Height(), 480);
    EXPECT_EQ(page.Canvas().Pixel(200, 150), clRed);
    EXPECT_EQ(page.Canvas().Pixel(104, 104), clRed);
    EXPECT_EQ(page.Canvas().Pixel(50, 150), clYellow);
    EXPECT_EQ(page.Canvas().Pixel(200, 250), clYellow);

    // One side given: the other follows the page; the drawing scales.
    const QString half = dir.filePath(QStringLiteral("half.bmp"));
    ASSERT_EQ(Mycad({QStringLiteral("render"), file, half, QStringLiteral("--width"), QStringLiteral("240"),
                     QStringLiteral("--no-background")})
                  .code,
              0);
    TBitmap small;
    ASSERT_TRUE(small.LoadFromFile(half));
    EXPECT_EQ(small.Width(), 240);
    EXPECT_EQ(small.Height(), 240);
    EXPECT_EQ(small.Canvas().Pixel(100, 75), clRed);
    EXPECT_EQ(small.Canvas().Pixel(40, 75), clWhite); // no background: white
    EXPECT_EQ(small.Canvas().Pixel(155, 75), clWhite);
    // A PNG without its background is transparent there, and only there.
    const QString clear = dir.filePath(QStringLiteral("clear.png"));
    ASSERT_EQ(Mycad({QStringLiteral("render"), file, clear, QStringLiteral("--no-background")}).code, 0);
    const QImage transparent(clear);
    ASSERT_TRUE(transparent.hasAlphaChannel());
    EXPECT_EQ(qAlpha(transparent.pixel(50, 150)), 0);
    EXPECT_EQ(transparent.pixel(200, 150), qRgba(255, 0, 0, 255));
    const TRun version = Mycad({QStringLiteral("--version")});
    EXPECT_EQ(version.code, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("mycad 0."))) << version.out.toStdString();

    // Both sides: the drawing fits the smaller scale.
    const QString wide = dir.filePath(QStringLiteral("wide.png"));
    ASSERT_EQ(Mycad({QStringLiteral("render"), file, wide, QStringLiteral("--width=960"),
                     QStringLiteral("--height=240")})
                  .code,
              0);
    TBitmap w;
    ASSERT_TRUE(w.LoadFromFile(wide));
    EXPECT_EQ(w.Width(), 960);
    EXPECT_EQ(w.Height(), 240);
    EXPECT_EQ(w.Canvas().Pixel(100, 75), clRed);
    EXPECT_EQ(w.Canvas().Pixel(200, 75), clYellow);

    // JPEG quality changes the file.
    const QString best = dir.filePath(QStringLiteral("best.jpg"));
    const QString worst = dir.filePath(QStringLiteral("worst.JPEG"));
    ASSERT_EQ(Mycad({QStringLiteral("render"), file, best, QStringLiteral("--quality"), QStringLiteral("100")}).code, 0);
    ASSERT_EQ(Mycad({QStringLiteral("render"), file, worst, QStringLiteral("--quality"), QStringLiteral("1")}).code, 0);
    EXPECT_GT(QFileInfo(best).size(), QFileInfo(worst).size());
    TBitmap photo;
    ASSERT_TRUE(photo.LoadFromFile(best));
    EXPECT_GT(GetRValue(photo.Canvas().Pixel(200, 150)), 240);
    EXPECT_LT(GetGValue(photo.Canvas().Pixel(200, 150)), 15);
}

TEST(MycadConvert, AnOlderVersionBecomesWhatTheCurrentVersionSaves)
{
    // A document an older version could hold completely: coordinates, tags
    // and angles, user data of shapes, flips and visibility (from "XP.9").
    docenc::Document doc;
    doc.Background = 0x336699;
    doc.Width = 500;
    doc.Height = 400;
    doc.Unit = 2;
    doc.Ratio = 1.5;
    doc.Layers = {{u"Base", 0, 1}, {u"Top", 1, 0}};
    doc.CurrentLayer = 1;
    docenc::Shape rect;
    rect.Name = u"Frame";
    rect.Caption = u"Frame";
    rect.Points = {{10, 20}, {110, 20}, {110, 70}, {10, 70}};
    rect.TextX = 60;
    rect.TextY = 80;
    rect.Tag = 5;
    rect.Angle = 0.25;
    rect.BrushColor = 0x0000FF;
    rect.PenWidth = 2;
    rect.UserData = {{u"key", u"value"}};
    rect.FlipVert = true;
    docenc::Shape line;
    line.Class = "TMyLine";
    line.Name = u"Pointer";
    line.Id = 1;
    line.No = 1;
    line.Layer = 1;
    line.Points = {{0, 0}, {50, 60}};
    line.ArrowStyle = 2;
    line.ArrowLength = 25;
    doc.Shapes = {rect, line};

    docenc::Document newest = doc;
    newest.Version = "XP.j";
    const std::vector<uint8_t> expected = docenc::EncodeDocument(newest);

    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("new.zed"));
    for (const auto& [version, eightBit] : {std::pair{"XP.9", false}, std::pair{"XP.a", false}, std::pair{"XP.9", true}}) {
        SCOPED_TRACE(std::string(version) + (eightBit ? " in 8-bit texts" : ""));
        docenc::Document old = doc;
        old.Version = version;
        const QString in = dir.filePath(QStringLiteral("old.zed"));
        ASSERT_TRUE(WriteBytes(in, docenc::EncodeDocument(old, eightBit)));
        const TRun run = Mycad({QStringLiteral("convert"), in, out});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(ReadBytes(out), expected);
    }

    // And the converted file is what a direct save of the drawing writes.
    TMyCAD cad;
    ASSERT_TRUE(LoadFromFile(cad, out));
    const QString direct = dir.filePath(QStringLiteral("direct.zed"));
    ASSERT_TRUE(SaveToFile(cad, direct));
    EXPECT_EQ(ReadBytes(direct), ReadBytes(out));
}

TEST(MycadConvert, AnOutputEndingInDxfGetsTheDxfFileOfTheDrawing)
{
    TMyCAD cad;
    AddBox(cad, 10, 20, 110, 70, clRed);
    AddTextBox(cad, 10, 80, 110, 100, QStringLiteral("Valve"));
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.zed"));
    ASSERT_TRUE(SaveToFile(cad, in));
    // Text as TEXT entities, or with --text-outlines as glyph outlines.
    for (const bool outlines : {false, true}) {
        const QString out = dir.filePath(QStringLiteral("out.DXF"));
        QFile::remove(out);
        QStringList args{QStringLiteral("convert"), in, out};
        if (outlines) args << QStringLiteral("--text-outlines");
        const TRun run = Mycad(args);
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        const std::vector<uint8_t> bytes = ReadBytes(out);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), DxfDocument(cad, outlines));
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()).find("Valve") != std::string::npos, !outlines);
    }
}

TEST(MycadFailures, ExitStatusAndOneLineForEachKindOfFailure)
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
    const QString nowhere = dir.filePath(QStringLiteral("no/such/dir/out.png"));
    EXPECT_EQ(Mycad({QStringLiteral("render"), good, nowhere}).code, 1);
    EXPECT_EQ(Mycad({QStringLiteral("convert"), good, dir.filePath(QStringLiteral("no/such/dir/x.zed"))}).code, 1);
}

TEST(MycadUsage, HelpOnEveryCommandAndStatusTwoForAWrongCommandLine)
{
    const TRun main = Mycad({QStringLiteral("--help")});
    EXPECT_EQ(main.code, 0);
    EXPECT_TRUE(main.out.startsWith(QStringLiteral("usage: mycad COMMAND")));
    for (const char* command : {"info", "render", "convert"}) {
        const TRun help = Mycad({QString::fromLatin1(command), QStringLiteral("--help")});
        EXPECT_EQ(help.code, 0) << command;
        EXPECT_TRUE(help.out.startsWith(QStringLiteral("usage: mycad %1").arg(QString::fromLatin1(command))));
        EXPECT_TRUE(help.err.isEmpty());
    }

    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.zed"));
    TMyCAD cad;
    ASSERT_TRUE(SaveToFile(cad, good));
    const QString png = dir.filePath(QStringLiteral("out.png"));
    const std::vector<QStringList> wrong = {
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
    p.start(QStringLiteral(MYCAD_CLI_BINARY), {QStringLiteral("info"), dir.filePath(QStringLiteral("none.zed"))});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(err.count(u'\n'), 1) << err.toStdString();
    EXPECT_TRUE(err.startsWith(QStringLiteral("mycad: "))) << err.toStdString();

    p.start(QStringLiteral(MYCAD_CLI_BINARY), {QStringLiteral("render"), QStringLiteral(MYCAD_SAMPLE_FILE),
                                                dir.filePath(QStringLiteral("sample.png"))});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    TBitmap sample;
    ASSERT_TRUE(sample.LoadFromFile(dir.filePath(QStringLiteral("sample.png"))));
    EXPECT_EQ(sample.Width(), 1123);
    EXPECT_EQ(sample.Height(), 794);
}
