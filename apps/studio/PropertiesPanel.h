// The Properties panel: the look and the state of the selected shapes (pen,
// brush, gradient, texts, angle, lock and visibility, the arrow heads of
// lines, the text and ticks of dimension lines). It shows the first selected
// shape; a change applies to every selected shape as one step the Undo
// command takes back.
#pragma once

#include "cad/canvas/MyCAD.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QToolButton;

namespace mycad {
class TMyRuleLine;
}

namespace mycad::studio {

class TFontGroup;
class TPictureGroup;
class TTextBoxGroup;

/// A button that shows a colour and asks for a new one when clicked.
class TColorButton : public QWidget {
    Q_OBJECT

public:
    /// compact: the swatch alone, the colour's code as its tip.
    explicit TColorButton(QWidget* parent = nullptr, bool compact = false);
    TColor Color() const { return color_; }
    /// Shows the colour without reporting a change.
    void SetColor(TColor color);
    /// Shows that the selected shapes differ in this colour.
    void SetMixed();
    /// Asks for a colour; tests replace it. nullopt cancels.
    std::function<std::optional<TColor>(TColor current)> AskColor;
    QToolButton& Button() { return *button_; }

signals:
    void ColorChosen(TColor color);

private:
    QToolButton* button_ = nullptr;
    TColor color_ = clBlack;
    bool compact_ = false;
};

class TPropertiesPanel : public QWidget {
    Q_OBJECT

public:
    explicit TPropertiesPanel(TMyCAD& cad, QWidget* parent = nullptr);

    /// Shows the selection as it is now.
    void Refresh();
    /// The unit of the position and size fields: units per document pixel
    /// and the unit's short name.
    void SetLengthUnit(double unitsPerPixel, const QString& name, int decimals);
    /// The name users know a shape's class by ("Rectangle", "Freehand line").
    static QString ClassTitle(const TMyShape& shape);

    // Each applies to every selected shape as one undo step and reports a
    // change of the drawing; nothing happens without a selection. The
    // widgets call them; so can tests. Visibility is the exception: the
    // canvas's undo snapshots do not hold it, so it is no undo step.
    void SetPenColor(TColor color);
    void SetPenWidth(int width);
    void SetPenStyle(TPenStyle style);
    void SetBrushColor(TColor color);
    void SetBrushStyle(TBrushStyle style);
    void SetGradientStyle(TGradientStyle style);
    void SetGradientBegin(TColor color);
    void SetGradientEnd(TColor color);
    void SetCaption(const QString& text);
    void SetInfo(const QString& text);
    /// Turns the shapes to this angle, in degrees clockwise.
    void SetAngleDegrees(double degrees);
    void SetLocked(bool locked);
    void SetShapeVisible(bool visible);
    void SetArrowStyle(TArrowStyle style);
    /// The route of the selected connectors: legs or one straight segment.
    void SetLinkLineDrawStyle(TLinkLineDrawStyle style);
    /// Hops where connectors cross, for the whole drawing.
    void SetHops(bool on);
    void SetLinkRouter(TLinkRouter router);
    // Dimension (rule) lines only.
    void SetShowUserInfo(bool show);
    void SetUserInfo(const QString& text);
    void SetTickStyle(TTickStyle style);
    /// Moves the selection so that its bounding box's left and top edge lie
    /// at x, y (in the length unit).
    void SetPosition(double x, double y);
    /// Scales the selection about its box's left-top corner to the width and
    /// height (in the length unit).
    void SetSize(double width, double height);

    // The widgets, for tests.
    TColorButton& PenColorButton() { return *penColor_; }
    QSpinBox& PenWidthBox() { return *penWidth_; }
    QComboBox& BrushStyleBox() { return *brushStyle_; }
    QLineEdit& InfoEdit() { return *info_; }
    QLabel& Title() { return *title_; }
    TFontGroup& FontGroup() { return *fontGroup_; }
    TTextBoxGroup& TextGroup() { return *textGroup_; }
    TPictureGroup& PictureGroup() { return *pictureGroup_; }
    QDoubleSpinBox& Field(char which); ///< 'x', 'y', 'w' or 'h'
    QWidget& Section(const QString& objectName);

signals:
    void DrawingChanged();
    /// A value was entered (Enter, or a choice made): the drawing may take
    /// the keyboard back.
    void EditingDone();
    void MoveToLayerRequested(int32_t layerId);

private:
    /// Records the selection for undo (unless the change is one the canvas's
    /// snapshots do not hold), changes each selected shape, repaints.
    void Apply(const std::function<void(TMyShape&)>& change, bool recordUndo = true);
    TMyShape* Shown() const;
    void ApplyToRuleLines(const std::function<void(TMyRuleLine&)>& change);
    /// The selection's bounding box in document units.
    TMyRect SelectionBox() const;
    void ShowGeometry();
    /// Shows what all selected shapes share; values where they differ stay
    /// empty.
    void ShowShared();

    TMyCAD& cad_;
    QLabel* title_ = nullptr;
    QWidget* body_ = nullptr;
    TColorButton* penColor_ = nullptr;
    QSpinBox* penWidth_ = nullptr;
    QComboBox* penStyle_ = nullptr;
    TColorButton* brushColor_ = nullptr;
    QComboBox* brushStyle_ = nullptr;
    QComboBox* gradient_ = nullptr;
    TColorButton* gradientBegin_ = nullptr;
    TColorButton* gradientEnd_ = nullptr;
    QLineEdit* caption_ = nullptr;
    QLineEdit* info_ = nullptr;
    QDoubleSpinBox* angle_ = nullptr;
    QCheckBox* locked_ = nullptr;
    QCheckBox* visible_ = nullptr;
    QGroupBox* lineGroup_ = nullptr;
    QComboBox* arrows_ = nullptr;
    QComboBox* route_ = nullptr;
    QComboBox* router_ = nullptr;
    QWidget* routerLabel_ = nullptr;
    QCheckBox* hops_ = nullptr;
    QWidget* routeLabel_ = nullptr;
    QGroupBox* ruleGroup_ = nullptr;
    QCheckBox* showUserInfo_ = nullptr;
    QLineEdit* userInfo_ = nullptr;
    QComboBox* ticks_ = nullptr;
    TFontGroup* fontGroup_ = nullptr;
    TTextBoxGroup* textGroup_ = nullptr;
    TPictureGroup* pictureGroup_ = nullptr;
    QGroupBox* geometry_ = nullptr;
    QDoubleSpinBox* x_ = nullptr;
    QDoubleSpinBox* y_ = nullptr;
    QDoubleSpinBox* w_ = nullptr;
    QDoubleSpinBox* h_ = nullptr;
    QComboBox* layer_ = nullptr;
    QGroupBox* fill_ = nullptr;
    QGroupBox* gradientGroup_ = nullptr;
    double unitsPerPixel_ = 25.4 / 96.0;
    bool refreshing_ = false;
};

} // namespace mycad::studio
