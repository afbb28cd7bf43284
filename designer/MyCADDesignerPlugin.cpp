#include "MyCADDesignerPlugin.h"

#include "widgets/CanvasWidget.h"
#include "widgets/RulerWidgets.h"

#include <QIcon>
#include <QPixmap>

namespace mycad::designer {

QString TWidgetInterface::group() const { return QStringLiteral("MyCAD"); }

QIcon TWidgetInterface::icon() const
{
    QPixmap pm(22, 22);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(0x37, 0x47, 0x4F));
    p.setBrush(QColor(0xBB, 0xDE, 0xFB));
    entry_.PaintIcon(p);
    p.end();
    return QIcon(pm);
}

QString TWidgetInterface::domXml() const
{
    // displayname names the entry in the widget box; the class is what the
    // form stores and uic creates. Designer takes the header from
    // includeFile().
    return QStringLiteral("<ui language=\"c++\" displayname=\"%1\">\n"
                          " <widget class=\"%2\" name=\"%3\"/>\n"
                          "</ui>\n")
        .arg(entry_.DisplayName, entry_.ClassName, entry_.ObjectName);
}

TMyCADWidgets::TMyCADWidgets(QObject* parent) : QObject(parent)
{
    const auto add = [this](TWidgetEntry entry) { widgets_.push_back(std::make_unique<TWidgetInterface>(std::move(entry))); };
    add({QStringLiteral("mycad::TMyCADWidget"), QStringLiteral("TMyCAD"), QStringLiteral("<mycad/widgets/CanvasWidget.h>"),
         QStringLiteral("myCAD"), QStringLiteral("MyCAD drawing canvas"),
         QStringLiteral("The drawing and diagram canvas: shapes, connectors, layers, undo, files and printing. "
                        "Put it in a scroll area; it is as large as its page at the current zoom."),
         [](QWidget* parent) { return new TMyCADWidget(parent); },
         [](QPainter& p) {
             p.drawRect(2, 2, 17, 17);
             p.setBrush(QColor(0xFF, 0xB3, 0x00));
             p.drawEllipse(9, 9, 8, 8);
         }});
    add({QStringLiteral("mycad::TRsRulerWidget"), QStringLiteral("TRsRuler"), QStringLiteral("<mycad/widgets/RulerWidgets.h>"),
         QStringLiteral("ruler"), QStringLiteral("Ruler along one edge of a drawing"),
         QStringLiteral("A scale with ticks and labels in a chosen unit, and a hair line that follows the mouse."),
         [](QWidget* parent) { return new TRsRulerWidget(parent); },
         [](QPainter& p) {
             p.drawRect(1, 7, 19, 8);
             for (int x = 3; x < 20; x += 3) p.drawLine(x, 15, x, x % 2 ? 12 : 10);
         }});
    add({QStringLiteral("mycad::TRsRulerCornerWidget"), QStringLiteral("TRsRulerCorner"),
         QStringLiteral("<mycad/widgets/RulerWidgets.h>"), QStringLiteral("rulerCorner"),
         QStringLiteral("Corner where two rulers meet"),
         QStringLiteral("The square between a horizontal and a vertical ruler; it shows the unit."),
         [](QWidget* parent) { return new TRsRulerCornerWidget(parent); },
         [](QPainter& p) {
             p.drawRect(4, 4, 14, 14);
             p.drawText(QRect(4, 4, 14, 14), Qt::AlignCenter, QStringLiteral("cm"));
         }});
}

TMyCADWidgets::~TMyCADWidgets() = default;

QList<QDesignerCustomWidgetInterface*> TMyCADWidgets::customWidgets() const
{
    QList<QDesignerCustomWidgetInterface*> list;
    for (const auto& w : widgets_) list.append(w.get());
    return list;
}

} // namespace mycad::designer
