#include "apps/studio/PropertiesPanel.h"

#include "apps/studio/ShapeStyleGroups.h"

#include "cad/canvas/TreeWalk.h"
#include "cad/canvas/UndoList.h"
#include "cad/connectors/LinkLine.h"
#include "cad/shapes/Ellipse.h"
#include "cad/shapes/Line.h"
#include "cad/shapes/PolyLine.h"
#include "cad/shapes/RuleLine.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <numbers>

namespace mycad::studio {

namespace {

QColor ToQColor(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
TColor FromQColor(const QColor& c) { return RGB(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()), static_cast<uint8_t>(c.blue())); }

QIcon Swatch(TColor c)
{
    QPixmap pm(40, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(0x78, 0x84, 0x8E));
    p.setBrush(ToQColor(c));
    p.drawRoundedRect(QRectF(0.5, 0.5, 39, 15), 3, 3);
    return QIcon(pm);
}

QComboBox* Combo(QWidget* parent, std::initializer_list<std::pair<const char*, int>> items)
{
    auto* box = new QComboBox(parent);
    for (const auto& [text, value] : items) box->addItem(QString::fromUtf8(text), value);
    return box;
}

void ShowValue(QComboBox* box, int value)
{
    const int i = box->findData(value);
    box->setCurrentIndex(i);
}

/// A shape whose outline encloses nothing has no fill to choose.
bool HasArea(const TMyShape& s)
{
    if (dynamic_cast<const TMyLine*>(&s)) return dynamic_cast<const TMyPolygon*>(&s) != nullptr;
    if (const auto* arc = dynamic_cast<const TMyElliArc*>(&s)) return arc->ArcStyle() != TArcStyle::asArc;
    return true;
}

QDoubleSpinBox* LengthBox(QWidget* parent, const char* name, double minimum)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(minimum, 1e6);
    box->setKeyboardTracking(false);
    // Two to a row in a narrow panel: they share the row, whatever the range.
    box->setMinimumWidth(60);
    box->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    return box;
}

} // namespace

// ---------------------------------------------------------------- colours

TColorButton::TColorButton(QWidget* parent, bool compact) : QWidget(parent), compact_(compact)
{
    button_ = new QToolButton(this);
    button_->setIconSize(QSize(40, 16));
    button_->setToolButtonStyle(compact ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(button_);
    layout->addStretch(1);
    SetColor(clBlack);
    AskColor = [this](TColor current) -> std::optional<TColor> {
        const QColor chosen = QColorDialog::getColor(ToQColor(current), this, QStringLiteral("Choose a colour"));
        if (!chosen.isValid()) return std::nullopt;
        return FromQColor(chosen);
    };
    connect(button_, &QToolButton::clicked, this, [this] {
        if (const std::optional<TColor> c = AskColor(color_)) {
            SetColor(*c);
            emit ColorChosen(*c);
        }
    });
}

void TColorButton::SetMixed()
{
    button_->setIcon(QIcon());
    button_->setText(QStringLiteral("Mixed"));
    button_->setToolTip(QStringLiteral("The selected shapes differ; click to give them all one colour"));
}

void TColorButton::SetColor(TColor color)
{
    color_ = color;
    button_->setIcon(Swatch(color));
    const QString code = ToQColor(color).name().toUpper();
    button_->setText(code);
    button_->setToolTip(compact_ ? QStringLiteral("%1 (click to change)").arg(code) : QStringLiteral("Click to change"));
}

// ---------------------------------------------------------------- panel

TPropertiesPanel::TPropertiesPanel(TMyCAD& cad, QWidget* parent) : QWidget(parent), cad_(cad)
{
    title_ = new QLabel(this);
    title_->setWordWrap(true);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    body_ = new QWidget(this);

    auto* outline = new QGroupBox(QStringLiteral("Outline"), body_);
    penColor_ = new TColorButton(outline);
    penWidth_ = new QSpinBox(outline);
    penWidth_->setRange(1, 50);
    penWidth_->setSuffix(QStringLiteral(" px"));
    penWidth_->setKeyboardTracking(false);
    penStyle_ = Combo(outline, {{"Solid", int(TPenStyle::psSolid)},
                                {"Dashed", int(TPenStyle::psDash)},
                                {"Dotted", int(TPenStyle::psDot)},
                                {"Dash dot", int(TPenStyle::psDashDot)},
                                {"Dash dot dot", int(TPenStyle::psDashDotDot)},
                                {"None", int(TPenStyle::psClear)}});
    auto* outlineForm = new QFormLayout(outline);
    outlineForm->addRow(QStringLiteral("Colour"), penColor_);
    outlineForm->addRow(QStringLiteral("Width"), penWidth_);
    outlineForm->addRow(QStringLiteral("Style"), penStyle_);

    geometry_ = new QGroupBox(QStringLiteral("Position and size"), body_);
    geometry_->setObjectName(QStringLiteral("geometry"));
    x_ = LengthBox(geometry_, "x", -1e6);
    y_ = LengthBox(geometry_, "y", -1e6);
    w_ = LengthBox(geometry_, "w", 0.01);
    h_ = LengthBox(geometry_, "h", 0.01);
    layer_ = new QComboBox(geometry_);
    layer_->setObjectName(QStringLiteral("layer"));
    layer_->setToolTip(QStringLiteral("The layer of the selected shapes"));
    auto* geometryForm = new QFormLayout(geometry_);
    auto* position = new QHBoxLayout;
    position->addWidget(new QLabel(QStringLiteral("X"), geometry_));
    position->addWidget(x_, 1);
    position->addWidget(new QLabel(QStringLiteral("Y"), geometry_));
    position->addWidget(y_, 1);
    auto* size = new QHBoxLayout;
    size->addWidget(new QLabel(QStringLiteral("W"), geometry_));
    size->addWidget(w_, 1);
    size->addWidget(new QLabel(QStringLiteral("H"), geometry_));
    size->addWidget(h_, 1);
    geometryForm->addRow(QStringLiteral("Position"), position);
    geometryForm->addRow(QStringLiteral("Size"), size);
    geometryForm->addRow(QStringLiteral("Layer"), layer_);

    auto* fill = new QGroupBox(QStringLiteral("Fill"), body_);
    fill_ = fill;
    fill->setObjectName(QStringLiteral("fill"));
    brushColor_ = new TColorButton(fill);
    brushStyle_ = Combo(fill, {{"Solid", int(TBrushStyle::bsSolid)},
                               {"None", int(TBrushStyle::bsClear)},
                               {"Horizontal lines", int(TBrushStyle::bsHorizontal)},
                               {"Vertical lines", int(TBrushStyle::bsVertical)},
                               {"Diagonal lines \u2572", int(TBrushStyle::bsFDiagonal)},
                               {"Diagonal lines \u2571", int(TBrushStyle::bsBDiagonal)},
                               {"Cross hatch", int(TBrushStyle::bsCross)},
                               {"Diagonal cross hatch", int(TBrushStyle::bsDiagCross)}});
    auto* fillForm = new QFormLayout(fill);
    fillForm->addRow(QStringLiteral("Colour"), brushColor_);
    fillForm->addRow(QStringLiteral("Style"), brushStyle_);

    auto* gradientGroup = new QGroupBox(QStringLiteral("Gradient"), body_);
    gradientGroup_ = gradientGroup;
    gradientGroup->setObjectName(QStringLiteral("gradient"));
    gradient_ = Combo(gradientGroup, {{"None", int(TGradientStyle::gsNone)},
                                      {"Radial from the centre", int(TGradientStyle::gsRadialC)},
                                      {"Radial from the top", int(TGradientStyle::gsRadialT)},
                                      {"Radial from the bottom", int(TGradientStyle::gsRadialB)},
                                      {"Radial from the left", int(TGradientStyle::gsRadialL)},
                                      {"Radial from the right", int(TGradientStyle::gsRadialR)},
                                      {"Radial from top left", int(TGradientStyle::gsRadialTL)},
                                      {"Radial from top right", int(TGradientStyle::gsRadialTR)},
                                      {"Radial from bottom left", int(TGradientStyle::gsRadialBL)},
                                      {"Radial from bottom right", int(TGradientStyle::gsRadialBR)},
                                      {"Linear, left to right", int(TGradientStyle::gsLinearH)},
                                      {"Linear, top to bottom", int(TGradientStyle::gsLinearV)},
                                      {"Reflected across", int(TGradientStyle::gsReflectedH)},
                                      {"Reflected down", int(TGradientStyle::gsReflectedV)},
                                      {"Diagonal \u2198", int(TGradientStyle::gsDiagonalLF)},
                                      {"Diagonal \u2197", int(TGradientStyle::gsDiagonalLB)},
                                      {"Diagonal \u2199", int(TGradientStyle::gsDiagonalRF)},
                                      {"Diagonal \u2196", int(TGradientStyle::gsDiagonalRB)},
                                      {"Arrow left", int(TGradientStyle::gsArrowL)},
                                      {"Arrow right", int(TGradientStyle::gsArrowR)},
                                      {"Arrow up", int(TGradientStyle::gsArrowU)},
                                      {"Arrow down", int(TGradientStyle::gsArrowD)},
                                      {"Diamond", int(TGradientStyle::gsDiamond)},
                                      {"Butterfly", int(TGradientStyle::gsButterfly)}});
    gradientBegin_ = new TColorButton(gradientGroup, true);
    gradientEnd_ = new TColorButton(gradientGroup, true);
    auto* gradientForm = new QFormLayout(gradientGroup);
    gradientForm->addRow(QStringLiteral("Style"), gradient_);
    auto* ends = new QHBoxLayout;
    ends->setContentsMargins(0, 0, 0, 0);
    ends->addWidget(gradientBegin_);
    ends->addWidget(new QLabel(QStringLiteral("\u2192"), gradientGroup));
    ends->addWidget(gradientEnd_);
    ends->addStretch(1);
    gradientForm->addRow(QStringLiteral("Colours"), ends);

    auto* texts = new QGroupBox(QStringLiteral("Texts"), body_);
    info_ = new QLineEdit(texts);
    info_->setPlaceholderText(QStringLiteral("Text shown on the shape"));
    caption_ = new QLineEdit(texts);
    caption_->setPlaceholderText(QStringLiteral("Shown when the mouse rests on it"));
    auto* textForm = new QFormLayout(texts);
    textForm->addRow(QStringLiteral("Text"), info_);
    textForm->addRow(QStringLiteral("Caption"), caption_);

    auto* arrange = new QGroupBox(QStringLiteral("Placement"), body_);
    angle_ = new QDoubleSpinBox(arrange);
    angle_->setRange(-360.0, 360.0);
    angle_->setDecimals(1);
    angle_->setSuffix(QStringLiteral("\u00b0"));
    angle_->setKeyboardTracking(false);
    angle_->setToolTip(QStringLiteral("Angle, clockwise"));
    locked_ = new QCheckBox(QStringLiteral("Locked"), arrange);
    locked_->setToolTip(QStringLiteral("A locked shape cannot be moved, sized, turned or deleted"));
    visible_ = new QCheckBox(QStringLiteral("Visible"), arrange);
    auto* arrangeForm = new QFormLayout(arrange);
    arrangeForm->addRow(QStringLiteral("Angle"), angle_);
    auto* flags = new QHBoxLayout;
    flags->addWidget(locked_);
    flags->addWidget(visible_);
    flags->addStretch(1);
    arrangeForm->addRow(flags);

    lineGroup_ = new QGroupBox(QStringLiteral("Line"), body_);
    // A line draws its ALeft head on its last point and its ARight head on
    // its first.
    arrows_ = Combo(lineGroup_, {{"No arrow heads", int(TArrowStyle::ANone)},
                                 {"Arrow at the end", int(TArrowStyle::ALeft)},
                                 {"Arrow at the start", int(TArrowStyle::ARight)},
                                 {"Arrows at both ends", int(TArrowStyle::ADouble)}});
    route_ = Combo(lineGroup_, {{"Horizontal and vertical legs", int(TLinkLineDrawStyle::lldsHV)},
                                {"Straight", int(TLinkLineDrawStyle::lldsFree)}});
    router_ = Combo(lineGroup_, {{"Classic walk", int(TLinkRouter::lrClassic)},
                                 {"Around every shape", int(TLinkRouter::lrAvoiding)}});
    hops_ = new QCheckBox(QStringLiteral("Hop over crossing connectors"), lineGroup_);
    auto* lineForm = new QFormLayout(lineGroup_);
    lineForm->addRow(QStringLiteral("Arrows"), arrows_);
    lineForm->addRow(QStringLiteral("Route"), route_);
    lineForm->addRow(QStringLiteral("Routing"), router_);
    lineForm->addRow(hops_);
    routeLabel_ = lineForm->labelForField(route_);
    routerLabel_ = lineForm->labelForField(router_);

    ruleGroup_ = new QGroupBox(QStringLiteral("Dimension"), body_);
    showUserInfo_ = new QCheckBox(QStringLiteral("Show my text instead of the length"), ruleGroup_);
    userInfo_ = new QLineEdit(ruleGroup_);
    userInfo_->setPlaceholderText(QStringLiteral("Text shown above the line"));
    ticks_ = Combo(ruleGroup_, {{"Ticks at both ends", int(TTickStyle::tsLine)}, {"No ticks", int(TTickStyle::tsNone)}});
    auto* ruleForm = new QFormLayout(ruleGroup_);
    ruleForm->addRow(showUserInfo_);
    ruleForm->addRow(QStringLiteral("My text"), userInfo_);
    ruleForm->addRow(QStringLiteral("Ends"), ticks_);

    const TApplyChange apply = [this](const std::function<void(TMyShape&)>& change) { Apply(change); };
    fontGroup_ = new TFontGroup(apply, body_);
    textGroup_ = new TTextBoxGroup(apply, body_);
    pictureGroup_ = new TPictureGroup(apply, body_);

    auto* bodyLayout = new QVBoxLayout(body_);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    lineGroup_->setObjectName(QStringLiteral("line"));
    for (QGroupBox* g : {geometry_, outline, fill, gradientGroup, texts, static_cast<QGroupBox*>(fontGroup_),
                         static_cast<QGroupBox*>(textGroup_), static_cast<QGroupBox*>(pictureGroup_), arrange,
                         lineGroup_, ruleGroup_}) {
        bodyLayout->addWidget(g);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(title_);
    layout->addWidget(body_);
    layout->addStretch(1);

    penStyle_->setObjectName(QStringLiteral("penStyle"));
    brushStyle_->setObjectName(QStringLiteral("brushStyle"));
    gradient_->setObjectName(QStringLiteral("gradientStyle"));
    arrows_->setObjectName(QStringLiteral("arrowStyle"));
    route_->setObjectName(QStringLiteral("linkLineDrawStyle"));
    hops_->setObjectName(QStringLiteral("crossLine"));
    ticks_->setObjectName(QStringLiteral("tickStyle"));
    angle_->setObjectName(QStringLiteral("angle"));

    connect(penColor_, &TColorButton::ColorChosen, this, &TPropertiesPanel::SetPenColor);
    connect(penWidth_, &QSpinBox::valueChanged, this, [this](int v) {
        if (!refreshing_) SetPenWidth(v);
    });
    connect(penStyle_, &QComboBox::activated, this,
            [this](int i) { SetPenStyle(static_cast<TPenStyle>(penStyle_->itemData(i).toInt())); });
    connect(brushColor_, &TColorButton::ColorChosen, this, &TPropertiesPanel::SetBrushColor);
    connect(brushStyle_, &QComboBox::activated, this,
            [this](int i) { SetBrushStyle(static_cast<TBrushStyle>(brushStyle_->itemData(i).toInt())); });
    connect(gradient_, &QComboBox::activated, this,
            [this](int i) { SetGradientStyle(static_cast<TGradientStyle>(gradient_->itemData(i).toInt())); });
    connect(gradientBegin_, &TColorButton::ColorChosen, this, &TPropertiesPanel::SetGradientBegin);
    connect(gradientEnd_, &TColorButton::ColorChosen, this, &TPropertiesPanel::SetGradientEnd);
    connect(info_, &QLineEdit::editingFinished, this, [this] { SetInfo(info_->text()); });
    connect(caption_, &QLineEdit::editingFinished, this, [this] { SetCaption(caption_->text()); });
    connect(angle_, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        if (!refreshing_) SetAngleDegrees(v);
    });
    connect(locked_, &QCheckBox::clicked, this, &TPropertiesPanel::SetLocked);
    connect(visible_, &QCheckBox::clicked, this, &TPropertiesPanel::SetShapeVisible);
    connect(arrows_, &QComboBox::activated, this,
            [this](int i) { SetArrowStyle(static_cast<TArrowStyle>(arrows_->itemData(i).toInt())); });
    connect(route_, &QComboBox::activated, this, [this](int i) {
        SetLinkLineDrawStyle(static_cast<TLinkLineDrawStyle>(route_->itemData(i).toInt()));
    });
    connect(hops_, &QCheckBox::clicked, this, &TPropertiesPanel::SetHops);
    router_->setObjectName(QStringLiteral("linkRouter"));
    connect(router_, &QComboBox::activated, this,
            [this](int i) { SetLinkRouter(static_cast<TLinkRouter>(router_->itemData(i).toInt())); });
    connect(showUserInfo_, &QCheckBox::clicked, this, &TPropertiesPanel::SetShowUserInfo);
    connect(userInfo_, &QLineEdit::editingFinished, this, [this] { SetUserInfo(userInfo_->text()); });
    connect(ticks_, &QComboBox::activated, this,
            [this](int i) { SetTickStyle(static_cast<TTickStyle>(ticks_->itemData(i).toInt())); });
    // A field shows its value rounded; the other coordinate is taken as it
    // is, so that changing one does not nudge the other.
    connect(x_, &QDoubleSpinBox::valueChanged, this, [this](double x) {
        if (!refreshing_) SetPosition(x, SelectionBox().Top * unitsPerPixel_);
    });
    connect(y_, &QDoubleSpinBox::valueChanged, this, [this](double y) {
        if (!refreshing_) SetPosition(SelectionBox().Left * unitsPerPixel_, y);
    });
    connect(w_, &QDoubleSpinBox::valueChanged, this, [this](double w) {
        if (refreshing_) return;
        const TMyRect box = SelectionBox();
        SetSize(w, (double(box.Bottom) - box.Top) * unitsPerPixel_);
    });
    connect(h_, &QDoubleSpinBox::valueChanged, this, [this](double h) {
        if (refreshing_) return;
        const TMyRect box = SelectionBox();
        SetSize((double(box.Right) - box.Left) * unitsPerPixel_, h);
    });
    connect(layer_, &QComboBox::activated, this, [this](int i) {
        emit MoveToLayerRequested(layer_->itemData(i).toInt());
        emit EditingDone();
    });
    // Enter in a field or a choice in a list ends the entry.
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        connect(edit, &QLineEdit::returnPressed, this, &TPropertiesPanel::EditingDone);
    }
    for (QComboBox* box : findChildren<QComboBox*>()) {
        if (box != layer_) connect(box, &QComboBox::activated, this, &TPropertiesPanel::EditingDone);
    }
    Refresh();
}

QString TPropertiesPanel::ClassTitle(const TMyShape& s)
{
    static const std::pair<const char*, const char*> kNames[] = {
        {"TMyLine", "Line"},
        {"TMyRectangle", "Rectangle"},
        {"TMyEllipse", "Ellipse"},
        {"TMyElliArc", "Arc"},
        {"TMyPolyLine", "Polyline"},
        {"TMyPolygon", "Polygon"},
        {"TMyFreeLine", "Freehand line"},
        {"TMyPolyBezier", "Bezier curve"},
        {"TMyBLine", "Spline"},
        {"TMyText", "Text"},
        {"TMyImage", "Image"},
        {"TMyRuleLine", "Dimension"},
        {"TMyLinkPoint", "Connection point"},
        {"TMyLinkLine", "Connector"},
        {"TMyLineLinkLine", "Branch connector"},
        {"TMyGroup", "Group"},
        {"TMyCombine", "Combined shape"},
    };
    const QString name = s.ClassName();
    for (const auto& [cls, title] : kNames) {
        if (name == QLatin1String(cls)) return QString::fromUtf8(title);
    }
    return name.startsWith(QLatin1String("TMy")) ? name.mid(3) : name;
}

QDoubleSpinBox& TPropertiesPanel::Field(char which)
{
    switch (which) {
    case 'x': return *x_;
    case 'y': return *y_;
    case 'w': return *w_;
    default: return *h_;
    }
}

QWidget& TPropertiesPanel::Section(const QString& objectName) { return *findChild<QGroupBox*>(objectName); }

void TPropertiesPanel::SetLengthUnit(double unitsPerPixel, const QString& name, int decimals)
{
    unitsPerPixel_ = unitsPerPixel;
    for (QDoubleSpinBox* box : {x_, y_, w_, h_}) {
        box->setDecimals(decimals);
        box->setSuffix(QStringLiteral(" ") + name);
    }
    Refresh();
}

TMyRect TPropertiesPanel::SelectionBox() const { return cad_.GetShapesLTRB(cad_.WorkingShapes); }

void TPropertiesPanel::ShowGeometry()
{
    const TMyRect box = SelectionBox();
    x_->setValue(box.Left * unitsPerPixel_);
    y_->setValue(box.Top * unitsPerPixel_);
    w_->setValue((double(box.Right) - box.Left) * unitsPerPixel_);
    h_->setValue((double(box.Bottom) - box.Top) * unitsPerPixel_);
    // Turned shapes would shear if scaled along the page's axes.
    bool upright = true;
    for (const TMyShape* s : cad_.WorkingShapes) upright = upright && s->Angle() == 0.0f;
    for (QDoubleSpinBox* b : {w_, h_}) {
        b->setEnabled(upright);
        b->setToolTip(upright ? QString() : QStringLiteral("Turned shapes are sized by their handles"));
    }
    layer_->clear();
    int32_t shared = cad_.WorkingShapes.front()->LayerId;
    for (const TMyShape* s : cad_.WorkingShapes) {
        if (s->LayerId != shared) shared = -1;
    }
    for (const LayerRec& rec : cad_.MyLayers) layer_->addItem(rec.LayerName, rec.LayerId);
    layer_->setCurrentIndex(layer_->findData(shared));
}

void TPropertiesPanel::ShowShared()
{
    const TArrMyShapeRef& all = cad_.WorkingShapes;
    TMyShape& first = *all.front();
    const auto same = [&all](auto value) {
        for (TMyShape* s : all) {
            if (value(*s) != value(*all.front())) return false;
        }
        return true;
    };
    const auto showCombo = [&](QComboBox* box, auto value) {
        ShowValue(box, same(value) ? int(value(first)) : -1);
    };
    if (same([](TMyShape& s) { return s.Pen().Color(); })) {
        penColor_->SetColor(first.Pen().Color());
    } else {
        penColor_->SetMixed();
    }
    if (same([](TMyShape& s) { return s.Brush().Color(); })) {
        brushColor_->SetColor(first.Brush().Color());
    } else {
        brushColor_->SetMixed();
    }
    showCombo(penStyle_, [](TMyShape& s) { return s.Pen().Style(); });
    showCombo(brushStyle_, [](TMyShape& s) { return s.Brush().Style(); });
    showCombo(gradient_, [](TMyShape& s) { return s.GradientStyle(); });
    bool area = true;
    bool lines = true;
    for (const TMyShape* s : all) {
        area = area && HasArea(*s);
        lines = lines && dynamic_cast<const TMyLine*>(s) != nullptr;
    }
    fill_->setVisible(area);
    gradientGroup_->setVisible(area);
    lineGroup_->setVisible(lines);
    if (lines) showCombo(arrows_, [](TMyShape& s) { return dynamic_cast<TMyLine&>(s).ArrowStyle(); });
}

TMyShape* TPropertiesPanel::Shown() const
{
    return cad_.WorkingShapes.empty() ? nullptr : cad_.WorkingShapes.front();
}

void TPropertiesPanel::Refresh()
{
    refreshing_ = true;
    TMyShape* s = Shown();
    const int count = cad_.GetSelectedShapesCount();
    body_->setEnabled(s != nullptr);
    if (!s) {
        title_->setText(QStringLiteral("Nothing selected"));
    } else if (count == 1) {
        title_->setText(QStringLiteral("%1 \u201c%2\u201d").arg(ClassTitle(*s), s->Name()));
    } else {
        title_->setText(QStringLiteral("%1 shapes selected; changes apply to all").arg(count));
    }
    if (s) {
        penWidth_->setValue(s->Pen().Width());
        ShowShared();
        ShowGeometry();
        gradientBegin_->SetColor(s->ColorBegin());
        gradientEnd_->SetColor(s->ColorEnd());
        if (!info_->hasFocus()) info_->setText(s->Info());
        if (!caption_->hasFocus()) caption_->setText(s->Caption());
        angle_->setValue(std::remainder(double(s->Angle()) * 180.0 / std::numbers::pi, 360.0));
        locked_->setChecked(s->Locked());
        visible_->setChecked(s->Visible());
        fontGroup_->Refresh(s);
        textGroup_->Refresh(s);
        pictureGroup_->Refresh(s);
        const auto* connector = dynamic_cast<const TMyLinkLine*>(s);
        for (QWidget* w : {static_cast<QWidget*>(route_), routeLabel_, static_cast<QWidget*>(hops_),
                           static_cast<QWidget*>(router_), routerLabel_}) {
            if (w) w->setVisible(connector != nullptr);
        }
        if (connector) ShowValue(route_, int(connector->LinkLineDrawStyle()));
        ShowValue(router_, int(cad_.LinkRouter()));
        hops_->setChecked(cad_.CrossLine());
        const auto* rule = dynamic_cast<const TMyRuleLine*>(s);
        ruleGroup_->setVisible(rule != nullptr);
        if (rule) {
            showUserInfo_->setChecked(rule->ShowUserInfo());
            if (!userInfo_->hasFocus()) userInfo_->setText(rule->UserInfo());
            ShowValue(ticks_, int(rule->TickStyle()));
        }
    } else {
        textGroup_->setVisible(false);
        pictureGroup_->setVisible(false);
        lineGroup_->setVisible(false);
        ruleGroup_->setVisible(false);
        info_->clear();
        caption_->clear();
    }
    refreshing_ = false;
}

void TPropertiesPanel::Apply(const std::function<void(TMyShape&)>& change, bool recordUndo)
{
    if (cad_.WorkingShapes.empty()) return;
    const TArrMyShapeRef shapes = cad_.WorkingShapes;
    if (recordUndo) cad_.PushtoUndoRedoShapeList(shapes, ACT_CHANGE);
    for (TMyShape* s : shapes) change(*s);
    cad_.Invalidate();
    Refresh();
    emit DrawingChanged();
}

void TPropertiesPanel::SetPenColor(TColor color)
{
    Apply([color](TMyShape& s) { s.Pen().SetColor(color); });
}

void TPropertiesPanel::SetPenWidth(int width)
{
    Apply([width](TMyShape& s) { s.Pen().SetWidth(width); });
}

void TPropertiesPanel::SetPenStyle(TPenStyle style)
{
    Apply([style](TMyShape& s) { s.Pen().SetStyle(style); });
}

void TPropertiesPanel::SetBrushColor(TColor color)
{
    Apply([color](TMyShape& s) {
        s.Brush().SetColor(color);
        // A colour of no fill would not show: choosing one asks for a fill,
        // unless the shape shows a gradient, which a fill would cover.
        if (s.Brush().Style() == TBrushStyle::bsClear && s.GradientStyle() == TGradientStyle::gsNone) {
            s.Brush().SetStyle(TBrushStyle::bsSolid);
        }
    });
}

void TPropertiesPanel::SetBrushStyle(TBrushStyle style)
{
    Apply([style](TMyShape& s) { s.Brush().SetStyle(style); });
}

void TPropertiesPanel::SetGradientStyle(TGradientStyle style)
{
    Apply([style](TMyShape& s) {
        s.SetGradientStyle(style);
        // The brush paints over the gradient; a gradient asks for a clear one.
        if (style != TGradientStyle::gsNone) s.Brush().SetStyle(TBrushStyle::bsClear);
    });
}

void TPropertiesPanel::SetGradientBegin(TColor color)
{
    Apply([color](TMyShape& s) { s.SetColorBegin(color); });
}

void TPropertiesPanel::SetGradientEnd(TColor color)
{
    Apply([color](TMyShape& s) { s.SetColorEnd(color); });
}

void TPropertiesPanel::SetCaption(const QString& text)
{
    TMyShape* s = Shown();
    if (!s || s->Caption() == text) return;
    Apply([text](TMyShape& shape) { shape.SetCaption(text); });
}

void TPropertiesPanel::SetInfo(const QString& text)
{
    TMyShape* s = Shown();
    if (!s || s->Info() == text) return;
    Apply([text](TMyShape& shape) {
        shape.SetInfo(text);
        // A typed text replaces a multi-line one, which would otherwise win.
        shape.SetMultiInfo(TStringList());
    });
}

void TPropertiesPanel::SetAngleDegrees(double degrees)
{
    Apply([this, degrees](TMyShape& s) {
        const double target = degrees * std::numbers::pi / 180.0;
        const double turn = std::remainder(target - double(s.Angle()), 2.0 * std::numbers::pi);
        if (std::fabs(turn) > 1e-6) cad_.Rotate(&s, static_cast<float>(turn));
    });
}

void TPropertiesPanel::SetLocked(bool locked)
{
    Apply([this, locked](TMyShape& s) { cad_.LockUnLockforShapes(&s, locked); });
}

void TPropertiesPanel::SetShapeVisible(bool visible)
{
    Apply([visible](TMyShape& s) { s.SetVisible(visible); }, false);
}

void TPropertiesPanel::SetPosition(double x, double y)
{
    if (cad_.WorkingShapes.empty() || unitsPerPixel_ <= 0) return;
    const TMyRect box = SelectionBox();
    // The canvas moves by device pixels.
    const double k = cad_.Zoom() / unitsPerPixel_;
    const double dx = x * k - double(box.Left) * cad_.Zoom();
    const double dy = y * k - double(box.Top) * cad_.Zoom();
    if (std::fabs(dx) < 1e-6 && std::fabs(dy) < 1e-6) return;
    // The canvas's move takes the attached connectors along.
    Apply([this, dx, dy](TMyShape& s) { cad_.DragChangeValueDxDyforShapes(&s, dx, dy); });
}

void TPropertiesPanel::SetSize(double width, double height)
{
    if (cad_.WorkingShapes.empty() || unitsPerPixel_ <= 0) return;
    const TMyRect box = SelectionBox();
    const double w0 = double(box.Right) - box.Left;
    const double h0 = double(box.Bottom) - box.Top;
    // A side of no length (a level line) keeps it.
    const double sx = w0 > 0 ? width / unitsPerPixel_ / w0 : 1.0;
    const double sy = h0 > 0 ? height / unitsPerPixel_ / h0 : 1.0;
    if (std::fabs(sx - 1.0) < 1e-9 && std::fabs(sy - 1.0) < 1e-9) return;
    const TMyPoint origin{box.Left, box.Top};
    Apply([this, sx, sy, origin](TMyShape& root) {
        WalkShapeTree(cad_, root, TTreeOrder::ShapeFirst, [&](TMyShape& s) {
            if (!s.Locked()) s.SizeChangeValueByScale(sx, sy, origin, s.GetCenterPoint(), origin);
        });
        cad_.ChangeLinkShapes(&root);
    });
}

void TPropertiesPanel::SetArrowStyle(TArrowStyle style)
{
    Apply([style](TMyShape& s) {
        if (auto* line = dynamic_cast<TMyLine*>(&s)) line->SetArrowStyle(style);
    });
}

void TPropertiesPanel::SetLinkLineDrawStyle(TLinkLineDrawStyle style)
{
    Apply([style](TMyShape& s) {
        if (auto* line = dynamic_cast<TMyLinkLine*>(&s)) line->SetLinkLineDrawStyle(style);
    });
}

void TPropertiesPanel::SetLinkRouter(TLinkRouter router)
{
    cad_.SetLinkRouter(router);
    cad_.Invalidate();
    emit DrawingChanged();
}

void TPropertiesPanel::SetHops(bool on)
{
    cad_.SetCrossLine(on);
    cad_.Invalidate();
    emit DrawingChanged();
}

void TPropertiesPanel::ApplyToRuleLines(const std::function<void(TMyRuleLine&)>& change)
{
    Apply([&change](TMyShape& s) {
        if (auto* rule = dynamic_cast<TMyRuleLine*>(&s)) change(*rule);
    });
}

void TPropertiesPanel::SetShowUserInfo(bool show)
{
    ApplyToRuleLines([show](TMyRuleLine& r) { r.SetShowUserInfo(show); });
}

void TPropertiesPanel::SetUserInfo(const QString& text)
{
    const auto* rule = dynamic_cast<const TMyRuleLine*>(Shown());
    if (!rule || rule->UserInfo() == text) return;
    ApplyToRuleLines([&text](TMyRuleLine& r) { r.SetUserInfo(text); });
}

void TPropertiesPanel::SetTickStyle(TTickStyle style)
{
    ApplyToRuleLines([style](TMyRuleLine& r) { r.SetTickStyle(style); });
}

} // namespace mycad::studio
