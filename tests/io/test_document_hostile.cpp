// Damaged and hostile documents: every one loads as false, quickly and in
// memory proportional to its size, and leaves the canvas exactly as it was.
#include "DocumentEncoder.h"
#include "DocumentSamples.h"

#include "cad/io/ShapeRecords.h"

#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>

using namespace mycad;
using namespace iotest;

// The largest single allocation made while a test watches: a reader that
// trusts a count allocates for it before it finds the stream too short.
namespace {
std::atomic<bool> gWatching{false};
std::atomic<size_t> gLargest{0};
} // namespace

void* operator new(std::size_t n)
{
    if (gWatching.load(std::memory_order_relaxed) && n > gLargest.load(std::memory_order_relaxed)) gLargest = n;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
// The non-throwing forms allocate from the same heap, so every delete above
// frees what it was given (libraries such as Qt's JSON reader use them).
void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    try {
        return ::operator new(n);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

/// A canvas holding a drawing of its own, a selection, an undo step, a copy
/// in its paste memory, a zoom and a version tag that no load may disturb.
class HostileDocuments : public ::testing::Test {
protected:
    void SetUp() override
    {
        BuildSampleDrawing(cad, 99, 9);
        cad.SetZoom(1.5);
        cad.SetDiskFileVersion(QStringLiteral("XP.e"));
        cad.WorkingShapes = {cad.MyShapes[0].get()};
        cad.PushtoUndoRedoShapeList({cad.MyShapes[3].get()}, QStringLiteral("ACT_CHANGE"));
        cad.MemShapes.push_back(cad.CreateShapeByName(QStringLiteral("TMyRectangle")));
        before = std::make_unique<CanvasSnapshot>(cad);
    }

    /// Loads bytes that must be refused; checks that nothing changed and that
    /// no allocation was larger than the input can justify.
    void ExpectRefused(const std::vector<uint8_t>& bytes, const std::string& what)
    {
        SCOPED_TRACE(what);
        TMemoryStream s = StreamOf(bytes);
        gLargest = 0;
        gWatching = true;
        const bool loaded = LoadFromStream(cad, s);
        gWatching = false;
        EXPECT_FALSE(loaded);
        EXPECT_LE(gLargest.load(), 65536 + 4 * bytes.size());
        EXPECT_TRUE(CanvasSnapshot(cad) == *before);
    }

    TMyCAD cad;
    std::unique_ptr<CanvasSnapshot> before;
};

// Offsets in a document with an empty background bitmap and no document
// user data, whose first shape is a rectangle with an empty name, no
// members, no attached connectors and four points.
constexpr size_t kBkBitmapSize = 449;
constexpr size_t kDocUserDataCount = 473;
constexpr size_t kLayerCount = 477;

docenc::Document PlainDocument()
{
    docenc::Document doc;
    docenc::Shape rect;
    rect.Points = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    rect.FontName.clear(); // so the record is the plain 182 bytes
    docenc::Shape line;
    line.Class = "TMyLine";
    line.Id = 1;
    line.No = 1;
    line.Points = {{1, 1}, {5, 5}};
    doc.Shapes = {rect, line};
    return doc;
}

size_t FirstRecord(const docenc::Document& doc)
{
    docenc::Document head = doc;
    head.Shapes.clear();
    return docenc::EncodeDocument(head).size() + 32;
}

template <typename T>
void Put(std::vector<uint8_t>& bytes, size_t at, T v)
{
    ASSERT_LE(at + sizeof(T), bytes.size());
    std::memcpy(bytes.data() + at, &v, sizeof(T));
}

} // namespace

TEST_F(HostileDocuments, EveryTruncationOfAValidDocumentIsRefused)
{
    TMyCAD source;
    BuildSampleDrawing(source, 5, 10);
    const std::vector<uint8_t> full = SavedBytes(source);
    ASSERT_GT(full.size(), 2000u);
    // The watch sees the allocations of a load.
    gLargest = 0;
    gWatching = true;
    std::vector<uint8_t> copy = full;
    gWatching = false;
    ASSERT_GE(gLargest.load(), full.size());
    for (size_t n = 0; n < full.size(); ++n) {
        ExpectRefused(std::vector<uint8_t>(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n)),
                      "truncated to " + std::to_string(n));
        if (HasFatalFailure() || HasFailure()) break;
    }
    // The whole of it loads.
    TMemoryStream s = StreamOf(full);
    EXPECT_TRUE(LoadFromStream(cad, s));
}

TEST_F(HostileDocuments, HugeAndNegativeCountsAreRefusedBeforeAnythingIsAllocated)
{
    const docenc::Document doc = PlainDocument();
    const std::vector<uint8_t> valid = docenc::EncodeDocument(doc);
    const size_t record = FirstRecord(doc);
    struct Count {
        const char* Name;
        size_t At;
        int32_t Stored;
    };
    const std::vector<Count> counts = {
        {"document user data", kDocUserDataCount, 0},
        {"layers", kLayerCount, 1},
        {"shapes", record - 36, 2},
        {"members", record + 20, 0},
        {"attached connectors", record + 24, 0},
        {"points", record + 28, 4},
        {"link points", record + 64, 0},
        {"shape user data", record + 182 - 27, 0},
        {"multi-info lines", record + 182 - 20, 0},
    };
    for (const Count& c : counts) {
        int32_t stored = -1;
        std::memcpy(&stored, valid.data() + c.At, 4);
        ASSERT_EQ(stored, c.Stored) << c.Name << " is not where the test patches";
        for (int32_t value : {0x7FFFFFFF, 0x10000000, -1, int32_t(0x80000000)}) {
            std::vector<uint8_t> bytes = valid;
            Put(bytes, c.At, value);
            ExpectRefused(bytes, std::string(c.Name) + " " + std::to_string(value));
        }
    }
    for (int64_t size : {int64_t(1) << 62, int64_t(-1), int64_t(1) << 20}) {
        std::vector<uint8_t> bytes = valid;
        Put(bytes, kBkBitmapSize, size);
        ExpectRefused(bytes, "bitmap size " + std::to_string(size));
    }
    // The oldest layout has points without coordinates; their count is still bounded.
    docenc::Document old = doc;
    old.Version = "XP.2";
    std::vector<uint8_t> oldBytes = docenc::EncodeDocument(old);
    Put(oldBytes, FirstRecord(old) + 28, int32_t(0x7FFFFFFF));
    ExpectRefused(oldBytes, "uncovered points");
}

TEST_F(HostileDocuments, NumbersNoSavedDrawingCanHoldAreRefused)
{
    using Edit = std::function<void(docenc::Document&)>;
    const std::vector<std::pair<std::string, Edit>> edits = {
        {"width", [](docenc::Document& d) { d.Width = -1; }},
        {"height", [](docenc::Document& d) { d.Height = 0x7FFFFFFF; }},
        {"unit", [](docenc::Document& d) { d.Unit = 6; }},
        {"bitmap mode", [](docenc::Document& d) { d.BkBitmapMode = 4; }},
        {"ratio", [](docenc::Document& d) { d.Ratio = std::nan(""); }},
        {"layer count", [](docenc::Document& d) { d.Layers.assign(256, {u"L", 0, 1}); }},
        {"layer id", [](docenc::Document& d) { d.Layers[0].Id = 0x7FFFFFFF; d.CurrentLayer = 0x7FFFFFFF; }},
        {"current layer", [](docenc::Document& d) { d.CurrentLayer = 5; }},
        {"no layer", [](docenc::Document& d) { d.Layers.clear(); d.CurrentLayer = -1; }},
        {"class", [](docenc::Document& d) { d.Shapes[1].Class = "TMySquare"; }},
        {"shape id", [](docenc::Document& d) { d.Shapes[1].Id = 0x7FFFFFFF; }},
        {"coordinate", [](docenc::Document& d) { d.Shapes[0].Points[2].first = std::nan(""); }},
        {"infinite point", [](docenc::Document& d) { d.Shapes[1].Points[1].second = HUGE_VAL; }},
        {"angle", [](docenc::Document& d) { d.Shapes[0].Angle = -HUGE_VAL; }},
        {"wide angle", [](docenc::Document& d) { d.Version = "XP.4"; d.Shapes[0].Angle = 1e300; }},
        {"brush style", [](docenc::Document& d) { d.Shapes[0].BrushStyle = 8; }},
        {"pen mode", [](docenc::Document& d) { d.Shapes[0].PenMode = 16; }},
        {"pen style", [](docenc::Document& d) { d.Shapes[0].PenStyle = 9; }},
        {"gradient", [](docenc::Document& d) { d.Shapes[0].Gradient = 24; }},
        {"pitch", [](docenc::Document& d) { d.Shapes[0].Pitch = 3; }},
        {"font size", [](docenc::Document& d) { d.Shapes[0].FontSize = 0x7FFFFFFF; }},
        {"alignment", [](docenc::Document& d) { d.Shapes[0].MultiInfoAlignment = 3; }},
        {"end cap", [](docenc::Document& d) { d.Shapes[0].EndCap = 3; }},
        {"join", [](docenc::Document& d) { d.Shapes[0].Join = 255; }},
        {"arrow style", [](docenc::Document& d) { d.Shapes[1].ArrowStyle = 4; }},
        {"parent", [](docenc::Document& d) { d.Shapes[1].Parent = 2; }},
        {"parent below -1", [](docenc::Document& d) { d.Shapes[1].Parent = -2; }},
        {"member", [](docenc::Document& d) { d.Shapes[0].Children = {2}; }},
        {"attached connector", [](docenc::Document& d) { d.Shapes[0].Links = {0, 7}; }},
        {"member twice", [](docenc::Document& d) { d.Shapes[0].Children = {1, 1}; }},
        {"member of two", [](docenc::Document& d) { d.Shapes[0].Children = {1}; d.Shapes[1].Children = {1}; }},
        {"member of itself", [](docenc::Document& d) { d.Shapes[0].Children = {0}; }},
        {"member loop", [](docenc::Document& d) { d.Shapes[0].Children = {1}; d.Shapes[1].Children = {0}; }},
        {"own parent", [](docenc::Document& d) { d.Shapes[1].Parent = 1; }},
        {"parent loop", [](docenc::Document& d) { d.Shapes[0].Parent = 1; d.Shapes[1].Parent = 0; }},
    };
    for (const auto& [what, edit] : edits) {
        docenc::Document doc = PlainDocument();
        edit(doc);
        ExpectRefused(docenc::EncodeDocument(doc), what);
    }
    // The unedited document loads, so each refusal above is the edit's.
    TMemoryStream s = StreamOf(docenc::EncodeDocument(PlainDocument()));
    EXPECT_TRUE(LoadFromStream(cad, s));
}

TEST(DocumentRelations, ListsThatMerelyDisagreeAreKeptAndHarmless)
{
    // 0 lists 1 and 2 as members; 1 says its parent is 3; 2 has no parent;
    // 3 says 2 is attached to it while 2 knows nothing of it.
    docenc::Document doc = PlainDocument();
    doc.Shapes.push_back(doc.Shapes[0]);
    doc.Shapes.push_back(doc.Shapes[1]);
    for (int32_t i = 0; i < 4; ++i) {
        doc.Shapes[size_t(i)].Id = i;
        doc.Shapes[size_t(i)].No = i;
        doc.Shapes[size_t(i)].Name = u"S" + std::u16string(1, char16_t(u'0' + i));
    }
    doc.Shapes[0].Children = {1, 2};
    doc.Shapes[1].Parent = 3;
    doc.Shapes[3].Links = {2};
    TMyCAD cad;
    ASSERT_TRUE(LoadBytes(cad, docenc::EncodeDocument(doc)));
    EXPECT_EQ(cad.MyShapes[0]->ChildShapesNo, (TMyShapeNo{1, 2}));
    EXPECT_EQ(cad.MyShapes[1]->ParentShapeNo, 3);
    EXPECT_EQ(cad.MyShapes[2]->ParentShapeNo, -1);
    EXPECT_EQ(cad.GetRootParentShape(cad.MyShapes[1].get()), cad.MyShapes[3].get());

    // The canvas's walks over these relations run to their end.
    cad.MyShapes[0]->SetLocked(true);
    EXPECT_TRUE(cad.MyShapes[2]->Locked());
    cad.MyShapes[0]->SetLocked(false);
    cad.MyShapes[0]->Pen().SetColor(0x00FF00);
    cad.Repaint();
    TMemoryStream again;
    EXPECT_TRUE(SaveToStream(cad, again));
    EXPECT_TRUE(cad.DeleteShapeById(0, true));
    EXPECT_TRUE(cad.DeleteShapeById(3, true));
    EXPECT_EQ(cad.GetShapesCount(), 0);
}
