// The Edit, Arrange and View commands of the main window. Commands that
// change shapes record one undo step (the canvas's own operations record
// theirs; the others are recorded here) and mark the drawing changed.
#include "apps/studio/StudioWindow.h"

#include "apps/studio/Icons.h"
#include "cad/canvas/UndoList.h"
#include "platform/Messages.h"

#include <QActionGroup>
#include <QMessageBox>

#include <numbers>

namespace mycad::studio {

void TStudioWindow::Changed()
{
    Cad().Invalidate();
    shapesMoved_ = true;
    MarkChanged();
}

void TStudioWindow::Undo()
{
    TMyCAD& cad = Cad();
    if (!cad.CanUndo()) return;
    layers_->RestoreLayersForUndo();
    cad.PopFromUndoRedoShapeList();
    cad.DeSelectedAllShapesByCode();
    layers_->Refresh();
    Changed();
}

void TStudioWindow::Redo()
{
    TMyCAD& cad = Cad();
    if (!cad.Redo()) return;
    cad.DeSelectedAllShapesByCode();
    layers_->Refresh();
    Changed();
}

void TStudioWindow::DeleteSelection()
{
    TMyCAD& cad = Cad();
    if (cad.WorkingShapes.empty()) return;
    if (!cad.DeleteSelectedShapes()) {
        ShowMessage(QStringLiteral("Locked shapes cannot be deleted. Unlock them first (Arrange \u2192 Unlock)."));
        return;
    }
    Changed();
}

void TStudioWindow::SelectAll()
{
    Cad().SelectAllShapes();
    Cad().Invalidate();
    QueueSync();
}

void TStudioWindow::Group()
{
    TMyCAD& cad = Cad();
    if (cad.GetSelectedShapesCount() < 2) return;
    if (cad.GroupWorkingShape() < 0) {
        ShowMessage(QStringLiteral("Only visible shapes of one layer can be grouped."));
        return;
    }
    Changed();
}

void TStudioWindow::Ungroup()
{
    TMyCAD& cad = Cad();
    const TArrMyShapeRef selection = cad.WorkingShapes;
    bool any = false;
    for (TMyShape* s : selection) {
        // Each ungrouping renumbers the list; the pointers stay valid.
        if (s->HasChildShapes() && !s->HasParentShape()) {
            cad.UnGroupShape(s, true);
            any = true;
        }
    }
    if (any) Changed();
}

void TStudioWindow::ZOrder(void (TMyCAD::*move)(TMyShape*, bool))
{
    TMyCAD& cad = Cad();
    const TArrMyShapeRef selection = cad.WorkingShapes;
    if (selection.empty()) return;
    for (TMyShape* s : selection) (cad.*move)(s, true);
    Changed();
}

void TStudioWindow::Align(void (TMyCAD::*align)())
{
    TMyCAD& cad = Cad();
    if (cad.GetSelectedShapesCount() < 2) return;
    (cad.*align)();
    Changed();
}

void TStudioWindow::Space(bool alongX)
{
    TMyCAD& cad = Cad();
    const TArrMyShapeRef selection = cad.WorkingShapes;
    if (selection.size() < 3) return;
    cad.PushtoUndoRedoShapeList(selection, ACT_CHANGE);
    if (alongX) {
        cad.AverageWidth(selection);
    } else {
        cad.AverageHeight(selection);
    }
    for (TMyShape* s : selection) cad.ChangeLinkShapes(s);
    Changed();
}

void TStudioWindow::Flip(bool horizontal)
{
    TMyCAD& cad = Cad();
    const TArrMyShapeRef selection = cad.WorkingShapes;
    if (selection.empty()) return;
    for (TMyShape* s : selection) {
        if (horizontal) {
            cad.FlipHoriz(s);
        } else {
            cad.FlipVert(s);
        }
    }
    Changed();
}

void TStudioWindow::RotateQuarter(bool clockwise)
{
    TMyCAD& cad = Cad();
    const TArrMyShapeRef selection = cad.WorkingShapes;
    if (selection.empty()) return;
    cad.PushtoUndoRedoShapeList(selection, ACT_CHANGE);
    const auto quarter = static_cast<float>(std::numbers::pi / 2);
    for (TMyShape* s : selection) cad.Rotate(s, clockwise ? quarter : -quarter);
    Changed();
}

void TStudioWindow::Lock(bool locked)
{
    TMyCAD& cad = Cad();
    const TArrMyShapeRef selection = cad.WorkingShapes;
    if (selection.empty()) return;
    cad.PushtoUndoRedoShapeList(selection, ACT_CHANGE);
    for (TMyShape* s : selection) cad.LockUnLockforShapes(s, locked);
    Changed();
}

void TStudioWindow::SetGridType(TGridType type)
{
    Cad().GridOperation().SetGridType(type);
    Cad().GridOperation().SetGridShow(true);
    Cad().Invalidate();
    QueueSync();
}

void TStudioWindow::SetPageStyle(TPageStyle style)
{
    if (Cad().PageStyle() == style) return;
    Cad().SetPageStyle(style);
    Changed();
}

void TStudioWindow::SetOrientation(TPageOrientation orientation)
{
    if (Cad().PageOrientation() == orientation) return;
    Cad().SetPageOrientation(orientation);
    Changed();
}

void TStudioWindow::SetUnit(TRulerUnit unit, bool measure)
{
    // The canvas measures in the matching unit, which the document stores.
    const TUnits before = Cad().TheUNIT();
    area_->SetRulerUnit(unit, measure);
    for (QAction* a : units_->actions()) a->setChecked(a->data().toInt() == static_cast<int>(unit));
    if (Cad().TheUNIT() != before) MarkChanged();
    Cad().Invalidate();
}

void TStudioWindow::ShowAbout()
{
    QMessageBox box(this);
    box.setWindowTitle(QStringLiteral("About MyCAD Studio"));
    box.setIconPixmap(CommandIcon(QStringLiteral("app")).pixmap(64, 64));
    box.setText(QStringLiteral("<b>MyCAD Studio</b>"));
    box.setInformativeText(QStringLiteral(
        "A vector drawing and diagram editor built on the MyCAD canvas.<br><br>"
        "Draw with the tools on the left, arrange with the Arrange menu, "
        "and keep parts of a drawing apart on layers. Drawings are saved as "
        ".zed files and export to PNG, JPEG and BMP."));
    box.exec();
}

} // namespace mycad::studio
