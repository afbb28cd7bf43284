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

/// A file's bytes; none when it cannot be read.
inline std::vector<uint8_t> FileBytes(const String& name)
{
    TMemoryStream s;
    return s.LoadFromFile(name) ? s.Bytes() : std::vector<uint8_t>();
}

inline void WriteBytes(const String& name, const std::vector<uint8_t>& bytes)
{
    ASSERT_TRUE(StreamOf(bytes).SaveToFile(name)) << name.toStdString();
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

inline TArrMyPoint Box(float l, float t, float r, float b) { return {{l, t}, {r, t}, {r, b}, {l, b}}; }

/// A listed shape on the points, filled solid in the colour, outlined by a
/// black pen of the width, with no caption shown.
inline TMyShape* AddFilled(TMyCAD& cad, const char* className, const TArrMyPoint& points, TColor fill, int32_t pen = 1)
{
    TMyShape* s = cad.CreateAddShapeByName(QString::fromLatin1(className));
    EXPECT_NE(s, nullptr);
    s->ThePoints = points;
    s->CenterPoint = s->ComputeCenterPoint(static_cast<int32_t>(points.size()));
    s->Brush().SetColor(fill);
    s->Brush().SetStyle(TBrushStyle::bsSolid);
    s->Pen().SetColor(clBlack);
    s->Pen().SetWidth(pen);
    s->SetCaptionShow(false);
    return s;
}

/// A page of 480 x 480 pixels (127 mm at 96 pixels per inch); a zoom change
/// sizes the control by the page.
inline void Use480PixelPage(TMyCAD& cad)
{
    cad.SetPageStyle(TPageStyle::CustomerPage);
    cad.SetPageWidth(127);
    cad.SetPageHeight(127);
    cad.SetZoom(2.0);
    cad.SetZoom(1.0);
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
