#include "apps/studio/LayersPanel.h"

#include "apps/studio/Icons.h"
#include "cad/canvas/UndoList.h"
#include "platform/Messages.h"

#include <QHBoxLayout>
#include <QInputDialog>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QToolButton>
#include <QVBoxLayout>

namespace mycad::studio {

namespace {

constexpr int kIdRole = Qt::UserRole + 1;

QToolButton* Button(QWidget* parent, const QString& icon, const QString& tip)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(icon);
    b->setIcon(CommandIcon(icon));
    b->setToolTip(tip);
    b->setAutoRaise(true);
    b->setIconSize(QSize(20, 20));
    return b;
}

} // namespace

TLayersPanel::TLayersPanel(TMyCAD& cad, QWidget* parent) : QWidget(parent), cad_(cad)
{
    list_ = new QListWidget(this);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setToolTip(QStringLiteral("Tick a layer to show it; select it to draw on it"));
    auto* add = Button(this, QStringLiteral("layeradd"), QStringLiteral("Add a layer"));
    rename_ = Button(this, QStringLiteral("layerrename"), QStringLiteral("Rename the selected layer"));
    delete_ = Button(this, QStringLiteral("layerdelete"), QStringLiteral("Delete the selected layer and its shapes"));
    merge_ = Button(this, QStringLiteral("layermerge"), QStringLiteral("Merge the selected layer into another"));

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(2);
    buttons->addWidget(add);
    buttons->addWidget(rename_);
    buttons->addWidget(merge_);
    buttons->addStretch(1);
    buttons->addWidget(delete_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        ContextMenu(list_->indexAt(at).row())->popup(list_->viewport()->mapToGlobal(at));
    });
    connect(list_, &QListWidget::itemChanged, this, &TLayersPanel::OnItemChanged);
    connect(list_, &QListWidget::currentRowChanged, this, &TLayersPanel::OnCurrentRowChanged);
    connect(add, &QToolButton::clicked, this, &TLayersPanel::AddClicked);
    connect(rename_, &QToolButton::clicked, this, &TLayersPanel::RenameClicked);
    connect(delete_, &QToolButton::clicked, this, &TLayersPanel::DeleteClicked);
    connect(merge_, &QToolButton::clicked, this, &TLayersPanel::MergeClicked);

    AskText = [this](const QString& title, const QString& label, const QString& text) {
        bool ok = false;
        const QString answer = QInputDialog::getText(this, title, label, QLineEdit::Normal, text, &ok);
        return ok ? answer.trimmed() : QString();
    };
    AskLayer = [this](const QString& title, const QString& label, const QList<int32_t>& ids) -> int32_t {
        QStringList names;
        for (const int32_t id : ids) names << cad_.GetLayerNameByID(id);
        bool ok = false;
        const QString chosen = QInputDialog::getItem(this, title, label, names, 0, false, &ok);
        if (!ok) return -1;
        const qsizetype i = names.indexOf(chosen);
        return i < 0 ? -1 : ids.at(i);
    };
    Confirm = [this](const QString& question) {
        return QMessageBox::question(this, QStringLiteral("MyCAD Studio"), question) == QMessageBox::Yes;
    };
    Refresh();
}

void TLayersPanel::Refresh()
{
    refreshing_ = true;
    list_->clear();
    for (const LayerRec& layer : cad_.MyLayers) {
        const int count = cad_.GetShapesCountInALayer(layer.LayerId);
        auto* item = new QListWidgetItem(QStringLiteral("%1  (%2)").arg(layer.LayerName).arg(count), list_);
        item->setData(kIdRole, layer.LayerId);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(layer.Visible ? Qt::Checked : Qt::Unchecked);
        item->setToolTip(QStringLiteral("%1: layer %2, %3 shapes").arg(layer.LayerName).arg(layer.LayerId).arg(count));
        if (layer.LayerId == cad_.CurrentLayerId()) {
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
            list_->setCurrentItem(item);
        }
    }
    const bool several = cad_.GetLayersCount() > 1;
    delete_->setEnabled(several);
    merge_->setEnabled(several);
    rename_->setEnabled(cad_.GetLayersCount() > 0);
    refreshing_ = false;
}

int32_t TLayersPanel::SelectedLayerId() const
{
    const QListWidgetItem* item = list_->currentItem();
    return item ? item->data(kIdRole).toInt() : cad_.CurrentLayerId();
}

QString TLayersPanel::NewLayerName() const
{
    // The first name that ends in a number gives the stem; the new name
    // continues after the highest number of that stem.
    static const QRegularExpression numbered(QStringLiteral("^(.*?)(\\d+)$"));
    QString stem;
    int highest = -1;
    for (const LayerRec& layer : cad_.MyLayers) {
        const QRegularExpressionMatch m = numbered.match(layer.LayerName);
        if (!m.hasMatch()) continue;
        if (stem.isNull()) stem = m.captured(1);
        if (m.captured(1) == stem) highest = std::max(highest, m.captured(2).toInt());
    }
    if (stem.isNull()) {
        stem = QStringLiteral("Layer");
        highest = cad_.GetLayersCount() - 1;
    }
    for (int n = highest + 1;; ++n) {
        const QString name = stem + QString::number(n);
        if (cad_.GetLayerIdByName(name) < 0) return name;
    }
}

QMenu* TLayersPanel::ContextMenu(int row)
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QListWidgetItem* item = row >= 0 ? list_->item(row) : nullptr;
    const int32_t id = item ? item->data(kIdRole).toInt() : -1;
    menu->addAction(CommandIcon(QStringLiteral("layeradd")), QStringLiteral("&New Layer\u2026"), this,
                    &TLayersPanel::AddClicked);
    if (id < 0) return menu;
    const QString name = cad_.GetLayerNameByID(id);
    const bool several = cad_.GetLayersCount() > 1;
    menu->addAction(CommandIcon(QStringLiteral("layerrename")), QStringLiteral("&Rename \u201c%1\u201d\u2026").arg(name),
                    this, [this, id] {
                        list_->setCurrentRow(cad_.GetLayerNoById(id));
                        RenameClicked();
                    });
    menu->addAction(CommandIcon(QStringLiteral("layermerge")), QStringLiteral("&Merge Into\u2026"), this, [this, id] {
        list_->setCurrentRow(cad_.GetLayerNoById(id));
        MergeClicked();
    })->setEnabled(several);
    menu->addAction(CommandIcon(QStringLiteral("layerdelete")), QStringLiteral("&Delete"), this, [this, id] {
        list_->setCurrentRow(cad_.GetLayerNoById(id));
        DeleteClicked();
    })->setEnabled(several);
    menu->addSeparator();
    const bool visible = cad_.IsVisibleLayerByID(id);
    menu->addAction(visible ? QStringLiteral("&Hide") : QStringLiteral("&Show"), this,
                    [this, id, visible] { SetLayerVisible(id, !visible); });
    menu->addAction(QStringLiteral("Draw on This &Layer"), this, [this, id] { SetCurrentLayer(id); })
        ->setEnabled(id != cad_.CurrentLayerId());
    QAction* move = menu->addAction(QStringLiteral("Move &Selection Here"), this,
                                    [this, id] { emit MoveSelectionRequested(id); });
    move->setObjectName(QStringLiteral("layerMoveSelection"));
    move->setEnabled(!cad_.WorkingShapes.empty());
    return menu;
}

int32_t TLayersPanel::AddLayer(const QString& name)
{
    if (name.trimmed().isEmpty()) return -1;
    const int32_t id = cad_.NewLayer(name.trimmed(), true);
    if (id < 0) {
        ShowMessage(QStringLiteral("There is already a layer named \"%1\".").arg(name.trimmed()));
        return -1;
    }
    Refresh();
    emit DrawingChanged();
    return id;
}

bool TLayersPanel::RenameLayer(int32_t id, const QString& name)
{
    const QString clean = name.trimmed();
    if (clean.isEmpty() || cad_.GetLayerNoById(id) < 0) return false;
    if (cad_.GetLayerNameByID(id) == clean) return true;
    if (cad_.GetLayerIdByName(clean) >= 0) {
        ShowMessage(QStringLiteral("There is already a layer named \"%1\".").arg(clean));
        return false;
    }
    cad_.SetLayerNameByID(clean, id);
    Refresh();
    emit DrawingChanged();
    return true;
}

bool TLayersPanel::DeleteLayer(int32_t id)
{
    const int32_t no = cad_.GetLayerNoById(id);
    if (cad_.GetLayersCount() < 2 || no < 0) return false;
    deleted_[id] = cad_.MyLayers[static_cast<size_t>(no)];
    const bool done = cad_.DeleteLayerByID(id);
    Refresh();
    emit DrawingChanged();
    return done;
}

bool TLayersPanel::MergeLayers(int32_t keptId, int32_t mergedId)
{
    const bool done = cad_.MergeLayers(keptId, mergedId);
    if (!done) return false;
    cad_.Invalidate();
    Refresh();
    emit DrawingChanged();
    return true;
}

void TLayersPanel::SetLayerVisible(int32_t id, bool visible)
{
    if (visible) {
        cad_.VisibleLayerByID(id);
    } else {
        // Hidden shapes cannot stay selected: their handles would float.
        cad_.DeSelectedAllShapesByCode();
        cad_.InVisibleLayerByID(id);
    }
    Refresh();
    emit DrawingChanged();
}

bool TLayersPanel::RestoreLayersForUndo()
{
    const TArrSavedShape& steps = cad_.UndoRedoShapes;
    if (steps.empty()) return false;
    const int32_t newest = steps.back().SavedUndoRedoId;
    bool any = false;
    for (auto it = steps.rbegin(); it != steps.rend() && it->SavedUndoRedoId == newest; ++it) {
        if (it->SavedAction != ACT_DELETE || !it->SavedShape) continue;
        const int32_t id = it->SavedShape->LayerId;
        const auto layer = deleted_.find(id);
        if (layer == deleted_.end() || cad_.GetLayerNoById(id) >= 0) continue;
        if (cad_.GetLayersCount() >= TMyCAD::kMaxLayers) break;
        cad_.MyLayers.push_back(layer->second);
        any = true;
    }
    if (any) {
        cad_.Invalidate();
        Refresh();
    }
    return any;
}

void TLayersPanel::SetCurrentLayer(int32_t id)
{
    if (id == cad_.CurrentLayerId()) return;
    cad_.SetCurrentLayerId(id);
    cad_.Invalidate();
    Refresh();
}

void TLayersPanel::OnItemChanged(QListWidgetItem* item)
{
    if (refreshing_ || !item) return;
    const int32_t id = item->data(kIdRole).toInt();
    const bool visible = item->checkState() == Qt::Checked;
    if (visible != cad_.IsVisibleLayerByID(id)) SetLayerVisible(id, visible);
}

void TLayersPanel::OnCurrentRowChanged(int row)
{
    if (refreshing_ || row < 0) return;
    const int32_t id = list_->item(row)->data(kIdRole).toInt();
    // Deferred: the list is in the middle of changing its current item.
    QMetaObject::invokeMethod(this, [this, id] { SetCurrentLayer(id); }, Qt::QueuedConnection);
}

void TLayersPanel::AddClicked()
{
    const QString name = AskText(QStringLiteral("New layer"), QStringLiteral("Name of the new layer:"), NewLayerName());
    if (!name.isEmpty()) AddLayer(name);
}

void TLayersPanel::RenameClicked()
{
    const int32_t id = SelectedLayerId();
    if (id < 0) return;
    const QString name =
        AskText(QStringLiteral("Rename layer"), QStringLiteral("New name of the layer:"), cad_.GetLayerNameByID(id));
    if (!name.isEmpty()) RenameLayer(id, name);
}

void TLayersPanel::DeleteClicked()
{
    const int32_t id = SelectedLayerId();
    if (id < 0 || cad_.GetLayersCount() < 2) return;
    const int count = cad_.GetShapesCountInALayer(id);
    const QString question =
        count == 0 ? QStringLiteral("Delete the layer \"%1\"?").arg(cad_.GetLayerNameByID(id))
                   : QStringLiteral("Delete the layer \"%1\" and its %2 shapes?").arg(cad_.GetLayerNameByID(id)).arg(count);
    if (Confirm(question)) DeleteLayer(id);
}

void TLayersPanel::MergeClicked()
{
    const int32_t merged = SelectedLayerId();
    QList<int32_t> others;
    for (const LayerRec& layer : cad_.MyLayers) {
        if (layer.LayerId != merged) others << layer.LayerId;
    }
    if (merged < 0 || others.isEmpty()) return;
    const int32_t kept =
        AskLayer(QStringLiteral("Merge layers"),
                 QStringLiteral("Move the shapes of \"%1\" to the layer:").arg(cad_.GetLayerNameByID(merged)), others);
    if (kept >= 0) MergeLayers(kept, merged);
}

} // namespace mycad::studio
