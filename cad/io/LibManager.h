// Shape libraries: files of named, reusable drawings (entries), each with a
// nominal size, its own user data and link points that connectors attach to
// once the entry is placed (TMyCAD::AddUserDefineShapefromLib).
//
// A library is one byte stream: a 10-character tag naming its layout, then
// the entries back to back. An entry is its name (a byte n and n
// characters), an int32 size of everything after the size field, the
// nominal width and height (int32), from "ZEDALIBX.8" on the user data
// pairs, and the shapes: a count, then per shape its class name (16
// characters) and its shape record (ShapeRecords.h) with an empty name. The
// points and caption anchors of the shapes are stored relative to the box of
// the entry's shapes (link-point markers left out), 0..1 across it, and come
// back scaled to the nominal size with the box at the origin.
//
// There is no index: every look-up walks the entries from the tag. Every
// operation that meets a damaged or hostile stream reports false, -1 or an
// empty string and leaves the library as it was; each count and length read
// is checked against the bytes that are left before anything is allocated.
#pragma once

#include "cad/canvas/ShapeLibrary.h"
#include "platform/Graphics.h"
#include "platform/Streams.h"
#include "platform/Types.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace mycad {

class TRecordReader;

/// The tag every library is written with.
extern const String kNewestLibTag;
/// The tag of the 8-bit generation before the tagged layouts; only recognised.
extern const String kOldLibTag;

/// The shape-record layout of a library tag ("XP.j" for "ZEDALIBX.j", "XP.4"
/// for "ZEDALIBX.3", ...); empty for a tag outside the table.
String LibTagVersion(const String& tag);

class TLibManager : public TShapeLibrary {
public:
    /// An empty library: the tag alone (20 bytes).
    TLibManager();
    /// The library in the file. A library of an older layout is brought to
    /// the newest one (its entries read in their own layout and rewritten);
    /// any other stream gets the newest tag over its first 20 bytes. A file
    /// that cannot be read gives an empty library.
    explicit TLibManager(const String& fileName);
    ~TLibManager() override;
    TLibManager(const TLibManager&) = delete;
    TLibManager& operator=(const TLibManager&) = delete;

    // ---- Files

    /// Loads the file's bytes unchanged (the tag is kept) and remembers the
    /// name; false, changing nothing, when the file cannot be read.
    bool LoadFromFile(const String& fileName);
    /// LoadFromFile for a file tagged "ZEDALIB2.1" (IsOLDZEDALibFile); false otherwise.
    bool LoadFromOldFile(const String& fileName);
    /// Writes the library to the file, replacing it only once the whole
    /// library is on disk.
    bool SaveToFile(const String& fileName) const;
    /// Writes UpgradeStream (UpgradefromxjtoUNICODE) the same way.
    bool UpgradeSavetoFile(const String& fileName) const;
    /// Back to the tag alone.
    void Clear();
    /// The file last loaded.
    String LibFileName() const { return FLibFileName; }
    /// The tag at the start of the library; empty when there is none.
    String LibTag() const;

    // ---- Entries. Names compare exactly; the first entry of a name counts.

    /// The number of entries; -1 for a damaged library.
    int32_t GetcmbShapesCount() const;
    /// The name at a 0-based position; empty when there is none.
    String GetCmbShapesNameByID(int32_t index) const;
    /// Every name in order, in one walk (GetCmbShapesNameByID walks to its
    /// entry each time); empty for a damaged library.
    std::vector<String> GetCmbShapesNames() const;
    /// The offset and total length (name field + 4 + size) of the entry.
    bool GetExistShape(const String& name, int64_t& pos, int64_t& size) const;

    /// Reads the entry of a "ZEDALIBX.j" library, or of one of "ZEDALIBX.7"
    /// and older, which hold no user data (see TShapeLibrary). The shapes
    /// are owned by the caller and belong to this library's canvas.
    bool GetCmbShape(const String& name, TArrMyPoint& linkPoints, TUserData& userData, TArrMyShape& shapes,
                     int32_t& width, int32_t& height, bool splitLinkPoints) override;
    // The same for a library of one tag each: its user data block is read
    // only when the library carries that tag.
    bool GetCmbShapeforX8(const String& name, TArrMyPoint& linkPoints, TUserData& userData, TArrMyShape& shapes,
                          int32_t& width, int32_t& height, bool splitLinkPoints);
    bool GetCmbShapeforX9(const String& name, TArrMyPoint& linkPoints, TUserData& userData, TArrMyShape& shapes,
                          int32_t& width, int32_t& height, bool splitLinkPoints);
    bool GetCmbShapeforXA(const String& name, TArrMyPoint& linkPoints, TUserData& userData, TArrMyShape& shapes,
                          int32_t& width, int32_t& height, bool splitLinkPoints);
    bool GetCmbShapeforXE(const String& name, TArrMyPoint& linkPoints, TUserData& userData, TArrMyShape& shapes,
                          int32_t& width, int32_t& height, bool splitLinkPoints);
    bool GetCmbShapeforXH(const String& name, TArrMyPoint& linkPoints, TUserData& userData, TArrMyShape& shapes,
                          int32_t& width, int32_t& height, bool splitLinkPoints);
    bool GetCmbShapeforXI(const String& name, TArrMyPoint& linkPoints, TUserData& userData, TArrMyShape& shapes,
                          int32_t& width, int32_t& height, bool splitLinkPoints);
    bool GetCmbShapeforXJ(const String& name, TArrMyPoint& linkPoints, TUserData& userData, TArrMyShape& shapes,
                          int32_t& width, int32_t& height, bool splitLinkPoints);

    /// A square preview of the entry, round(size) pixels wide, on backColor,
    /// the entry scaled to fit with a pixel to spare and centred; link-point
    /// markers are not drawn. False, leaving the bitmap alone, when the entry
    /// does not read or size is outside 3..4096.
    bool GetCmbShapeImage(const String& name, double size, TBitmap& bitmap, TColor backColor);

    // ---- Writing entries. The shapes are written as they are at the
    // moment, with empty names; the caller's shapes are left untouched.
    // Entries are written in the newest layout, so LibStream takes them only
    // while it carries the newest tag (upgrade an older library first); a
    // stream passed in takes them whatever it holds. Names longer than 255
    // characters cannot be stored.

    /// InsertNewShape at the end of the stream.
    bool AppendNewShape(const String& name, const TArrMyShapeRef& shapes, const TUserData& userData, int32_t width,
                        int32_t height, TMemoryStream* stream = nullptr);
    /// Writes a new entry at pos (an offset inside or at the end of the
    /// stream); what followed pos moves behind it. nullptr means LibStream.
    bool InsertNewShape(int64_t pos, const String& name, const TArrMyShapeRef& shapes, const TUserData& userData,
                        int32_t width, int32_t height, TMemoryStream* stream = nullptr);
    /// Removes the first entry of that name; false when there is none.
    bool DeleteShape(const String& name);
    /// Writes new content in place of the entry; false when there is none.
    bool RepalceExistShape(const String& name, const TArrMyShapeRef& shapes, const TUserData& userData,
                           int32_t width, int32_t height);
    /// Renames the entry in place; the rest of it stays byte for byte.
    bool RenameCmbShapeName(const String& oldName, const String& newName);
    /// Moves the entry, whole, in front of beforeName, or to the first place
    /// when beforeName is empty; false, moving nothing, when either is missing
    /// or they are the same entry.
    bool MoveCmbShapeBeforeByName(const String& name, const String& beforeName);

    // ---- Field readers. Each reads at a LibStream offset and reports the
    // byte length of what it read and the offset after it; false for a
    // field that is not all there.

    /// The tag at offset 0; sets the layout this library's shapes are read
    /// in. Empty when the stream is shorter than a tag.
    String ReadLibTag(int64_t& size, int64_t& endPos) const;
    bool ReadCmbShapeName(int64_t pos, String& name, int64_t& size, int64_t& endPos) const;
    bool ReadCmbShapeSize(int64_t pos, int32_t& value, int64_t& size, int64_t& endPos) const;
    bool ReadWidthHeight(int64_t pos, int32_t& width, int32_t& height, int64_t& size, int64_t& endPos) const;
    /// Requires the library's layout to be one of "XP.8" to "XP.j"; reads
    /// nothing (size 0) otherwise.
    bool ReadUserDataRecords(int64_t pos, TUserData& userData, int64_t& size, int64_t& endPos) const;
    bool ReadShapes(int64_t pos, int32_t width, int32_t height, bool splitLinkPoints, TArrMyPoint& linkPoints,
                    TArrMyShape& shapes, int64_t& size, int64_t& endPos);

    // ---- Field writers: each appends at the stream's position and returns
    // the byte length written; -1 when the stream refuses it.

    static int64_t WriteLibTag(TStream& stream);
    static int64_t WriteCmbShapeName(TStream& stream, const String& name);
    static int64_t WriteCmbShapeSize(TStream& stream, int32_t size);
    static int64_t WriteWidthHeight(TStream& stream, int32_t width, int32_t height);
    static int64_t WriteUserDataRecords(TStream& stream, const TUserData& userData);
    int64_t WriteShapes(TStream& stream, const TArrMyShapeRef& shapes);

    // ---- Upgrades. Each step reads every entry in the layout of its older
    // tag and writes the library anew in the newest layout under the newest
    // tag; false, changing nothing, when an entry does not read.

    bool Upgradefromx6tox8();
    bool Upgradefromx8tox9();
    bool Upgradefromx9toxa();
    bool Upgradefromxatoxe();
    bool Upgradefromxetoxh();
    bool Upgradefromxhtoxi();
    bool Upgradefromxitoxj();
    /// The step that the library's own tag needs; true at once for the
    /// newest tag, false for a tag outside the table.
    bool UpgradeToNewest();
    /// In old-file mode (ReadOldZEDAFile) puts the UTF-16 newest tag in
    /// place of the 8-bit tag; nothing otherwise.
    void ReplaceoldTagwithNewTag();
    /// Reads every entry of a library of 8-bit strings (run with
    /// ReadOldZEDAFile set) into UpgradeStream in UTF-16; false, with
    /// UpgradeStream empty, when an entry does not read.
    bool UpgradefromxjtoUNICODE();

    /// The whole library: tag, then entries. Readers move its position.
    mutable TMemoryStream LibStream;
    /// The result of UpgradefromxjtoUNICODE.
    TMemoryStream UpgradeStream;
    /// The canvas that creates the shapes of entries and supplies the zoom
    /// and boxes; never shown.
    TMyCAD& Canvas() { return *mcad; }

private:
    struct TEntryHead;
    template <typename Visit>
    bool Walk(Visit visit) const;
    bool FindEntry(const String& name, TEntryHead& head) const;
    bool ReadEntry(const String& name, const String& userDataTag, TArrMyPoint& linkPoints, TUserData& userData,
                   TArrMyShape& shapes, int32_t& width, int32_t& height, bool splitLinkPoints);
    bool ReadEntryAt(const TEntryHead& head, const String& userDataTag, TArrMyPoint& linkPoints,
                     TUserData& userData, TArrMyShape& shapes, int32_t& width, int32_t& height,
                     bool splitLinkPoints);
    /// The count and the shapes of an entry, scaled to width and height.
    void ReadShapeList(TRecordReader& r, int32_t width, int32_t height, bool splitLinkPoints,
                       TArrMyPoint& linkPoints, TArrMyShape& shapes);
    /// The bytes of a whole entry in the newest layout; false when a shape
    /// cannot be written.
    bool ComposeEntry(const String& name, const TArrMyShapeRef& shapes, const TUserData& userData, int32_t width,
                      int32_t height, TMemoryStream& out);
    bool UpgradeWith(const String& userDataTag, TMemoryStream& target, bool withTag);
    /// The byte length of the tag as it reads now.
    int64_t TagBytes() const;

    String FLibFileName;
    std::unique_ptr<TMyCAD> mcad;
};

/// Whether the file starts with one of the tags "ZEDALIBX.j", ".h", ".a",
/// ".9", ".8", ".7", ".6", ".3" or ".2". The tag is read as 10 characters
/// (8-bit while ReadOldZEDAFile is set); files too short for it are none.
bool IsZEDALibFile(const String& fileName);
/// "ZEDALIBX.6" or "ZEDALIBX.7".
bool IsZEDALibFileX67(const String& fileName);
bool IsZEDALibX2File(const String& fileName);
bool IsZEDALibFileX8(const String& fileName);
bool IsZEDALibFileX9(const String& fileName);
bool IsZEDALibFileXA(const String& fileName);
bool IsZEDALibFileXE(const String& fileName);
bool IsZEDALibFileXH(const String& fileName);
bool IsZEDALibFileXI(const String& fileName);
/// "ZEDALIB2.1".
bool IsOLDZEDALibFile(const String& fileName);

} // namespace mycad
