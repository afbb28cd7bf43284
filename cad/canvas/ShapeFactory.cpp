// TMyCAD: turning a drawing tool or a stored class name into a shape object.
//
// Every shape class the canvas can create is listed here once, by tool and
// by class name; a class joins both tables when it is written.
#include "cad/canvas/MyCAD.h"

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

namespace mycad {

namespace {

using TShapeMaker = std::unique_ptr<TMyShape> (*)(TShapeOwner* owner);

template <typename T>
std::unique_ptr<TMyShape> Make(TShapeOwner* owner)
{
    return std::make_unique<T>(owner);
}

struct TClassEntry {
    String Name;
    TShapeMaker Maker;
};

// Class names in the order the stored formats list them.
const std::array<TClassEntry, 17> kClasses{{
    {QStringLiteral("TMyRectangle"), &Make<TMyRectangle>},
    {QStringLiteral("TMyLinkPoint"), &Make<TMyLinkPoint>},
    {QStringLiteral("TMyLineLinkLine"), &Make<TMyLineLinkLine>},
    {QStringLiteral("TMyLine"), &Make<TMyLine>},
    {QStringLiteral("TMyRuleLine"), &Make<TMyRuleLine>},
    {QStringLiteral("TMyPolyBezier"), &Make<TMyPolyBezier>},
    {QStringLiteral("TMyEllipse"), &Make<TMyEllipse>},
    {QStringLiteral("TMyElliArc"), &Make<TMyElliArc>},
    {QStringLiteral("TMyFreeLine"), &Make<TMyFreeLine>},
    {QStringLiteral("TMyPolyLine"), &Make<TMyPolyLine>},
    {QStringLiteral("TMyPolygon"), &Make<TMyPolygon>},
    {QStringLiteral("TMyLinkLine"), &Make<TMyLinkLine>},
    {QStringLiteral("TMyCombine"), &Make<TMyCombine>},
    {QStringLiteral("TMyGroup"), &Make<TMyGroup>},
    {QStringLiteral("TMyBLine"), &Make<TMyBLine>},
    {QStringLiteral("TMyText"), &Make<TMyText>},
    {QStringLiteral("TMyImage"), &Make<TMyImage>},
}};

struct TToolEntry {
    TDrawTool Tool;
    TShapeMaker Maker;
};

// The tools that create shapes and have a class yet.
const std::array<TToolEntry, 15> kTools{{
    {TDrawTool::SpLinkLine, &Make<TMyLinkLine>},
    {TDrawTool::SpLine, &Make<TMyLine>},
    {TDrawTool::SpRuleLine, &Make<TMyRuleLine>},
    {TDrawTool::SpLinkPoint, &Make<TMyLinkPoint>},
    {TDrawTool::SpLineLinkLine, &Make<TMyLineLinkLine>},
    {TDrawTool::SpRectangle, &Make<TMyRectangle>},
    {TDrawTool::SpEllipse, &Make<TMyEllipse>},
    {TDrawTool::SpElliArc, &Make<TMyElliArc>},
    {TDrawTool::SpPolyLine, &Make<TMyPolyLine>},
    {TDrawTool::SpPolygon, &Make<TMyPolygon>},
    {TDrawTool::SpFreeLine, &Make<TMyFreeLine>},
    {TDrawTool::SpPolyBezier, &Make<TMyPolyBezier>},
    {TDrawTool::SpBLine, &Make<TMyBLine>},
    {TDrawTool::SpText, &Make<TMyText>},
    {TDrawTool::SpImage, &Make<TMyImage>},
}};

} // namespace

std::unique_ptr<TMyShape> TMyCAD::CreateShapeBySpTool(TDrawTool tool, TShapeOwner* owner)
{
    // New shapes always belong to this canvas, whatever the caller passes.
    (void)owner;
    for (const TToolEntry& entry : kTools) {
        if (entry.Tool == tool) return entry.Maker(this);
    }
    return nullptr;
}

std::unique_ptr<TMyShape> TMyCAD::CreateShapeByName(const String& className, TShapeOwner* canvas)
{
    TShapeOwner* owner = canvas ? canvas : this;
    for (const TClassEntry& entry : kClasses) {
        if (className == entry.Name) return entry.Maker(owner);
    }
    return nullptr;
}

} // namespace mycad
