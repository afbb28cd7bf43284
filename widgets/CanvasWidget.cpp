#include "widgets/CanvasWidget.h"

#include "widgets/PropertySupport.h"

#include <algorithm>
#include <cstdint>

namespace mycad {

namespace {

using W = TMyCADWidget;

// The property enumerations repeat the canvas's ordinals; a value added on
// one side and not the other stops the build here.
MYCAD_SAME_ORDINAL(W, TPageStyle, A0);
MYCAD_SAME_ORDINAL(W, TPageStyle, A5);
MYCAD_SAME_ORDINAL(W, TPageStyle, B3);
MYCAD_SAME_ORDINAL(W, TPageStyle, B5);
MYCAD_SAME_ORDINAL(W, TPageStyle, CustomerPage);
MYCAD_SAME_ORDINAL(W, TPageOrientation, poPortrait);
MYCAD_SAME_ORDINAL(W, TPageOrientation, poLandscape);
MYCAD_SAME_ORDINAL(W, TUnits, pixel);
MYCAD_SAME_ORDINAL(W, TUnits, mm);
MYCAD_SAME_ORDINAL(W, TUnits, cm);
MYCAD_SAME_ORDINAL(W, TUnits, dm);
MYCAD_SAME_ORDINAL(W, TUnits, m);
MYCAD_SAME_ORDINAL(W, TUnits, inch);
MYCAD_SAME_ORDINAL(W, TXYMode, Mode0);
MYCAD_SAME_ORDINAL(W, TXYMode, Mode3);
MYCAD_SAME_ORDINAL(W, TDragMode, dgBoth);
MYCAD_SAME_ORDINAL(W, TDragMode, dgHorz);
MYCAD_SAME_ORDINAL(W, TDragMode, dgVert);
MYCAD_SAME_ORDINAL(W, TArrowStyle, ANone);
MYCAD_SAME_ORDINAL(W, TArrowStyle, ALeft);
MYCAD_SAME_ORDINAL(W, TArrowStyle, ARight);
MYCAD_SAME_ORDINAL(W, TArrowStyle, ADouble);
MYCAD_SAME_ORDINAL(W, TLinkLineDrawStyle, lldsHV);
MYCAD_SAME_ORDINAL(W, TLinkLineDrawStyle, lldsFree);
MYCAD_SAME_ORDINAL(W, TBkBitmapMode, Tiled);
MYCAD_SAME_ORDINAL(W, TBkBitmapMode, Stretch);
MYCAD_SAME_ORDINAL(W, TBkBitmapMode, Center);
MYCAD_SAME_ORDINAL(W, TBkBitmapMode, LeftTop);
MYCAD_SAME_ORDINAL(W, TDrawTool, SpLinkLine);
MYCAD_SAME_ORDINAL(W, TDrawTool, SpRectangle);
MYCAD_SAME_ORDINAL(W, TDrawTool, SpClose);
MYCAD_SAME_ORDINAL(W, TDrawTool, SpBrowse);
MYCAD_SAME_ORDINAL(W, TDrawTool, SpBLine);
MYCAD_SAME_ORDINAL(W, TArcMode, amEllipse);
MYCAD_SAME_ORDINAL(W, TLinkRouter, lrClassic);
MYCAD_SAME_ORDINAL(W, TLinkRouter, lrAvoiding);
MYCAD_SAME_ORDINAL(W, TPenStyleJoinType, psjtMITER);
MYCAD_SAME_ORDINAL(W, TPenStyleEndCapType, psectFLAT);
MYCAD_SAME_ORDINAL(W, TPenStyle, psSolid);
MYCAD_SAME_ORDINAL(W, TPenStyle, psClear);
MYCAD_SAME_ORDINAL(W, TPenStyle, psAlternate);
MYCAD_SAME_ORDINAL(W, TBrushStyle, bsClear);
MYCAD_SAME_ORDINAL(W, TBrushStyle, bsDiagCross);
MYCAD_SAME_ORDINAL(W, TAlignment, taLeftJustify);
MYCAD_SAME_ORDINAL(W, TAlignment, taCenter);
MYCAD_SAME_ORDINAL(W, TGridType, gPixel);
MYCAD_SAME_ORDINAL(W, TGridType, gNone);

// The byte-sized settings take what fits; the canvas's setters apply their
// own ranges on top.
uint8_t Byte(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

// Fonts between the canvas's TFont and the QFont Designer edits; the
// colour is a property of its own.
QFont ToQFont(const TFont& f)
{
    QFont q(f.Name());
    q.setPointSize(std::max(1, f.Size()));
    q.setBold(f.Style().Contains(TFontStyle::fsBold));
    q.setItalic(f.Style().Contains(TFontStyle::fsItalic));
    q.setUnderline(f.Style().Contains(TFontStyle::fsUnderline));
    q.setStrikeOut(f.Style().Contains(TFontStyle::fsStrikeOut));
    return q;
}

void AssignQFont(TFont& f, const QFont& q)
{
    TFont next(f);
    next.SetName(q.family());
    if (q.pointSize() > 0) next.SetSize(q.pointSize());
    TFontStyles style;
    if (q.bold()) style.Include(TFontStyle::fsBold);
    if (q.italic()) style.Include(TFontStyle::fsItalic);
    if (q.underline()) style.Include(TFontStyle::fsUnderline);
    if (q.strikeOut()) style.Include(TFontStyle::fsStrikeOut);
    next.SetStyle(style);
    f.Assign(next);
}

} // namespace

TMyCADWidget::TMyCADWidget(QWidget* parent) : TMyCAD(parent) {}

W::TPageStyle TMyCADWidget::pageStyle() const { return EnumAs<TPageStyle>(PageStyle()); }
void TMyCADWidget::setPageStyle(TPageStyle value) { SetPageStyle(EnumAs<mycad::TPageStyle>(value)); }
W::TPageOrientation TMyCADWidget::pageOrientation() const { return EnumAs<TPageOrientation>(PageOrientation()); }
void TMyCADWidget::setPageOrientation(TPageOrientation value)
{
    SetPageOrientation(EnumAs<mycad::TPageOrientation>(value));
}
void TMyCADWidget::setPageWidth(int value) { SetPageWidth(static_cast<uint32_t>(std::max(value, 0))); }
void TMyCADWidget::setPageHeight(int value) { SetPageHeight(static_cast<uint32_t>(std::max(value, 0))); }
W::TUnits TMyCADWidget::theUNIT() const { return EnumAs<TUnits>(TheUNIT()); }
void TMyCADWidget::setTheUNIT(TUnits value) { SetTheUNIT(EnumAs<mycad::TUnits>(value)); }
W::TXYMode TMyCADWidget::xyMode() const { return EnumAs<TXYMode>(XYMode()); }
void TMyCADWidget::setXYMode(TXYMode value) { SetXYMode(EnumAs<mycad::TXYMode>(value)); }
QColor TMyCADWidget::colorOfBackGround() const { return ToQColor(ColorOfBackGround()); }
void TMyCADWidget::setColorOfBackGround(const QColor& value) { SetColorOfBackGround(FromQColor(value)); }
QColor TMyCADWidget::colorOfHot() const { return ToQColor(ColorOfHot()); }
void TMyCADWidget::setColorOfHot(const QColor& value) { SetColorOfHot(FromQColor(value)); }
void TMyCADWidget::setHotSize(int value) { SetHotSize(Byte(value)); }
void TMyCADWidget::setSnapPixels(int value) { SetSnapPixels(Byte(value)); }
W::TDragMode TMyCADWidget::dragMode() const { return EnumAs<TDragMode>(DragMode()); }
void TMyCADWidget::setDragMode(TDragMode value) { SetDragMode(EnumAs<mycad::TDragMode>(value)); }
void TMyCADWidget::setUndoRedoSize(int value) { SetUndoRedoSize(Byte(value)); }
W::TArrowStyle TMyCADWidget::arrowStyle() const { return EnumAs<TArrowStyle>(ArrowStyle()); }
void TMyCADWidget::setArrowStyle(TArrowStyle value) { SetArrowStyle(EnumAs<mycad::TArrowStyle>(value)); }
void TMyCADWidget::setArrowLength(int value) { SetArrowLength(Byte(value)); }
W::TLinkLineDrawStyle TMyCADWidget::linkLineDrawStyle() const { return EnumAs<TLinkLineDrawStyle>(LinkLineDrawStyle()); }
void TMyCADWidget::setLinkLineDrawStyle(TLinkLineDrawStyle value)
{
    SetLinkLineDrawStyle(EnumAs<mycad::TLinkLineDrawStyle>(value));
}
W::TBkBitmapMode TMyCADWidget::bkBitmapMode() const { return EnumAs<TBkBitmapMode>(BkBitmapMode()); }
void TMyCADWidget::setBkBitmapMode(TBkBitmapMode value) { SetBkBitmapMode(EnumAs<mycad::TBkBitmapMode>(value)); }

W::TDrawTool TMyCADWidget::shapeTool() const { return EnumAs<TDrawTool>(ShapeTool()); }
void TMyCADWidget::setShapeTool(TDrawTool value) { SetShapeTool(EnumAs<mycad::TDrawTool>(value)); }
W::TArcMode TMyCADWidget::arcMode() const { return EnumAs<TArcMode>(ArcMode()); }
void TMyCADWidget::setArcMode(TArcMode value) { SetArcMode(EnumAs<mycad::TArcMode>(value)); }
void TMyCADWidget::setArrowOffset(int value) { SetArrowOffset(Byte(value)); }
W::TLinkRouter TMyCADWidget::linkRouter() const { return EnumAs<TLinkRouter>(LinkRouter()); }
void TMyCADWidget::setLinkRouter(TLinkRouter value) { SetLinkRouter(EnumAs<mycad::TLinkRouter>(value)); }
W::TPenStyleJoinType TMyCADWidget::penStyleJoinType() const { return EnumAs<TPenStyleJoinType>(PenStyleJoinType()); }
void TMyCADWidget::setPenStyleJoinType(TPenStyleJoinType value)
{
    SetPenStyleJoinType(EnumAs<mycad::TPenStyleJoinType>(value));
}
W::TPenStyleEndCapType TMyCADWidget::penStyleEndCapType() const
{
    return EnumAs<TPenStyleEndCapType>(PenStyleEndCapType());
}
void TMyCADWidget::setPenStyleEndCapType(TPenStyleEndCapType value)
{
    SetPenStyleEndCapType(EnumAs<mycad::TPenStyleEndCapType>(value));
}
QColor TMyCADWidget::penColor() const { return ToQColor(Pen().Color()); }
void TMyCADWidget::setPenColor(const QColor& value) { Pen().SetColor(FromQColor(value)); }
void TMyCADWidget::setPenWidth(int value) { Pen().SetWidth(std::max(value, 0)); }
W::TPenStyle TMyCADWidget::penStyle() const { return EnumAs<TPenStyle>(Pen().Style()); }
void TMyCADWidget::setPenStyle(TPenStyle value) { Pen().SetStyle(EnumAs<mycad::TPenStyle>(value)); }
QColor TMyCADWidget::brushColor() const { return ToQColor(Brush().Color()); }
void TMyCADWidget::setBrushColor(const QColor& value) { Brush().SetColor(FromQColor(value)); }
W::TBrushStyle TMyCADWidget::brushStyle() const { return EnumAs<TBrushStyle>(Brush().Style()); }
void TMyCADWidget::setBrushStyle(TBrushStyle value) { Brush().SetStyle(EnumAs<mycad::TBrushStyle>(value)); }
QFont TMyCADWidget::font_() const { return ToQFont(Font()); }
void TMyCADWidget::setFont_(const QFont& value) { AssignQFont(Font(), value); }
QColor TMyCADWidget::fontColor() const { return ToQColor(Font().Color()); }
void TMyCADWidget::setFontColor(const QColor& value) { Font().SetColor(FromQColor(value)); }
QFont TMyCADWidget::pageHeadFont() const { return ToQFont(PageHeadFont()); }
void TMyCADWidget::setPageHeadFont(const QFont& value) { AssignQFont(PageHeadFont(), value); }
QFont TMyCADWidget::pageFootFont() const { return ToQFont(PageFootFont()); }
void TMyCADWidget::setPageFootFont(const QFont& value) { AssignQFont(PageFootFont(), value); }
W::TAlignment TMyCADWidget::pageHeadAlignment() const { return EnumAs<TAlignment>(PageHeadAlignment()); }
void TMyCADWidget::setPageHeadAlignment(TAlignment value) { SetPageHeadAlignment(EnumAs<mycad::TAlignment>(value)); }
W::TAlignment TMyCADWidget::pageFootAlignment() const { return EnumAs<TAlignment>(PageFootAlignment()); }
void TMyCADWidget::setPageFootAlignment(TAlignment value) { SetPageFootAlignment(EnumAs<mycad::TAlignment>(value)); }
void TMyCADWidget::setPageHeadToTop(int value) { SetPageHeadToTop(Byte(value)); }
void TMyCADWidget::setPageFootToBottom(int value) { SetPageFootToBottom(Byte(value)); }
void TMyCADWidget::setPrintABordertoLeft(int value) { SetPrintABordertoLeft(Byte(value)); }
void TMyCADWidget::setPrintABordertoTop(int value) { SetPrintABordertoTop(Byte(value)); }
void TMyCADWidget::setPrintABordertoRight(int value) { SetPrintABordertoRight(Byte(value)); }
void TMyCADWidget::setPrintABordertoBottom(int value) { SetPrintABordertoBottom(Byte(value)); }

template <typename Change>
void TMyCADWidget::ChangeGrid(Change change)
{
    // Straight on the canvas's grid object (its GridOperation setter would
    // leave GridInZoom behind), then a repaint so the form shows the change.
    change(GridOperation());
    Invalidate();
}

void TMyCADWidget::setGridShow(bool value)
{
    ChangeGrid([value](TGridObject& g) { g.SetGridShow(value); });
}
W::TGridType TMyCADWidget::gridType() const { return EnumAs<TGridType>(GridOperation().GridType()); }
void TMyCADWidget::setGridType(TGridType value)
{
    ChangeGrid([value](TGridObject& g) { g.SetGridType(EnumAs<mycad::TGridType>(value)); });
}
void TMyCADWidget::setGridWidth(double value)
{
    ChangeGrid([value](TGridObject& g) { g.SetGridWidth(value); });
}
void TMyCADWidget::setGridHeight(double value)
{
    ChangeGrid([value](TGridObject& g) { g.SetGridHeight(value); });
}
QColor TMyCADWidget::gridColor() const { return ToQColor(GridOperation().GridColor()); }
void TMyCADWidget::setGridColor(const QColor& value)
{
    ChangeGrid([c = FromQColor(value)](TGridObject& g) { g.SetGridColor(c); });
}
void TMyCADWidget::setGridPenSize(int value)
{
    ChangeGrid([b = Byte(value)](TGridObject& g) { g.SetGridPenSize(b); });
}
void TMyCADWidget::setGridInZoom(bool value)
{
    ChangeGrid([value](TGridObject& g) { g.SetGridInZoom(value); });
}

QPixmap TMyCADWidget::bkBitmap() const { return QPixmap::fromImage(BkBitmap().Image()); }
void TMyCADWidget::setBkBitmap(const QPixmap& value)
{
    TBitmap b;
    b.SetImage(value.toImage());
    SetBkBitmap(b);
}

} // namespace mycad
