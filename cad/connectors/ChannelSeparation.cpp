#include "cad/connectors/ChannelSeparation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <tuple>

namespace mycad {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// How many lines either side of its own a moved segment tries before it
// gives up and stays (an overlap is ugly; a search without end is worse).
constexpr int32_t kMaxSlots = 12;
// Rounds of trades and moves aside before the separation stops.
constexpr int32_t kRounds = 4;
// Jogs per axis in one separation: each costs two bends, and a drawing that
// needs more than a handful has bigger troubles than a few overlaps.
constexpr int32_t kMaxJogs = 16;

/// One segment seen along its own axis: `at` is the coordinate across the
/// run (y of a horizontal segment), lo..hi its run.
struct TSeg {
    size_t R = 0;
    size_t K = 0;
    double At = 0;
    double Lo = 0;
    double Hi = 0;
    /// Where the route goes at the low and high end of the run: -1 toward a
    /// smaller `at`, +1 toward a larger, 0 where the route ends.
    int32_t TurnLo = 0;
    int32_t TurnHi = 0;
    bool Fixed = false;
};

class TAxis {
public:
    explicit TAxis(bool horizontal) : FHorizontal(horizontal) {}
    bool Horizontal() const { return FHorizontal; }
    double Across(const TMyPoint& p) const { return FHorizontal ? p.Y : p.X; }
    double Run(const TMyPoint& p) const { return FHorizontal ? p.X : p.Y; }
    void SetAcross(TMyPoint& p, double v) const { (FHorizontal ? p.Y : p.X) = static_cast<float>(v); }
    double BoxLo(const TGridBox& b) const { return FHorizontal ? b.T : b.L; }
    double BoxHi(const TGridBox& b) const { return FHorizontal ? b.B : b.R; }
    double BoxRunLo(const TGridBox& b) const { return FHorizontal ? b.L : b.T; }
    double BoxRunHi(const TGridBox& b) const { return FHorizontal ? b.R : b.B; }

private:
    bool FHorizontal;
};

int32_t Sign(double v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

/// Segment k of route r (along the axis) may move across it: its route may
/// change, it holds neither end, it is not pinned, and both neighbours run
/// across (a route that doubles back has a neighbour on its own line, which
/// a move would slant).
bool MovableAcross(const TSeparationRoutes& in, const TAxis& axis, size_t r, size_t k)
{
    const TArrMyPoint& pts = *in.Routes[r];
    if (!in.Movable[r] || k == 0 || k + 2 >= pts.size() || (in.Pinned && in.Pinned(r, k))) return false;
    return axis.Across(pts[k]) == axis.Across(pts[k + 1]) && axis.Run(pts[k - 1]) == axis.Run(pts[k]) &&
           axis.Run(pts[k + 2]) == axis.Run(pts[k + 1]);
}

std::vector<TSeg> Collect(const TSeparationRoutes& in, const TAxis& axis)
{
    std::vector<TSeg> segs;
    for (size_t r = 0; r < in.Routes.size(); ++r) {
        const TArrMyPoint& pts = *in.Routes[r];
        for (size_t k = 0; k + 1 < pts.size(); ++k) {
            const TMyPoint& a = pts[k];
            const TMyPoint& b = pts[k + 1];
            if (axis.Across(a) != axis.Across(b) || axis.Run(a) == axis.Run(b)) continue;
            TSeg s;
            s.R = r;
            s.K = k;
            s.At = axis.Across(a);
            const int32_t turnA = k > 0 ? Sign(axis.Across(pts[k - 1]) - s.At) : 0;
            const int32_t turnB = k + 2 < pts.size() ? Sign(axis.Across(pts[k + 2]) - s.At) : 0;
            const bool aLow = axis.Run(a) < axis.Run(b);
            s.Lo = std::min(axis.Run(a), axis.Run(b));
            s.Hi = std::max(axis.Run(a), axis.Run(b));
            s.TurnLo = aLow ? turnA : turnB;
            s.TurnHi = aLow ? turnB : turnA;
            s.Fixed = !MovableAcross(in, axis, r, k);
            segs.push_back(s);
        }
    }
    return segs;
}

/// The free band across the run of s: from the nearest obstacle on the low
/// side to the nearest on the high side.
std::pair<double, double> Channel(const TSeg& s, const TAxis& axis, const std::vector<TGridBox>& boxes)
{
    double lo = -kInf;
    double hi = kInf;
    for (const TGridBox& b : boxes) {
        if (axis.BoxRunHi(b) <= s.Lo || axis.BoxRunLo(b) >= s.Hi) continue;
        if (axis.BoxHi(b) <= s.At) {
            lo = std::max(lo, axis.BoxHi(b));
        } else if (axis.BoxLo(b) >= s.At) {
            hi = std::min(hi, axis.BoxLo(b));
        }
    }
    return {lo, hi};
}

void Place(TSeparationRoutes& in, const TSeg& s, const TAxis& axis, double at)
{
    TArrMyPoint& pts = *in.Routes[s.R];
    axis.SetAcross(pts[s.K], at);
    axis.SetAcross(pts[s.K + 1], at);
}

bool Overlap(const TSeg& a, const TSeg& b) { return a.R != b.R && a.Lo < b.Hi && b.Lo < a.Hi; }

/// Orders and fans out each group of overlapping segments on one line.
void FanOut(TSeparationRoutes& in, const TAxis& axis, const std::vector<TGridBox>& boxes, double spacing)
{
    std::vector<TSeg> segs = Collect(in, axis);
    std::sort(segs.begin(), segs.end(),
              [](const TSeg& a, const TSeg& b) { return std::tie(a.At, a.Lo, a.R, a.K) < std::tie(b.At, b.Lo, b.R, b.K); });
    size_t i = 0;
    while (i < segs.size()) {
        size_t j = i + 1;
        double reach = segs[i].Hi;
        while (j < segs.size() && segs[j].At == segs[i].At && segs[j].Lo < reach) {
            reach = std::max(reach, segs[j].Hi);
            ++j;
        }
        std::vector<TSeg> group(segs.begin() + std::ptrdiff_t(i), segs.begin() + std::ptrdiff_t(j));
        i = j;
        bool shared = false;
        bool movable = false;
        for (const TSeg& g : group) {
            shared = shared || g.R != group.front().R;
            movable = movable || !g.Fixed;
        }
        if (!shared || !movable) continue;
        // Members whose legs both head to the low side go low, both to the
        // high side go high; in between, each end's order nests the legs so
        // they leave the group without crossing it.
        auto key = [](const TSeg& s) {
            const double second = s.TurnLo < 0 ? -s.Lo : s.TurnLo > 0 ? s.Lo : s.TurnHi > 0 ? -s.Hi : s.Hi;
            return std::make_tuple(s.TurnLo + s.TurnHi, second, s.R, s.K);
        };
        std::sort(group.begin(), group.end(), [&](const TSeg& a, const TSeg& b) { return key(a) < key(b); });
        double lo = -kInf;
        double hi = kInf;
        for (const TSeg& g : group) {
            const auto [l, h] = Channel(g, axis, boxes);
            lo = std::max(lo, l);
            hi = std::min(hi, h);
        }
        const double at = group.front().At;
        const auto n = static_cast<double>(group.size());
        auto anchor = std::find_if(group.begin(), group.end(), [](const TSeg& g) { return g.Fixed; });
        double step = spacing;
        double base = 0;
        if (anchor != group.end()) {
            const auto before = static_cast<double>(anchor - group.begin());
            const double after = n - 1 - before;
            if (before > 0) step = std::min(step, (at - lo) / (before + 1));
            if (after > 0) step = std::min(step, (hi - at) / (after + 1));
            base = at - before * step;
        } else {
            if (hi - lo < (n + 1) * step) step = (hi - lo) / (n + 1);
            base = at - (n - 1) / 2 * step;
            base = std::max(base, lo + step);
            base = std::min(base, hi - step - (n - 1) * step);
        }
        if (!(step > 0)) continue;
        for (size_t k = 0; k < group.size(); ++k) {
            if (group[k].Fixed) continue;
            Place(in, group[k], axis, base + double(k) * step);
        }
    }
}

/// Overlapping collinear segment pairs between route r and the others.
int32_t OverlapsOf(const TSeparationRoutes& in, size_t r)
{
    int32_t count = 0;
    const TArrMyPoint& mine = *in.Routes[r];
    if (mine.empty()) return 0;
    // Only segments that reach into the route's bounding box can overlap it;
    // the test is cheap, and this is asked for every lane a move tries.
    float l = mine[0].X;
    float t = mine[0].Y;
    float rt = l;
    float b = t;
    for (const TMyPoint& p : mine) {
        l = std::min(l, p.X);
        t = std::min(t, p.Y);
        rt = std::max(rt, p.X);
        b = std::max(b, p.Y);
    }
    for (size_t o = 0; o < in.Routes.size(); ++o) {
        if (o == r) continue;
        const TArrMyPoint& other = *in.Routes[o];
        for (size_t m = 0; m + 1 < other.size(); ++m) {
            const TMyPoint& c = other[m];
            const TMyPoint& d = other[m + 1];
            if (std::max(c.X, d.X) < l || std::min(c.X, d.X) > rt || std::max(c.Y, d.Y) < t || std::min(c.Y, d.Y) > b) continue;
            for (size_t k = 0; k + 1 < mine.size(); ++k) {
                const TMyPoint& p = mine[k];
                const TMyPoint& q = mine[k + 1];
                const bool horizontal = p.Y == q.Y && c.Y == d.Y && p.Y == c.Y && p.X != q.X && c.X != d.X;
                const bool vertical = p.X == q.X && c.X == d.X && p.X == c.X && p.Y != q.Y && c.Y != d.Y;
                if (horizontal && std::max(std::min(p.X, q.X), std::min(c.X, d.X)) < std::min(std::max(p.X, q.X), std::max(c.X, d.X))) ++count;
                if (vertical && std::max(std::min(p.Y, q.Y), std::min(c.Y, d.Y)) < std::min(std::max(p.Y, q.Y), std::max(c.Y, d.Y))) ++count;
            }
        }
    }
    return count;
}

/// The runs that hold exactly one end of their route, along the axis.
std::vector<TSeg> EndRuns(const TSeparationRoutes& in, const TAxis& axis)
{
    std::vector<TSeg> runs = Collect(in, axis);
    std::erase_if(runs, [&](const TSeg& s) {
        const size_t n = in.Routes[s.R]->size();
        return (s.K == 0) == (s.K + 2 == n);
    });
    std::sort(runs.begin(), runs.end(), [](const TSeg& a, const TSeg& b) { return std::tie(a.At, a.Lo) < std::tie(b.At, b.Lo); });
    return runs;
}

/// Two runs that hold route ends and face each other on one line overlap
/// when the legs they turn into stand in the wrong order; no run that holds
/// an end can move aside, but the legs can trade places.
bool Untangle(TSeparationRoutes& in, const TAxis& axis, const std::vector<TGridBox>& boxes)
{
    bool traded = false;
    const TAxis across(!axis.Horizontal());
    std::vector<TSeg> runs = EndRuns(in, axis);
    // The leg a run turns into, and where the run ends and is free.
    struct TLeg {
        TSeg Leg;
        double End = 0;
        double Free = 0;
        bool Movable = false;
    };
    auto legOf = [&](const TSeg& run) {
        const TArrMyPoint& pts = *in.Routes[run.R];
        const bool atStart = run.K == 0;
        const size_t k = atStart ? run.K + 1 : run.K - 1;
        TLeg leg;
        leg.End = axis.Run(pts[atStart ? run.K : run.K + 1]);
        leg.Free = axis.Run(pts[atStart ? run.K + 1 : run.K]);
        leg.Leg.R = run.R;
        leg.Leg.K = k;
        leg.Leg.At = across.Across(pts[k]);
        leg.Leg.Lo = std::min(across.Run(pts[k]), across.Run(pts[k + 1]));
        leg.Leg.Hi = std::max(across.Run(pts[k]), across.Run(pts[k + 1]));
        leg.Movable = MovableAcross(in, across, run.R, k);
        return leg;
    };
    for (size_t i = 0; i < runs.size(); ++i) {
        for (size_t j = i + 1; j < runs.size() && runs[j].At == runs[i].At && runs[j].Lo < runs[i].Hi; ++j) {
            if (!Overlap(runs[i], runs[j])) continue;
            TLeg a = legOf(runs[i]);
            TLeg b = legOf(runs[j]);
            const bool facing = (a.Free - a.End) * (b.Free - b.End) < 0;
            if (!a.Movable || !b.Movable || !facing || a.End == b.End) continue;
            // After the trade each run ends where the other's leg stood; it
            // must still point the same way and no longer overlap.
            const bool keepsWay = (b.Free - a.End) * (a.Free - a.End) > 0 && (a.Free - b.End) * (b.Free - b.End) > 0;
            const bool apart = std::max(std::min(a.End, b.Free), std::min(b.End, a.Free)) >=
                               std::min(std::max(a.End, b.Free), std::max(b.End, a.Free));
            if (!keepsWay || !apart) continue;
            const auto [aLo, aHi] = Channel(a.Leg, across, boxes);
            const auto [bLo, bHi] = Channel(b.Leg, across, boxes);
            if (b.Free < aLo || b.Free > aHi || a.Free < bLo || a.Free > bHi) continue;
            // The legs' other ends move too: trade only when that leaves fewer
            // overlaps in all.
            const int32_t before = OverlapsOf(in, a.Leg.R) + OverlapsOf(in, b.Leg.R);
            Place(in, a.Leg, across, b.Free);
            Place(in, b.Leg, across, a.Free);
            if (OverlapsOf(in, a.Leg.R) + OverlapsOf(in, b.Leg.R) >= before) {
                Place(in, a.Leg, across, a.Free);
                Place(in, b.Leg, across, b.Free);
                continue;
            }
            traded = true;
            runs[i].Lo = std::min(a.End, b.Free);
            runs[i].Hi = std::max(a.End, b.Free);
            runs[j].Lo = std::min(b.End, a.Free);
            runs[j].Hi = std::max(b.End, a.Free);
        }
    }
    return traded;
}

/// Where a run that holds a route end has that end, and where it turns.
std::pair<double, double> EndAndTurn(const TSeparationRoutes& in, const TAxis& axis, const TSeg& run)
{
    const TArrMyPoint& pts = *in.Routes[run.R];
    const bool atStart = run.K == 0;
    return {axis.Run(pts[atStart ? run.K : run.K + 1]), axis.Run(pts[atStart ? run.K + 1 : run.K])};
}

/// A run that holds a route end and overlaps runs of other connectors that
/// face it on its line: the leg it turns into, and the nearest turn of those
/// runs, which the leg must come back short of.
struct TFacing {
    TSeg Leg;
    double End = 0;
    double Bound = 0;
    double Way = 0;
    bool Found = false;
};

TFacing FacingOf(const TSeparationRoutes& in, const TAxis& axis, const std::vector<TSeg>& runs, const TSeg& a)
{
    TFacing f;
    const TAxis across(!axis.Horizontal());
    const auto [end, turn] = EndAndTurn(in, axis, a);
    f.End = end;
    f.Bound = turn;
    f.Way = turn > end ? 1.0 : -1.0;
    // The runs are sorted by line: only those on a's line can face it.
    const auto line = std::equal_range(runs.begin(), runs.end(), a, [](const TSeg& l, const TSeg& r) { return l.At < r.At; });
    for (auto b = line.first; b != line.second; ++b) {
        if (b->R == a.R || !Overlap(a, *b)) continue;
        const auto [bEnd, bTurn] = EndAndTurn(in, axis, *b);
        if ((bTurn - bEnd) * f.Way >= 0 || (bTurn - end) * f.Way <= 0) continue;
        f.Found = true;
        f.Bound = f.Way > 0 ? std::min(f.Bound, bTurn) : std::max(f.Bound, bTurn);
    }
    const size_t k = a.K == 0 ? 1 : a.K - 1;
    if (!f.Found || !MovableAcross(in, across, a.R, k)) {
        f.Found = false;
        return f;
    }
    const TArrMyPoint& pts = *in.Routes[a.R];
    f.Leg.R = a.R;
    f.Leg.K = k;
    f.Leg.At = across.Across(pts[k]);
    f.Leg.Lo = std::min(across.Run(pts[k]), across.Run(pts[k + 1]));
    f.Leg.Hi = std::max(across.Run(pts[k]), across.Run(pts[k + 1]));
    return f;
}

/// Tries lanes back from the bound toward the end, by the spacing, then a
/// half and a quarter of it where the room is tight; `fits` places the leg
/// (or part of it) there and says whether that helped.
bool TryLanesBack(const TFacing& f, double lo, double hi, double spacing, const std::function<bool(double)>& fits)
{
    for (int32_t split = 0; split < 3; ++split) {
        const double step = spacing / double(1 << split);
        for (int32_t n = 1; n <= kMaxSlots; ++n) {
            const auto at = static_cast<double>(static_cast<float>(f.Bound - f.Way * step * n));
            if ((at - f.End) * f.Way <= 0) break;
            if (at > lo && at < hi && fits(at)) return true;
        }
    }
    return false;
}

/// Two runs from link points that face each other on one line overlap when
/// each turns off beyond where the other does. Trading legs (Untangle) fails
/// when a third run shares the line or the legs' far ends would clash; then
/// one leg may still move back toward its own end, short of every run it
/// overlaps, which shortens its run and leaves the others as they are.
bool PullBack(TSeparationRoutes& in, const TAxis& axis, const std::vector<TGridBox>& boxes, double spacing)
{
    bool moved = false;
    const TAxis across(!axis.Horizontal());
    const std::vector<TSeg> runs = EndRuns(in, axis);
    for (const TSeg& a : runs) {
        const TFacing f = FacingOf(in, axis, runs, a);
        if (!f.Found) continue;
        const auto [lo, hi] = Channel(f.Leg, across, boxes);
        const int32_t before = OverlapsOf(in, a.R);
        moved = TryLanesBack(f, lo, hi, spacing, [&](double at) {
                    Place(in, f.Leg, across, at);
                    if (OverlapsOf(in, a.R) < before) return true;
                    Place(in, f.Leg, across, f.Leg.At);
                    return false;
                }) || moved;
    }
    return moved;
}

/// Two connectors that cross over one channel, each from a link point on
/// one side of it to a link point on the other, with the links on each side
/// facing each other on one line: whichever leg runs nearer one side, the
/// runs overlap at the other, and no move of a whole leg helps. Here the
/// near part of one leg comes back short of the other's run and steps over
/// to its own line further along, which costs two bends and clears the
/// overlap. One jog per call (the routes' segments are numbered anew after
/// it); false when none was made.
bool JogOne(TSeparationRoutes& in, const TAxis& axis, const std::vector<TGridBox>& boxes, double spacing)
{
    const TAxis across(!axis.Horizontal());
    const std::vector<TSeg> runs = EndRuns(in, axis);
    auto point = [&](double run, double level) {
        return across.Horizontal() ? TMyPoint{static_cast<float>(run), static_cast<float>(level)}
                                   : TMyPoint{static_cast<float>(level), static_cast<float>(run)};
    };
    for (const TSeg& a : runs) {
        const TFacing f = FacingOf(in, axis, runs, a);
        if (!f.Found) continue;
        const auto [lo, hi] = Channel(f.Leg, across, boxes);
        TArrMyPoint& pts = *in.Routes[a.R];
        const bool atStart = a.K == 0;
        // The corner the leg shares with the run, and the far one.
        const size_t nearCorner = atStart ? f.Leg.K : f.Leg.K + 1;
        const size_t farCorner = atStart ? f.Leg.K + 1 : f.Leg.K;
        const double from = across.Run(pts[nearCorner]);
        const double to = across.Run(pts[farCorner]);
        const double dir = to > from ? 1.0 : -1.0;
        const TArrMyPoint kept = pts;
        const int32_t before = OverlapsOf(in, a.R);
        // Every piece of the jog is at least two spacings long: a shorter
        // one reads as a kink, and the canvas's tidy-up straightens kinks.
        const double piece = 2 * spacing;
        const bool jogged = TryLanesBack(f, lo, hi, spacing, [&](double level) {
            if (std::fabs(level - f.Leg.At) < piece || std::fabs(level - f.End) < piece) return false;
            for (int32_t n = 2; n <= kMaxSlots; ++n) {
                const auto step = static_cast<double>(static_cast<float>(from + dir * spacing * n));
                if ((to - step) * dir < piece) break;
                pts = kept;
                across.SetAcross(pts[nearCorner], level);
                const TMyPoint jogNear = point(step, level);
                const TMyPoint jogFar = point(step, f.Leg.At);
                const TArrMyPoint jog = atStart ? TArrMyPoint{jogNear, jogFar} : TArrMyPoint{jogFar, jogNear};
                pts.insert(pts.begin() + std::ptrdiff_t(nearCorner) + (atStart ? 1 : 0), jog.begin(), jog.end());
                if (OverlapsOf(in, a.R) < before) return true;
            }
            pts = kept;
            return false;
        });
        if (jogged) return true;
    }
    return false;
}

/// Moves each movable segment that still overlaps another connector's to
/// the nearest line of its channel where it overlaps none.
bool Resolve(TSeparationRoutes& in, const TAxis& axis, const std::vector<TGridBox>& boxes, double spacing)
{
    bool moved = false;
    const std::vector<TSeg> segs = Collect(in, axis);
    std::map<double, std::vector<TSeg>> lines;
    for (const TSeg& s : segs) lines[s.At].push_back(s);
    auto clashes = [&](const TSeg& s, double at) {
        const auto it = lines.find(at);
        if (it == lines.end()) return false;
        return std::any_of(it->second.begin(), it->second.end(), [&](const TSeg& o) {
            return Overlap(s, o) && !(o.R == s.R && o.K == s.K);
        });
    };
    for (const TSeg& s : segs) {
        if (s.Fixed || !clashes(s, s.At)) continue;
        const auto [lo, hi] = Channel(s, axis, boxes);
        // A crowded channel takes lanes at half and a quarter of the spacing
        // before the segment gives up.
        for (int32_t d = 1; d <= kMaxSlots * 6; ++d) {
            const double step = spacing / double(1 << ((d - 1) / (kMaxSlots * 2)));
            const int32_t k = (d - 1) % (kMaxSlots * 2) + 1;
            const double at = static_cast<float>(s.At + (k % 2 ? 1 : -1) * ((k + 1) / 2) * step);
            if (at <= lo || at >= hi || clashes(s, at)) continue;
            auto& from = lines[s.At];
            std::erase_if(from, [&](const TSeg& o) { return o.R == s.R && o.K == s.K; });
            TSeg there = s;
            there.At = at;
            lines[at].push_back(there);
            Place(in, s, axis, at);
            moved = true;
            break;
        }
    }
    return moved;
}

} // namespace

void SeparateChannels(TSeparationRoutes& routes, const std::vector<TGridBox>& boxes, double spacing)
{
    for (const bool horizontal : {true, false}) FanOut(routes, TAxis(horizontal), boxes, spacing);
    SeparateMoved(routes, boxes, spacing);
}

void SeparateMoved(TSeparationRoutes& routes, const std::vector<TGridBox>& boxes, double spacing)
{
    // Moving a segment aside moves the ends of its neighbours, which can make
    // new overlaps across; a few rounds settle them.
    for (int32_t round = 0; round < kRounds; ++round) {
        bool changed = false;
        for (const bool horizontal : {true, false}) changed = Untangle(routes, TAxis(horizontal), boxes) || changed;
        for (const bool horizontal : {true, false}) changed = PullBack(routes, TAxis(horizontal), boxes, spacing) || changed;
        for (const bool horizontal : {true, false}) changed = Resolve(routes, TAxis(horizontal), boxes, spacing) || changed;
        if (!changed) break;
    }
    // Last, for each overlap no move clears: a jog in one of the legs. A jog
    // is kept only where it leaves fewer overlaps, so nothing needs settling
    // after it.
    for (const bool horizontal : {true, false}) {
        int32_t jogs = 0;
        while (jogs < kMaxJogs && JogOne(routes, TAxis(horizontal), boxes, spacing)) ++jogs;
    }
}

} // namespace mycad
