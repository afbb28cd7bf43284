// The id -> list number index behind the canvas's id look-ups. It answers
// exactly what a scan of the list in order would answer: the first shape
// with the id, also when a loaded drawing holds an id twice.
//
// Shapes appended since the last look-up are indexed lazily, so a caller may
// still set the id of a shape it has just appended. Any other change of the
// list (removal, reordering, a slot filled by the reader) must call
// Invalidate, and so must a direct change of a listed shape's ShapeId; a
// stale entry whose shape no longer carries the id is detected and rebuilt.
#pragma once

#include "cad/shapes/Shape.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace mycad {

class TShapeIdIndex {
public:
    using List = std::vector<std::unique_ptr<TMyShape>>;

    /// Forgets everything; the next look-up rebuilds from the whole list.
    void Invalidate();
    /// The first list number whose shape has the id, -1 when none has.
    int32_t Find(const List& shapes, int32_t id);

private:
    void Rebuild(const List& shapes);
    void IndexTail(const List& shapes);

    std::unordered_map<int32_t, int32_t> FFirst;
    size_t FIndexed = 0;
};

} // namespace mycad
