// MyCAD Studio, for now a showcase of the drawing surface: a filled polygon,
// a Bezier curve, turned text and an XOR rubber band on a 640 x 480 bitmap.
//
//   mycad-studio                      shows the picture in a window
//   mycad-studio --render OUT.png     writes it to OUT.png
// A drawing file named after the options is accepted and not yet read.
#include "platform/Graphics.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QStringList>

#include <cmath>
#include <cstdio>
#include <numbers>

using namespace mycad;

namespace {

TArrPoint Star(int cx, int cy, int outer, int inner)
{
    TArrPoint pts;
    for (int i = 0; i < 10; ++i) {
        const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const int r = i % 2 == 0 ? outer : inner;
        pts.push_back(Point(RoundToInt(cx + r * std::cos(a)), RoundToInt(cy + r * std::sin(a))));
    }
    return pts;
}

void DrawShowcase(TBitmap& bmp)
{
    TCanvas& c = bmp.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect(Rect(0, 0, bmp.Width(), bmp.Height()));

    // A filled polygon with a wide outline.
    c.Pen().SetColor(clNavy);
    c.Pen().SetWidth(3);
    c.Brush().SetColor(RGB(255, 200, 60));
    c.Polygon(Star(170, 170, 120, 50));

    // A Bezier curve with its control polygon dashed.
    const TArrPoint curve{Point(330, 380), Point(380, 160), Point(560, 460), Point(610, 220)};
    c.Pen().SetWidth(1);
    c.Pen().SetStyle(TPenStyle::psDash);
    c.Pen().SetColor(clGray);
    c.Polyline(curve);
    c.Pen().SetStyle(TPenStyle::psSolid);
    c.Pen().SetWidth(4);
    c.Pen().SetColor(clRed);
    c.PolyBezier(curve);

    // Text turned by 45 degrees counter-clockwise.
    TLogFont lf = c.GetLogFont();
    lf.lfHeight = -32;
    lf.lfWeight = 700;
    lf.lfEscapement = 450;
    lf.lfQuality = 4;
    c.SelectLogFont(lf);
    c.Font().SetColor(clGreen);
    c.SetBkMode(TRANSPARENT);
    c.TextOut(60, 440, QStringLiteral("MyCAD drawing surface"));
    c.DeselectLogFont();

    // A rubber band as drawn during a drag: dotted, XOR, no fill; drawing it
    // again would erase it.
    c.Pen().SetWidth(1);
    c.Pen().SetColor(clWhite);
    c.Pen().SetStyle(TPenStyle::psDot);
    c.Pen().SetMode(TPenMode::pmXor);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.Rectangle(90, 90, 420, 300);
    c.Pen().SetMode(TPenMode::pmCopy);
    c.Brush().SetStyle(TBrushStyle::bsSolid);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);

    TBitmap picture(640, 480);
    DrawShowcase(picture);

    if (!args.isEmpty() && args.front() == QLatin1String("--render")) {
        if (args.size() < 2) {
            std::fprintf(stderr, "usage: mycad-studio --render OUT.png [drawing]\n");
            return 2;
        }
        if (!picture.SaveToFile(args.at(1))) {
            std::fprintf(stderr, "mycad-studio: cannot write %s\n", qPrintable(args.at(1)));
            return 1;
        }
        return 0;
    }

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("MyCAD Studio"));
    auto* view = new QLabel;
    view->setPixmap(QPixmap::fromImage(picture.Image()));
    window.setCentralWidget(view);
    window.resize(640, 480);
    window.show();
    return app.exec();
}
