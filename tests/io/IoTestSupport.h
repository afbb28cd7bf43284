// Helpers shared by the document tests: streams from bytes, saving a canvas
// to bytes, and a snapshot of everything a failed load must leave alone.
#pragma once

#include "cad/canvas/MyCAD.h"
#include "cad/io/DocumentFile.h"
#include "cad/io/ShapeRecords.h"
#include "cad/shapes/Line.h"
#include "cad/shapes/Rectangle.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace iotest {

using namespace mycad;

inline TMemoryStream StreamOf(const std::vector<uint8_t>& bytes)
{
    TMemoryStream s;
    if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    return s;
}

inline std::vector<uint8_t> SavedBytes(const TMyCAD& cad)
{
    TMemoryStream s;
    EXPECT_TRUE(SaveToStream(cad, s));
    return s.Bytes();
}

inline bool LoadBytes(TMyCAD& cad, const std::vector<uint8_t>& bytes)
{
    TMemoryStream s = StreamOf(bytes);
    return LoadFromStream(cad, s);
}

/// The stored record of one shape, without its class name.
inline std::vector<uint8_t> RecordOf(const TMyShape& shape)
{
    TMemoryStream s;
    EXPECT_TRUE(SaveShapeToStream(shape, s)) << shape.ClassName().toStdString();
    return s.Bytes();
}

inline String Q(const std::u16string& s) { return String::fromStdU16String(s); }

/// A listed shape of a class, numbered, named and on the current layer.
template <typename T>
T* AddShape(TMyCAD& cad, const char* className)
{
    TMyShape* s = cad.CreateAddShapeByName(QString::fromLatin1(className));
    EXPECT_NE(s, nullptr);
    return dynamic_cast<T*>(s);
}

inline void SetBox(TMyShape& s, float l, float t, float r, float b)
{
    s.ThePoints = {{l, t}, {r, t}, {r, b}, {l, b}};
    s.CenterPoint = s.ComputeCenterPoint(4);
}

/// What a failed load must not change: the saved form of the document and
/// the state the file does not hold, down to the identity of each shape.
struct CanvasSnapshot {
    explicit CanvasSnapshot(const TMyCAD& cad)
        : Bytes(SavedBytes(cad)), Zoom(cad.Zoom()), NextShapeId(cad.NextShapeId), NextLayerId(cad.NextLayerId),
          Version(cad.DiskFileVersion()), UndoSteps(cad.GetUndoStepsCount()),
          MemShapes(cad.GetMemShapesCount()), Selection(cad.WorkingShapes), Loading(cad.IsLoading())
    {
        for (const auto& s : cad.MyShapes) Shapes.push_back(s.get());
    }
    std::vector<uint8_t> Bytes;
    double Zoom;
    int32_t NextShapeId;
    int32_t NextLayerId;
    String Version;
    int32_t UndoSteps;
    int32_t MemShapes;
    TArrMyShapeRef Selection;
    bool Loading;
    std::vector<const TMyShape*> Shapes;

    bool operator==(const CanvasSnapshot&) const = default;
};

} // namespace iotest
