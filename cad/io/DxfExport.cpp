// The table of class writers and the file around their entities.
#include "cad/io/DxfExport.h"

#include "cad/io/DxfShapes.h"
#include "platform/Control.h"
#include "platform/Files.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace mycad {

namespace {

class TDxfClassTable {
public:
    TDxfClassTable()
    {
        for (const TDxfClass& c : BuiltInDxfClasses()) Register(c);
        for (const String& name : ClassesWithoutDxfEntities()) FLeftOut.insert(name);
    }

    bool Register(const TDxfClass& c)
    {
        if (c.ClassName.isEmpty() || !c.Write) return false;
        FClasses[c.ClassName] = c;
        FLeftOut.erase(c.ClassName);
        return true;
    }

    bool LeavesOut(const String& className) const { return FLeftOut.contains(className); }

    /// The writer of exactly that class, or nullptr.
    const TDxfClass* Find(const String& className) const
    {
        const auto it = FClasses.find(className);
        return it == FClasses.end() ? nullptr : &it->second;
    }

private:
    std::unordered_map<String, TDxfClass> FClasses;
    std::unordered_set<String> FLeftOut;
};

TDxfClassTable& Table()
{
    static TDxfClassTable table;
    return table;
}

/// The control's height at zoom 1: its height now when the zoom is 1,
/// otherwise the page's height in pixels, the height SetZoom(1) gives it.
double HeightAtZoomOne(const TMyCAD& cad)
{
    if (cad.Zoom() == 1.0) return cad.Height();
    constexpr double kLargestControl = 16777215.0;
    const double pixels = double(cad.PageHeight()) * double(TScreen::PixelsPerInch()) / 25.4;
    return RoundToInt(std::clamp(pixels, 0.0, kLargestControl));
}

/// Streams the file beside its target; only a complete file takes its name.
bool WriteDxfFile(TMyCAD& cad, const String& fileName, bool textOutlines)
{
    TReplacingFile file(fileName);
    if (!file.IsOpen()) return false;
    const bool written = WriteDxf(cad, textOutlines, [&file](std::string_view bytes) {
        return file.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
    });
    return written && file.Commit();
}

} // namespace

bool RegisterDxfClass(const TDxfClass& dxfClass) { return Table().Register(dxfClass); }

bool HasDxfClass(const String& className) { return Table().Find(className) != nullptr; }

bool DxfLeavesOut(const String& className) { return Table().LeavesOut(className); }

bool WriteDxf(TMyCAD& cad, bool textOutlines, const TDxfSink& sink)
{
    TDxfWriter writer(HeightAtZoomOne(cad), sink);
    TDxfOutput out{writer, textOutlines, cad};
    writer.BeginEntities();
    const TDxfClassTable& table = Table();
    // Text boxes measure and outline their text at the canvas zoom: at zoom
    // 1 for the file, so that it does not depend on the view.
    cad.RenderAtZoom(1.0, [&] {
        for (const auto& shape : cad.MyShapes) {
            if (writer.Failed()) return;
            if (const TDxfClass* c = table.Find(shape->ClassName())) c->Write(*shape, out);
        }
    });
    writer.EndEntities();
    return writer.Flush();
}

std::string DxfDocument(TMyCAD& cad, bool textOutlines)
{
    std::string file;
    WriteDxf(cad, textOutlines, [&file](std::string_view bytes) {
        file += bytes;
        return true;
    });
    return file;
}

bool SaveToDxf(TMyCAD& cad, const String& fileName) { return WriteDxfFile(cad, fileName, false); }

bool SaveToDxf1(TMyCAD& cad, const String& fileName) { return WriteDxfFile(cad, fileName, true); }

} // namespace mycad
