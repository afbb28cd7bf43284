// The published settings of the canvas with the values a new canvas starts
// with. The property getters and setters of TMyCAD (Properties.cpp,
// PageSize.cpp) read and write these fields; keeping them in one value type
// makes "a new canvas starts with the published values" one comparison, and
// lets a host copy every setting of one canvas to another at once.
//
// Settings that are objects with change notifications of their own (the pen,
// brush and fonts new shapes take, the background bitmap, the user data) stay
// members of TMyCAD.
#pragma once

#include "cad/connectors/AvoidRouter.h"
#include "cad/shapes/ShapeTypes.h"
#include "platform/Types.h"

#include <cstdint>

namespace mycad {

class TLabel;

struct TCanvasSettings {
    TArcMode FArcMode = TArcMode::amCircle;
    int32_t FArrowAngle = 10;
    uint8_t FArrowLength = 30;
    uint8_t FArrowOffset = 0;
    TArrowStyle FArrowStyle = TArrowStyle::ANone;
    TBkBitmapMode FBkBitmapMode = TBkBitmapMode::Center;
    TColor FColorOfBackGround = clWhite;
    TColor FColorOfHot = 0x808080;
    bool FCrossLine = true;
    bool FDisableTextInput = false;
    bool FDragEnable = true;
    TDragMode FDragMode = TDragMode::dgBoth;
    bool FDragTrace = true;
    bool FHotShow = true;
    uint8_t FHotSize = 4;
    TLabel* FLabelValue = nullptr;
    TLabel* FLabelXY = nullptr;
    bool FLinklineAroundShape = true;
    TLinkRouter FLinkRouter = TLinkRouter::lrClassic;
    TLinkLineDrawStyle FLinkLineDrawStyle = TLinkLineDrawStyle::lldsHV;
    bool FLockBound = false;
    bool FMergeLineShape = false;
    bool FMouseEffect = true;
    bool FOperateAllLayer = true;
    String FPageFoot;
    String FPageHead;
    TAlignment FPageFootAlignment = TAlignment::taRightJustify;
    TAlignment FPageHeadAlignment = TAlignment::taCenter;
    uint8_t FPageFootToBottom = 15;
    uint8_t FPageHeadToTop = 15;
    TPageStyle FPageStyle = TPageStyle::A4;
    uint32_t FPageWidth = 210;
    uint32_t FPageHeight = 297;
    TPageOrientation FPageOrientation = TPageOrientation::poPortrait;
    TPenStyleJoinType FPenStyleJoinType = TPenStyleJoinType::psjtROUND;
    TPenStyleEndCapType FPenStyleEndCapType = TPenStyleEndCapType::psectROUND;
    bool FPrintABorder = true;
    uint8_t FPrintABordertoBottom = 20;
    uint8_t FPrintABordertoLeft = 20;
    uint8_t FPrintABordertoRight = 20;
    uint8_t FPrintABordertoTop = 20;
    bool FPrintBackground = false;
    double FRatio = 1.0;
    bool FResizeEnable = true;
    bool FRotateEnable = true;
    bool FReturnToSelecting = true;
    int32_t FRotateConstraintDegree = 0;
    bool FShowHotLink = true;
    bool FSnap = true;
    uint8_t FSnapPixels = 4;
    bool FSnapShape = false;
    TUnits FTheUNIT = TUnits::mm;
    uint8_t FUndoRedoSize = 10;
    String FVersion = u"2013"_s;
    TXYMode FXYMode = TXYMode::Mode0;
    double FZoom = 1.0;
    int32_t FTag = 0;

    friend bool operator==(const TCanvasSettings&, const TCanvasSettings&) = default;
};

} // namespace mycad
