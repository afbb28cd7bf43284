#include "cad/connectors/CrossingIndex.h"

#include "cad/connectors/Routing.h"

#include <algorithm>
#include <cmath>

namespace mycad {

namespace {

constexpr double kRowHeight = 32.0;
constexpr int64_t kMaxRowsPerSegment = 4096;

bool Finite(double v) { return std::isfinite(v) && std::fabs(v) < 1e15; }

int64_t RowOf(double y) { return static_cast<int64_t>(std::floor(y / kRowHeight)); }

bool Crosses(double x, double low, double high, double x0, double x1, double y)
{
    return low < y && y < high && x > x0 && x < x1;
}

} // namespace

void TCrossingIndex::Clear()
{
    FRows.clear();
    FTall.clear();
    FCount = 0;
}

void TCrossingIndex::AddRoute(const TArrMyPoint& pts)
{
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
        const TMyPoint& c = pts[i];
        const TMyPoint& d = pts[i + 1];
        if (IsLineHV(c, d) != 2) continue;
        const TEntry e{c.X, std::min(c.Y, d.Y), std::max(c.Y, d.Y)};
        ++FCount;
        if (!Finite(e.X) || !Finite(e.Low) || !Finite(e.High) || RowOf(e.High) - RowOf(e.Low) > kMaxRowsPerSegment) {
            FTall.push_back(e);
            continue;
        }
        for (int64_t row = RowOf(e.Low); row <= RowOf(e.High); ++row) FRows[row].push_back(e);
    }
}

void TCrossingIndex::Build()
{
    for (auto& [row, entries] : FRows) {
        std::sort(entries.begin(), entries.end(), [](const TEntry& l, const TEntry& r) { return l.X < r.X; });
    }
}

void TCrossingIndex::Collect(const std::vector<TEntry>& row, double x0, double x1, double y, std::vector<float>& xs)
{
    auto it = std::upper_bound(row.begin(), row.end(), x0, [](double x, const TEntry& e) { return x < e.X; });
    for (; it != row.end() && it->X < x1; ++it) {
        if (Crosses(it->X, it->Low, it->High, x0, x1, y)) xs.push_back(it->X);
    }
}

void TCrossingIndex::Crossings(const TMyPoint& a, const TMyPoint& b, std::vector<float>& xs) const
{
    if (FCount == 0) return;
    const double x0 = std::min(a.X, b.X);
    const double x1 = std::max(a.X, b.X);
    const double y = a.Y;
    for (const TEntry& e : FTall) {
        if (Crosses(e.X, e.Low, e.High, x0, x1, y)) xs.push_back(e.X);
    }
    if (!Finite(y)) return;
    const auto row = FRows.find(RowOf(y));
    if (row != FRows.end()) Collect(row->second, x0, x1, y, xs);
}

void CollectCrossings(const std::vector<const TArrMyPoint*>& routes, const TMyPoint& a, const TMyPoint& b,
                      std::vector<float>& xs)
{
    const double x0 = std::min(a.X, b.X);
    const double x1 = std::max(a.X, b.X);
    for (const TArrMyPoint* pts : routes) {
        for (size_t i = 0; i + 1 < pts->size(); ++i) {
            const TMyPoint& c = (*pts)[i];
            const TMyPoint& d = (*pts)[i + 1];
            if (IsLineHV(c, d) != 2) continue;
            if (Crosses(c.X, std::min(c.Y, d.Y), std::max(c.Y, d.Y), x0, x1, a.Y)) xs.push_back(c.X);
        }
    }
}

} // namespace mycad
