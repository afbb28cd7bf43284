#include "apps/studio/ShapeStyleGroups.h"

#include "apps/studio/PropertiesPanel.h"
#include "cad/shapes/Image.h"
#include "cad/shapes/Text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QSpinBox>

namespace mycad::studio {

namespace {

QComboBox* Choices(QWidget* parent, std::initializer_list<std::pair<const char*, int>> items)
{
    auto* box = new QComboBox(parent);
    for (const auto& [text, value] : items) box->addItem(QString::fromUtf8(text), value);
    return box;
}

QSpinBox* Number(QWidget* parent, int low, int high)
{
    auto* box = new QSpinBox(parent);
    box->setRange(low, high);
    box->setKeyboardTracking(false);
    return box;
}

// The change for the shapes of class T in the selection; others are left alone.
template <typename T>
std::function<void(TMyShape&)> ForEach(const std::function<void(T&)>& change)
{
    return [change](TMyShape& s) {
        if (auto* t = dynamic_cast<T*>(&s)) change(*t);
    };
}

} // namespace

// ---------------------------------------------------------------- font

TFontGroup::TFontGroup(TApplyChange apply, QWidget* parent)
    : QGroupBox(QStringLiteral("Font"), parent), apply_(std::move(apply))
{
    family_ = new QFontComboBox(this);
    family_->setObjectName(QStringLiteral("fontFamily"));
    size_ = Number(this, 1, 500);
    size_->setObjectName(QStringLiteral("fontSize"));
    size_->setToolTip(QStringLiteral("Character height in pixels at 100 %"));
    color_ = new TColorButton(this);
    bold_ = new QCheckBox(QStringLiteral("Bold"), this);
    italic_ = new QCheckBox(QStringLiteral("Italic"), this);
    underline_ = new QCheckBox(QStringLiteral("Underline"), this);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Family"), family_);
    form->addRow(QStringLiteral("Size"), size_);
    form->addRow(QStringLiteral("Colour"), color_);
    auto* styles = new QHBoxLayout;
    for (QCheckBox* b : {bold_, italic_, underline_}) styles->addWidget(b);
    styles->addStretch(1);
    form->addRow(styles);

    connect(family_, &QFontComboBox::currentFontChanged, this, [this](const QFont& f) {
        if (!refreshing_) SetFontName(f.family());
    });
    connect(size_, &QSpinBox::valueChanged, this, [this](int v) {
        if (!refreshing_) SetFontSize(v);
    });
    connect(color_, &TColorButton::ColorChosen, this, &TFontGroup::SetFontColor);
    connect(bold_, &QCheckBox::clicked, this, [this](bool on) { SetFontStyle(TFontStyle::fsBold, on); });
    connect(italic_, &QCheckBox::clicked, this, [this](bool on) { SetFontStyle(TFontStyle::fsItalic, on); });
    connect(underline_, &QCheckBox::clicked, this, [this](bool on) { SetFontStyle(TFontStyle::fsUnderline, on); });
}

void TFontGroup::Refresh(const TMyShape* shape)
{
    if (!shape) return;
    refreshing_ = true;
    const TFont& font = shape->Font();
    family_->setCurrentFont(QFont(font.Name()));
    size_->setValue(font.Size());
    color_->SetColor(font.Color());
    bold_->setChecked(font.Style().Contains(TFontStyle::fsBold));
    italic_->setChecked(font.Style().Contains(TFontStyle::fsItalic));
    underline_->setChecked(font.Style().Contains(TFontStyle::fsUnderline));
    refreshing_ = false;
}

void TFontGroup::SetFontName(const QString& name)
{
    apply_([name](TMyShape& s) { s.Font().SetName(name); });
}

void TFontGroup::SetFontSize(int size)
{
    apply_([size](TMyShape& s) { s.Font().SetSize(size); });
}

void TFontGroup::SetFontColor(TColor color)
{
    apply_([color](TMyShape& s) { s.Font().SetColor(color); });
}

void TFontGroup::SetFontStyle(TFontStyle style, bool on)
{
    apply_([style, on](TMyShape& s) {
        TFontStyles styles = s.Font().Style();
        s.Font().SetStyle(on ? styles.Include(style) : styles.Exclude(style));
    });
}

// ---------------------------------------------------------------- text box

TTextBoxGroup::TTextBoxGroup(TApplyChange apply, QWidget* parent)
    : QGroupBox(QStringLiteral("Text box"), parent), apply_(std::move(apply))
{
    hAlign_ = Choices(this, {{"Left", int(TAlignment::taLeftJustify)},
                             {"Centre", int(TAlignment::taCenter)},
                             {"Right", int(TAlignment::taRightJustify)}});
    hAlign_->setObjectName(QStringLiteral("textHAlignment"));
    vAlign_ = Choices(this, {{"Top", int(TVAlignment::vaTop)},
                             {"Middle", int(TVAlignment::vaMiddle)},
                             {"Bottom", int(TVAlignment::vaBottom)}});
    vAlign_->setObjectName(QStringLiteral("textVAlignment"));
    spacing_ = Number(this, -100, 100);
    spacing_->setSuffix(QStringLiteral(" px"));
    spacing_->setToolTip(QStringLiteral("Extra space between the characters of a one-line text"));
    wrap_ = new QCheckBox(QStringLiteral("Wrap"), this);
    border_ = new QCheckBox(QStringLiteral("Border"), this);
    solid_ = new QCheckBox(QStringLiteral("Solid letters"), this);
    solid_->setToolTip(QStringLiteral("Off: only the outlines of the letters, in the outline colour"));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Across"), hAlign_);
    form->addRow(QStringLiteral("Down"), vAlign_);
    form->addRow(QStringLiteral("Spacing"), spacing_);
    auto* flags = new QHBoxLayout;
    for (QCheckBox* b : {wrap_, border_, solid_}) flags->addWidget(b);
    flags->addStretch(1);
    form->addRow(flags);

    connect(hAlign_, &QComboBox::activated, this,
            [this](int i) { SetHAlignment(static_cast<TAlignment>(hAlign_->itemData(i).toInt())); });
    connect(vAlign_, &QComboBox::activated, this,
            [this](int i) { SetVAlignment(static_cast<TVAlignment>(vAlign_->itemData(i).toInt())); });
    connect(spacing_, &QSpinBox::valueChanged, this, [this](int v) {
        if (!refreshing_) SetCharacterSpace(v);
    });
    connect(wrap_, &QCheckBox::clicked, this, &TTextBoxGroup::SetWordWrap);
    connect(border_, &QCheckBox::clicked, this, &TTextBoxGroup::SetBorder);
    connect(solid_, &QCheckBox::clicked, this, &TTextBoxGroup::SetSolid);
}

void TTextBoxGroup::Refresh(const TMyShape* shape)
{
    const auto* text = dynamic_cast<const TMyText*>(shape);
    setVisible(text != nullptr);
    if (!text) return;
    refreshing_ = true;
    hAlign_->setCurrentIndex(hAlign_->findData(int(text->HAlignment())));
    vAlign_->setCurrentIndex(vAlign_->findData(int(text->VAlignment())));
    spacing_->setValue(text->CharacterSpace());
    wrap_->setChecked(text->WordWrap());
    border_->setChecked(text->IsBorder());
    solid_->setChecked(text->IsSolid());
    refreshing_ = false;
}

void TTextBoxGroup::SetHAlignment(TAlignment value)
{
    apply_(ForEach<TMyText>([value](TMyText& t) { t.SetHAlignment(value); }));
}

void TTextBoxGroup::SetVAlignment(TVAlignment value)
{
    apply_(ForEach<TMyText>([value](TMyText& t) { t.SetVAlignment(value); }));
}

void TTextBoxGroup::SetWordWrap(bool value)
{
    apply_(ForEach<TMyText>([value](TMyText& t) { t.SetWordWrap(value); }));
}

void TTextBoxGroup::SetBorder(bool value)
{
    apply_(ForEach<TMyText>([value](TMyText& t) { t.SetIsBorder(value); }));
}

void TTextBoxGroup::SetSolid(bool value)
{
    apply_(ForEach<TMyText>([value](TMyText& t) { t.SetIsSolid(value); }));
}

void TTextBoxGroup::SetCharacterSpace(int value)
{
    apply_(ForEach<TMyText>([value](TMyText& t) { t.SetCharacterSpace(static_cast<int16_t>(value)); }));
}

// ---------------------------------------------------------------- picture

TPictureGroup::TPictureGroup(TApplyChange apply, QWidget* parent)
    : QGroupBox(QStringLiteral("Picture"), parent), apply_(std::move(apply))
{
    brightness_ = Number(this, -255, 255);
    brightness_->setObjectName(QStringLiteral("pictureBrightness"));
    contrast_ = Number(this, -255, 255);
    contrast_->setObjectName(QStringLiteral("pictureContrast"));
    grey_ = new QCheckBox(QStringLiteral("Grey"), this);
    transparent_ = new QCheckBox(QStringLiteral("Transparent"), this);
    transparent_->setToolTip(QStringLiteral("The colour of the bottom-left pixel shows the drawing behind"));
    border_ = new QCheckBox(QStringLiteral("Border"), this);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Brightness"), brightness_);
    form->addRow(QStringLiteral("Contrast"), contrast_);
    auto* flags = new QHBoxLayout;
    for (QCheckBox* b : {grey_, transparent_, border_}) flags->addWidget(b);
    flags->addStretch(1);
    form->addRow(flags);

    connect(brightness_, &QSpinBox::valueChanged, this, [this](int v) {
        if (!refreshing_) SetBrightness(v);
    });
    connect(contrast_, &QSpinBox::valueChanged, this, [this](int v) {
        if (!refreshing_) SetContrast(v);
    });
    connect(grey_, &QCheckBox::clicked, this, &TPictureGroup::SetGrayScale);
    connect(transparent_, &QCheckBox::clicked, this, &TPictureGroup::SetTransparent);
    connect(border_, &QCheckBox::clicked, this, &TPictureGroup::SetBorder);
}

void TPictureGroup::Refresh(const TMyShape* shape)
{
    const auto* image = dynamic_cast<const TMyImage*>(shape);
    setVisible(image != nullptr);
    if (!image) return;
    refreshing_ = true;
    brightness_->setValue(image->Brightness());
    contrast_->setValue(image->Contrast());
    grey_->setChecked(image->GrayScale());
    transparent_->setChecked(image->Transparent());
    border_->setChecked(image->Border());
    refreshing_ = false;
}

void TPictureGroup::SetBrightness(int value)
{
    apply_(ForEach<TMyImage>([value](TMyImage& i) { i.SetBrightness(value); }));
}

void TPictureGroup::SetContrast(int value)
{
    apply_(ForEach<TMyImage>([value](TMyImage& i) { i.SetContrast(value); }));
}

void TPictureGroup::SetGrayScale(bool value)
{
    apply_(ForEach<TMyImage>([value](TMyImage& i) { i.SetGrayScale(value); }));
}

void TPictureGroup::SetTransparent(bool value)
{
    apply_(ForEach<TMyImage>([value](TMyImage& i) { i.SetTransparent(value); }));
}

void TPictureGroup::SetBorder(bool value)
{
    apply_(ForEach<TMyImage>([value](TMyImage& i) { i.SetBorder(value); }));
}

} // namespace mycad::studio
