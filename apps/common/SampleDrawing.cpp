#include "apps/common/SampleDrawing.h"

#include "apps/common/SideLinkPoints.h"
#include "cad/connectors/LinkLine.h"
#include "cad/shapes/Line.h"

#include <QStringList>

namespace mycad::app {

namespace {

struct TSampleBuilder {
    TMyCAD& cad;

    TMyShape* Box(const char* name, float l, float t, float r, float b, TColor fill, TColor outline,
                  const QString& text = {}, TColor textColor = clBlack)
    {
        const TArrMyPoint corners{{l, t}, {r, t}, {r, b}, {l, b}};
        const int32_t id = cad.AddShapeByCodeWithoutRepaint(&cad, TDrawTool::SpRectangle, QString::fromLatin1(name),
                                                            corners, 3, 0.0, QString());
        TMyShape* s = cad.GetShapeByID(id);
        s->Brush().SetColor(fill);
        s->Brush().SetStyle(TBrushStyle::bsSolid);
        s->Pen().SetColor(outline);
        s->Pen().SetWidth(2);
        s->SetInfo(text);
        s->Font().SetName(QStringLiteral("DejaVu Sans"));
        s->Font().SetSize(11);
        s->Font().SetColor(textColor);
        // The text sits in the middle of the box.
        s->TextOutPoint = s->CenterPoint;
        return s;
    }

    /// A line from (x1, y1) to (x2, y2); by default with a head at its end
    /// (the line's ALeft style puts the head on its last point).
    TMyLine* Arrow(const char* name, float x1, float y1, float x2, float y2, TColor color,
                   TArrowStyle style = TArrowStyle::ALeft)
    {
        const TArrMyPoint ends{{x1, y1}, {x2, y2}};
        const int32_t id = cad.AddShapeByCodeWithoutRepaint(&cad, TDrawTool::SpLine, QString::fromLatin1(name), ends,
                                                            1, 0.0, QString());
        auto* line = dynamic_cast<TMyLine*>(cad.GetShapeByID(id));
        line->Pen().SetColor(color);
        line->Pen().SetWidth(2);
        line->Brush().SetColor(color);
        line->SetArrowStyle(style);
        line->SetArrowLength(14);
        line->SetArrowAngle(24);
        // A line's measurement would be its info text; arrows say nothing.
        line->SetCaptionShow(false);
        return line;
    }

    /// A connector from link point i of a to link point j of b, routed in
    /// horizontal and vertical legs, with a head at its end.
    TMyLinkLine* Connect(const char* name, TMyShape* a, int32_t i, TMyShape* b, int32_t j, TColor color)
    {
        const int32_t id = cad.CreateLink(QString::fromLatin1(name), a, i, b, j);
        auto* line = dynamic_cast<TMyLinkLine*>(cad.GetShapeByID(id));
        line->Pen().SetColor(color);
        line->Pen().SetWidth(2);
        line->Brush().SetColor(color);
        line->SetArrowStyle(TArrowStyle::ALeft);
        line->SetArrowLength(14);
        line->SetArrowAngle(24);
        line->SetCaptionShow(false);
        return line;
    }

    void Lines(TMyShape& s, const QStringList& lines, TAlignment alignment)
    {
        TStringList list;
        for (const QString& l : lines) list.Add(l);
        s.SetMultiInfo(list);
        s.SetMultiInfoAlignment(alignment);
    }
};

} // namespace

void BuildSampleDrawing(TMyCAD& cad)
{
    cad.DeleteAllShapes();
    cad.ClearAllUndoStuff();
    while (cad.GetLayersCount() > 1) cad.DeleteLayerByID(cad.GetLayerIdByNo(cad.GetLayersCount() - 1));
    const int32_t diagram = cad.GetLayerIdByNo(0);
    cad.SetLayerNameByID(QStringLiteral("Diagram"), diagram);
    cad.VisibleAllLayer();
    cad.SetCurrentLayerId(diagram);
    cad.SetZoom(1.0);
    cad.SetPageOrientation(TPageOrientation::poLandscape);
    cad.SetPageStyle(TPageStyle::A4);
    cad.SetColorOfBackGround(clWhite);
    cad.SetTheUNIT(TUnits::mm);
    cad.UserData().ClearAll();
    cad.UserData().AddKeyandValue(QStringLiteral("title"), QStringLiteral("MyCAD sample drawing"));
    cad.UserData().AddKeyandValue(QStringLiteral("author"), QStringLiteral("MyCAD"));

    TSampleBuilder b{cad};
    const TColor ink = RGB(55, 63, 71);

    // Title band with a gradient from deep blue to teal.
    TMyShape* title = b.Box("Title", 40, 28, 1083, 100, RGB(30, 60, 110), RGB(30, 60, 110),
                            QStringLiteral("From a drawing file to a picture"), clWhite);
    title->SetStoredGradient(RGB(24, 52, 104), RGB(32, 150, 160), TGradientStyle::gsLinearH);
    // The gradient shows where the brush leaves the shape clear.
    title->Brush().SetStyle(TBrushStyle::bsClear);
    title->Font().SetSize(20);
    title->Font().SetStyle(TFontStyles{TFontStyle::fsBold});

    // The process: five steps joined by connectors, which stay attached
    // when the steps are moved.
    struct Step {
        const char* name;
        const char* text;
        TColor fill;
        TColor outline;
    };
    const Step steps[] = {
        {"OpenFile", "Open file", RGB(76, 175, 80), RGB(46, 125, 50)},
        {"ReadLayers", "Read layers", RGB(33, 150, 243), RGB(21, 101, 192)},
        {"ReadShapes", "Read shapes", RGB(33, 150, 243), RGB(21, 101, 192)},
        {"Paint", "Paint", RGB(255, 152, 0), RGB(230, 81, 0)},
        {"Export", "Export PNG", RGB(156, 39, 176), RGB(106, 27, 154)},
    };
    const float top = 180;
    const float bottom = 270;
    TMyShape* step[5] = {};
    for (int i = 0; i < 5; ++i) {
        const float left = 60.0f + i * 210.0f;
        step[i] = b.Box(steps[i].name, left, top, left + 150, bottom, steps[i].fill, steps[i].outline,
                        QString::fromLatin1(steps[i].text), clWhite);
        SetSideLinkPoints(*step[i]);
    }
    for (int i = 1; i < 5; ++i) {
        const QString name = QStringLiteral("Arrow%1").arg(i);
        b.Connect(name.toLatin1().constData(), step[i - 1], 1, step[i], 3, ink);
    }
    // A way back from painting to reading, for each new page.
    b.Connect("Back", step[3], 2, step[2], 2, ink);

    // A legend, grouped so it moves as one piece.
    TMyShape* frame = b.Box("LegendFrame", 60, 400, 330, 600, RGB(250, 250, 250), RGB(176, 190, 197));
    frame->Pen().SetWidth(1);
    b.Lines(*frame, {QStringLiteral("Legend")}, TAlignment::taLeftJustify);
    frame->TextOutPoint = {195, 420};
    frame->Font().SetStyle(TFontStyles{TFontStyle::fsBold});
    struct Key {
        const char* name;
        const char* text;
        TColor fill;
    };
    const Key keys[] = {{"KeyFile", "Files", RGB(76, 175, 80)},
                        {"KeyRead", "Reading", RGB(33, 150, 243)},
                        {"KeyDraw", "Drawing", RGB(255, 152, 0)},
                        {"KeyOut", "Output", RGB(156, 39, 176)}};
    TArrMyShapeRef legend{frame};
    for (int i = 0; i < 4; ++i) {
        const float y = 445.0f + i * 37.0f;
        TMyShape* key = b.Box(keys[i].name, 85, y, 115, y + 24, keys[i].fill, ink, QString::fromLatin1(keys[i].text));
        key->Pen().SetWidth(1);
        key->Font().SetSize(10);
        key->TextOutPoint = {175, y + 12};
        legend.push_back(key);
    }
    cad.GroupShapes(legend, false);

    // Shapes on a patterned page: a turned box, a radial gradient and a
    // dimension line with arrows at both ends.
    TMyShape* page = b.Box("Sheet", 400, 400, 760, 640, RGB(236, 239, 241), RGB(144, 164, 174));
    page->Brush().SetStyle(TBrushStyle::bsDiagCross);
    page->Pen().SetWidth(1);
    TMyShape* turned = b.Box("Turned", 440, 450, 560, 530, RGB(239, 83, 80), RGB(183, 28, 28), QStringLiteral("30\u00b0"),
                             clWhite);
    turned->SetAngle(0.5235988f);
    turned->TextOutPoint = turned->GetCenterPoint();
    TMyShape* glow = b.Box("Glow", 600, 440, 720, 560, RGB(255, 235, 59), RGB(251, 192, 45));
    glow->SetStoredGradient(RGB(255, 255, 255), RGB(255, 193, 7), TGradientStyle::gsRadialC);
    glow->Brush().SetStyle(TBrushStyle::bsClear);
    b.Arrow("Width", 600, 590, 720, 590, ink, TArrowStyle::ADouble)->Pen().SetWidth(1);
    TMyShape* widthText = b.Box("WidthText", 620, 598, 700, 622, RGB(236, 239, 241), RGB(236, 239, 241),
                                QStringLiteral("120 px"), ink);
    widthText->Font().SetSize(9);

    // Notes on their own layer.
    const int32_t notes = cad.NewLayer(QStringLiteral("Notes"), true);
    cad.SetCurrentLayerId(notes);
    TMyShape* note = b.Box("Note1", 820, 400, 1060, 520, RGB(255, 241, 118), RGB(249, 168, 37));
    note->Pen().SetWidth(1);
    b.Lines(*note,
            {QStringLiteral("Every shape keeps its layer,"), QStringLiteral("its pen, brush and gradient,"),
             QStringLiteral("and its place in the list.")},
            TAlignment::taLeftJustify);
    note->Font().SetSize(10);
    SetSideLinkPoints(*note);
    TMyLine* pointer = b.Connect("NotePointer", note, 0, step[4], 2, RGB(249, 168, 37));
    pointer->Pen().SetStyle(TPenStyle::psDash);
    pointer->Pen().SetWidth(1);
    TMyShape* tip = b.Box("Note2", 820, 560, 1060, 640, RGB(200, 230, 201), RGB(102, 187, 106));
    tip->Pen().SetWidth(1);
    b.Lines(*tip, {QStringLiteral("mycad render sample.zed out.png"), QStringLiteral("draws this page.")},
            TAlignment::taCenter);
    tip->Font().SetSize(10);

    cad.SetCurrentLayerId(diagram);
    cad.DeSelectedAllShapesByCode();
    cad.ClearAllUndoStuff();
    cad.Global_Changed = false;
    cad.Invalidate();
}

} // namespace mycad::app
