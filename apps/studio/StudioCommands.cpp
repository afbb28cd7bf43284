// The Edit, Arrange and View commands of the main window. Commands that
// change shapes record one undo step (the canvas's own operations record
// theirs; the others are recorded here) and mark the drawing changed.
#include "apps/studio/StudioWindow.h"

#include "apps/studio/Icons.h"
#include "cad/canvas/UndoList.h"
#include "cad/connectors/LinkLine.h"
#include "platform/Messages.h"

#include "cad/canvas/TreeWalk.h"

#include <QActionGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QMenu>
#include <QMessageBox>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>
#include <numbers>

namespace mycad::studio {

namespace {

// The canvas's context menu, before its submenus; nullptr separates. A name
// whose command does not exist (yet) is left out, so commands that act on the
// selection join here by name.
const char* const kCanvasMenuEntries[] = {"editCut", "editCopy", "editPaste", "editDuplicate", "editDelete",
                                          nullptr};

} // namespace

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

void TStudioWindow::SetPageSize(int widthMm, int heightMm)
{
    TMyCAD& cad = Cad();
    if (widthMm <= 0 || heightMm <= 0) return;
    const bool landscape = cad.PageOrientation() == TPageOrientation::poLandscape;
    const auto w = static_cast<uint32_t>(landscape ? std::max(widthMm, heightMm) : std::min(widthMm, heightMm));
    const auto h = static_cast<uint32_t>(landscape ? std::min(widthMm, heightMm) : std::max(widthMm, heightMm));
    if (cad.PageWidth() == w && cad.PageHeight() == h) return;
    const TPageStyle style = cad.GetPageStyleByWH(w, h);
    if (style != TPageStyle::CustomerPage) {
        cad.SetPageStyle(style);
    } else {
        cad.SetPageStyle(TPageStyle::CustomerPage);
        cad.SetPageWidth(w);
        cad.SetPageHeight(h);
        SizeControlToPage();
    }
    Changed();
}

void TStudioWindow::SizeControlToPage()
{
    TMyCAD& cad = Cad();
    const double pixelsPerMm = cad.Zoom() * TScreen::PixelsPerInch() / 25.4;
    const int32_t w = RoundToInt(cad.PageWidth() * pixelsPerMm);
    const int32_t h = RoundToInt(cad.PageHeight() * pixelsPerMm);
    if (cad.Width() == w && cad.Height() == h) return;
    // The page gives the control its size, not the other way round.
    const bool processing = cad.Processing;
    cad.Processing = true;
    cad.SetWidth(w);
    cad.SetHeight(h);
    cad.Processing = processing;
}

void TStudioWindow::AskCustomPageSize()
{
    TMyCAD& cad = Cad();
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Custom page size"));
    auto* width = new QSpinBox(&dialog);
    auto* height = new QSpinBox(&dialog);
    for (QSpinBox* box : {width, height}) {
        box->setRange(10, 5000);
        box->setSuffix(QStringLiteral(" mm"));
    }
    width->setValue(static_cast<int>(cad.PageWidth()));
    height->setValue(static_cast<int>(cad.PageHeight()));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("Width"), width);
    form->addRow(QStringLiteral("Height"), height);
    form->addRow(buttons);
    if (dialog.exec() == QDialog::Accepted) {
        // Given as the user sees the page: the wider side decides the orientation.
        SetOrientation(width->value() > height->value() ? TPageOrientation::poLandscape
                                                        : TPageOrientation::poPortrait);
        SetPageSize(width->value(), height->value());
    }
    QueueSync();
}

void TStudioWindow::SetOrientation(TPageOrientation orientation)
{
    if (Cad().PageOrientation() == orientation) return;
    Cad().SetPageOrientation(orientation);
    SizeControlToPage();
    Changed();
}

void TStudioWindow::Nudge(int dx, int dy)
{
    TMyCAD& cad = Cad();
    const TArrMyShapeRef selection = cad.WorkingShapes;
    if (selection.empty()) return;
    // Steps in device pixels: a document pixel, or the grid's spacing as
    // the grid is drawn (in document units when it zooms with the drawing).
    const double zoom = cad.Zoom();
    double stepX = zoom;
    double stepY = zoom;
    if (cad.Snap()) {
        // On the grid a nudge is one grid step, with Shift or without.
        const double gridZoom = cad.GridOperation().GridInZoom() ? zoom : 1.0;
        stepX = cad.GridOperation().GridWidth() * gridZoom;
        stepY = cad.GridOperation().GridHeight() * gridZoom;
        dx = (dx > 0) - (dx < 0);
        dy = (dy > 0) - (dy < 0);
    }
    // Presses in quick succession on the same shapes are one step, as long
    // as nothing else was recorded in between.
    const auto newest = [&cad]() -> const TMyShape* {
        return cad.UndoRedoShapes.empty() ? nullptr : cad.UndoRedoShapes.back().SavedShape.get();
    };
    const bool burst = nudgeBurst_->isActive() && nudgeSelection_ == selection && newest() == nudgeMark_ &&
                       nudgeMark_ != nullptr;
    if (!burst) cad.PushtoUndoRedoShapeList(selection, ACT_CHANGE);
    {
        // One edit: the connectors follow once every shape has moved.
        TEditScope edit(cad);
        for (TMyShape* s : selection) cad.DragChangeValueDxDyforShapes(s, dx * stepX, dy * stepY);
    }
    nudgeMark_ = newest();
    nudgeSelection_ = selection;
    nudgeBurst_->start();
    Changed();
}

void TStudioWindow::Cancel()
{
    TStudioCanvas& cad = Cad();
    if (cad.CancelGesture()) {
        QueueSync();
        return;
    }
    if (cad.ShapeTool() != TDrawTool::SpSelecting) {
        SetTool(TDrawTool::SpSelecting);
        return;
    }
    if (!cad.WorkingShapes.empty()) {
        cad.DeSelectedAllShapesByCode();
        cad.Invalidate();
        QueueSync();
    }
}

bool TStudioWindow::MoveSelectionToLayer(int32_t layerId)
{
    TMyCAD& cad = Cad();
    const TArrMyShapeRef selection = cad.WorkingShapes;
    if (selection.empty() || cad.GetLayerNoById(layerId) < 0) return false;
    bool any = false;
    for (const TMyShape* s : selection) any = any || s->LayerId != layerId;
    if (!any) return false;
    cad.PushtoUndoRedoShapeList(selection, ACT_CHANGE);
    for (TMyShape* s : selection) {
        WalkShapeTree(cad, *s, TTreeOrder::ShapeFirst, [layerId](TMyShape& member) { member.LayerId = layerId; });
    }
    // A shape moved to a hidden layer leaves the selection with its layer.
    if (!cad.IsVisibleLayerByID(layerId)) cad.DeSelectedAllShapesByCode();
    layers_->Refresh();
    Changed();
    return true;
}

QMenu* TStudioWindow::CanvasMenu(int32_t x, int32_t y)
{
    TStudioCanvas& cad = Cad();
    // The menu is about what is under the pointer: a click there selects it
    // (a click changes nothing else), unless it is selected already.
    if (cad.ActionTool() == TActionTools::dtSelecting || cad.ActionTool() == TActionTools::dtRotateSelecting) {
        const TShiftState none;
        cad.MouseDown(TMouseButton::mbLeft, none, x, y);
        cad.MouseUp(TMouseButton::mbLeft, none, x, y);
    }
    SyncUi();
    const auto A = [this](const char* name) { return Action(QString::fromLatin1(name)); };
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("canvasMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const char* name : kCanvasMenuEntries) {
        if (!name) {
            menu->addSeparator();
        } else if (QAction* a = A(name)) {
            menu->addAction(a);
        }
    }
    // A connector under the pointer offers to route itself automatically again.
    const bool connector = std::any_of(cad.WorkingShapes.begin(), cad.WorkingShapes.end(),
                                       [](const TMyShape* s) { return dynamic_cast<const TMyLinkLine*>(s) != nullptr; });
    if (connector) {
        menu->addAction(A("connectorResetRoute"));
        menu->addSeparator();
    }
    QMenu* arrange = menu->addMenu(QStringLiteral("&Arrange"));
    arrange->addActions({A("arrangeFront"), A("arrangeForward"), A("arrangeBackward"), A("arrangeBack")});
    QMenu* align = menu->addMenu(CommandIcon(QStringLiteral("alignleft")), QStringLiteral("A&lign"));
    align->addActions({A("alignLeft"), A("alignHCenter"), A("alignRight"), A("alignTop"), A("alignVCenter"),
                       A("alignBottom")});
    menu->addAction(A("arrangeGroup"));
    menu->addAction(A("arrangeUngroup"));
    QMenu* layer = menu->addMenu(QStringLiteral("Move to &Layer"));
    layer->setObjectName(QStringLiteral("menuMoveToLayer"));
    for (const LayerRec& rec : cad.MyLayers) {
        const int32_t id = rec.LayerId;
        QAction* a = layer->addAction(rec.LayerName, this, [this, id] { MoveSelectionToLayer(id); });
        a->setObjectName(QStringLiteral("moveToLayer%1").arg(id));
        a->setEnabled(!cad.WorkingShapes.empty());
    }
    menu->addSeparator();
    menu->addAction(A("viewProperties"));
    return menu;
}
void TStudioWindow::SetUnit(TRulerUnit unit, bool measure)
{
    // The canvas measures in the matching unit, which the document stores.
    const TUnits before = Cad().TheUNIT();
    area_->SetRulerUnit(unit, measure);
    for (QAction* a : units_->actions()) a->setChecked(a->data().toInt() == static_cast<int>(unit));
    const int decimals = unit == TRulerUnit::ruPixel ? 0 : unit == TRulerUnit::ruMilli ? 2 : 3;
    properties_->SetLengthUnit(area_->UnitsPerDocumentPixel(), area_->Corner().UnitText(), decimals);
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
