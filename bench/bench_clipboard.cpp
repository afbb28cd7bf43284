// Copy and paste, and drawings inserted as blocks.
//
// Targets: copying 10 000 selected shapes (groups and connectors among them)
// under 100 ms, pasting them under 100 ms; inserting a block of 100 000
// rectangles from its file under 400 ms. Copy is measured as the component
// does it (copy memory, bitmap and SVG on the clipboard) and with the shapes
// themselves on the clipboard too (as Studio copies); paste from the
// canvas's own memory and from another canvas through the clipboard. The
// clipboard's pictures are drawn when a program asks for them; BM_CopyPicture
// measures that.
#include "bench/BenchSupport.h"

#include "cad/io/BlockFile.h"
#include "cad/io/ClipboardTransfer.h"
#include "cad/io/DocumentFile.h"

#include <benchmark/benchmark.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

using namespace mycad;

namespace {

// 2 500 pairs of boxes, each pair grouped, and 2 500 connectors from each
// pair to the next: 10 000 shapes, 5 000 of them top-level.
std::unique_ptr<TMyCAD> Diagram()
{
    constexpr int32_t kBoxes = 5000;
    auto cad = std::make_unique<TMyCAD>();
    cad->SetUndoRedoSize(0);
    std::vector<TMyShape*> boxes;
    for (int32_t i = 0; i < kBoxes; ++i) {
        const float x = float(i % 80) * 50.0f;
        const float y = float(i / 80) * 50.0f;
        TMyShape* s = cad->CreateAddShapeByName(QStringLiteral("TMyRectangle"));
        s->ThePoints = {{x, y}, {x + 30, y}, {x + 30, y + 30}, {x, y + 30}};
        s->LinkPoints = {{x + 30, y + 15}, {x, y + 15}};
        s->CenterPoint = s->ComputeCenterPoint(4);
        boxes.push_back(s);
    }
    for (int32_t i = 0; i < kBoxes; i += 2) cad->GroupShapes({boxes[i], boxes[i + 1]}, false);
    for (int32_t i = 0; i < kBoxes; i += 2) {
        cad->CreateLink(String(), cad->GetShapeByNo(i + 1), 0, cad->GetShapeByNo((i + 2) % kBoxes), 1);
    }
    cad->SetUndoRedoSize(10);
    cad->ClearAllUndoStuff();
    cad->DeSelectedAllShapesByCode();
    for (const auto& s : cad->MyShapes) {
        if (!s->HasParentShape()) cad->WorkingShapes.push_back(s.get());
    }
    return cad;
}

void BM_Copy(benchmark::State& state)
{
    const TShapeTransfer previous = SetShapeTransfer(state.range(0) ? TShapeTransfer{EncodeCopiedShapes, DecodeCopiedShapes}
                                                                    : TShapeTransfer{});
    auto cad = Diagram();
    for (auto _ : state) cad->Copy();
    state.counters["shapes"] = double(cad->GetMemShapesCount());
    state.SetLabel(state.range(0) ? "picture and shapes on the clipboard" : "picture on the clipboard");
    SetShapeTransfer(previous);
}
BENCHMARK(BM_Copy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

// What a program pasting the copy's bitmap waits for.
void BM_CopyPicture(benchmark::State& state)
{
    auto cad = Diagram();
    for (auto _ : state) {
        cad->Copy();
        if (QGuiApplication::clipboard()->image().isNull()) state.SkipWithError("no picture");
    }
    state.SetLabel("copy and the bitmap taken from the clipboard");
}
BENCHMARK(BM_CopyPicture)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Paste(benchmark::State& state)
{
    const bool throughClipboard = state.range(0) != 0;
    const TShapeTransfer previous = SetShapeTransfer({EncodeCopiedShapes, DecodeCopiedShapes});
    auto source = Diagram();
    source->Copy();
    TMyCAD target;
    auto& pasting = throughClipboard ? target : *source;
    const int32_t before = pasting.GetShapesCount();
    int32_t pasted = 0;
    for (auto _ : state) {
        pasting.Paste();
        state.PauseTiming();
        pasted = pasting.GetShapesCount() - before;
        pasting.PopFromUndoRedoShapeList();
        // The next paste through the clipboard reads it again.
        if (throughClipboard) target.ClearMemShapes();
        state.ResumeTiming();
    }
    state.counters["shapes"] = double(pasted);
    state.SetLabel(throughClipboard ? "into another canvas through the clipboard" : "from the canvas's memory");
    SetShapeTransfer(previous);
}
BENCHMARK(BM_Paste)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_InsertBlock(benchmark::State& state)
{
    QTemporaryDir dir;
    const String file = dir.filePath(QStringLiteral("block.zed"));
    {
        auto block = bench::RandomRectangles(100000);
        if (!SaveToFile(*block, file)) state.SkipWithError("the block cannot be written");
    }
    bool inserted = true;
    for (auto _ : state) {
        state.PauseTiming();
        auto cad = std::make_unique<TMyCAD>();
        state.ResumeTiming();
        inserted = AddBlockfromZEDAFile(*cad, file, TBlockLayerMode::Merge) && inserted;
        state.PauseTiming();
        cad.reset();
        state.ResumeTiming();
    }
    if (!inserted) state.SkipWithError("not inserted");
    state.SetLabel("100 000 rectangles from a file");
}
BENCHMARK(BM_InsertBlock)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) { return bench::RunBenchmarks(argc, argv); }
