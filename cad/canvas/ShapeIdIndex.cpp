#include "cad/canvas/ShapeIdIndex.h"

namespace mycad {

void TShapeIdIndex::Invalidate()
{
    FFirst.clear();
    FIndexed = 0;
}

void TShapeIdIndex::Rebuild(const List& shapes)
{
    Invalidate();
    FFirst.reserve(shapes.size());
    IndexTail(shapes);
}

void TShapeIdIndex::IndexTail(const List& shapes)
{
    for (size_t i = FIndexed; i < shapes.size(); ++i) {
        // try_emplace keeps the earlier entry, so duplicates resolve to the first match.
        if (const TMyShape* s = shapes[i].get()) FFirst.try_emplace(s->ShapeId, static_cast<int32_t>(i));
    }
    FIndexed = shapes.size();
}

int32_t TShapeIdIndex::Find(const List& shapes, int32_t id)
{
    if (FIndexed > shapes.size()) Rebuild(shapes);
    IndexTail(shapes);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto it = FFirst.find(id);
        if (it == FFirst.end()) return -1;
        const auto no = static_cast<size_t>(it->second);
        if (no < shapes.size() && shapes[no] && shapes[no]->ShapeId == id) return it->second;
        // The shape at the remembered place no longer has the id: something
        // changed the list without telling the index.
        Rebuild(shapes);
    }
    return -1;
}

} // namespace mycad
