// Generated drawings that use every stored field of every shape class.
#pragma once

#include "IoTestSupport.h"
#include "support/ShapeFields.h"

#include <random>

namespace iotest {

inline TBitmap SampleBitmap(int32_t w, int32_t h, uint8_t seed)
{
    TBitmap bmp(w, h, TPixelFormat::pf24bit);
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* row = bmp.ScanLine(y);
        for (int32_t x = 0; x < 3 * w; ++x) row[x] = static_cast<uint8_t>(seed + 7 * x + 31 * y);
    }
    return bmp;
}

/// Fills every stored field of the shape with values drawn from rng.
inline void FillShape(TMyShape& s, std::mt19937& rng, int32_t index)
{
    auto pick = [&rng](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
    auto real = [&rng](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); };
    s.SetName(QStringLiteral("Shape_") + String::number(index));
    s.ShapeId = 100 + 3 * index;
    s.LayerId = pick(0, 2);
    const int32_t points = dynamic_cast<TMyRectangle*>(&s) ? 4 : pick(2, 6);
    s.ThePoints.clear();
    for (int32_t i = 0; i < points; ++i) s.ThePoints.push_back({real(-1e4f, 1e4f), real(-1e4f, 1e4f)});
    s.LinkPoints.clear();
    for (int32_t i = pick(0, 3); i > 0; --i) s.LinkPoints.push_back({real(-50, 50), real(-50, 50)});
    s.TextOutPoint = {real(-100, 100), real(-100, 100)};
    s.SetTag(pick(-100000, 100000));
    s.SetStoredAngle(real(-6.2f, 6.2f));
    if (index % 3 == 1) {
        const TBitmap pattern = SampleBitmap(8, 8, static_cast<uint8_t>(index));
        s.Brush().SetBitmap(&pattern);
    } else {
        s.Brush().SetColor(static_cast<TColor>(pick(0, 0xFFFFFF)));
        s.Brush().SetStyle(static_cast<TBrushStyle>(pick(0, 7)));
    }
    s.SetCaption(QStringLiteral("Caption \u00e9\u4e2d ") + String::number(pick(0, 1000)));
    s.SetStoredGradient(static_cast<TColor>(pick(0, 0xFFFFFF)), static_cast<TColor>(pick(0, 0xFFFFFF)),
                        static_cast<TGradientStyle>(pick(0, 23)));
    TFont& font = s.Font();
    font.SetName(index % 2 ? QStringLiteral("DejaVu Serif") : QStringLiteral("DejaVu Sans Mono"));
    font.SetCharset(static_cast<uint8_t>(pick(0, 255)));
    font.SetColor(static_cast<TColor>(pick(0, 0xFFFFFF)));
    font.SetSize(pick(1, 72));
    font.SetPitch(static_cast<TFontPitch>(pick(0, 2)));
    font.SetStyle(TFontStyles::FromBits(static_cast<uint32_t>(pick(0, 15))));
    s.SetInfo(String(pick(0, 255), QChar(u'i')));
    TPen& pen = s.Pen();
    pen.SetColor(static_cast<TColor>(pick(0, 0xFFFFFF)));
    pen.SetMode(static_cast<TPenMode>(pick(0, 15)));
    pen.SetStyle(static_cast<TPenStyle>(pick(0, 8)));
    pen.SetWidth(pick(0, 50));
    for (int32_t i = pick(0, 3); i > 0; --i) {
        s.UserData().AddKeyandValue(QStringLiteral("key") + String::number(i), String(pick(0, 20), QChar(u'v')));
    }
    s.SetStoredFlips(pick(0, 1) == 1, pick(0, 1) == 1);
    s.SetVisible(pick(0, 1) == 1);
    for (int32_t i = pick(0, 3); i > 0; --i) s.MultiInfo().Add(QStringLiteral("line ") + String::number(i));
    s.SetMultiInfoAlignment(static_cast<TAlignment>(pick(0, 2)));
    s.SetLogHeight(pick(-50, 50));
    s.SetLogUse(pick(0, 1) == 1);
    s.SetLogWidth(pick(-50, 50));
    s.SetStoredLocked(pick(0, 1) == 1);
    s.SetPenStyleEndCapType(static_cast<TPenStyleEndCapType>(pick(0, 2)));
    s.SetPenStyleJoinType(static_cast<TPenStyleJoinType>(pick(0, 2)));
    s.SetHotShow(pick(0, 1) == 1);
    s.SetResizeEnable(pick(0, 1) == 1);
    s.SetRotateEnable(pick(0, 1) == 1);
    if (auto* line = dynamic_cast<TMyLine*>(&s)) {
        line->SetArrowAngle(pick(0, 359));
        line->SetArrowLength(static_cast<uint8_t>(pick(0, 255)));
        line->SetArrowOffset(static_cast<uint8_t>(pick(0, 255)));
        line->SetArrowStyle(static_cast<TArrowStyle>(pick(0, 3)));
    }
    s.CenterPoint = s.ComputeCenterPoint(4);
}

/// A drawing of rectangles and lines with layers, a background bitmap, user
/// data, a group with members and attached connector numbers.
inline void BuildSampleDrawing(TMyCAD& cad, uint32_t seed, int32_t shapes = 12)
{
    std::mt19937 rng(seed);
    cad.SetColorOfBackGround(0x336699);
    cad.SetTheUNIT(TUnits::cm);
    cad.SetBkBitmap(SampleBitmap(5, 3, 9));
    cad.SetBkBitmapMode(TBkBitmapMode::Tiled);
    cad.SetRatio(0.125);
    cad.SetTag(-4242);
    cad.UserData().AddKeyandValue(QStringLiteral("author"), QStringLiteral("someone"));
    cad.UserData().AddKeyandValue(QStringLiteral("empty"), String());
    cad.NewLayer(QStringLiteral("Second"), false);
    cad.NewLayer(QStringLiteral("Third \u00fc"), true);
    cad.SetCurrentLayerId(1);
    for (int32_t i = 0; i < shapes; ++i) {
        TMyShape* s = cad.CreateAddShapeByName(i % 2 ? QStringLiteral("TMyLine") : QStringLiteral("TMyRectangle"));
        FillShape(*s, rng, i);
    }
    // Shape 0 groups 1 and 2; 5's parent number names 4, whose member list
    // does not hold it. (Attached connectors have their own round trip: a
    // list that names shapes which are no connectors is mended on loading.)
    if (shapes < 8) return;
    cad.MyShapes[0]->ChildShapesNo = {1, 2};
    cad.MyShapes[1]->ParentShapeNo = 0;
    cad.MyShapes[2]->ParentShapeNo = 0;
    cad.MyShapes[5]->ParentShapeNo = 4;
    cad.ShapeListChanged();
}

} // namespace iotest
