// Every field of every shape of a canvas as text, one line per shape, so a
// test can say "the document (or a shape) is exactly as it was" and see what
// differs: the fields a document stores, what loading works out, and the
// handling settings a document leaves out.
#pragma once

#include "ShapeFields.h"

#include "cad/canvas/MyCAD.h"
#include "cad/shapes/Rectangle.h"

#include <string>
#include <vector>

namespace mycad::test {

inline std::string ShapeState(const TMyShape& s)
{
    std::string state;
    for (const iotest::FieldMap* fields : {&iotest::StoredFields(), &iotest::DerivedFields()}) {
        for (const auto& [name, get] : *fields) state += name.toStdString() + '=' + iotest::Text(get(s)) + ' ';
    }
    state += "captionshow=" + std::to_string(s.CaptionShow()) + " drag=" + std::to_string(s.DragEnable());
    if (const auto* box = dynamic_cast<const TMyRectangle*>(&s)) {
        state += " sides=" + std::to_string(box->AssociateSideResizing()) + std::to_string(box->ShowSideHot()) +
                 std::to_string(box->ShowHorizontalSideHot()) + std::to_string(box->ShowVerticalSideHot());
    }
    return state;
}

inline std::vector<std::string> DocumentState(const TMyCAD& cad)
{
    std::vector<std::string> lines;
    for (const auto& s : cad.MyShapes) lines.push_back(s ? ShapeState(*s) : std::string("<empty slot>"));
    return lines;
}

} // namespace mycad::test
