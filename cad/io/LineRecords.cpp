// Record parts of the line, the rule line and the arc. (The rectangle's
// side-handle switches are settings of the program, not of the drawing: it
// stores nothing of its own.)
#include "cad/geometry/StreamEncoding.h"
#include "cad/io/ShapeRecordParts.h"
#include "cad/shapes/Ellipse.h"
#include "cad/shapes/Line.h"
#include "cad/shapes/RuleLine.h"

namespace mycad {

namespace {

// The arrow settings; every layout stores them, and the polylines, rule
// lines and connectors that derive from the line store them first.
void SaveLine(const TMyLine& line, TStream& s)
{
    WriteInt32(s, line.ArrowAngle());
    WriteByte(s, line.ArrowLength());
    WriteByte(s, line.ArrowOffset());
    WriteByte(s, static_cast<uint8_t>(line.ArrowStyle()));
}

void LoadLine(TMyLine& line, TRecordReader& r)
{
    line.SetArrowAngle(r.Int32());
    line.SetArrowLength(r.Byte());
    line.SetArrowOffset(r.Byte());
    line.SetArrowStyle(r.Ordinal(TArrowStyle::ADouble));
}

void SaveRuleLine(const TMyRuleLine& rule, TStream& s)
{
    WriteByte(s, rule.ShowUserInfo() ? 1 : 0);
    WriteByte(s, static_cast<uint8_t>(rule.TickStyle()));
    WriteCountedString(s, rule.UserInfo());
}

void LoadRuleLine(TMyRuleLine& rule, TRecordReader& r)
{
    rule.SetShowUserInfo(r.Bool());
    rule.SetTickStyle(r.Ordinal(TTickStyle::tsNone));
    rule.SetUserInfo(r.CountedString());
}

void SaveElliArc(const TMyElliArc& arc, TStream& s)
{
    WriteByte(s, static_cast<uint8_t>(arc.ArcMode()));
    WriteByte(s, static_cast<uint8_t>(arc.ArcStyle()));
}

void LoadElliArc(TMyElliArc& arc, TRecordReader& r)
{
    arc.SetArcMode(r.Ordinal(TArcMode::amEllipse));
    arc.SetArcStyle(r.Ordinal(TArcStyle::asSector));
}

} // namespace

TShapeRecordClass LineRecordClass()
{
    return MakeShapeRecordClass<TMyLine>(u"TMyLine"_s, u"TMyShape"_s, &SaveLine, &LoadLine);
}

TShapeRecordClass RuleLineRecordClass()
{
    return MakeShapeRecordClass<TMyRuleLine>(u"TMyRuleLine"_s, u"TMyLine"_s, &SaveRuleLine,
                                             &LoadRuleLine);
}

TShapeRecordClass ElliArcRecordClass()
{
    return MakeShapeRecordClass<TMyElliArc>(u"TMyElliArc"_s, u"TMyShape"_s, &SaveElliArc,
                                            &LoadElliArc);
}

} // namespace mycad
