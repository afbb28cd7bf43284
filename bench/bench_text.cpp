// Painting text boxes on a TMyCAD and the same texts as QGraphicsSimpleTextItems.
//
// The drawing: 5 000 text boxes of three lines each ("Box n", "second line",
// a number), 120 x 48 document units, in a grid that fills a 1920 x 1080 view
// at zoom 1, DejaVu Sans with a 12-pixel character height. The scene holds one
// QGraphicsSimpleTextItem per box with the same three lines in the same font
// at the box's top-left corner.
//
// Case: a full repaint of the 1920 x 1080 view. The canvas renders with
// DrawAll into its back buffer; the scene with QGraphicsScene::render into an
// image first filled white. Both run in each iteration; the counters are the
// mean times and ratio = canvas / scene. Target: ratio at most 1.
#include "BenchSupport.h"

#include "cad/shapes/Text.h"

#include <QFont>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QPainter>

#include <memory>

using namespace mycad;

namespace {

constexpr int kBoxes = 5000;
constexpr int kViewW = 1920;
constexpr int kViewH = 1080;
constexpr int kFontPixels = 12;

struct Drawing {
    std::unique_ptr<TMyCAD> cad;
    std::unique_ptr<QGraphicsScene> scene;
};

Drawing& TheDrawing()
{
    static Drawing d;
    if (d.cad) return d;
    d.cad = std::make_unique<TMyCAD>();
    d.scene = std::make_unique<QGraphicsScene>(0, 0, kViewW, kViewH);
    TMyCAD& cad = *d.cad;
    cad.GridOperation().SetGridType(TGridType::gNone);
    cad.SetBounds(0, 0, kViewW, kViewH);
    QFont qfont(QStringLiteral("DejaVu Sans"));
    qfont.setPixelSize(kFontPixels);
    // 50 columns and 100 rows over the view: neighbours overlap, every box is seen.
    const double dx = double(kViewW - 120) / 49.0;
    const double dy = double(kViewH - 48) / 99.0;
    for (int i = 0; i < kBoxes; ++i) {
        const float x = static_cast<float>(std::floor((i % 50) * dx));
        const float y = static_cast<float>(std::floor((i / 50) * dy));
        auto* t = dynamic_cast<TMyText*>(cad.CreateAddShapeByName(QStringLiteral("TMyText")));
        t->ThePoints = {{x, y}, {x + 120, y}, {x + 120, y + 48}, {x, y + 48}};
        t->CenterPoint = t->ComputeCenterPoint(4);
        t->SetCaptionShow(false);
        t->Font().SetName(QStringLiteral("DejaVu Sans"));
        t->Font().SetSize(kFontPixels);
        t->Font().SetColor(clBlack);
        t->SetHAlignment(TAlignment::taLeftJustify);
        t->SetVAlignment(TVAlignment::vaTop);
        const QString lines[3] = {QStringLiteral("Box %1").arg(i), QStringLiteral("second line"),
                                  QString::number(i * 7919)};
        for (const QString& l : lines) t->Lines().Add(l);
        auto* item = d.scene->addSimpleText(lines[0] + u'\n' + lines[1] + u'\n' + lines[2], qfont);
        item->setPos(x, y);
        item->setBrush(Qt::black);
    }
    return d;
}

void BM_TextBoxes(benchmark::State& state)
{
    Drawing& d = TheDrawing();
    bench::PaintAgainstScene(state, *d.cad, *d.scene, Rect(0, 0, kViewW, kViewH), QRectF(0, 0, kViewW, kViewH));
}

BENCHMARK(BM_TextBoxes)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return mycad::bench::RunBenchmarks(argc, argv);
}
