// Test surfaces for the canvas: white 32-bit images like a control's, and
// which of their pixels are drawn.
#pragma once

#include <QImage>

namespace mycad::test {

inline QImage WhiteSurface(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

/// True when the pixel lies on the image and is not white.
inline bool Ink(const QImage& img, int x, int y)
{
    return x >= 0 && y >= 0 && x < img.width() && y < img.height() && (img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
}

} // namespace mycad::test
