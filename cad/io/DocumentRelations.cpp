#include "cad/io/DocumentRelations.h"

#include "cad/io/RecordReader.h"

#include <vector>

namespace mycad {

void CheckDocumentRelations(const TArrMyShape& shapes)
{
    const size_t n = shapes.size();
    auto isShape = [n](int64_t no) { return no >= 0 && static_cast<uint64_t>(no) < n; };

    std::vector<uint8_t> memberOf(n, 0);
    for (const auto& shape : shapes) {
        if (shape->ParentShapeNo != -1 && !isShape(shape->ParentShapeNo)) TRecordReader::Fail("parent names no shape");
        for (uint32_t member : shape->ChildShapesNo) {
            if (!isShape(member)) TRecordReader::Fail("member names no shape");
            if (memberOf[member]++ != 0) TRecordReader::Fail("shape is a member twice");
        }
        for (uint32_t link : shape->LinkShapesNo) {
            if (!isShape(link)) TRecordReader::Fail("attached connector names no shape");
        }
        for (const int32_t* end : shape->ConnectorEndRefs()) {
            if (*end != -1 && !isShape(*end)) TRecordReader::Fail("connector end names no shape");
        }
    }

    // Every shape listed at most once, the member lists form trees unless
    // they loop; the walk from the shapes no list names reaches every shape
    // exactly when they do not.
    std::vector<uint32_t> pending;
    for (size_t i = 0; i < n; ++i) {
        if (memberOf[i] == 0) pending.push_back(static_cast<uint32_t>(i));
    }
    size_t reached = 0;
    while (!pending.empty()) {
        const uint32_t no = pending.back();
        pending.pop_back();
        ++reached;
        for (uint32_t member : shapes[no]->ChildShapesNo) pending.push_back(member);
    }
    if (reached != n) TRecordReader::Fail("member lists run in a loop");

    // Parent numbers: each walk up either meets a shape already known to end
    // at a root, or comes back to itself.
    enum : uint8_t { kUnknown, kOnWalk, kEndsAtRoot };
    std::vector<uint8_t> state(n, kUnknown);
    std::vector<size_t> walk;
    for (size_t i = 0; i < n; ++i) {
        walk.clear();
        int64_t no = static_cast<int64_t>(i);
        while (no != -1 && state[static_cast<size_t>(no)] == kUnknown) {
            state[static_cast<size_t>(no)] = kOnWalk;
            walk.push_back(static_cast<size_t>(no));
            no = shapes[static_cast<size_t>(no)]->ParentShapeNo;
        }
        if (no != -1 && state[static_cast<size_t>(no)] == kOnWalk) TRecordReader::Fail("parents run in a loop");
        for (size_t k : walk) state[k] = kEndsAtRoot;
    }
}

} // namespace mycad
