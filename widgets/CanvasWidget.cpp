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

// The byte-sized settings take what fits; the canvas's setters apply their
// own ranges on top.
uint8_t Byte(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

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

} // namespace mycad
