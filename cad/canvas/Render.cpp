// TMyCAD: rendering the drawing onto any canvas at any zoom. The one place
// that previews, printing, raster and vector export draw shapes through, so
// a page looks the same on the screen, on paper and in every file.
#include "cad/canvas/MyCAD.h"
#include "cad/canvas/ProcessingScope.h"
#include "cad/canvas/TreeWalk.h"
#include "cad/shapes/ShapeDraw.h"

#include <cmath>

namespace mycad {

namespace {

// Draws a shape's visible members (recursively) and then the shape; a
// hidden shape hides its members.
void DrawTree(TMyCAD& cad, TMyShape& root, TCanvas& canvas)
{
    if (!root.Visible()) return;
    if (!root.HasChildShapes()) {
        root.Draw(canvas);
        return;
    }
    WalkShapeTree(
        cad, root, TTreeOrder::MembersFirst,
        [&](TMyShape& s) {
            if (s.Visible()) s.Draw(canvas);
        },
        [](const TMyShape& s) { return s.Visible(); });
}

} // namespace

void TMyCAD::RenderAtZoom(double zoom, const std::function<void()>& draw)
{
    if (!(zoom > 0.0) || !std::isfinite(zoom)) return;
    // Shapes ask their owner for the zoom; it changes for the rendering
    // only. Processing keeps paints and resizes out meanwhile.
    TProcessingScope processing(Processing);
    const double savedZoom = FZoom;
    const bool savedRendering = FRendering;
    FZoom = zoom;
    FRendering = true;
    struct TRestore {
        TMyCAD& Cad;
        double Zoom;
        bool Rendering;
        ~TRestore()
        {
            Cad.FZoom = Zoom;
            Cad.FRendering = Rendering;
        }
    } restore{*this, savedZoom, savedRendering};
    draw();
}

TSize TMyCAD::PagePixels(double zoom)
{
    TSize size;
    RenderAtZoom(zoom, [&] {
        size = {PixelsForMillimetres(FPageWidth), PixelsForMillimetres(FPageHeight)};
    });
    return size;
}

void TMyCAD::RenderShapes(TCanvas& canvas, const TRenderRequest& request)
{
    const auto count = static_cast<int32_t>(MyShapes.size());
    auto onLayers = [&](const TMyShape& s, auto&& draw) {
        if (request.LayerIds.empty()) {
            draw();
            return;
        }
        for (const int32_t id : request.LayerIds) {
            if (s.LayerId == id) draw();
        }
    };
    RenderAtZoom(request.Zoom, [&] {
        const TCanvas* savedPrinter = FPrinterCanvas;
        if (request.Printer) FPrinterCanvas = &canvas;
        canvas.ShiftCoordinates(-request.Offset.X, -request.Offset.Y);
        // Shapes draw in control pixels at the rendering's zoom; the canvas's
        // coordinates carry the offset, so no shape is moved.
        TArrMyShapeRef drawn;
        switch (request.Pick) {
        case TRenderPick::VisibleLayers:
            for (int32_t no = 0; no < count; ++no) {
                TMyShape* s = MyShapes[no].get();
                if (s && !s->HasParentShape() && IsVisibleLayerByID(s->LayerId)) {
                    DrawTree(*this, *s, canvas);
                    drawn.push_back(s);
                }
            }
            break;
        case TRenderPick::Layers:
            for (int32_t no = 0; no < count; ++no) {
                TMyShape* s = MyShapes[no].get();
                if (!s || s->HasParentShape()) continue;
                onLayers(*s, [&] { DrawTree(*this, *s, canvas); });
                drawn.push_back(s);
            }
            break;
        case TRenderPick::LayersFlat:
            for (int32_t no = 0; no < count; ++no) {
                TMyShape* s = MyShapes[no].get();
                if (!s || !s->Visible()) continue;
                onLayers(*s, [&] { s->Draw(canvas); });
            }
            break;
        case TRenderPick::Shapes:
            for (TMyShape* s : request.Shapes) {
                if (s && !s->HasParentShape()) DrawTree(*this, *s, canvas);
            }
            drawn = request.Shapes;
            break;
        case TRenderPick::ShapesFlat:
            for (TMyShape* s : request.Shapes) {
                if (s && s->Visible()) s->Draw(canvas);
            }
            break;
        }
        if (request.LinkMarks && FHotShow && FShowHotLink) {
            for (TMyShape* root : drawn) {
                if (root && !root->HasParentShape()) {
                    WalkShapeTree(*this, *root, TTreeOrder::ShapeFirst, [&](TMyShape& s) { DrawLinkHot(s, canvas); });
                }
            }
        }
        canvas.ShiftCoordinates(request.Offset.X, request.Offset.Y);
        FPrinterCanvas = savedPrinter;
    });
}

} // namespace mycad
