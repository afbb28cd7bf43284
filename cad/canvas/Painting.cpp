// TMyCAD: painting. For now the control shows its background colour; the
// shapes, the grid and the handles join here.
#include "cad/canvas/MyCAD.h"

namespace mycad {

void TMyCAD::Paint()
{
    if (Processing) return;
    Processing = true;
    TCanvas& canvas = Canvas();
    canvas.Brush().SetColor(FColorOfBackGround);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.FillRect(canvas.ClipRect());
    if (OnPaint) OnPaint(this);
    Processing = false;
}

} // namespace mycad
