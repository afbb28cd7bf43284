// The Layers panel: every layer of the drawing with a check box for its
// visibility, the current layer (the one new shapes join) marked and chosen
// by selecting it, and commands to add, rename, delete and merge layers.
#pragma once

#include "cad/canvas/MyCAD.h"

#include <QWidget>

#include <functional>
#include <map>

class QListWidget;
class QListWidgetItem;
class QMenu;
class QToolButton;

namespace mycad::studio {

class TLayersPanel : public QWidget {
    Q_OBJECT

public:
    explicit TLayersPanel(TMyCAD& cad, QWidget* parent = nullptr);

    /// Reads the layer table again (after loading, undo, ...).
    void Refresh();

    // The commands, also for tests; each refreshes the list and reports a
    // change of the drawing. Names must be new and not empty.
    /// The id of the new layer (it becomes current), or -1.
    int32_t AddLayer(const QString& name);
    bool RenameLayer(int32_t id, const QString& name);
    /// Deletes the layer and its shapes (each deletion can be undone); the
    /// last layer cannot be deleted.
    bool DeleteLayer(int32_t id);
    /// Moves the shapes of mergedId into keptId and removes mergedId.
    bool MergeLayers(int32_t keptId, int32_t mergedId);
    void SetLayerVisible(int32_t id, bool visible);
    /// Called before an undo. Undoing the deletion of a layer's shapes
    /// brings the shapes back but not the layer (they would join the current
    /// one): the layers deleted here that the newest undo step puts shapes
    /// back on are restored first. True when any came back.
    bool RestoreLayersForUndo();
    void SetCurrentLayer(int32_t id);

    QListWidget& List() { return *list_; }
    /// The menu of the list for the layer at row (add, rename, delete,
    /// merge, show or hide, make current, move the selection there).
    QMenu* ContextMenu(int row);
    /// The name a new layer is offered: the next number in the style of the
    /// existing names ("Layer1" after "Layer0").
    QString NewLayerName() const;

    // Questions the buttons ask; tests replace them. An empty result
    // cancels.
    std::function<QString(const QString& title, const QString& label, const QString& text)> AskText;
    std::function<int32_t(const QString& title, const QString& label, const QList<int32_t>& ids)> AskLayer;
    std::function<bool(const QString& question)> Confirm;

signals:
    /// The drawing changed through the panel.
    void DrawingChanged();
    /// The user asked to move the selected shapes to the layer.
    void MoveSelectionRequested(int32_t layerId);

private:
    void OnItemChanged(QListWidgetItem* item);
    void OnCurrentRowChanged(int row);
    void AddClicked();
    void RenameClicked();
    void DeleteClicked();
    void MergeClicked();
    int32_t SelectedLayerId() const;

    TMyCAD& cad_;
    /// The layers deleted through the panel, by id.
    std::map<int32_t, LayerRec> deleted_;
    QListWidget* list_ = nullptr;
    QToolButton* delete_ = nullptr;
    QToolButton* merge_ = nullptr;
    QToolButton* rename_ = nullptr;
    bool refreshing_ = false;
};

} // namespace mycad::studio
