#include "cad/io/LibManager.h"

#include "cad/canvas/RenderRequest.h"
#include "cad/geometry/StreamEncoding.h"
#include "cad/io/FileVersion.h"
#include "cad/io/RecordReader.h"
#include "cad/io/RecordWriter.h"
#include "cad/io/ShapeRecordParts.h"
#include "cad/io/ShapeRecords.h"
#include "platform/Files.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>

namespace mycad {

const String kNewestLibTag = u"ZEDALIBX.j"_s;
const String kOldLibTag = u"ZEDALIB2.1"_s;

namespace {

constexpr int32_t kTagChars = 10;
constexpr int32_t kClassNameChars = 16;
// The longest name the one-byte length can say.
constexpr int64_t kMaxNameChars = 255;
constexpr int64_t kLargestPreview = 4096;

const String kLinkPointClass = u"TMyLinkPoint"_s;

struct TTagRow {
    const char16_t* Tag;
    const char16_t* Version;
};

constexpr TTagRow kTagTable[] = {
    {u"ZEDALIBX.j", u"XP.j"}, {u"ZEDALIBX.i", u"XP.i"}, {u"ZEDALIBX.h", u"XP.h"}, {u"ZEDALIBX.e", u"XP.e"},
    {u"ZEDALIBX.a", u"XP.a"}, {u"ZEDALIBX.9", u"XP.9"}, {u"ZEDALIBX.8", u"XP.8"}, {u"ZEDALIBX.7", u"XP.7"},
    {u"ZEDALIBX.6", u"XP.6"}, {u"ZEDALIBX.3", u"XP.4"}, {u"ZEDALIBX.2", u"XP.2"},
};

TFileVersion VersionOfTag(const String& tag) { return FileVersionOf(LibTagVersion(tag)); }

/// Runs a read or write that raises on a damaged stream; false then.
template <typename F>
bool Guarded(F f)
{
    try {
        return f();
    } catch (const EStreamError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

/// Replaces the bytes [pos, pos + removed) of the stream by data, moving
/// what follows in place.
void Splice(TMemoryStream& s, int64_t pos, int64_t removed, const uint8_t* data, int64_t length)
{
    const int64_t old = s.Size();
    const int64_t tail = old - pos - removed;
    if (length > removed) s.SetSize(old + length - removed);
    uint8_t* mem = s.Memory();
    std::memmove(mem + pos + length, mem + pos + removed, static_cast<size_t>(tail));
    if (length < removed) s.SetSize(old + length - removed);
    if (length > 0) std::memcpy(s.Memory() + pos, data, static_cast<size_t>(length));
}

String ReadFileTag(const String& fileName)
{
    String tag;
    Guarded([&] {
        TFileStream file(fileName, TFileMode::fmOpenRead);
        TRecordReader r(file, TFileVersion::Unknown, 0);
        tag = r.FixedString(kTagChars, false);
        return true;
    });
    return tag;
}

bool FileTagIsOneOf(const String& fileName, std::initializer_list<const char16_t*> tags)
{
    const String tag = ReadFileTag(fileName);
    if (tag.isEmpty()) return false;
    for (const char16_t* t : tags) {
        if (tag == String::fromUtf16(t)) return true;
    }
    return false;
}

/// Scales a shape read from an entry from 0..1 of the entry's box to its
/// nominal size; a product beyond the float range is a damaged entry.
void ScaleToNominal(TMyShape& shape, int32_t width, int32_t height)
{
    auto scale = [&](TMyPoint& p) {
        const double x = double(p.X) * width;
        const double y = double(p.Y) * height;
        if (!(std::fabs(x) <= FLT_MAX && std::fabs(y) <= FLT_MAX)) TRecordReader::Fail("coordinate out of range");
        p = {static_cast<float>(x), static_cast<float>(y)};
    };
    for (TMyPoint& p : shape.ThePoints) scale(p);
    scale(shape.TextOutPoint);
}

// Every writer keeps an entry's points within its box, 0..1 across it, but
// for link-point markers on its edges: a few pixels beyond a box that may be
// a single pixel wide. Points further out only come from a damaged library,
// and would make previews and placed shapes of any size.
constexpr double kEntryReach = 16.0;
// The largest nominal width or height an entry may have.
constexpr int32_t kLargestNominalSize = 1 << 20;

void RequireInsideEntry(const TMyShape& shape)
{
    for (const TMyPoint& p : shape.ThePoints) {
        if (std::fabs(p.X - 0.5) > kEntryReach || std::fabs(p.Y - 0.5) > kEntryReach) {
            TRecordReader::Fail("shape outside its entry");
        }
    }
}

} // namespace

String LibTagVersion(const String& tag)
{
    for (const TTagRow& row : kTagTable) {
        if (tag == String::fromUtf16(row.Tag)) return String::fromUtf16(row.Version);
    }
    return String();
}

struct TLibManager::TEntryHead {
    String Name;
    /// Offset of the name field, of the width field and after the entry.
    int64_t Pos = 0;
    int64_t BodyPos = 0;
    int64_t End = 0;
};

TLibManager::TLibManager() : mcad(std::make_unique<TMyCAD>()) { Clear(); }

TLibManager::TLibManager(const String& fileName) : mcad(std::make_unique<TMyCAD>())
{
    if (!LoadFromFile(fileName)) {
        Clear();
        return;
    }
    const String tag = LibTag();
    if (tag == kNewestLibTag) return;
    // Relabelling the entries of an older layout would have them read in
    // the wrong one: they are brought to the newest layout instead.
    if (!LibTagVersion(tag).isEmpty() && UpgradeToNewest()) return;
    TMemoryStream fresh;
    WriteLibTag(fresh);
    if (LibStream.Size() < fresh.Size()) {
        Clear();
        return;
    }
    Splice(LibStream, 0, fresh.Size(), fresh.Memory(), fresh.Size());
}

TLibManager::~TLibManager() = default;

bool TLibManager::LoadFromFile(const String& fileName)
{
    TMemoryStream bytes;
    if (!bytes.LoadFromFile(fileName)) return false;
    LibStream.Clear();
    if (bytes.Size() > 0) LibStream.WriteBuffer(bytes.Memory(), bytes.Size());
    FLibFileName = fileName;
    return true;
}

bool TLibManager::LoadFromOldFile(const String& fileName)
{
    return IsOLDZEDALibFile(fileName) && LoadFromFile(fileName);
}

bool TLibManager::SaveToFile(const String& fileName) const
{
    return WriteFileReplacing(fileName, LibStream.Memory(), LibStream.Size());
}

bool TLibManager::UpgradeSavetoFile(const String& fileName) const
{
    return WriteFileReplacing(fileName, UpgradeStream.Memory(), UpgradeStream.Size());
}

void TLibManager::Clear()
{
    LibStream.Clear();
    WriteLibTag(LibStream);
}

String TLibManager::LibTag() const
{
    int64_t size = 0;
    int64_t end = 0;
    return ReadLibTag(size, end);
}

int64_t TLibManager::TagBytes() const
{
    int64_t size = 0;
    int64_t end = 0;
    ReadLibTag(size, end);
    return size;
}

// ---- Walking

template <typename Visit>
bool TLibManager::Walk(Visit visit) const
{
    return Guarded([&] {
        TMemoryStream& s = const_cast<TMemoryStream&>(LibStream);
        s.SetPosition(0);
        TRecordReader r(s, TFileVersion::Unknown, 0);
        const String tag = r.FixedString(kTagChars, false);
        mcad->SetDiskFileVersion(LibTagVersion(tag));
        const int64_t total = s.Size();
        bool visiting = true;
        while (r.Remaining() > 0) {
            TEntryHead head;
            head.Pos = total - r.Remaining();
            head.Name = r.FixedString(r.Byte(), false);
            const int32_t size = r.Int32();
            if (size < 0 || size > r.Remaining()) r.Fail("entry runs past the library");
            head.BodyPos = total - r.Remaining();
            head.End = head.BodyPos + size;
            // The chain is followed to its end even after the visit is done:
            // an entry of a damaged library is never acted on.
            if (visiting) visiting = visit(head);
            r.Skip(size);
        }
        return true;
    });
}

bool TLibManager::FindEntry(const String& name, TEntryHead& head) const
{
    bool found = false;
    const bool sound = Walk([&](const TEntryHead& h) {
        if (h.Name != name) return true;
        head = h;
        found = true;
        return false;
    });
    return sound && found;
}

int32_t TLibManager::GetcmbShapesCount() const
{
    int32_t count = 0;
    const bool sound = Walk([&](const TEntryHead&) {
        ++count;
        return true;
    });
    return sound ? count : -1;
}

String TLibManager::GetCmbShapesNameByID(int32_t index) const
{
    if (index < 0) return String();
    String name;
    int32_t n = 0;
    const bool sound = Walk([&](const TEntryHead& h) {
        if (n++ < index) return true;
        name = h.Name;
        return false;
    });
    return sound ? name : String();
}

std::vector<String> TLibManager::GetCmbShapesNames() const
{
    std::vector<String> names;
    if (!Walk([&](const TEntryHead& h) {
            names.push_back(h.Name);
            return true;
        }))
        names.clear();
    return names;
}

bool TLibManager::GetExistShape(const String& name, int64_t& pos, int64_t& size) const
{
    TEntryHead head;
    if (!FindEntry(name, head)) return false;
    pos = head.Pos;
    size = head.End - head.Pos;
    return true;
}

// ---- Reading entries

bool TLibManager::ReadEntry(const String& name, const String& userDataTag, TArrMyPoint& linkPoints,
                            TUserData& userData, TArrMyShape& shapes, int32_t& width, int32_t& height,
                            bool splitLinkPoints)
{
    TEntryHead head;
    if (!FindEntry(name, head)) return false;
    return ReadEntryAt(head, userDataTag, linkPoints, userData, shapes, width, height, splitLinkPoints);
}

bool TLibManager::ReadEntryAt(const TEntryHead& head, const String& userDataTag, TArrMyPoint& linkPoints,
                              TUserData& userData, TArrMyShape& shapes, int32_t& width, int32_t& height,
                              bool splitLinkPoints)
{
    const String tag = LibTag();
    const TFileVersion version = VersionOfTag(tag);
    return Guarded([&] {
        // The entry is read from a copy of its own bytes, so no field of it
        // can reach into the next entry.
        TMemoryStream body;
        body.WriteBuffer(LibStream.Memory() + head.BodyPos, head.End - head.BodyPos);
        body.SetPosition(0);
        TRecordReader r(body, version, body.Size());
        const int32_t w = r.Int32();
        const int32_t h = r.Int32();
        if (w < 0 || h < 0 || w > kLargestNominalSize || h > kLargestNominalSize) r.Fail("size out of range");
        TArrUserDataRec pairs;
        if (tag == userDataTag && InVersions(version, TFileVersion::XP_8)) pairs = ReadUserDataPairs(r);
        TArrMyPoint points;
        TArrMyShape read;
        ReadShapeList(r, w, h, splitLinkPoints, points, read);
        userData.SetUserDataRecord(pairs);
        linkPoints = std::move(points);
        shapes = std::move(read);
        width = w;
        height = h;
        return true;
    });
}

void TLibManager::ReadShapeList(TRecordReader& r, int32_t width, int32_t height, bool splitLinkPoints,
                                TArrMyPoint& linkPoints, TArrMyShape& shapes)
{
    if (mcad->Zoom() != 1.0) mcad->SetZoom(1.0);
    const int32_t count = r.Count(2 * kClassNameChars);
    for (int32_t i = 0; i < count; ++i) {
        const String className = r.FixedString(kClassNameChars, true);
        std::unique_ptr<TMyShape> shape = mcad->CreateShapeByName(className, mcad.get());
        if (!shape) r.Fail("unknown shape class");
        ReadShapeRecord(*shape, r);
        RequireInsideEntry(*shape);
        ScaleToNominal(*shape, width, height);
        if (splitLinkPoints && className == kLinkPointClass) {
            linkPoints.push_back(shape->ComputeCenterPoint(4));
            continue;
        }
        shape->SetName(String());
        // The stored centre belongs to the drawing the entry was made from.
        shape->CenterPoint = shape->ComputeCenterPoint(4);
        shapes.push_back(std::move(shape));
    }
}

bool TLibManager::GetCmbShape(const String& name, TArrMyPoint& linkPoints, TUserData& userData, TArrMyShape& shapes,
                              int32_t& width, int32_t& height, bool splitLinkPoints)
{
    return ReadEntry(name, kNewestLibTag, linkPoints, userData, shapes, width, height, splitLinkPoints);
}

#define MYCAD_LIB_VARIANT(Suffix, TagText)                                                                          \
    bool TLibManager::GetCmbShapefor##Suffix(const String& name, TArrMyPoint& linkPoints, TUserData& userData,     \
                                             TArrMyShape& shapes, int32_t& width, int32_t& height,                 \
                                             bool splitLinkPoints)                                                 \
    {                                                                                                               \
        return ReadEntry(name, TagText, linkPoints, userData, shapes, width, height, splitLinkPoints);            \
    }
MYCAD_LIB_VARIANT(X8, u"ZEDALIBX.8"_s)
MYCAD_LIB_VARIANT(X9, u"ZEDALIBX.9"_s)
MYCAD_LIB_VARIANT(XA, u"ZEDALIBX.a"_s)
MYCAD_LIB_VARIANT(XE, u"ZEDALIBX.e"_s)
MYCAD_LIB_VARIANT(XH, u"ZEDALIBX.h"_s)
MYCAD_LIB_VARIANT(XI, u"ZEDALIBX.i"_s)
MYCAD_LIB_VARIANT(XJ, u"ZEDALIBX.j"_s)
#undef MYCAD_LIB_VARIANT

bool TLibManager::GetCmbShapeImage(const String& name, double size, TBitmap& bitmap, TColor backColor)
{
    if (!(size >= 3.0 && size <= double(kLargestPreview))) return false;
    TArrMyPoint linkPoints;
    TUserData userData;
    TArrMyShape shapes;
    int32_t w = 0;
    int32_t h = 0;
    // A preview shows an entry of any layout the library may still be in.
    if (!ReadEntry(name, LibTag(), linkPoints, userData, shapes, w, h, false)) return false;
    const double width = w == 0 ? 1.0 : double(w);
    const double height = h == 0 ? 1.0 : double(h);
    const double zoom = (size - 2.0) / std::max(width, height);
    const int32_t pixels = RoundToInt(size);
    bitmap.SetSize(pixels, pixels);
    bitmap.Canvas().Brush().SetStyle(TBrushStyle::bsSolid);
    bitmap.Canvas().Brush().SetColor(backColor);
    bitmap.Canvas().FillRect(Rect(0, 0, pixels, pixels));

    TRenderRequest request;
    request.Zoom = zoom;
    request.Offset = {RoundToInt((size - width * zoom) / 2.0), RoundToInt((size - height * zoom) / 2.0)};
    request.Pick = TRenderPick::ShapesFlat;
    for (const auto& s : shapes) {
        if (s->ClassName() != kLinkPointClass) request.Shapes.push_back(s.get());
    }
    mcad->RenderShapes(bitmap.Canvas(), request);
    return true;
}

// ---- Field readers

String TLibManager::ReadLibTag(int64_t& size, int64_t& endPos) const
{
    String tag;
    Guarded([&] {
        TMemoryStream& s = const_cast<TMemoryStream&>(LibStream);
        s.SetPosition(0);
        {
            TRecordReader r(s, TFileVersion::Unknown, 0);
            tag = r.FixedString(kTagChars, false);
        }
        endPos = s.Position();
        size = endPos;
        return true;
    });
    mcad->SetDiskFileVersion(LibTagVersion(tag));
    return tag;
}

namespace {

/// Reads a field at pos of the stream with read(reader); the length and the
/// offset after it are reported.
template <typename Read>
bool ReadField(TMemoryStream& s, int64_t pos, TFileVersion version, int64_t& size, int64_t& endPos, Read read)
{
    if (pos < 0 || pos > s.Size()) return false;
    return Guarded([&] {
        s.SetPosition(pos);
        {
            TRecordReader r(s, version, s.Size());
            read(r);
        }
        endPos = s.Position();
        size = endPos - pos;
        return true;
    });
}

} // namespace

bool TLibManager::ReadCmbShapeName(int64_t pos, String& name, int64_t& size, int64_t& endPos) const
{
    return ReadField(const_cast<TMemoryStream&>(LibStream), pos, TFileVersion::Unknown, size, endPos,
                     [&](TRecordReader& r) { name = r.FixedString(r.Byte(), false); });
}

bool TLibManager::ReadCmbShapeSize(int64_t pos, int32_t& value, int64_t& size, int64_t& endPos) const
{
    return ReadField(const_cast<TMemoryStream&>(LibStream), pos, TFileVersion::Unknown, size, endPos,
                     [&](TRecordReader& r) { value = r.Int32(); });
}

bool TLibManager::ReadWidthHeight(int64_t pos, int32_t& width, int32_t& height, int64_t& size, int64_t& endPos) const
{
    return ReadField(const_cast<TMemoryStream&>(LibStream), pos, TFileVersion::Unknown, size, endPos,
                     [&](TRecordReader& r) {
                         width = r.Int32();
                         height = r.Int32();
                     });
}

bool TLibManager::ReadUserDataRecords(int64_t pos, TUserData& userData, int64_t& size, int64_t& endPos) const
{
    const TFileVersion version = VersionOfTag(LibTag());
    return ReadField(const_cast<TMemoryStream&>(LibStream), pos, version, size, endPos, [&](TRecordReader& r) {
        if (!r.Has(TFileVersion::XP_8)) return;
        userData.SetUserDataRecord(ReadUserDataPairs(r));
    });
}

bool TLibManager::ReadShapes(int64_t pos, int32_t width, int32_t height, bool splitLinkPoints,
                             TArrMyPoint& linkPoints, TArrMyShape& shapes, int64_t& size, int64_t& endPos)
{
    const TFileVersion version = VersionOfTag(LibTag());
    TArrMyPoint points;
    TArrMyShape read;
    const bool ok = ReadField(LibStream, pos, version, size, endPos, [&](TRecordReader& r) {
        ReadShapeList(r, width, height, splitLinkPoints, points, read);
    });
    if (!ok) return false;
    linkPoints = std::move(points);
    shapes = std::move(read);
    return true;
}

// ---- Field writers

namespace {

/// Hands what the writer composed to the stream; its byte length, or -1
/// when the stream refuses it.
int64_t Flush(TRecordWriter& w, TStream& stream)
{
    const int64_t before = stream.Position();
    if (!Guarded([&] {
            w.FlushTo(stream);
            return true;
        }))
        return -1;
    return stream.Position() - before;
}

} // namespace

int64_t TLibManager::WriteLibTag(TStream& stream)
{
    TRecordWriter w;
    w.FixedString(kNewestLibTag, kTagChars);
    return Flush(w, stream);
}

int64_t TLibManager::WriteCmbShapeName(TStream& stream, const String& name)
{
    if (name.size() > kMaxNameChars) return -1;
    TRecordWriter w;
    w.Byte(static_cast<uint8_t>(name.size()));
    w.FixedString(name, static_cast<int32_t>(name.size()));
    return Flush(w, stream);
}

int64_t TLibManager::WriteCmbShapeSize(TStream& stream, int32_t size)
{
    TRecordWriter w;
    w.Int32(size);
    return Flush(w, stream);
}

int64_t TLibManager::WriteWidthHeight(TStream& stream, int32_t width, int32_t height)
{
    TRecordWriter w;
    w.Int32(width);
    w.Int32(height);
    return Flush(w, stream);
}

int64_t TLibManager::WriteUserDataRecords(TStream& stream, const TUserData& userData)
{
    TRecordWriter w;
    const TArrUserDataRec& pairs = userData.UserDataRecord();
    w.Int32(static_cast<int32_t>(pairs.size()));
    for (const TUserDataRec& pair : pairs) {
        w.CountedString(pair.Key);
        // A key listed twice stores the value its first pair has, as
        // look-ups find it.
        w.CountedString(userData.GetValueByKey(pair.Key));
    }
    return Flush(w, stream);
}

int64_t TLibManager::WriteShapes(TStream& stream, const TArrMyShapeRef& shapes)
{
    TArrMyShapeRef framed;
    for (TMyShape* s : shapes) {
        if (!s || !HasShapeRecord(s->ClassName())) return -1;
        if (s->ClassName() != kLinkPointClass) framed.push_back(s);
    }
    const TMyRect box = mcad->GetShapesLTRB(framed);
    const double left = box.Left;
    const double top = box.Top;
    const int32_t boxW = RoundToInt(double(box.Right) - left);
    const int32_t boxH = RoundToInt(double(box.Bottom) - top);
    const double w = boxW == 0 ? 1.0 : double(boxW);
    const double h = boxH == 0 ? 1.0 : double(boxH);
    auto normalised = [&](const TMyPoint& p) {
        return TMyPoint{static_cast<float>((double(p.X) - left) / w), static_cast<float>((double(p.Y) - top) / h)};
    };

    const int64_t before = stream.Position();
    const bool ok = Guarded([&] {
        WriteInt32(stream, static_cast<int32_t>(shapes.size()));
        TRecordWriter name;
        for (TMyShape* s : shapes) {
            // The record is written from the shape itself, normalised and
            // unnamed for the moment, and the shape is given back as it was.
            struct TRestore {
                TMyShape& Shape;
                TArrMyPoint Points;
                TMyPoint TextOut;
                String Name;
                String Caption;
                ~TRestore()
                {
                    Shape.ThePoints = std::move(Points);
                    Shape.TextOutPoint = TextOut;
                    Shape.SetName(Name);
                    Shape.SetCaption(Caption);
                }
            } restore{*s, s->ThePoints, s->TextOutPoint, s->Name(), s->Caption()};
            for (TMyPoint& p : s->ThePoints) p = normalised(p);
            s->TextOutPoint = normalised(s->TextOutPoint);
            s->SetName(String());
            name.FixedString(s->ClassName(), kClassNameChars);
            name.FlushTo(stream);
            WriteShapeRecord(*s, stream);
        }
        return true;
    });
    return ok ? stream.Position() - before : -1;
}

// ---- Writing entries

bool TLibManager::ComposeEntry(const String& name, const TArrMyShapeRef& shapes, const TUserData& userData,
                               int32_t width, int32_t height, TMemoryStream& out)
{
    out.Clear();
    if (WriteCmbShapeName(out, name) < 0) return false;
    const int64_t sizeAt = out.Position();
    if (WriteCmbShapeSize(out, 0) < 0 || WriteWidthHeight(out, width, height) < 0 ||
        WriteUserDataRecords(out, userData) < 0 || WriteShapes(out, shapes) < 0) {
        return false;
    }
    const int64_t size = out.Size() - sizeAt - 4;
    if (size > INT32_MAX) return false;
    const auto stored = static_cast<int32_t>(size);
    std::memcpy(out.Memory() + sizeAt, &stored, 4);
    return true;
}

bool TLibManager::InsertNewShape(int64_t pos, const String& name, const TArrMyShapeRef& shapes,
                                 const TUserData& userData, int32_t width, int32_t height, TMemoryStream* stream)
{
    TMemoryStream& target = stream ? *stream : LibStream;
    if (pos < 0 || pos > target.Size()) return false;
    if (!stream && LibTag() != kNewestLibTag) return false;
    TMemoryStream entry;
    if (!ComposeEntry(name, shapes, userData, width, height, entry)) return false;
    return Guarded([&] {
        Splice(target, pos, 0, entry.Memory(), entry.Size());
        return true;
    });
}

bool TLibManager::AppendNewShape(const String& name, const TArrMyShapeRef& shapes, const TUserData& userData,
                                 int32_t width, int32_t height, TMemoryStream* stream)
{
    const TMemoryStream& target = stream ? *stream : LibStream;
    return InsertNewShape(target.Size(), name, shapes, userData, width, height, stream);
}

bool TLibManager::DeleteShape(const String& name)
{
    TEntryHead head;
    if (!FindEntry(name, head)) return false;
    Splice(LibStream, head.Pos, head.End - head.Pos, nullptr, 0);
    return true;
}

bool TLibManager::RepalceExistShape(const String& name, const TArrMyShapeRef& shapes, const TUserData& userData,
                                    int32_t width, int32_t height)
{
    TEntryHead head;
    if (!FindEntry(name, head) || LibTag() != kNewestLibTag) return false;
    TMemoryStream entry;
    if (!ComposeEntry(name, shapes, userData, width, height, entry)) return false;
    return Guarded([&] {
        Splice(LibStream, head.Pos, head.End - head.Pos, entry.Memory(), entry.Size());
        return true;
    });
}

bool TLibManager::RenameCmbShapeName(const String& oldName, const String& newName)
{
    TEntryHead head;
    if (newName.size() > kMaxNameChars || !FindEntry(oldName, head)) return false;
    // In old-file mode names are 8-bit characters; a UTF-16 name would not
    // read back there.
    if (ReadOldZEDAFile) return false;
    TMemoryStream field;
    if (WriteCmbShapeName(field, newName) < 0) return false;
    const int64_t oldField = head.BodyPos - 4 - head.Pos;
    return Guarded([&] {
        Splice(LibStream, head.Pos, oldField, field.Memory(), field.Size());
        return true;
    });
}

bool TLibManager::MoveCmbShapeBeforeByName(const String& name, const String& beforeName)
{
    TEntryHead moved;
    if (!FindEntry(name, moved)) return false;
    int64_t target = TagBytes();
    if (!beforeName.isEmpty()) {
        TEntryHead before;
        if (!FindEntry(beforeName, before) || before.Pos == moved.Pos) return false;
        target = before.Pos;
    }
    // The entry moves whole, link points and all, byte for byte.
    const int64_t length = moved.End - moved.Pos;
    const std::vector<uint8_t> bytes(LibStream.Memory() + moved.Pos, LibStream.Memory() + moved.End);
    return Guarded([&] {
        Splice(LibStream, moved.Pos, length, nullptr, 0);
        if (target > moved.Pos) target -= length;
        Splice(LibStream, target, 0, bytes.data(), length);
        return true;
    });
}

// ---- Upgrades

bool TLibManager::UpgradeWith(const String& userDataTag, TMemoryStream& target, bool withTag)
{
    // Entries are read by position: a name may be listed twice.
    std::vector<TEntryHead> heads;
    if (!Walk([&](const TEntryHead& h) {
            heads.push_back(h);
            return true;
        }))
        return false;
    TMemoryStream fresh;
    if (withTag) WriteLibTag(fresh);
    TMemoryStream entry;
    for (const TEntryHead& head : heads) {
        TArrMyPoint linkPoints;
        TUserData userData;
        TArrMyShape shapes;
        int32_t w = 0;
        int32_t h = 0;
        if (!ReadEntryAt(head, userDataTag, linkPoints, userData, shapes, w, h, false)) return false;
        TArrMyShapeRef refs;
        for (const auto& s : shapes) refs.push_back(s.get());
        if (!ComposeEntry(head.Name, refs, userData, w, h, entry)) return false;
        fresh.WriteBuffer(entry.Memory(), entry.Size());
    }
    target.Clear();
    target.WriteBuffer(fresh.Memory(), fresh.Size());
    return true;
}

bool TLibManager::Upgradefromx6tox8() { return UpgradeWith(kNewestLibTag, LibStream, true); }
bool TLibManager::Upgradefromx8tox9() { return UpgradeWith(u"ZEDALIBX.8"_s, LibStream, true); }
bool TLibManager::Upgradefromx9toxa() { return UpgradeWith(u"ZEDALIBX.9"_s, LibStream, true); }
bool TLibManager::Upgradefromxatoxe() { return UpgradeWith(u"ZEDALIBX.a"_s, LibStream, true); }
bool TLibManager::Upgradefromxetoxh() { return UpgradeWith(u"ZEDALIBX.e"_s, LibStream, true); }
bool TLibManager::Upgradefromxhtoxi() { return UpgradeWith(u"ZEDALIBX.h"_s, LibStream, true); }
bool TLibManager::Upgradefromxitoxj() { return UpgradeWith(u"ZEDALIBX.i"_s, LibStream, true); }

bool TLibManager::UpgradeToNewest()
{
    const String tag = LibTag();
    if (tag == kNewestLibTag) return true;
    if (LibTagVersion(tag).isEmpty()) return false;
    // Layouts before "ZEDALIBX.8" hold no user data; from there on each tag
    // is read with its own reader.
    const TFileVersion version = VersionOfTag(tag);
    return UpgradeWith(InVersions(version, TFileVersion::XP_8) ? tag : kNewestLibTag, LibStream, true);
}

void TLibManager::ReplaceoldTagwithNewTag()
{
    if (!ReadOldZEDAFile) return;
    const int64_t oldTag = TagBytes();
    if (oldTag <= 0) return;
    TMemoryStream tag;
    WriteLibTag(tag);
    Splice(LibStream, 0, oldTag, tag.Memory(), tag.Size());
}

bool TLibManager::UpgradefromxjtoUNICODE()
{
    UpgradeStream.Clear();
    if (UpgradeWith(kNewestLibTag, UpgradeStream, true)) return true;
    UpgradeStream.Clear();
    return false;
}

// ---- Recognising files

bool IsZEDALibFile(const String& fileName)
{
    return FileTagIsOneOf(fileName, {u"ZEDALIBX.j", u"ZEDALIBX.h", u"ZEDALIBX.a", u"ZEDALIBX.9", u"ZEDALIBX.8",
                                     u"ZEDALIBX.7", u"ZEDALIBX.6", u"ZEDALIBX.3", u"ZEDALIBX.2"});
}
bool IsZEDALibFileX67(const String& fileName) { return FileTagIsOneOf(fileName, {u"ZEDALIBX.6", u"ZEDALIBX.7"}); }
bool IsZEDALibX2File(const String& fileName) { return FileTagIsOneOf(fileName, {u"ZEDALIBX.2"}); }
bool IsZEDALibFileX8(const String& fileName) { return FileTagIsOneOf(fileName, {u"ZEDALIBX.8"}); }
bool IsZEDALibFileX9(const String& fileName) { return FileTagIsOneOf(fileName, {u"ZEDALIBX.9"}); }
bool IsZEDALibFileXA(const String& fileName) { return FileTagIsOneOf(fileName, {u"ZEDALIBX.a"}); }
bool IsZEDALibFileXE(const String& fileName) { return FileTagIsOneOf(fileName, {u"ZEDALIBX.e"}); }
bool IsZEDALibFileXH(const String& fileName) { return FileTagIsOneOf(fileName, {u"ZEDALIBX.h"}); }
bool IsZEDALibFileXI(const String& fileName) { return FileTagIsOneOf(fileName, {u"ZEDALIBX.i"}); }
bool IsOLDZEDALibFile(const String& fileName) { return FileTagIsOneOf(fileName, {u"ZEDALIB2.1"}); }

} // namespace mycad
