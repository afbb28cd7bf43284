#include "cad/io/BlockFile.h"

#include "cad/io/DocumentFile.h"
#include "cad/io/DocumentReader.h"
#include "cad/io/ShapeRecordParts.h"

namespace mycad {

namespace {

// The layer each block shape lands on. A shape names its layer by id; the
// block's table gives that id a position, and the canvas layer at the same
// position receives it, created when the canvas has fewer layers.
void ImportLayers(TMyCAD& cad, TStagedDocument& doc)
{
    const int32_t blockLayers = static_cast<int32_t>(doc.Layers.size());
    for (int32_t n = cad.GetLayersCount(); n < blockLayers; ++n) {
        // A name in use or a full table leaves that position without a layer.
        if (cad.NewLayer(u"Block"_s + doc.Layers[static_cast<size_t>(n)].LayerName, true) < 0) break;
    }
    for (const auto& shape : doc.Shapes) {
        int32_t position = -1;
        for (int32_t n = 0; n < blockLayers; ++n) {
            // Layer numbers are byte quantities in shapes of old files.
            if ((doc.Layers[static_cast<size_t>(n)].LayerId & 0xFF) == (shape->LayerId & 0xFF)) position = n;
        }
        const int32_t id = cad.GetLayerIdByNo(position);
        // A shape whose layer the block does not list, or whose place found
        // no layer, goes where a merge would put it rather than nowhere.
        shape->LayerId = id >= 0 ? id : cad.CurrentLayerId();
    }
}

void TakeBlock(TMyCAD& cad, TStagedDocument& doc, TBlockLayerMode mode)
{
    cad.SetZoom(1.0);
    cad.DeSelectedAllShapesByCode();
    cad.RemoveAllWorkingShapes();

    cad.SetColorOfBackGround(doc.Background);
    cad.SetTheUNIT(doc.Unit);
    cad.SetBkBitmap(doc.BkBitmap ? *doc.BkBitmap : TBitmap());
    cad.SetBkBitmapMode(doc.BkBitmapMode);
    cad.SetRatio(doc.Ratio);
    // The control only grows: the drawing already there must stay on it.
    if (doc.Width > cad.Width()) cad.SetWidth(doc.Width);
    if (doc.Height > cad.Height()) cad.SetHeight(doc.Height);
    if (doc.HasTag) {
        cad.SetTag(doc.Tag);
        AppendUserDataPairs(cad.UserData(), doc.UserData);
    }

    if (mode == TBlockLayerMode::Import) {
        ImportLayers(cad, doc);
    } else {
        for (const auto& shape : doc.Shapes) shape->LayerId = cad.CurrentLayerId();
    }
    for (size_t i = 0; i < doc.Shapes.size(); ++i) {
        TMyShape& shape = *doc.Shapes[i];
        shape.ShapeId = cad.NextShapeId + static_cast<int32_t>(i);
        shape.SetName(String());
    }
    cad.MemShapes = std::move(doc.Shapes);
    cad.ClearAllUndoStuff();
}

} // namespace

bool LoadFromStreamforBlock(TMyCAD& cad, TStream& stream, TBlockLayerMode mode)
{
    if (mode == TBlockLayerMode::Merge && cad.CurrentLayerId() < 0) return false;
    // Nothing of the block reaches the canvas before all of it was read.
    return ReadStagedDocument(cad, stream, [&](TStagedDocument& doc) { TakeBlock(cad, doc, mode); });
}

bool AddBlockfromZEDAFile(TMyCAD& cad, const String& fileName, TBlockLayerMode mode)
{
    if (!IsZEDAFile(fileName)) return false;
    TMemoryStream bytes;
    if (!bytes.LoadFromFile(fileName)) return false;
    if (!LoadFromStreamforBlock(cad, bytes, mode)) return false;
    cad.PasteforBlock();
    cad.ClearMemShapes();
    cad.Global_Changed = true;
    return true;
}

} // namespace mycad
