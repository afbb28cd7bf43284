// Walking a shape and its members (ChildShapesNo, depth first) without
// recursion, so that member lists of a damaged document that nest very deep
// or loop cannot exhaust the stack: a shape is visited once per walk.
#pragma once

#include "cad/shapes/Shape.h"
#include "cad/shapes/ShapeOwner.h"

#include <cstdint>
#include <unordered_set>
#include <vector>

namespace mycad {

enum class TTreeOrder : uint8_t {
    ShapeFirst,   ///< a shape, then each member's tree in member order
    MembersFirst, ///< each member's tree in member order, then the shape
};

/// Calls visit(shape) for root and its members; descend(shape) says whether
/// a shape's members are visited.
template <typename Visit, typename Descend>
void WalkShapeTree(const TShapeOwner& owner, TMyShape& root, TTreeOrder order, Visit visit, Descend descend)
{
    struct Frame {
        TMyShape* Shape;
        size_t NextChild;
    };
    std::unordered_set<const TMyShape*> seen{&root};
    std::vector<Frame> stack{{&root, 0}};
    if (order == TTreeOrder::ShapeFirst) visit(root);
    while (!stack.empty()) {
        Frame& top = stack.back();
        TMyShape* shape = top.Shape;
        if (descend(*shape) && top.NextChild < shape->ChildShapesNo.size()) {
            const uint32_t no = shape->ChildShapesNo[top.NextChild++];
            TMyShape* member = no <= static_cast<uint32_t>(INT32_MAX) ? owner.GetShapeByNo(static_cast<int32_t>(no)) : nullptr;
            if (member && seen.insert(member).second) {
                if (order == TTreeOrder::ShapeFirst) visit(*member);
                stack.push_back({member, 0});
            }
            continue;
        }
        stack.pop_back();
        if (order == TTreeOrder::MembersFirst) visit(*shape);
    }
}

template <typename Visit>
void WalkShapeTree(const TShapeOwner& owner, TMyShape& root, TTreeOrder order, Visit visit)
{
    WalkShapeTree(owner, root, order, visit, [](const TMyShape&) { return true; });
}

} // namespace mycad
