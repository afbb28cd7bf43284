// Groups of the Properties panel for texts and pictures: the font of any
// shape, the layout of a text box, and the adjustments of a picture. Each
// shows the panel's shape and hands every change to the panel, which applies
// it to the whole selection as one undo step.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "cad/shapes/Text.h"

#include <QGroupBox>

#include <functional>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QSpinBox;

namespace mycad::studio {

class TColorButton;

/// Applies a change to every selected shape as one undo step.
using TApplyChange = std::function<void(const std::function<void(TMyShape&)>& change)>;

class TFontGroup : public QGroupBox {
    Q_OBJECT

public:
    TFontGroup(TApplyChange apply, QWidget* parent);
    void Refresh(const TMyShape* shape);

    void SetFontName(const QString& name);
    void SetFontSize(int size);
    void SetFontColor(TColor color);
    void SetFontStyle(TFontStyle style, bool on);

    QFontComboBox& FamilyBox() { return *family_; }
    QSpinBox& SizeBox() { return *size_; }

private:
    TApplyChange apply_;
    QFontComboBox* family_ = nullptr;
    QSpinBox* size_ = nullptr;
    TColorButton* color_ = nullptr;
    QCheckBox* bold_ = nullptr;
    QCheckBox* italic_ = nullptr;
    QCheckBox* underline_ = nullptr;
    bool refreshing_ = false;
};

/// Shown while the panel's shape is a text box; changes reach the text
/// boxes of the selection.
class TTextBoxGroup : public QGroupBox {
    Q_OBJECT

public:
    TTextBoxGroup(TApplyChange apply, QWidget* parent);
    void Refresh(const TMyShape* shape);

    void SetHAlignment(TAlignment value);
    void SetVAlignment(TVAlignment value);
    void SetWordWrap(bool value);
    void SetBorder(bool value);
    void SetSolid(bool value);
    void SetCharacterSpace(int value);

private:
    TApplyChange apply_;
    QComboBox* hAlign_ = nullptr;
    QComboBox* vAlign_ = nullptr;
    QCheckBox* wrap_ = nullptr;
    QCheckBox* border_ = nullptr;
    QCheckBox* solid_ = nullptr;
    QSpinBox* spacing_ = nullptr;
    bool refreshing_ = false;
};

/// Shown while the panel's shape is a picture; changes reach the pictures
/// of the selection.
class TPictureGroup : public QGroupBox {
    Q_OBJECT

public:
    TPictureGroup(TApplyChange apply, QWidget* parent);
    void Refresh(const TMyShape* shape);

    void SetBrightness(int value);
    void SetContrast(int value);
    void SetGrayScale(bool value);
    void SetTransparent(bool value);
    void SetBorder(bool value);

    QSpinBox& BrightnessBox() { return *brightness_; }

private:
    TApplyChange apply_;
    QSpinBox* brightness_ = nullptr;
    QSpinBox* contrast_ = nullptr;
    QCheckBox* grey_ = nullptr;
    QCheckBox* transparent_ = nullptr;
    QCheckBox* border_ = nullptr;
    bool refreshing_ = false;
};

} // namespace mycad::studio
