// Where the top-level shapes draw, kept so that a paint of a small rectangle
// finds its shapes without visiting every shape.
#pragma once

#include "platform/Types.h"

#include <cstdint>
#include <vector>

namespace mycad {

/// Boxes of device pixels, one per shape number, in a uniform grid of
/// cells: a box is filed under the cell of its top-left corner, so a search
/// looks at the cells from one cell before the rectangle to its end. Boxes
/// larger than a cell are kept apart and tested on every search.
class TDrawIndex {
public:
    /// Forgets every shape; room for count of them is made ready.
    void Clear(size_t count = 0);
    /// The shape draws only inside left..right x top..bottom, both ends
    /// included. A box with a NaN side meets no rectangle and is left out.
    void Add(uint32_t no, double left, double top, double right, double bottom);
    /// The shape may draw anywhere: every search finds it.
    void AddAnywhere(uint32_t no);
    /// Files the shapes added since Clear; call before Find.
    void Build();
    /// Replaces found with the numbers of the shapes, in the order they were
    /// added, that may draw anywhere or whose box meets area: the box reaches
    /// area.Left and area.Top and starts before area.Right and area.Bottom.
    void Find(const TRect& area, std::vector<uint32_t>& found);

    size_t Count() const { return FNos.size(); }

private:
    // Sides in whole pixels, rounded down: for the whole-pixel sides of a
    // rectangle, x >= n exactly when floor(x) >= n and x < n exactly when
    // floor(x) < n, so the test is the same as on the exact box.
    struct TBox {
        int64_t Left = 0;
        int64_t Top = 0;
        int64_t Right = 0;
        int64_t Bottom = 0;
        bool Meets(const TRect& r) const
        {
            return Right >= r.Left && Left < r.Right && Bottom >= r.Top && Top < r.Bottom;
        }
    };
    /// A box with its shape's place in the order added.
    struct TFiled {
        TBox Box;
        uint32_t Entry = 0;
    };

    std::vector<uint32_t> FNos;      // shape numbers in the order added
    std::vector<uint32_t> FAnywhere; // places of the shapes that may draw anywhere
    std::vector<TFiled> FApart;      // boxes larger than a cell, tested on every search
    std::vector<TFiled> FFiled;      // the other boxes, cell by cell (boxes added, before Build)
    std::vector<uint32_t> FCellStart;
    int64_t FOriginX = 0;
    int64_t FOriginY = 0;
    int64_t FColumns = 0;
    int64_t FRows = 0;
    int FShift = 0; // a cell is 2^FShift pixels square
    std::vector<uint64_t> FChosen; // one bit per place during a search
};

} // namespace mycad
