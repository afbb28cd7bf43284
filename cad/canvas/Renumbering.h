// The one place where the canvas rewrites the list numbers that relate
// shapes: a shape's parent, its members, its attached connectors and, for a
// connector, the shapes at its two ends. Deleting and reordering differ only
// in the mapping they apply.
#pragma once

#include "cad/shapes/Shape.h"

#include <cstdint>
#include <vector>

namespace mycad::renumber {

/// Applies a mapping to every relation number of a shape. The mapping has
/// Parent(int32_t), No(uint32_t) for member and connector lists, and
/// End(int32_t) for connector ends.
template <typename Mapping>
void RenumberRelations(TMyShape& shape, const Mapping& mapping)
{
    shape.ParentShapeNo = mapping.Parent(shape.ParentShapeNo);
    for (uint32_t& no : shape.ChildShapesNo) no = mapping.No(no);
    for (uint32_t& no : shape.LinkShapesNo) no = mapping.No(no);
    for (int32_t* end : shape.ConnectorEndRefs()) {
        if (end) *end = mapping.End(*end);
    }
}

/// Shapes move to new places: every number of a listed place becomes the
/// new place of the shape that was there; other numbers stay.
struct TPermutation {
    /// NewPlace[old list number] = new list number.
    std::vector<int32_t> NewPlace;

    int32_t Parent(int32_t v) const { return End(v); }
    int32_t End(int32_t v) const
    {
        return v >= 0 && static_cast<size_t>(v) < NewPlace.size() ? NewPlace[static_cast<size_t>(v)] : v;
    }
    uint32_t No(uint32_t v) const
    {
        return v < NewPlace.size() ? static_cast<uint32_t>(NewPlace[v]) : v;
    }
};

/// Shapes are removed: every number drops by the count of removed places
/// below it, which is what removing them one at a time and lowering the
/// numbers above each gives. A parent that is removed becomes "no parent"
/// rather than naming whichever shape moves into its place.
struct TRemoval {
    /// Before[v] = removed places below v, for v = 0 .. list size.
    std::vector<int32_t> Before;
    /// Removed[v]: place v is removed.
    std::vector<bool> Removed;

    int32_t Total() const { return Before.empty() ? 0 : Before.back(); }
    int32_t Parent(int32_t v) const
    {
        if (v >= 0 && static_cast<size_t>(v) < Removed.size() && Removed[static_cast<size_t>(v)]) return -1;
        return End(v);
    }
    int32_t End(int32_t v) const
    {
        if (v < 0) return v;
        if (static_cast<size_t>(v) < Removed.size()) return v - Before[static_cast<size_t>(v)];
        return v - Total();
    }
    uint32_t No(uint32_t v) const
    {
        if (v < Removed.size()) return v - static_cast<uint32_t>(Before[v]);
        return v - static_cast<uint32_t>(Total());
    }
};

} // namespace mycad::renumber
