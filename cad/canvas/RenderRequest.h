// What one rendering of the drawing onto a canvas draws, and where.
#pragma once

#include "platform/Types.h"

#include <cstdint>
#include <vector>

namespace mycad {

class TMyShape;

/// Which shapes a rendering draws. Every choice draws visible shapes only;
/// a container draws its visible members (recursively) before itself.
enum class TRenderPick : uint8_t {
    /// The top-level shapes of visible layers, as the control shows them.
    VisibleLayers,
    /// The top-level shapes whose layer is in LayerIds (all when it is
    /// empty), shape by shape in list order and, for each shape, id by id,
    /// so an id listed twice draws its shapes twice. Layer visibility is not
    /// consulted: a page is printed with the layers asked for.
    Layers,
    /// As Layers, but every shape of the list, members included, is drawn
    /// by itself where the list has it; nothing is drawn twice for being a
    /// member.
    LayersFlat,
    /// The given Shapes, in their order, each top-level one with its members.
    Shapes,
    /// The given Shapes, in their order, each visible one by itself: members
    /// are not looked up in the list, so copies outside it draw as they are.
    ShapesFlat,
};

struct TRenderRequest {
    /// Document units to canvas pixels.
    double Zoom = 1.0;
    /// The canvas pixel on which the document's origin lands.
    TPoint Offset;
    TRenderPick Pick = TRenderPick::VisibleLayers;
    std::vector<int32_t> LayerIds;
    std::vector<TMyShape*> Shapes;
    /// Link-point marks above the shapes, when the control shows them.
    bool LinkMarks = false;
    /// The canvas is a printer's: pens widen with the zoom and colours turn
    /// grey on a black-and-white printer.
    bool Printer = false;
};

} // namespace mycad
