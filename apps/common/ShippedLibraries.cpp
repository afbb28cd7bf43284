#include "apps/common/ShippedLibraries.h"

#include <cmath>
#include <numbers>

namespace mycad::app {

namespace {

// Pale blue with a dark blue outline, as the sample drawing's boxes.
constexpr TColor kFill = 0xF7EBDD;
constexpr TColor kOutline = 0x97552F;
constexpr double kPi = std::numbers::pi;

using TOutline = std::vector<std::pair<double, double>>;

/// Builds one entry out of shapes made on the library's own canvas.
class TEntryBuilder {
public:
    explicit TEntryBuilder(TLibManager& lib) : FLib(lib) {}

    TMyShape& Add(const char* className, const TOutline& points, bool filled = true)
    {
        std::unique_ptr<TMyShape> s = FLib.Canvas().CreateShapeByName(QString::fromLatin1(className));
        for (const auto& [x, y] : points) s->ThePoints.push_back({float(x), float(y)});
        s->Pen().SetColor(kOutline);
        s->Pen().SetWidth(2);
        s->Brush().SetColor(kFill);
        s->Brush().SetStyle(filled ? TBrushStyle::bsSolid : TBrushStyle::bsClear);
        s->CenterPoint = s->ComputeCenterPoint(4);
        s->TextOutPoint = s->CenterPoint;
        FShapes.push_back(std::move(s));
        return *FShapes.back();
    }
    TMyShape& Box(const char* className, double l, double t, double r, double b)
    {
        return Add(className, {{l, t}, {r, t}, {r, b}, {l, b}});
    }
    /// A closed outline: the last point repeats the first.
    TMyShape& Polygon(TOutline points)
    {
        points.push_back(points.front());
        return Add("TMyPolygon", points);
    }
    TMyShape& Line(double x1, double y1, double x2, double y2)
    {
        return Add("TMyLine", {{x1, y1}, {x2, y2}}, false);
    }
    /// A link-point marker centred on (x, y).
    void LinkPoint(double x, double y)
    {
        Add("TMyLinkPoint", {{x - 4, y - 4}, {x + 4, y - 4}, {x + 4, y + 4}, {x - 4, y + 4}});
    }
    /// Link points at the middles of the sides of the box 0..w x 0..h.
    void SideLinkPoints(double w, double h)
    {
        LinkPoint(w / 2, 0);
        LinkPoint(w, h / 2);
        LinkPoint(w / 2, h);
        LinkPoint(0, h / 2);
    }
    /// Link points at the middles of the sides of the box of the shapes so far.
    void SideLinkPoints()
    {
        const TMyRect box = FLib.Canvas().GetShapesLTRB(Framed());
        LinkPoint((double(box.Left) + box.Right) / 2, box.Top);
        LinkPoint(box.Right, (double(box.Top) + box.Bottom) / 2);
        LinkPoint((double(box.Left) + box.Right) / 2, box.Bottom);
        LinkPoint(box.Left, (double(box.Top) + box.Bottom) / 2);
    }
    void Store(const char* name)
    {
        TArrMyShapeRef refs;
        for (const auto& s : FShapes) refs.push_back(s.get());
        const TMyRect box = FLib.Canvas().GetShapesLTRB(Framed());
        FLib.AppendNewShape(QString::fromUtf8(name), refs, TUserData(), RoundToInt(box.Right - box.Left),
                            RoundToInt(box.Bottom - box.Top));
        FShapes.clear();
    }

private:
    TArrMyShapeRef Framed() const
    {
        TArrMyShapeRef framed;
        for (const auto& s : FShapes) {
            if (s->ClassName() != QLatin1String("TMyLinkPoint")) framed.push_back(s.get());
        }
        return framed;
    }

    TLibManager& FLib;
    TArrMyShape FShapes;
};

/// Points along the ellipse about (cx, cy) with radii rx, ry from angle a0
/// to a1 (radians, y downward), n steps.
TOutline Arc(double cx, double cy, double rx, double ry, double a0, double a1, int n)
{
    TOutline points;
    for (int i = 0; i <= n; ++i) {
        const double a = a0 + (a1 - a0) * i / n;
        points.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    return points;
}

void Append(TOutline& to, const TOutline& from) { to.insert(to.end(), from.begin(), from.end()); }

TOutline Star(int tips, double w, double h, double inner)
{
    TOutline points;
    for (int i = 0; i < 2 * tips; ++i) {
        const double a = -kPi / 2 + i * kPi / tips;
        const double r = i % 2 == 0 ? 1.0 : inner;
        points.push_back({w / 2 + w / 2 * r * std::cos(a), h / 2 + h / 2 * r * std::sin(a)});
    }
    return points;
}

} // namespace

void BuildFlowchartLibrary(TLibManager& lib)
{
    lib.Clear();
    TEntryBuilder e(lib);
    const double w = 120;
    const double h = 60;

    e.Box("TMyRectangle", 0, 0, w, h);
    e.SideLinkPoints(w, h);
    e.Store("Process");

    e.Polygon({{w / 2, 0}, {w, 40}, {w / 2, 80}, {0, 40}});
    e.SideLinkPoints();
    e.Store("Decision");

    TOutline stadium = Arc(w - h / 2, h / 2, h / 2, h / 2, -kPi / 2, kPi / 2, 12);
    Append(stadium, Arc(h / 2, h / 2, h / 2, h / 2, kPi / 2, 3 * kPi / 2, 12));
    e.Polygon(stadium);
    e.SideLinkPoints(w, h);
    e.Store("Terminator");

    e.Polygon({{20, 0}, {w, 0}, {w - 20, h}, {0, h}});
    e.LinkPoint(w / 2 + 10, 0);
    e.LinkPoint(w - 10, h / 2);
    e.LinkPoint(w / 2 - 10, h);
    e.LinkPoint(10, h / 2);
    e.Store("Data");

    // The bottom edge waves once: down on the left, up on the right.
    TOutline document{{0, 0}, {w, 0}};
    for (int i = 0; i <= 16; ++i) {
        const double x = w - w * i / 16;
        document.push_back({x, h - 8 + 8 * std::sin(2 * kPi * x / w)});
    }
    e.Polygon(document);
    e.SideLinkPoints(w, h - 8);
    e.Store("Document");

    e.Box("TMyRectangle", 0, 0, w, h);
    e.Line(12, 0, 12, h);
    e.Line(w - 12, 0, w - 12, h);
    e.SideLinkPoints(w, h);
    e.Store("Predefined process");

    e.Polygon({{0, 20}, {w, 0}, {w, h}, {0, h}});
    e.LinkPoint(w / 2, 10);
    e.LinkPoint(w, h / 2);
    e.LinkPoint(w / 2, h);
    e.LinkPoint(0, (20 + h) / 2);
    e.Store("Manual input");

    e.Polygon({{20, 0}, {w - 20, 0}, {w, h / 2}, {w - 20, h}, {20, h}, {0, h / 2}});
    e.SideLinkPoints(w, h);
    e.Store("Preparation");

    e.Box("TMyEllipse", 0, 0, 40, 40);
    e.SideLinkPoints();
    e.Store("On-page reference");
}

void BuildBasicLibrary(TLibManager& lib)
{
    lib.Clear();
    TEntryBuilder e(lib);

    // Arrows point right; the others are the same outline turned.
    const TOutline right{{0, 15}, {70, 15}, {70, 0}, {100, 25}, {70, 50}, {70, 35}, {0, 35}};
    auto turned = [&](double cos, double sin) {
        TOutline points;
        for (const auto& [x, y] : right) points.push_back({50 + (x - 50) * cos - (y - 25) * sin, 50 + (x - 50) * sin + (y - 25) * cos});
        return points;
    };
    e.Polygon(right);
    e.Store("Right arrow");
    e.Polygon(turned(-1, 0));
    e.Store("Left arrow");
    e.Polygon(turned(0, -1));
    e.Store("Up arrow");
    e.Polygon(turned(0, 1));
    e.Store("Down arrow");
    e.Polygon({{0, 25}, {30, 0}, {30, 15}, {90, 15}, {90, 0}, {120, 25}, {90, 50}, {90, 35}, {30, 35}, {30, 50}});
    e.Store("Double arrow");

    e.Polygon({{0, 0}, {140, 0}, {140, 70}, {60, 70}, {30, 100}, {40, 70}, {0, 70}});
    e.SideLinkPoints(140, 70);
    e.Store("Callout");
    TOutline round = Arc(70, 35, 70, 35, 0.62 * kPi, 2.45 * kPi, 36);
    round.push_back({25, 100});
    e.Polygon(round);
    e.SideLinkPoints(140, 70);
    e.Store("Round callout");

    e.Polygon(Star(5, 100, 95, 0.4));
    e.SideLinkPoints();
    e.Store("Star (5 points)");
    e.Polygon(Star(6, 100, 100, 0.55));
    e.SideLinkPoints();
    e.Store("Star (6 points)");

    // Bumps around an ellipse: each bump a half circle bulging outward.
    TOutline cloud;
    const int bumps = 9;
    for (int i = 0; i < bumps; ++i) {
        const double a0 = 2 * kPi * i / bumps;
        const double a1 = 2 * kPi * (i + 1) / bumps;
        const double x0 = 70 + 55 * std::cos(a0);
        const double y0 = 45 + 30 * std::sin(a0);
        const double x1 = 70 + 55 * std::cos(a1);
        const double y1 = 45 + 30 * std::sin(a1);
        const double r = std::hypot(x1 - x0, y1 - y0) / 2;
        const double mid = std::atan2(y1 - y0, x1 - x0);
        TOutline bump = Arc((x0 + x1) / 2, (y0 + y1) / 2, r, r, mid + kPi, mid + 2 * kPi, 8);
        bump.pop_back();
        Append(cloud, bump);
    }
    e.Polygon(cloud);
    e.SideLinkPoints();
    e.Store("Cloud");

    TOutline body{{0, 12}, {0, 108}};
    Append(body, Arc(40, 108, 40, 12, kPi, 0, 16));
    body.push_back({80, 12});
    Append(body, Arc(40, 12, 40, 12, 0, -kPi, 16));
    e.Polygon(body);
    e.Box("TMyEllipse", 0, 0, 80, 24);
    e.SideLinkPoints();
    e.Store("Cylinder");
}

} // namespace mycad::app
