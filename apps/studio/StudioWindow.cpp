#include "apps/studio/StudioWindow.h"
#include "apps/studio/PageCommands.h"

#include "apps/common/SideLinkPoints.h"
#include "apps/studio/ClipboardCommands.h"
#include "apps/studio/DxfExportDialog.h"
#include "apps/studio/Icons.h"
#include "apps/studio/InPlaceEditor.h"
#include "apps/studio/PictureCommands.h"
#include "cad/connectors/LinkLine.h"
#include "cad/shapes/BLine.h"
#include "platform/Messages.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace mycad::studio {

namespace {

struct TToolInfo {
    TDrawTool tool;
    const char* name;
    const char* text;
    const char* key;
    const char* tip;
};

// Action tools first, then the drawing tools in the order they are offered.
const TToolInfo kTools[] = {
    {TDrawTool::SpSelecting, "toolSelect", "&Select", "V",
     "Select, move and size shapes; drag on empty paper to select with a frame; Shift adds to the selection"},
    {TDrawTool::SpRotateSelecting, "toolRotate", "&Rotate", "R", "Turn the selected shapes by their handles"},
    {TDrawTool::SpBrowse, "toolBrowse", "&Hand", "H",
     "Drag to pan the view; the middle button, Space with a drag and the wheel pan with any tool"},
    {TDrawTool::SpDragWhole, "toolDragWhole", "&Move Drawing", "M",
     "Drag to move every shape of the current layer on the page, as one step to undo"},
    {TDrawTool::SpPolylinePolygonPointAdding, "toolAddVertex", "&Add Vertex", "",
     "Click on a polyline or polygon to add a vertex there"},
    {TDrawTool::SpPolylinePolygonPointRemoving, "toolRemoveVertex", "Re&move Vertex", "",
     "Click on a vertex of a polyline or polygon to remove it"},
    {TDrawTool::SpLine, "toolLine", "&Line", "L", "Draw a straight line; Shift keeps it horizontal or vertical"},
    {TDrawTool::SpRectangle, "toolRectangle", "Rec&tangle", "T", "Draw a rectangle; Shift makes a square"},
    {TDrawTool::SpEllipse, "toolEllipse", "&Ellipse", "E", "Draw an ellipse; Shift makes a circle"},
    {TDrawTool::SpPolyLine, "toolPolyline", "&Polyline", "P", "Click the vertices of a polyline; a double click ends it"},
    {TDrawTool::SpPolygon, "toolPolygon", "Poly&gon", "G",
     "Click the corners of a polygon; a click on the first corner, or a double click, closes it"},
    {TDrawTool::SpFreeLine, "toolFreeLine", "&Freehand", "F", "Draw freehand while the button is held"},
    {TDrawTool::SpPolyBezier, "toolBezier", "Be&zier Curve", "Z",
     "Click the control points of a smooth Bezier curve; double click to finish"},
    {TDrawTool::SpBLine, "toolSpline", "&Spline", "S",
     "Click up to 100 points a smooth curve passes through; double click to finish"},
    {TDrawTool::SpElliArc, "toolArc", "&Arc", "A", "Draw an arc through three points"},
    {TDrawTool::SpText, "toolText", "Te&xt", "X", "Draw a text box and type its text"},
    {TDrawTool::SpImage, "toolImage", "&Image", "I", "Draw a frame for a picture"},
    {TDrawTool::SpRuleLine, "toolRuleLine", "&Dimension", "D",
     "Drag a measuring line that shows its length; it ends where you release"},
    {TDrawTool::SpLinkPoint, "toolLinkPoint", "&Connection Point", "", "Place a point connectors attach to"},
    {TDrawTool::SpLinkLine, "toolConnector", "&Connector", "C",
     "Draw a connector between the connection points of two shapes"},
    {TDrawTool::SpLineLinkLine, "toolJunction", "&Junction", "J",
     "Place a junction dot on a connector: it splits there, and connectors drawn to the dot join it"},
};

bool IsActionTool(TDrawTool tool)
{
    switch (tool) {
    case TDrawTool::SpSelecting:
    case TDrawTool::SpRotateSelecting:
    case TDrawTool::SpBrowse:
    case TDrawTool::SpDragWhole:
    case TDrawTool::SpPolylinePolygonPointAdding:
    case TDrawTool::SpPolylinePolygonPointRemoving:
        return true;
    default:
        return false;
    }
}

} // namespace

TStudioWindow::TStudioWindow(const QString& settingsFile, QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MyCADStudio"));
    setWindowIcon(CommandIcon(QStringLiteral("app")));
    settings_ = settingsFile.isEmpty()
                    ? std::make_unique<QSettings>(QStringLiteral("MyCAD"), QStringLiteral("MyCAD Studio"))
                    : std::make_unique<QSettings>(settingsFile, QSettings::IniFormat);

    area_ = new TCanvasArea(this);
    setCentralWidget(area_);
    TMyCAD& cad = Cad();
    cad.SetShowHint(true);
    // A quiet grid that the drawing stands out from.
    cad.GridOperation().SetGridColor(RGB(0xE4, 0xE8, 0xEC));

    AskSaveChanges = [this](const QString& name) {
        const auto answer = QMessageBox::question(
            this, QStringLiteral("MyCAD Studio"),
            QStringLiteral("The drawing \u201c%1\u201d has changes that are not saved.\nSave them first?").arg(name),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        if (answer == QMessageBox::Save) return TSaveAnswer::Save;
        if (answer == QMessageBox::Discard) return TSaveAnswer::Discard;
        return TSaveAnswer::Cancel;
    };
    AskOpenFileName = [this](const QString& title, const QString& filter) {
        return QFileDialog::getOpenFileName(this, title, QFileInfo(fileName_).absolutePath(), filter);
    };
    AskSaveFileName = [this](const QString& title, const QString& suggestion, const QString& filter) {
        return QFileDialog::getSaveFileName(this, title, suggestion, filter);
    };

    BuildActions();
    BuildToolActions();
    BuildPanels();
    BuildMenus();
    BuildToolBars();
    BuildStatusBar();
    BuildKeys();
    HookCanvas();
    BuildRecovery();

    resize(1360, 860);
    // The window comes back where the user left it, with its panels.
    restoreGeometry(settings_->value(QStringLiteral("window/geometry")).toByteArray());
    restoreState(settings_->value(QStringLiteral("window/state")).toByteArray());
    SetTool(TDrawTool::SpSelecting);
    DrawingReplaced();
}

TStudioWindow::~TStudioWindow()
{
    TStudioCanvas& cad = Cad();
    // The labels go first; the canvas must not write to them afterwards.
    cad.Notification(labelXY_.get(), TOperation::opRemove);
    cad.Notification(labelValue_.get(), TOperation::opRemove);
    cad.OnPaint = nullptr;
    cad.OnShapeAdded = nullptr;
    cad.OnActionToolToSelecting = nullptr;
    cad.OnShapeMouseDragged = nullptr;
    cad.OnShapeMouseResized = nullptr;
    cad.OnShapeMouseRotated = nullptr;
    cad.OnWholeDragged = nullptr;
    cad.OnShapeMouseResizeFinished = nullptr;
    cad.OnMeasurement = nullptr;
    cad.OnStencilDropped = nullptr;
}

QAction* TStudioWindow::Action(const QString& name) const { return findChild<QAction*>(name); }

QAction* TStudioWindow::MakeAction(const QString& name, const QString& text, const QString& icon,
                                   const QKeySequence& key, const QString& tip, const std::function<void()>& run)
{
    auto* a = new QAction(text, this);
    a->setObjectName(name);
    if (!icon.isEmpty()) a->setIcon(CommandIcon(icon));
    if (!key.isEmpty()) a->setShortcut(key);
    const QString shortcut = key.toString(QKeySequence::NativeText);
    const QString plain = QString(text).remove(u'&');
    a->setToolTip(shortcut.isEmpty() ? plain : QStringLiteral("%1 (%2)").arg(plain, shortcut));
    a->setStatusTip(tip);
    if (run) connect(a, &QAction::triggered, this, [run] { run(); });
    return a;
}

void TStudioWindow::BuildActions()
{
    const auto S = [](const char* s) { return QString::fromUtf8(s); };
    // File
    MakeAction(S("fileNew"), S("&New"), S("new"), QKeySequence::New, S("Start a new drawing"), [this] { NewDrawing(); });
    MakeAction(S("fileOpen"), S("&Open\u2026"), S("open"), QKeySequence::Open, S("Open a drawing"), [this] {
        const QString file = AskOpenFileName(QStringLiteral("Open drawing"),
                                             QStringLiteral("MyCAD drawings (*.zed);;All files (*)"));
        if (!file.isEmpty()) OpenFile(file);
    });
    MakeAction(S("fileSave"), S("&Save"), S("save"), QKeySequence::Save, S("Save the drawing"), [this] { Save(); });
    MakeAction(S("fileSaveAs"), S("Save &As\u2026"), QString(), QKeySequence::SaveAs,
               S("Save the drawing under a new name"), [this] { SaveAs(); });
    MakeAction(S("fileExportPng"), S("Export as &PNG\u2026"), S("export"), QKeySequence(S("Ctrl+E")),
               S("Write the drawing as a PNG picture"),
               [this] { ExportAs(QStringLiteral("png"), QStringLiteral("PNG pictures (*.png)")); });
    MakeAction(S("fileExportJpeg"), S("Export as &JPEG\u2026"), QString(), QKeySequence(),
               S("Write the drawing as a JPEG picture"),
               [this] { ExportAs(QStringLiteral("jpg"), QStringLiteral("JPEG pictures (*.jpg *.jpeg)")); });
    MakeAction(S("fileExportBmp"), S("Export as &BMP\u2026"), QString(), QKeySequence(),
               S("Write the drawing as a BMP picture"),
               [this] { ExportAs(QStringLiteral("bmp"), QStringLiteral("BMP pictures (*.bmp)")); });
    MakeAction(S("fileQuit"), S("&Quit"), QString(), QKeySequence::Quit, S("Close MyCAD Studio"), [this] { close(); });

    // Edit
    MakeAction(S("editUndo"), S("&Undo"), S("undo"), QKeySequence::Undo, S("Take back the last change"),
               [this] { Undo(); });
    QAction* redo = MakeAction(S("editRedo"), S("&Redo"), S("redo"), QKeySequence::Redo,
                               S("Make the last undone change again"), [this] { Redo(); });
    redo->setShortcuts({QKeySequence::Redo, QKeySequence(S("Ctrl+Y"))});
    MakeAction(S("editDelete"), S("&Delete"), S("delete"), QKeySequence::Delete, S("Delete the selected shapes"),
               [this] { DeleteSelection(); });
    MakeAction(S("editSelectAll"), S("Select &All"), S("selectall"), QKeySequence::SelectAll,
               S("Select every shape on the visible layers"), [this] { SelectAll(); });
    MakeClipboardActions(*this);

    // Insert
    MakeAction(S("insertPicture"), S("&Picture from File\u2026"), QString(), QKeySequence(),
               S("Put a PNG, JPEG, BMP or ICO picture into the drawing"), [this] {
                   const QString file = AskOpenFileName(QStringLiteral("Insert picture"), PictureFileFilter());
                   if (!file.isEmpty()) InsertPicture(file);
               });
    MakeAction(S("insertPastePicture"), S("Paste Picture"), QString(), QKeySequence(S("Ctrl+Shift+V")),
               S("Put the picture on the clipboard into the drawing"), [this] { InsertPicture(QString()); });

    // Arrange
    MakeAction(S("arrangeGroup"), S("&Group"), S("group"), QKeySequence(S("Ctrl+G")),
               S("Join the selected shapes into a group"), [this] { Group(); });
    MakeAction(S("arrangeUngroup"), S("&Ungroup"), S("ungroup"), QKeySequence(S("Ctrl+Shift+G")),
               S("Split the selected groups into their shapes"), [this] { Ungroup(); });
    MakeAction(S("arrangeFront"), S("Bring to &Front"), S("front"), QKeySequence(S("Ctrl+Shift+]")),
               S("Put the selected shapes above all others"), [this] { ZOrder(&TMyCAD::BringToFront); });
    MakeAction(S("arrangeForward"), S("Bring For&ward"), S("forward"), QKeySequence(S("Ctrl+]")),
               S("Move the selected shapes one step up"), [this] { ZOrder(&TMyCAD::BringToFrontByStep); });
    MakeAction(S("arrangeBackward"), S("Send Back&ward"), S("backward"), QKeySequence(S("Ctrl+[")),
               S("Move the selected shapes one step down"), [this] { ZOrder(&TMyCAD::SendToBackByStep); });
    MakeAction(S("arrangeBack"), S("Send to &Back"), S("back"), QKeySequence(S("Ctrl+Shift+[")),
               S("Put the selected shapes below all others"), [this] { ZOrder(&TMyCAD::SendToBack); });
    MakeAction(S("alignLeft"), S("Align &Left Edges"), S("alignleft"), QKeySequence(),
               S("Line up the left edges of the selected shapes"), [this] { Align(&TMyCAD::AlignLeft); });
    MakeAction(S("alignHCenter"), S("Align &Centres Horizontally"), S("alignhcenter"), QKeySequence(),
               S("Line up the selected shapes on one vertical line through their centres"),
               [this] { Align(&TMyCAD::AlignHorizontalCenter); });
    MakeAction(S("alignRight"), S("Align &Right Edges"), S("alignright"), QKeySequence(),
               S("Line up the right edges of the selected shapes"), [this] { Align(&TMyCAD::AlignRight); });
    MakeAction(S("alignTop"), S("Align &Top Edges"), S("aligntop"), QKeySequence(),
               S("Line up the top edges of the selected shapes"), [this] { Align(&TMyCAD::AlignTop); });
    MakeAction(S("alignVCenter"), S("Align Centres &Vertically"), S("alignvcenter"), QKeySequence(),
               S("Line up the selected shapes on one horizontal line through their centres"),
               [this] { Align(&TMyCAD::AlignVerticalCenter); });
    MakeAction(S("alignBottom"), S("Align &Bottom Edges"), S("alignbottom"), QKeySequence(),
               S("Line up the bottom edges of the selected shapes"), [this] { Align(&TMyCAD::AlignBottom); });
    MakeAction(S("spaceHorizontal"), S("Space Evenly &Across"), S("spaceh"), QKeySequence(),
               S("Give three or more selected shapes equal gaps from left to right"), [this] { Space(true); });
    MakeAction(S("spaceVertical"), S("Space Evenly &Down"), S("spacev"), QKeySequence(),
               S("Give three or more selected shapes equal gaps from top to bottom"), [this] { Space(false); });
    MakeAction(S("flipHorizontal"), S("Flip &Horizontally"), S("fliph"), QKeySequence(S("Ctrl+Shift+H")),
               S("Mirror the selected shapes left to right"), [this] { Flip(true); });
    MakeAction(S("flipVertical"), S("Flip &Vertically"), S("flipv"), QKeySequence(S("Ctrl+Shift+V")),
               S("Mirror the selected shapes top to bottom"), [this] { Flip(false); });
    MakeAction(S("rotateClockwise"), S("Rotate 90\u00b0 &Clockwise"), S("rotatecw"), QKeySequence(S("Ctrl+R")),
               S("Turn the selected shapes a quarter turn clockwise"), [this] { RotateQuarter(true); });
    MakeAction(S("rotateCounterClockwise"), S("Rotate 90\u00b0 C&ounter-clockwise"), S("rotateccw"),
               QKeySequence(S("Ctrl+Shift+R")), S("Turn the selected shapes a quarter turn counter-clockwise"),
               [this] { RotateQuarter(false); });
    MakeAction(S("arrangeLock"), S("&Lock"), S("lock"), QKeySequence(S("Ctrl+L")),
               S("Protect the selected shapes from moving, sizing, turning and deleting"), [this] { Lock(true); });
    MakeAction(S("arrangeUnlock"), S("Unl&ock"), S("unlock"), QKeySequence(S("Ctrl+Shift+L")),
               S("Let the selected shapes be changed again"), [this] { Lock(false); });

    // View
    QAction* zoomIn = MakeAction(S("viewZoomIn"), S("Zoom &In"), S("zoomin"), QKeySequence::ZoomIn,
                                 S("Show the drawing larger"), [this] { area_->ZoomIn(); });
    // "=" is "+" without Shift on most keyboards.
    zoomIn->setShortcuts({QKeySequence::ZoomIn, QKeySequence(S("Ctrl+="))});
    MakeAction(S("viewZoomOut"), S("Zoom &Out"), S("zoomout"), QKeySequence::ZoomOut, S("Show the drawing smaller"),
               [this] { area_->ZoomOut(); });
    MakeAction(S("viewZoom100"), S("&Actual Size"), S("zoom100"), QKeySequence(S("Ctrl+0")),
               S("Show the drawing at 100 %"), [this] { area_->SetZoomPercent(100); });
    MakeAction(S("viewZoomFit"), S("&Fit Page"), S("zoomfit"), QKeySequence(S("Ctrl+9")),
               S("Show the whole page in the window"), [this] { area_->ZoomToFit(); });
    QAction* grid = MakeAction(S("viewGrid"), S("Show &Grid"), S("grid"), QKeySequence(S("Ctrl+'")),
                               S("Show or hide the grid"), nullptr);
    grid->setCheckable(true);
    connect(grid, &QAction::toggled, this, [this](bool on) {
        Cad().GridOperation().SetGridShow(on);
        Cad().Invalidate();
    });
    gridTypes_ = new QActionGroup(this);
    for (const auto& [name, text, type] : {std::tuple{"viewGridLines", "&Lines", TGridType::gLine},
                                           std::tuple{"viewGridDots", "&Dots", TGridType::gPixel}}) {
        QAction* a = MakeAction(S(name), S(text), QString(), QKeySequence(), S("Draw the grid as lines or dots"),
                                [this, type = type] { SetGridType(type); });
        a->setCheckable(true);
        gridTypes_->addAction(a);
    }
    QAction* snap = MakeAction(S("viewSnapGrid"), S("Snap to G&rid"), S("snap"), QKeySequence(S("Ctrl+Shift+'")),
                               S("Points you draw and drag land on the grid"), nullptr);
    snap->setCheckable(true);
    connect(snap, &QAction::toggled, this, [this](bool on) { Cad().SetSnap(on); });
    QAction* snapShapes = MakeAction(S("viewSnapShapes"), S("Snap to &Shapes"), S("snapshape"), QKeySequence(),
                                     S("Points you draw and drag land on the edges of other shapes"), nullptr);
    snapShapes->setCheckable(true);
    connect(snapShapes, &QAction::toggled, this, [this](bool on) { Cad().SetSnapShape(on); });
    QAction* hops = MakeAction(S("viewHops"), S("Connector &Hops"), QString(), QKeySequence(),
                               S("Draw a small arc where a connector crosses another"), nullptr);
    hops->setCheckable(true);
    connect(hops, &QAction::toggled, this, [this](bool on) {
        Cad().SetCrossLine(on);
        Cad().Invalidate();
    });
    // Which router re-computes connectors; tidying routes them all afresh.
    auto* routers = new QActionGroup(this);
    const std::pair<const char*, TLinkRouter> routerEntries[] = {{"viewRoutingClassic", TLinkRouter::lrClassic},
                                                                 {"viewRoutingAvoid", TLinkRouter::lrAvoiding}};
    for (const auto& [name, router] : routerEntries) {
        const bool avoid = router == TLinkRouter::lrAvoiding;
        QAction* a = MakeAction(S(name), avoid ? S("Route &Around Shapes") : S("&Classic Routing"), QString(),
                                QKeySequence(),
                                avoid ? S("Connectors go round every shape and keep apart from each other")
                                      : S("Connectors take the short walk, round grouped shapes only"),
                                nullptr);
        a->setCheckable(true);
        routers->addAction(a);
        connect(a, &QAction::triggered, this, [this, router = router] {
            Cad().SetLinkRouter(router);
            Changed();
        });
    }
    MakeAction(S("viewTidyRoutes"), S("&Tidy Connector Routes"), QString(), QKeySequence(),
               S("Route every automatic connector afresh and spread apart those that share a channel"), [this] {
                   Cad().TidyLinkRoutes();
                   Changed();
               });
    MakeAction(S("connectorResetRoute"), S("Reset &Route"), QString(), QKeySequence(),
               S("Route the selected connectors automatically again, forgetting segments placed by hand"), [this] {
                   TStudioCanvas& cad = Cad();
                   for (TMyShape* s : TArrMyShapeRef(cad.WorkingShapes)) cad.ResetLinkRoute(s);
                   Changed();
               });
    QAction* straight = MakeAction(S("viewStraightConnectors"), S("S&traight Connectors"), QString(), QKeySequence(),
                                   S("New connectors run straight instead of in horizontal and vertical legs"),
                                   nullptr);
    straight->setCheckable(true);
    connect(straight, &QAction::toggled, this, [this](bool on) {
        Cad().SetLinkLineDrawStyle(on ? TLinkLineDrawStyle::lldsFree : TLinkLineDrawStyle::lldsHV);
    });
    QAction* rulers = MakeAction(S("viewRulers"), S("&Rulers"), QString(), QKeySequence(S("Ctrl+Shift+U")),
                                 S("Show or hide the rulers"), nullptr);
    rulers->setCheckable(true);
    rulers->setChecked(true);
    connect(rulers, &QAction::toggled, this, [this](bool on) { area_->SetRulersVisible(on); });

    pageSizes_ = new QActionGroup(this);
    pageSizes_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    // Upright sizes in millimetres; the orientation turns them.
    struct Page {
        const char* name;
        const char* text;
        int width;
        int height;
    };
    for (const Page& p : {Page{"pageA0", "A0 (841 \u00d7 1189 mm)", 841, 1189},
                          Page{"pageA1", "A1 (594 \u00d7 841 mm)", 594, 841},
                          Page{"pageA2", "A2 (420 \u00d7 594 mm)", 420, 594},
                          Page{"pageA3", "A3 (297 \u00d7 420 mm)", 297, 420},
                          Page{"pageA4", "A4 (210 \u00d7 297 mm)", 210, 297},
                          Page{"pageA5", "A5 (148 \u00d7 210 mm)", 148, 210},
                          Page{"pageB3", "B3 (353 \u00d7 500 mm)", 353, 500},
                          Page{"pageB4", "B4 (257 \u00d7 364 mm)", 257, 364},
                          Page{"pageB5", "B5 (182 \u00d7 257 mm)", 182, 257},
                          Page{"pageLetter", "US Letter (8.5 \u00d7 11 in)", 216, 279},
                          Page{"pageLegal", "US Legal (8.5 \u00d7 14 in)", 216, 356}}) {
        const QSize size(p.width, p.height);
        QAction* a = MakeAction(S(p.name), S(p.text), QString(), QKeySequence(), S("Change the page size"),
                                [this, size] { SetPageSize(size.width(), size.height()); });
        a->setCheckable(true);
        a->setData(size);
        pageSizes_->addAction(a);
    }
    QAction* custom = MakeAction(S("pageCustom"), S("&Custom Size\u2026"), QString(), QKeySequence(),
                                 S("Give the page a width and height in millimetres"), [this] { AskCustomPageSize(); });
    custom->setCheckable(true);
    pageSizes_->addAction(custom);
    orientations_ = new QActionGroup(this);
    for (const auto& [name, text, o] :
         {std::tuple{"pagePortrait", "&Portrait", TPageOrientation::poPortrait},
          std::tuple{"pageLandscape", "&Landscape", TPageOrientation::poLandscape}}) {
        QAction* a = MakeAction(S(name), S(text), QString(), QKeySequence(), S("Turn the page"),
                                [this, o = o] { SetOrientation(o); });
        a->setCheckable(true);
        orientations_->addAction(a);
    }
    units_ = new QActionGroup(this);
    for (const auto& [name, text, unit] : {std::tuple{"unitMm", "&Millimetres", TRulerUnit::ruMilli},
                                           std::tuple{"unitCm", "&Centimetres", TRulerUnit::ruCenti},
                                           std::tuple{"unitM", "M&etres", TRulerUnit::ruMeter},
                                           std::tuple{"unitInch", "&Inches", TRulerUnit::ruInch},
                                           std::tuple{"unitPixel", "&Pixels", TRulerUnit::ruPixel}}) {
        QAction* a = MakeAction(S(name), S(text), QString(), QKeySequence(),
                                S("The unit of the rulers and of measurements"), [this, unit = unit] { SetUnit(unit); });
        a->setCheckable(true);
        a->setData(static_cast<int>(unit));
        units_->addAction(a);
    }
    MakeAction(S("helpAbout"), S("&About MyCAD Studio"), S("app"), QKeySequence(), S("Who made this program"),
               [this] { ShowAbout(); });
}

void TStudioWindow::BuildToolActions()
{
    tools_ = new QActionGroup(this);
    tools_->setExclusive(true);
    for (const TToolInfo& t : kTools) {
        // A drawing tool appears once its shape class exists.
        if (!IsActionTool(t.tool) && !Cad().CreateShapeBySpTool(t.tool)) continue;
        const TDrawTool tool = t.tool;
        QAction* a = MakeAction(QString::fromLatin1(t.name), QString::fromUtf8(t.text), QString(),
                                QKeySequence(QString::fromLatin1(t.key)), QString::fromUtf8(t.tip),
                                [this, tool] { SetTool(tool); });
        a->setIcon(ToolIcon(tool));
        a->setCheckable(true);
        a->setData(static_cast<int>(tool));
        tools_->addAction(a);
    }
}

void TStudioWindow::BuildKeys()
{
    auto* escape = new QAction(this);
    escape->setObjectName(QStringLiteral("editCancel"));
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(escape, &QAction::triggered, this, [this] { Cancel(); });
    addAction(escape);
    // The arrow keys nudge while the drawing has the keyboard, so they keep
    // moving the cursor in the panels' fields.
    struct Arrow {
        Qt::Key key;
        int dx;
        int dy;
    };
    for (const Arrow& k : {Arrow{Qt::Key_Left, -1, 0}, Arrow{Qt::Key_Right, 1, 0}, Arrow{Qt::Key_Up, 0, -1},
                           Arrow{Qt::Key_Down, 0, 1}}) {
        for (const int times : {1, 10}) {
            auto* a = new QAction(area_);
            a->setShortcut(QKeySequence(times == 1 ? QKeyCombination(k.key) : QKeyCombination(Qt::ShiftModifier, k.key)));
            a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            const int dx = k.dx * times;
            const int dy = k.dy * times;
            connect(a, &QAction::triggered, this, [this, dx, dy] { Nudge(dx, dy); });
            area_->addAction(a);
        }
    }
    nudgeBurst_ = new QTimer(this);
    nudgeBurst_->setSingleShot(true);
    nudgeBurst_->setInterval(1000);
}

void TStudioWindow::BuildMenus()
{
    const auto A = [this](const char* name) { return Action(QString::fromLatin1(name)); };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addActions({A("fileNew"), A("fileOpen")});
    recentMenu_ = file->addMenu(QStringLiteral("Open &Recent"));
    recentMenu_->setObjectName(QStringLiteral("menuRecent"));
    file->addSeparator();
    file->addActions({A("fileSave"), A("fileSaveAs")});
    file->addSeparator();
    file->addAction(MakeInsertBlockAction(*this));
    file->addSeparator();
    file->addActions({A("fileExportPng"), A("fileExportJpeg"), A("fileExportBmp"), MakeDxfExportAction(*this)});
    file->addSeparator();
    file->addAction(A("fileQuit"));
    RebuildRecentMenu();

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addActions({A("editUndo"), A("editRedo")});
    edit->addSeparator();
    edit->addActions({A("editCut"), A("editCopy"), A("editPaste"), A("editDuplicate")});
    edit->addActions({A("editDelete"), A("editSelectAll")});
    AddPageCommands(*this, file, edit);

    QMenu* insert = menuBar()->addMenu(QStringLiteral("&Insert"));
    insert->addActions({A("insertPicture"), A("insertPastePicture")});

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    bool separated = false;
    for (QAction* a : tools_->actions()) {
        if (!separated && !IsActionTool(static_cast<TDrawTool>(a->data().toInt()))) {
            tools->addSeparator();
            separated = true;
        }
        tools->addAction(a);
    }

    QMenu* arrange = menuBar()->addMenu(QStringLiteral("&Arrange"));
    arrange->addActions({A("arrangeGroup"), A("arrangeUngroup")});
    arrange->addSeparator();
    arrange->addActions({A("arrangeFront"), A("arrangeForward"), A("arrangeBackward"), A("arrangeBack")});
    arrange->addSeparator();
    QMenu* align = arrange->addMenu(CommandIcon(QStringLiteral("alignleft")), QStringLiteral("&Align"));
    align->addActions({A("alignLeft"), A("alignHCenter"), A("alignRight")});
    align->addSeparator();
    align->addActions({A("alignTop"), A("alignVCenter"), A("alignBottom")});
    QMenu* space = arrange->addMenu(CommandIcon(QStringLiteral("spaceh")), QStringLiteral("&Distribute"));
    space->addActions({A("spaceHorizontal"), A("spaceVertical")});
    arrange->addSeparator();
    arrange->addActions({A("flipHorizontal"), A("flipVertical"), A("rotateClockwise"), A("rotateCounterClockwise")});
    arrange->addSeparator();
    arrange->addActions({A("arrangeLock"), A("arrangeUnlock")});

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addActions({A("viewZoomIn"), A("viewZoomOut"), A("viewZoom100"), A("viewZoomFit")});
    view->addSeparator();
    view->addAction(A("viewGrid"));
    QMenu* gridStyle = view->addMenu(QStringLiteral("Grid St&yle"));
    gridStyle->addActions(gridTypes_->actions());
    view->addActions({A("viewSnapGrid"), A("viewSnapShapes")});
    view->addSeparator();
    QMenu* page = view->addMenu(QStringLiteral("&Page Size"));
    page->addActions(pageSizes_->actions());
    QMenu* orientation = view->addMenu(QStringLiteral("Page &Orientation"));
    orientation->addActions(orientations_->actions());
    QMenu* units = view->addMenu(QStringLiteral("&Units"));
    units->addActions(units_->actions());
    view->addSeparator();
    view->addActions({A("viewHops"), A("viewStraightConnectors")});
    QMenu* routing = view->addMenu(QStringLiteral("Connector &Routing"));
    routing->addActions({A("viewRoutingClassic"), A("viewRoutingAvoid")});
    routing->addSeparator();
    routing->addAction(A("viewTidyRoutes"));
    view->addAction(A("viewRulers"));
    for (QDockWidget* dock : findChildren<QDockWidget*>()) view->addAction(dock->toggleViewAction());

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(A("helpAbout"));
}

void TStudioWindow::BuildToolBars()
{
    const auto A = [this](const char* name) { return Action(QString::fromLatin1(name)); };
    QToolBar* main = addToolBar(QStringLiteral("Main"));
    main->setObjectName(QStringLiteral("mainToolBar"));
    main->setIconSize(QSize(22, 22));
    main->addActions({A("fileNew"), A("fileOpen"), A("fileSave"), A("fileExportPng")});
    main->addSeparator();
    main->addActions({A("editUndo"), A("editRedo"), A("editDelete")});
    main->addSeparator();
    main->addActions({A("arrangeGroup"), A("arrangeUngroup"), A("arrangeFront"), A("arrangeBack")});
    main->addSeparator();
    main->addActions({A("alignLeft"), A("alignHCenter"), A("alignRight"), A("alignTop"), A("alignVCenter"),
                      A("alignBottom"), A("spaceHorizontal"), A("spaceVertical")});
    main->addSeparator();
    main->addActions({A("flipHorizontal"), A("flipVertical"), A("rotateCounterClockwise"), A("rotateClockwise"),
                      A("arrangeLock"), A("arrangeUnlock")});
    main->addSeparator();
    main->addActions({A("viewZoomOut"), A("viewZoomIn"), A("viewZoom100"), A("viewZoomFit"), A("viewGrid"),
                      A("viewSnapGrid")});

    QToolBar* tools = new QToolBar(QStringLiteral("Tools"), this);
    tools->setObjectName(QStringLiteral("toolsToolBar"));
    tools->setIconSize(QSize(24, 24));
    tools->setOrientation(Qt::Vertical);
    addToolBar(Qt::LeftToolBarArea, tools);
    bool separated = false;
    for (QAction* a : tools_->actions()) {
        if (!separated && !IsActionTool(static_cast<TDrawTool>(a->data().toInt()))) {
            tools->addSeparator();
            separated = true;
        }
        tools->addAction(a);
    }
}

void TStudioWindow::BuildPanels()
{
    layers_ = new TLayersPanel(Cad(), this);
    auto* layersDock = new QDockWidget(QStringLiteral("Layers"), this);
    layersDock->setObjectName(QStringLiteral("layersDock"));
    layersDock->setWidget(layers_);
    addDockWidget(Qt::RightDockWidgetArea, layersDock);
    connect(layers_, &TLayersPanel::DrawingChanged, this, [this] { MarkChanged(); });

    properties_ = new TPropertiesPanel(Cad(), this);
    auto* scroller = new QScrollArea(this);
    scroller->setWidget(properties_);
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setMinimumWidth(properties_->sizeHint().width() + 24);
    auto* propertiesDock = new QDockWidget(QStringLiteral("Properties"), this);
    propertiesDock->setObjectName(QStringLiteral("propertiesDock"));
    propertiesDock->setWidget(scroller);
    addDockWidget(Qt::RightDockWidgetArea, propertiesDock);
    resizeDocks({layersDock, propertiesDock}, {140, 600}, Qt::Vertical);
    connect(properties_, &TPropertiesPanel::DrawingChanged, this, [this] { MarkChanged(); });
    // After a value is entered the drawing has the keyboard again, so the
    // next tool key chooses a tool instead of typing into the field.
    connect(properties_, &TPropertiesPanel::EditingDone, this, [this] { Cad().setFocus(Qt::OtherFocusReason); });
    connect(properties_, &TPropertiesPanel::MoveToLayerRequested, this,
            [this](int32_t id) { MoveSelectionToLayer(id); });
    connect(layers_, &TLayersPanel::MoveSelectionRequested, this, [this](int32_t id) { MoveSelectionToLayer(id); });
    BuildShapesPanel();
    MakeAction(QStringLiteral("viewProperties"), QStringLiteral("&Properties"), QString(), QKeySequence(QStringLiteral("Alt+Return")),
               QStringLiteral("Show the Properties panel"), [propertiesDock, this] {
                   propertiesDock->show();
                   propertiesDock->raise();
                   properties_->setFocus(Qt::OtherFocusReason);
               });
}

void TStudioWindow::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    toolLabel_ = new QLabel(bar);
    toolLabel_->setObjectName(QStringLiteral("toolLabel"));
    bar->addWidget(toolLabel_, 1);
    labelValue_ = std::make_unique<TLabel>(bar);
    labelValue_->Widget()->setObjectName(QStringLiteral("labelValue"));
    labelValue_->Widget()->setMinimumWidth(200);
    labelValue_->Widget()->setToolTip(QStringLiteral("Size of the shape being drawn or sized, or how far shapes move"));
    labelXY_ = std::make_unique<TLabel>(bar);
    labelXY_->Widget()->setObjectName(QStringLiteral("labelXY"));
    labelXY_->Widget()->setMinimumWidth(170);
    labelXY_->Widget()->setToolTip(QStringLiteral("Pointer position on the page, in the rulers' unit"));
    layerLabel_ = new QLabel(bar);
    layerLabel_->setToolTip(QStringLiteral("The layer new shapes go to"));
    zoomLabel_ = new QLabel(bar);
    zoomLabel_->setMinimumWidth(56);
    zoomLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->addPermanentWidget(labelValue_->Widget());
    bar->addPermanentWidget(labelXY_->Widget());
    bar->addPermanentWidget(layerLabel_);
    bar->addPermanentWidget(zoomLabel_);
    // The canvas's own read-outs count device pixels; these count the page
    // in the rulers' unit and say what they measure.
    connect(area_, &TCanvasArea::PointerMoved, this,
            [this](int32_t x, int32_t y) { labelXY_->SetCaption(area_->PositionText(x, y)); });
    Cad().OnMeasurement = [this](const QString& text) { labelValue_->SetCaption(text); };
    connect(area_, &TCanvasArea::ZoomChanged, this, [this] { QueueSync(); });
    // A click on the rulers' corner steps through the units of the View menu.
    connect(area_, &TCanvasArea::CornerClicked, this, [this] {
        const QList<QAction*> units = units_->actions();
        const qsizetype now = units.indexOf(units_->checkedAction());
        units.at((now + 1) % units.size())->trigger();
    });
}

void TStudioWindow::HookCanvas()
{
    TMyCAD& cad = Cad();
    cad.OnPaint = [this](TMyCAD*) { QueueSync(); };
    cad.OnActionToolToSelecting = [this] {
        // The canvas went back to selecting after a shape was drawn; the
        // tool bar follows once the gesture is over.
        QTimer::singleShot(0, this, [this] { ShowTool(Cad().ShapeTool()); });
    };
    const auto moved = [this](TMyShape*, const TPoint&, TPoint&) {
        shapesMoved_ = true;
        QueueSync();
    };
    cad.OnShapeMouseDragged = moved;
    cad.OnShapeMouseResized = moved;
    cad.OnShapeMouseRotated = moved;
    // Link points show where the connector tool is, under the mouse.
    cad.SetShowHotLink(false);
    cad.OnShapeAdded = [this](TMyShape*& shape, int32_t) {
        if (!shape) return;
        // Boxes drawn here get a link point on each side, which stay on the
        // sides when the box is sized; a link point marker is one to attach to.
        app::SetDefaultLinkPoints(*shape);
        // The click past a B-spline's last point ended it: say why.
        if (Cad().ShapeTool() == TDrawTool::SpBLine && dynamic_cast<TMyBLine*>(shape) &&
            shape->GetPointsCount() >= kMaxBLinePoints) {
            statusBar()->showMessage(
                QStringLiteral("A spline holds at most %1 points: the curve was finished").arg(kMaxBLinePoints), 6000);
        }
    };
    cad.OnShapeMouseResizeFinished = [this](TMyShape* shape, const TPoint&, TPoint&) {
        if (!shape || shape->GetLinkPointsCount() != 4 || !app::TakesSideLinkPoints(*shape)) return;
        app::SetSideLinkPoints(*shape);
        Cad().ChangeLinkShapes(shape);
    };
    cad.OnWholeDragged = [this] {
        shapesMoved_ = true;
        QueueSync();
    };
    inPlace_ = new TInPlaceEditor(cad, this);
    connect(inPlace_, &TInPlaceEditor::TextChanged, this, [this] { Changed(); });
    // The menu of the drawing, and a press beside the page clears the
    // selection as one on empty paper does.
    cad.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&cad, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = CanvasMenu(at.x(), at.y());
        menu->popup(Cad().mapToGlobal(at));
    });
    connect(area_, &TCanvasArea::DeskPressed, this, [this](QPoint, Qt::MouseButton) {
        if (Cad().WorkingShapes.empty()) return;
        Cad().DeSelectedAllShapesByCode();
        Cad().Invalidate();
        QueueSync();
    });
}

bool TStudioWindow::InsertPicture(const QString& fileName)
{
    QWidget* view = Area().ScrollArea().viewport();
    const QPoint middle = Cad().mapFrom(view, view->rect().center());
    QString error;
    const int32_t id = fileName.isEmpty() ? PastePicture(Cad(), {middle.x(), middle.y()}, error)
                                          : InsertPictureFile(Cad(), fileName, {middle.x(), middle.y()}, error);
    if (id < 0) {
        ShowMessage(error);
        return false;
    }
    SetTool(TDrawTool::SpSelecting);
    Changed();
    return true;
}

void TStudioWindow::QueueSync()
{
    if (syncQueued_) return;
    syncQueued_ = true;
    QTimer::singleShot(0, this, [this] { SyncUi(); });
}

void TStudioWindow::SyncUi()
{
    syncQueued_ = false;
    TMyCAD& cad = Cad();
    UpdateTitle();
    const int selected = cad.GetSelectedShapesCount();
    bool anyGroup = false;
    for (TMyShape* s : cad.WorkingShapes) anyGroup = anyGroup || s->HasChildShapes();
    Action(QStringLiteral("editUndo"))->setEnabled(cad.CanUndo());
    Action(QStringLiteral("editRedo"))->setEnabled(cad.CanRedo());
    Action(QStringLiteral("editSelectAll"))->setEnabled(cad.GetShapesCount() > 0);
    for (const char* name : {"editCut", "editCopy", "editDuplicate", "editDelete", "arrangeFront", "arrangeForward", "arrangeBackward", "arrangeBack",
                             "flipHorizontal", "flipVertical", "rotateClockwise", "rotateCounterClockwise",
                             "arrangeLock", "arrangeUnlock"}) {
        Action(QString::fromLatin1(name))->setEnabled(selected > 0);
    }
    Action(QStringLiteral("arrangeGroup"))->setEnabled(selected > 1);
    Action(QStringLiteral("arrangeUngroup"))->setEnabled(anyGroup);
    for (const char* name : {"alignLeft", "alignHCenter", "alignRight", "alignTop", "alignVCenter", "alignBottom"}) {
        Action(QString::fromLatin1(name))->setEnabled(selected > 1);
    }
    Action(QStringLiteral("spaceHorizontal"))->setEnabled(selected > 2);
    Action(QStringLiteral("spaceVertical"))->setEnabled(selected > 2);

    Action(QStringLiteral("viewGrid"))->setChecked(cad.GridOperation().GridShow());
    Action(cad.GridOperation().GridType() == TGridType::gPixel ? QStringLiteral("viewGridDots")
                                                               : QStringLiteral("viewGridLines"))
        ->setChecked(true);
    Action(QStringLiteral("viewSnapGrid"))->setChecked(cad.Snap());
    Action(QStringLiteral("viewSnapShapes"))->setChecked(cad.SnapShape());
    Action(QStringLiteral("viewHops"))->setChecked(cad.CrossLine());
    const bool avoiding = cad.LinkRouter() == TLinkRouter::lrAvoiding;
    Action(QStringLiteral("viewRoutingAvoid"))->setChecked(avoiding);
    Action(QStringLiteral("viewRoutingClassic"))->setChecked(!avoiding);
    Action(QStringLiteral("viewTidyRoutes"))->setEnabled(avoiding);
    bool shapedConnector = false;
    for (TMyShape* s : cad.WorkingShapes) {
        const auto* line = dynamic_cast<const TMyLinkLine*>(s);
        shapedConnector = shapedConnector || (line && (line->Pin || !line->IsAutoMode));
    }
    Action(QStringLiteral("connectorResetRoute"))->setEnabled(shapedConnector);
    Action(QStringLiteral("viewStraightConnectors"))
        ->setChecked(cad.LinkLineDrawStyle() == TLinkLineDrawStyle::lldsFree);
    // The page's size, upright, checks its entry; any other is custom.
    const QSize page(static_cast<int>(std::min(cad.PageWidth(), cad.PageHeight())),
                     static_cast<int>(std::max(cad.PageWidth(), cad.PageHeight())));
    bool known = false;
    for (QAction* a : pageSizes_->actions()) {
        const bool match = a->data().toSize() == page;
        a->setChecked(match);
        known = known || match;
    }
    Action(QStringLiteral("pageCustom"))->setChecked(!known);
    Action(cad.PageOrientation() == TPageOrientation::poLandscape ? QStringLiteral("pageLandscape")
                                                                  : QStringLiteral("pagePortrait"))
        ->setChecked(true);

    zoomLabel_->setText(QStringLiteral("%1 %").arg(area_->ZoomPercent()));
    layerLabel_->setText(QStringLiteral("Layer: %1").arg(cad.GetLayerNameByID(cad.CurrentLayerId())));

    if (cad.WorkingShapes != shownSelection_ || shapesMoved_) {
        shownSelection_ = cad.WorkingShapes;
        shapesMoved_ = false;
        properties_->Refresh();
    }
    if (cad.MyShapes.size() != shownShapeCount_) {
        shownShapeCount_ = cad.MyShapes.size();
        layers_->Refresh();
    }
}

void TStudioWindow::SetTool(TDrawTool tool)
{
    Cad().SetShapeTool(tool);
    area_->SetHandTool(tool == TDrawTool::SpBrowse);
    ShowTool(tool);
}

void TStudioWindow::ShowTool(TDrawTool tool)
{
    for (QAction* a : tools_->actions()) {
        if (a->data().toInt() == static_cast<int>(tool)) {
            a->setChecked(true);
            toolLabel_->setText(a->statusTip());
        }
    }
}

void TStudioWindow::MarkChanged()
{
    Cad().Global_Changed = true;
    QueueSync();
}

bool TStudioWindow::IsModified() const { return area_->Cad().Global_Changed; }

void TStudioWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    // Before the window was shown the view had no size to fit the page in.
    FitPage();
}

void TStudioWindow::closeEvent(QCloseEvent* event)
{
    if (MaybeSave()) {
        RemoveRecovery();
        settings_->setValue(QStringLiteral("window/geometry"), saveGeometry());
        settings_->setValue(QStringLiteral("window/state"), saveState());
        settings_->sync();
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace mycad::studio
