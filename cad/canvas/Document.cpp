// TMyCAD: start and stop, adding shapes, look-ups and renaming.
#include "cad/canvas/MyCAD.h"

#include "platform/Messages.h"

#include <algorithm>

namespace mycad {

TMyCAD::TMyCAD(TWinControl* parent) : TGraphicControl(parent)
{
    // The members start with the values of their declarations: the settings,
    // the grid object, the buffers, pen, brush and fonts (join and end cap
    // round), the user data. What remains depends on those.
    //
    // The zoom is 1 before the page is applied, so a new canvas has the size
    // of an A4 page at zoom 1 rather than 0 x 0.
    Processing = false;
    SetPageStyle(TPageStyle::A4);
    MyShapes.clear();
    FIdIndex.Invalidate();
    NextShapeId = 0;
    NextLayerId = 0;
    NewLayer(u"Layer0"_s, true);
    FPreZoom = FZoom;
    Global_Changed = false;
    FIsLoading = false;
    SetCursor(TCursor::crCross);
}

TMyCAD::~TMyCAD()
{
    MemShapes.clear();
    WorkingShapes.clear();
    WorkingShape = nullptr;
    ChildWorkingShape = nullptr;
    mcHotLinkShape = nullptr;
    mAShape = nullptr;
    SmallShape = nullptr;
    MyShapes.clear();
    FIdIndex.Invalidate();
    ClearAllUndoStuff();
    FUndoRedoSize = 0;
    DeleteAllLayers();
}

// ---- TShapeOwner and the control.

void TMyCAD::Invalidate() { TGraphicControl::Invalidate(); }

void TMyCAD::SetHotLink(TMyShape* shape, int32_t id)
{
    mcHotLinkShape = shape;
    mcHotLinkId = id;
}

void TMyCAD::Notification(const TLabel* component, TOperation operation)
{
    if (operation != TOperation::opRemove || !component) return;
    if (component == FLabelXY) FLabelXY = nullptr;
    if (component == FLabelValue) FLabelValue = nullptr;
}

void TMyCAD::MouseEnter()
{
    if (OnMouseEnter) OnMouseEnter(this);
}

void TMyCAD::MouseLeave()
{
    if (OnMouseLeave) OnMouseLeave(this);
}

// ---- Adding.

void TMyCAD::ReportNoLayer()
{
    ShowMessage(u"Error!There is no Layer!"_s);
    if (OnTerminateRequest) OnTerminateRequest();
}

bool TMyCAD::AddShape(std::unique_ptr<TMyShape>& shape, bool keepLayer, bool keepId)
{
    if (!shape || ListChangesRefused()) return false;
    if (MyLayers.empty()) {
        ReportNoLayer();
        return false;
    }
    if (!keepLayer) shape->LayerId = FCurrentLayerId;
    MyShapes.push_back(std::move(shape));
    // Appends need no index rebuild: the index takes new entries lazily.
    if (!keepId) ++NextShapeId;
    return true;
}

bool TMyCAD::AddShapeforLoadfromStream(int32_t index, std::unique_ptr<TMyShape>& shape, bool keepId)
{
    if (!shape || ListChangesRefused()) return false;
    if (MyLayers.empty()) {
        ReportNoLayer();
        return false;
    }
    // A damaged document may name a slot twice or outside the list; the
    // shape already there must not be lost.
    if (index < 0 || index >= GetShapesCount() || MyShapes[static_cast<size_t>(index)]) return false;
    shape->ShapeNo = index;
    MyShapes[static_cast<size_t>(index)] = std::move(shape);
    FIdIndex.Invalidate();
    if (!keepId) ++NextShapeId;
    return true;
}

void TMyCAD::AllocateShapeNoIdName(TMyShape& shape, bool withName)
{
    shape.ShapeNo = GetShapesCount();
    shape.ShapeId = NextShapeId;
    if (withName) shape.SetName(u"Shape"_s + String::number(NextShapeId));
}

TMyShape* TMyCAD::CreateAddShapeByName(const String& className, const TMyShape* source)
{
    std::unique_ptr<TMyShape> shape = CreateShapeByName(className, this);
    if (!shape) return nullptr;
    if (source) shape->Assign(*source);
    AllocateShapeNoIdName(*shape, true);
    shape->SetCaption(shape->Name());
    TMyShape* added = shape.get();
    return AddShape(shape, false, false) ? added : nullptr;
}

// ---- Look-ups.

int32_t TMyCAD::GetShapesCount() const { return static_cast<int32_t>(MyShapes.size()); }

TMyShape* TMyCAD::GetShapeByNo(int32_t no) const
{
    if (no < 0 || no >= GetShapesCount()) return nullptr;
    return MyShapes[static_cast<size_t>(no)].get();
}

TMyShape* TMyCAD::GetShapeByID(int32_t id)
{
    if (id < 0 || id >= NextShapeId) return nullptr;
    return GetShapeByNo(FIdIndex.Find(MyShapes, id));
}

int32_t TMyCAD::GetShapeNoById(int32_t id)
{
    const TMyShape* s = GetShapeByNo(FIdIndex.Find(MyShapes, id));
    return s ? s->ShapeNo : -1;
}

TMyShape* TMyCAD::GetShapeByName(const String& name) const
{
    for (const auto& s : MyShapes) {
        if (s && s->Name() == name) return s.get();
    }
    return nullptr;
}

int32_t TMyCAD::GetShapeNoInMyShapes(const TMyShape* shape) const
{
    if (!shape) return -1;
    for (size_t i = 0; i < MyShapes.size(); ++i) {
        if (MyShapes[i].get() == shape) return static_cast<int32_t>(i);
    }
    return -1;
}

int32_t TMyCAD::GetShapesCountInALayer(int32_t layerId) const
{
    return static_cast<int32_t>(std::count_if(MyShapes.begin(), MyShapes.end(), [layerId](const auto& s) {
        return s && s->LayerId == layerId;
    }));
}

TArrMyShapeRef TMyCAD::GetShapesByLayerId(int32_t layerId) const
{
    TArrMyShapeRef result;
    if (FCurrentLayerId == -1) return result;
    for (const auto& s : MyShapes) {
        if (s && s->LayerId == layerId && !s->HasParentShape()) result.push_back(s.get());
    }
    return result;
}

TMyShape* TMyCAD::GetRootParentShape(TMyShape* shape) const { return shape ? shape->GetRootShape() : nullptr; }

bool TMyCAD::areTheyBrother(const TMyShape* a, const TMyShape* b) const
{
    return a && b && a->HasParentShape() && b->HasParentShape() && a->ParentShapeNo == b->ParentShapeNo;
}

TMyShape* TMyCAD::GetNextSingleorRootShape(int32_t n) const
{
    for (int32_t i = std::max(n + 1, 0); i < GetShapesCount(); ++i) {
        TMyShape* s = MyShapes[static_cast<size_t>(i)].get();
        if (s && !s->HasParentShape()) return s;
    }
    return nullptr;
}

TMyShape* TMyCAD::GetPrevSingleorRootShape(int32_t n) const
{
    for (int32_t i = std::min(n, GetShapesCount()) - 1; i >= 0; --i) {
        TMyShape* s = MyShapes[static_cast<size_t>(i)].get();
        if (s && !s->HasParentShape()) return s;
    }
    return nullptr;
}

int32_t TMyCAD::GetMemShapesCount() const { return static_cast<int32_t>(MemShapes.size()); }

int32_t TMyCAD::GetWorkingShapesCount() const { return static_cast<int32_t>(WorkingShapes.size()); }

void TMyCAD::ShapeListChanged() { FIdIndex.Invalidate(); }

int32_t TMyCAD::ListedNo(const TMyShape* shape) const
{
    if (!shape) return -1;
    const int32_t no = shape->ShapeNo;
    return GetShapeByNo(no) == shape ? no : -1;
}

// ---- Renaming.

void TMyCAD::RenameShapeName(const String& oldName, const String& newName)
{
    if (oldName == newName) return;
    TMyShape* s = GetShapeByName(oldName);
    if (!s || GetShapeByName(newName)) return;
    s->SetName(newName);
}

// ---- Selection bookkeeping that deleting and layer changes need.

void TMyCAD::ClearWorkingShapes()
{
    for (TMyShape* s : WorkingShapes) {
        if (WorkingShape == s) WorkingShape = nullptr;
        if (ChildWorkingShape == s) ChildWorkingShape = nullptr;
    }
    WorkingShapes.clear();
}

} // namespace mycad
