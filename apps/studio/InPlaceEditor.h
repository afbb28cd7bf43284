// Editing a shape's text where it is drawn: a multi-line editor laid over the
// shape on the canvas, at the canvas's zoom and in the shape's font. It opens
// on a text box the user has just drawn with the Text tool and on a double
// click of any shape (a text box edits its lines, other shapes their info
// text). Enter starts a new line; Escape or a click elsewhere finishes, and
// the finished edit is one step the Undo command takes back.
#pragma once

#include "cad/canvas/MyCAD.h"

#include <QObject>
#include <QPointer>

class QTextEdit;

namespace mycad::studio {

class TInPlaceEditor : public QObject {
    Q_OBJECT

public:
    /// Takes over the canvas's text entry: the canvas no longer asks for the
    /// text of a drawn box, the editor opens on it instead.
    explicit TInPlaceEditor(TMyCAD& cad, QObject* parent = nullptr);
    ~TInPlaceEditor() override;

    /// Opens the editor over a listed shape; a running edit is finished first.
    void Begin(TMyShape* shape);
    /// Takes the typed text into the shape (one undo step when it changed)
    /// and closes the editor. Nothing while no edit runs.
    void Finish();
    bool IsEditing() const { return shape_ != nullptr; }
    /// The editor widget while an edit runs, for tests; nullptr otherwise.
    QTextEdit* Editor() const;

signals:
    /// The edit changed the drawing.
    void TextChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The shape under a double click: a selected one first, else the topmost.
    TMyShape* ShapeAt(const TPoint& p);
    void Place();

    TMyCAD& cad_;
    /// Null once the canvas is gone (the window takes its children down
    /// in turn).
    QPointer<QWidget> cadAlive_;
    QTextEdit* editor_ = nullptr;
    TMyShape* shape_ = nullptr;
    TStringList before_;
    TShapeAddedEvent previousAdded_;
};

} // namespace mycad::studio
