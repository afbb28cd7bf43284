// Shape libraries: the stream layout, entry editing, reading every tag,
// upgrades, previews, placement on the canvas and damaged libraries.
#include "IoTestSupport.h"
#include "LibrarySamples.h"

#include "cad/connectors/LinkPoint.h"
#include "cad/geometry/StreamEncoding.h"
#include "cad/io/LibManager.h"
#include "cad/io/ShapeRecords.h"
#include "cad/shapes/Ellipse.h"
#include "cad/shapes/Group.h"

#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <map>

namespace {

using namespace mycad;
using iotest::SetBox;
using iotest::WriteBytes;

std::unique_ptr<TMyShape> Make(TLibManager& lib, const char* className, float l, float t, float r, float b)
{
    auto s = lib.Canvas().CreateShapeByName(QString::fromLatin1(className));
    SetBox(*s, l, t, r, b);
    return s;
}

TArrMyShapeRef Refs(const TArrMyShape& shapes)
{
    TArrMyShapeRef refs;
    for (const auto& s : shapes) refs.push_back(s.get());
    return refs;
}

struct Read {
    bool Ok = false;
    TArrMyPoint LinkPoints;
    TUserData UserData;
    TArrMyShape Shapes;
    int32_t W = -7;
    int32_t H = -7;
};

using Getter = bool (TLibManager::*)(const String&, TArrMyPoint&, TUserData&, TArrMyShape&, int32_t&, int32_t&, bool);

Read ReadEntry(TLibManager& lib, const String& name, bool split = true, Getter get = &TLibManager::GetCmbShape)
{
    Read r;
    r.Ok = (lib.*get)(name, r.LinkPoints, r.UserData, r.Shapes, r.W, r.H, split);
    return r;
}

void Load(TLibManager& lib, const std::vector<uint8_t>& bytes)
{
    lib.LibStream.Clear();
    lib.LibStream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

/// The names by position, checked against the one-walk list.
std::vector<String> Names(const TLibManager& lib)
{
    std::vector<String> names;
    for (int32_t i = 0; i < lib.GetcmbShapesCount(); ++i) names.push_back(lib.GetCmbShapesNameByID(i));
    EXPECT_EQ(lib.GetCmbShapesNames(), names);
    return names;
}

TEST(Libraries, EmptyLibraryAndTheBytesOfABoxEntry)
{
    TLibManager lib;
    EXPECT_EQ(lib.GetCmbShapesNameByID(0), String());

    auto rect = Make(lib, "TMyRectangle", 10, 20, 110, 70);
    rect->SetName(u"Keep"_s);
    TMemoryStream record;
    {
        // The caption stays; only the name is left out.
        auto unnamed = Make(lib, "TMyRectangle", 0, 0, 1, 1);
        unnamed->SetCaption(u"Keep"_s);
        ASSERT_TRUE(SaveShapeToStream(*unnamed, record));
    }
    ASSERT_TRUE(lib.AppendNewShape(u"Box"_s, {rect.get()}, TUserData(), 100, 50));
    int64_t pos = 0;
    int64_t size = 0;
    ASSERT_TRUE(lib.GetExistShape(u"Box"_s, pos, size));
    EXPECT_EQ(pos, 20);
    EXPECT_EQ(size, 1 + 6 + 4 + 8 + 4 + 4 + 32 + record.Size());
    EXPECT_EQ(lib.LibStream.Size(), 20 + size);
    int32_t stored = 0;
    int64_t fieldSize = 0;
    int64_t after = 0;
    ASSERT_TRUE(lib.ReadCmbShapeSize(27, stored, fieldSize, after));
    EXPECT_EQ(stored, size - 11);
    EXPECT_EQ(after, 31);
    // The caller's shape is left as it was.
    EXPECT_EQ(rect->Name(), u"Keep"_s);
    EXPECT_EQ(rect->ThePoints[0], (TMyPoint{10, 20}));
}

TEST(Libraries, EditingKeepsEveryOtherEntryByteForByte)
{
    TLibManager lib;
    TArrMyShape one;
    one.push_back(Make(lib, "TMyRectangle", 0, 0, 10, 10));
    one.push_back(Make(lib, "TMyLinkPoint", -4, 1, 4, 9));
    for (const char16_t* name : {u"A", u"B", u"C"}) {
        ASSERT_TRUE(lib.AppendNewShape(String::fromUtf16(name), Refs(one), TUserData(), 10, 10));
    }
    EXPECT_EQ(Names(lib), (std::vector<String>{u"A"_s, u"B"_s, u"C"_s}));

    ASSERT_TRUE(lib.MoveCmbShapeBeforeByName(u"C"_s, String()));
    EXPECT_EQ(Names(lib), (std::vector<String>{u"C"_s, u"A"_s, u"B"_s}));
    ASSERT_TRUE(lib.MoveCmbShapeBeforeByName(u"A"_s, u"B"_s));
    EXPECT_EQ(Names(lib), (std::vector<String>{u"C"_s, u"A"_s, u"B"_s}));
    ASSERT_TRUE(lib.MoveCmbShapeBeforeByName(u"C"_s, u"B"_s));
    EXPECT_EQ(Names(lib), (std::vector<String>{u"A"_s, u"C"_s, u"B"_s}));
    // A moved entry keeps its link points.
    EXPECT_EQ(ReadEntry(lib, u"C"_s).LinkPoints.size(), 1u);

    const std::vector<uint8_t> before = lib.LibStream.Bytes();
    EXPECT_FALSE(lib.MoveCmbShapeBeforeByName(u"C"_s, u"C"_s));
    EXPECT_FALSE(lib.MoveCmbShapeBeforeByName(u"X"_s, String()));
    EXPECT_FALSE(lib.MoveCmbShapeBeforeByName(u"A"_s, u"X"_s));
    EXPECT_FALSE(lib.RenameCmbShapeName(u"X"_s, u"Y"_s));
    EXPECT_FALSE(lib.RenameCmbShapeName(u"A"_s, String(256, u'n')));
    EXPECT_FALSE(lib.DeleteShape(u"X"_s));
    EXPECT_FALSE(lib.RepalceExistShape(u"X"_s, Refs(one), TUserData(), 1, 1));
    EXPECT_FALSE(lib.AppendNewShape(String(256, u'n'), Refs(one), TUserData(), 1, 1));
    EXPECT_EQ(lib.LibStream.Bytes(), before);

    ASSERT_TRUE(lib.RenameCmbShapeName(u"C"_s, u"Longer name"_s));
    EXPECT_EQ(Names(lib), (std::vector<String>{u"A"_s, u"Longer name"_s, u"B"_s}));
    EXPECT_EQ(ReadEntry(lib, u"Longer name"_s).LinkPoints.size(), 1u);
    TArrMyShape two;
    two.push_back(Make(lib, "TMyEllipse", 0, 0, 30, 30));
    ASSERT_TRUE(lib.RepalceExistShape(u"A"_s, Refs(two), TUserData(), 30, 30));
    EXPECT_EQ(Names(lib), (std::vector<String>{u"A"_s, u"Longer name"_s, u"B"_s}));
    EXPECT_EQ(ReadEntry(lib, u"A"_s).Shapes.front()->ClassName(), u"TMyEllipse"_s);
    ASSERT_TRUE(lib.DeleteShape(u"Longer name"_s));
    EXPECT_EQ(Names(lib), (std::vector<String>{u"A"_s, u"B"_s}));
    ASSERT_TRUE(lib.InsertNewShape(20, u"First"_s, Refs(two), TUserData(), 5, 5));
    EXPECT_EQ(Names(lib), (std::vector<String>{u"First"_s, u"A"_s, u"B"_s}));

    QTemporaryDir dir;
    const String file = dir.filePath(u"set.zlib"_s);
    ASSERT_TRUE(lib.SaveToFile(file));
    TLibManager reopened(file);
    EXPECT_EQ(reopened.LibStream.Bytes(), lib.LibStream.Bytes());
}

const std::vector<std::string> kOldTags = {"ZEDALIBX.2", "ZEDALIBX.3", "ZEDALIBX.6", "ZEDALIBX.7", "ZEDALIBX.8",
                                           "ZEDALIBX.9", "ZEDALIBX.a", "ZEDALIBX.e", "ZEDALIBX.h", "ZEDALIBX.i"};

std::vector<libenc::Entry> SampleEntries()
{
    libenc::Entry box{u"Box", 80, 40, {{u"k", u"v"}}, {libenc::Box("TMyRectangle", 0, 0, 1, 1)}};
    box.Shapes[0].TextX = 0.5;
    box.Shapes[0].TextY = 1;
    libenc::Entry linked{u"Linked", 20, 20, {}, {libenc::Box("TMyEllipse", 0, 0, 1, 1),
                                                 libenc::Box("TMyLinkPoint", 0.4, -0.1, 0.6, 0.1)}};
    return {box, linked};
}

TEST(Libraries, EveryTagReadsInItsLayoutAndUpgradesToTheNewest)
{
    using Step = bool (TLibManager::*)();
    const std::map<std::string, Step> steps = {
        {"ZEDALIBX.2", &TLibManager::Upgradefromx6tox8}, {"ZEDALIBX.3", &TLibManager::Upgradefromx6tox8},
        {"ZEDALIBX.6", &TLibManager::Upgradefromx6tox8}, {"ZEDALIBX.7", &TLibManager::Upgradefromx6tox8},
        {"ZEDALIBX.8", &TLibManager::Upgradefromx8tox9}, {"ZEDALIBX.9", &TLibManager::Upgradefromx9toxa},
        {"ZEDALIBX.a", &TLibManager::Upgradefromxatoxe}, {"ZEDALIBX.e", &TLibManager::Upgradefromxetoxh},
        {"ZEDALIBX.h", &TLibManager::Upgradefromxhtoxi}, {"ZEDALIBX.i", &TLibManager::Upgradefromxitoxj},
    };
    const std::map<std::string, Getter> getters = {
        {"ZEDALIBX.8", &TLibManager::GetCmbShapeforX8}, {"ZEDALIBX.9", &TLibManager::GetCmbShapeforX9},
        {"ZEDALIBX.a", &TLibManager::GetCmbShapeforXA}, {"ZEDALIBX.e", &TLibManager::GetCmbShapeforXE},
        {"ZEDALIBX.h", &TLibManager::GetCmbShapeforXH}, {"ZEDALIBX.i", &TLibManager::GetCmbShapeforXI},
    };
    for (const std::string& tag : kOldTags) {
        SCOPED_TRACE(tag);
        TLibManager lib;
        Load(lib, libenc::EncodeLibrary(tag, SampleEntries()));
        int64_t size = 0;
        int64_t end = 0;
        EXPECT_EQ(lib.ReadLibTag(size, end), String::fromStdString(tag));
        EXPECT_EQ(lib.Canvas().DiskFileVersion(), String::fromStdString(libenc::RecordVersion(tag)));
        EXPECT_EQ(lib.GetcmbShapesCount(), 2);
        // The first entry field by field, the next one's name right after it.
        String name;
        Read f;
        int64_t at = 0;
        ASSERT_TRUE(lib.ReadCmbShapeName(20, name, size, at) && lib.ReadWidthHeight(at + 4, f.W, f.H, size, at));
        ASSERT_TRUE(lib.ReadUserDataRecords(at, f.UserData, size, at) &&
                    lib.ReadShapes(at, f.W, f.H, true, f.LinkPoints, f.Shapes, size, at));
        EXPECT_TRUE(name == u"Box"_s && f.W == 80 && f.H == 40 && f.Shapes.size() == 1u);
        EXPECT_TRUE(lib.ReadCmbShapeName(at, name, size, at) && name == u"Linked"_s);
        EXPECT_EQ(f.UserData.GetValueByKey(u"k"_s), libenc::HasUserData(tag) ? u"v"_s : String());
        if (getters.count(tag)) { // the reader of the library's own tag takes its user data
            EXPECT_EQ(ReadEntry(lib, u"Box"_s, true, getters.at(tag)).UserData.GetValueByKey(u"k"_s), u"v"_s);
        }
        // Editing an older layout in place would mix layouts.
        EXPECT_FALSE(lib.AppendNewShape(u"New"_s, {}, TUserData(), 1, 1));
        // A step for another layout misreads the entries and changes nothing:
        // "ZEDALIBX.9" has no user data block.
        if (tag == "ZEDALIBX.9") {
            const std::vector<uint8_t> before = lib.LibStream.Bytes();
            EXPECT_FALSE(lib.Upgradefromxatoxe());
            EXPECT_EQ(lib.LibStream.Bytes(), before);
        }

        ASSERT_TRUE((lib.*steps.at(tag))());
        EXPECT_EQ(lib.LibTag(), u"ZEDALIBX.j"_s);
        EXPECT_EQ(Names(lib), (std::vector<String>{u"Box"_s, u"Linked"_s}));
        Read box = ReadEntry(lib, u"Box"_s, true, &TLibManager::GetCmbShapeforXJ);
        ASSERT_TRUE(box.Ok);
        EXPECT_EQ(box.W, 80);
        EXPECT_EQ(box.UserData.GetValueByKey(u"k"_s), libenc::HasUserData(tag) ? u"v"_s : String());
        Read linked = ReadEntry(lib, u"Linked"_s);
        ASSERT_TRUE(linked.Ok);
        ASSERT_EQ(linked.LinkPoints.size(), 1u);
        if (tag != "ZEDALIBX.2") {
            // The oldest layout stores no coordinates.
            EXPECT_NEAR(box.Shapes[0]->ThePoints[2].X, 80, 1e-3);
            EXPECT_NEAR(box.Shapes[0]->TextOutPoint.Y, 40, 1e-3);
            EXPECT_NEAR(linked.LinkPoints[0].X, 10, 1e-3);
            EXPECT_NEAR(linked.LinkPoints[0].Y, 0, 1e-3);
        }
    }
}

TEST(Libraries, TagTestsRecogniseTheirTags)
{
    QTemporaryDir dir;
    using Test = bool (*)(const String&);
    const std::vector<std::pair<Test, std::vector<std::string>>> tests = {
        {&IsZEDALibFile, {"ZEDALIBX.j", "ZEDALIBX.h", "ZEDALIBX.a", "ZEDALIBX.9", "ZEDALIBX.8", "ZEDALIBX.7",
                          "ZEDALIBX.6", "ZEDALIBX.3", "ZEDALIBX.2"}},
        {&IsZEDALibFileX67, {"ZEDALIBX.6", "ZEDALIBX.7"}},
        {&IsZEDALibX2File, {"ZEDALIBX.2"}},
        {&IsZEDALibFileX8, {"ZEDALIBX.8"}},
        {&IsZEDALibFileX9, {"ZEDALIBX.9"}},
        {&IsZEDALibFileXA, {"ZEDALIBX.a"}},
        {&IsZEDALibFileXE, {"ZEDALIBX.e"}},
        {&IsZEDALibFileXH, {"ZEDALIBX.h"}},
        {&IsZEDALibFileXI, {"ZEDALIBX.i"}},
        {&IsOLDZEDALibFile, {"ZEDALIB2.1"}},
    };
    std::vector<std::string> all = kOldTags;
    all.insert(all.end(), {"ZEDALIBX.j", "ZEDALIB2.1", "ZEDALIBX.k"});
    for (const std::string& tag : all) {
        const String file = dir.filePath(String::fromStdString(tag));
        docenc::Encoder e;
        e.Fixed(tag, 10);
        WriteBytes(file, e.Bytes);
        for (size_t i = 0; i < tests.size(); ++i) {
            const auto& yes = tests[i].second;
            EXPECT_EQ(tests[i].first(file), std::find(yes.begin(), yes.end(), tag) != yes.end()) << tag << " " << i;
        }
        // 10 to 19 bytes are too short for a UTF-16 tag.
        WriteBytes(file, std::vector<uint8_t>(e.Bytes.begin(), e.Bytes.begin() + 15));
        EXPECT_FALSE(IsZEDALibFile(file));
    }
}

TEST(Libraries, AnEightBitLibraryIsRetaggedAndSavedInUtf16)
{
    QTemporaryDir dir;
    const std::vector<uint8_t> ring = libenc::EightBitRingLibrary();
    TLibManager lib;
    Load(lib, ring);
    ReadOldZEDAFile = true;
    const bool upgraded = lib.UpgradefromxjtoUNICODE();
    lib.ReplaceoldTagwithNewTag();
    ReadOldZEDAFile = false;
    ASSERT_TRUE(upgraded && lib.UpgradeSavetoFile(dir.filePath(u"saved"_s)));
    EXPECT_TRUE(lib.LibStream.Size() == int64_t(ring.size()) + 10 && lib.LibTag() == u"ZEDALIBX.j"_s)
        << "a UTF-16 tag in front of the 8-bit entries";
    TLibManager reopened(dir.filePath(u"saved"_s));
    EXPECT_EQ(ReadEntry(reopened, u"Ring"_s).W, 30);
    EXPECT_FALSE(reopened.LoadFromOldFile(dir.filePath(u"saved"_s))) << "not the oldest tag";
}

// Every way a damaged library is used fails cleanly and changes nothing.
void ExpectRefused(TLibManager& lib, const char* what)
{
    SCOPED_TRACE(what);
    const std::vector<uint8_t> before = lib.LibStream.Bytes();
    const int32_t count = lib.GetcmbShapesCount();
    for (int32_t i = 0; i < std::max(count, 2); ++i) {
        const String name = lib.GetCmbShapesNameByID(i);
        Read r = ReadEntry(lib, name);
        TBitmap tile;
        lib.GetCmbShapeImage(name, 32, tile, clWhite);
    }
    lib.DeleteShape(u"Box"_s);
    lib.RenameCmbShapeName(u"Linked"_s, u"L"_s);
    lib.MoveCmbShapeBeforeByName(u"Linked"_s, String());
    lib.UpgradeToNewest();
    if (count < 0) {
        EXPECT_EQ(lib.LibStream.Bytes(), before);
    }
}

TEST(Libraries, DamagedLibrariesFailWithoutChange)
{
    const std::vector<uint8_t> good = libenc::EncodeLibrary("ZEDALIBX.j", SampleEntries());
    TLibManager lib;
    // Every cut of the stream.
    for (size_t n = 0; n < good.size(); ++n) {
        Load(lib, std::vector<uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)));
        ExpectRefused(lib, "cut");
        Read r = ReadEntry(lib, u"Linked"_s);
        EXPECT_FALSE(r.Ok);
        EXPECT_EQ(r.W, -7);
    }
    // Sizes and counts that reach past the end.
    const size_t sizeAt = 20 + 1 + 6;
    for (int32_t bad : {-1, INT32_MAX, 1 << 20}) {
        std::vector<uint8_t> bytes = good;
        std::memcpy(bytes.data() + sizeAt, &bad, 4);
        Load(lib, bytes);
        EXPECT_EQ(lib.GetcmbShapesCount(), -1);
        EXPECT_EQ(lib.GetCmbShapesNameByID(0), String());
        EXPECT_TRUE(lib.GetCmbShapesNames().empty());
        ExpectRefused(lib, "size");
        bytes = good;
        // The shape count of "Box", after width, height and one pair.
        const size_t countAt = sizeAt + 4 + 8 + 4 + 4 + 2 + 4 + 2;
        std::memcpy(bytes.data() + countAt, &bad, 4);
        Load(lib, bytes);
        EXPECT_EQ(lib.GetcmbShapesCount(), 2);
        EXPECT_FALSE(ReadEntry(lib, u"Box"_s).Ok);
        ExpectRefused(lib, "count");
    }
    // Shapes far outside their entry's box, and absurd nominal sizes.
    libenc::Entry far{u"Far", 10, 10, {}, {libenc::Box("TMyRectangle", 0, 0, 100, 1)}};
    libenc::Entry huge{u"Huge", 1 << 21, 10, {}, {libenc::Box("TMyRectangle", 0, 0, 1, 1)}};
    libenc::Entry edge{u"Edge", 1, 1, {}, {libenc::Box("TMyLine", 0, 0, 1, 0), libenc::Box("TMyLinkPoint", -4, -4, 4, 4)}};
    Load(lib, libenc::EncodeLibrary("ZEDALIBX.j", {far, huge, edge}));
    EXPECT_EQ(lib.GetcmbShapesCount(), 3);
    EXPECT_FALSE(ReadEntry(lib, u"Far"_s).Ok);
    EXPECT_FALSE(ReadEntry(lib, u"Huge"_s).Ok);
    // Link points a few pixels off a box of a pixel are an entry's own.
    EXPECT_EQ(ReadEntry(lib, u"Edge"_s).LinkPoints.size(), 1u);
    // Every byte of the stream flipped in turn.
    for (size_t i = 20; i < good.size(); ++i) {
        std::vector<uint8_t> bytes = good;
        bytes[i] ^= 0xA5;
        Load(lib, bytes);
        ExpectRefused(lib, "flip");
    }
}

// ---- Placing entries on a canvas

TEST(Libraries, ALoneShapeWithoutLinkPointsIsPlacedAsACopy)
{
    TMyCAD cad;
    TLibManager lib;
    int32_t added = 0;
    cad.OnShapeAdded = [&added](TMyShape*&, int32_t) { ++added; };
    TArrMyShape shapes;
    shapes.push_back(Make(lib, "TMyEllipse", 0, 0, 40, 20));
    shapes.back()->LinkPoints = {{300, 300}};
    ASSERT_TRUE(lib.AppendNewShape(u"Oval"_s, Refs(shapes), TUserData(), 40, 20));
    const int32_t id = cad.AddUserDefineShapefromLib(&lib, u"Oval"_s, 100, 100);
    ASSERT_EQ(cad.GetShapesCount(), 1);
    TMyShape* placed = cad.GetShapeByID(id);
    ASSERT_NE(dynamic_cast<TMyEllipse*>(placed), nullptr);
    EXPECT_EQ(placed->ThePoints[0], (TMyPoint{80, 90}));
    EXPECT_TRUE(placed->LinkPoints.empty());
    EXPECT_EQ(added, 1);
    EXPECT_EQ(cad.AddUserDefineShapefromLib(&lib, u"Missing"_s, 100, 100), -1);
    EXPECT_EQ(cad.GetShapesCount(), 1);
}

} // namespace
