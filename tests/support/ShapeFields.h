// Every field of a drawing and of a shape by name, read through their own
// getters, never through the writer: the golden documents name their
// expected values so, and round trips compare drawings field by field.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "cad/shapes/Ellipse.h"
#include "cad/shapes/Image.h"
#include "cad/shapes/Line.h"
#include "cad/shapes/RuleLine.h"
#include "cad/shapes/Text.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

namespace iotest {

using namespace mycad;

using Getter = std::function<QJsonValue(const TMyShape&)>;
using FieldMap = std::map<QString, Getter>;

inline std::string Text(const QJsonValue& v) { return QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact).toStdString(); }

inline QJsonArray Json(const TMyPoint& p) { return {p.X, p.Y}; }

inline QJsonArray Json(const TArrMyPoint& points)
{
    QJsonArray a;
    for (const TMyPoint& p : points) a.append(Json(p));
    return a;
}

inline QJsonArray Json(const TUserData& data)
{
    QJsonArray a;
    for (const TUserDataRec& r : data.UserDataRecord()) a.append(QJsonArray{r.Key, r.Value});
    return a;
}

inline QJsonArray Json(const TStringList& lines)
{
    QJsonArray a;
    for (int32_t i = 0; i < lines.Count(); ++i) a.append(lines[i]);
    return a;
}

template <typename E>
inline int Int(E v) { return static_cast<int>(v); }

inline QJsonArray Json(const TMyShapeNo& numbers)
{
    QJsonArray a;
    for (uint32_t n : numbers) a.append(static_cast<qint64>(n));
    return a;
}

inline QJsonValue Pixels(const TBitmap* b)
{
    if (!b) return QJsonValue();
    QJsonArray rows;
    for (int32_t y = 0; y < b->Height(); ++y) {
        rows.append(QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(b->ScanLine(y)), 3 * b->Width()).toHex()));
    }
    return rows;
}

/// A field of a class's own: null for shapes of other classes.
template <typename T>
Getter Own(std::function<QJsonValue(const T&)> get)
{
    return [get](const TMyShape& s) { return dynamic_cast<const T*>(&s) ? get(dynamic_cast<const T&>(s)) : QJsonValue(); };
}

/// Every stored field of every class, by name.
inline const FieldMap& StoredFields()
{
    using S = const TMyShape&;
    static const FieldMap fields = {
        {"Class", [](S s) { return s.ClassName(); }},
        {"Name", [](S s) { return s.Name(); }},
        {"Id", [](S s) { return s.ShapeId; }},
        {"Layer", [](S s) { return s.LayerId; }},
        {"Parent", [](S s) { return s.ParentShapeNo; }},
        {"Children", [](S s) { return Json(s.ChildShapesNo); }},
        {"Links", [](S s) { return Json(s.LinkShapesNo); }},
        {"Points", [](S s) { return Json(s.ThePoints); }},
        {"LinkPoints", [](S s) { return Json(s.LinkPoints); }},
        {"TextOut", [](S s) { return Json(s.TextOutPoint); }},
        {"Tag", [](S s) { return s.Tag(); }},
        {"Angle", [](S s) { return s.Angle(); }},
        // A pattern brush's colour and style are not its own to keep.
        {"BrushColor", [](S s) { return s.Brush().Bitmap() ? QJsonValue() : Int(s.Brush().Color()); }},
        {"BrushStyle", [](S s) { return s.Brush().Bitmap() ? QJsonValue() : Int(s.Brush().Style()); }},
        {"BrushBitmap", [](S s) { return Pixels(s.Brush().Bitmap()); }},
        {"Caption", [](S s) { return s.Caption(); }},
        {"ColorBegin", [](S s) { return Int(s.ColorBegin()); }},
        {"ColorEnd", [](S s) { return Int(s.ColorEnd()); }},
        {"FontName", [](S s) { return s.Font().Name(); }},
        {"Charset", [](S s) { return s.Font().Charset(); }},
        {"FontColor", [](S s) { return Int(s.Font().Color()); }},
        {"FontSize", [](S s) { return s.Font().Size(); }},
        {"Pitch", [](S s) { return Int(s.Font().Pitch()); }},
        {"FontStyle", [](S s) { return Int(s.Font().Style().Bits()); }},
        {"Gradient", [](S s) { return Int(s.GradientStyle()); }},
        {"Info", [](S s) { return s.Info(); }},
        {"PenColor", [](S s) { return Int(s.Pen().Color()); }},
        {"PenMode", [](S s) { return Int(s.Pen().Mode()); }},
        {"PenStyle", [](S s) { return Int(s.Pen().Style()); }},
        {"PenWidth", [](S s) { return s.Pen().Width(); }},
        {"UserData", [](S s) { return Json(s.UserData()); }},
        {"FlipHorz", [](S s) { return s.IsFlipHorz(); }},
        {"FlipVert", [](S s) { return s.IsFlipVert(); }},
        {"Visible", [](S s) { return s.Visible(); }},
        {"MultiInfo", [](S s) { return Json(s.MultiInfo()); }},
        {"MultiInfoAlignment", [](S s) { return Int(s.MultiInfoAlignment()); }},
        {"LogHeight", [](S s) { return s.LogHeight(); }},
        {"LogUse", [](S s) { return s.LogUse(); }},
        {"LogWidth", [](S s) { return s.LogWidth(); }},
        {"Locked", [](S s) { return s.Locked(); }},
        {"EndCap", [](S s) { return Int(s.PenStyleEndCapType()); }},
        {"Join", [](S s) { return Int(s.PenStyleJoinType()); }},
        {"HotShow", [](S s) { return s.HotShow(); }},
        {"ResizeEnable", [](S s) { return s.ResizeEnable(); }},
        {"RotateEnable", [](S s) { return s.RotateEnable(); }},
        {"ArrowAngle", Own<TMyLine>([](const TMyLine& l) { return l.ArrowAngle(); })},
        {"ArrowLength", Own<TMyLine>([](const TMyLine& l) { return l.ArrowLength(); })},
        {"ArrowOffset", Own<TMyLine>([](const TMyLine& l) { return l.ArrowOffset(); })},
        {"ArrowStyle", Own<TMyLine>([](const TMyLine& l) { return Int(l.ArrowStyle()); })},
        {"ShowUserInfo", Own<TMyRuleLine>([](const TMyRuleLine& r) { return r.ShowUserInfo(); })},
        {"TickStyle", Own<TMyRuleLine>([](const TMyRuleLine& r) { return Int(r.TickStyle()); })},
        {"UserInfo", Own<TMyRuleLine>([](const TMyRuleLine& r) { return r.UserInfo(); })},
        {"ArcMode", Own<TMyElliArc>([](const TMyElliArc& a) { return Int(a.ArcMode()); })},
        {"ArcStyle", Own<TMyElliArc>([](const TMyElliArc& a) { return Int(a.ArcStyle()); })},
        {"Border", Own<TMyText>([](const TMyText& t) { return t.IsBorder(); })},
        {"Solid", Own<TMyText>([](const TMyText& t) { return t.IsSolid(); })},
        {"Lines", Own<TMyText>([](const TMyText& t) { return Json(t.Lines()); })},
        {"VAlignment", Own<TMyText>([](const TMyText& t) { return Int(t.VAlignment()); })},
        {"HAlignment", Own<TMyText>([](const TMyText& t) { return Int(t.HAlignment()); })},
        {"WordWrap", Own<TMyText>([](const TMyText& t) { return t.WordWrap(); })},
        {"PictureWidth", Own<TMyImage>([](const TMyImage& i) { return i.Bitmap().Width(); })},
        {"Brightness", Own<TMyImage>([](const TMyImage& i) { return i.Brightness(); })},
        {"Contrast", Own<TMyImage>([](const TMyImage& i) { return i.Contrast(); })},
        {"GrayScale", Own<TMyImage>([](const TMyImage& i) { return i.GrayScale(); })},
        {"PictureBorder", Own<TMyImage>([](const TMyImage& i) { return i.Border(); })},
        {"Transparent", Own<TMyImage>([](const TMyImage& i) { return i.Transparent(); })},
        {"TransparentColor", Own<TMyImage>([](const TMyImage& i) { return Int(i.StoredTransparentColor()); })},
        {"TransparentMode", Own<TMyImage>([](const TMyImage& i) { return Int(i.TransparentMode()); })},
    };
    return fields;
}

/// The stored settings of a drawing, by name.
inline const std::map<QString, std::function<QJsonValue(const TMyCAD&)>>& DocumentFields()
{
    using D = const TMyCAD&;
    static const std::map<QString, std::function<QJsonValue(const TMyCAD&)>> fields = {
        {"Background", [](D d) { return Int(d.ColorOfBackGround()); }},
        {"Width", [](D d) { return d.Width(); }},
        {"Height", [](D d) { return d.Height(); }},
        {"Unit", [](D d) { return Int(d.TheUNIT()); }},
        {"BkBitmap", [](D d) { return d.BkBitmap().Empty() ? QJsonValue() : Pixels(&d.BkBitmap()); }},
        {"BkBitmapMode", [](D d) { return Int(d.BkBitmapMode()); }},
        {"Ratio", [](D d) { return d.Ratio(); }},
        {"Tag", [](D d) { return d.Tag(); }},
        {"UserData", [](D d) { return Json(d.UserData()); }},
        {"Layers", [](D d) {
             QJsonArray layers;
             for (const LayerRec& l : d.MyLayers) layers.append(QJsonArray{l.LayerName, l.LayerId, l.Visible});
             return layers;
         }},
        {"CurrentLayer", [](D d) { return d.CurrentLayerId(); }},
    };
    return fields;
}

/// What loading works out rather than reads: place, centre, font height and
/// the gradient's picture.
inline const FieldMap& DerivedFields()
{
    using S = const TMyShape&;
    static const FieldMap fields = {
        {"ShapeNo", [](S s) { return s.ShapeNo; }},
        {"Center", [](S s) { return Json(s.CenterPoint); }},
        {"FontHeight", [](S s) { return s.Font().Height(); }},
        {"GradientSize", [](S s) { return QJsonArray{s.GradBmp.Width(), s.GradBmp.Height()}; }},
    };
    return fields;
}

inline void ExpectSameShape(const TMyShape& a, const TMyShape& b, int index)
{
    SCOPED_TRACE(testing::Message() << "shape " << index);
    for (const FieldMap* fields : {&StoredFields(), &DerivedFields()}) {
        for (const auto& [name, get] : *fields) EXPECT_EQ(Text(get(b)), Text(get(a))) << name.toStdString();
    }
}

inline void ExpectSameDocument(const TMyCAD& a, const TMyCAD& b)
{
    for (const auto& [name, get] : DocumentFields()) EXPECT_EQ(Text(get(b)), Text(get(a))) << name.toStdString();
    ASSERT_EQ(a.GetShapesCount(), b.GetShapesCount());
    for (int32_t i = 0; i < a.GetShapesCount(); ++i) ExpectSameShape(*a.MyShapes[size_t(i)], *b.MyShapes[size_t(i)], i);
}

} // namespace iotest
