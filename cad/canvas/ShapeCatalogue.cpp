// The rows of the shape catalogue. Stored formats list class names in this
// order; a parent comes before its subclasses.
#include "cad/canvas/ShapeCatalogue.h"

#include "cad/connectors/LinkLine.h"
#include "cad/connectors/LinkPoint.h"
#include "cad/shapes/BLine.h"
#include "cad/shapes/Ellipse.h"
#include "cad/shapes/Group.h"
#include "cad/shapes/Image.h"
#include "cad/shapes/Line.h"
#include "cad/shapes/PolyBezier.h"
#include "cad/shapes/PolyLine.h"
#include "cad/shapes/Rectangle.h"
#include "cad/shapes/RuleLine.h"
#include "cad/shapes/Text.h"

#include <array>
#include <unordered_map>
#include <vector>

namespace mycad {

namespace {

template <typename T>
std::unique_ptr<TMyShape> Make(TShapeOwner* owner)
{
    return std::make_unique<T>(owner);
}

constexpr TPointCountRule Exactly(int32_t n) { return {n, n, 1}; }
constexpr TPointCountRule AtLeast(int32_t n) { return {n, -1, 1}; }
// Classes that shapes by code cannot add.
constexpr TPointCountRule kNotByCode{1, 0, 1};

std::vector<TShapeClassRow> BuildRows()
{
    using enum TDrawGesture;
    const String base = String::fromLatin1("TMyShape");
    auto row = [](const char* name, const String& parent, std::optional<TDrawTool> tool, TShapeMaker make,
                  TDrawGesture gesture, TPointCountRule points, bool ownRecord) {
        const String className = String::fromLatin1(name);
        return TShapeClassRow{className, parent, tool, make, gesture, points, ownRecord ? className : String()};
    };
    const String rectangle = String::fromLatin1("TMyRectangle");
    const String line = String::fromLatin1("TMyLine");
    const String polyLine = String::fromLatin1("TMyPolyLine");
    const String group = String::fromLatin1("TMyGroup");
    const String linkPoint = String::fromLatin1("TMyLinkPoint");
    // A Bezier chain is a start point and three more per segment.
    constexpr TPointCountRule bezierPoints{1, -1, 3};
    // A B-spline's work area holds a limited number of points.
    constexpr TPointCountRule splinePoints{3, kMaxBLinePoints, 1};
    // Class, parent, tool, maker, gesture, points by code, own record part.
    return {
        row("TMyRectangle", base, TDrawTool::SpRectangle, &Make<TMyRectangle>, OneGesture, Exactly(4), false),
        row("TMyLinkPoint", rectangle, TDrawTool::SpLinkPoint, &Make<TMyLinkPoint>, OneGesture, kNotByCode, true),
        row("TMyLineLinkLine", linkPoint, TDrawTool::SpLineLinkLine, &Make<TMyLineLinkLine>, OneGesture, AtLeast(1),
            false),
        row("TMyLine", base, TDrawTool::SpLine, &Make<TMyLine>, OneGesture, Exactly(2), true),
        row("TMyRuleLine", line, TDrawTool::SpRuleLine, &Make<TMyRuleLine>, OneGesture, Exactly(2), true),
        row("TMyPolyBezier", base, TDrawTool::SpPolyBezier, &Make<TMyPolyBezier>, PressByPress, bezierPoints, false),
        row("TMyEllipse", rectangle, TDrawTool::SpEllipse, &Make<TMyEllipse>, OneGesture, Exactly(4), false),
        row("TMyElliArc", base, TDrawTool::SpElliArc, &Make<TMyElliArc>, PressByPress, Exactly(3), true),
        row("TMyPolyLine", line, TDrawTool::SpPolyLine, &Make<TMyPolyLine>, VertexByVertex, AtLeast(2), false),
        row("TMyFreeLine", polyLine, TDrawTool::SpFreeLine, &Make<TMyFreeLine>, PerMove, kNotByCode, false),
        row("TMyPolygon", polyLine, TDrawTool::SpPolygon, &Make<TMyPolygon>, VertexByVertex, AtLeast(2), false),
        row("TMyLinkLine", line, TDrawTool::SpLinkLine, &Make<TMyLinkLine>, OneGesture, kNotByCode, true),
        row("TMyGroup", rectangle, std::nullopt, &Make<TMyGroup>, None, kNotByCode, false),
        row("TMyCombine", group, std::nullopt, &Make<TMyCombine>, None, kNotByCode, false),
        row("TMyBLine", base, TDrawTool::SpBLine, &Make<TMyBLine>, PressByPress, splinePoints, false),
        row("TMyText", rectangle, TDrawTool::SpText, &Make<TMyText>, OneGesture, Exactly(4), true),
        row("TMyImage", rectangle, TDrawTool::SpImage, &Make<TMyImage>, OneGesture, kNotByCode, true),
    };
}

struct TCatalogue {
    std::vector<TShapeClassRow> Rows = BuildRows();
    std::unordered_map<String, const TShapeClassRow*> ByName;
    std::array<const TShapeClassRow*, 256> ByTool{};

    TCatalogue()
    {
        for (const TShapeClassRow& r : Rows) {
            ByName.emplace(r.ClassName, &r);
            if (r.Tool) ByTool[static_cast<uint8_t>(*r.Tool)] = &r;
        }
    }
};

const TCatalogue& Catalogue()
{
    static const TCatalogue catalogue;
    return catalogue;
}

} // namespace

std::span<const TShapeClassRow> ShapeCatalogue() { return Catalogue().Rows; }

const TShapeClassRow* FindShapeClass(const String& className)
{
    const auto& byName = Catalogue().ByName;
    const auto it = byName.find(className);
    return it == byName.end() ? nullptr : it->second;
}

const TShapeClassRow* FindShapeClassByTool(TDrawTool tool) { return Catalogue().ByTool[static_cast<uint8_t>(tool)]; }

TDrawGesture DrawGestureOf(const TMyShape* shape)
{
    const TShapeClassRow* row = shape ? FindShapeClass(shape->ClassName()) : nullptr;
    return row ? row->Gesture : TDrawGesture::None;
}

} // namespace mycad
