// TGridObject: the grid settings of a canvas (spacing, colour, pen, kind).
// Setters only store; the canvas reads the values when it paints and snaps.
#pragma once

#include "platform/Types.h"

#include <cstdint>

namespace mycad {

/// Dots, lines or no grid. Stored in documents by ordinal.
enum class TGridType : uint8_t { gPixel = 0, gLine = 1, gNone = 2 };

class TGridObject {
public:
    TColor GridColor() const { return FGridColor; }
    void SetGridColor(TColor value) { FGridColor = value; }
    /// Vertical spacing in pixels.
    double GridHeight() const { return FGridHeight; }
    void SetGridHeight(double value) { FGridHeight = value; }
    /// Pen width of lines; half size of dots.
    uint8_t GridPenSize() const { return FGridPenSize; }
    void SetGridPenSize(uint8_t value) { FGridPenSize = value; }
    /// When true the drawn spacing follows the canvas zoom.
    bool GridInZoom() const { return FGridInZoom; }
    void SetGridInZoom(bool value) { FGridInZoom = value; }
    bool GridShow() const { return FGridShow; }
    void SetGridShow(bool value) { FGridShow = value; }
    TGridType GridType() const { return FGridType; }
    void SetGridType(TGridType value) { FGridType = value; }
    /// Horizontal spacing in pixels.
    double GridWidth() const { return FGridWidth; }
    void SetGridWidth(double value) { FGridWidth = value; }

private:
    TColor FGridColor = clSilver;
    double FGridHeight = 20.0;
    uint8_t FGridPenSize = 1;
    bool FGridInZoom = false;
    bool FGridShow = true;
    TGridType FGridType = TGridType::gLine;
    double FGridWidth = 20.0;
};

} // namespace mycad
