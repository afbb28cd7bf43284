// What the canvas needs of a shape library to place one of its entries. The
// library files themselves belong to the file layer above the canvas
// (cad/io/LibManager.h), which answers this interface.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "platform/Types.h"

#include <cstdint>

namespace mycad {

class TShapeLibrary {
public:
    virtual ~TShapeLibrary() = default;

    /// Reads the entry called name: its shapes (owned by the caller, scaled
    /// to the entry's nominal width and height with their box at the
    /// origin), and with splitLinkPoints its link-point markers taken out of
    /// the shapes as the points of linkPoints; userData takes the entry's
    /// pairs. False, with every output untouched, when the entry is missing
    /// or does not read.
    virtual bool GetCmbShape(const String& name, TArrMyPoint& linkPoints, TUserData& userData, TArrMyShape& shapes,
                             int32_t& width, int32_t& height, bool splitLinkPoints) = 0;
};

} // namespace mycad
