// File > Export as DXF: asks where to write the drawing and whether text
// shapes go out as text (which CAD programs can edit) or as the outlines of
// their glyphs (which cutting machines follow), then writes the file.
#pragma once

#include <QDialog>

#include <functional>
#include <optional>

class QAction;
class QRadioButton;

namespace mycad::studio {

class TStudioWindow;

/// The choice between text and outlines.
class TDxfExportDialog : public QDialog {
public:
    explicit TDxfExportDialog(QWidget* parent = nullptr);
    bool TextOutlines() const;

private:
    QRadioButton* outlines_ = nullptr;
};

/// Asks for the choice: true for outlines, false for text, nullopt when the
/// user cancels. Tests replace it; by default it shows TDxfExportDialog.
extern std::function<std::optional<bool>(QWidget* parent)> AskDxfTextOutlines;

/// The "fileExportDxf" command of the window, for its File menu.
QAction* MakeDxfExportAction(TStudioWindow& window);

/// Writes the drawing as DXF; false, after telling the user, when the file
/// cannot be written.
bool ExportDxf(TStudioWindow& window, const QString& fileName, bool textOutlines);

} // namespace mycad::studio
