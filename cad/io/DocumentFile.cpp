// Writing and reading whole documents. A load reads into a staged document
// that the canvas does not see and hands it over only when the whole stream
// was read and every relation it holds names a shape, so a damaged file can
// never leave the canvas half loaded.
#include "cad/io/DocumentFile.h"
#include "cad/io/DocumentReader.h"

#include "cad/connectors/LinkBook.h"
#include "cad/geometry/Geometry.h"
#include "cad/geometry/StreamEncoding.h"
#include "cad/io/DocumentRelations.h"
#include "cad/io/FileVersion.h"
#include "cad/io/RecordReader.h"
#include "cad/io/RecordWriter.h"
#include "cad/io/ShapeRecordParts.h"
#include "cad/io/ShapeRecords.h"
#include "platform/Files.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace mycad {

const String kDocumentMaker = u"Lumen Widgetworks"_s;

namespace {

using V = TFileVersion;

const String kDocumentTitle = u"ZEDA for Varnel Studio & Varnel Forge"_s;
const String kDocumentStamp = u"20091209"_s;

// Header field widths in characters; the five take 436 bytes in UTF-16.
constexpr int32_t kMakerWidth = 64;
constexpr int32_t kTitleWidth = 64;
constexpr int32_t kVersionWidth = 16;
constexpr int32_t kStampWidth = 10;
constexpr int32_t kReservedWidth = 64;
constexpr int32_t kClassNameWidth = 16;

// No control can be larger than the windowing system allows.
constexpr int32_t kLargestControl = 16777215;

// The smallest shape entry is its class name; the smallest layer row a count,
// an id and a visibility.
constexpr int64_t kMinShapeEntryBytes = 2 * kClassNameWidth;
constexpr int64_t kLayerRowBytes = 12;

void WriteHeaderField(TStream& s, const String& text, int32_t width)
{
    WriteFixedString(s, AppendSpace(text, width), width);
}

/// The next id after the highest one seen, which must still be an id.
int32_t NextId(int32_t highest)
{
    if (highest == std::numeric_limits<int32_t>::max()) TRecordReader::Fail("id out of range");
    return highest + 1;
}

} // namespace

void ReadDocument(TMyCAD& cad, TStream& s, TStagedDocument& doc)
{
    s.SetPosition(0);
    TRecordReader r(s, TFileVersion::Unknown, s.Size());
    r.FixedString(kMakerWidth, false);
    r.FixedString(kTitleWidth, false);
    doc.VersionTag = r.FixedString(kVersionWidth, true);
    r.FixedString(kStampWidth, false);
    r.FixedString(kReservedWidth, false);
    r.SetVersion(FileVersionOf(doc.VersionTag));

    doc.Background = r.Color();
    doc.Width = r.Int32();
    doc.Height = r.Int32();
    if (doc.Width < 0 || doc.Width > kLargestControl || doc.Height < 0 || doc.Height > kLargestControl) {
        r.Fail("canvas size out of range");
    }
    doc.Unit = r.Ordinal(TUnits::inch);
    doc.BkBitmap = r.BitmapBuffer();
    const uint8_t mode = static_cast<uint8_t>(r.Int32() & 0xFF);
    if (mode > static_cast<uint8_t>(TBkBitmapMode::LeftTop)) r.Fail("bitmap mode out of range");
    doc.BkBitmapMode = static_cast<TBkBitmapMode>(mode);
    doc.Ratio = r.Double();
    if (!std::isfinite(doc.Ratio)) r.Fail("ratio is not finite");

    if (r.Has(V::XP_h)) {
        doc.HasTag = true;
        doc.Tag = r.Int32();
        doc.UserData = ReadUserDataPairs(r);
    }

    int32_t highestLayerId = 0;
    const int32_t layers = r.Count(kLayerRowBytes);
    if (layers > TMyCAD::kMaxLayers) r.Fail("too many layers");
    doc.Layers.resize(static_cast<size_t>(layers));
    for (LayerRec& layer : doc.Layers) {
        layer.LayerName = r.CountedString();
        layer.LayerId = r.Int32();
        layer.Visible = r.Int32() == 1;
        highestLayerId = std::max(highestLayerId, layer.LayerId);
    }
    doc.NextLayerId = NextId(highestLayerId);
    doc.CurrentLayerId = r.Int32();
    const bool currentIsALayer = std::any_of(doc.Layers.begin(), doc.Layers.end(), [&doc](const LayerRec& layer) {
        return layer.LayerId == doc.CurrentLayerId;
    });
    if (doc.CurrentLayerId != -1 && !currentIsALayer) r.Fail("current layer names no layer");

    const int32_t count = r.Count(kMinShapeEntryBytes);
    if (count > 0 && doc.Layers.empty()) r.Fail("shapes without a layer");
    doc.Shapes.reserve(static_cast<size_t>(count));
    int32_t highestShapeId = 0;
    for (int32_t i = 0; i < count; ++i) {
        const String className = r.FixedString(kClassNameWidth, true);
        std::unique_ptr<TMyShape> shape = cad.CreateShapeByName(className, &cad);
        if (!shape) r.Fail("unknown shape class");
        ReadShapeRecord(*shape, r);
        shape->CenterPoint = shape->ComputeCenterPoint(4);
        shape->ShapeNo = i;
        highestShapeId = std::max(highestShapeId, shape->ShapeId);
        doc.Shapes.push_back(std::move(shape));
    }
    doc.NextShapeId = NextId(highestShapeId);
    CheckDocumentRelations(doc.Shapes);
}

namespace {

// The hand-over. The canvas refuses to drop its shapes only while one of
// them is being deleted (a load started from OnShapeDeleted); then nothing
// has changed yet. Past that nothing can fail.
void TakeOver(TMyCAD& cad, TStagedDocument& doc)
{
    cad.DeSelectedAllShapesByCode();
    cad.RemoveAllWorkingShapes();
    cad.DeleteAllShapes();
    if (!cad.MyShapes.empty()) throw EReadError("the canvas is deleting shapes");
    cad.MemShapes.clear();
    cad.MyLayers.clear();
    cad.DeleteAllLayers(); // on an empty table: no current layer, no events
    cad.MyLayers = std::move(doc.Layers);
    if (doc.CurrentLayerId != -1) cad.SetCurrentLayerId(doc.CurrentLayerId);
    cad.NextLayerId = doc.NextLayerId;

    cad.SetZoom(1.0);
    cad.SetColorOfBackGround(doc.Background);
    // The page follows every change of the control's size and snaps to a
    // standard page it matches. An empty width first keeps the new width
    // from meeting the old height half way, so the result depends on the
    // stored size alone, not on the drawing loaded before.
    cad.SetWidth(0);
    cad.SetHeight(doc.Height);
    cad.SetWidth(doc.Width);
    cad.SetTheUNIT(doc.Unit);
    cad.SetBkBitmap(doc.BkBitmap ? *doc.BkBitmap : TBitmap());
    cad.SetBkBitmapMode(doc.BkBitmapMode);
    cad.SetRatio(doc.Ratio);
    if (doc.HasTag) {
        cad.SetTag(doc.Tag);
        AppendUserDataPairs(cad.UserData(), doc.UserData);
    }

    cad.MyShapes = std::move(doc.Shapes);
    cad.ShapeListChanged();
    cad.NextShapeId = doc.NextShapeId;
    cad.SetDiskFileVersion(doc.VersionTag);
    cad.ClearAllUndoStuff();
    cad.Invalidate();
}

} // namespace

void WriteDocument(const TMyCAD& cad, TStream& s, const TArrLayerRec& layers, int32_t currentLayerId,
                   const TArrMyShape& shapes)
{
    WriteHeaderField(s, kDocumentMaker, kMakerWidth);
    WriteHeaderField(s, kDocumentTitle, kTitleWidth);
    WriteHeaderField(s, FileVersionTag(kNewestFileVersion), kVersionWidth);
    WriteHeaderField(s, kDocumentStamp, kStampWidth);
    WriteHeaderField(s, String(), kReservedWidth);

    // The size at zoom 1, so a drawing saved at any zoom opens at its own size.
    WriteInt32(s, static_cast<int32_t>(cad.ColorOfBackGround()));
    WriteInt32(s, RoundToInt(double(cad.Width()) / cad.Zoom()));
    WriteInt32(s, RoundToInt(double(cad.Height()) / cad.Zoom()));
    WriteByte(s, static_cast<uint8_t>(cad.TheUNIT()));
    if (!WriteBitmapBuffer(s, &cad.BkBitmap())) throw EWriteError("Stream write error");
    WriteInt32(s, static_cast<int32_t>(cad.BkBitmapMode()));
    WriteDouble(s, cad.Ratio());
    WriteInt32(s, cad.Tag());
    WriteUserDataPairs(s, cad.UserData());

    WriteInt32(s, static_cast<int32_t>(layers.size()));
    for (const LayerRec& layer : layers) {
        WriteCountedString(s, layer.LayerName);
        WriteInt32(s, layer.LayerId);
        WriteInt32(s, layer.Visible ? 1 : 0);
    }
    WriteInt32(s, currentLayerId);

    WriteInt32(s, static_cast<int32_t>(shapes.size()));
    TRecordWriter name;
    for (const auto& shape : shapes) {
        if (!shape) throw EWriteError("empty slot in the shape list");
        name.FixedString(shape->ClassName(), kClassNameWidth);
        name.FlushTo(s);
        WriteShapeRecord(*shape, s);
    }
}

bool SaveToStream(const TMyCAD& cad, TStream& s)
{
    try {
        WriteDocument(cad, s, cad.MyLayers, cad.CurrentLayerId(), cad.MyShapes);
        return true;
    } catch (const EStreamError&) {
        return false;
    }
}

bool SaveToFile(TMyCAD& cad, const String& fileName)
{
    // The document is composed in memory first: the file is then written in
    // one piece and replaced only when all of it is on the disk.
    TMemoryStream bytes;
    if (!SaveToStream(cad, bytes)) return false;
    if (!WriteFileReplacing(fileName, bytes.Memory(), bytes.Size())) return false;
    cad.Global_Changed = false;
    return true;
}

bool ReadStagedDocument(TMyCAD& cad, TStream& s, const std::function<void(TStagedDocument& doc)>& take)
{
    const bool wasLoading = cad.IsLoading();
    cad.SetIsLoading(true);
    bool ok = false;
    try {
        TStagedDocument doc;
        ReadDocument(cad, s, doc);
        take(doc);
        ok = true;
    } catch (const EStreamError&) {
        ok = false;
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    cad.SetIsLoading(wasLoading);
    return ok;
}

bool LoadFromStream(TMyCAD& cad, TStream& stream)
{
    return ReadStagedDocument(cad, stream, [&cad](TStagedDocument& doc) {
        TakeOver(cad, doc);
        // A connector end naming no link point, or a shape listing a
        // connector that is not attached to it, is mended rather than
        // followed later.
        RepairLinks(cad);
    });
}

bool LoadFromFile(TMyCAD& cad, const String& fileName)
{
    if (!IsZEDAFile(fileName)) return false;
    TMemoryStream bytes;
    if (!bytes.LoadFromFile(fileName)) return false;
    return LoadFromStream(cad, bytes);
}

bool IsZEDAFile(const String& fileName)
{
    if (ReadOldZEDAFile) return IsZEDAFile_old(fileName);
    try {
        TFileStream file(fileName, TFileMode::fmOpenRead);
        return ReadFixedString(file, kMakerWidth, true) == kDocumentMaker;
    } catch (const EStreamError&) {
        return false;
    }
}

bool IsZEDAFile_old(const String& fileName)
{
    try {
        TFileStream file(fileName, TFileMode::fmOpenRead);
        return TrimControl(ReadStreamAnsiString(file, kMakerWidth)) == kDocumentMaker;
    } catch (const EStreamError&) {
        return false;
    }
}

} // namespace mycad
