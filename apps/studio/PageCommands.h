// MyCAD Studio's page commands: Page Setup, Print Preview, Print, the vector
// exports (SVG, PDF, WMF) and Copy as Picture, and the Page Setup dialog.
#pragma once

#include "cad/canvas/MyCAD.h"

#include <QDialog>

class QMenu;
class QPrinter;

namespace mycad::studio {

class TStudioWindow;

/// Adds the page commands to the window: Page Setup, Print Preview, Print
/// and Export as SVG, PDF and WMF to the File menu before its last entry,
/// Copy as Picture to the Edit menu.
void AddPageCommands(TStudioWindow& window, QMenu* file, QMenu* edit);

/// Which shapes File > Print puts on paper.
enum class TPrintRange { AllLayers, ChosenLayers, Selection };

/// Prints the window's drawing on a printer the user has set up (its paper
/// as chosen there): all layers, the given layer ids, or the selection.
bool PrintDrawing(TMyCAD& cad, QPrinter& printer, TPrintRange range, const std::vector<int32_t>& layerIds);

/// Edits the page of a drawing: size (standard or custom, in millimetres),
/// orientation, head and foot (text, font, alignment, distance), border and
/// its four distances, and whether the background colour prints. Apply()
/// writes the dialog's values to the drawing.
class TPageSetupDialog : public QDialog {
    Q_OBJECT

public:
    TPageSetupDialog(TMyCAD& cad, QWidget* parent = nullptr);
    void Apply();

private:
    struct TWidgets;
    TMyCAD& cad_;
    std::shared_ptr<TWidgets> w_;
};

} // namespace mycad::studio
