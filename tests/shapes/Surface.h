// A white 24-bit bitmap to draw shapes on, with the pixel questions the
// drawing tests ask: a colour at a point, how many pixels changed, and
// whether the whole picture is as it was.
#pragma once

#include "cad/shapes/Shape.h"
#include "platform/Graphics.h"
#include "support/PixelProbes.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace mycad::test {

class Surface {
public:
    explicit Surface(int32_t w = 200, int32_t h = 200) : bmp_(w, h)
    {
        Clear();
    }

    TCanvas& Canvas() { return bmp_.Canvas(); }

    void Clear()
    {
        TCanvas& c = bmp_.Canvas();
        c.Brush().SetStyle(TBrushStyle::bsSolid);
        c.Brush().SetColor(clWhite);
        c.FillRect({0, 0, bmp_.Width(), bmp_.Height()});
    }

    /// The surface cleared and the shape drawn on it alone.
    void Redraw(TMyShape& shape)
    {
        Clear();
        shape.Draw(Canvas());
    }

    TColor At(int32_t x, int32_t y) { return bmp_.Canvas().Pixel(x, y); }

    /// Every probe's pixel has the probe's colour.
    void Expect(std::initializer_list<Probe> probes)
    {
        ExpectPixels([this](int32_t x, int32_t y) { return At(x, y); }, probes);
    }

    /// Every pixel, row by row.
    std::vector<TColor> Snapshot()
    {
        std::vector<TColor> all;
        all.reserve(static_cast<size_t>(bmp_.Width()) * static_cast<size_t>(bmp_.Height()));
        for (int32_t y = 0; y < bmp_.Height(); ++y) {
            for (int32_t x = 0; x < bmp_.Width(); ++x) all.push_back(At(x, y));
        }
        return all;
    }

    int32_t Count(TColor c)
    {
        const std::vector<TColor> all = Snapshot();
        return static_cast<int32_t>(std::count(all.begin(), all.end(), c));
    }
    int32_t CountNot(TColor c) { return bmp_.Width() * bmp_.Height() - Count(c); }

    /// The box of the pixels that are not white in a part of the surface;
    /// an empty rectangle when there are none.
    TRect InkBox(const TRect& area)
    {
        TRect box{area.Right, area.Bottom, area.Left, area.Top};
        for (int32_t y = area.Top; y < area.Bottom; ++y) {
            for (int32_t x = area.Left; x < area.Right; ++x) {
                if (At(x, y) == clWhite) continue;
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
        }
        return box.IsEmpty() ? TRect{} : box;
    }

    /// Runs draw twice, as a rubber band is drawn and erased: the number of
    /// pixels the first drawing changed, or -1 when the second one did not
    /// bring every pixel back.
    int32_t DrawnAndErased(const std::function<void()>& draw)
    {
        const std::vector<TColor> before = Snapshot();
        draw();
        const std::vector<TColor> drawn = Snapshot();
        int32_t changed = 0;
        for (size_t i = 0; i < drawn.size(); ++i) changed += drawn[i] != before[i] ? 1 : 0;
        draw();
        return Snapshot() == before ? changed : -1;
    }

private:
    TBitmap bmp_;
};

} // namespace mycad::test
