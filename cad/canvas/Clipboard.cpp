// TMyCAD: copy, cut and paste. Copies live in the canvas's own memory
// (MemShapes) with the list numbers of the drawing they came from; the
// system clipboard carries a picture of them and, through the installed
// transfer, the shapes themselves for other canvases and programs.
#include "cad/canvas/ShapeTransfer.h"

#include "cad/canvas/EditScope.h"
#include "cad/canvas/TreeWalk.h"
#include "cad/canvas/UndoList.h"
#include "cad/connectors/LinkBook.h"
#include "cad/connectors/LinkLine.h"
#include "cad/geometry/Geometry.h"
#include "platform/ClipboardPictures.h"
#include "platform/Printer.h"

#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <utility>

namespace mycad {

namespace {

TShapeTransfer& InstalledTransfer()
{
    static TShapeTransfer transfer;
    return transfer;
}

// The clipboard's shapes start with a mark and the stamp of the copy they
// belong to, so a canvas recognises its own copy and prefers its memory.
constexpr char kStampMark[8] = {'M', 'y', 'C', 'A', 'D', 'c', 'l', 'p'};
constexpr size_t kStampBytes = sizeof(kStampMark) + sizeof(uint64_t);

// Stamps differ between copies and between processes sharing a clipboard.
uint64_t NewCopyStamp()
{
    static const uint64_t process = [] {
        std::random_device device;
        return (uint64_t{device()} << 32) ^ device();
    }();
    static uint64_t counter = 0;
    return process ^ (++counter * 0x9E3779B97F4A7C15ull);
}

std::vector<uint8_t> StampedBytes(uint64_t stamp, const std::vector<uint8_t>& shapes)
{
    std::vector<uint8_t> bytes(kStampBytes + shapes.size());
    std::memcpy(bytes.data(), kStampMark, sizeof(kStampMark));
    for (size_t i = 0; i < sizeof(uint64_t); ++i) bytes[sizeof(kStampMark) + i] = uint8_t(stamp >> (8 * i));
    std::copy(shapes.begin(), shapes.end(), bytes.begin() + kStampBytes);
    return bytes;
}

/// The stamp of clipboard bytes; false when they do not start with one.
bool ReadStamp(const std::vector<uint8_t>& bytes, uint64_t& stamp)
{
    if (bytes.size() < kStampBytes || std::memcmp(bytes.data(), kStampMark, sizeof(kStampMark)) != 0) return false;
    stamp = 0;
    for (size_t i = 0; i < sizeof(uint64_t); ++i) stamp |= uint64_t{bytes[sizeof(kStampMark) + i]} << (8 * i);
    return true;
}

std::unique_ptr<TMyShape> CopyOf(TMyCAD& cad, const TMyShape& source)
{
    std::unique_ptr<TMyShape> copy = cad.CreateShapeByName(source.ClassName(), &cad);
    if (copy) copy->Assign(source);
    return copy;
}

std::optional<int32_t> Find(const TCopyNumbers& numbers, int64_t old)
{
    const auto it = numbers.find(old);
    if (it == numbers.end()) return std::nullopt;
    return it->second;
}

// A connector's relations to shapes outside the memory are cut in the memory
// itself, so neither this paste nor a later one attaches to a stranger.
void CutDanglingRelations(TArrMyShape& memory)
{
    TCopyNumbers inMemory;
    for (const auto& shape : memory) inMemory.emplace(shape->ShapeNo, shape->ShapeNo);
    for (const auto& shape : memory) {
        std::erase_if(shape->LinkShapesNo, [&](uint32_t no) { return !inMemory.contains(no); });
        const std::vector<int32_t*> ends = shape->ConnectorEndRefs();
        for (size_t e = 0; e < ends.size(); ++e) {
            if (ends[e] && *ends[e] >= 0 && !inMemory.contains(*ends[e])) FreeConnectorEnd(*shape, e == 0);
        }
    }
}

// Copies in the memory, each group after its members, as a paste draws them.
// The memory holds each copied shape before its members, under the numbers
// of the drawing they came from.
TArrMyShapeRef MembersBeforeGroups(const TArrMyShape& memory)
{
    std::unordered_map<int64_t, size_t> at;
    for (size_t i = 0; i < memory.size(); ++i) at.emplace(memory[i]->ShapeNo, i);
    TArrMyShapeRef order;
    order.reserve(memory.size());
    std::vector<bool> placed(memory.size(), false);
    // Depth first without recursion; a member listed twice is drawn once.
    std::vector<std::pair<size_t, size_t>> stack;
    for (size_t root = 0; root < memory.size(); ++root) {
        if (placed[root]) continue;
        placed[root] = true;
        stack.push_back({root, 0});
        while (!stack.empty()) {
            auto& [k, next] = stack.back();
            const TMyShapeNo& members = memory[k]->ChildShapesNo;
            if (next < members.size()) {
                const auto it = at.find(members[next++]);
                if (it != at.end() && !placed[it->second]) {
                    placed[it->second] = true;
                    stack.push_back({it->second, 0});
                }
                continue;
            }
            order.push_back(memory[k].get());
            stack.pop_back();
        }
    }
    return order;
}

} // namespace

TShapeTransfer SetShapeTransfer(TShapeTransfer transfer) { return std::exchange(InstalledTransfer(), std::move(transfer)); }

const TShapeTransfer& ShapeTransfer() { return InstalledTransfer(); }

void MapCopiedRelations(TMyShape& shape, const TCopyNumbers& numbers)
{
    if (shape.ParentShapeNo >= 0) shape.ParentShapeNo = Find(numbers, shape.ParentShapeNo).value_or(-1);
    auto mapList = [&](TMyShapeNo& list) {
        size_t kept = 0;
        for (uint32_t no : list) {
            if (const auto mapped = Find(numbers, no)) list[kept++] = static_cast<uint32_t>(*mapped);
        }
        list.resize(kept);
    };
    mapList(shape.ChildShapesNo);
    mapList(shape.LinkShapesNo);
    const std::vector<int32_t*> ends = shape.ConnectorEndRefs();
    for (size_t e = 0; e < ends.size(); ++e) {
        if (!ends[e] || *ends[e] < 0) continue;
        if (const auto mapped = Find(numbers, *ends[e])) {
            *ends[e] = *mapped;
        } else {
            FreeConnectorEnd(shape, e == 0);
        }
    }
}

void TMyCAD::ClearMemShapes() { MemShapes.clear(); }

void TMyCAD::FillMemory(const TArrMyShapeRef& shapes)
{
    MemShapes.clear();
    for (TMyShape* selected : shapes) {
        if (!selected) continue;
        WalkShapeTree(*this, *selected, TTreeOrder::ShapeFirst, [&](TMyShape& s) {
            if (auto copy = CopyOf(*this, s)) MemShapes.push_back(std::move(copy));
        });
    }
}

void TMyCAD::Copy()
{
    if (WorkingShapes.empty()) return;
    FillMemory(WorkingShapes);
    FClipboardStamp = NewCopyStamp();
    PublishCopy();
}

void TMyCAD::PublishCopy()
{
    // The picture covers the selection at the current zoom with two pixels
    // to spare on every side, as it shows on the screen.
    const TMyRect zoomed = GetShapesLTRBinZoom(WorkingShapes);
    const TRect box = ExpandRect(TRect{RoundToInt(zoomed.Left), RoundToInt(zoomed.Top), RoundToInt(zoomed.Right),
                                       RoundToInt(zoomed.Bottom)},
                                 2);
    // The pictures are drawn from the copy memory when a program asks for
    // them, as long as this canvas and this copy are still there: a large
    // copy costs nothing until someone pastes a picture of it.
    const std::weak_ptr<char> alive = FAlive;
    const uint64_t stamp = FClipboardStamp;
    const double zoom = FZoom;
    auto render = [this, alive, stamp, zoom, box](TCanvas& canvas) {
        if (alive.expired() || FClipboardStamp != stamp || MemShapes.empty()) return false;
        TRenderRequest request;
        request.Zoom = zoom;
        request.Pick = TRenderPick::ShapesFlat;
        request.Shapes = MembersBeforeGroups(MemShapes);
        request.Offset = {-box.Left, -box.Top};
        RenderShapes(canvas, request);
        return true;
    };
    auto bitmap = [render, box]() -> std::unique_ptr<TBitmap> {
        auto picture = std::make_unique<TBitmap>(box.Width(), box.Height(), TPixelFormat::pf32bit);
        picture->Canvas().Brush().SetStyle(TBrushStyle::bsSolid);
        picture->Canvas().Brush().SetColor(clWhite);
        picture->Canvas().FillRect(Rect(0, 0, picture->Width(), picture->Height()));
        if (!render(picture->Canvas())) return nullptr;
        return picture;
    };
    auto svg = [render, box]() -> std::vector<uint8_t> {
        TSvgDocument document(String(), box.Width(), box.Height(), String());
        if (!document.BeginDoc()) return {};
        const bool drawn = render(document.Canvas());
        if (!document.EndDoc() || !drawn) return {};
        return document.Bytes();
    };
    std::vector<TClipboardFormat> formats{{kSvgMimeType, {}, svg}};
    if (const TShapeTransfer& transfer = ShapeTransfer(); transfer.Encode) {
        const std::vector<uint8_t> shapes = transfer.Encode(*this, MemShapes);
        if (!shapes.empty()) formats.push_back({kShapesMimeType, StampedBytes(stamp, shapes), {}});
    }
    SetClipboardFormats(formats, bitmap);
}

void TMyCAD::Cut()
{
    if (WorkingShapes.empty()) return;
    Copy();
    DeleteSelectedShapes();
}

bool TMyCAD::TakeClipboardShapes()
{
    const TShapeTransfer& transfer = ShapeTransfer();
    if (!transfer.Decode) return true;
    const std::vector<uint8_t> bytes = ClipboardFormatBytes(kShapesMimeType, kMaxShapesClipboardBytes);
    if (bytes.empty()) return true;
    uint64_t stamp = 0;
    if (!ReadStamp(bytes, stamp)) return false;
    // The canvas's own latest copy: its memory is as new, unless a load or a
    // block has emptied it since.
    if (stamp == FClipboardStamp && !MemShapes.empty()) return true;
    TArrMyShape shapes;
    if (!transfer.Decode(*this, std::vector<uint8_t>(bytes.begin() + kStampBytes, bytes.end()), shapes)) return false;
    MemShapes = std::move(shapes);
    FClipboardStamp = stamp;
    return true;
}

void TMyCAD::Paste()
{
    if (!TakeClipboardShapes()) return;
    PasteMemory(false);
}

void TMyCAD::PasteforBlock() { PasteMemory(true); }

void TMyCAD::PasteFromMyCAD(TMyCAD* source)
{
    if (source && source != this && !source->MemShapes.empty()) {
        MemShapes.clear();
        for (const auto& shape : source->MemShapes) {
            if (auto copy = CopyOf(*this, *shape)) MemShapes.push_back(std::move(copy));
        }
        FClipboardStamp = source->FClipboardStamp;
    }
    Paste();
}

void TMyCAD::Duplicate()
{
    if (WorkingShapes.empty()) return;
    TArrMyShape kept = std::move(MemShapes);
    FillMemory(WorkingShapes);
    PasteMemory(false);
    MemShapes = std::move(kept);
}

void TMyCAD::PasteMemory(bool forBlock)
{
    TEditScope edit(*this);
    edit.Repaint();
    RemoveAllWorkingShapes();
    CutDanglingRelations(MemShapes);

    // A paste takes the memory from its last entry to its first, a block
    // from its first to its last; either way the entries take the next
    // numbers in the order they are added.
    const size_t n = MemShapes.size();
    auto entry = [&](size_t i) -> TMyShape& { return *MemShapes[forBlock ? i : n - 1 - i]; };
    TCopyNumbers numbers;
    numbers.reserve(n);
    const int32_t first = GetShapesCount();
    for (size_t i = 0; i < n; ++i) numbers.emplace(entry(i).ShapeNo, first + static_cast<int32_t>(i));

    TArrMyShapeRef added;
    for (size_t i = 0; i < n; ++i) {
        std::unique_ptr<TMyShape> shape = CopyOf(*this, entry(i));
        if (!shape) continue;
        if (!forBlock) OffsetAllPoints(*shape, 4, 4);
        shape->ShapeId = NextShapeId;
        shape->SetName(u"Shape"_s + String::number(NextShapeId));
        if (!forBlock) shape->CenterPoint = shape->ComputeCenterPoint(4);
        MapCopiedRelations(*shape, numbers);
        shape->ShapeNo = GetShapesCount();
        TMyShape* listed = shape.get();
        if (!AddShape(shape, forBlock, false)) break;
        if (!forBlock && OnShapeAdded) {
            TMyShape* reported = listed;
            OnShapeAdded(reported, GetShapesCount());
        }
        if (!listed->HasParentShape()) {
            added.push_back(listed);
            // New shapes are not selected yet and are top-level: no look-up needed.
            if (!forBlock) WorkingShapes.push_back(listed);
        }
    }
    // Copies from a block or from another program's clipboard can list as
    // attached a shape that is no connector, or a connector that names
    // another shape; the drawing mends them as a load does, so what is
    // pasted saves and loads back as it is.
    if (!added.empty()) {
        RepairLinks(*this);
        edit.Record(added, ACT_ADD);
    }
    if (forBlock) WorkingShapes.insert(WorkingShapes.end(), added.begin(), added.end());
}

} // namespace mycad
