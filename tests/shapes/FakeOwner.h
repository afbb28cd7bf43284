// A shape owner for tests: every canvas setting is a plain field, the shape
// list is a vector of borrowed shapes, and the operations that a real canvas
// carries out (flips, group rotation) are done directly on the shapes.
#pragma once

#include "cad/shapes/Shape.h"
#include "cad/shapes/ShapeOwner.h"

#include <vector>

namespace mycad::test {

class FakeOwner : public TShapeOwner {
public:
    double zoom = 1.0;
    TXYMode xyMode = TXYMode::Mode0;
    int32_t width = 400;
    int32_t height = 300;
    bool hotShow = true;
    TActionTools actionTool = TActionTools::dtSelecting;
    double ratio = 1.0;
    TUnits unit = TUnits::pixel;
    int32_t hotLinkId = -1;
    TMyShape* hotLinkShape = nullptr;
    bool loading = false;
    bool mergeLineShape = false;
    const TCanvas* printerCanvas = nullptr;
    TCanvas* controlCanvas = nullptr;
    std::vector<TMyShape*> shapes;
    int32_t invalidated = 0;
    TPen pen;
    TBrush brush;
    TFont font;
    TArrowStyle arrowStyle = TArrowStyle::ANone;
    int32_t arrowAngle = 30;
    uint8_t arrowLength = 10;

    /// Appends a shape to the list and gives it its list number.
    void Add(TMyShape& shape)
    {
        shape.ShapeNo = static_cast<int32_t>(shapes.size());
        shapes.push_back(&shape);
    }

    double Zoom() const override { return zoom; }
    TXYMode XYMode() const override { return xyMode; }
    int32_t ControlWidth() const override { return width; }
    int32_t ControlHeight() const override { return height; }
    uint8_t HotSize() const override { return 4; }
    bool HotShow() const override { return hotShow; }
    bool ShowHotLink() const override { return true; }
    TActionTools ActionTool() const override { return actionTool; }
    double Ratio() const override { return ratio; }
    TUnits TheUNIT() const override { return unit; }
    int32_t RotateConstraintDegree() const override { return 0; }
    int32_t HotLinkId() const override { return hotLinkId; }
    TMyShape* HotLinkShape() const override { return hotLinkShape; }
    void SetHotLink(TMyShape* shape, int32_t id) override
    {
        hotLinkShape = shape;
        hotLinkId = id;
    }
    bool IsLoading() const override { return loading; }
    int32_t GetShapesCount() const override { return static_cast<int32_t>(shapes.size()); }
    TMyShape* GetShapeByNo(int32_t no) const override
    {
        return no >= 0 && no < GetShapesCount() ? shapes[static_cast<size_t>(no)] : nullptr;
    }
    TMyRect GetShapesLTRBinZoom(TMyShape* shape) const override
    {
        const TMyRect r = GetPointsLTRB(shape->ThePoints);
        return {static_cast<float>(r.Left * zoom), static_cast<float>(r.Top * zoom),
                static_cast<float>(r.Right * zoom), static_cast<float>(r.Bottom * zoom)};
    }
    void FlipHoriz(TMyShape* shape) override { shape->FlipHoriz(); }
    void FlipVert(TMyShape* shape) override { shape->FlipVert(); }
    void RotateShapeWithMembers(TMyShape* shape, double angle) override
    {
        const TMyPoint c = shape->GetRootShape()->GetCenterPoint();
        RotateTree(shape, c, angle, 0);
    }
    void Invalidate() override { ++invalidated; }
    const TPen& DefaultPen() const override { return pen; }
    const TBrush& DefaultBrush() const override { return brush; }
    const TFont& DefaultFont() const override { return font; }
    bool DragEnable() const override { return true; }
    bool ResizeEnable() const override { return true; }
    bool RotateEnable() const override { return true; }
    TPenStyleJoinType PenStyleJoinType() const override { return TPenStyleJoinType::psjtROUND; }
    TPenStyleEndCapType PenStyleEndCapType() const override { return TPenStyleEndCapType::psectROUND; }
    TArrowStyle ArrowStyle() const override { return arrowStyle; }
    int32_t ArrowAngle() const override { return arrowAngle; }
    uint8_t ArrowLength() const override { return arrowLength; }
    uint8_t ArrowOffset() const override { return 0; }
    TArcMode ArcMode() const override { return TArcMode::amCircle; }
    TLinkLineDrawStyle LinkLineDrawStyle() const override { return TLinkLineDrawStyle::lldsHV; }
    bool MergeLineShape() const override { return mergeLineShape; }
    bool IsPrinterCanvas(const TCanvas& canvas) const override { return &canvas == printerCanvas; }
    TCanvas* ControlCanvas() override { return controlCanvas; }

private:
    void RotateTree(TMyShape* shape, const TMyPoint& c, double angle, int depth)
    {
        shape->RotateChangeValueByAngle(c, angle);
        if (depth > GetShapesCount()) return;
        for (uint32_t no : shape->ChildShapesNo) {
            if (TMyShape* member = GetShapeByNo(static_cast<int32_t>(no))) RotateTree(member, c, angle, depth + 1);
        }
    }
};

} // namespace mycad::test
