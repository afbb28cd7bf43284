// TMyCAD: painting. A paint renders only the invalid rectangle, into a back
// buffer of that rectangle's size, and copies it to the control; handles go
// straight onto the control afterwards, so a change of selection does not
// need the shapes redrawn.
#include "cad/canvas/MyCAD.h"
#include "cad/canvas/ProcessingScope.h"
#include "cad/canvas/TreeWalk.h"

#include "cad/shapes/ShapeDraw.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace mycad {

namespace {

// A box in device pixels kept in double while it is built.
struct TExtent {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
    bool Any = false;

    void Add(double x, double y)
    {
        if (!Any) {
            Left = Right = x;
            Top = Bottom = y;
            Any = true;
            return;
        }
        Left = std::min(Left, x);
        Right = std::max(Right, x);
        Top = std::min(Top, y);
        Bottom = std::max(Bottom, y);
    }
    void Add(const TExtent& e)
    {
        if (!e.Any) return;
        Add(e.Left, e.Top);
        Add(e.Right, e.Bottom);
    }
    void Inflate(double d)
    {
        Left -= d;
        Top -= d;
        Right += d;
        Bottom += d;
    }
    bool Meets(const TRect& r) const
    {
        // r covers pixels Left..Right-1; an extent covers the pixels its
        // bounds reach, both ends included.
        return Any && Right >= r.Left && Left < r.Right && Bottom >= r.Top && Top < r.Bottom;
    }
};

// Half the side of a link-point mark, with the rounding of its ends.
constexpr double kLinkMarkReach = 4.0;

// The box of the info text or multi-line info that DrawInfo puts centred
// on TextOutPoint, widened by a line height for glyphs that overhang their
// advance (italics, anti-aliasing).
void AddInfoText(TExtent& e, TMyShape& shape, TCanvas& canvas, double zoom)
{
    if (!shape.CaptionShow()) return;
    const String info = shape.Info();
    const int32_t lines = shape.MultiInfo().Count();
    if (info.isEmpty() && lines < 1) return;
    double w = 0;
    double h = 0;
    double lineHeight = 0;
    if (!info.isEmpty()) {
        const TSize size = shape.GetTextWidthHeight(canvas, info, shape.Font(), 0.0, zoom);
        w = size.cx;
        h = size.cy;
        lineHeight = size.cy;
    } else {
        for (int32_t i = 0; i < lines; ++i) {
            const TSize size = shape.GetTextWidthHeight(canvas, shape.MultiInfo()[i], shape.Font(), 0.0, zoom);
            w = std::max(w, double(size.cx));
            lineHeight = std::max(lineHeight, double(size.cy));
        }
        h = lineHeight * lines;
    }
    const double tx = std::nearbyint(double(shape.TextOutPoint.X) * zoom);
    const double ty = std::nearbyint(double(shape.TextOutPoint.Y) * zoom);
    TExtent text;
    text.Add(tx - w / 2.0 - 1.0, ty - h / 2.0 - 1.0);
    text.Add(tx + w / 2.0 + 1.0, ty + h / 2.0 + 1.0);
    text.Inflate(lineHeight);
    e.Add(text);
}

// Every device pixel that drawing the shape (Draw) and its link-point marks
// can touch; nullopt when that is not known.
std::optional<TExtent> ShapeExtent(TMyShape& shape, TCanvas& canvas, double zoom, bool marks)
{
    const TShapeOwner* owner = shape.Owner();
    const bool printer = owner && owner->IsPrinterCanvas(canvas);
    const double pen = shape.Pen().Width() * (printer ? std::max(1.0, zoom) : 1.0);
    const TPaintArea area = shape.PaintArea(pen, zoom);
    if (!area.Known) return std::nullopt;
    TExtent e;
    if (area.AroundPoints) {
        for (const TMyPoint& p : shape.ThePoints) e.Add(double(p.X) * zoom, double(p.Y) * zoom);
        if (e.Any) e.Inflate(area.Reach);
    }
    AddInfoText(e, shape, canvas, zoom);
    if (marks) {
        for (const TMyPoint& p : shape.LinkPoints) {
            TExtent mark;
            mark.Add(double(p.X) * zoom, double(p.Y) * zoom);
            mark.Inflate(kLinkMarkReach);
            e.Add(mark);
        }
    }
    return e;
}

} // namespace

// ---------------------------------------------------------------- paint

void TMyCAD::Paint()
{
    if (Processing) return;
    TProcessingScope scope(Processing);
    TCanvas& canvas = Canvas();
    const TRect r = canvas.ClipRect();
    if (r.IsEmpty()) return;
    DrawAll(r);
    canvas.CopyRect(r, MytmpBitmap.Canvas(), Rect(0, 0, MytmpBitmap.Width(), MytmpBitmap.Height()));
    // The link points shown under the mouse are drawn again where the paint
    // covered them (the canvas is clipped to the painted rectangle).
    DrawHoverLinkMarks(FHoverMarksShapeId);
    SelectAllWorkingShapes();
    if (OnPaint) OnPaint(this);
}

void TMyCAD::DrawAll(const TRect& r)
{
    // 32-bit pixels: the raster engine's own format, and the control's, so
    // the copy to the control is a plain blit.
    MytmpBitmap.SetPixelFormat(TPixelFormat::pf32bit);
    // As fine as the control's surface, which it is copied onto.
    MytmpBitmap.SetDevicePixelRatio(Canvas().DevicePixelRatio());
    MytmpBitmap.SetSize(std::max(0, r.Width()), std::max(0, r.Height()));
    if (MytmpBitmap.Empty()) return;
    MytmpBitmap.Canvas().SetDeviceOrigin({0, 0});
    MytmpBitmap.Canvas().SetClipRect({});
    FillBackground(MytmpBitmap, r);
    DrawBkBitmap(MytmpBitmap, -r.Left, -r.Top, false);
    DrawGrid(MytmpBitmap, r);
    DrawAllShape(MytmpBitmap.Canvas(), r);
}

void TMyCAD::FillBackground(TBitmap& bitmap, const TRect& r)
{
    (void)r;
    TCanvas& c = bitmap.Canvas();
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(FColorOfBackGround);
    const TPoint o = c.DeviceOrigin();
    c.FillRect(Bounds(o.X, o.Y, bitmap.Width(), bitmap.Height()));
}

void TMyCAD::DrawBkBitmap(TBitmap& bitmap, int32_t x, int32_t y, bool useBitmapSize)
{
    const int32_t bw = FBkBitmap.Width();
    const int32_t bh = FBkBitmap.Height();
    if (bw <= 0 || bh <= 0) return;
    TCanvas& c = bitmap.Canvas();
    const int32_t w = FRendering ? PixelsForMillimetres(FPageWidth) : Width();
    const int32_t h = FRendering ? PixelsForMillimetres(FPageHeight) : Height();
    switch (FBkBitmapMode) {
    case TBkBitmapMode::LeftTop:
        c.Draw(x, y, FBkBitmap);
        break;
    case TBkBitmapMode::Center:
        c.Draw((w - bw) / 2 + x, (h - bh) / 2 + y, FBkBitmap);
        break;
    case TBkBitmapMode::Stretch:
        c.StretchDraw(Rect(x, y, x + w, y + h), FBkBitmap);
        break;
    case TBkBitmapMode::Tiled: {
        const int64_t areaW = useBitmapSize ? bitmap.Width() : w;
        const int64_t areaH = useBitmapSize ? bitmap.Height() : h;
        // Tiles of a large control that miss the bitmap change no pixel;
        // only the ones over the bitmap (the visible part) are drawn.
        const TPoint o = c.DeviceOrigin();
        auto range = [](int64_t offset, int64_t size, int64_t origin, int64_t extent, int64_t count) {
            // Tile k covers offset + k*size .. offset + (k+1)*size - 1.
            int64_t first = (origin - offset) / size - 1;
            int64_t last = (origin + extent - offset) / size + 1;
            first = std::max<int64_t>(first, 0);
            last = std::min<int64_t>(last, count);
            return std::pair<int64_t, int64_t>{first, last};
        };
        const auto [i0, i1] = range(x, bw, o.X, bitmap.Width(), areaW / bw);
        const auto [j0, j1] = range(y, bh, o.Y, bitmap.Height(), areaH / bh);
        for (int64_t i = i0; i <= i1; ++i) {
            for (int64_t j = j0; j <= j1; ++j) {
                c.Draw(static_cast<int32_t>(i * bw + x), static_cast<int32_t>(j * bh + y), FBkBitmap);
            }
        }
        break;
    }
    }
}

// ---------------------------------------------------------------- shapes

void TMyCAD::DrawAllShape(TCanvas& canvas, const TRect& r)
{
    WillDrawShapesNo.clear();
    const double zoom = FZoom;
    const bool marks = FHotShow && FShowHotLink;
    // The rectangle normalised, as callers may pass it either way round.
    const TRect area{std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
                     std::max(r.Top, r.Bottom)};

    // Layer visibility is asked of the root only; shapes of one layer
    // usually follow each other, so the last answer is kept.
    int32_t lastLayer = 0;
    bool lastVisible = false;
    bool layerKnown = false;
    auto layerVisible = [&](int32_t id) {
        if (!layerKnown || id != lastLayer) {
            lastLayer = id;
            lastVisible = IsVisibleLayerByID(id);
            layerKnown = true;
        }
        return lastVisible;
    };
    // Where a root and its members draw; nullopt when not known.
    auto extentOf = [&](TMyShape& root) -> std::optional<TExtent> {
        if (!root.HasChildShapes()) return ShapeExtent(root, canvas, zoom, marks);
        bool known = true;
        TExtent all;
        WalkShapeTree(*this, root, TTreeOrder::ShapeFirst, [&](TMyShape& s) {
            if (!known) return;
            const std::optional<TExtent> e = ShapeExtent(s, canvas, zoom, marks);
            if (e) {
                all.Add(*e);
            } else {
                known = false;
            }
        });
        if (!known) return std::nullopt;
        return all;
    };

    const size_t count = MyShapes.size();
    const bool backBuffer = &canvas == &MytmpBitmap.Canvas();
    const bool reuse = backBuffer && FDrawExtentsValid && FDrawExtentsInvalidations == WholeInvalidations() &&
                       FDrawExtentsZoom == zoom && FDrawExtentsMarks == marks && FDrawExtentsCount == count;
    if (reuse) {
        // The shapes that meet the area, in list order, then those of them
        // that are still top-level shapes of visible layers.
        FDrawExtents.Find(area, WillDrawShapesNo);
        size_t kept = 0;
        for (const uint32_t no : WillDrawShapesNo) {
            TMyShape* s = no < count ? MyShapes[no].get() : nullptr;
            if (s && !s->HasParentShape() && layerVisible(s->LayerId)) WillDrawShapesNo[kept++] = no;
        }
        WillDrawShapesNo.resize(kept);
    } else {
        if (backBuffer) FDrawExtents.Clear(count);
        for (size_t no = 0; no < count; ++no) {
            TMyShape* s = MyShapes[no].get();
            if (!s || s->HasParentShape()) continue;
            // The extents are learnt for every root, so that a later paint can
            // reuse them whatever becomes of layers in between.
            if (!backBuffer && !layerVisible(s->LayerId)) continue;
            const std::optional<TExtent> e = extentOf(*s);
            if (backBuffer) {
                if (!e) {
                    FDrawExtents.AddAnywhere(static_cast<uint32_t>(no));
                } else if (e->Any) {
                    FDrawExtents.Add(static_cast<uint32_t>(no), e->Left, e->Top, e->Right, e->Bottom);
                } else {
                    continue; // draws nothing anywhere
                }
                if (!layerVisible(s->LayerId)) continue;
            }
            if (!e || e->Meets(area)) WillDrawShapesNo.push_back(static_cast<uint32_t>(no));
        }
        if (backBuffer) {
            FDrawExtents.Build();
            FDrawExtentsValid = true;
            FDrawExtentsInvalidations = WholeInvalidations();
            FDrawExtentsZoom = zoom;
            FDrawExtentsMarks = marks;
            FDrawExtentsCount = count;
        }
    }
    if (WillDrawShapesNo.empty()) return;
    PrepareConnectorsForPaint();

    // Instead of moving every chosen shape by the rectangle's origin and
    // back (float coordinates would not always come back to the same
    // value), the canvas's coordinates move: shapes draw in control pixels
    // and land where they would in a full paint.
    canvas.ShiftCoordinates(r.Left, r.Top);

    for (const uint32_t no : WillDrawShapesNo) {
        TMyShape& root = *MyShapes[no];
        if (!root.HasChildShapes()) {
            if (root.Visible()) root.Draw(canvas);
            continue;
        }
        // A hidden shape hides its members; members draw before their group.
        WalkShapeTree(
            *this, root, TTreeOrder::MembersFirst,
            [&](TMyShape& s) {
                if (s.Visible()) s.Draw(canvas);
            },
            [](const TMyShape& s) { return s.Visible(); });
    }
    if (marks) {
        // Marks of every chosen shape and its members, whatever their
        // visibility, above all shapes.
        for (const uint32_t no : WillDrawShapesNo) {
            TMyShape& root = *MyShapes[no];
            if (!root.HasChildShapes()) {
                if (!root.LinkPoints.empty()) DrawLinkHot(root, canvas);
                continue;
            }
            WalkShapeTree(*this, root, TTreeOrder::ShapeFirst, [&](TMyShape& s) { DrawLinkHot(s, canvas); });
        }
    }

    canvas.ShiftCoordinates(-r.Left, -r.Top);
    FCrossingsValid = false;
}

void TMyCAD::SelectAllWorkingShapes()
{
    if (!FHotShow) return;
    TCanvas& canvas = Canvas();
    if (ChildWorkingShape) {
        if (ChildWorkingShape->Visible()) ChildWorkingShape->DrawHot(canvas);
        return;
    }
    for (TMyShape* s : WorkingShapes) {
        if (s && IsVisibleLayerByID(s->LayerId) && s->Visible()) s->DrawHot(canvas);
    }
}

} // namespace mycad
