// The avoiding router: orthogonal routes for many connectors that keep
// clear of every shape but the two each one joins, with as few bends as a
// short route allows, spread apart where they share a channel.
//
// It keeps a scene: obstacles (boxes, by key) and connectors (two ends and
// their current route, by key). A full routing routes every connector and
// then tidies the channels; a drag step moves one obstacle and routes again
// only the connectors attached to it, those it now blocks, and those that
// could not be routed before, leaving every other route exactly as it was.
// A connector that cannot be routed gets a plain orthogonal fallback and is
// listed as unroutable; nothing here can loop without end.
//
// Units are whatever the caller uses (the canvas uses document points); the
// margin, bend penalty and spacing are in the same units.
#pragma once

#include "cad/connectors/RouteGrid.h"

#include <map>
#include <optional>

namespace mycad {

/// Which router re-computes orthogonal connectors.
enum class TLinkRouter : uint8_t { lrClassic = 0, lrAvoiding = 1 };

/// One end of a connector: the point, and the key of the obstacle it sits
/// on (-1 for a free end).
struct TRouterEnd {
    TMyPoint Point;
    int32_t Shape = -1;
};

/// A segment the user placed: the line it lies on (y of a horizontal
/// segment, x of a vertical one) and its run along that line, in route
/// order. The route keeps it while the rest is routed around it.
struct TRoutePin {
    bool Horizontal = true;
    float At = 0;
    float From = 0;
    float To = 0;
    friend bool operator==(const TRoutePin&, const TRoutePin&) = default;
};

struct TRouterOptions {
    /// How far routes keep from every box.
    double Margin = 10;
    /// What a bend costs, as a length.
    double BendPenalty = 40;
    /// Distance between segments fanned out in a shared channel.
    double Spacing = 6;
    /// Extra cost, per unit of length, of running along another
    /// connector's port ray, where the two could not be moved apart.
    double RayCost = 0.05;
};

class TAvoidRouter {
public:
    explicit TAvoidRouter(const TRouterOptions& options = {}) : FOptions(options) {}

    const TRouterOptions& Options() const { return FOptions; }
    void SetOptions(const TRouterOptions& options) { FOptions = options; }

    // ---- The scene.

    void SetObstacle(int32_t key, const TMyRect& box);
    void RemoveObstacle(int32_t key);
    /// Sets both ends; the route the connector had is kept until it is
    /// routed again.
    void SetConnector(int32_t key, const TRouterEnd& start, const TRouterEnd& end);
    void RemoveConnector(int32_t key);
    /// Takes a route as the connector's current one (a stored drawing), and
    /// whether it was a fallback for want of a route.
    void AdoptRoute(int32_t key, const TArrMyPoint& route, bool unroutable = false);
    /// A fixed connector keeps the route it has (one the user shaped by
    /// hand): it is never routed nor moved aside, but others keep off it.
    void SetFixed(int32_t key, bool fixed);
    /// Pins a segment of the connector's route, or (nullopt) frees it.
    void SetPin(int32_t key, const std::optional<TRoutePin>& pin);
    /// Forgets every obstacle and connector.
    void Clear();

    // ---- Routing.

    /// Routes every connector, then spreads apart shared channels.
    void RouteAll();
    /// Routes the given connectors among the settled ones, which stay put;
    /// only the re-routed ones move aside where they share a channel.
    void Reroute(const std::vector<int32_t>& keys);
    /// A drag step: moves the obstacle and re-routes the connectors attached
    /// to it, those whose routes it now blocks and those that had no route.
    /// Returns the connectors re-routed.
    std::vector<int32_t> MoveObstacle(int32_t key, const TMyRect& box);

    /// What a route between the two ends would cost (its length plus the
    /// bend penalty per bend) on the grid as the last routing laid it, or
    /// -1 when there is none; for choosing between link points. Ends whose
    /// ports were not in the scene then find no grid point and give -1.
    double RouteCost(const TRouterEnd& start, const TRouterEnd& end);

    // ---- Results.

    /// The route (corner points, link point to link point); nullptr for an
    /// unknown key.
    const TArrMyPoint* RouteOf(int32_t key) const;
    /// The connector could not be routed clear of the shapes; its route is
    /// a plain fallback.
    bool IsUnroutable(int32_t key) const;
    /// Every unroutable connector, by key.
    std::vector<int32_t> Unroutable() const;
    /// Every connector's key, in order.
    std::vector<int32_t> Keys() const;
    /// The connector's ends; nullptr for an unknown key.
    const TRouterEnd* StartOf(int32_t key) const;
    const TRouterEnd* EndOf(int32_t key) const;
    /// The obstacle's box as it was set.
    std::optional<TMyRect> BoxOf(int32_t key) const;
    /// The obstacle's box grown by the margin: what routes stay out of.
    std::optional<TGridBox> GrownBoxOf(int32_t key) const;
    /// The obstacle an end belongs to: its own, or for a free end the one
    /// it was dropped on; -1 for none.
    int32_t ShapeOfEnd(const TRouterEnd& end) const { return PortOf(end).Shape; }
    /// Every obstacle's key, in order.
    std::vector<int32_t> ObstacleKeys() const;

private:
    struct TConnector {
        TRouterEnd Start;
        TRouterEnd End;
        TArrMyPoint Route;
        std::optional<TRoutePin> Pin;
        bool Unroutable = false;
        bool Fixed = false;
    };
    /// Where a route leaves or enters its end: the link point, the port
    /// just outside the grown box, and the heading from the port outward.
    struct TPort {
        TMyPoint Point;
        TMyPoint Port;
        THeading Out = THeading::hAny;
        int32_t Shape = -1;
    };

    TPort PortOf(const TRouterEnd& end) const;
    TGridBox Grown(const TMyRect& box) const;
    /// Lays the grid over the obstacles and every connector's ports and pins.
    void BuildGrid();
    void RouteOne(TConnector& c);
    void Separate(const std::vector<int32_t>& movable, bool full);
    /// No segment enters a grown box other than those of the route's ends.
    bool IsClear(const TConnector& c) const;

    TRouterOptions FOptions;
    std::map<int32_t, TMyRect> FObstacles;
    std::map<int32_t, TConnector> FConnectors;
    TRouteGrid FGrid;
    std::vector<TGridBox> FGrownBoxes;
    std::vector<int32_t> FGrownKeys;
};

} // namespace mycad
