// TMyCADWidget: the canvas with its published settings as Qt properties, so
// Qt Designer's property editor edits them and .ui files store them.
//
// TMyCAD itself stays free of Qt's meta-object system; this class adds it.
// Each property carries the canvas's own name (Zoom, PageStyle, Snap, ...);
// enumerations repeat the canvas's values so Designer offers them in a
// drop-down list. Code that needs the rest of the canvas uses the
// TMyCAD interface this class inherits.
#pragma once

#include "cad/canvas/MyCAD.h"

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>

namespace mycad {

class TMyCADWidget : public TMyCAD {
    Q_OBJECT
    Q_PROPERTY(double Zoom READ Zoom WRITE setZoom)
    Q_PROPERTY(TPageStyle PageStyle READ pageStyle WRITE setPageStyle)
    Q_PROPERTY(TPageOrientation PageOrientation READ pageOrientation WRITE setPageOrientation)
    Q_PROPERTY(int PageWidth READ pageWidth WRITE setPageWidth)
    Q_PROPERTY(int PageHeight READ pageHeight WRITE setPageHeight)
    Q_PROPERTY(TUnits TheUNIT READ theUNIT WRITE setTheUNIT)
    Q_PROPERTY(double Ratio READ Ratio WRITE setRatio)
    Q_PROPERTY(TXYMode XYMode READ xyMode WRITE setXYMode)
    Q_PROPERTY(QColor ColorOfBackGround READ colorOfBackGround WRITE setColorOfBackGround)
    Q_PROPERTY(QColor ColorOfHot READ colorOfHot WRITE setColorOfHot)
    Q_PROPERTY(bool HotShow READ HotShow WRITE setHotShow)
    Q_PROPERTY(int HotSize READ hotSize WRITE setHotSize)
    Q_PROPERTY(bool Snap READ Snap WRITE setSnap)
    Q_PROPERTY(int SnapPixels READ snapPixels WRITE setSnapPixels)
    Q_PROPERTY(bool SnapShape READ SnapShape WRITE setSnapShape)
    Q_PROPERTY(bool DragEnable READ DragEnable WRITE setDragEnable)
    Q_PROPERTY(TDragMode DragMode READ dragMode WRITE setDragMode)
    Q_PROPERTY(bool ResizeEnable READ ResizeEnable WRITE setResizeEnable)
    Q_PROPERTY(bool RotateEnable READ RotateEnable WRITE setRotateEnable)
    Q_PROPERTY(int RotateConstraintDegree READ RotateConstraintDegree WRITE setRotateConstraintDegree)
    Q_PROPERTY(bool ReturnToSelecting READ ReturnToSelecting WRITE setReturnToSelecting)
    Q_PROPERTY(bool CrossLine READ CrossLine WRITE setCrossLine)
    Q_PROPERTY(bool MouseEffect READ MouseEffect WRITE setMouseEffect)
    Q_PROPERTY(bool LockBound READ LockBound WRITE setLockBound)
    Q_PROPERTY(bool OperateAllLayer READ OperateAllLayer WRITE setOperateAllLayer)
    Q_PROPERTY(int UndoRedoSize READ undoRedoSize WRITE setUndoRedoSize)
    Q_PROPERTY(TArrowStyle ArrowStyle READ arrowStyle WRITE setArrowStyle)
    Q_PROPERTY(int ArrowAngle READ ArrowAngle WRITE setArrowAngle)
    Q_PROPERTY(int ArrowLength READ arrowLength WRITE setArrowLength)
    Q_PROPERTY(TLinkLineDrawStyle LinkLineDrawStyle READ linkLineDrawStyle WRITE setLinkLineDrawStyle)
    Q_PROPERTY(bool LinklineAroundShape READ LinklineAroundShape WRITE setLinklineAroundShape)
    Q_PROPERTY(TBkBitmapMode BkBitmapMode READ bkBitmapMode WRITE setBkBitmapMode)
    Q_PROPERTY(QString PageHead READ PageHead WRITE setPageHead)
    Q_PROPERTY(QString PageFoot READ PageFoot WRITE setPageFoot)
    Q_PROPERTY(bool PrintABorder READ PrintABorder WRITE setPrintABorder)
    Q_PROPERTY(bool PrintBackground READ PrintBackground WRITE setPrintBackground)
    Q_PROPERTY(int Tag READ Tag WRITE setTag)
    Q_PROPERTY(TDrawTool ShapeTool READ shapeTool WRITE setShapeTool)
    Q_PROPERTY(TArcMode ArcMode READ arcMode WRITE setArcMode)
    Q_PROPERTY(int ArrowOffset READ arrowOffset WRITE setArrowOffset)
    Q_PROPERTY(bool DisableTextInput READ DisableTextInput WRITE setDisableTextInput)
    Q_PROPERTY(bool DragTrace READ DragTrace WRITE setDragTrace)
    Q_PROPERTY(bool MergeLineShape READ MergeLineShape WRITE setMergeLineShape)
    Q_PROPERTY(bool ShowHotLink READ ShowHotLink WRITE setShowHotLink)
    Q_PROPERTY(TLinkRouter LinkRouter READ linkRouter WRITE setLinkRouter)
    Q_PROPERTY(TPenStyleJoinType PenStyleJoinType READ penStyleJoinType WRITE setPenStyleJoinType)
    Q_PROPERTY(TPenStyleEndCapType PenStyleEndCapType READ penStyleEndCapType WRITE setPenStyleEndCapType)
    Q_PROPERTY(QColor PenColor READ penColor WRITE setPenColor)
    Q_PROPERTY(int PenWidth READ penWidth WRITE setPenWidth)
    Q_PROPERTY(TPenStyle PenStyle READ penStyle WRITE setPenStyle)
    Q_PROPERTY(QColor BrushColor READ brushColor WRITE setBrushColor)
    Q_PROPERTY(TBrushStyle BrushStyle READ brushStyle WRITE setBrushStyle)
    Q_PROPERTY(QFont Font READ font_ WRITE setFont_)
    Q_PROPERTY(QColor FontColor READ fontColor WRITE setFontColor)
    Q_PROPERTY(QFont PageHeadFont READ pageHeadFont WRITE setPageHeadFont)
    Q_PROPERTY(QFont PageFootFont READ pageFootFont WRITE setPageFootFont)
    Q_PROPERTY(TAlignment PageHeadAlignment READ pageHeadAlignment WRITE setPageHeadAlignment)
    Q_PROPERTY(TAlignment PageFootAlignment READ pageFootAlignment WRITE setPageFootAlignment)
    Q_PROPERTY(int PageHeadToTop READ pageHeadToTop WRITE setPageHeadToTop)
    Q_PROPERTY(int PageFootToBottom READ pageFootToBottom WRITE setPageFootToBottom)
    Q_PROPERTY(int PrintABordertoLeft READ printABordertoLeft WRITE setPrintABordertoLeft)
    Q_PROPERTY(int PrintABordertoTop READ printABordertoTop WRITE setPrintABordertoTop)
    Q_PROPERTY(int PrintABordertoRight READ printABordertoRight WRITE setPrintABordertoRight)
    Q_PROPERTY(int PrintABordertoBottom READ printABordertoBottom WRITE setPrintABordertoBottom)
    Q_PROPERTY(bool GridShow READ gridShow WRITE setGridShow)
    Q_PROPERTY(TGridType GridType READ gridType WRITE setGridType)
    Q_PROPERTY(double GridWidth READ gridWidth WRITE setGridWidth)
    Q_PROPERTY(double GridHeight READ gridHeight WRITE setGridHeight)
    Q_PROPERTY(QColor GridColor READ gridColor WRITE setGridColor)
    Q_PROPERTY(int GridPenSize READ gridPenSize WRITE setGridPenSize)
    Q_PROPERTY(bool GridInZoom READ gridInZoom WRITE setGridInZoom)
    Q_PROPERTY(QPixmap BkBitmap READ bkBitmap WRITE setBkBitmap)

public:
    // The canvas's enumerations, value for value (checked where they are
    // converted).
    enum TPageStyle { A0, A1, A2, A3, A4, A5, B3, B4, B5, CustomerPage };
    Q_ENUM(TPageStyle)
    enum TPageOrientation { poPortrait, poLandscape };
    Q_ENUM(TPageOrientation)
    enum TUnits { pixel, mm, cm, dm, m, inch };
    Q_ENUM(TUnits)
    enum TXYMode { Mode0, Mode1, Mode2, Mode3 };
    Q_ENUM(TXYMode)
    enum TDragMode { dgBoth, dgHorz, dgVert };
    Q_ENUM(TDragMode)
    enum TArrowStyle { ANone, ALeft, ARight, ADouble };
    Q_ENUM(TArrowStyle)
    enum TLinkLineDrawStyle { lldsHV, lldsFree };
    Q_ENUM(TLinkLineDrawStyle)
    enum TBkBitmapMode { Tiled, Stretch, Center, LeftTop };
    Q_ENUM(TBkBitmapMode)
    enum TDrawTool {
        SpLinkLine, SpSelecting, SpRotateSelecting, SpLine, SpRuleLine, SpPolyLine, SpRectangle, SpLinkPoint,
        SpLineLinkLine, SpEllipse, SpText, SpImage, SpPolygon, SpPolyBezier, SpElliArc, SpClose,
        SpPolylinePolygonPointRemoving, SpPolylinePolygonPointAdding, SpDragWhole, SpBrowse, SpFreeLine, SpBLine
    };
    Q_ENUM(TDrawTool)
    enum TArcMode { amCircle, amEllipse };
    Q_ENUM(TArcMode)
    enum TLinkRouter { lrClassic, lrAvoiding };
    Q_ENUM(TLinkRouter)
    enum TPenStyleJoinType { psjtROUND, psjtBEVEL, psjtMITER };
    Q_ENUM(TPenStyleJoinType)
    enum TPenStyleEndCapType { psectROUND, psectSQUARE, psectFLAT };
    Q_ENUM(TPenStyleEndCapType)
    enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate };
    Q_ENUM(TPenStyle)
    enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
    Q_ENUM(TBrushStyle)
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)
    enum TGridType { gPixel, gLine, gNone };
    Q_ENUM(TGridType)

    explicit TMyCADWidget(QWidget* parent = nullptr);

    // Qt-style accessors behind the properties; uic-generated forms call the
    // setters.
    void setZoom(double value) { SetZoom(value); }
    TPageStyle pageStyle() const;
    void setPageStyle(TPageStyle value);
    TPageOrientation pageOrientation() const;
    void setPageOrientation(TPageOrientation value);
    int pageWidth() const { return static_cast<int>(PageWidth()); }
    void setPageWidth(int value);
    int pageHeight() const { return static_cast<int>(PageHeight()); }
    void setPageHeight(int value);
    TUnits theUNIT() const;
    void setTheUNIT(TUnits value);
    void setRatio(double value) { SetRatio(value); }
    TXYMode xyMode() const;
    void setXYMode(TXYMode value);
    QColor colorOfBackGround() const;
    void setColorOfBackGround(const QColor& value);
    QColor colorOfHot() const;
    void setColorOfHot(const QColor& value);
    void setHotShow(bool value) { SetHotShow(value); }
    int hotSize() const { return HotSize(); }
    void setHotSize(int value);
    void setSnap(bool value) { SetSnap(value); }
    int snapPixels() const { return SnapPixels(); }
    void setSnapPixels(int value);
    void setSnapShape(bool value) { SetSnapShape(value); }
    void setDragEnable(bool value) { SetDragEnable(value); }
    TDragMode dragMode() const;
    void setDragMode(TDragMode value);
    void setResizeEnable(bool value) { SetResizeEnable(value); }
    void setRotateEnable(bool value) { SetRotateEnable(value); }
    void setRotateConstraintDegree(int value) { SetRotateConstraintDegree(value); }
    void setReturnToSelecting(bool value) { SetReturnToSelecting(value); }
    void setCrossLine(bool value) { SetCrossLine(value); }
    void setMouseEffect(bool value) { SetMouseEffect(value); }
    void setLockBound(bool value) { SetLockBound(value); }
    void setOperateAllLayer(bool value) { SetOperateAllLayer(value); }
    int undoRedoSize() const { return UndoRedoSize(); }
    void setUndoRedoSize(int value);
    TArrowStyle arrowStyle() const;
    void setArrowStyle(TArrowStyle value);
    void setArrowAngle(int value) { SetArrowAngle(value); }
    int arrowLength() const { return ArrowLength(); }
    void setArrowLength(int value);
    TLinkLineDrawStyle linkLineDrawStyle() const;
    void setLinkLineDrawStyle(TLinkLineDrawStyle value);
    void setLinklineAroundShape(bool value) { SetLinklineAroundShape(value); }
    TBkBitmapMode bkBitmapMode() const;
    void setBkBitmapMode(TBkBitmapMode value);
    void setPageHead(const QString& value) { SetPageHead(value); }
    void setPageFoot(const QString& value) { SetPageFoot(value); }
    void setPrintABorder(bool value) { SetPrintABorder(value); }
    void setPrintBackground(bool value) { SetPrintBackground(value); }
    void setTag(int value) { SetTag(value); }
    TDrawTool shapeTool() const;
    void setShapeTool(TDrawTool value);
    TArcMode arcMode() const;
    void setArcMode(TArcMode value);
    int arrowOffset() const { return ArrowOffset(); }
    void setArrowOffset(int value);
    void setDisableTextInput(bool value) { SetDisableTextInput(value); }
    void setDragTrace(bool value) { SetDragTrace(value); }
    void setMergeLineShape(bool value) { SetMergeLineShape(value); }
    void setShowHotLink(bool value) { SetShowHotLink(value); }
    TLinkRouter linkRouter() const;
    void setLinkRouter(TLinkRouter value);
    TPenStyleJoinType penStyleJoinType() const;
    void setPenStyleJoinType(TPenStyleJoinType value);
    TPenStyleEndCapType penStyleEndCapType() const;
    void setPenStyleEndCapType(TPenStyleEndCapType value);
    // The pen, brush and font new shapes take.
    QColor penColor() const;
    void setPenColor(const QColor& value);
    int penWidth() const { return Pen().Width(); }
    void setPenWidth(int value);
    TPenStyle penStyle() const;
    void setPenStyle(TPenStyle value);
    QColor brushColor() const;
    void setBrushColor(const QColor& value);
    TBrushStyle brushStyle() const;
    void setBrushStyle(TBrushStyle value);
    // Named with a trailing underscore: QWidget's own font() and setFont()
    // style the widget, these the text of new shapes.
    QFont font_() const;
    void setFont_(const QFont& value);
    QColor fontColor() const;
    void setFontColor(const QColor& value);
    QFont pageHeadFont() const;
    void setPageHeadFont(const QFont& value);
    QFont pageFootFont() const;
    void setPageFootFont(const QFont& value);
    TAlignment pageHeadAlignment() const;
    void setPageHeadAlignment(TAlignment value);
    TAlignment pageFootAlignment() const;
    void setPageFootAlignment(TAlignment value);
    int pageHeadToTop() const { return PageHeadToTop(); }
    void setPageHeadToTop(int value);
    int pageFootToBottom() const { return PageFootToBottom(); }
    void setPageFootToBottom(int value);
    int printABordertoLeft() const { return PrintABordertoLeft(); }
    void setPrintABordertoLeft(int value);
    int printABordertoTop() const { return PrintABordertoTop(); }
    void setPrintABordertoTop(int value);
    int printABordertoRight() const { return PrintABordertoRight(); }
    void setPrintABordertoRight(int value);
    int printABordertoBottom() const { return PrintABordertoBottom(); }
    void setPrintABordertoBottom(int value);
    // The grid, one property per setting of GridOperation.
    bool gridShow() const { return GridOperation().GridShow(); }
    void setGridShow(bool value);
    TGridType gridType() const;
    void setGridType(TGridType value);
    double gridWidth() const { return GridOperation().GridWidth(); }
    void setGridWidth(double value);
    double gridHeight() const { return GridOperation().GridHeight(); }
    void setGridHeight(double value);
    QColor gridColor() const;
    void setGridColor(const QColor& value);
    int gridPenSize() const { return GridOperation().GridPenSize(); }
    void setGridPenSize(int value);
    bool gridInZoom() const { return GridOperation().GridInZoom(); }
    void setGridInZoom(bool value);
    QPixmap bkBitmap() const;
    void setBkBitmap(const QPixmap& value);

private:
    /// Changes one grid setting and repaints.
    template <typename Change>
    void ChangeGrid(Change change);
};

} // namespace mycad
