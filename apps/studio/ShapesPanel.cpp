#include "apps/studio/ShapesPanel.h"

#include "apps/common/LibraryFiles.h"
#include "cad/canvas/TreeWalk.h"
#include "platform/Messages.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPixmap>
#include <QSettings>
#include <QToolButton>
#include <QVBoxLayout>

#include <unordered_set>

namespace mycad::studio {

namespace {

const QString kLibrariesKey = QStringLiteral("shapes/libraries");
constexpr int kTileSize = 64;

QByteArray StencilData(const QString& file, const QString& name) { return (file + u'\n' + name).toUtf8(); }

} // namespace

QMimeData* TStencilList::mimeData(const QList<QListWidgetItem*>& items) const
{
    if (items.isEmpty()) return nullptr;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kStencilMimeType), StencilData(LibraryFile, items.front()->text()));
    return data;
}

TShapesPanel::TShapesPanel(TMyCAD& cad, QSettings& settings, QWidget* parent)
    : QWidget(parent), cad_(cad), settings_(settings)
{
    AskText = [this](const QString& title, const QString& label, const QString& text) {
        return QInputDialog::getText(this, title, label, QLineEdit::Normal, text);
    };
    AskUpgrade = [this](const QString& question) {
        return QMessageBox::question(this, QStringLiteral("Shape library"), question) == QMessageBox::Yes;
    };
    AskOpenFileName = [] { return QString(); };

    chooser_ = new QComboBox(this);
    chooser_->setObjectName(QStringLiteral("shapesLibrary"));
    auto* open = new QToolButton(this);
    open->setText(QStringLiteral("Open…"));
    open->setToolTip(QStringLiteral("Open a shape library"));
    auto* close = new QToolButton(this);
    close->setText(QStringLiteral("Close"));
    close->setToolTip(QStringLiteral("Close the library shown"));
    auto* add = new QToolButton(this);
    add->setObjectName(QStringLiteral("shapesAddSelection"));
    add->setText(QStringLiteral("Add selection…"));
    add->setToolTip(QStringLiteral("Add the selected shapes to the library as a new stencil"));

    tiles_ = new TStencilList(this);
    tiles_->setObjectName(QStringLiteral("shapesTiles"));
    tiles_->setViewMode(QListView::IconMode);
    tiles_->setIconSize(QSize(kTileSize, kTileSize));
    tiles_->setGridSize(QSize(kTileSize + 40, kTileSize + 36));
    tiles_->setResizeMode(QListView::Adjust);
    tiles_->setMovement(QListView::Static);
    tiles_->setWordWrap(true);
    tiles_->setDragEnabled(true);
    tiles_->setDragDropMode(QAbstractItemView::DragOnly);
    tiles_->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open);
    buttons->addWidget(close);
    buttons->addStretch();
    buttons->addWidget(add);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(chooser_);
    layout->addLayout(buttons);
    layout->addWidget(tiles_, 1);

    connect(chooser_, &QComboBox::currentIndexChanged, this, [this](int) { Refresh(); });
    connect(open, &QToolButton::clicked, this, [this] {
        const QString file = AskOpenFileName();
        if (!file.isEmpty()) OpenLibrary(file);
    });
    connect(close, &QToolButton::clicked, this, [this] { CloseCurrentLibrary(); });
    connect(add, &QToolButton::clicked, this, [this] {
        const QString name = AskText(QStringLiteral("Add to library"), QStringLiteral("Stencil name:"), QString());
        if (!name.isEmpty()) AddSelection(name);
    });
    connect(tiles_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const QPoint at = ViewCentre ? ViewCentre() : QPoint(cad_.Width() / 2, cad_.Height() / 2);
        Place(item->text(), at.x(), at.y());
    });
    connect(tiles_, &QWidget::customContextMenuRequested, this, &TShapesPanel::ShowMenu);
}

TShapesPanel::~TShapesPanel() = default;

TShapesPanel::TOpenLibrary* TShapesPanel::Shown()
{
    const int i = chooser_->currentIndex();
    return i >= 0 && i < static_cast<int>(libraries_.size()) ? &libraries_[static_cast<size_t>(i)] : nullptr;
}

TLibManager* TShapesPanel::Current()
{
    TOpenLibrary* shown = Shown();
    return shown ? shown->Lib.get() : nullptr;
}

QStringList TShapesPanel::LibraryFiles() const
{
    QStringList files;
    for (const TOpenLibrary& open : libraries_) files.push_back(open.File);
    return files;
}

void TShapesPanel::SetCurrentLibrary(int index) { chooser_->setCurrentIndex(index); }

bool TShapesPanel::OpenLibrary(const QString& fileName)
{
    const QString file = QFileInfo(fileName).absoluteFilePath();
    for (size_t i = 0; i < libraries_.size(); ++i) {
        if (libraries_[i].File == file) {
            SetCurrentLibrary(static_cast<int>(i));
            return true;
        }
    }
    TOpenLibrary open{file, std::make_unique<TLibManager>(), false};
    bool upgraded = false;
    const app::TLibOpenResult result = app::OpenLibrary(*open.Lib, file, upgraded);
    if (result != app::TLibOpenResult::Opened) {
        ShowMessage(app::LibOpenErrorText(result, file));
        return false;
    }
    if (upgraded) {
        // The library reads in the current version now; its file keeps the
        // old one unless the user agrees to rewrite it.
        const QString question = QStringLiteral("%1 is a library of an older version. Upgrade the file to the "
                                                "current version? (Otherwise it opens read-only.)")
                                     .arg(QFileInfo(file).fileName());
        open.ReadOnly = !AskUpgrade(question) || !open.Lib->SaveToFile(file);
    }
    libraries_.push_back(std::move(open));
    chooser_->addItem(QFileInfo(file).completeBaseName() + (libraries_.back().ReadOnly ? QStringLiteral(" (read-only)") : QString()), file);
    SetCurrentLibrary(static_cast<int>(libraries_.size()) - 1);
    Remember();
    return true;
}

void TShapesPanel::OpenRemembered(const QStringList& shipped)
{
    const QStringList files =
        settings_.contains(kLibrariesKey) ? settings_.value(kLibrariesKey).toStringList() : shipped;
    for (const QString& file : files) {
        if (QFileInfo(file).isFile()) OpenLibrary(file);
    }
    if (!libraries_.empty()) SetCurrentLibrary(0);
}

void TShapesPanel::CloseCurrentLibrary()
{
    const int i = chooser_->currentIndex();
    if (i < 0) return;
    libraries_.erase(libraries_.begin() + i);
    chooser_->removeItem(i);
    Remember();
    Refresh();
}

void TShapesPanel::Remember()
{
    settings_.setValue(kLibrariesKey, LibraryFiles());
    settings_.sync();
}

void TShapesPanel::Refresh()
{
    tiles_->clear();
    TOpenLibrary* shown = Shown();
    tiles_->LibraryFile = shown ? shown->File : QString();
    if (!shown) return;
    for (const String& name : shown->Lib->GetCmbShapesNames()) {
        TBitmap tile;
        auto* item = new QListWidgetItem(name, tiles_);
        if (shown->Lib->GetCmbShapeImage(name, kTileSize, tile, clWhite)) {
            item->setIcon(QIcon(QPixmap::fromImage(tile.Image())));
        }
        item->setToolTip(name);
    }
}

int32_t TShapesPanel::Place(const QString& entry, int32_t x, int32_t y)
{
    TLibManager* lib = Current();
    if (!lib) return -1;
    const int32_t id = cad_.AddUserDefineShapefromLib(lib, entry, x, y);
    if (id >= 0) emit DrawingChanged();
    return id;
}

int32_t TShapesPanel::PlaceDropped(const QByteArray& data, int32_t x, int32_t y)
{
    const QString text = QString::fromUtf8(data);
    const qsizetype cut = text.indexOf(u'\n');
    if (cut < 0) return -1;
    const QString file = text.left(cut);
    for (size_t i = 0; i < libraries_.size(); ++i) {
        if (libraries_[i].File != file) continue;
        const int32_t id = cad_.AddUserDefineShapefromLib(libraries_[i].Lib.get(), text.mid(cut + 1), x, y);
        if (id >= 0) emit DrawingChanged();
        return id;
    }
    return -1;
}

bool TShapesPanel::Save(TOpenLibrary& open)
{
    if (open.Lib->SaveToFile(open.File)) return true;
    ShowMessage(QStringLiteral("%1: cannot write the library").arg(open.File));
    return false;
}

bool TShapesPanel::AddSelection(const QString& name)
{
    TOpenLibrary* shown = Shown();
    if (!shown || shown->ReadOnly || cad_.WorkingShapes.empty()) return false;
    TArrMyShapeRef shapes;
    std::unordered_set<const TMyShape*> seen;
    for (TMyShape* selected : cad_.WorkingShapes) {
        WalkShapeTree(cad_, *selected, TTreeOrder::ShapeFirst, [&](TMyShape& s) {
            if (seen.insert(&s).second) shapes.push_back(&s);
        }, [](const TMyShape&) { return true; });
    }
    if (!app::StoreEntry(*shown->Lib, name, shapes, TUserData())) return false;
    const bool saved = Save(*shown);
    Refresh();
    return saved;
}

bool TShapesPanel::RenameEntry(const QString& oldName, const QString& newName)
{
    TOpenLibrary* shown = Shown();
    if (!shown || shown->ReadOnly || newName.isEmpty() || !shown->Lib->RenameCmbShapeName(oldName, newName)) {
        return false;
    }
    const bool saved = Save(*shown);
    Refresh();
    return saved;
}

bool TShapesPanel::DeleteEntry(const QString& name)
{
    TOpenLibrary* shown = Shown();
    if (!shown || shown->ReadOnly || !shown->Lib->DeleteShape(name)) return false;
    const bool saved = Save(*shown);
    Refresh();
    return saved;
}

bool TShapesPanel::MoveEntry(const QString& name, bool up)
{
    TOpenLibrary* shown = Shown();
    if (!shown || shown->ReadOnly) return false;
    const std::vector<String> names = shown->Lib->GetCmbShapesNames();
    const auto at = std::find(names.begin(), names.end(), name);
    if (at == names.end()) return false;
    const auto index = at - names.begin();
    bool moved = false;
    if (up && index > 0) {
        moved = shown->Lib->MoveCmbShapeBeforeByName(name, names[static_cast<size_t>(index - 1)]);
    } else if (!up && index + 1 < static_cast<ptrdiff_t>(names.size())) {
        // Down one place: the next entry moves in front of this one.
        moved = shown->Lib->MoveCmbShapeBeforeByName(names[static_cast<size_t>(index + 1)], name);
    }
    if (!moved) return false;
    const bool saved = Save(*shown);
    Refresh();
    return saved;
}

QString TShapesPanel::SelectedEntry() const
{
    const QListWidgetItem* item = tiles_->currentItem();
    return item ? item->text() : QString();
}

void TShapesPanel::ShowMenu(const QPoint& at)
{
    QListWidgetItem* item = tiles_->itemAt(at);
    if (!item) return;
    tiles_->setCurrentItem(item);
    const QString name = item->text();
    QMenu menu(this);
    menu.addAction(QStringLiteral("Place in the middle of the view"), this, [this, item] { emit tiles_->itemActivated(item); });
    menu.addSeparator();
    menu.addAction(QStringLiteral("Rename…"), this, [this, name] {
        const QString newName = AskText(QStringLiteral("Rename stencil"), QStringLiteral("Name:"), name);
        if (!newName.isEmpty()) RenameEntry(name, newName);
    });
    menu.addAction(QStringLiteral("Move up"), this, [this, name] { MoveEntry(name, true); });
    menu.addAction(QStringLiteral("Move down"), this, [this, name] { MoveEntry(name, false); });
    menu.addAction(QStringLiteral("Delete"), this, [this, name] { DeleteEntry(name); });
    const TOpenLibrary* shown = Shown();
    for (QAction* a : menu.actions().mid(2)) a->setEnabled(shown && !shown->ReadOnly);
    menu.exec(tiles_->viewport()->mapToGlobal(at));
}

} // namespace mycad::studio
