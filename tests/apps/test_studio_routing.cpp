// Studio and the avoiding router: the View menu and the Properties panel
// switch the router, the connector's context menu resets a route the user
// shaped.
#include "StudioTestSupport.h"
#include "support/LinkedBoxes.h"

#include "cad/connectors/RouteStats.h"

#include <QComboBox>
#include <QMenu>

#include <gtest/gtest.h>

using namespace mycad;
using namespace mycad::appstest;
using StudioRouting = StudioTest;

namespace {

int32_t Hits(const TMyLinkLine& line, const TMyShape& box)
{
    const TArrMyPoint& b = box.ThePoints;
    const TGridBox grown{double(b[0].X) - 10, double(b[0].Y) - 10, double(b[2].X) + 10, double(b[2].Y) + 10};
    int32_t hits = 0;
    for (size_t k = 0; k + 1 < line.ThePoints.size(); ++k) hits += SegmentEntersBox(line.ThePoints[k], line.ThePoints[k + 1], grown);
    return hits;
}

} // namespace

TEST_F(StudioRouting, TheViewMenuAndPropertiesSwitchTheRouterAndTheContextMenuResetsARoute)
{
    s.window.Area().SetZoomPercent(100);
    TMyShape* a = test::LinkedBox(cad, 40, 100, 100, 140);
    TMyShape* b = test::LinkedBox(cad, 440, 100, 500, 140);
    TMyShape* wall = test::LinkedBox(cad, 240, 20, 280, 260);
    TMyLinkLine* line = test::LinkBoxes(cad, a, 1, b, 3);
    ASSERT_NE(line, nullptr);
    ASSERT_GT(Hits(*line, *wall), 0);
    s.Settle();
    EXPECT_TRUE(s.Menu("View", "viewRoutingClassic")->isChecked());
    EXPECT_FALSE(s.Menu("View", "viewTidyRoutes")->isEnabled());

    s.Trigger("View", "viewRoutingAvoid");
    EXPECT_EQ(cad.LinkRouter(), TLinkRouter::lrAvoiding);
    EXPECT_EQ(Hits(*line, *wall), 0);
    s.Trigger("View", "viewTidyRoutes");
    EXPECT_EQ(Hits(*line, *wall), 0);

    // The user moves a segment; the connector's menu offers the reset.
    line->SelectedHotId = line->GetPointsCount() + 1;
    line->SizeChangeValue({0, 0}, {0, 60});
    ASSERT_TRUE(line->Pin.has_value());
    s.Select(line);
    const TMyPoint grip = line->GetPointInZoom(0);
    QMenu* menu = s.window.CanvasMenu(int32_t(grip.X) + 3, int32_t(grip.Y));
    QAction* reset = nullptr;
    for (QAction* act : menu->actions()) {
        if (act->objectName() == QStringLiteral("connectorResetRoute")) reset = act;
    }
    ASSERT_NE(reset, nullptr);
    ASSERT_TRUE(reset->isEnabled());
    reset->trigger();
    delete menu;
    EXPECT_FALSE(line->Pin.has_value());
    EXPECT_TRUE(line->IsAutoMode);
    EXPECT_EQ(Hits(*line, *wall), 0);

    // The Properties panel shows and switches the router of the canvas.
    auto* router = s.window.Properties().findChild<QComboBox*>(QStringLiteral("linkRouter"));
    ASSERT_NE(router, nullptr);
    s.Settle();
    EXPECT_EQ(router->currentData().toInt(), int(TLinkRouter::lrAvoiding));
    router->setCurrentIndex(router->findData(int(TLinkRouter::lrClassic)));
    emit router->activated(router->currentIndex());
    EXPECT_EQ(cad.LinkRouter(), TLinkRouter::lrClassic);
}
