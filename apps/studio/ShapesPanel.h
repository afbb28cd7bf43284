// The Shapes panel: shape libraries opened side by side (and remembered),
// each entry a named preview tile. A tile dragged onto the canvas places its
// entry where it is dropped; activating a tile (double click, Enter) places
// it in the middle of the view. The selection can be added to a library as
// a new entry, and entries renamed, moved and deleted; every change is
// written to the library's file at once. Libraries of older versions are
// offered an upgrade when they open.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "cad/io/LibManager.h"

#include <QListWidget>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QSettings;

namespace mycad::studio {

/// The tiles: drags carry the library's file and the entry's name.
class TStencilList : public QListWidget {
public:
    using QListWidget::QListWidget;
    /// The library file the tiles come from.
    QString LibraryFile;
    /// What a drag of the tiles carries (kStencilMimeType).
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
};

/// What a dragged tile carries: "file\nname" as UTF-8.
inline constexpr const char* kStencilMimeType = "application/x-mycad-stencil";

class TShapesPanel : public QWidget {
    Q_OBJECT

public:
    TShapesPanel(TMyCAD& cad, QSettings& settings, QWidget* parent = nullptr);
    ~TShapesPanel() override;

    /// Opens a library (or shows it when it is open already) and remembers
    /// it; an older version is upgraded when AskUpgrade agrees (the file is
    /// rewritten) and otherwise shown read-only. False, with a message, when
    /// it cannot be read.
    bool OpenLibrary(const QString& fileName);
    /// Opens the remembered libraries, or the shipped ones the first time.
    void OpenRemembered(const QStringList& shipped);
    void CloseCurrentLibrary();
    QStringList LibraryFiles() const;
    void SetCurrentLibrary(int index);
    /// The library shown; nullptr when none is open.
    TLibManager* Current();

    /// Places the entry of the library shown centred on the device point.
    /// The new shape's id, or -1.
    int32_t Place(const QString& entry, int32_t x, int32_t y);
    /// Places the entry a dragged tile carries; -1 for other data.
    int32_t PlaceDropped(const QByteArray& data, int32_t x, int32_t y);
    /// Stores the selected shapes (with their members) as an entry of the
    /// library shown, replacing one of that name. False when there is no
    /// selection, the library is read-only or the file cannot be written.
    bool AddSelection(const QString& name);
    bool RenameEntry(const QString& oldName, const QString& newName);
    bool DeleteEntry(const QString& name);
    /// Moves the entry one place up (or down).
    bool MoveEntry(const QString& name, bool up);

    TStencilList& Tiles() { return *tiles_; }
    /// Reads the entries of the library shown again.
    void Refresh();

    /// The device point in the middle of the view, for placing by a click.
    std::function<QPoint()> ViewCentre;
    // Questions; tests replace them. An empty text cancels.
    std::function<QString(const QString& title, const QString& label, const QString& text)> AskText;
    std::function<bool(const QString& question)> AskUpgrade;
    std::function<QString()> AskOpenFileName;

signals:
    /// A stencil was placed: the drawing changed.
    void DrawingChanged();

private:
    struct TOpenLibrary {
        QString File;
        std::unique_ptr<TLibManager> Lib;
        bool ReadOnly = false;
    };
    void Remember();
    bool Save(TOpenLibrary& open);
    TOpenLibrary* Shown();
    QString SelectedEntry() const;
    void ShowMenu(const QPoint& at);

    TMyCAD& cad_;
    QSettings& settings_;
    std::vector<TOpenLibrary> libraries_;
    QComboBox* chooser_ = nullptr;
    TStencilList* tiles_ = nullptr;
};

} // namespace mycad::studio
