#include "apps/studio/Icons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <functional>
#include <numbers>

namespace mycad::studio {

namespace {

using TIconPainter = std::function<void(QPainter&)>;

const QColor kInk(0x37, 0x47, 0x4F);
const QColor kAccent(0x1E, 0x88, 0xE5);
const QColor kLight(0xBB, 0xDE, 0xFB);
const QColor kRed(0xE5, 0x39, 0x35);
const QColor kGreen(0x43, 0xA0, 0x47);
const QColor kAmber(0xFF, 0xB3, 0x00);
const QColor kPaper(0xFF, 0xFF, 0xFF);

QIcon Make(const TIconPainter& paint)
{
    QIcon icon;
    for (const int size : {16, 20, 24, 32, 48, 64}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 24.0, size / 24.0);
        paint(p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

QPen Stroke(const QColor& c, double w = 1.6)
{
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Line(QPainter& p, double x1, double y1, double x2, double y2, const QColor& c = kInk, double w = 1.6)
{
    p.setPen(Stroke(c, w));
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void Box(QPainter& p, const QRectF& r, const QColor& fill, const QColor& outline = kInk, double w = 1.4)
{
    p.setPen(Stroke(outline, w));
    p.setBrush(fill);
    p.drawRect(r);
}

/// A filled arrow head at tip, pointing along the direction from (fx, fy).
void Head(QPainter& p, double fx, double fy, double tx, double ty, const QColor& c = kInk, double len = 5)
{
    const double a = std::atan2(ty - fy, tx - fx);
    const double wing = 0.5;
    QPainterPath head;
    head.moveTo(tx, ty);
    head.lineTo(tx - len * std::cos(a - wing), ty - len * std::sin(a - wing));
    head.lineTo(tx - len * std::cos(a + wing), ty - len * std::sin(a + wing));
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(head);
}

void ArrowLine(QPainter& p, double x1, double y1, double x2, double y2, const QColor& c = kInk)
{
    const double a = std::atan2(y2 - y1, x2 - x1);
    Line(p, x1, y1, x2 - 3 * std::cos(a), y2 - 3 * std::sin(a), c);
    Head(p, x1, y1, x2, y2, c);
}

void Dot(QPainter& p, double x, double y, double r, const QColor& fill, const QColor& outline = kInk)
{
    p.setPen(Stroke(outline, 1.2));
    p.setBrush(fill);
    p.drawEllipse(QPointF(x, y), r, r);
}

void Handle(QPainter& p, double x, double y)
{
    p.setPen(Stroke(kAccent, 1.0));
    p.setBrush(kPaper);
    p.drawRect(QRectF(x - 1.8, y - 1.8, 3.6, 3.6));
}

/// The mouse pointer of the selection tool.
void Pointer(QPainter& p, double dx = 0, double dy = 0, double s = 1)
{
    QPainterPath arrow;
    const auto pt = [&](double x, double y) { return QPointF(dx + x * s, dy + y * s); };
    arrow.moveTo(pt(5, 3));
    arrow.lineTo(pt(5, 19));
    arrow.lineTo(pt(9, 15.5));
    arrow.lineTo(pt(12, 21.5));
    arrow.lineTo(pt(14.8, 20.2));
    arrow.lineTo(pt(11.8, 14.2));
    arrow.lineTo(pt(17, 14));
    arrow.closeSubpath();
    p.setPen(Stroke(kInk, 1.3));
    p.setBrush(kPaper);
    p.drawPath(arrow);
}

/// An arc of a circle from a start to an end angle in degrees (y down,
/// clockwise positive), with an arrow head at its end.
void CurvedArrow(QPainter& p, double cx, double cy, double r, double from, double to, const QColor& c)
{
    QPainterPath path;
    const auto at = [&](double deg) {
        const double a = deg * std::numbers::pi / 180.0;
        return QPointF(cx + r * std::cos(a), cy + r * std::sin(a));
    };
    const int steps = 24;
    path.moveTo(at(from));
    const double stop = to - (to > from ? 22 : -22);
    for (int i = 1; i <= steps; ++i) path.lineTo(at(from + (stop - from) * i / steps));
    p.setPen(Stroke(c, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    const QPointF a = at(stop);
    const QPointF b = at(to);
    Head(p, a.x(), a.y(), b.x(), b.y(), c, 7.5);
}

void Polyline(QPainter& p, std::initializer_list<QPointF> pts, const QColor& c = kInk)
{
    p.setPen(Stroke(c));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(std::data(pts), static_cast<int>(pts.size()));
}

void Plus(QPainter& p, double x, double y, const QColor& c)
{
    Dot(p, x, y, 4.6, c, c);
    Line(p, x - 2.4, y, x + 2.4, y, kPaper, 1.5);
    Line(p, x, y - 2.4, x, y + 2.4, kPaper, 1.5);
}

void Minus(QPainter& p, double x, double y, const QColor& c)
{
    Dot(p, x, y, 4.6, c, c);
    Line(p, x - 2.4, y, x + 2.4, y, kPaper, 1.5);
}

void Magnifier(QPainter& p)
{
    p.setPen(Stroke(kInk, 1.8));
    p.setBrush(QColor(0xE3, 0xF2, 0xFD));
    p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
    Line(p, 15, 15, 21, 21, kInk, 2.6);
}

void Padlock(QPainter& p, bool open)
{
    p.setPen(Stroke(kInk, 1.8));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    shackle.moveTo(8, 11);
    shackle.lineTo(8, 7.5);
    shackle.arcTo(QRectF(8, 3, 8, 9), 180, -180);
    if (!open) shackle.lineTo(16, 11);
    if (open) {
        p.save();
        p.translate(5, -1.5);
    }
    p.drawPath(shackle);
    if (open) p.restore();
    p.setPen(Stroke(kInk, 1.3));
    p.setBrush(open ? kLight : kAmber);
    p.drawRoundedRect(QRectF(5, 11, 14, 10), 2, 2);
    Dot(p, 12, 15.5, 1.2, kInk, kInk);
}

void AlignIcon(QPainter& p, bool vertical, int edge)
{
    // Two bars of different length lined up on an edge (0 start, 1 centre,
    // 2 end), with the guide line.
    p.save();
    if (vertical) {
        p.translate(24, 0);
        p.rotate(90);
    }
    const double guide = edge == 0 ? 4 : edge == 1 ? 12 : 20;
    const auto bar = [&](double y, double len) {
        const double x = edge == 0 ? 4 : edge == 1 ? 12 - len / 2 : 20 - len;
        Box(p, QRectF(x, y, len, 5), kLight, kAccent, 1.2);
    };
    bar(5, 14);
    bar(14, 9);
    Line(p, guide, 2, guide, 22, kInk, 1.6);
    p.restore();
}

void SpaceIcon(QPainter& p, bool vertical)
{
    p.save();
    if (vertical) {
        p.translate(24, 0);
        p.rotate(90);
    }
    for (const double x : {3.0, 10.0, 17.0}) Box(p, QRectF(x, 7, 4, 10), kLight, kAccent, 1.2);
    Line(p, 2, 20.5, 22, 20.5, kInk, 1.2);
    for (const double x : {2.0, 12.0, 22.0}) Line(p, x, 19, x, 22, kInk, 1.2);
    p.restore();
}

void FlipIcon(QPainter& p, bool vertical)
{
    p.save();
    if (vertical) {
        p.translate(24, 0);
        p.rotate(90);
    }
    QPainterPath left;
    left.moveTo(10, 5);
    left.lineTo(10, 19);
    left.lineTo(3, 19);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(14, 5);
    right.lineTo(14, 19);
    right.lineTo(21, 19);
    right.closeSubpath();
    p.setPen(Stroke(kAccent, 1.3));
    p.setBrush(kLight);
    p.drawPath(left);
    p.setPen(QPen(kAccent, 1.3, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawPath(right);
    p.setPen(QPen(kInk, 1.2, Qt::DotLine));
    p.drawLine(QPointF(12, 2), QPointF(12, 22));
    p.restore();
}

void ZOrderIcon(QPainter& p, bool up, bool all)
{
    // The chosen sheet in blue, above or below the others.
    const QRectF back(3, 3, 11, 11);
    const QRectF front(10, 10, 11, 11);
    if (up) {
        Box(p, back, QColor(0xEC, 0xEF, 0xF1), kInk, 1.2);
        if (all) Box(p, QRectF(6.5, 6.5, 11, 11), QColor(0xEC, 0xEF, 0xF1), kInk, 1.2);
        Box(p, front, kAccent, kAccent, 1.2);
    } else {
        Box(p, back, kAccent, kAccent, 1.2);
        if (all) Box(p, QRectF(6.5, 6.5, 11, 11), QColor(0xEC, 0xEF, 0xF1), kInk, 1.2);
        Box(p, front, QColor(0xEC, 0xEF, 0xF1), kInk, 1.2);
    }
}

void Sheet(QPainter& p, const QColor& fold = kLight)
{
    QPainterPath sheet;
    sheet.moveTo(5, 2.5);
    sheet.lineTo(14.5, 2.5);
    sheet.lineTo(19.5, 7.5);
    sheet.lineTo(19.5, 21.5);
    sheet.lineTo(5, 21.5);
    sheet.closeSubpath();
    p.setPen(Stroke(kInk, 1.3));
    p.setBrush(kPaper);
    p.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(14.5, 2.5);
    corner.lineTo(14.5, 7.5);
    corner.lineTo(19.5, 7.5);
    corner.closeSubpath();
    p.setBrush(fold);
    p.drawPath(corner);
}

void Layers(QPainter& p)
{
    for (int i = 2; i >= 0; --i) {
        const double y = 6 + i * 4.5;
        QPainterPath diamond;
        diamond.moveTo(12, y - 4);
        diamond.lineTo(21, y);
        diamond.lineTo(12, y + 4);
        diamond.lineTo(3, y);
        diamond.closeSubpath();
        p.setPen(Stroke(i == 0 ? kAccent : kInk, 1.2));
        p.setBrush(i == 0 ? kLight : kPaper);
        p.drawPath(diamond);
    }
}

QIcon PaintTool(TDrawTool tool)
{
    switch (tool) {
    case TDrawTool::SpSelecting:
        return Make([](QPainter& p) { Pointer(p, 1, 0); });
    case TDrawTool::SpRotateSelecting:
        return Make([](QPainter& p) {
            CurvedArrow(p, 12, 12, 8, 200, 470, kAccent);
            Dot(p, 12, 12, 1.8, kInk, kInk);
        });
    case TDrawTool::SpBrowse:
        return Make([](QPainter& p) {
            QPainterPath hand;
            hand.addRoundedRect(QRectF(6, 10, 12, 11), 4, 4);
            for (int i = 0; i < 4; ++i) hand.addRoundedRect(QRectF(6 + i * 3, 4 + (i == 0 || i == 3 ? 2 : 0), 3, 10), 1.5, 1.5);
            hand.setFillRule(Qt::WindingFill);
            p.setPen(Stroke(kInk, 1.2));
            p.setBrush(QColor(0xFF, 0xE0, 0xB2));
            p.drawPath(hand.simplified());
        });
    case TDrawTool::SpDragWhole:
        return Make([](QPainter& p) {
            ArrowLine(p, 12, 12, 12, 2, kInk);
            ArrowLine(p, 12, 12, 12, 22, kInk);
            ArrowLine(p, 12, 12, 2, 12, kInk);
            ArrowLine(p, 12, 12, 22, 12, kInk);
            Box(p, QRectF(9, 9, 6, 6), kLight, kAccent, 1.2);
        });
    case TDrawTool::SpPolylinePolygonPointAdding:
        return Make([](QPainter& p) {
            Polyline(p, {{2, 20}, {8, 8}, {14, 16}, {21, 5}}, kAccent);
            Handle(p, 8, 8);
            Handle(p, 14, 16);
            Plus(p, 17, 18, kGreen);
        });
    case TDrawTool::SpPolylinePolygonPointRemoving:
        return Make([](QPainter& p) {
            Polyline(p, {{2, 20}, {8, 8}, {14, 16}, {21, 5}}, kAccent);
            Handle(p, 8, 8);
            Handle(p, 14, 16);
            Minus(p, 17, 18, kRed);
        });
    case TDrawTool::SpLine:
        return Make([](QPainter& p) {
            Line(p, 4, 20, 20, 4, kInk, 1.8);
            Handle(p, 4, 20);
            Handle(p, 20, 4);
        });
    case TDrawTool::SpRectangle:
        return Make([](QPainter& p) { Box(p, QRectF(3.5, 5.5, 17, 13), kLight, kAccent, 1.6); });
    case TDrawTool::SpEllipse:
        return Make([](QPainter& p) {
            p.setPen(Stroke(kAccent, 1.6));
            p.setBrush(kLight);
            p.drawEllipse(QRectF(3, 5.5, 18, 13));
        });
    case TDrawTool::SpPolyLine:
        return Make([](QPainter& p) { Polyline(p, {{3, 19}, {8, 6}, {14, 16}, {21, 5}}, kAccent); });
    case TDrawTool::SpFreeLine:
        return Make([](QPainter& p) {
            QPainterPath path;
            path.moveTo(3, 17);
            path.cubicTo(6, 4, 10, 22, 14, 11);
            path.cubicTo(16, 5, 19, 8, 21, 6);
            p.setPen(Stroke(kAccent, 1.8));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
        });
    case TDrawTool::SpPolygon:
        return Make([](QPainter& p) {
            const QPointF pts[] = {{12, 3}, {21, 10}, {17, 21}, {6, 20}, {3, 9}};
            p.setPen(Stroke(kAccent, 1.6));
            p.setBrush(kLight);
            p.drawPolygon(pts, 5);
        });
    case TDrawTool::SpPolyBezier:
        return Make([](QPainter& p) {
            p.setPen(QPen(QColor(0x90, 0xA4, 0xAE), 1.0, Qt::DashLine));
            p.drawLine(QPointF(3, 19), QPointF(7, 4));
            p.drawLine(QPointF(21, 19), QPointF(17, 4));
            QPainterPath path;
            path.moveTo(3, 19);
            path.cubicTo(7, 4, 17, 4, 21, 19);
            p.setPen(Stroke(kAccent, 1.8));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
            Handle(p, 7, 4);
            Handle(p, 17, 4);
        });
    case TDrawTool::SpBLine:
        return Make([](QPainter& p) {
            QPainterPath path;
            path.moveTo(3, 16);
            path.quadTo(7, 4, 12, 12);
            path.quadTo(17, 20, 21, 7);
            p.setPen(Stroke(kAccent, 1.8));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
            for (const QPointF& c : {QPointF(3, 16), QPointF(12, 12), QPointF(21, 7)}) Handle(p, c.x(), c.y());
        });
    case TDrawTool::SpElliArc:
        return Make([](QPainter& p) {
            p.setPen(Stroke(kAccent, 1.8));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(3, 4, 18, 18), 0 * 16, 180 * 16);
            Line(p, 3, 13, 21, 13, QColor(0x90, 0xA4, 0xAE), 1.0);
        });
    case TDrawTool::SpText:
        return Make([](QPainter& p) {
            QFont f(QStringLiteral("DejaVu Serif"));
            f.setPixelSize(18);
            f.setBold(true);
            p.setFont(f);
            p.setPen(kInk);
            p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, QStringLiteral("T"));
        });
    case TDrawTool::SpImage:
        return Make([](QPainter& p) {
            Box(p, QRectF(3, 4.5, 18, 15), QColor(0xE3, 0xF2, 0xFD), kInk, 1.3);
            const QPointF hill[] = {{4, 19}, {10, 11}, {14, 15}, {16.5, 13}, {20, 19}};
            p.setPen(Qt::NoPen);
            p.setBrush(kGreen);
            p.drawPolygon(hill, 5);
            Dot(p, 16, 8.5, 1.8, kAmber, kAmber);
        });
    case TDrawTool::SpRuleLine:
        return Make([](QPainter& p) {
            Line(p, 3, 14, 21, 14, kInk, 1.4);
            Head(p, 12, 14, 3, 14, kInk, 4);
            Head(p, 12, 14, 21, 14, kInk, 4);
            Line(p, 3, 8, 3, 18, kInk, 1.0);
            Line(p, 21, 8, 21, 18, kInk, 1.0);
            QFont f(QStringLiteral("DejaVu Sans"));
            f.setPixelSize(7);
            p.setFont(f);
            p.setPen(kAccent);
            p.drawText(QRectF(0, 3, 24, 9), Qt::AlignCenter, QStringLiteral("25"));
        });
    case TDrawTool::SpLinkPoint:
        return Make([](QPainter& p) {
            Box(p, QRectF(4, 6, 16, 12), kLight, kAccent, 1.4);
            for (const QPointF& c : {QPointF(12, 6), QPointF(20, 12), QPointF(12, 18), QPointF(4, 12)}) {
                Dot(p, c.x(), c.y(), 2, kRed, kRed);
            }
        });
    case TDrawTool::SpLinkLine:
        return Make([](QPainter& p) {
            Box(p, QRectF(2, 3, 7, 6), kLight, kAccent, 1.2);
            Box(p, QRectF(15, 15, 7, 6), kLight, kAccent, 1.2);
            Polyline(p, {{5.5, 9}, {5.5, 18}, {12, 18}}, kInk);
            ArrowLine(p, 11, 18, 15, 18, kInk);
        });
    case TDrawTool::SpLineLinkLine:
        return Make([](QPainter& p) {
            Line(p, 3, 6, 21, 6, kInk, 1.6);
            Dot(p, 12, 6, 2.2, kInk, kInk);
            Polyline(p, {{12, 6}, {12, 14}, {18, 14}}, kAccent);
            ArrowLine(p, 17, 14, 21, 14, kAccent);
            Box(p, QRectF(2, 16, 7, 5), kLight, kAccent, 1.2);
        });
    case TDrawTool::SpClose:
        return {};
    }
    return {};
}

QHash<QString, TIconPainter> CommandPainters()
{
    QHash<QString, TIconPainter> m;
    m.insert(QStringLiteral("new"), [](QPainter& p) { Sheet(p); });
    m.insert(QStringLiteral("open"), [](QPainter& p) {
        QPainterPath back;
        back.moveTo(2.5, 6);
        back.lineTo(9, 6);
        back.lineTo(11, 8);
        back.lineTo(20, 8);
        back.lineTo(20, 19.5);
        back.lineTo(2.5, 19.5);
        back.closeSubpath();
        p.setPen(Stroke(kInk, 1.3));
        p.setBrush(QColor(0xFF, 0xCA, 0x28));
        p.drawPath(back);
        QPainterPath front;
        front.moveTo(2.5, 19.5);
        front.lineTo(6, 11);
        front.lineTo(22.5, 11);
        front.lineTo(19.5, 19.5);
        front.closeSubpath();
        p.setBrush(QColor(0xFF, 0xE0, 0x82));
        p.drawPath(front);
    });
    m.insert(QStringLiteral("save"), [](QPainter& p) {
        p.setPen(Stroke(kInk, 1.3));
        p.setBrush(kAccent);
        p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(7, 3, 10, 6.5));
        p.setBrush(QColor(0xE3, 0xF2, 0xFD));
        p.drawRect(QRectF(6, 13, 12, 8));
        Line(p, 13.5, 4.5, 13.5, 8, kInk, 1.4);
    });
    m.insert(QStringLiteral("export"), [](QPainter& p) {
        Box(p, QRectF(2.5, 6.5, 14, 14), QColor(0xE3, 0xF2, 0xFD), kInk, 1.3);
        const QPointF hill[] = {{3.5, 19.5}, {8, 13}, {11, 16}, {15.5, 19.5}};
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawPolygon(hill, 4);
        ArrowLine(p, 13, 11, 22, 2, kAccent);
    });
    m.insert(QStringLiteral("undo"), [](QPainter& p) { CurvedArrow(p, 12, 14, 7, 10, -190, kAccent); });
    m.insert(QStringLiteral("redo"), [](QPainter& p) { CurvedArrow(p, 12, 14, 7, 170, 370, kAccent); });
    m.insert(QStringLiteral("delete"), [](QPainter& p) {
        p.setPen(Stroke(kInk, 1.3));
        p.setBrush(QColor(0xFF, 0xCD, 0xD2));
        QPainterPath bin;
        bin.moveTo(6, 7);
        bin.lineTo(18, 7);
        bin.lineTo(16.8, 21);
        bin.lineTo(7.2, 21);
        bin.closeSubpath();
        p.drawPath(bin);
        Line(p, 4, 6.5, 20, 6.5, kInk, 1.6);
        Line(p, 10, 4, 14, 4, kInk, 1.6);
        for (const double x : {10.0, 14.0}) Line(p, x, 10, x, 18, kRed, 1.3);
    });
    m.insert(QStringLiteral("selectall"), [](QPainter& p) {
        p.setPen(QPen(kInk, 1.2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2.5, 2.5, 19, 19));
        Box(p, QRectF(5.5, 6, 6, 5), kLight, kAccent, 1.2);
        Box(p, QRectF(12.5, 13, 6, 5), kLight, kAccent, 1.2);
    });
    m.insert(QStringLiteral("group"), [](QPainter& p) {
        p.setPen(QPen(kInk, 1.2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2.5, 2.5, 19, 19));
        Box(p, QRectF(5, 5.5, 8, 7), kLight, kAccent, 1.3);
        p.setPen(Stroke(kAccent, 1.3));
        p.setBrush(kLight);
        p.drawEllipse(QRectF(10.5, 10.5, 8.5, 8.5));
        for (const QPointF& c : {QPointF(2.5, 2.5), QPointF(21.5, 2.5), QPointF(2.5, 21.5), QPointF(21.5, 21.5)}) {
            Handle(p, c.x(), c.y());
        }
    });
    m.insert(QStringLiteral("ungroup"), [](QPainter& p) {
        Box(p, QRectF(2.5, 3, 8, 7), kLight, kAccent, 1.3);
        p.setPen(Stroke(kAccent, 1.3));
        p.setBrush(kLight);
        p.drawEllipse(QRectF(13, 13, 8.5, 8.5));
        p.setPen(QPen(kInk, 1.1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(1, 1.5, 11, 10));
        p.drawRect(QRectF(11.5, 11.5, 11.5, 11.5));
    });
    m.insert(QStringLiteral("front"), [](QPainter& p) { ZOrderIcon(p, true, true); });
    m.insert(QStringLiteral("forward"), [](QPainter& p) { ZOrderIcon(p, true, false); });
    m.insert(QStringLiteral("back"), [](QPainter& p) { ZOrderIcon(p, false, true); });
    m.insert(QStringLiteral("backward"), [](QPainter& p) { ZOrderIcon(p, false, false); });
    m.insert(QStringLiteral("alignleft"), [](QPainter& p) { AlignIcon(p, false, 0); });
    m.insert(QStringLiteral("alignhcenter"), [](QPainter& p) { AlignIcon(p, false, 1); });
    m.insert(QStringLiteral("alignright"), [](QPainter& p) { AlignIcon(p, false, 2); });
    // Bars turned a quarter: their start edge is the top.
    m.insert(QStringLiteral("aligntop"), [](QPainter& p) {
        p.translate(0, 24);
        p.scale(1, -1);
        AlignIcon(p, true, 2);
    });
    m.insert(QStringLiteral("alignvcenter"), [](QPainter& p) { AlignIcon(p, true, 1); });
    m.insert(QStringLiteral("alignbottom"), [](QPainter& p) {
        p.translate(0, 24);
        p.scale(1, -1);
        AlignIcon(p, true, 0);
    });
    m.insert(QStringLiteral("spaceh"), [](QPainter& p) { SpaceIcon(p, false); });
    m.insert(QStringLiteral("spacev"), [](QPainter& p) { SpaceIcon(p, true); });
    m.insert(QStringLiteral("fliph"), [](QPainter& p) { FlipIcon(p, false); });
    m.insert(QStringLiteral("flipv"), [](QPainter& p) { FlipIcon(p, true); });
    m.insert(QStringLiteral("rotatecw"), [](QPainter& p) {
        Box(p, QRectF(6, 9, 10, 10), kLight, kAccent, 1.2);
        CurvedArrow(p, 12, 12, 9, 200, 340, kInk);
    });
    m.insert(QStringLiteral("rotateccw"), [](QPainter& p) {
        Box(p, QRectF(8, 9, 10, 10), kLight, kAccent, 1.2);
        CurvedArrow(p, 12, 12, 9, 340, 200, kInk);
    });
    m.insert(QStringLiteral("lock"), [](QPainter& p) { Padlock(p, false); });
    m.insert(QStringLiteral("unlock"), [](QPainter& p) { Padlock(p, true); });
    m.insert(QStringLiteral("zoomin"), [](QPainter& p) {
        Magnifier(p);
        Line(p, 7, 10, 13, 10, kAccent, 1.8);
        Line(p, 10, 7, 10, 13, kAccent, 1.8);
    });
    m.insert(QStringLiteral("zoomout"), [](QPainter& p) {
        Magnifier(p);
        Line(p, 7, 10, 13, 10, kAccent, 1.8);
    });
    m.insert(QStringLiteral("zoom100"), [](QPainter& p) {
        Magnifier(p);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(7);
        f.setBold(true);
        p.setFont(f);
        p.setPen(kAccent);
        p.drawText(QRectF(3.5, 3.5, 13, 13), Qt::AlignCenter, QStringLiteral("1:1"));
    });
    m.insert(QStringLiteral("zoomfit"), [](QPainter& p) {
        Box(p, QRectF(6, 6, 12, 12), kLight, kAccent, 1.2);
        for (const auto& c : {std::pair{2.0, 2.0}, std::pair{22.0, 2.0}, std::pair{2.0, 22.0}, std::pair{22.0, 22.0}}) {
            const double sx = c.first < 12 ? 1 : -1;
            const double sy = c.second < 12 ? 1 : -1;
            Line(p, c.first, c.second, c.first + sx * 5, c.second, kInk, 1.6);
            Line(p, c.first, c.second, c.first, c.second + sy * 5, kInk, 1.6);
        }
    });
    m.insert(QStringLiteral("grid"), [](QPainter& p) {
        p.setPen(Stroke(QColor(0x90, 0xA4, 0xAE), 1.0));
        for (int i = 0; i < 5; ++i) {
            p.drawLine(QPointF(3 + i * 4.5, 3), QPointF(3 + i * 4.5, 21));
            p.drawLine(QPointF(3, 3 + i * 4.5), QPointF(21, 3 + i * 4.5));
        }
        Box(p, QRectF(7.5, 7.5, 9, 9), kLight, kAccent, 1.4);
    });
    m.insert(QStringLiteral("snap"), [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x90, 0xA4, 0xAE));
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) p.drawEllipse(QPointF(4.5 + i * 5, 4.5 + j * 5), 0.9, 0.9);
        }
        // A magnet.
        QPainterPath magnet;
        magnet.moveTo(8, 7);
        magnet.lineTo(8, 13);
        magnet.arcTo(QRectF(8, 9, 8, 8), 180, 180);
        magnet.lineTo(16, 7);
        p.setPen(QPen(kRed, 3.2, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(magnet);
        p.setPen(QPen(kPaper, 3.2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(8, 7), QPointF(8, 9));
        p.drawLine(QPointF(16, 7), QPointF(16, 9));
    });
    m.insert(QStringLiteral("snapshape"), [](QPainter& p) {
        Box(p, QRectF(3, 4, 9, 9), kLight, kAccent, 1.3);
        Box(p, QRectF(12, 11, 9, 9), QColor(0xEC, 0xEF, 0xF1), kInk, 1.3);
        p.setPen(QPen(kRed, 1.2, Qt::DashLine));
        p.drawLine(QPointF(12, 1.5), QPointF(12, 22.5));
    });
    m.insert(QStringLiteral("layeradd"), [](QPainter& p) {
        Layers(p);
        Plus(p, 18.5, 18.5, kGreen);
    });
    m.insert(QStringLiteral("layerdelete"), [](QPainter& p) {
        Layers(p);
        Minus(p, 18.5, 18.5, kRed);
    });
    m.insert(QStringLiteral("layerrename"), [](QPainter& p) {
        Layers(p);
        p.save();
        p.translate(17, 17);
        p.rotate(45);
        p.setPen(Stroke(kInk, 1.0));
        p.setBrush(kAmber);
        p.drawRect(QRectF(-7, -2, 11, 4));
        p.setBrush(kInk);
        const QPointF nib[] = {{4, -2}, {7, 0}, {4, 2}};
        p.drawPolygon(nib, 3);
        p.restore();
    });
    m.insert(QStringLiteral("layermerge"), [](QPainter& p) {
        Layers(p);
        ArrowLine(p, 20, 2, 20, 10, kAccent);
    });
    m.insert(QStringLiteral("app"), [](QPainter& p) {
        p.setPen(Qt::NoPen);
        QLinearGradient g(0, 0, 24, 24);
        g.setColorAt(0, QColor(0x18, 0x34, 0x68));
        g.setColorAt(1, QColor(0x20, 0x96, 0xA0));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(1, 1, 22, 22), 5, 5);
        p.setPen(Stroke(kPaper, 1.4));
        p.setBrush(QColor(0xFF, 0xFF, 0xFF, 60));
        p.drawRect(QRectF(5, 6, 8, 6));
        p.setBrush(QColor(0xFF, 0xB3, 0x00));
        p.drawEllipse(QRectF(11, 11, 8, 8));
        Line(p, 5, 19, 10, 14, kPaper, 1.4);
    });
    return m;
}

} // namespace

QIcon ToolIcon(TDrawTool tool) { return PaintTool(tool); }

QIcon CommandIcon(const QString& name)
{
    static const QHash<QString, TIconPainter> painters = CommandPainters();
    const auto it = painters.find(name);
    if (it == painters.end()) return {};
    return Make(*it);
}

} // namespace mycad::studio
