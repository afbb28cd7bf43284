// Every field of every shape of a canvas as text, one line per shape, so a
// test can say "the document is exactly as it was" and see what differs.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "cad/shapes/Line.h"
#include "cad/shapes/Rectangle.h"

#include <sstream>
#include <string>
#include <vector>

namespace mycad::test {

inline std::string ShapeState(const TMyShape& s)
{
    std::ostringstream o;
    auto pt = [&o](const TMyPoint& p) { o << '(' << p.X << ',' << p.Y << ')'; };
    auto nos = [&o](const TMyShapeNo& v) {
        o << '[';
        for (uint32_t n : v) o << n << ' ';
        o << ']';
    };
    o << s.ClassName().toStdString() << " name=" << s.Name().toStdString() << " caption=" << s.Caption().toStdString()
      << " id=" << s.ShapeId << " no=" << s.ShapeNo << " parent=" << s.ParentShapeNo << " children=";
    nos(s.ChildShapesNo);
    o << " links=";
    nos(s.LinkShapesNo);
    o << " layer=" << s.LayerId << " points=";
    for (const TMyPoint& p : s.ThePoints) pt(p);
    o << " linkpoints=";
    for (const TMyPoint& p : s.LinkPoints) pt(p);
    o << " centre=";
    pt(s.CenterPoint);
    o << " text=";
    pt(s.TextOutPoint);
    o << " angle=" << s.Angle() << " pen=" << s.Pen().Color() << '/' << s.Pen().Width() << '/'
      << int(s.Pen().Style()) << '/' << int(s.Pen().Mode()) << " brush=" << s.Brush().Color() << '/'
      << int(s.Brush().Style()) << " font=" << s.Font().Name().toStdString() << '/' << s.Font().Height() << '/'
      << s.Font().Color() << '/' << s.Font().Style().Bits() << " info=" << s.Info().toStdString()
      << " multi=" << s.MultiInfo().Text().toStdString() << " visible=" << s.Visible() << " locked=" << s.Locked()
      << " captionshow=" << s.CaptionShow() << " tag=" << s.Tag() << " drag=" << s.DragEnable()
      << " resize=" << s.ResizeEnable() << " rotate=" << s.RotateEnable() << " hot=" << s.HotShow()
      << " gradient=" << int(s.GradientStyle()) << '/' << s.ColorBegin() << '/' << s.ColorEnd()
      << " flip=" << s.IsFlipHorz() << s.IsFlipVert() << " log=" << s.LogUse() << '/' << s.LogWidth() << '/'
      << s.LogHeight() << " userdata=";
    for (int32_t i = 0; i < s.UserData().GetCount(); ++i) {
        const String key = s.UserData().GetKeyByNo(i);
        o << key.toStdString() << '=' << s.UserData().GetValueByKey(key).toStdString() << ';';
    }
    if (const auto* line = dynamic_cast<const TMyLine*>(&s)) {
        o << " arrow=" << line->ArrowAngle() << '/' << int(line->ArrowLength()) << '/' << int(line->ArrowOffset())
          << '/' << int(line->ArrowStyle());
    }
    if (const auto* box = dynamic_cast<const TMyRectangle*>(&s)) {
        o << " sides=" << box->AssociateSideResizing() << box->ShowSideHot() << box->ShowHorizontalSideHot()
          << box->ShowVerticalSideHot();
    }
    return o.str();
}

inline std::vector<std::string> DocumentState(const TMyCAD& cad)
{
    std::vector<std::string> lines;
    for (const auto& s : cad.MyShapes) lines.push_back(s ? ShapeState(*s) : std::string("<empty slot>"));
    return lines;
}

} // namespace mycad::test
