// Fuzzes the two ways outside bytes add shapes to a drawing: a document read
// as a block (LoadFromStreamforBlock, both layer modes) and copied shapes
// taken from the system clipboard (DecodeCopiedShapes). It shares the
// document fuzzer's seeds. For every input:
// - a refused block or clipboard entry leaves the drawing, its copy memory
//   and its undo list exactly as they were;
// - an accepted one pastes, and the drawing then saves, loads back and saves
//   to the same bytes.
#include "cad/canvas/MyCAD.h"
#include "cad/io/BlockFile.h"
#include "cad/io/ClipboardTransfer.h"
#include "cad/io/DocumentFile.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

using namespace mycad;

namespace {

TMyCAD* gCanvas = nullptr;
std::vector<uint8_t>* gStart = nullptr;

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

std::vector<uint8_t> Saved(const TMyCAD& cad)
{
    TMemoryStream s;
    if (!SaveToStream(cad, s)) Fail("the drawing cannot be saved");
    return s.Bytes();
}

TMemoryStream StreamOf(const uint8_t* data, size_t size)
{
    TMemoryStream s;
    if (size > 0) s.WriteBuffer(data, static_cast<int64_t>(size));
    s.SetPosition(0);
    return s;
}

// The drawing every input starts from: a group, a connector-free box on a
// second layer, something in the copy memory and one undo step.
void Reset()
{
    TMemoryStream start = StreamOf(gStart->data(), gStart->size());
    if (!LoadFromStream(*gCanvas, start)) Fail("the start drawing does not load");
    gCanvas->AddWorkingShapes(gCanvas->GetShapeByNo(0));
    gCanvas->Copy();
    gCanvas->PushtoUndoRedoShapeList({gCanvas->GetShapeByNo(0)}, QStringLiteral("ACT_CHANGE"));
}

void CheckSavesAndReloads()
{
    const std::vector<uint8_t> saved = Saved(*gCanvas);
    TMemoryStream again = StreamOf(saved.data(), saved.size());
    TMyCAD second;
    if (!LoadFromStream(second, again) || Saved(second) != saved) Fail("the drawing does not load back");
}

struct TState {
    std::vector<uint8_t> Bytes;
    int32_t Memory;
    int32_t Undo;
    bool operator==(const TState&) const = default;
};

TState StateOf(const TMyCAD& cad) { return {Saved(cad), cad.GetMemShapesCount(), cad.GetUndoStepsCount()}; }

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    gCanvas = new TMyCAD;
    for (float x : {0.0f, 40.0f}) {
        TMyShape* s = gCanvas->CreateAddShapeByName(QStringLiteral("TMyRectangle"));
        s->ThePoints = {{x, 0}, {x + 20, 0}, {x + 20, 20}, {x, 20}};
    }
    gCanvas->GroupShapes({gCanvas->GetShapeByNo(0), gCanvas->GetShapeByNo(1)}, false);
    gCanvas->NewLayer(QStringLiteral("Second"), true);
    gCanvas->CreateAddShapeByName(QStringLiteral("TMyEllipse"))->ThePoints = {{0, 50}, {30, 50}, {30, 70}, {0, 70}};
    gStart = new std::vector<uint8_t>(Saved(*gCanvas));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (TBlockLayerMode mode : {TBlockLayerMode::Merge, TBlockLayerMode::Import}) {
        Reset();
        const TState before = StateOf(*gCanvas);
        TMemoryStream input = StreamOf(data, size);
        if (!LoadFromStreamforBlock(*gCanvas, input, mode)) {
            if (StateOf(*gCanvas) != before) Fail("a refused block changed the drawing");
            continue;
        }
        gCanvas->PasteforBlock();
        gCanvas->ClearMemShapes();
        CheckSavesAndReloads();
    }

    Reset();
    const TState before = StateOf(*gCanvas);
    TArrMyShape shapes;
    if (!DecodeCopiedShapes(*gCanvas, std::vector<uint8_t>(data, data + size), shapes)) {
        if (!shapes.empty() || StateOf(*gCanvas) != before) Fail("refused clipboard data changed something");
        return 0;
    }
    gCanvas->MemShapes = std::move(shapes);
    gCanvas->PasteforBlock();
    gCanvas->MemShapes.clear();
    CheckSavesAndReloads();
    return 0;
}
