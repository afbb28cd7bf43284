// The Studio window as the tests drive it: settings in a scratch folder,
// every question refused unless a test answers it, and the mouse on the
// canvas as a user moves it.
#pragma once

#include "AppsTestSupport.h"

#include "apps/studio/StudioWindow.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollArea>
#include <QTest>
#include <QWheelEvent>

#include <cmath>

namespace mycad::appstest {

using mycad::studio::TStudioWindow;

/// A Studio window with its settings in a scratch folder, shown and laid out,
/// that refuses every question unless a test answers it.
struct Studio {
    Studio() : window(dir.filePath(QStringLiteral("settings.ini")))
    {
        window.AskSaveChanges = [this](const QString&) {
            ++questions;
            return answer;
        };
        window.AskOpenFileName = [](const QString&, const QString&) { return QString(); };
        window.AskSaveFileName = [this](const QString&, const QString&, const QString&) { return saveAs; };
        window.Layers().AskText = [](const QString&, const QString&, const QString&) { return QString(); };
        window.Layers().AskLayer = [](const QString&, const QString&, const QList<int32_t>&) { return -1; };
        window.Layers().Confirm = [](const QString&) { return false; };
        for (auto* b : window.Properties().findChildren<studio::TColorButton*>()) {
            b->AskColor = [](TColor) { return std::optional<TColor>(); };
        }
        window.AskRestore = [] { return false; };
        window.resize(1200, 800);
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
        // Shortcuts and focus work in the active window only.
        window.activateWindow();
        (void)QTest::qWaitForWindowActive(&window);
        Settle();
    }
    /// Lets queued work (paints, the interface's catching up) run.
    void Settle()
    {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
        window.SyncUi();
    }
    /// The command of a menu or one of its submenus, found through the menu
    /// bar as a user finds it.
    static QAction* Find(QMenu* menu, const QString& name)
    {
        for (QAction* a : menu->actions()) {
            if (a->objectName() == name) return a;
            if (QAction* inner = a->menu() ? Find(a->menu(), name) : nullptr) return inner;
        }
        return nullptr;
    }
    QAction* Menu(const QString& menuTitle, const QString& name)
    {
        for (QAction* top : window.menuBar()->actions()) {
            if (top->text().remove(u'&') != menuTitle || !top->menu()) continue;
            if (QAction* a = Find(top->menu(), name)) return a;
        }
        ADD_FAILURE() << "no " << name.toStdString() << " in " << menuTitle.toStdString();
        return nullptr;
    }
    void Trigger(const QString& menuTitle, const QString& name)
    {
        Settle();
        QAction* a = Menu(menuTitle, name);
        ASSERT_NE(a, nullptr);
        ASSERT_TRUE(a->isEnabled()) << name.toStdString();
        a->trigger();
        Settle();
    }
    /// A drag on the canvas between two device points, as the mouse does it.
    void Drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton)
    {
        QWidget* canvas = &window.Cad();
        // The mouse reaches only what the view shows.
        const QPoint middle = canvas->pos() + (from + to) / 2;
        const QPoint half = (to - from) / 2;
        window.Area().ScrollArea().ensureVisible(middle.x(), middle.y(), std::abs(half.x()) + 20,
                                                 std::abs(half.y()) + 20);
        Settle();
        QTest::mousePress(canvas, button, Qt::NoModifier, from);
        for (int k = 1; k <= 4; ++k) QTest::mouseMove(canvas, from + (to - from) * k / 4);
        QTest::mouseRelease(canvas, button, Qt::NoModifier, to);
        Settle();
    }
    /// A click without movement on the canvas.
    void Click(QPoint at) { Drag(at, at); }
    /// The pointer moved over the canvas with no button held, as the window
    /// system delivers it.
    void Hover(QPoint at)
    {
        QWidget& canvas = window.Cad();
        QMouseEvent move(QEvent::MouseMove, QPointF(at), canvas.mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&canvas, &move);
        Settle();
    }
    /// One notch of the wheel (120 away from the user, -120 toward) over the canvas.
    void Wheel(QPoint at, int delta, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget& canvas = window.Cad();
        QWheelEvent e(QPointF(at), canvas.mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(&canvas, &e);
        Settle();
    }
    /// The shape alone selected, and the panels caught up.
    void Select(const TMyShape* shape)
    {
        ASSERT_TRUE(window.Cad().SelectShapeByCode(shape->ShapeId, true));
        Settle();
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    TMessageCapture messages;
    TStudioWindow window;
    int questions = 0;
    TStudioWindow::TSaveAnswer answer = TStudioWindow::TSaveAnswer::Cancel;
    QString saveAs;
};

inline TMyShape* Last(TMyCAD& cad) { return cad.MyShapes.empty() ? nullptr : cad.MyShapes.back().get(); }

/// A test with a Studio window of its own and its canvas.
class StudioTest : public ::testing::Test {
protected:
    Studio s;
    studio::TStudioCanvas& cad = s.window.Cad();
};
} // namespace mycad::appstest
