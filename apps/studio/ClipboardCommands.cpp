#include "apps/studio/ClipboardCommands.h"

#include "apps/common/DrawingFiles.h"
#include "apps/studio/StudioWindow.h"
#include "cad/io/ClipboardTransfer.h"
#include "platform/Messages.h"

#include <QAction>
#include <QInputDialog>

namespace mycad::studio {

std::function<std::optional<TBlockLayerMode>(QWidget* parent)> AskBlockLayerMode = [](QWidget* parent) {
    const QStringList choices{QStringLiteral("Merge into the current layer"), QStringLiteral("Import its layers")};
    bool ok = false;
    const QString choice = QInputDialog::getItem(parent, QStringLiteral("Insert Drawing as Block"),
                                                 QStringLiteral("The drawing's shapes:"), choices, 0, false, &ok);
    if (!ok) return std::optional<TBlockLayerMode>();
    return std::optional<TBlockLayerMode>(choice == choices[1] ? TBlockLayerMode::Import : TBlockLayerMode::Merge);
};

namespace {

void Make(TStudioWindow& window, const char* name, const QString& text, const QString& tip, const QKeySequence& key,
          void (TMyCAD::*command)())
{
    auto* action = new QAction(text, &window);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    action->setStatusTip(tip);
    QObject::connect(action, &QAction::triggered, &window, [&window, command] {
        TMyCAD& cad = window.Cad();
        const size_t shapes = cad.MyShapes.size();
        const int32_t steps = cad.GetUndoStepsCount();
        (cad.*command)();
        cad.Invalidate();
        // Copying changes nothing in the drawing; everything else does.
        if (cad.MyShapes.size() != shapes || cad.GetUndoStepsCount() != steps) {
            window.MarkChanged();
        } else {
            window.SyncUi();
        }
    });
}

} // namespace

void MakeClipboardActions(TStudioWindow& window)
{
    InstallShapeTransfer();
    Make(window, "editCut", QStringLiteral("Cu&t"), QStringLiteral("Move the selected shapes to the clipboard"),
         QKeySequence::Cut, &TMyCAD::Cut);
    Make(window, "editCopy", QStringLiteral("&Copy"), QStringLiteral("Copy the selected shapes to the clipboard"),
         QKeySequence::Copy, &TMyCAD::Copy);
    Make(window, "editPaste", QStringLiteral("&Paste"),
         QStringLiteral("Add the shapes on the clipboard, a little right of and below where they were"),
         QKeySequence::Paste, &TMyCAD::Paste);
    Make(window, "editDuplicate", QStringLiteral("D&uplicate"),
         QStringLiteral("Add a copy of the selected shapes without using the clipboard"), QKeySequence(QStringLiteral("Ctrl+D")),
         &TMyCAD::Duplicate);
}

QAction* MakeInsertBlockAction(TStudioWindow& window)
{
    auto* action = new QAction(QStringLiteral("Insert Drawing as &Block\u2026"), &window);
    action->setObjectName(QStringLiteral("fileInsertBlock"));
    action->setStatusTip(QStringLiteral("Add the shapes of another drawing to this one"));
    QObject::connect(action, &QAction::triggered, &window, [&window] {
        const QString file = window.AskOpenFileName(QStringLiteral("Insert Drawing as Block"),
                                                    QStringLiteral("MyCAD drawings (*.zed);;All files (*)"));
        if (file.isEmpty()) return;
        if (const std::optional<TBlockLayerMode> mode = AskBlockLayerMode(&window)) InsertBlock(window, file, *mode);
    });
    return action;
}

bool InsertBlock(TStudioWindow& window, const QString& fileName, TBlockLayerMode mode)
{
    const app::TOpenResult result = app::InsertDrawingAsBlock(window.Cad(), fileName, mode);
    if (result != app::TOpenResult::Opened) {
        ShowMessage(app::OpenErrorText(result, fileName) + QStringLiteral("; nothing was inserted."));
        return false;
    }
    window.Layers().Refresh();
    window.Cad().Invalidate();
    window.MarkChanged();
    return true;
}

} // namespace mycad::studio
