// TMyShape: the base of every drawable object on a canvas. It holds the
// geometry as document points, the style (pen, brush, font, gradient), the
// texts, the identity within the canvas and the relations to other shapes,
// and declares the virtual operations through which the canvas draws,
// hit-tests, sizes, turns and copies shapes.
//
// Relations between shapes (ParentShapeNo, ChildShapesNo, LinkShapesNo and
// the connector ends of ConnectorEndRefs) are list numbers in the owner's
// shape list, never references: the owner renumbers them whenever the list
// changes order.
#pragma once

#include "cad/geometry/Geometry.h"
#include "cad/geometry/Gradient.h"
#include "cad/shapes/ShapeTypes.h"
#include "cad/shapes/UserData.h"
#include "platform/Classes.h"
#include "platform/Graphics.h"
#include "platform/Types.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace mycad {

class TShapeOwner;

/// The device pixels a shape's Draw can touch apart from its info text and
/// link-point marks, in the manner of a graphics item's bounding rectangle.
struct TPaintArea {
    /// False when the class does not know: its shapes are drawn in every paint.
    bool Known = false;
    /// True when Draw paints within the zoomed points grown by Reach pixels;
    /// false when it paints nothing of its own.
    bool AroundPoints = false;
    double Reach = 0.0;
};

/// What holding Shift does to a point being placed or a handle being pulled.
enum class TShiftConstraint : uint8_t { None, HorzVert, Square };

/// How the user adds and removes single vertices of a shape.
enum class TVertexEditing : uint8_t { None, OpenChain, ClosedChain };

class TMyShape {
public:
    /// The owner is the canvas the shape belongs to; it must outlive the
    /// shape. Pen, brush, font, permissions and join/cap settings are copied
    /// from it.
    explicit TMyShape(TShapeOwner* owner);
    virtual ~TMyShape();
    TMyShape(const TMyShape&) = delete;
    TMyShape& operator=(const TMyShape&) = delete;

    /// The class name that documents store in front of the shape's record.
    virtual String ClassName() const;

    // ---- Virtual operations, in the order every shape class overrides them.
    // Device points are TPoint in control pixels; a "zoomed" TMyPoint holds
    // device pixels as floats; plain TMyPoint are document coordinates.

    /// Moves the shape by the device distance to - from.
    virtual void DragChangeValue(const TPoint& from, const TPoint& to);
    /// Moves the shape by (dx, dy) device pixels; (0, 0) changes nothing.
    virtual void DragChangeValuedxdy(double dx, double dy);
    /// Rubber band of the shape moved by to - from (draws only).
    virtual void Draging(TCanvas& canvas, const TPoint& from, const TPoint& to);
    /// Finishes a shape the user has just drawn: centre and info-text anchor.
    virtual void Drawed(const TPoint& from, TPoint& to);
    /// Selection handles.
    virtual void DrawHot(TCanvas& canvas);
    /// Rubber band while the shape is being drawn.
    virtual void Drawing(TCanvas& canvas, const TPoint& from, const TPoint& to);
    /// Measurement text of the segment from..to in the owner's unit.
    virtual String GetLengthByUnit(const TPoint& from, const TPoint& to);
    virtual TCursor GetMouseCursor(int32_t x, int32_t y);
    virtual bool IsDrawingFinished(TMouseButton button, const TPoint& p);
    /// Turns the shape by angle radians (clockwise on the screen) about centre.
    virtual void RotateChangeValueByAngle(const TMyPoint& centre, double angle);
    /// Rubber band of the shape turned by angle about the zoomed centre.
    virtual void Rotating(TCanvas& canvas, const TMyPoint& centre, double angle);
    /// Resizes by the grabbed handle SelectedHotId; from and to are zoomed.
    virtual void SizeChangeValue(const TMyPoint& from, const TMyPoint& to);
    /// Rubber band while sizing by the grabbed handle.
    virtual void Sizing(TCanvas& canvas, const TPoint& from, const TPoint& to);
    virtual void AddPointByMouse(const TPoint& p);
    /// Copies the source's data (see Shape.cpp for what is and is not copied).
    /// Assigning a shape to itself does nothing.
    virtual void Assign(const TMyShape& source);
    /// As Assign (the class's own fields included), keeping this shape's
    /// name, list number, relations, connector ends, multi-line info and its
    /// alignment.
    void AssignWithoutRelation(const TMyShape& source);
    virtual void Draw(TCanvas& canvas);
    /// Mirrors about the vertical line through the root shape's centre.
    virtual void FlipHoriz();
    /// Mirrors about the horizontal line through the root shape's centre.
    virtual void FlipVert();
    virtual TMyPoint GetCenterPoint() const;
    /// GetCenterPoint times the zoom.
    virtual TMyPoint GetCenterPointInZoom() const;
    /// The measurement text of the shape; empty for the base.
    virtual String GetInfo();
    /// ThePoints[index], or (0, 0) outside the list.
    virtual TMyPoint GetPoint(int32_t index) const;
    /// The handle under the device point, -1 for none.
    virtual int32_t InWhichHot(const TPoint& p);
    virtual bool IsClickedMe(TCanvas& canvas, const TPoint& p);
    /// Pointers to the fields that hold the list numbers of the shapes at a
    /// connector's two ends, so the owner renumbers them with the other
    /// relations. Empty for every shape that is no connector.
    virtual std::vector<int32_t*> ConnectorEndRefs();

    // ---- What the canvas asks of a class instead of its name. Each answer
    // holds for the class and, unless it overrides it, for its subclasses.

    /// What Draw touches for a pen of penWidth device pixels at the zoom;
    /// the base draws nothing of its own, and its subclasses that do not
    /// override this are drawn in every paint. A class that draws outside
    /// its parent's area must override this, or its shapes get clipped paints.
    virtual TPaintArea PaintArea(double penWidth, double zoom) const;
    /// The Shift constraint while placing a point (sizing false) or pulling
    /// a handle (sizing true); none for the base.
    virtual TShiftConstraint ShiftConstraint(bool sizing) const;
    /// Whether single vertices can be added and removed, and whether the
    /// last point repeats the first; none for the base.
    virtual TVertexEditing VertexEditing() const;
    /// The segment hit test of a vertex chain: index is the place a new
    /// vertex at the device point would take; false (and -1) for the base.
    virtual bool IsClickedMeBeforeWhichPoint(int32_t& index, const TPoint& p) const;
    /// Whether a shape of this class, drawn from the end of one line to the
    /// end of another, joins the three into one polyline.
    virtual bool JoinsLines() const;
    /// Whether a line being drawn may end on this shape's first or last point.
    virtual bool OffersLineEnds() const;
    /// The point of ThePoints that the handle hotId pulls; hotId for the base.
    virtual int32_t HandlePointNo(int32_t hotId) const;
    /// Whether the handle sizes one side alone, so a host's sizing handler
    /// cannot move its point elsewhere.
    virtual bool HandleSizesOneSide(int32_t hotId) const;
    /// Whether a sizing that the host's OnShapeMouseResized handler answered
    /// is taken back and redone to the point the handler settled on.
    virtual bool ResizesToHandlerPoint() const;
    /// Whether a selected shape offers its handles and info-text anchor to
    /// the mouse; the scan of the selection stops at one that does not.
    virtual bool OffersHandles() const;
    /// Whether a click picks this shape before the other shapes under it.
    virtual bool PickedFirst() const;
    /// Whether the shape is a container whose members are other list entries.
    virtual bool IsContainer() const;
    /// Whether the info text is a caption at TextOutPoint with a diamond
    /// anchor; false for shapes that show their text themselves.
    virtual bool ShowsInfoCaption() const;
    /// The document point from which the gradient pattern is laid.
    virtual TMyPoint GradientOrigin() const;
    /// Takes the zoomed points of a shape added by code (and its text).
    /// The base appends them and drops the link points a class made.
    virtual void TakePointsByCode(const TArrMyPoint& zoomed, const String& info);

    // ---- Point access. Zoomed values are divided by the owner's zoom in
    // double and stored as float. Setters ignore an index outside the list.

    int32_t GetPointsCount() const { return static_cast<int32_t>(ThePoints.size()); }
    int32_t GetLinkPointsCount() const { return static_cast<int32_t>(LinkPoints.size()); }
    /// Appends the zoomed point p to ThePoints.
    void AddPoint(const TMyPoint& p);
    void AddLinkPoint(const TMyPoint& p);
    void SetPoint(int32_t index, const TMyPoint& p);
    void SetPointX(int32_t index, float x);
    void SetPointY(int32_t index, float y);
    void SetPointInZoom(int32_t index, const TMyPoint& p);
    void SetPointXInZoom(int32_t index, float x);
    void SetPointYInZoom(int32_t index, float y);
    void PointAddX(int32_t index, double dx);
    void PointAddY(int32_t index, double dy);
    void PointAddXY(int32_t index, double dx, double dy);
    TMyPoint GetPointInZoom(int32_t index) const;
    TMyPoint ZoomedValuePt(const TMyPoint& p) const;
    /// The device point of point index as the host reads coordinates
    /// (the owner's XYMode); (0, 0) outside the list.
    TPoint GetPointInZoomWithMode(int32_t index) const;
    TMyPoint GetLinkPoint(int32_t index) const;
    TMyPoint GetLinkPointInZoom(int32_t index) const;
    void SetLinkPoint(int32_t index, const TMyPoint& p);
    void SetLinkPointX(int32_t index, float x);
    void SetLinkPointY(int32_t index, float y);
    void LinkPointAddXY(int32_t index, double dx, double dy);

    // ---- Geometry queries over ThePoints as stored (a turned shape gives the
    // box of its turned points). A shape without points gives (0, 0).

    TMyPoint GetLeftTop() const;
    TMyPoint GetRightTop() const;
    TMyPoint GetRightBottom() const;
    TMyPoint GetLeftBottom() const;
    float GetWidth() const;
    float GetHeight() const;
    /// 0 left-top, 1 right-top, 2 right-bottom, 3 left-bottom; 4 (and any
    /// other mode) the centre of the bounding box.
    TMyPoint ComputeCenterPoint(int32_t mode) const;
    /// Width and height in the shape's own unrotated frame.
    float GetMyWidth() const;
    float GetMyHeight() const;
    /// The angle by which the ray from c through p1 must turn to pass through
    /// p2, positive clockwise on the screen; with snap, rounded to the owner's
    /// RotateConstraintDegree. A point on the centre has the direction 0.
    double GetRotatedAngle(const TMyPoint& p1, const TMyPoint& p2, const TMyPoint& c, bool snap) const;
    /// A routing point 25 zoomed units outside the side of aShape's zoomed
    /// box nearest to the zoomed point p.
    TMyPoint GetMagicPoint(TMyShape* aShape, const TMyPoint& p) const;
    int32_t GetShapeId() const { return ShapeId; }
    bool HasParentShape() const { return ParentShapeNo > -1; }
    bool HasChildShapes() const { return !ChildShapesNo.empty(); }
    bool HasLinkShapes() const { return !LinkShapesNo.empty(); }
    /// The group at the top of this shape's parent chain; the shape itself
    /// when it has no parent (or the chain names no shape or runs in a loop).
    TMyShape* GetRootShape() const;

    /// Scales the shape in its own unrotated frame by sx, sy about o; c is
    /// the centre of turning. The third point is accepted and not used.
    void SizeChangeValueByScale(double sx, double sy, const TMyPoint& o, const TMyPoint& c,
                                const TMyPoint& unused);

    TShapeOwner* Owner() const { return FOwner; }
    void SetOwner(TShapeOwner* owner) { FOwner = owner; }

    /// Change notifications of the shape's own pen and brush, and font: pass
    /// the settings on to the member shapes (not while a document loads).
    void DoPenBrushChange(TMyShape* sender);
    void DoFontChange(TMyShape* sender);

    // ---- Drawing services (ShapeDraw.cpp).

    /// Fills (fill true: gradient clipped to the outline, then the brush) and
    /// strokes the closed device polygon of the first n points.
    void PowerDrawShape(TCanvas& canvas, const TArrPoint& points, int32_t n, bool fill);
    /// Puts a pen of the style, colour and width on the canvas (on the
    /// printer's canvas the width is scaled by the zoom) and hands back the
    /// new pen and the one it replaced; ReleasePS puts the previous one back.
    void SetPS(TCanvas& canvas, TPenStyle style, TColor color, int32_t width, TPen& newPen, TPen& previousPen) const;
    static void ReleasePS(TCanvas& canvas, const TPen& previousPen);
    /// Renders the gradient pattern into GradBmp (empty for gsNone).
    void DrawGradient();
    /// The info text, or the multi-line info, centred on TextOutPoint.
    void DrawInfo(TCanvas& canvas);
    /// Hover highlight of a link point or end point; drawing it twice at the
    /// same place erases it. Nothing for a locked shape.
    void DrawHotLinkSquare(TCanvas& canvas, const TMyPoint& p);
    /// The device point lies in the hit area of the info-text anchor.
    bool InTextPointHot(const TPoint& p) const;
    /// The link point within 5 pixels of the zoomed point p, or -1; keeps the
    /// owner's hover highlight up to date.
    int32_t InWhichLinkHot(const TMyPoint& p);
    /// The first or else the last point under the zoomed point p, or -1;
    /// keeps the owner's hover highlight up to date.
    int32_t InWhichPointHot(const TMyPoint& p);
    /// Text output at a zoomed font size and an angle (see TextOut.h).
    void MyLogTextOut(TCanvas& canvas, int32_t x, int32_t y, const String& text, const TFont& font,
                      double angle, double zoom) const;
    TSize GetTextWidthHeight(TCanvas& canvas, const String& text, const TFont& font, double angle,
                             double zoom) const;

    // ---- Published properties.

    float Angle() const { return FAngle; }
    /// Without points: stores the angle. Otherwise turns the shape by the
    /// value (not to it), with its members, about its root's centre.
    void SetAngle(float value);
    TBrush& Brush() { return FBrush; }
    const TBrush& Brush() const { return FBrush; }
    void SetBrush(const TBrush& value);
    TPen& Pen() { return FPen; }
    const TPen& Pen() const { return FPen; }
    void SetPen(const TPen& value);
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& value);
    String Caption() const { return FCaption; }
    void SetCaption(const String& value) { FCaption = value; }
    String Info() const { return FInfo; }
    void SetInfo(const String& value) { FInfo = value; }
    bool CaptionShow() const { return FCaptionShow; }
    void SetCaptionShow(bool value) { FCaptionShow = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }
    int32_t Tag() const { return FTag; }
    void SetTag(int32_t value) { FTag = value; }
    bool DragEnable() const { return FDragEnable; }
    void SetDragEnable(bool value) { FDragEnable = value; }
    bool ResizeEnable() const { return FResizeEnable; }
    void SetResizeEnable(bool value) { FResizeEnable = value; }
    bool RotateEnable() const { return FRotateEnable; }
    void SetRotateEnable(bool value) { FRotateEnable = value; }
    bool HotShow() const { return FHotShow; }
    void SetHotShow(bool value) { FHotShow = value; }
    bool LogUse() const { return FLogUse; }
    void SetLogUse(bool value) { FLogUse = value; }
    int32_t LogWidth() const { return FLogWidth; }
    void SetLogWidth(int32_t value) { FLogWidth = value; }
    int32_t LogHeight() const { return FLogHeight; }
    void SetLogHeight(int32_t value) { FLogHeight = value; }
    TAlignment MultiInfoAlignment() const { return FMultiInfoAlignment; }
    void SetMultiInfoAlignment(TAlignment value) { FMultiInfoAlignment = value; }
    TPenStyleJoinType PenStyleJoinType() const { return FPenStyleJoinType; }
    void SetPenStyleJoinType(TPenStyleJoinType value) { FPenStyleJoinType = value; }
    TPenStyleEndCapType PenStyleEndCapType() const { return FPenStyleEndCapType; }
    void SetPenStyleEndCapType(TPenStyleEndCapType value) { FPenStyleEndCapType = value; }
    TColor ColorBegin() const { return FColorBegin; }
    /// A new value rebuilds the pattern, passes the settings on to the members
    /// and repaints.
    void SetColorBegin(TColor value);
    TColor ColorEnd() const { return FColorEnd; }
    void SetColorEnd(TColor value);
    TGradientStyle GradientStyle() const { return FGradientStyle; }
    /// A new value passes the settings on, rebuilds the pattern mirrored by
    /// the flip flags and repaints.
    void SetGradientStyle(TGradientStyle value);
    bool IsFlipHorz() const { return FIsFlipHorz; }
    /// The value is not examined: every write mirrors the shape once through
    /// the owner (which toggles the flag) and rebuilds the pattern.
    void SetIsFlipHorz(bool value);
    bool IsFlipVert() const { return FIsFlipVert; }
    void SetIsFlipVert(bool value);
    bool Locked() const { return FLocked; }
    /// A new value locks or unlocks the shape and all its members.
    void SetLocked(bool value);
    TStringList& MultiInfo() { return FMultiInfo; }
    const TStringList& MultiInfo() const { return FMultiInfo; }
    void SetMultiInfo(const TStringList& value);
    TUserData& UserData() { return FUserData; }
    const TUserData& UserData() const { return FUserData; }

    /// The component name: a valid identifier or empty.
    String Name() const { return FName; }
    /// Sets the name when it is a valid identifier (a letter or underscore,
    /// then letters, digits and underscores) or empty; any other name is
    /// refused and leaves name and caption as they were. An empty caption
    /// takes the new name.
    virtual void SetName(const String& value);
    static bool IsValidName(const String& value);

    // ---- Stored state, for the readers of documents and libraries. The
    // property setters turn, mirror, lock members or pass settings on; a
    // record holds the values those actions produced, so a reader stores them
    // as they are.

    void SetStoredAngle(float value) { FAngle = value; }
    void SetStoredFlips(bool horz, bool vert)
    {
        FIsFlipHorz = horz;
        FIsFlipVert = vert;
    }
    void SetStoredLocked(bool value) { FLocked = value; }
    /// Stores the gradient colours and style and renders the pattern once.
    void SetStoredGradient(TColor colorBegin, TColor colorEnd, TGradientStyle style)
    {
        FColorBegin = colorBegin;
        FColorEnd = colorEnd;
        FGradientStyle = style;
        // Without a pattern the rendering is the empty bitmap a shape starts with.
        if (style != TGradientStyle::gsNone || !GradBmp.Empty()) DrawGradient();
    }

    /// Fired by the owner when the user clicks the shape, with the owner as sender.
    std::function<void(TShapeOwner* sender)> OnClick;

    // ---- Public data.

    TBitmap GradBmp;
    TMyPoint CenterPoint;
    TMyShapeNo ChildShapesNo;
    int32_t LayerId = 0;
    int32_t ParentShapeNo = -1;
    int32_t SelectedHotId = -1;
    int32_t ShapeId = 0;
    int32_t ShapeNo = 0;
    TMyPoint TextOutPoint;
    TArrMyPoint ThePoints;
    TArrMyPoint LinkPoints;
    TMyShapeNo LinkShapesNo;

protected:
    double Zoom() const;
    /// Points as device pixels, rounded (ties to even).
    TPoint ZoomedRounded(const TMyPoint& documentPoint) const;
    /// The member shape at a list number, or nullptr (also for this shape itself).
    TMyShape* MemberShape(uint32_t no) const;

    float FAngle = 0.0f;
    TBrush FBrush;
    String FCaption;
    bool FCaptionShow = true;
    TColor FColorBegin = clWhite;
    TColor FColorEnd = clBlack;
    bool FDragEnable = true;
    TFont FFont;
    TGradientStyle FGradientStyle = TGradientStyle::gsNone;
    bool FHotShow = true;
    String FInfo;
    bool FIsFlipHorz = false;
    bool FIsFlipVert = false;
    bool FLocked = false;
    int32_t FLogHeight = 10;
    bool FLogUse = false;
    int32_t FLogWidth = 10;
    TStringList FMultiInfo;
    TAlignment FMultiInfoAlignment = TAlignment::taLeftJustify;
    TShapeOwner* FOwner = nullptr;
    TPen FPen;
    TPenStyleJoinType FPenStyleJoinType = TPenStyleJoinType::psjtROUND;
    TPenStyleEndCapType FPenStyleEndCapType = TPenStyleEndCapType::psectROUND;
    bool FResizeEnable = true;
    bool FRotateEnable = true;
    int32_t FTag = 0;
    TUserData FUserData;
    bool FVisible = true;
    String FName;

private:
    void CopyFrom(const TMyShape& source);
    void SetLockedTree(bool value, int32_t depth);
    /// The font, or pen, brush, font and gradient settings, to every member.
    void PassOnToMembers(bool fontOnly);
    /// Moves the owner's hover highlight to (this shape, found); -1 removes it.
    int32_t UpdateHover(int32_t found, bool onLinkPoints);
    TMyPoint HoverPosition(int32_t id) const;
    /// Whether this shape's hover highlight, if any, marks a link point.
    bool FHoverOnLinkPoints = false;
    /// Guards the passing-on of settings against member lists that loop.
    bool FPassingOn = false;
};

/// Appends number to the shape's LinkShapesNo unless it is there already;
/// returns its position.
int32_t AddLinklineShape(TMyShape& shape, uint32_t number);
/// Removes the last occurrence of number from the shape's LinkShapesNo;
/// nothing when it is absent.
void RemoveLinklineShape(TMyShape& shape, uint32_t number);

/// Moves every point of ThePoints and LinkPoints and the TextOutPoint by
/// (dx, dy) document units; the CenterPoint stays where it is.
void OffsetAllPoints(TMyShape& shape, double dx, double dy);
/// Empties ThePoints; the link points stay.
void RemoveAllPoints(TMyShape& shape);

} // namespace mycad
