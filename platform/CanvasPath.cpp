// Paths of the canvas (begin, end, stroke, fill, flatten, read back) and
// polygon regions.
#include "platform/CanvasPath.h"
#include "platform/CanvasPainter.h"

#include <algorithm>
#include <cmath>

namespace mycad {

namespace {

int32_t ClampToInt(double v)
{
    return static_cast<int32_t>(std::clamp(v, -2147483648.0, 2147483647.0));
}

// The points after `from` of a cubic Bezier flattened within Qt's tolerance.
QPolygonF Flattened(const QPointF& from, const QPointF& c1, const QPointF& c2, const QPointF& to)
{
    QPainterPath curve;
    curve.moveTo(from);
    curve.cubicTo(c1, c2, to);
    const QList<QPolygonF> polys = curve.toSubpathPolygons();
    if (polys.isEmpty() || polys.front().size() < 2) return QPolygonF({to});
    return polys.front().mid(1);
}

// Paths keep the device positions of what is drawn into them, as the
// drawing model this canvas follows does: a figure drawn under a world
// transform or map mode stays where it was drawn when the transform changes
// before the path is stroked, filled or read back.
QPointF ToPathPoint(const TCanvas& c, const QPointF& p)
{
    return TCanvasPainter::LogicalIsDevice(c) ? p : TCanvasPainter::LogicalToDevice(c).map(p);
}

} // namespace

TRect PixelBounds(const QRectF& b)
{
    if (b.isEmpty()) return {};
    // Pixel x is covered when its centre x + 0.5 lies inside.
    return {ClampToInt(std::ceil(b.left() - 0.5)), ClampToInt(std::ceil(b.top() - 0.5)),
            ClampToInt(std::ceil(b.right() - 0.5)), ClampToInt(std::ceil(b.bottom() - 0.5))};
}

// ---- building the path -------------------------------------------------

void TCanvasPath::EndFigure(TCanvas& c)
{
    c.figureStart_ = -1;
}

void TCanvasPath::StartFigure(TCanvas& c, const QPointF& p)
{
    c.figureStart_ = static_cast<int32_t>(c.path_.size());
    const QPointF d = ToPathPoint(c, p);
    c.path_.push_back({d.x(), d.y(), PT_MOVETO});
}

void TCanvasPath::LineTo(TCanvas& c, const QPointF& p)
{
    if (c.figureStart_ < 0) StartFigure(c, QPointF(c.penPos_.X, c.penPos_.Y));
    const QPointF d = ToPathPoint(c, p);
    c.path_.push_back({d.x(), d.y(), PT_LINETO});
}

void TCanvasPath::BezierTo(TCanvas& c, const QPointF& c1, const QPointF& c2, const QPointF& end)
{
    if (c.figureStart_ < 0) StartFigure(c, QPointF(c.penPos_.X, c.penPos_.Y));
    for (const QPointF& p : {c1, c2, end}) {
        const QPointF d = ToPathPoint(c, p);
        c.path_.push_back({d.x(), d.y(), PT_BEZIERTO});
    }
}

void TCanvasPath::CloseFigure(TCanvas& c)
{
    if (c.figureStart_ >= 0 && c.path_.size() > static_cast<size_t>(c.figureStart_) + 1) {
        c.path_.back().Type |= PT_CLOSEFIGURE;
    }
    c.figureStart_ = -1;
}

void TCanvasPath::FinishAddedFigure(TCanvas& c, bool closed)
{
    // Qt closes a subpath with a line back to its start; a closed figure
    // says that with its flag instead.
    if (!closed || c.figureStart_ < 0) return;
    const auto start = static_cast<size_t>(c.figureStart_);
    const TCanvas::PathPoint& first = c.path_[start];
    const TCanvas::PathPoint& last = c.path_.back();
    if (c.path_.size() > start + 2 && last.Type == PT_LINETO && last.X == first.X && last.Y == first.Y) {
        c.path_.pop_back();
    }
    CloseFigure(c);
}

void TCanvasPath::AddPolygon(TCanvas& c, const TArrPoint& points)
{
    // What AddPainterPath makes of the closed painter path of these points,
    // without building it: the path drops a point equal to the one before
    // and closes with a line back to the start unless it is there already.
    if (points.empty()) return;
    FinishAddedFigure(c, true);
    const QPointF start(points[0].X, points[0].Y);
    StartFigure(c, start);
    TPoint at = points[0];
    for (size_t i = 1; i < points.size(); ++i) {
        if (points[i] == at) continue;
        at = points[i];
        LineTo(c, QPointF(at.X, at.Y));
    }
    if (at != points[0]) LineTo(c, start);
    FinishAddedFigure(c, true);
    c.figureStart_ = -1;
}

void TCanvasPath::AddPainterPath(TCanvas& c, const QPainterPath& path, bool closed)
{
    auto finish = [&] { FinishAddedFigure(c, closed); };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            finish();
            StartFigure(c, e);
            break;
        case QPainterPath::LineToElement:
            LineTo(c, e);
            break;
        case QPainterPath::CurveToElement:
            if (i + 2 < path.elementCount()) {
                BezierTo(c, e, path.elementAt(i + 1), path.elementAt(i + 2));
                i += 2;
            }
            break;
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    finish();
    c.figureStart_ = -1;
}

QPainterPath TCanvasPath::ToPainterPath(const TCanvas& c)
{
    QPainterPath out;
    out.setFillRule(c.polyFillMode_ == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    const std::vector<TCanvas::PathPoint>& pts = c.path_;
    for (size_t i = 0; i < pts.size(); ++i) {
        const TCanvas::PathPoint& p = pts[i];
        const int type = p.Type & ~PT_CLOSEFIGURE;
        if (type == PT_MOVETO) {
            out.moveTo(p.X, p.Y);
        } else if (type == PT_BEZIERTO && i + 2 < pts.size()) {
            out.cubicTo(p.X, p.Y, pts[i + 1].X, pts[i + 1].Y, pts[i + 2].X, pts[i + 2].Y);
            i += 2;
        } else {
            out.lineTo(p.X, p.Y);
        }
        if ((pts[i].Type & PT_CLOSEFIGURE) != 0) out.closeSubpath();
    }
    // Back to the logical coordinates of the transform in effect now.
    if (!TCanvasPainter::LogicalIsDevice(c)) return TCanvasPainter::LogicalToDevice(c).inverted().map(out);
    return out;
}

void TCanvasPath::Clear(TCanvas& c)
{
    c.path_.clear();
    c.figureStart_ = -1;
}

// ---- the canvas's path operations ---------------------------------------

void TCanvas::BeginPath()
{
    TCanvasPath::Clear(*this);
    pathOpen_ = true;
}

void TCanvas::EndPath()
{
    pathOpen_ = false;
    figureStart_ = -1;
}

void TCanvas::AbortPath()
{
    TCanvasPath::Clear(*this);
    pathOpen_ = false;
}

void TCanvas::CloseFigure()
{
    if (pathOpen_) TCanvasPath::CloseFigure(*this);
}

void TCanvas::StrokePath()
{
    if (pathOpen_) return;
    // Curves with a thin pen are walked as the short straight strokes they
    // flatten to, straight into the pixels, like every other thin stroke:
    // a painter per curve costs more than the curve.
    const bool curves = std::any_of(path_.begin(), path_.end(), [](const PathPoint& p) {
        return (p.Type & ~PT_CLOSEFIGURE) == PT_BEZIERTO;
    });
    if (curves && pen_.Width() <= 1) FlattenPath();
    if (!TCanvasDirect::StrokeCanvasPath(*this)) {
        TCanvasPainter p(*this, TCanvasPainter::Use::Shape);
        if (p.Active()) p.StrokeFigure(TCanvasPath::ToPainterPath(*this));
    }
    TCanvasPath::Clear(*this);
}

void TCanvas::FillPath()
{
    if (pathOpen_) return;
    {
        TCanvasPainter p(*this, TCanvasPainter::Use::Shape);
        if (p.Active()) p.FillFigure(TCanvasPath::ToPainterPath(*this));
    }
    TCanvasPath::Clear(*this);
}

void TCanvas::StrokeAndFillPath()
{
    if (pathOpen_) return;
    {
        TCanvasPainter p(*this, TCanvasPainter::Use::Shape);
        if (p.Active()) {
            const QPainterPath path = TCanvasPath::ToPainterPath(*this);
            p.FillFigure(path);
            p.StrokeFigure(path);
        }
    }
    TCanvasPath::Clear(*this);
}

void TCanvas::FlattenPath()
{
    std::vector<PathPoint> flat;
    flat.reserve(path_.size());
    for (size_t i = 0; i < path_.size(); ++i) {
        const PathPoint& p = path_[i];
        if ((p.Type & ~PT_CLOSEFIGURE) == PT_BEZIERTO && i + 2 < path_.size() && !flat.empty()) {
            const QPolygonF line = Flattened(QPointF(flat.back().X, flat.back().Y), QPointF(p.X, p.Y),
                                             QPointF(path_[i + 1].X, path_[i + 1].Y),
                                             QPointF(path_[i + 2].X, path_[i + 2].Y));
            for (const QPointF& q : line) flat.push_back({q.x(), q.y(), PT_LINETO});
            flat.back().Type |= path_[i + 2].Type & PT_CLOSEFIGURE;
            i += 2;
        } else if ((p.Type & ~PT_CLOSEFIGURE) == PT_BEZIERTO) {
            flat.push_back({p.X, p.Y, static_cast<uint8_t>(PT_LINETO | (p.Type & PT_CLOSEFIGURE))});
        } else {
            flat.push_back(p);
        }
    }
    path_ = std::move(flat);
}

int32_t TCanvas::GetPath(TArrPoint& points, TArrByte& types) const
{
    points.clear();
    types.clear();
    points.reserve(path_.size());
    types.reserve(path_.size());
    const bool plain = TCanvasPainter::LogicalIsDevice(*this);
    const QTransform toLogical = plain ? QTransform() : TCanvasPainter::LogicalToDevice(*this).inverted();
    for (const PathPoint& p : path_) {
        const QPointF q = plain ? QPointF(p.X, p.Y) : toLogical.map(QPointF(p.X, p.Y));
        points.push_back({ClampToInt(std::nearbyint(q.x())), ClampToInt(std::nearbyint(q.y()))});
        types.push_back(p.Type);
    }
    return static_cast<int32_t>(path_.size());
}

// ---- regions -----------------------------------------------------------

TRegion TRegion::CreatePolygonRgn(const TArrPoint& points, int32_t fillMode)
{
    TRegion r;
    if (points.size() < 3) return r;
    r.path_.moveTo(points[0].X, points[0].Y);
    for (size_t i = 1; i < points.size(); ++i) r.path_.lineTo(points[i].X, points[i].Y);
    r.path_.closeSubpath();
    r.path_.setFillRule(fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    // An upright box, the commonest region, is kept as its pixels too, so
    // filling it needs no rasteriser.
    r.isRect_ = UprightBoxPixels(points.data(), points.size(), r.rect_);
    return r;
}

bool UprightBoxPixels(const TPoint* p, size_t count, TRect& pixels)
{
    if (count == 5 && p[4] == p[0]) count = 4;
    if (count != 4) return false;
    const bool rowsFirst = p[0].Y == p[1].Y && p[1].X == p[2].X && p[2].Y == p[3].Y && p[3].X == p[0].X;
    const bool columnsFirst = p[0].X == p[1].X && p[1].Y == p[2].Y && p[2].X == p[3].X && p[3].Y == p[0].Y;
    if (!rowsFirst && !columnsFirst) return false;
    // Pixel x is inside when its centre x + 0.5 is: from the smaller edge up
    // to, not including, the larger one.
    pixels = {std::min(p[0].X, p[2].X), std::min(p[0].Y, p[2].Y), std::max(p[0].X, p[2].X), std::max(p[0].Y, p[2].Y)};
    return true;
}

bool TRegion::IsRectangle(TRect& pixels) const
{
    if (isRect_) pixels = rect_;
    return isRect_;
}

bool TRegion::PtInRegion(int32_t x, int32_t y) const
{
    // A pixel belongs to the region when its centre does, as in filling.
    return !path_.isEmpty() && path_.contains(QPointF(x + 0.5, y + 0.5));
}

bool TRegion::IsEmpty() const
{
    return BoundingRect().IsEmpty();
}

TRect TRegion::BoundingRect() const
{
    return PixelBounds(path_.boundingRect());
}

} // namespace mycad
