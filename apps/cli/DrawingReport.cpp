#include "apps/cli/DrawingReport.h"

#include "apps/cli/JsonWriter.h"
#include "cad/connectors/LinkLine.h"
#include "cad/connectors/LinkPoint.h"
#include "cad/shapes/Image.h"
#include "cad/shapes/Line.h"
#include "cad/shapes/RuleLine.h"
#include "cad/shapes/Text.h"

#include <map>

namespace mycad::cli {

void WritePoint(TJsonWriter& j, const TMyPoint& p)
{
    j.BeginArray(true);
    j.Float(p.X);
    j.Float(p.Y);
    j.EndArray();
}

void WritePoints(TJsonWriter& j, const TArrMyPoint& points)
{
    j.BeginArray(points.size() <= 4);
    for (const TMyPoint& p : points) WritePoint(j, p);
    j.EndArray();
}

void WriteUserData(TJsonWriter& j, const TUserData& data)
{
    j.BeginArray();
    for (const TUserDataRec& pair : data.UserDataRecord()) {
        j.BeginArray(true);
        j.Str(pair.Key);
        j.Str(pair.Value);
        j.EndArray();
    }
    j.EndArray();
}

namespace {

void WriteNumbers(TJsonWriter& j, const TMyShapeNo& numbers)
{
    j.BeginArray(true);
    for (const uint32_t n : numbers) j.UInt(n);
    j.EndArray();
}

template <typename E>
int64_t Ordinal(E value)
{
    return static_cast<int64_t>(value);
}

/// The stored fields a shape class adds to those every shape has. Each class
/// with fields of its own contributes its part; a subclass also gets the
/// parts of its bases, since its record holds them too.
void WriteClassFields(TJsonWriter& j, const TMyShape& shape)
{
    if (const auto* line = dynamic_cast<const TMyLine*>(&shape)) {
        j.Key("arrowStyle");
        j.Int(Ordinal(line->ArrowStyle()));
        j.Key("arrowAngle");
        j.Int(line->ArrowAngle());
        j.Key("arrowLength");
        j.Int(line->ArrowLength());
        j.Key("arrowOffset");
        j.Int(line->ArrowOffset());
    }
    if (const auto* link = dynamic_cast<const TMyLinkLine*>(&shape)) {
        j.Key("startSpNo");
        j.Int(link->StartSpNo());
        j.Key("startSpPtId");
        j.Int(link->StartSpPtId());
        j.Key("endSpNo");
        j.Int(link->EndSpNo());
        j.Key("endSpPtId");
        j.Int(link->EndSpPtId());
        j.Key("linkLineDrawStyle");
        j.Int(Ordinal(link->LinkLineDrawStyle()));
    }
    if (const auto* point = dynamic_cast<const TMyLinkPoint*>(&shape)) {
        j.Key("size");
        j.Int(point->Size());
    }
    if (const auto* rule = dynamic_cast<const TMyRuleLine*>(&shape)) {
        j.Key("showUserInfo");
        j.Bool(rule->ShowUserInfo());
        j.Key("tickStyle");
        j.Int(Ordinal(rule->TickStyle()));
        j.Key("userInfo");
        j.Str(rule->UserInfo());
    }
    if (const auto* text = dynamic_cast<const TMyText*>(&shape)) {
        j.Key("isBorder");
        j.Bool(text->IsBorder());
        j.Key("isSolid");
        j.Bool(text->IsSolid());
        j.Key("lines");
        j.BeginArray();
        for (int32_t i = 0; i < text->Lines().Count(); ++i) j.Str(text->Lines()[i]);
        j.EndArray();
        j.Key("vAlignment");
        j.Int(Ordinal(text->VAlignment()));
        j.Key("hAlignment");
        j.Int(Ordinal(text->HAlignment()));
        j.Key("wordWrap");
        j.Bool(text->WordWrap());
    }
    if (const auto* image = dynamic_cast<const TMyImage*>(&shape)) {
        j.Key("bitmap");
        j.BeginObject();
        j.Key("width");
        j.Int(image->Bitmap().Width());
        j.Key("height");
        j.Int(image->Bitmap().Height());
        j.EndObject();
        j.Key("brightness");
        j.Int(image->Brightness());
        j.Key("contrast");
        j.Int(image->Contrast());
        j.Key("transparent");
        j.Bool(image->Transparent());
        j.Key("border");
        j.Bool(image->Border());
        j.Key("grayScale");
        j.Bool(image->GrayScale());
        j.Key("transparentColor");
        j.UInt(image->StoredTransparentColor());
        j.Key("transparentMode");
        j.Int(Ordinal(image->TransparentMode()));
    }
}

void WriteShape(TJsonWriter& j, const TMyShape& s)
{
    j.BeginObject();
    j.Key("class");
    j.Str(s.ClassName());
    j.Key("name");
    j.Str(s.Name());
    j.Key("id");
    j.Int(s.ShapeId);
    j.Key("no");
    j.Int(s.ShapeNo);
    j.Key("layer");
    j.Int(s.LayerId);
    j.Key("parent");
    j.Int(s.ParentShapeNo);
    j.Key("children");
    WriteNumbers(j, s.ChildShapesNo);
    j.Key("links");
    WriteNumbers(j, s.LinkShapesNo);
    j.Key("points");
    WritePoints(j, s.ThePoints);
    j.Key("linkPoints");
    WritePoints(j, s.LinkPoints);
    j.Key("textOut");
    WritePoint(j, s.TextOutPoint);
    j.Key("angle");
    j.Float(s.Angle());
    j.Key("tag");
    j.Int(s.Tag());
    j.Key("caption");
    j.Str(s.Caption());
    j.Key("info");
    j.Str(s.Info());
    j.Key("multiInfo");
    j.BeginArray();
    for (int32_t i = 0; i < s.MultiInfo().Count(); ++i) j.Str(s.MultiInfo().Strings(i));
    j.EndArray();
    j.Key("visible");
    j.Bool(s.Visible());
    j.Key("locked");
    j.Bool(s.Locked());
    j.Key("flipHorz");
    j.Bool(s.IsFlipHorz());
    j.Key("flipVert");
    j.Bool(s.IsFlipVert());

    const TPen& pen = s.Pen();
    j.Key("pen");
    j.BeginObject();
    j.Key("color");
    j.UInt(pen.Color());
    j.Key("style");
    j.Int(Ordinal(pen.Style()));
    j.Key("mode");
    j.Int(Ordinal(pen.Mode()));
    j.Key("width");
    j.Int(pen.Width());
    j.EndObject();

    const TBrush& brush = s.Brush();
    j.Key("brush");
    j.BeginObject();
    j.Key("color");
    j.UInt(brush.Color());
    j.Key("style");
    j.Int(Ordinal(brush.Style()));
    j.Key("bitmap");
    j.Bool(brush.Bitmap() != nullptr && !brush.Bitmap()->Empty());
    j.EndObject();

    const TFont& font = s.Font();
    j.Key("font");
    j.BeginObject();
    j.Key("name");
    j.Str(font.Name());
    j.Key("size");
    j.Int(font.Size());
    j.Key("color");
    j.UInt(font.Color());
    j.Key("style");
    j.UInt(font.Style().Bits());
    j.Key("charset");
    j.Int(font.Charset());
    j.Key("pitch");
    j.Int(Ordinal(font.Pitch()));
    j.EndObject();

    j.Key("gradient");
    j.BeginObject();
    j.Key("style");
    j.Int(Ordinal(s.GradientStyle()));
    j.Key("begin");
    j.UInt(s.ColorBegin());
    j.Key("end");
    j.UInt(s.ColorEnd());
    j.EndObject();

    j.Key("userData");
    WriteUserData(j, s.UserData());
    WriteClassFields(j, s);
    j.EndObject();
}

} // namespace

std::string DrawingJson(const TMyCAD& cad)
{
    TJsonWriter j;
    j.BeginObject();
    j.Key("version");
    j.Str(cad.DiskFileVersion());
    // The size a document stores: the control's at zoom 1.
    j.Key("width");
    j.Int(RoundToInt(cad.Width() / cad.Zoom()));
    j.Key("height");
    j.Int(RoundToInt(cad.Height() / cad.Zoom()));
    j.Key("unit");
    j.Int(Ordinal(cad.TheUNIT()));
    j.Key("backgroundColor");
    j.UInt(cad.ColorOfBackGround());
    j.Key("bkBitmap");
    j.BeginObject();
    j.Key("width");
    j.Int(cad.BkBitmap().Width());
    j.Key("height");
    j.Int(cad.BkBitmap().Height());
    j.EndObject();
    j.Key("bkBitmapMode");
    j.Int(Ordinal(cad.BkBitmapMode()));
    j.Key("ratio");
    j.Double(cad.Ratio());
    j.Key("tag");
    j.Int(cad.Tag());
    j.Key("userData");
    WriteUserData(j, cad.UserData());
    j.Key("layers");
    j.BeginArray();
    for (const LayerRec& layer : cad.MyLayers) {
        j.BeginObject();
        j.Key("name");
        j.Str(layer.LayerName);
        j.Key("id");
        j.Int(layer.LayerId);
        j.Key("visible");
        j.Bool(layer.Visible);
        j.EndObject();
    }
    j.EndArray();
    j.Key("currentLayer");
    j.Int(cad.CurrentLayerId());
    j.Key("shapes");
    j.BeginArray();
    for (const auto& shape : cad.MyShapes) WriteShape(j, *shape);
    j.EndArray();
    j.EndObject();
    return j.Text();
}

QString DrawingSummary(const TMyCAD& cad, const QString& fileName)
{
    static const char* const kUnits[] = {"pixel", "mm", "cm", "dm", "m", "inch"};
    const auto unit = static_cast<size_t>(cad.TheUNIT());
    QString text;
    text += QStringLiteral("%1\n").arg(fileName);
    text += QStringLiteral("  version      %1\n").arg(cad.DiskFileVersion());
    text += QStringLiteral("  size         %1 x %2 pixels at zoom 1\n")
                .arg(RoundToInt(cad.Width() / cad.Zoom()))
                .arg(RoundToInt(cad.Height() / cad.Zoom()));
    text += QStringLiteral("  unit         %1, ratio %2\n")
                .arg(QString::fromLatin1(unit < std::size(kUnits) ? kUnits[unit] : "?"))
                .arg(cad.Ratio());
    text += QStringLiteral("  background   #%1%2\n")
                .arg(QString::number(cad.ColorOfBackGround() & 0xFFFFFF, 16).rightJustified(6, u'0'))
                .arg(cad.BkBitmap().Empty() ? QString()
                                            : QStringLiteral(" with a %1 x %2 picture")
                                                  .arg(cad.BkBitmap().Width())
                                                  .arg(cad.BkBitmap().Height()));
    text += QStringLiteral("  layers       %1\n").arg(cad.MyLayers.size());
    for (const LayerRec& layer : cad.MyLayers) {
        text += QStringLiteral("    %1 %2 (id %3, %4 shapes%5)\n")
                    .arg(QChar(layer.LayerId == cad.CurrentLayerId() ? u'*' : u' '))
                    .arg(layer.LayerName)
                    .arg(layer.LayerId)
                    .arg(cad.GetShapesCountInALayer(layer.LayerId))
                    .arg(layer.Visible ? QString() : QStringLiteral(", hidden"));
    }
    std::map<QString, int> byClass;
    int topLevel = 0;
    for (const auto& shape : cad.MyShapes) {
        ++byClass[shape->ClassName()];
        if (!shape->HasParentShape()) ++topLevel;
    }
    text += QStringLiteral("  shapes       %1 (%2 at the top level)\n").arg(cad.MyShapes.size()).arg(topLevel);
    for (const auto& [name, count] : byClass) text += QStringLiteral("    %1 %2\n").arg(count, 5).arg(name);
    if (cad.UserData().GetCount() > 0) {
        text += QStringLiteral("  user data    %1 pairs\n").arg(cad.UserData().GetCount());
    }
    return text;
}

void WriteShapeJson(TJsonWriter& j, const TMyShape& shape) { WriteShape(j, shape); }

} // namespace mycad::cli
