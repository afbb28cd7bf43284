// Edit > Cut, Copy, Paste and Duplicate, and File > Insert Drawing as Block.
// Copies travel through the system clipboard as shapes, so a paste in
// another Studio window (or another program using the canvas) gets the
// shapes themselves and other programs a picture.
#pragma once

#include "cad/io/BlockFile.h"

#include <QString>

#include <functional>
#include <optional>

class QAction;
class QWidget;

namespace mycad::studio {

class TStudioWindow;

/// Creates the window's "editCut", "editCopy", "editPaste" and
/// "editDuplicate" commands (Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+D) and lets copies
/// carry shapes through the system clipboard.
void MakeClipboardActions(TStudioWindow& window);

/// The "fileInsertBlock" command: asks for a drawing and how its layers
/// join, then inserts it.
QAction* MakeInsertBlockAction(TStudioWindow& window);

/// How the layers of an inserted drawing join; nullopt when the user
/// cancels. Tests replace it; by default it asks with a dialog.
extern std::function<std::optional<TBlockLayerMode>(QWidget* parent)> AskBlockLayerMode;

/// Inserts the drawing file as a block, selected, as one undo step; false,
/// after telling the user, when it is no drawing or does not read.
bool InsertBlock(TStudioWindow& window, const QString& fileName, TBlockLayerMode mode);

} // namespace mycad::studio
