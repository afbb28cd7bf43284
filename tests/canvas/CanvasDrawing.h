// Helpers for the canvas tests: a connector stand-in, groups and connectors
// made by hand through the relation lists, and a readable view of every
// relation number of a drawing so whole drawings can be compared.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "cad/shapes/Line.h"
#include "cad/shapes/Rectangle.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <ostream>
#include <vector>

namespace mycad::test {

/// A line that reports the list numbers of the shapes at its two ends the way
/// connector classes do, so the canvas renumbers and frees them.
class TestConnector : public TMyLine {
public:
    using TMyLine::TMyLine;
    std::vector<int32_t*> ConnectorEndRefs() override { return {&FStartSpNo, &FEndSpNo}; }
    int32_t FStartSpNo = -1;
    int32_t FEndSpNo = -1;
};

/// A rectangle at (x, y) of w x h document units, added by code as a host
/// adds it (selected, one undo step); its id.
inline int32_t BoxByCode(TMyCAD& cad, float x, float y, float w = 10, float h = 10)
{
    auto d = [z = cad.Zoom()](float v) { return static_cast<float>(v * z); };
    return cad.AddShapeByCode(&cad, TDrawTool::SpRectangle, QString(),
                              {{d(x), d(y)}, {d(x + w), d(y)}, {d(x + w), d(y + h)}, {d(x), d(y + h)}}, 3, 0.0,
                              QString());
}

/// Appends a rectangle the ordinary way (number, id, "Shape" + id).
inline TMyShape* AddRect(TMyCAD& cad)
{
    return cad.CreateAddShapeByName(QStringLiteral("TMyRectangle"));
}

/// Appends a connector from the shape at list number start to the one at end
/// (-1: a free end) and registers it with both shapes, numbered and named as
/// the ordinary add does.
inline TestConnector* AddConnector(TMyCAD& cad, int32_t start, int32_t end)
{
    auto connector = std::make_unique<TestConnector>(&cad);
    TestConnector* raw = connector.get();
    cad.AllocateShapeNoIdName(*raw, true);
    raw->FStartSpNo = start;
    raw->FEndSpNo = end;
    std::unique_ptr<TMyShape> shape = std::move(connector);
    if (!cad.AddShape(shape, false, false)) return nullptr;
    const auto no = static_cast<uint32_t>(raw->ShapeNo);
    if (TMyShape* s = cad.GetShapeByNo(start)) AddLinklineShape(*s, no);
    if (TMyShape* s = cad.GetShapeByNo(end)) AddLinklineShape(*s, no);
    return raw;
}

/// Makes the shape at list number group the group of the given members.
inline void MakeGroup(TMyCAD& cad, int32_t group, std::initializer_list<uint32_t> members)
{
    TMyShape* g = cad.GetShapeByNo(group);
    ASSERT_NE(g, nullptr);
    g->ChildShapesNo.assign(members);
    for (uint32_t m : members) {
        TMyShape* member = cad.GetShapeByNo(static_cast<int32_t>(m));
        ASSERT_NE(member, nullptr);
        member->ParentShapeNo = group;
    }
}

inline TestConnector* ConnectorAt(TMyCAD& cad, int32_t no) { return dynamic_cast<TestConnector*>(cad.GetShapeByNo(no)); }

/// The ids of the drawing in list order.
inline std::vector<int32_t> Ids(const TMyCAD& cad)
{
    std::vector<int32_t> ids;
    for (const auto& s : cad.MyShapes) ids.push_back(s ? s->ShapeId : -99);
    return ids;
}

/// Everything about one listed shape that deleting and reordering may change.
struct ShapeRelations {
    int32_t Id = 0;
    String Name;
    int32_t Parent = -1;
    TMyShapeNo Children;
    TMyShapeNo Links;
    std::vector<int32_t> Ends;
    int32_t Layer = 0;
    bool Locked = false;
    bool operator==(const ShapeRelations&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const ShapeRelations& r)
{
    auto list = [&os](const auto& v) {
        os << '{';
        for (size_t i = 0; i < v.size(); ++i) os << (i ? "," : "") << v[i];
        os << '}';
    };
    os << "id " << r.Id << ' ' << r.Name.toStdString() << " parent " << r.Parent << " children ";
    list(r.Children);
    os << " links ";
    list(r.Links);
    os << " ends ";
    list(r.Ends);
    return os << " layer " << r.Layer << (r.Locked ? " locked" : "");
}

/// The relations a drawing built by AddRect and AddConnector expects of a shape.
inline ShapeRelations Rel(int32_t id, int32_t parent, TMyShapeNo children, TMyShapeNo links,
                          std::vector<int32_t> ends = {}, bool locked = false)
{
    return {id, QStringLiteral("Shape%1").arg(id), parent, std::move(children), std::move(links), std::move(ends), 0,
            locked};
}

/// The relations of every shape in list order; also checks that each shape's
/// ShapeNo is its place in the list.
inline std::vector<ShapeRelations> Relations(TMyCAD& cad)
{
    std::vector<ShapeRelations> all;
    for (size_t i = 0; i < cad.MyShapes.size(); ++i) {
        TMyShape* s = cad.MyShapes[i].get();
        EXPECT_NE(s, nullptr) << "slot " << i;
        if (!s) continue;
        EXPECT_EQ(s->ShapeNo, static_cast<int32_t>(i)) << "ShapeNo of id " << s->ShapeId;
        ShapeRelations r;
        r.Id = s->ShapeId;
        r.Name = s->Name();
        r.Parent = s->ParentShapeNo;
        r.Children = s->ChildShapesNo;
        r.Links = s->LinkShapesNo;
        for (int32_t* end : s->ConnectorEndRefs()) r.Ends.push_back(*end);
        r.Layer = s->LayerId;
        r.Locked = s->Locked();
        all.push_back(r);
    }
    return all;
}

/// Whether an operation asked for a repaint since the last call; drains the
/// request so the next call sees only what follows.
inline bool RepaintRequested(TMyCAD& cad)
{
    const bool requested = !cad.InvalidRect().IsEmpty();
    cad.Update();
    return requested;
}

/// The action names of the undo steps, oldest first.
inline std::vector<String> UndoActions(const TMyCAD& cad)
{
    std::vector<String> actions;
    int32_t step = -1;
    for (const TSavedShape& e : cad.UndoRedoShapes) {
        if (e.SavedUndoRedoId != step) actions.push_back(e.SavedAction);
        step = e.SavedUndoRedoId;
    }
    return actions;
}

/// The ids of the snapshots of the newest undo step, in entry order.
inline std::vector<int32_t> NewestStepIds(const TMyCAD& cad)
{
    std::vector<int32_t> ids;
    if (cad.UndoRedoShapes.empty()) return ids;
    const int32_t newest = cad.UndoRedoShapes.back().SavedUndoRedoId;
    for (const TSavedShape& e : cad.UndoRedoShapes) {
        if (e.SavedUndoRedoId == newest) ids.push_back(e.SavedShape ? e.SavedShape->ShapeId : -99);
    }
    return ids;
}

} // namespace mycad::test
