// TMyCAD: the drawing canvas control. It owns the shapes of a drawing in one
// ordered list (list order is drawing order, index 0 at the bottom), their
// layers, the undo list and the copy memory, the defaults that new shapes
// take, and tells the host about changes through events.
//
// Relations between shapes are list numbers (ParentShapeNo, ChildShapesNo,
// LinkShapesNo and the connector ends of TMyShape::ConnectorEndRefs), never
// references: every operation that removes or reorders shapes rewrites them
// all, so documents can store them as they are.
//
// This header is the control's operations, in the order a drawing's life
// uses them. What it holds besides lives beside it: the published settings
// and their start values (CanvasSettings.h), the events (CanvasEvents.h),
// the state of the gesture under way (GestureState.h), the open edit
// (EditScope.h). Each group of operations is implemented in the file its
// heading names; docs/ARCHITECTURE.md maps them.
#pragma once

#include "cad/canvas/CanvasEvents.h"
#include "cad/canvas/CanvasSettings.h"
#include "cad/canvas/DrawIndex.h"
#include "cad/canvas/EditScope.h"
#include "cad/canvas/GestureState.h"
#include "cad/canvas/GridObject.h"
#include "cad/canvas/RenderRequest.h"
#include "cad/canvas/ShapeIdIndex.h"
#include "cad/canvas/UndoList.h"
#include "cad/connectors/ConnectorOwner.h"
#include "cad/connectors/CrossingIndex.h"
#include "cad/shapes/Shape.h"
#include "cad/shapes/ShapeOwner.h"
#include "cad/shapes/ShapeTypes.h"
#include "cad/shapes/UserData.h"
#include "platform/Control.h"
#include "platform/Graphics.h"
#include "platform/Types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace mycad {

class TMyCAD;

/// One record of the layer table.
struct LayerRec {
    String LayerName;
    int32_t LayerId = 0;
    bool Visible = true;
    friend bool operator==(const LayerRec&, const LayerRec&) = default;
};
using TArrLayerRec = std::vector<LayerRec>;

/// Owned shapes: the drawing, the copy memory.
using TArrMyShape = std::vector<std::unique_ptr<TMyShape>>;
/// Shapes referred to, not owned: the selection, results of look-ups.
using TArrMyShapeRef = std::vector<TMyShape*>;

/// What a component notification reports.
enum class TOperation : uint8_t { opInsert = 0, opRemove = 1 };

class TMyLinkLine;
class TShapeLibrary;

class TMyCAD : public TGraphicControl,
               public TShapeOwner,
               public TConnectorOwner,
               public TCanvasEvents,
               protected TCanvasSettings,
               protected TGestureState {
public:
    /// A new canvas: page A4 at zoom 1, one visible layer "Layer0" (id 0,
    /// current), no shapes, the start values of every setting.
    explicit TMyCAD(TWinControl* parent = nullptr);
    /// Frees the copy memory, the shapes, the undo list and the layers (firing
    /// OnDeleteLayer for each), in that order.
    ~TMyCAD() override;
    TMyCAD(const TMyCAD&) = delete;
    TMyCAD& operator=(const TMyCAD&) = delete;

    // ===================================================================
    // Shape factory (ShapeFactory.cpp)

    /// A new, unlisted shape of the class for a drawing tool, owned by this
    /// canvas whatever owner is passed; nullptr for the tools that create no
    /// shape and for classes that do not exist yet.
    std::unique_ptr<TMyShape> CreateShapeBySpTool(TDrawTool tool, TShapeOwner* owner = nullptr);
    /// A new, unlisted shape for a class name (exact, case-sensitive
    /// comparison); its owner is canvas, or this canvas when canvas is
    /// nullptr. nullptr for an unknown name.
    std::unique_ptr<TMyShape> CreateShapeByName(const String& className, TShapeOwner* canvas = nullptr);

    // ===================================================================
    // Adding (Document.cpp)

    /// Appends shape at the top of the drawing and takes ownership of it
    /// (shape is then empty). Unless keepLayer it joins the current layer;
    /// unless keepId NextShapeId advances. Sets neither ShapeId, ShapeNo nor
    /// the name, fires no event, does not repaint.
    /// False, and the caller keeps the shape, for an empty pointer and when
    /// the layer table is empty: then "Error!There is no Layer!" is shown and
    /// OnTerminateRequest is called.
    bool AddShape(std::unique_ptr<TMyShape>& shape, bool keepLayer, bool keepId);
    /// Puts a shape into slot index of a list the reader has sized
    /// (MyShapes.resize) and takes ownership; ShapeNo becomes index. Unless
    /// keepId NextShapeId advances. False, and the caller keeps the shape,
    /// for an empty pointer, an index outside the list or a slot already
    /// filled, and (with the message) when the layer table is empty.
    bool AddShapeforLoadfromStream(int32_t index, std::unique_ptr<TMyShape>& shape, bool keepId);
    /// Creates a shape by class name, copies source into it with Assign when
    /// given, numbers and names it ("Shape" + id, also its caption) and
    /// appends it on the current layer. The listed shape, or nullptr for an
    /// unknown class or a failed add.
    TMyShape* CreateAddShapeByName(const String& className, const TMyShape* source = nullptr);
    /// The number, id and name a new shape takes before it is appended:
    /// ShapeNo := the shape count, ShapeId := NextShapeId, and (withName) the
    /// name "Shape" + id through SetName.
    void AllocateShapeNoIdName(TMyShape& shape, bool withName);


    // ===================================================================
    // Look-ups and counts (Document.cpp). Results are those of a scan of
    // MyShapes in list order; the id look-ups use an index that is kept
    // right by every change the canvas makes. Code that changes MyShapes or
    // a listed shape's ShapeId directly must call ShapeListChanged.

    int32_t GetShapesCount() const override;
    /// nullptr outside 0..count-1.
    TMyShape* GetShapeByNo(int32_t no) const override;
    /// nullptr when id is negative or not below NextShapeId; otherwise the
    /// first shape with that ShapeId, nullptr if none.
    TMyShape* GetShapeByID(int32_t id);
    /// The first shape whose name is exactly name, nullptr if none.
    TMyShape* GetShapeByName(const String& name) const;
    /// The ShapeNo of the first shape with that id, -1 if none.
    int32_t GetShapeNoById(int32_t id);
    /// The list index of that object, -1 when it is not listed.
    int32_t GetShapeNoInMyShapes(const TMyShape* shape) const;
    /// Shapes of the layer, members of groups included.
    int32_t GetShapesCountInALayer(int32_t layerId) const;
    /// Shapes of the layer without parent, in list order; empty while there
    /// is no current layer.
    TArrMyShapeRef GetShapesByLayerId(int32_t layerId) const;
    /// The top of the shape's parent chain (the shape itself without parent).
    TMyShape* GetRootParentShape(TMyShape* shape) const;
    /// Both given, both with a parent, the same parent.
    bool areTheyBrother(const TMyShape* a, const TMyShape* b) const;
    /// The first shape after list number n without parent, nullptr if none.
    TMyShape* GetNextSingleorRootShape(int32_t n) const;
    /// The nearest shape before list number n without parent, nullptr if none.
    TMyShape* GetPrevSingleorRootShape(int32_t n) const;
    int32_t GetMemShapesCount() const;
    int32_t GetWorkingShapesCount() const;
    /// Tells the id index that MyShapes or a listed shape's ShapeId was
    /// changed from outside the canvas's own operations.
    void ShapeListChanged();

    // ===================================================================
    // Renaming (Document.cpp)

    /// Renames the shape named oldName when the names differ and no shape is
    /// named newName yet (through SetName, which refuses invalid names).
    void RenameShapeName(const String& oldName, const String& newName);

    // ===================================================================
    // Deletion (Deletion.cpp). None of these repaints except where said.
    //
    // The shape list cannot be changed from an OnShapeDeleted handler: the
    // deletion it reports is half done, so list-changing calls made there
    // fail (false, -1 or nullptr).

    /// Deletes the shape with that id and its unlocked members (locked
    /// members stay, without parent), frees their connectors' ends, and
    /// renumbers every relation. OnShapeDeleted fires once, before anything
    /// is removed; with pushUndo an "ACT_DELETE" step is recorded. False for
    /// an unknown id or a locked shape (then nothing changes). Clears the
    /// selection, WorkingShape and ChildWorkingShape.
    bool DeleteShapeById(int32_t id, bool pushUndo);
    /// False, deleting nothing, when a selected shape is locked. Otherwise
    /// records one "ACT_DELETE" step and deletes the selection (and the
    /// unselected connectors of selected line link lines) with the result of
    /// DeleteShapeById for each in turn; repaints. Each OnShapeDeleted
    /// handler finds the shapes deleted before its own already gone.
    bool DeleteSelectedShapes();
    /// Frees every shape, empties the list and restarts ids at 0; clears the
    /// selection; repaints. No events, no undo step.
    void DeleteAllShapes();

    // ===================================================================
    // Layers (Layers.cpp). At most 255 layers; ids compare exactly.

    static constexpr int32_t kMaxLayers = 255;
    /// Appends a layer and makes it current; fires OnNewLayer; returns its
    /// id. -1, changing nothing, when the name is in use or the table is full.
    int32_t NewLayer(const String& name, bool visible);
    /// Deletes the layer's top-level shapes (unlocked first, one
    /// "ACT_DELETE" step each) and then the record; fires OnDeleteLayer; the
    /// first remaining layer becomes current (-1 when none). Repaints.
    bool DeleteLayerByID(int32_t id);
    bool DeleteLayerByName(const String& name);
    /// Deletes every layer in table order; after success the table restarts
    /// ids at 0 and there is no current layer. True for an empty table.
    bool DeleteAllLayers();
    /// Moves the shapes of mergedId to keptId, makes keptId current and
    /// deletes mergedId. False when the ids are equal or either is unknown.
    bool MergeLayers(int32_t keptId, int32_t mergedId);
    uint8_t GetLayersCount() const;
    /// -1 outside the table.
    int32_t GetLayerIdByNo(int32_t n) const;
    /// Id of the last record with that name, -1 if none.
    int32_t GetLayerIdByName(const String& name) const;
    /// Position of the last record with that id, -1 if none.
    int32_t GetLayerNoById(int32_t id) const;
    /// Position of the last record with that name, -1 if none.
    int32_t GetLayerNoByName(const String& name) const;
    /// Name of the last record with that id, empty if none.
    String GetLayerNameByID(int32_t id) const;
    /// Id of the table's last record, -1 when empty.
    int32_t GetMaxLayerId() const;
    /// Visible of the first record with that id, false if none.
    bool IsVisibleLayerByID(int32_t id) const;
    /// Rename every matching record: no uniqueness check, no event, no repaint.
    void SetLayerNameByID(const String& newName, int32_t id);
    void SetLayerNameByName(const String& newName, const String& oldName);
    // Visibility of every matching record (all records); each repaints.
    void VisibleLayerByID(int32_t id);
    void InVisibleLayerByID(int32_t id);
    void VisibleLayerByName(const String& name);
    void InVisibleLayerByName(const String& name);
    void VisibleAllLayer();
    int32_t CurrentLayerId() const { return FCurrentLayerId; }
    /// Makes an existing layer current and clears the selection; nothing for
    /// an unknown id.
    void SetCurrentLayerId(int32_t id);

    // ===================================================================
    // Z-order (ZOrder.cpp). Only shapes without parent move past each
    // other; members of groups keep their list positions. nullptr does
    // nothing. Each result is that of the swap-by-swap walk, reached in one
    // renumbering pass.

    /// Moves the shape above every later shape without parent; repaints and
    /// (pushUndo) records "ACT_BRINGTOFRONT", even when it already was on top.
    void BringToFront(TMyShape* shape, bool pushUndo);
    /// The same toward the bottom, "ACT_SENDTOBACK".
    void SendToBack(TMyShape* shape, bool pushUndo);
    /// One swap with the next shape without parent; only when there is one:
    /// repaint and (pushUndo) "ACT_BRINGTOFRONTBYSTEP".
    void BringToFrontByStep(TMyShape* shape, bool pushUndo);
    /// One swap with the previous shape without parent, "ACT_SENDTOBACKBYSTEP".
    void SendToBackByStep(TMyShape* shape, bool pushUndo);
    /// Exchanges the list places of two listed shapes and every relation
    /// number naming them. Returns b.
    TMyShape* SwapShape(TMyShape* a, TMyShape* b);

    // ===================================================================
    // Undo list (UndoList.cpp): recording steps. Undoing comes with the
    // undo concern.

    /// Records one step of snapshot copies: for "ACT_ADD" each shape (last
    /// to first) alone; for "ACT_DELETE" and "ACT_CHANGE" each shape (last to
    /// first) followed by its descendants; for "ACT_UNGROUP" the first shape
    /// and, when it is a top-level group, its members; for the others the
    /// first shape. Nothing while UndoRedoSize is 0. A full list first drops
    /// its oldest step (also for an unknown action, which records nothing).
    void PushtoUndoRedoShapeList(const TArrMyShapeRef& shapes, const String& action);
    /// Frees every snapshot and empties the list.
    void ClearAllUndoStuff();
    /// The number of steps held.
    int32_t GetUndoStepsCount() const;

    // ===================================================================
    // Undo and redo (Undo.cpp). Undoing takes the newest step back; the
    // state it replaces is kept, as snapshots of the same kind, in a redo
    // list that Redo takes from. A new step clears the redo list.

    /// Undoes the newest step. Returns the id of the step that is newest
    /// afterwards (the undone id - 1), -1 when nothing was undone or the
    /// oldest step was undone.
    int32_t PopFromUndoRedoShapeList();
    /// Re-applies the most recently undone step; false when there is none.
    bool Redo();
    bool CanUndo() const { return FUndoRedoSize > 0 && !UndoRedoShapes.empty(); }
    bool CanRedo() const { return FUndoRedoSize > 0 && !FRedoShapes.empty(); }
    /// The number of steps Redo can re-apply.
    int32_t GetRedoStepsCount() const;

    // ===================================================================
    // Selection (Selection.cpp). The selection holds top-level shapes only,
    // each once, in the order they were added.

    /// Selects the shape's root; nothing when it is selected already.
    void AddWorkingShapes(TMyShape* shape);
    void RemoveWorkingShape(TMyShape* shape);
    void RemoveAllWorkingShapes();
    /// Position in the selection, -1 when not selected.
    int32_t IsInWorkingShape(const TMyShape* shape) const;
    int32_t GetSelectedShapesCount() const override { return GetWorkingShapesCount(); }
    /// The selected shape when exactly one is selected, else nullptr.
    TMyShape* GetSelectedShape() const;
    const TArrMyShapeRef& GetSelectedShapes() const { return WorkingShapes; }
    /// Selects every top-level shape of a visible layer, on every layer.
    void SelectAllShapes();
    /// Selects every top-level shape of the layer; nothing without a current layer.
    void SelectAllShapesByLayerId(int32_t layerId);
    /// False for an unknown id. Otherwise (clearing the selection first when
    /// asked) selects the shape, fires OnShapeSelected and repaints.
    bool SelectShapeByCode(int32_t id, bool clearFirst);
    /// Clears the selection and repaints; no event.
    void DeSelectedAllShapesByCode();
    /// The box of the listed shapes' own points, times the zoom.
    TMyRect GetShapesLTRBinZoom(const TArrMyShapeRef& shapes) const;

    // ===================================================================
    // Alignment and transforms (Transforms.cpp). Every transform walks a
    // container's members and leaves locked shapes alone.

    /// Each records one "ACT_CHANGE" step of the selection, moves the
    /// selected shapes onto the selection's common edge or centre line,
    /// re-routes their connectors and repaints; nothing with one shape.
    void AlignLeft();
    void AlignRight();
    void AlignTop();
    void AlignBottom();
    void AlignHorizontalCenter();
    void AlignVerticalCenter();
    /// Spaces the shapes evenly between the two outermost along x (y);
    /// nothing with fewer than three. No undo step.
    void AverageWidth(const TArrMyShapeRef& shapes);
    void AverageHeight(const TArrMyShapeRef& shapes);
    /// Moves the shape and its members by device distances; fires
    /// OnShapeCodeDragging first; repaints. No undo step.
    void Move(TMyShape* shape, double dx, double dy);
    /// Turns the shape by angle (radians, clockwise on the screen) about its
    /// root's centre; fires OnShapeCodeRotating first; repaints. No undo step.
    void Rotate(TMyShape* shape, float angle);
    /// Turns the shape tree about centre by the angle from fromPoint to
    /// toPoint (constrained to RotateConstraintDegree when asked); returns it.
    float Tilt(TMyShape* shape, const TMyPoint& centre, const TMyPoint& fromPoint, const TMyPoint& toPoint,
               bool constrain);
    /// Sizes the shape by handle hotId to the device point; repaints.
    void SizeShape(TMyShape* shape, int32_t hotId, const TMyPoint& point);
    /// Locks or unlocks the shape and every member.
    void LockUnLockforShapes(TMyShape* shape, bool locked);
    /// Outline of the moving shape (members are represented by it).
    void DraggingforShapes(TCanvas& canvas, TMyShape* shape, const TPoint& from, const TPoint& to);
    /// Moves the members, then the shape (when unlocked), by device distances.
    void DragChangeValueDxDyforShapes(TMyShape* shape, double dx, double dy);
    /// Outlines of the turning shape, or of its members for a container.
    void RotatingforShapes(TCanvas& canvas, TMyShape* shape, const TMyPoint& centre, double angle);
    /// Resizes by the grabbed handle keeping the opposite side in place; a
    /// container scales its members with its frame.
    void SizeChangeValueforShapes(TMyShape* shape, const TMyPoint& from, const TMyPoint& to);

    // ===================================================================
    // Mouse interaction (Mouse.cpp: the state machine and drawing;
    // MouseSelect.cpp: selecting, dragging, sizing, rotating). Positions are
    // device pixels on the control. Hosts and tests may feed events directly.

    void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
    void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
    /// The state the current gesture returns to on release.
    TActionTools LastAction() const { return FLastActionTool; }
    /// Confines the screen cursor to the rectangle whose left and top are
    /// rect's and whose width and height are rect.Right - dx and
    /// rect.Bottom - dy; hideCursor first hides the control's cursor.
    void SetCursorClipArea(const TRect& rect, int32_t dx, int32_t dy, bool hideCursor);
    /// Frees the cursor; with MouseEffect the cross-hair comes back.
    void ReleaseCursorClipArea();
    /// Dotted XOR pen for the rubber band, no fill, on the control's canvas.
    void SetSelectShapeMode();
    /// The Shift constraint while drawing: lines horizontal or vertical,
    /// boxes square.
    void DrawMakeSquareorHV(TShiftState shift, TMyShape* shape, const TPoint& anchor, TPoint& point) const;
    /// The Shift constraint while sizing: square boxes in their own frame,
    /// two-point lines horizontal or vertical.
    void ResizeMakeSquareorHV(TShiftState shift, TMyShape* shape, const TPoint& anchor, TPoint& point) const;
    /// Finishes the polygon being drawn on its first point.
    void ClosePolygon();
    /// The first considered shape with a link point at p: its list number and
    /// the link point's number; false and -1, -1 when there is none.
    bool InWhichShapeWhichHotLinkId(int32_t& shapeNo, int32_t& linkId, const TPoint& p);
    /// The first line or polyline (not the one being drawn) with an end point
    /// at p: its id and the point's number; false and -1, -1 when none.
    bool InWhichShapeWhichPointNo(int32_t& shapeId, int32_t& pointNo, const TPoint& p);
    /// Records the end point under p as the line's start or end merge target.
    void GetMergeShape(TMyShape& line, bool atStart, const TPoint& p);
    /// Joins the two lines the just-drawn line connects into one polyline.
    void CreateAndDelete(TMyShape& line);
    /// Hit test of a visible shape by itself or one of its direct members.
    bool IsClickedMeforShape(TCanvas& canvas, TMyShape* shape, const TPoint& p);
    /// Whether the shape's root box lies in the rectangle p1-p2, borders included.
    bool IsInRegion(const TPoint& p1, const TPoint& p2, TMyShape* shape) const;
    /// Keeps only the direction DragMode allows.
    void GetMousePointbyDragMode(const TPoint& origin, TPoint& point) const;

    // ===================================================================
    // Grouping (Grouping.cpp)

    /// Groups the shapes (all visible, all on the first one's layer) under a
    /// new TMyGroup framing them, appended on top; selects it. Its id, or -1.
    int32_t GroupShapes(const TArrMyShapeRef& shapes, bool pushUndo);
    int32_t GroupWorkingShape() { return GroupShapes(WorkingShapes, true); }
    /// Frees the members of a top-level container and deletes the container.
    void UnGroupShape(TMyShape* shape, bool pushUndo);

    // ===================================================================
    // Placing library entries (LibraryPlacement.cpp)

    /// Places the library entry name centred on the device point (x, y): an
    /// entry of one shape without link points as a copy of that shape,
    /// any other as a TMyCombine framing the entry, carrying its link points
    /// and followed in the list by a copy of every entry shape that is not a
    /// group (made with owner, this canvas when nullptr). The new shape
    /// takes the entry's user data, is announced (OnShapeAdded), recorded as
    /// one "ACT_ADD" step, selected and repainted. Its id, or -1, changing
    /// nothing, when the entry does not read or the canvas refuses shapes.
    int32_t AddUserDefineShapefromLib(TShapeLibrary* lib, const String& name, int32_t x, int32_t y,
                                      TShapeOwner* owner = nullptr);

    // ===================================================================
    // Copy and paste (Clipboard.cpp). The copy memory MemShapes holds copies
    // that keep the list numbers of the drawing they came from; a paste adds
    // fresh copies with every relation renumbered to their new places.

    /// Fills the memory with copies of the selection, each shape followed by
    /// its members depth first, and puts the selection's picture (a bitmap
    /// and SVG) on the system clipboard, with the shapes themselves when a
    /// transfer is installed (ShapeTransfer.h). Nothing with no selection.
    void Copy();
    /// Copy, then DeleteSelectedShapes (one "ACT_DELETE" step).
    void Cut();
    /// Adds copies of the memory 4 units right of and below the copied
    /// shapes, named "Shape" + id, on the current layer; fires OnShapeAdded
    /// for each, records one "ACT_ADD" step and selects the new top-level
    /// shapes. Shapes on the system clipboard that are newer than the memory
    /// replace it first; clipboard shapes that do not read soundly paste
    /// nothing. With an empty memory only the selection is cleared.
    void Paste();
    /// The paste of blocks: in memory order, in place, on the layers the
    /// memory shapes name, without OnShapeAdded; the new top-level shapes
    /// are selected after the "ACT_ADD" step.
    void PasteforBlock();
    /// Takes copies of the other canvas's memory (when it holds any) and pastes.
    void PasteFromMyCAD(TMyCAD* source);
    /// Copies the selection and pastes it in one "ACT_ADD" step, leaving the
    /// memory and the system clipboard as they were.
    void Duplicate();
    /// Frees the memory's shapes.
    void ClearMemShapes();

    // ===================================================================
    // Shapes by code (ByCode.cpp). Points are device pixels in the host's
    // coordinate system (XYMode).

    /// Adds a shape of the tool's class from points[0..high]; fires
    /// OnShapeAdded, records "ACT_ADD", selects it and repaints. The new id,
    /// or -1 for a wrong point count, a tool without a shape class or a
    /// refused add.
    int32_t AddShapeByCode(TShapeOwner* owner, TDrawTool tool, const String& name, const TArrMyPoint& points,
                           int32_t high, double angle, const String& info);
    /// The same without the repaint.
    int32_t AddShapeByCodeWithoutRepaint(TShapeOwner* owner, TDrawTool tool, const String& name,
                                         const TArrMyPoint& points, int32_t high, double angle, const String& info);
    /// A three-point shape from the points at startAngle, startAngle - 180
    /// and endAngle (whole degrees) on the circle about centre.
    int32_t AddShapeByCode2(TShapeOwner* owner, TDrawTool tool, const String& name, const TMyPoint& centre,
                            int32_t radius, int32_t startAngle, int32_t endAngle, double angle, const String& info);

    // ===================================================================
    // Services the shapes ask of their canvas (ShapeOwnerServices.cpp)

    /// Zoomed bounding box of the shape's own points.
    TMyRect GetShapesLTRBinZoom(TMyShape* shape) const override;
    /// The box of the listed shapes' own points in document units; all zero
    /// for an empty list.
    TMyRect GetShapesLTRB(const TArrMyShapeRef& shapes) const;
    /// Records "ACT_CHANGE" and mirrors the shape's tree, members first,
    /// leaving locked shapes alone. Nothing for nullptr or a connector.
    void FlipHoriz(TMyShape* shape) override;
    void FlipVert(TMyShape* shape) override;
    /// Turns the shape and its members about the centre of its root shape.
    void RotateShapeWithMembers(TMyShape* shape, double angle) override;
    /// Turns the unlocked shapes of the tree by angle about centre.
    void RotateChangeValueforShapes(TMyShape* shape, const TMyPoint& centre, double angle);
    /// Re-routes the connectors attached to the shape and to its members.
    /// With the avoiding router also those the shape now blocks, and those
    /// that had no route; every other route stays as it is.
    void ChangeLinkShapes(TMyShape* shape);

    // ===================================================================
    // Connectors (Connectors.cpp): attaching ends, routing, joining
    // connectors at junction dots.

    /// A connector named name from link point i of src to link point j of
    /// dst, routed, added, recorded ("ACT_ADD") and selected. Its id, or -1
    /// (changing nothing) for a missing shape or an index outside its link points.
    int32_t CreateLink(const String& name, TMyShape* src, int32_t i, TMyShape* dst, int32_t j);
    /// Attaches one end of the line to the link point under the device
    /// point, or frees it when there is none.
    void GetMainShape(TMyLinkLine& line, TLinkLineEndPoint end, const TPoint& p) override;

    // ---- The avoiding router (AvoidRouting.cpp).

    /// The full tidy-up with the avoiding router: every automatic orthogonal
    /// connector routed again and shared channels spread apart, recorded as
    /// one "ACT_CHANGE" step. Nothing with the classic router.
    void TidyLinkRoutes();
    /// Back to automatic routing for a connector whose segment the user
    /// placed (or whose route the user shaped): recorded and routed again.
    void ResetLinkRoute(TMyShape* line);
    /// The ShapeIds of the connectors that the avoiding router could not
    /// route clear of the shapes (drawn dashed on a fallback route).
    std::vector<int32_t> UnroutableLinks() const;
    bool RouteAvoiding(TMyLinkLine& line, TMyShape* startShape, const TMyPoint& start, TMyShape* endShape,
                       const TMyPoint& end) override;
    /// The link point of the shape within 5 pixels of the device point, or -1.
    int32_t IsinHotLink(TMyShape* shape, const TPoint& p) const;
    /// The id of a connector attached to both shapes, or -1.
    int32_t IsLinked(TMyShape* a, TMyShape* b) const;
    /// Forgets the highlighted link point.
    void ClearAllLinkHot();
    /// Computes and stores the line's route between zoomed points (see
    /// TMyLinkLine::Route); the route is previewed on canvas when given.
    void GetPath(TCanvas* canvas, TMyLinkLine& line, TMyShape* startShape, const TMyPoint& start, TMyShape* endShape,
                 const TMyPoint& end, Tdirections dir);
    /// The older pixel-walking router, kept for hosts that call it.
    void DrawNiceLine_SAV(TCanvas& canvas, TMyLinkLine& line, TMyShape* startShape, TPoint start, TMyShape* endShape,
                          TPoint end, TLinkLineStyle style);
    /// The first connector (in list order, not skip) with a segment that the
    /// document point p lies on, within HotSize across it and strictly inside
    /// along it; p is snapped onto the segment. The segment, or -1.
    int32_t IsBreakLineByAPoint(TMyPoint& p, TMyLinkLine*& line, const TMyShape* skip) override;
    /// Ends line on a new junction dot at the device point p on segment j
    /// of other, which is split there into two connectors meeting at the dot.
    bool BreakLine(TMyLinkLine& line, const TPoint& p, TMyLinkLine& other, int32_t j) override;
    /// Splits other at the document point p on segment j onto the junction
    /// being placed.
    bool BreakLineByAPoint(const TMyPoint& p, TMyLinkLine& other, int32_t j, TMyShape& junction) override;
    void LinkLineCrossings(const TMyPoint& a, const TMyPoint& b, std::vector<float>& xs) override;

    // ===================================================================
    // TShapeOwner and the control

    double Zoom() const override { return FZoom; }
    TXYMode XYMode() const override { return FXYMode; }
    int32_t ControlWidth() const override { return Width(); }
    int32_t ControlHeight() const override { return Height(); }
    uint8_t HotSize() const override { return FHotSize; }
    bool HotShow() const override { return FHotShow; }
    bool ShowHotLink() const override { return FShowHotLink; }
    TActionTools ActionTool() const override { return FActionTool; }
    double Ratio() const override { return FRatio; }
    TUnits TheUNIT() const override { return FTheUNIT; }
    int32_t RotateConstraintDegree() const override { return FRotateConstraintDegree; }
    int32_t HotLinkId() const override { return mcHotLinkId; }
    TMyShape* HotLinkShape() const override { return mcHotLinkShape; }
    void SetHotLink(TMyShape* shape, int32_t id) override;
    /// True while a document is being read.
    bool IsLoading() const override { return FIsLoading; }
    void SetIsLoading(bool value) { FIsLoading = value; }
    /// Schedules a repaint of the whole control.
    void Invalidate() override;
    const TPen& DefaultPen() const override { return FPen; }
    const TBrush& DefaultBrush() const override { return FBrush; }
    const TFont& DefaultFont() const override { return FCADFont; }
    bool DragEnable() const override { return FDragEnable; }
    bool ResizeEnable() const override { return FResizeEnable; }
    bool RotateEnable() const override { return FRotateEnable; }
    TPenStyleJoinType PenStyleJoinType() const override { return FPenStyleJoinType; }
    TPenStyleEndCapType PenStyleEndCapType() const override { return FPenStyleEndCapType; }
    TArrowStyle ArrowStyle() const override { return FArrowStyle; }
    int32_t ArrowAngle() const override { return FArrowAngle; }
    uint8_t ArrowLength() const override { return FArrowLength; }
    uint8_t ArrowOffset() const override { return FArrowOffset; }
    TArcMode ArcMode() const override { return FArcMode; }
    TLinkLineDrawStyle LinkLineDrawStyle() const override { return FLinkLineDrawStyle; }
    bool MergeLineShape() const override { return FMergeLineShape; }
    TCanvas* ControlCanvas() override { return &Canvas(); }

    /// Clears LabelXY or LabelValue when it is the component being removed.
    /// The platform's labels do not report their end, so a host that frees a
    /// label it gave the canvas calls this with opRemove first.
    void Notification(const TLabel* component, TOperation operation);

    // ===================================================================
    // Published properties (Properties.cpp, page and zoom in PageSize.cpp)

    /// Every published setting at once (CanvasSettings.h).
    const TCanvasSettings& Settings() const { return *this; }
    void SetArcMode(TArcMode value) { FArcMode = value; }
    /// Ignored outside 0..359.
    void SetArrowAngle(int32_t value);
    /// Ignored outside 10..80.
    void SetArrowLength(uint8_t value);
    void SetArrowOffset(uint8_t value) { FArrowOffset = value; }
    void SetArrowStyle(TArrowStyle value) { FArrowStyle = value; }
    const TBitmap& BkBitmap() const { return FBkBitmap; }
    /// Keeps a 24-bit copy of the bitmap; repaints.
    void SetBkBitmap(const TBitmap& value);
    TBkBitmapMode BkBitmapMode() const { return FBkBitmapMode; }
    void SetBkBitmapMode(TBkBitmapMode value);
    TBrush& Brush() { return FBrush; }
    const TBrush& Brush() const { return FBrush; }
    void SetBrush(const TBrush& value) { FBrush.Assign(value); }
    TColor ColorOfBackGround() const { return FColorOfBackGround; }
    void SetColorOfBackGround(TColor value);
    TColor ColorOfHot() const { return FColorOfHot; }
    /// Also sets the handle colour of every canvas of the process.
    void SetColorOfHot(TColor value);
    bool CrossLine() const override { return FCrossLine; }
    void SetCrossLine(bool value) { FCrossLine = value; }
    bool DisableTextInput() const { return FDisableTextInput; }
    void SetDisableTextInput(bool value) { FDisableTextInput = value; }
    void SetDragEnable(bool value) { FDragEnable = value; }
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode value) { FDragMode = value; }
    bool DragTrace() const { return FDragTrace; }
    void SetDragTrace(bool value) { FDragTrace = value; }
    TFont& Font() { return FCADFont; }
    const TFont& Font() const { return FCADFont; }
    void SetFont(const TFont& value) { FCADFont.Assign(value); }
    TGridObject& GridOperation() { return FGridOperation; }
    const TGridObject& GridOperation() const { return FGridOperation; }
    /// Copies colour, height, width, pen size, show and type (not GridInZoom).
    void SetGridOperation(const TGridObject& value);
    void SetHotShow(bool value) { FHotShow = value; }
    void SetHotSize(uint8_t value) { FHotSize = value; }
    TLabel* LabelValue() const { return FLabelValue; }
    void SetLabelValue(TLabel* value) { FLabelValue = value; }
    TLabel* LabelXY() const { return FLabelXY; }
    void SetLabelXY(TLabel* value) { FLabelXY = value; }
    bool LinklineAroundShape() const override { return FLinklineAroundShape; }
    void SetLinklineAroundShape(bool value) { FLinklineAroundShape = value; }
    /// Which router re-computes orthogonal connectors: the classic walk (the
    /// default) or the router that avoids every shape. Switching to the
    /// avoiding router routes every automatic connector again (see
    /// TidyLinkRoutes), without an undo step.
    TLinkRouter LinkRouter() const override { return FLinkRouter; }
    void SetLinkRouter(TLinkRouter value);
    void SetLinkLineDrawStyle(TLinkLineDrawStyle value) { FLinkLineDrawStyle = value; }
    bool LockBound() const { return FLockBound; }
    void SetLockBound(bool value) { FLockBound = value; }
    void SetMergeLineShape(bool value) { FMergeLineShape = value; }
    bool MouseEffect() const { return FMouseEffect; }
    void SetMouseEffect(bool value) { FMouseEffect = value; }
    bool OperateAllLayer() const { return FOperateAllLayer; }
    /// A new value also deselects every shape.
    void SetOperateAllLayer(bool value);
    String PageFoot() const { return FPageFoot; }
    void SetPageFoot(const String& value) { FPageFoot = value; }
    String PageHead() const { return FPageHead; }
    void SetPageHead(const String& value) { FPageHead = value; }
    TAlignment PageFootAlignment() const { return FPageFootAlignment; }
    void SetPageFootAlignment(TAlignment value) { FPageFootAlignment = value; }
    TAlignment PageHeadAlignment() const { return FPageHeadAlignment; }
    void SetPageHeadAlignment(TAlignment value) { FPageHeadAlignment = value; }
    TFont& PageFootFont() { return FPageFootFont; }
    const TFont& PageFootFont() const { return FPageFootFont; }
    void SetPageFootFont(const TFont& value) { FPageFootFont.Assign(value); }
    TFont& PageHeadFont() { return FPageHeadFont; }
    const TFont& PageHeadFont() const { return FPageHeadFont; }
    void SetPageHeadFont(const TFont& value) { FPageHeadFont.Assign(value); }
    uint8_t PageFootToBottom() const { return FPageFootToBottom; }
    void SetPageFootToBottom(uint8_t value) { FPageFootToBottom = value; }
    uint8_t PageHeadToTop() const { return FPageHeadToTop; }
    void SetPageHeadToTop(uint8_t value) { FPageHeadToTop = value; }
    TPen& Pen() { return FPen; }
    const TPen& Pen() const { return FPen; }
    void SetPen(const TPen& value) { FPen.Assign(value); }
    void SetPenStyleJoinType(TPenStyleJoinType value) { FPenStyleJoinType = value; }
    void SetPenStyleEndCapType(TPenStyleEndCapType value) { FPenStyleEndCapType = value; }
    bool PrintABorder() const { return FPrintABorder; }
    void SetPrintABorder(bool value) { FPrintABorder = value; }
    uint8_t PrintABordertoBottom() const { return FPrintABordertoBottom; }
    void SetPrintABordertoBottom(uint8_t value) { FPrintABordertoBottom = value; }
    uint8_t PrintABordertoLeft() const { return FPrintABordertoLeft; }
    void SetPrintABordertoLeft(uint8_t value) { FPrintABordertoLeft = value; }
    uint8_t PrintABordertoRight() const { return FPrintABordertoRight; }
    void SetPrintABordertoRight(uint8_t value) { FPrintABordertoRight = value; }
    uint8_t PrintABordertoTop() const { return FPrintABordertoTop; }
    void SetPrintABordertoTop(uint8_t value) { FPrintABordertoTop = value; }
    bool PrintBackground() const { return FPrintBackground; }
    void SetPrintBackground(bool value) { FPrintBackground = value; }
    /// Measurement scale of shape measurements; repaints.
    void SetRatio(double value);
    void SetResizeEnable(bool value) { FResizeEnable = value; }
    void SetRotateEnable(bool value) { FRotateEnable = value; }
    bool ReturnToSelecting() const { return FReturnToSelecting; }
    void SetReturnToSelecting(bool value) { FReturnToSelecting = value; }
    /// Ignored when negative.
    void SetRotateConstraintDegree(int32_t value);
    TDrawTool ShapeTool() const { return FShapeTool; }
    /// Stores the tool and sets the interaction state it stands for; a
    /// shape-creating tool also forgets WorkingShape and the link point under
    /// the mouse. Repaints.
    void SetShapeTool(TDrawTool value);
    void SetShowHotLink(bool value) { FShowHotLink = value; }
    bool Snap() const { return FSnap; }
    void SetSnap(bool value) { FSnap = value; }
    uint8_t SnapPixels() const { return FSnapPixels; }
    /// Stored only when smaller than both grid spacings.
    void SetSnapPixels(uint8_t value);
    bool SnapShape() const { return FSnapShape; }
    void SetSnapShape(bool value) { FSnapShape = value; }
    /// Repaints.
    void SetTheUNIT(TUnits value);
    uint8_t UndoRedoSize() const { return FUndoRedoSize; }
    /// 0 switches undo off and clears the list; a smaller size drops the
    /// oldest steps beyond it.
    void SetUndoRedoSize(uint8_t value);
    TUserData& UserData() { return FUserData; }
    const TUserData& UserData() const { return FUserData; }
    /// Copies the entries of value into the canvas's own list.
    void SetUserData(const TUserData& value) { FUserData.Assign(value); }
    String Version() const { return FVersion; }
    void SetXYMode(TXYMode value) { FXYMode = value; }
    int32_t Tag() const { return FTag; }
    void SetTag(int32_t value) { FTag = value; }
    /// The version tag of the last document read ("XP.j" until one is), by
    /// which shape readers choose their layout. Writing always produces the
    /// newest layout, whatever this says.
    String DiskFileVersion() const { return FDiskFileVersion; }
    void SetDiskFileVersion(const String& value) { FDiskFileVersion = value; }

    // Page size and zoom (PageSize.cpp). The control is as large as the page
    // at the current zoom: nearest(zoom * mm * PPI / 25.4) pixels.
    TPageStyle PageStyle() const { return FPageStyle; }
    /// Takes the style's page size (CustomerPage keeps the current one),
    /// orients it and, unless CustomerPage, sizes the control.
    void SetPageStyle(TPageStyle value);
    uint32_t PageWidth() const { return FPageWidth; }
    /// Stores the width; the style follows the size; unless that is
    /// CustomerPage the control width follows.
    void SetPageWidth(uint32_t value);
    uint32_t PageHeight() const { return FPageHeight; }
    void SetPageHeight(uint32_t value);
    TPageOrientation PageOrientation() const { return FPageOrientation; }
    void SetPageOrientation(TPageOrientation value);
    /// The style whose page (in the current orientation) has that size;
    /// CustomerPage when none has.
    TPageStyle GetPageStyleByWH(uint32_t width, uint32_t height) const;
    /// Sizes the control for the new zoom; shapes keep document coordinates.
    void SetZoom(double value);
    double PreZoom() const { return FPreZoom; }
    void SetPreZoom(double value);

    // ===================================================================
    // Painting (Painting.cpp). Device pixels are control pixels: document
    // point times the zoom, rounded; the control has no scroll offset of its
    // own (a host scrolls by moving it).

    /// Renders the device rectangle r of the control into the back buffer,
    /// which takes r's size: background colour, background bitmap, grid,
    /// shapes.
    void DrawAll(const TRect& r);
    /// Fills the whole bitmap with the background colour; r is not used.
    void FillBackground(TBitmap& bitmap, const TRect& r);
    /// Draws the background bitmap into bitmap with its reference corner at
    /// (x, y), by BkBitmapMode. Tiles cover the bitmap's own size when
    /// useBitmapSize, else the control's size; only tiles that reach the
    /// bitmap are drawn.
    void DrawBkBitmap(TBitmap& bitmap, int32_t x, int32_t y, bool useBitmapSize);
    /// Draws every shape that meets the device rectangle r onto canvas, whose
    /// (0, 0) stands for r's top-left: the chosen top-level shapes of visible
    /// layers in list order, each group's members before the group, then the
    /// link-point marks of all of them above every shape. Shapes are not
    /// moved; the canvas's origin (and clip rectangle) carry the offset and
    /// are restored.
    void DrawAllShape(TCanvas& canvas, const TRect& r);
    /// Draws the handles of the selection (or of ChildWorkingShape alone) on
    /// the control's canvas; nothing while HotShow is false.
    void SelectAllWorkingShapes();
    /// The back buffer of the last paint, the size of its rectangle.
    const TBitmap& BackBuffer() const { return MytmpBitmap; }
    /// Top-level shapes chosen by the last DrawAllShape, in list order.
    const TMyShapeNo& ShapesDrawnLast() const { return WillDrawShapesNo; }

    // ===================================================================
    // Rendering onto any canvas (Render.cpp): an image, a printer page, a
    // PDF, SVG or metafile writer. The control's zoom, size, back buffer and
    // paints are left alone.

    /// Draws the shapes the request picks onto canvas at its zoom and offset.
    void RenderShapes(TCanvas& canvas, const TRenderRequest& request);
    /// Runs draw with the zoom that shapes and page elements measure by set
    /// to zoom, without resizing or repainting the control, and puts the
    /// zoom back. Nothing runs for a zoom that is not a positive number.
    void RenderAtZoom(double zoom, const std::function<void()>& draw);
    /// The page in pixels at zoom, as the control is sized at that zoom.
    TSize PagePixels(double zoom);
    bool IsPrinterCanvas(const TCanvas& canvas) const override { return &canvas == FPrinterCanvas; }
    // Paints of the control find the shapes of a small rectangle without
    // visiting every shape: they reuse what the last paint learnt about where
    // shapes draw until the whole control is invalidated. Every change of
    // shapes therefore ends with Invalidate(), as the canvas's own
    // operations do; code that changes shapes directly does the same.

    // ===================================================================
    // Coordinates, read-outs and hints (Readouts.cpp)

    /// A device point in the host's coordinate system (XYMode): origin at
    /// the top-left, bottom-left, bottom-right or top-right corner.
    TPoint GetPointByMode(const TPoint& p) const;
    TMyPoint GetMyPointByMode(const TMyPoint& p) const;
    /// Shows "(X,Y)" of the device point in the host's system on LabelXY.
    void UpdateLabelXY(int32_t x, int32_t y);
    /// Shows text on LabelValue.
    void UpdateLabelValue(const String& text);
    /// The shape under the mouse (nullptr for none): fires OnMouseEnterShape
    /// (when entering) and OnMouseLeaveShape on a change of shape and shows
    /// the shape's caption as the hint when ShowHint is on.
    void ShowHintEnterLeaveShape(TMyShape* shape, bool entering, const TPoint& p);
    /// Diagnostics straight onto the control: "[value]" at (x, y) on grey.
    void DebugVar(int32_t x, int32_t y, int32_t value);
    void DebugVarf(int32_t x, int32_t y, double value);

    // ===================================================================
    // Grid and snapping (Grid.cpp). Snapping works on device pixels.

    /// Draws the grid into bitmap, which stands for the device rectangle r.
    void DrawGrid(TBitmap& bitmap, const TRect& r);
    /// Snaps a device point to the grid (Snap) or else to the edges of other
    /// shapes (SnapShape); true when either applied.
    bool SnapXY(int32_t& x, int32_t& y);
    /// Moves the mouse point (x, y) of a dragged box r by the smallest
    /// distance that puts a corner of the box on a snap position, for x and
    /// y separately.
    void SnapRect(const TRect& r, int32_t& x, int32_t& y);

    // ===================================================================
    // Document data. The list, the layer table and the counters are public
    // for the readers and writers of documents; code other than the canvas's
    // own operations that changes MyShapes calls ShapeListChanged.

    /// Every shape of the drawing, members and connectors included; index is
    /// list number (kept equal to ShapeNo) and drawing order.
    TArrMyShape MyShapes;
    /// The id the next added shape receives.
    int32_t NextShapeId = 0;
    /// The selection, in selection order; top-level shapes, each once.
    TArrMyShapeRef WorkingShapes;
    /// The shape being drawn or last hit by the mouse.
    TMyShape* WorkingShape = nullptr;
    /// The member of a group that was hit.
    TMyShape* ChildWorkingShape = nullptr;
    /// Copies held for copy and paste.
    TArrMyShape MemShapes;
    /// The undo list, oldest entry first.
    TArrSavedShape UndoRedoShapes;
    /// The layer table, in creation order.
    TArrLayerRec MyLayers;
    /// The id of the next layer.
    int32_t NextLayerId = 0;
    /// Set when the user changes the drawing with the mouse; cleared on saving.
    bool Global_Changed = false;
    /// Set while the canvas paints or sizes itself; paint and resize
    /// notifications are then ignored.
    bool Processing = false;

protected:
    /// Renders the invalid area (the canvas's clip rectangle: what was
    /// invalidated and is visible) through the back buffer, draws the
    /// handles over it on the control and fires OnPaint. Ignored while
    /// Processing.
    void Paint() override;
    /// The host or the user sized the control: the page size follows.
    void Resize() override;
    void MouseEnter() override;
    void MouseLeave() override;

    /// Top-level shapes chosen for the current paint.
    TMyShapeNo WillDrawShapesNo;
    /// The vertical connector segments of the current paint, for hops.
    TCrossingIndex FCrossings;
    bool FCrossingsValid = false;
    /// The scene of the avoiding router, filled from the drawing before each use.
    TAvoidRouter FAvoidRouter;
    /// Connectors the avoiding router routed in the move under way; the
    /// classic re-routing of the moved shape's connectors leaves them.
    std::vector<int32_t> FAvoidRouted;
    /// Fills the router's scene from the drawing: shapes, and connectors
    /// with their current routes (all but skip).
    void SyncAvoidRouter(const TMyLinkLine* skip);
    /// The router's key of the obstacle a connector end on the shape
    /// belongs to, -1 for none.
    int32_t AvoidObstacleKey(TMyShape* shape) const;
    /// Writes the router's routes of the connectors into them.
    void TakeAvoidRoutes(const std::vector<int32_t>& keys);
    void TakeAvoidRoute(TMyLinkLine& line, int32_t key);
    /// The connector whose drawing is being finished: the drawing records it.
    const TMyShape* FDrawnLineBeingFinished = nullptr;
    /// Where each top-level shape draws, in device pixels, as the last full
    /// selection of shapes for the back buffer found it. Later paints of the
    /// back buffer choose their shapes from it for as long as nothing that
    /// changes the picture can have happened: no whole-control
    /// invalidation, the same zoom, link marks and shape count.
    TDrawIndex FDrawExtents;
    bool FDrawExtentsValid = false;
    uint64_t FDrawExtentsInvalidations = 0;
    double FDrawExtentsZoom = 0;
    bool FDrawExtentsMarks = false;
    size_t FDrawExtentsCount = 0;

    TGridObject FGridOperation;
    TBitmap MytmpBitmap;
    TBitmap FBkBitmap;
    TPen FPen;
    TBrush FBrush;
    TFont FCADFont;
    TFont FPageHeadFont;
    TFont FPageFootFont;
    TUserData FUserData;

private:
    struct TDeletionBatch;
    friend class TEditScope;

    /// The open edit (EditScope.h).
    TEditState FEdit;

    // Adding.
    /// The message and the termination request of an add without layers.
    void ReportNoLayer();
    /// Whether list changes are refused now (inside OnShapeDeleted).
    bool ListChangesRefused() const { return FDeletingDepth > 0; }

    // Deletion.
    /// Steps of deleting one top shape up to the removal: the checks, the
    /// event, the undo step, the collection of the tree and the freeing of
    /// connector ends. False when the id names no deletable shape.
    bool CollectForDeletion(int32_t id, bool pushUndo, TDeletionBatch& batch);
    void CollectTree(int32_t no, TDeletionBatch& batch);
    /// Removes every collected shape and renumbers what stays, in one pass.
    void RemoveCollected(TDeletionBatch& batch);
    /// The list number of the first shape with the id that is not yet
    /// collected, -1 if none.
    int32_t FindUncollected(int32_t id, const TDeletionBatch& batch);
    void ClearSelectionAfterDeletion();

    // Connectors: the parts of the bookkeeping that only connectors need.
    /// Tidies the connectors chosen for a paint and files their vertical
    /// segments for the hops.
    void PrepareConnectorsForPaint();
    /// A new connector from p and the segments j+1.. of other: other's second
    /// half, attached where other's end was; listed and recorded.
    TMyLinkLine* SplitOffSecondHalf(TMyLinkLine& other, const TMyPoint& zoomedAt, int32_t j);
    /// Cuts other after segment j at the zoomed point and ends it on the junction.
    void CutOntoJunction(TMyLinkLine& other, const TMyPoint& zoomedAt, int32_t j, TMyShape& junction);
    /// While a connector is drawn and link points are not shown all the
    /// time, the link points of the shape under the mouse (by id; -1 none)
    /// are shown, drawn in XOR so that drawing them again takes them away.
    void ShowLinkPointsUnder(const TPoint& p);
    void DrawHoverLinkMarks(int32_t shapeId);
    int32_t FHoverMarksShapeId = -1;
    /// After undo put a connector's copy back: its ends as the copy has them.
    void RestoreLinkLineEnds(TMyShape& live, const TMyShape& saved);
    /// Frees the connector's start (or end) that sits on a deleted shape:
    /// shape number and link point id -1.
    void DetachConnectorEnd(TMyShape& connector, bool startEnd);
    /// Whether deleting the shape also deletes the connectors attached to it
    /// (a link point that is itself part of a line).
    bool DeletesAttachedConnectors(const TMyShape& shape) const;
    /// The shapes whose connectors stay attached while the shapes move.
    static bool IsConnector(TMyShape& shape) { return !shape.ConnectorEndRefs().empty(); }

    // Z-order.
    /// Moves the shape at chain[k] to chain[k - 1] and the shape at chain[0]
    /// to the last place of the chain, renumbering every relation.
    void MoveAlongChain(const std::vector<int32_t>& chain);
    /// The list numbers of the shapes without parent after (before) n.
    std::vector<int32_t> RootsAfter(int32_t n) const;
    std::vector<int32_t> RootsBefore(int32_t n) const;
    /// The shape's list number when it is listed, else -1.
    int32_t ListedNo(const TMyShape* shape) const;
    /// Records a move to the front or the back with the list number before it.
    void PushZOrderStep(TMyShape* shape, const String& action, int32_t before);
    /// Rotates the shape past the shapes without parent up to list number no.
    void MoveAmongRoots(TMyShape* shape, int32_t no);

    // Undo list. The undo and the redo list are kept by the same steps.
    void AppendSnapshot(TArrSavedShape& list, TMyShape& shape, int32_t stepId, const String& action);
    /// Records one step of shapes into list by the rules of the action.
    void RecordStep(TArrSavedShape& list, const TArrMyShapeRef& shapes, const String& action);
    /// Drops the oldest step when list is full; the id of the next step.
    int32_t BeginStep(TArrSavedShape& list);
    void DropOldestStep(TArrSavedShape& list);
    /// Copies of the shape and its members, to put back with RestoreSnapshots.
    TArrSavedShape SnapshotTree(TMyShape& shape);
    void RestoreSnapshots(const TArrSavedShape& copies);

    // Selection.
    void ClearWorkingShapes();

    // Undo and redo.
    /// How a step is taken back: the same for undo and for redo.
    void ApplyInverse(TArrSavedShape& list, TArrSavedShape& counterList);
    /// Puts deleted shapes back at the end of the list with their ids; the
    /// shapes added.
    TArrMyShapeRef RestoreDeleted(TArrSavedShape& entries);
    /// Whether a step being pushed comes from undo or redo themselves (the
    /// redo list then stays).
    bool FReplaying = false;
    TArrSavedShape FRedoShapes;

    // Transforms.
    /// Moves every selected shape by the document distance its box needs.
    template <typename Delta>
    void AlignSelection(Delta delta);
    void SpaceEvenly(const TArrMyShapeRef& shapes, bool alongX);

    // Mouse.
    /// The shape being drawn with the mouse until it is finished and listed.
    std::unique_ptr<TMyShape> FDrawnShape;
    void DrawingDown(TShiftState shift);
    void DrawingMove(TShiftState shift, int32_t x, int32_t y);
    void DrawingUp(TMouseButton button, TShiftState shift);
    void RemoveVertexUp();
    void AddVertexUp();
    /// The control's whole area on the screen, as SetCursorClipArea takes it.
    TRect ControlScreenArea() const;
    void SelectingDown(TShiftState shift);
    void SelectingMoveFree(int32_t x, int32_t y);
    void SelectingMoveHeld(TShiftState shift, int32_t x, int32_t y);
    /// The click-without-movement cases of a release; true when they ended it.
    bool SelectingClickUp();
    void SelectingUp(TShiftState shift);
    /// The handle's own point of WorkingShape in device pixels.
    TMyPoint HandleAnchor(const TMyShape& shape) const;
    /// The shapes the whole-drawing drag moves.
    TArrMyShapeRef DragWholeShapes() const;

    // Copy and paste.
    /// Replaces the memory by copies of the shapes and their members.
    void FillMemory(const TArrMyShapeRef& shapes);
    /// The selection's picture and, through the transfer, the memory on the
    /// system clipboard.
    void PublishCopy();
    /// Replaces the memory by the system clipboard's shapes when they are
    /// newer; false when they are there and do not read soundly.
    bool TakeClipboardShapes();
    void PasteMemory(bool forBlock);
    /// Names the copy the system clipboard holds of this canvas's memory.
    uint64_t FClipboardStamp = 0;
    /// Expires with the canvas, so pictures the clipboard draws later know.
    std::shared_ptr<char> FAlive = std::make_shared<char>();

    // Shapes by code.
    int32_t AddByCode(TShapeOwner* owner, TDrawTool tool, const String& name, const TArrMyPoint& points,
                      int32_t high, double angle, const String& info, bool repaint);

    // Page size.
    int32_t PixelsForMillimetres(uint32_t mm) const;
    /// Set while RenderAtZoom runs: page elements then measure the page at
    /// the rendering's zoom instead of the control's size.
    bool FRendering = false;
    /// The canvas a rendering for a printer draws on.
    const TCanvas* FPrinterCanvas = nullptr;

    // State behind properties that are not settings of their own.
    double FPreZoom = 1.0;
    String FDiskFileVersion = u"XP.j"_s;
    bool FIsLoading = false;

    int32_t FCurrentLayerId = -1;
    TShapeIdIndex FIdIndex;
    /// Depth of OnShapeDeleted handlers running.
    int32_t FDeletingDepth = 0;
};

} // namespace mycad
