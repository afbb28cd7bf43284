#include "apps/studio/InPlaceEditor.h"

#include "cad/shapes/Text.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace mycad::studio {

namespace {

constexpr int kMinWidth = 120;
constexpr int kPadding = 4;

QColor QtColor(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

// The shape's font as the canvas draws it: its size is the character height
// in pixels at zoom 1.
QFont ZoomedFont(const TFont& font, double zoom)
{
    QFont f(font.Name());
    f.setPixelSize(std::max(1, RoundToInt(font.Size() * zoom)));
    const TFontStyles style = font.Style();
    f.setBold(style.Contains(TFontStyle::fsBold));
    f.setItalic(style.Contains(TFontStyle::fsItalic));
    f.setUnderline(style.Contains(TFontStyle::fsUnderline));
    f.setStrikeOut(style.Contains(TFontStyle::fsStrikeOut));
    return f;
}

Qt::Alignment AlignmentOf(TAlignment a)
{
    switch (a) {
    case TAlignment::taLeftJustify: return Qt::AlignLeft;
    case TAlignment::taRightJustify: return Qt::AlignRight;
    case TAlignment::taCenter: return Qt::AlignHCenter;
    }
    return Qt::AlignLeft;
}

QString Joined(const TStringList& lines)
{
    QStringList all;
    for (int32_t i = 0; i < lines.Count(); ++i) all << lines[i];
    return all.join(u'\n');
}

// The text a user edits on a shape: a text box's lines (or its Info while it
// shows that), another shape's info text, or its multi-line info when the
// info text is empty.
TStringList EditedLines(const TMyShape& shape)
{
    TStringList lines;
    if (const auto* text = dynamic_cast<const TMyText*>(&shape)) {
        if (text->Lines().Count() > 0 || text->Info().isEmpty()) return text->Lines();
    } else if (shape.Info().isEmpty() && shape.MultiInfo().Count() > 0) {
        return shape.MultiInfo();
    }
    lines.Add(shape.Info());
    return lines;
}

// Takes edited lines back: a text box's lines replace its Info; another
// shape shows one line as its info text and several as its multi-line info.
void TakeEditedLines(TMyShape& shape, TStringList lines)
{
    while (lines.Count() > 1 && lines[lines.Count() - 1].isEmpty()) lines.Delete(lines.Count() - 1);
    if (auto* text = dynamic_cast<TMyText*>(&shape)) {
        if (text->Lines().Count() == 0) text->SetInfo(QString());
        if (lines.Count() == 1 && lines[0].isEmpty()) lines.Clear();
        text->SetLines(lines);
    } else if (lines.Count() <= 1) {
        shape.SetInfo(lines[0]);
        shape.MultiInfo().Clear();
    } else {
        shape.SetInfo(QString());
        shape.MultiInfo().Assign(lines);
    }
}

bool IsListed(const TMyCAD& cad, const TMyShape* shape)
{
    return std::any_of(cad.MyShapes.begin(), cad.MyShapes.end(), [shape](const auto& s) { return s.get() == shape; });
}

} // namespace

TInPlaceEditor::TInPlaceEditor(TMyCAD& cad, QObject* parent) : QObject(parent), cad_(cad), cadAlive_(&cad)
{
    cad_.SetDisableTextInput(true);
    cad_.installEventFilter(this);
    previousAdded_ = cad_.OnShapeAdded;
    cad_.OnShapeAdded = [this](TMyShape*& shape, int32_t count) {
        if (previousAdded_) previousAdded_(shape, count);
        // A box just drawn with the Text tool gets its text typed in place,
        // once the gesture that drew it is over.
        if (cad_.ShapeTool() != TDrawTool::SpText || cad_.ActionTool() != TActionTools::dtDrawing) return;
        TMyShape* added = shape;
        QTimer::singleShot(0, this, [this, added] {
            if (IsListed(cad_, added)) Begin(added);
        });
    };
}

TInPlaceEditor::~TInPlaceEditor()
{
    if (!cadAlive_) return;
    cad_.removeEventFilter(this);
    cad_.OnShapeAdded = previousAdded_;
}

QTextEdit* TInPlaceEditor::Editor() const { return shape_ ? editor_ : nullptr; }

void TInPlaceEditor::Begin(TMyShape* shape)
{
    Finish();
    if (!shape) return;
    shape_ = shape;
    const TStringList text = EditedLines(*shape);
    before_ = text;
    editor_ = new QTextEdit(&cad_);
    editor_->setObjectName(QStringLiteral("inPlaceEditor"));
    editor_->setAcceptRichText(false);
    editor_->setFrameShape(QFrame::Box);
    editor_->setLineWrapMode(QTextEdit::NoWrap);
    editor_->setFont(ZoomedFont(shape->Font(), cad_.Zoom()));
    QPalette palette = editor_->palette();
    palette.setColor(QPalette::Text, QtColor(shape->Font().Color()));
    palette.setColor(QPalette::Base, QColor(255, 255, 255, 230));
    editor_->setPalette(palette);
    editor_->setPlainText(Joined(text));
    const auto* box = dynamic_cast<const TMyText*>(shape);
    const Qt::Alignment align = AlignmentOf(box ? box->HAlignment() : TAlignment::taCenter);
    editor_->selectAll();
    editor_->setAlignment(align);
    editor_->moveCursor(QTextCursor::End);
    editor_->installEventFilter(this);
    Place();
    editor_->show();
    editor_->setFocus(Qt::OtherFocusReason);
}

void TInPlaceEditor::Place()
{
    const double zoom = cad_.Zoom();
    const QFontMetrics metrics(editor_->font());
    const int lineHeight = metrics.height();
    const int lines = std::max(1, editor_->document()->blockCount());
    const TMyRect box = cad_.GetShapesLTRBinZoom(shape_);
    QRect r;
    if (dynamic_cast<const TMyText*>(shape_)) {
        // Over the text box itself.
        r = QRect(QPoint(RoundToInt(box.Left), RoundToInt(box.Top)), QPoint(RoundToInt(box.Right), RoundToInt(box.Bottom)));
    } else {
        // Over the info text, which is centred on its anchor.
        const int w = std::max(kMinWidth, RoundToInt(box.Right - box.Left));
        const int x = RoundToInt(shape_->TextOutPoint.X * zoom) - w / 2;
        const int y = RoundToInt(shape_->TextOutPoint.Y * zoom) - lineHeight * lines / 2;
        r = QRect(x, y, w, 0);
    }
    r.setWidth(std::max(r.width(), kMinWidth));
    r.setHeight(std::max(r.height(), lineHeight * (lines + 1) + 2 * kPadding));
    editor_->setGeometry(r);
}

void TInPlaceEditor::Finish()
{
    if (!shape_ || !editor_) return;
    TMyShape* shape = shape_;
    shape_ = nullptr;
    QTextEdit* editor = editor_;
    editor_ = nullptr;
    const QString typed = editor->toPlainText();
    editor->removeEventFilter(this);
    editor->hide();
    editor->deleteLater();
    cad_.setFocus(Qt::OtherFocusReason);
    // The drawing may have changed under the editor (a file opened).
    if (typed == Joined(before_) || !IsListed(cad_, shape)) return;
    TStringList lines;
    for (const QString& line : typed.split(u'\n')) lines.Add(line);
    cad_.PushtoUndoRedoShapeList({shape}, ACT_CHANGE);
    TakeEditedLines(*shape, lines);
    cad_.Invalidate();
    emit TextChanged();
}

TMyShape* TInPlaceEditor::ShapeAt(const TPoint& p)
{
    for (TMyShape* s : cad_.GetSelectedShapes()) {
        if (s->IsClickedMe(cad_.Canvas(), p)) return s;
    }
    for (auto it = cad_.MyShapes.rbegin(); it != cad_.MyShapes.rend(); ++it) {
        TMyShape* s = it->get();
        if (s->Visible() && !s->HasParentShape() && cad_.IsVisibleLayerByID(s->LayerId) &&
            s->IsClickedMe(cad_.Canvas(), p)) {
            return s;
        }
    }
    return nullptr;
}

bool TInPlaceEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == editor_ && shape_) {
        if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
            // Escape finishes the edit instead of reaching the window's commands.
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                event->accept();
                if (event->type() == QEvent::KeyPress) Finish();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            Finish();
        }
        return false;
    }
    if (watched != &cad_) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // A click elsewhere on the canvas ends the edit; the canvas sees the
        // click as usual.
        Finish();
        break;
    case QEvent::Resize:
        Finish();
        break;
    case QEvent::MouseButtonDblClick: {
        const auto* e = static_cast<QMouseEvent*>(event);
        const TActionTools tool = cad_.ActionTool();
        if (e->button() != Qt::LeftButton ||
            (tool != TActionTools::dtSelecting && tool != TActionTools::dtRotateSelecting)) {
            break;
        }
        const TPoint p{static_cast<int32_t>(std::floor(e->position().x())),
                       static_cast<int32_t>(std::floor(e->position().y()))};
        if (TMyShape* shape = ShapeAt(p)) {
            QTimer::singleShot(0, this, [this, shape] {
                if (IsListed(cad_, shape)) Begin(shape);
            });
        }
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace mycad::studio
