#include "cad/io/ClipboardTransfer.h"

#include "cad/io/DocumentReader.h"

namespace mycad {

std::vector<uint8_t> EncodeCopiedShapes(TMyCAD& cad, const TArrMyShape& shapes)
{
    // The memory keeps the numbers of the drawing it came from; a document
    // numbers its shapes by position.
    TCopyNumbers numbers;
    numbers.reserve(shapes.size());
    for (size_t i = 0; i < shapes.size(); ++i) numbers.emplace(shapes[i]->ShapeNo, static_cast<int32_t>(i));
    TArrMyShape copies;
    copies.reserve(shapes.size());
    for (const auto& shape : shapes) {
        std::unique_ptr<TMyShape> copy = cad.CreateShapeByName(shape->ClassName(), &cad);
        if (!copy) return {};
        copy->Assign(*shape);
        MapCopiedRelations(*copy, numbers);
        copy->ShapeNo = static_cast<int32_t>(copies.size());
        copy->LayerId = 0;
        copies.push_back(std::move(copy));
    }
    try {
        TMemoryStream bytes;
        WriteDocument(cad, bytes, {LayerRec{u"Layer0"_s, 0, true}}, 0, copies);
        return bytes.Bytes();
    } catch (const EStreamError&) {
        return {};
    }
}

bool DecodeCopiedShapes(TMyCAD& cad, const std::vector<uint8_t>& bytes, TArrMyShape& shapes)
{
    shapes.clear();
    TMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
    return ReadStagedDocument(cad, stream, [&shapes](TStagedDocument& doc) { shapes = std::move(doc.Shapes); });
}

void InstallShapeTransfer() { SetShapeTransfer({EncodeCopiedShapes, DecodeCopiedShapes}); }

} // namespace mycad
