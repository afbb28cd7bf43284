// Writes the seed corpus of fuzz_load_document into the folder given: a
// document of each layout from the independent encoder, an 8-bit one, and
// drawings saved by the writer with every feature the format has (bitmaps,
// groups, attached connectors, user data, layers). The encoded documents are
// the tests' golden files: TABLE receives the field values a reader must
// give each of them, as the encoder meant them.
// Usage: make_load_document_seeds DIR TABLE
//   e.g. make_load_document_seeds fuzz/corpus/load_document tests/io/data/encoded-documents.json
#include "SeedFiles.h"
#include "cad/canvas/MyCAD.h"
#include "cad/io/DocumentFile.h"
#include "cad/shapes/Line.h"
#include "DocumentEncoder.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
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

/// A rectangle, a line, a rule line, a Bezier chain, an elliptic arc, a text
/// box and a picture with a distinct value in every field, some of them
/// stored as a reader must take them apart: a mode whose high bytes do not
/// count, a repeated user data key, a font height the size decides over.
docenc::Document EncodedSample(const std::string& version, const std::vector<uint8_t>& picture)
{
    docenc::Document doc;
    doc.Version = version;
    doc.Background = 0x123456;
    doc.Width = 640;
    doc.Height = 480;
    doc.Unit = 5;
    doc.BkBitmapMode = 0x0301;
    doc.Ratio = 2.5;
    doc.Tag = -77;
    doc.UserData = {{u"doc", u"one"}, {u"doc", u"dropped"}, {u"k2", u"v2"}};
    doc.Layers = {{u"Base", 3, 1}, {u"Notes", 7, 0}};
    doc.CurrentLayer = 7;

    docenc::Shape rect;
    rect.Name = u"Box1";
    rect.Id = 4;
    rect.Layer = 3;
    rect.Children = {1};
    rect.Points = {{10.5, 20.25}, {110.5, 20.25}, {110.5, 70.75}, {10.5, 70.75}};
    rect.LinkPoints = {{60.5, 20.25}};
    rect.TextX = 60.5;
    rect.TextY = -80.125;
    rect.Tag = 99;
    rect.Angle = -0.75;
    rect.BrushColor = 0x00FF00;
    rect.BrushStyle = 2;
    rect.Caption = u"Caf\u00e9 \u00a3";
    rect.ColorBegin = 0x0000FF;
    rect.ColorEnd = 0xFF0000;
    rect.FontName = u"DejaVu Serif";
    rect.Charset = 0;
    rect.FontColor = 0x00AA00;
    rect.FontHeight = -40;
    rect.FontSize = 12;
    rect.Pitch = 2;
    rect.FontStyle = 0x05;
    rect.Gradient = 9;
    rect.Info = u"info";
    rect.PenColor = 0x0A0B0C;
    rect.PenMode = 14;
    rect.PenStyle = 2;
    rect.PenWidth = 3;
    rect.UserData = {{u"a", u"1"}, {u"b", u"2"}};
    rect.FlipHorz = true;
    rect.Visible = false;
    rect.MultiInfo = {u"first", u"second"};
    rect.MultiInfoAlignment = 2;
    rect.LogHeight = 33;
    rect.LogUse = true;
    rect.LogWidth = 44;
    rect.Locked = true;
    rect.EndCap = 2;
    rect.Join = 1;
    rect.HotShow = false;
    rect.ResizeEnable = false;
    rect.RotateEnable = false;

    docenc::Shape line;
    line.Class = "TMyLine";
    line.Name = u"Line2";
    line.Id = 9;
    line.No = 1;
    line.Layer = 7;
    line.Parent = 0;
    line.Points = {{-5, -6}, {300, 400}, {0.375, 7}};
    line.TextX = 1;
    line.TextY = 2;
    line.FlipVert = true;
    line.ArrowAngle = 45;
    line.ArrowLength = 20;
    line.ArrowOffset = 5;
    line.ArrowStyle = 3;

    docenc::Shape rule = line;
    rule.Class = "TMyRuleLine";
    rule.Name = u"Gauge";
    rule.Id = 10;
    rule.No = 2;
    rule.Parent = -1;
    rule.Points = {{0, 50}, {100, 50}};
    rule.ShowUserInfo = true;
    rule.TickStyle = 1;
    rule.UserInfo = u"Span";

    docenc::Shape chain;
    chain.Class = "TMyPolyBezier";
    chain.Name = u"Chain";
    chain.Id = 11;
    chain.No = 3;
    chain.Points = {{0, 0}, {10, 20}, {30, 20}, {40, 0}};

    docenc::Shape arc = chain;
    arc.Class = "TMyElliArc";
    arc.Name = u"Arc";
    arc.Id = 12;
    arc.No = 4;
    arc.ArcMode = 1;
    arc.ArcStyle = 2;

    docenc::Shape text = chain;
    text.Class = "TMyText";
    text.Name = u"Note";
    text.Id = 13;
    text.No = 5;
    text.Border = true;
    text.Solid = false;
    text.Lines = {u"first", u"second"};
    text.VAlignment = 2;
    text.HAlignment = 1;
    text.WordWrap = true;

    docenc::Shape image = chain;
    image.Class = "TMyImage";
    image.Name = u"Logo";
    image.Id = 14;
    image.No = 6;
    image.Picture = picture;
    image.Brightness = -40;
    image.Contrast = 255;
    image.GrayScale = true;
    image.PictureBorder = true;
    image.Transparent = true;
    image.TransparentColor = 0x00FF00;
    image.TransparentMode = 0x0101; // the mode is the low byte: fixed

    doc.Shapes = {rect, line, rule, chain, arc, text, image};
    return doc;
}

QJsonArray Json(const std::vector<std::pair<double, double>>& points, bool stored)
{
    QJsonArray a;
    for (const auto& [x, y] : points) a.append(stored ? QJsonArray{x, y} : QJsonArray{0, 0});
    return a;
}

QJsonArray Json(const std::vector<docenc::Pair>& pairs)
{
    QJsonArray a;
    for (const docenc::Pair& p : pairs) {
        const bool repeated = std::any_of(a.begin(), a.end(), [&](const QJsonValue& v) {
            return v.toArray().at(0).toString() == QString::fromStdU16String(p.Key);
        });
        if (!repeated) a.append(QJsonArray{QString::fromStdU16String(p.Key), QString::fromStdU16String(p.Value)});
    }
    return a;
}

QJsonArray Json(const std::vector<uint32_t>& numbers)
{
    QJsonArray a;
    for (uint32_t n : numbers) a.append(static_cast<qint64>(n));
    return a;
}

QJsonArray Json(const std::vector<std::u16string>& lines)
{
    QJsonArray a;
    for (const auto& line : lines) a.append(QString::fromStdU16String(line));
    return a;
}

/// The values a reader must give the shape's fields, for the fields the
/// layout stores; a field left out keeps the value a new shape has.
QJsonObject Expected(const docenc::Shape& s, const std::string& version)
{
    const int v = docenc::VersionIndex(version);
    auto in = [v](const char* first) { return v >= 0 && v >= docenc::VersionIndex(first); };
    auto str = [](const std::u16string& t) { return QString::fromStdU16String(t); };
    QJsonObject o{
        {"Class", QString::fromStdString(s.Class)}, {"Name", str(s.Name)}, {"Id", s.Id}, {"Layer", s.Layer},
        {"Parent", s.Parent}, {"Children", Json(s.Children)},
        {"Points", Json(s.Points, in("XP.3"))}, {"LinkPoints", Json(s.LinkPoints, in("XP.3"))},
        {"TextOut", QJsonArray{s.TextX, s.TextY}}, {"BrushColor", s.BrushColor}, {"BrushStyle", s.BrushStyle},
        {"Caption", str(s.Caption)}, {"ColorBegin", s.ColorBegin}, {"ColorEnd", s.ColorEnd},
        {"FontName", str(s.FontName)}, {"Charset", s.Charset}, {"FontColor", s.FontColor},
        {"FontSize", s.FontSize}, {"Pitch", s.Pitch}, {"FontStyle", s.FontStyle}, {"Gradient", s.Gradient},
        {"Info", str(s.Info)}, {"PenColor", s.PenColor}, {"PenMode", s.PenMode}, {"PenStyle", s.PenStyle},
        {"PenWidth", s.PenWidth},
    };
    if (in("XP.3")) {
        o["Tag"] = s.Tag;
        o["Angle"] = s.Angle;
    }
    if (in("XP.8")) o["UserData"] = Json(s.UserData);
    if (in("XP.9")) {
        o["FlipHorz"] = s.FlipHorz;
        o["FlipVert"] = s.FlipVert;
        o["Visible"] = s.Visible;
    }
    if (in("XP.e")) {
        o["MultiInfo"] = Json(s.MultiInfo);
        o["MultiInfoAlignment"] = s.MultiInfoAlignment;
    }
    if (in("XP.h")) {
        o["LogHeight"] = s.LogHeight;
        o["LogUse"] = s.LogUse;
        o["LogWidth"] = s.LogWidth;
        o["Locked"] = s.Locked;
    }
    if (in("XP.j")) {
        o["EndCap"] = s.EndCap;
        o["Join"] = s.Join;
        o["HotShow"] = s.HotShow;
        o["ResizeEnable"] = s.ResizeEnable;
        o["RotateEnable"] = s.RotateEnable;
    }
    if (s.Class == "TMyLine" || s.Class == "TMyRuleLine") {
        o["ArrowAngle"] = s.ArrowAngle;
        o["ArrowLength"] = s.ArrowLength;
        o["ArrowOffset"] = s.ArrowOffset;
        o["ArrowStyle"] = s.ArrowStyle;
    }
    if (s.Class == "TMyRuleLine") {
        o["ShowUserInfo"] = s.ShowUserInfo;
        o["TickStyle"] = s.TickStyle;
        o["UserInfo"] = str(s.UserInfo);
    }
    if (s.Class == "TMyElliArc") {
        o["ArcMode"] = s.ArcMode;
        o["ArcStyle"] = s.ArcStyle;
    }
    if (s.Class == "TMyText") {
        o["Border"] = s.Border;
        o["Solid"] = s.Solid;
        if (in("XP.a")) {
            o["Lines"] = Json(s.Lines);
            o["VAlignment"] = s.VAlignment;
            o["HAlignment"] = s.HAlignment;
            o["WordWrap"] = s.WordWrap;
        }
    }
    if (s.Class == "TMyImage") {
        o["PictureWidth"] = 3;
        if (in("XP.9")) {
            o["Brightness"] = s.Brightness;
            o["Contrast"] = s.Contrast;
            o["GrayScale"] = s.GrayScale;
            o["PictureBorder"] = s.PictureBorder;
            o["Transparent"] = s.Transparent;
        }
        if (in("XP.i")) {
            o["TransparentColor"] = s.TransparentColor;
            o["TransparentMode"] = s.TransparentMode & 0xFF;
        }
    }
    return o;
}

QJsonObject Expected(const docenc::Document& d, bool eightBit)
{
    const bool documentData = d.Version == "XP.h" || d.Version == "XP.i" || d.Version == "XP.j";
    QJsonArray layers;
    int32_t nextLayer = 0;
    for (const docenc::Layer& l : d.Layers) {
        layers.append(QJsonArray{QString::fromStdU16String(l.Name), l.Id, l.Visible == 1});
        nextLayer = std::max(nextLayer, l.Id + 1);
    }
    QJsonArray shapes;
    int32_t nextShape = 0;
    for (const docenc::Shape& s : d.Shapes) {
        shapes.append(Expected(s, d.Version));
        nextShape = std::max(nextShape, s.Id + 1);
    }
    return QJsonObject{
        {"EightBit", eightBit}, {"Version", QString::fromStdString(d.Version)}, {"Background", d.Background},
        {"Width", d.Width}, {"Height", d.Height}, {"Unit", d.Unit}, {"BkBitmapMode", d.BkBitmapMode & 0xFF},
        {"Ratio", d.Ratio}, {"Tag", documentData ? d.Tag : 0},
        {"UserData", documentData ? Json(d.UserData) : QJsonArray()}, {"Layers", layers},
        {"CurrentLayer", d.CurrentLayer}, {"NextLayerId", nextLayer}, {"NextShapeId", nextShape},
        {"Shapes", shapes},
    };
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
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DIR TABLE\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string dir = argv[1];
    bool ok = true;
    TMemoryStream bmp;
    Pattern(3, 2).SaveToStream(bmp);
    QJsonObject table;
    std::vector<std::string> versions = docenc::kVersions;
    versions.push_back("XP.q"); // a tag no layout has: only the shared fields
    for (const std::string& version : versions) {
        const docenc::Document doc = EncodedSample(version, bmp.Bytes());
        ok &= Write(dir, "encoded-" + version, docenc::EncodeDocument(doc));
        table[QString::fromStdString("encoded-" + version)] = Expected(doc, false);
    }
    const docenc::Document eightBit = EncodedSample("XP.j", bmp.Bytes());
    ok &= Write(dir, "encoded-8bit", docenc::EncodeDocument(eightBit, true));
    table[QStringLiteral("encoded-8bit")] = Expected(eightBit, true);
    // One line a document and one a shape, so that a change reads as a diff.
    QByteArray json = "{\n";
    for (auto it = table.begin(); it != table.end(); ++it) {
        QJsonObject doc = it.value().toObject();
        const QJsonArray shapes = doc.take(QStringLiteral("Shapes")).toArray();
        QByteArray head = QJsonDocument(doc).toJson(QJsonDocument::Compact);
        head.chop(1);
        json += "\"" + it.key().toUtf8() + "\": " + head + ", \"Shapes\": [\n";
        for (qsizetype i = 0; i < shapes.size(); ++i) {
            json += QJsonDocument(shapes[i].toObject()).toJson(QJsonDocument::Compact);
            json += i + 1 < shapes.size() ? ",\n" : "\n";
        }
        json += std::next(it) != table.end() ? "]},\n" : "]}\n";
    }
    json += "}\n";
    QFile tableFile(QString::fromLocal8Bit(argv[2]));
    ok &= tableFile.open(QIODevice::WriteOnly) && tableFile.write(json) == json.size();
    tableFile.close();

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
