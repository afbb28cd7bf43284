// MyCAD Studio's main window: the drawing area with its rulers, the tools,
// the menus and tool bars, the Layers and Properties panels and the status
// bar with the pointer position and the live measurement.
//
// Everything the window asks the user goes through replaceable functions
// (AskSaveChanges, AskOpenFileName, AskSaveFileName) and every message
// through the platform's message hook, so the window runs unattended in
// tests.
#pragma once

#include "apps/studio/CanvasArea.h"
#include "apps/studio/LayersPanel.h"
#include "apps/studio/PropertiesPanel.h"
#include "apps/studio/ShapesPanel.h"
#include "platform/Control.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QActionGroup;
class QLabel;
class QMenu;
class QSettings;
class QTimer;

namespace mycad::studio {

class TInPlaceEditor;

class TStudioWindow : public QMainWindow {
    Q_OBJECT

public:
    /// settingsFile: where the recent files are kept (an INI file); empty
    /// for the user's own settings.
    explicit TStudioWindow(const QString& settingsFile = {}, QWidget* parent = nullptr);
    ~TStudioWindow() override;

    TStudioCanvas& Cad() { return area_->Cad(); }
    TCanvasArea& Area() { return *area_; }
    TLayersPanel& Layers() { return *layers_; }
    TPropertiesPanel& Properties() { return *properties_; }
    TShapesPanel& Shapes() { return *shapes_; }
    /// A command by its object name ("fileSave", "editUndo", "toolRectangle",
    /// ...); nullptr for an unknown name.
    QAction* Action(const QString& name) const;

    // ---- Files. Failures are reported through the message hook.
    /// Starts an empty drawing (after asking about unsaved changes).
    bool NewDrawing();
    /// Opens a drawing (after asking about unsaved changes).
    bool OpenFile(const QString& fileName);
    bool SaveFile(const QString& fileName);
    /// Saves under the current name, or asks for one.
    bool Save();
    bool SaveAs();
    /// Writes the drawing as a picture; the extension picks PNG, JPEG or BMP.
    bool ExportPicture(const QString& fileName);
    /// Adds a picture file's picture (the clipboard's for an empty name) in
    /// the middle of the view, selected; failures are reported.
    bool InsertPicture(const QString& fileName);
    /// The editor that edits shapes' texts on the canvas.
    TInPlaceEditor& InPlace() { return *inPlace_; }
    QString FileName() const { return fileName_; }
    QStringList RecentFiles() const;

    /// Unsaved changes: the drawing changed since it was opened or saved.
    bool IsModified() const;
    /// Records that the drawing changed through a command.
    void MarkChanged();

    /// Makes a drawing or action tool the current one.
    void SetTool(TDrawTool tool);

    /// Moves the selection by (dx, dy) steps: document pixels, or grid
    /// steps while snapping is on. Nudges in quick succession are one undo
    /// step.
    void Nudge(int dx, int dy);
    /// Escape: calls off the gesture in progress, else leaves a drawing tool,
    /// else clears the selection.
    void Cancel();
    /// Moves the selected shapes (with their members) to a layer, as one
    /// undo step.
    bool MoveSelectionToLayer(int32_t layerId);
    /// The page size in millimetres, given upright (width <= height); the
    /// orientation turns it. Sizes outside the standard table are custom.
    void SetPageSize(int widthMm, int heightMm);
    /// Builds the canvas's context menu for the device point (x, y); the
    /// shape under it is selected first.
    QMenu* CanvasMenu(int32_t x, int32_t y);

    // ---- Recovery copies of unsaved work.
    /// Where the recovery copy is kept.
    QString RecoveryFile() const;
    /// Writes the recovery copy now when the drawing has unsaved changes.
    bool SaveRecovery();
    /// When a recovery copy from an earlier session exists, asks
    /// (AskRestore) and opens it as an unsaved drawing; true when restored.
    bool OfferRecovery();
    std::function<bool()> AskRestore;

    /// Brings menus, panels and the title up to date with the canvas now.
    void SyncUi();

    enum class TSaveAnswer { Save, Discard, Cancel };
    std::function<TSaveAnswer(const QString& documentName)> AskSaveChanges;
    std::function<QString(const QString& title, const QString& filter)> AskOpenFileName;
    std::function<QString(const QString& title, const QString& suggestion, const QString& filter)> AskSaveFileName;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Construction (StudioWindow.cpp).
    QAction* MakeAction(const QString& name, const QString& text, const QString& icon, const QKeySequence& key,
                        const QString& tip, const std::function<void()>& run);
    void BuildActions();
    void BuildToolActions();
    void BuildMenus();
    void BuildToolBars();
    void BuildPanels();
    /// The Shapes panel (StudioShapes.cpp).
    void BuildShapesPanel();
    void BuildStatusBar();
    void BuildKeys();
    void HookCanvas();
    void QueueSync();
    /// Checks the tool's action and shows its hint.
    void ShowTool(TDrawTool tool);

    // Commands (StudioCommands.cpp).
    void Undo();
    void Redo();
    void DeleteSelection();
    void SelectAll();
    void Group();
    void Ungroup();
    void ZOrder(void (TMyCAD::*move)(TMyShape*, bool));
    void Align(void (TMyCAD::*align)());
    void Space(bool alongX);
    void Flip(bool horizontal);
    void RotateQuarter(bool clockwise);
    void Lock(bool locked);
    void SetGridType(TGridType type);
    void SetOrientation(TPageOrientation orientation);
    /// Gives the control the page's size at the zoom (the canvas does so
    /// itself only for the standard sizes).
    void SizeControlToPage();
    void AskCustomPageSize();
    /// The rulers' unit; with measure also the drawing's measurements.
    void SetUnit(TRulerUnit unit, bool measure = true);
    void ShowAbout();
    /// After a command that changed shapes: repaint, panels, title.
    void Changed();

    // Files (StudioFiles.cpp).
    /// True when the user is content to lose the drawing as it is.
    bool MaybeSave();
    void SetFileName(const QString& fileName);
    void AddRecentFile(const QString& fileName);
    void RebuildRecentMenu();
    void ExportAs(const QString& extension, const QString& filter);
    void UpdateTitle();
    /// The drawing has been replaced (new, opened): views and panels start over.
    void DrawingReplaced();
    /// Fits the page in the view, but never beyond 100 %.
    void FitPage();
    void BuildRecovery();
    void RemoveRecovery();

    TCanvasArea* area_ = nullptr;
    TLayersPanel* layers_ = nullptr;
    TPropertiesPanel* properties_ = nullptr;
    TShapesPanel* shapes_ = nullptr;
    TInPlaceEditor* inPlace_ = nullptr;
    std::unique_ptr<QSettings> settings_;
    QString fileName_;
    QMenu* recentMenu_ = nullptr;
    QActionGroup* tools_ = nullptr;
    QActionGroup* pageSizes_ = nullptr;
    QActionGroup* orientations_ = nullptr;
    QActionGroup* units_ = nullptr;
    QActionGroup* gridTypes_ = nullptr;
    std::unique_ptr<TLabel> labelXY_;
    std::unique_ptr<TLabel> labelValue_;
    QLabel* zoomLabel_ = nullptr;
    QLabel* layerLabel_ = nullptr;
    QLabel* toolLabel_ = nullptr;
    bool syncQueued_ = false;
    bool shownOnce_ = false;
    QTimer* nudgeBurst_ = nullptr;
    /// The newest undo snapshot when the last nudge recorded or continued
    /// its step: a burst goes on only while nothing else was recorded.
    const TMyShape* nudgeMark_ = nullptr;
    TArrMyShapeRef nudgeSelection_;
    QTimer* recoveryTimer_ = nullptr;
    TArrMyShapeRef shownSelection_;
    size_t shownShapeCount_ = static_cast<size_t>(-1);
    bool shapesMoved_ = false;
};

/// Keeps a recovery copy of the window's drawing when the process is killed
/// by a crash or a termination signal; nullptr stops it.
void InstallCrashRecovery(TStudioWindow* window);

/// Renders a drawing file into a picture (by OUT's extension) at its page
/// size, without a window. 0 when written; otherwise 1, with the reason in
/// error.
int RenderDrawingFile(const QString& drawing, const QString& out, QString& error);

} // namespace mycad::studio
