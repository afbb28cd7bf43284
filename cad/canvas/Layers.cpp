// TMyCAD: the layer table. Shapes name their layer by id; the table holds at
// most 255 records, since counts are reported in 8 bits.
#include "cad/canvas/MyCAD.h"

namespace mycad {

int32_t TMyCAD::NewLayer(const String& name, bool visible)
{
    if (GetLayerNoByName(name) >= 0 || MyLayers.size() >= static_cast<size_t>(kMaxLayers)) return -1;
    const int32_t id = NextLayerId;
    MyLayers.push_back({name, id, visible});
    FCurrentLayerId = id;
    if (OnNewLayer) OnNewLayer(id, name, visible);
    ++NextLayerId;
    return id;
}

bool TMyCAD::DeleteLayerByID(int32_t id)
{
    if (ListChangesRefused()) return false;
    ClearWorkingShapes();
    WorkingShape = nullptr;
    if (GetLayerNoById(id) < 0) return false;

    std::vector<int32_t> ids;
    for (const auto& s : MyShapes) {
        if (!s || s->LayerId != id || s->HasParentShape()) continue;
        ids.push_back(s->ShapeId);
        s->SetLocked(false);
    }
    bool result = true;
    for (int32_t shapeId : ids) result = DeleteShapeById(shapeId, true);

    if (result) {
        // The record is looked up again: nothing above may have moved it, but
        // the table is the truth, not the position found before.
        const int32_t no = GetLayerNoById(id);
        if (no >= 0) {
            const LayerRec removed = MyLayers[static_cast<size_t>(no)];
            MyLayers.erase(MyLayers.begin() + no);
            if (OnDeleteLayer) OnDeleteLayer(removed.LayerId, removed.LayerName, removed.Visible);
        }
        FCurrentLayerId = MyLayers.empty() ? -1 : MyLayers.front().LayerId;
    }
    Invalidate();
    return result;
}

bool TMyCAD::DeleteLayerByName(const String& name) { return DeleteLayerByID(GetLayerIdByName(name)); }

bool TMyCAD::DeleteAllLayers()
{
    std::vector<int32_t> ids;
    ids.reserve(MyLayers.size());
    for (const LayerRec& layer : MyLayers) ids.push_back(layer.LayerId);
    bool result = true;
    for (int32_t id : ids) result = DeleteLayerByID(id);
    if (result) {
        FCurrentLayerId = -1;
        NextLayerId = 0;
    }
    return result;
}

bool TMyCAD::MergeLayers(int32_t keptId, int32_t mergedId)
{
    if (keptId == mergedId || GetLayerNoById(keptId) < 0 || GetLayerNoById(mergedId) < 0) return false;
    for (auto& s : MyShapes) {
        if (s && s->LayerId == mergedId) s->LayerId = keptId;
    }
    FCurrentLayerId = keptId;
    return DeleteLayerByID(mergedId);
}

uint8_t TMyCAD::GetLayersCount() const { return static_cast<uint8_t>(MyLayers.size()); }

int32_t TMyCAD::GetLayerIdByNo(int32_t n) const
{
    if (n < 0 || n >= static_cast<int32_t>(MyLayers.size())) return -1;
    return MyLayers[static_cast<size_t>(n)].LayerId;
}

int32_t TMyCAD::GetLayerIdByName(const String& name) const
{
    const int32_t no = GetLayerNoByName(name);
    return no < 0 ? -1 : MyLayers[static_cast<size_t>(no)].LayerId;
}

int32_t TMyCAD::GetLayerNoById(int32_t id) const
{
    for (size_t i = MyLayers.size(); i-- > 0;) {
        if (MyLayers[i].LayerId == id) return static_cast<int32_t>(i);
    }
    return -1;
}

int32_t TMyCAD::GetLayerNoByName(const String& name) const
{
    for (size_t i = MyLayers.size(); i-- > 0;) {
        if (MyLayers[i].LayerName == name) return static_cast<int32_t>(i);
    }
    return -1;
}

String TMyCAD::GetLayerNameByID(int32_t id) const
{
    const int32_t no = GetLayerNoById(id);
    return no < 0 ? String() : MyLayers[static_cast<size_t>(no)].LayerName;
}

int32_t TMyCAD::GetMaxLayerId() const { return MyLayers.empty() ? -1 : MyLayers.back().LayerId; }

bool TMyCAD::IsVisibleLayerByID(int32_t id) const
{
    for (const LayerRec& layer : MyLayers) {
        if (layer.LayerId == id) return layer.Visible;
    }
    return false;
}

void TMyCAD::SetLayerNameByID(const String& newName, int32_t id)
{
    for (LayerRec& layer : MyLayers) {
        if (layer.LayerId == id) layer.LayerName = newName;
    }
}

void TMyCAD::SetLayerNameByName(const String& newName, const String& oldName)
{
    for (LayerRec& layer : MyLayers) {
        if (layer.LayerName == oldName) layer.LayerName = newName;
    }
}

void TMyCAD::VisibleLayerByID(int32_t id)
{
    for (LayerRec& layer : MyLayers) {
        if (layer.LayerId == id) layer.Visible = true;
    }
    Invalidate();
}

void TMyCAD::InVisibleLayerByID(int32_t id)
{
    for (LayerRec& layer : MyLayers) {
        if (layer.LayerId == id) layer.Visible = false;
    }
    Invalidate();
}

void TMyCAD::VisibleLayerByName(const String& name)
{
    for (LayerRec& layer : MyLayers) {
        if (layer.LayerName == name) layer.Visible = true;
    }
    Invalidate();
}

void TMyCAD::InVisibleLayerByName(const String& name)
{
    for (LayerRec& layer : MyLayers) {
        if (layer.LayerName == name) layer.Visible = false;
    }
    Invalidate();
}

void TMyCAD::VisibleAllLayer()
{
    for (LayerRec& layer : MyLayers) layer.Visible = true;
    Invalidate();
}

void TMyCAD::SetCurrentLayerId(int32_t id)
{
    if (GetLayerNoById(id) < 0) return;
    FCurrentLayerId = id;
    ClearWorkingShapes();
}

} // namespace mycad
