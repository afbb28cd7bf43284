#include "platform/Cursor.h"

#include "platform/Control.h"

#include <QCursor>
#include <QGuiApplication>

#include <algorithm>
#include <optional>

namespace mycad {

namespace {

// One pointer, one confinement: it belongs to the whole user interface, as
// the system's own cursor clip does. Only the user-interface thread touches it.
std::optional<TRect>& Clip()
{
    static std::optional<TRect> clip;
    return clip;
}

} // namespace

Qt::CursorShape CursorShapeOf(TCursor c)
{
    // The application's own cursor 1: over a connector that the connector
    // being drawn would join.
    if (static_cast<int>(c) == 1) return Qt::PointingHandCursor;
    switch (c) {
    case TCursor::crDefault:
    case TCursor::crArrow: return Qt::ArrowCursor;
    case TCursor::crNone: return Qt::BlankCursor;
    case TCursor::crCross: return Qt::CrossCursor;
    case TCursor::crIBeam: return Qt::IBeamCursor;
    case TCursor::crSizeNESW: return Qt::SizeBDiagCursor;
    case TCursor::crSizeNS: return Qt::SizeVerCursor;
    case TCursor::crSizeNWSE: return Qt::SizeFDiagCursor;
    case TCursor::crSizeWE: return Qt::SizeHorCursor;
    case TCursor::crUpArrow: return Qt::UpArrowCursor;
    case TCursor::crHourGlass:
    case TCursor::crSQLWait: return Qt::WaitCursor;
    case TCursor::crDrag: return Qt::DragMoveCursor;
    case TCursor::crMultiDrag: return Qt::DragCopyCursor;
    case TCursor::crNoDrop:
    case TCursor::crNo: return Qt::ForbiddenCursor;
    case TCursor::crHSplit: return Qt::SplitHCursor;
    case TCursor::crVSplit: return Qt::SplitVCursor;
    case TCursor::crAppStart: return Qt::BusyCursor;
    case TCursor::crHelp: return Qt::WhatsThisCursor;
    case TCursor::crHandPoint: return Qt::PointingHandCursor;
    case TCursor::crSizeAll: return Qt::SizeAllCursor;
    }
    return Qt::ArrowCursor;
}

TPoint ConfineToClip(const TPoint& screen)
{
    const auto& clip = Clip();
    if (!clip) return screen;
    // Right and bottom edges lie outside the rectangle, as for every TRect.
    const TRect& r = *clip;
    return {std::clamp(screen.X, r.Left, std::max(r.Left, r.Right - 1)),
            std::clamp(screen.Y, r.Top, std::max(r.Top, r.Bottom - 1))};
}

bool CanMovePointer()
{
    if (!qGuiApp) return false;
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform == QLatin1String("windows") ||
           platform == QLatin1String("cocoa");
}

TPoint GetCursorPos()
{
    const QPoint p = QCursor::pos();
    return ConfineToClip({p.x(), p.y()});
}

void SetCursorPos(const TPoint& p)
{
    const TPoint q = ConfineToClip(p);
    QCursor::setPos(q.X, q.Y);
}

void ClipCursor(const TRect* screenRect)
{
    if (!screenRect) {
        Clip().reset();
        return;
    }
    Clip() = *screenRect;
    if (CanMovePointer()) {
        const QPoint now = QCursor::pos();
        const TPoint inside = ConfineToClip({now.x(), now.y()});
        if (inside.X != now.x() || inside.Y != now.y()) QCursor::setPos(inside.X, inside.Y);
    }
}

bool GetClipCursor(TRect& screenRect)
{
    if (!Clip()) return false;
    screenRect = *Clip();
    return true;
}

} // namespace mycad
