// Record parts of the connector classes: the link line's ends and draw
// style after the line's fields, and the link point's size (which the
// junction dot inherits). Ends are stored as list numbers, as they stand.
#include "cad/connectors/LinkLine.h"
#include "cad/connectors/LinkPoint.h"
#include "cad/geometry/StreamEncoding.h"
#include "cad/io/ShapeRecordParts.h"

namespace mycad {

namespace {

void SaveLinkLine(const TMyLinkLine& line, TStream& s)
{
    WriteInt32(s, line.StartSpNo());
    WriteInt32(s, line.StartSpPtId());
    WriteInt32(s, line.EndSpNo());
    WriteInt32(s, line.EndSpPtId());
    WriteByte(s, static_cast<uint8_t>(line.LinkLineDrawStyle()));
}

void LoadLinkLine(TMyLinkLine& line, TRecordReader& r)
{
    line.SetStartSpNo(r.Int32());
    line.SetStartSpPtId(r.Int32());
    line.SetEndSpNo(r.Int32());
    line.SetEndSpPtId(r.Int32());
    // Older layouts have no style byte: the line keeps its constructor's.
    if (r.Has(TFileVersion::XP_5)) line.SetStoredLinkLineDrawStyle(r.Ordinal(TLinkLineDrawStyle::lldsFree));
}

void SaveLinkPoint(const TMyLinkPoint& point, TStream& s) { WriteByte(s, point.Size()); }

void LoadLinkPoint(TMyLinkPoint& point, TRecordReader& r) { point.SetSize(r.Byte()); }

} // namespace

TShapeRecordClass LinkLineRecordClass()
{
    return MakeShapeRecordClass<TMyLinkLine>(u"TMyLinkLine"_s, u"TMyLine"_s, &SaveLinkLine,
                                             &LoadLinkLine);
}

TShapeRecordClass LinkPointRecordClass()
{
    return MakeShapeRecordClass<TMyLinkPoint>(u"TMyLinkPoint"_s, u"TMyRectangle"_s,
                                              &SaveLinkPoint, &LoadLinkPoint);
}

} // namespace mycad
