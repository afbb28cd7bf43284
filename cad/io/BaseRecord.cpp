// The fields every shape stores, in the order of the newest layout; readers
// of older layouts skip what those did not store.
#include "cad/geometry/StreamEncoding.h"
#include "cad/io/RecordWriter.h"
#include "cad/io/ShapeRecordParts.h"
#include "platform/Control.h"

#include <cmath>
#include <unordered_set>

namespace mycad {

namespace {

using V = TFileVersion;

void WritePoints(TRecordWriter& w, const TArrMyPoint& points)
{
    w.Int32(static_cast<int32_t>(points.size()));
    for (const TMyPoint& p : points) {
        w.Float(p.X);
        w.Float(p.Y);
    }
}

void WriteNumbers(TRecordWriter& w, const TMyShapeNo& numbers)
{
    w.Int32(static_cast<int32_t>(numbers.size()));
    for (uint32_t n : numbers) w.UInt32(n);
}

TMyShapeNo ReadNumbers(TRecordReader& r)
{
    TMyShapeNo numbers(static_cast<size_t>(r.Count(4)));
    for (uint32_t& n : numbers) n = r.UInt32();
    return numbers;
}

// Points and link points: coordinates from "XP.3" on, 10 bytes wide up to
// "XP.5"; the oldest layout (and an unknown one) keeps only their number.
TArrMyPoint ReadPoints(TRecordReader& r)
{
    if (!r.Has(V::XP_3)) return TArrMyPoint(static_cast<size_t>(r.UncoveredCount()));
    const bool wide = r.Has(V::XP_3, V::XP_5);
    TArrMyPoint points(static_cast<size_t>(r.Count(wide ? 20 : 8)));
    for (TMyPoint& p : points) {
        p.X = r.Real(wide);
        p.Y = r.Real(wide);
    }
    return points;
}

uint8_t FontStyleByte(const TFontStyles& style) { return static_cast<uint8_t>(style.Bits() & 0xFFu); }

} // namespace

void WriteUserDataPairs(TStream& s, const TUserData& data)
{
    const TArrUserDataRec& pairs = data.UserDataRecord();
    WriteInt32(s, static_cast<int32_t>(pairs.size()));
    for (const TUserDataRec& pair : pairs) {
        WriteCountedString(s, pair.Key);
        WriteCountedString(s, pair.Value);
    }
}

TArrUserDataRec ReadUserDataPairs(TRecordReader& r)
{
    TArrUserDataRec pairs(static_cast<size_t>(r.Count(8)));
    for (TUserDataRec& pair : pairs) {
        pair.Key = r.CountedString();
        pair.Value = r.CountedString();
    }
    return pairs;
}

void AppendUserDataPairs(TUserData& target, const TArrUserDataRec& pairs)
{
    if (pairs.empty()) return;
    TArrUserDataRec merged = target.UserDataRecord();
    std::unordered_set<String> keys;
    keys.reserve(merged.size() + pairs.size());
    for (const TUserDataRec& pair : merged) keys.insert(pair.Key);
    for (const TUserDataRec& pair : pairs) {
        if (keys.insert(pair.Key).second) merged.push_back(pair);
    }
    target.SetUserDataRecord(merged);
}

void SaveBaseRecord(const TMyShape& shape, TStream& s)
{
    // One buffer for every record: a large drawing then costs no allocation per shape.
    thread_local TRecordWriter w;
    w.Reset();
    w.CountedString(shape.Name());
    w.Int32(shape.ShapeId);
    w.Int32(shape.ShapeNo);
    w.Int32(shape.LayerId);
    w.Int32(shape.ParentShapeNo);
    WriteNumbers(w, shape.ChildShapesNo);
    WriteNumbers(w, shape.LinkShapesNo);
    WritePoints(w, shape.ThePoints);
    WritePoints(w, shape.LinkPoints);
    w.Float(shape.TextOutPoint.X);
    w.Float(shape.TextOutPoint.Y);
    w.Int32(shape.Tag());
    w.Float(shape.Angle());

    const TBrush& brush = shape.Brush();
    if (brush.Bitmap() && !brush.Bitmap()->Empty()) {
        w.FlushTo(s);
        if (!WriteBitmapBuffer(s, brush.Bitmap())) throw EWriteError("Stream write error");
    } else {
        w.Int64(0);
    }
    w.Int32(static_cast<int32_t>(brush.Color()));
    w.Byte(static_cast<uint8_t>(brush.Style()));

    w.CountedString(shape.Caption());
    w.Int32(static_cast<int32_t>(shape.ColorBegin()));
    w.Int32(static_cast<int32_t>(shape.ColorEnd()));

    const TFont& font = shape.Font();
    w.CountedString(font.Name());
    w.Byte(font.Charset());
    w.Int32(static_cast<int32_t>(font.Color()));
    w.Int32(font.Height());
    w.Int32(font.Size());
    w.Byte(static_cast<uint8_t>(font.Pitch()));
    w.Int32(TScreen::PixelsPerInch());
    w.Byte(FontStyleByte(font.Style()));
    w.Int32(0);
    w.Int32(0);

    w.Byte(static_cast<uint8_t>(shape.GradientStyle()));
    w.CountedString(shape.Info());

    const TPen& pen = shape.Pen();
    w.Int32(static_cast<int32_t>(pen.Color()));
    w.Byte(static_cast<uint8_t>(pen.Mode()));
    w.Byte(static_cast<uint8_t>(pen.Style()));
    w.Int32(pen.Width());

    const TArrUserDataRec& pairs = shape.UserData().UserDataRecord();
    w.Int32(static_cast<int32_t>(pairs.size()));
    for (const TUserDataRec& pair : pairs) {
        w.CountedString(pair.Key);
        w.CountedString(pair.Value);
    }
    w.Bool(shape.IsFlipHorz());
    w.Bool(shape.IsFlipVert());
    w.Bool(shape.Visible());

    const TStringList& lines = shape.MultiInfo();
    w.Int32(lines.Count());
    for (int32_t i = 0; i < lines.Count(); ++i) w.CountedString(lines.Strings(i));
    w.Byte(static_cast<uint8_t>(shape.MultiInfoAlignment()));

    w.Int32(shape.LogHeight());
    w.Bool(shape.LogUse());
    w.Int32(shape.LogWidth());
    w.Bool(shape.Locked());
    w.Byte(static_cast<uint8_t>(shape.PenStyleEndCapType()));
    w.Byte(static_cast<uint8_t>(shape.PenStyleJoinType()));
    w.Bool(shape.HotShow());
    w.Bool(shape.ResizeEnable());
    w.Bool(shape.RotateEnable());
    w.FlushTo(s);
}

void LoadBaseRecord(TMyShape& shape, TRecordReader& r)
{
    shape.SetName(r.CountedString());
    shape.ShapeId = r.Int32();
    shape.ShapeNo = r.Int32();
    shape.LayerId = r.Int32();
    shape.ParentShapeNo = r.Int32();
    shape.ChildShapesNo = ReadNumbers(r);
    shape.LinkShapesNo = ReadNumbers(r);
    shape.ThePoints = ReadPoints(r);
    shape.LinkPoints = ReadPoints(r);
    const bool wideTextPoint = r.Has(V::XP_2, V::XP_5);
    shape.TextOutPoint.X = r.Real(wideTextPoint);
    shape.TextOutPoint.Y = r.Real(wideTextPoint);
    if (r.Has(V::XP_3)) {
        shape.SetTag(r.Int32());
        shape.SetStoredAngle(r.Real(r.Has(V::XP_3, V::XP_5)));
    }

    // A pattern bitmap replaces the brush's colour and style, which are
    // stored all the same.
    const std::unique_ptr<TBitmap> pattern = r.BitmapBuffer();
    const TColor brushColor = r.Color();
    const TBrushStyle brushStyle = r.Ordinal(TBrushStyle::bsDiagCross);
    TBrush& brush = shape.Brush();
    if (pattern) {
        brush.SetBitmap(pattern.get());
    } else {
        brush.SetColor(brushColor);
        brush.SetStyle(brushStyle);
    }

    shape.SetCaption(r.CountedString());
    const TColor colorBegin = r.Color();
    const TColor colorEnd = r.Color();

    TFont& font = shape.Font();
    font.SetName(r.CountedString());
    font.SetCharset(r.Byte());
    font.SetColor(r.Color());
    font.SetHeight(r.Int32());
    // The size decides; one whose height in pixels no integer can hold is no
    // size a font ever had.
    const int32_t size = r.Int32();
    if (std::fabs(double(size) * TScreen::PixelsPerInch() / 72.0) >= 2147483647.0) r.Fail("font size out of range");
    font.SetSize(size);
    font.SetPitch(r.Ordinal(TFontPitch::fpFixed));
    (void)r.Int32(); // the resolution the font was measured at; the screen's is used
    font.SetStyle(TFontStyles::FromBits(r.Byte()));
    if (r.Version() != V::Unknown && r.Version() != V::XP_7) r.Skip(8);

    shape.SetStoredGradient(colorBegin, colorEnd, r.Ordinal(TGradientStyle::gsNone));
    if (r.Has(V::XP_2, V::XP_5)) r.Skip(2);
    shape.SetInfo(r.CountedString());

    TPen& pen = shape.Pen();
    pen.SetColor(r.Color());
    pen.SetMode(r.Ordinal(TPenMode::pmNotXor));
    pen.SetStyle(r.Ordinal(TPenStyle::psAlternate));
    pen.SetWidth(r.Int32());

    if (r.Has(V::XP_8)) AppendUserDataPairs(shape.UserData(), ReadUserDataPairs(r));
    if (r.Has(V::XP_9)) {
        const bool horz = r.Bool();
        const bool vert = r.Bool();
        shape.SetStoredFlips(horz, vert);
        shape.SetVisible(r.Bool());
    }
    if (r.Has(V::XP_e)) {
        const int32_t lines = r.Count(4);
        for (int32_t i = 0; i < lines; ++i) shape.MultiInfo().Add(r.CountedString());
        shape.SetMultiInfoAlignment(r.Ordinal(TAlignment::taCenter));
    }
    if (r.Has(V::XP_h)) {
        shape.SetLogHeight(r.Int32());
        shape.SetLogUse(r.Bool());
        shape.SetLogWidth(r.Int32());
        shape.SetStoredLocked(r.Bool());
    }
    if (r.Has(V::XP_j)) {
        shape.SetPenStyleEndCapType(r.Ordinal(TPenStyleEndCapType::psectFLAT));
        shape.SetPenStyleJoinType(r.Ordinal(TPenStyleJoinType::psjtMITER));
        shape.SetHotShow(r.Bool());
        shape.SetResizeEnable(r.Bool());
        shape.SetRotateEnable(r.Bool());
    }
}

} // namespace mycad
