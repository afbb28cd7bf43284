// Drawings and helpers of the DXF tests: a page 378 pixels high (100 mm at
// 96 pixels per inch), shapes placed by their stored points, and the file
// split into its lines.
#pragma once

#include "IoTestSupport.h"

#include "cad/io/DxfExport.h"
#include "cad/shapes/Ellipse.h"
#include "cad/shapes/PolyLine.h"
#include "cad/shapes/Text.h"

#include <string>
#include <vector>

namespace iotest {

/// A canvas at zoom 1 whose control is 378 pixels high.
inline std::unique_ptr<TMyCAD> DxfCanvas()
{
    auto cad = std::make_unique<TMyCAD>();
    cad->SetHeight(378);
    EXPECT_EQ(cad->Height(), 378);
    return cad;
}

inline TMyShape* AddDxfShape(TMyCAD& cad, const char* className, const TArrMyPoint& points)
{
    TMyShape* s = AddShape<TMyShape>(cad, className);
    if (s) {
        s->ThePoints = points;
        s->CenterPoint = s->ComputeCenterPoint(4);
    }
    return s;
}

inline void AddArc(TMyCAD& cad, TArcMode mode, const TArrMyPoint& points)
{
    auto* arc = dynamic_cast<TMyElliArc*>(AddDxfShape(cad, "TMyElliArc", points));
    ASSERT_NE(arc, nullptr);
    arc->SetArcMode(mode);
}

/// A text box on the box's corners with a font 16 pixels high: Info as its
/// text, or without Info the lines.
inline TMyText* AddText(TMyCAD& cad, const TArrMyPoint& box, const String& info, const std::vector<String>& lines = {})
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
inline std::unique_ptr<TMyCAD> EveryClassDrawing(bool withText = true)
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
inline std::vector<std::string> DxfLines(const std::string& text)
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

} // namespace iotest
