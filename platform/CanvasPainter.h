// Internal to the platform's graphics: a QPainter set up for one drawing
// operation of a TCanvas (device origin, clipping, world transform, map mode,
// raster operation), and the conversions from pens, brushes and fonts to Qt.
#pragma once

#include "platform/Graphics.h"

#include <QBrush>
#include <QFont>
#include <QPainter>
#include <QPen>

#include <optional>

namespace mycad {

/// The screen's pixels per inch (96 when no screen is known).
int32_t ScreenPixelsPerInch();

QColor ToQColor(TColor c);
/// The pixels whose centres a filled area with these bounds can cover.
TRect PixelBounds(const QRectF& bounds);
TColor FromQRgb(QRgb rgb);

/// Qt's pen for a canvas pen; wide pens are geometric, 1-pixel pens cosmetic.
QPen ToQPen(const TPen& pen);
/// Qt's brush for a canvas brush (a pattern bitmap wins over the style).
QBrush ToQBrush(const TBrush& brush);
QPainter::CompositionMode ToCompositionMode(TPenMode mode);

/// Qt's font for a logical font description; sizes are in logical units.
QFont ToQFont(const TLogFont& lf);
/// The description of a canvas font (no escapement).
TLogFont ToLogFont(const TFont& font);

/// A painter on a canvas's target for the life of one operation. Targets that
/// QPainter cannot draw on (1-bit and indexed images) are painted through a
/// 32-bit copy that is converted back at the end.
class TCanvasPainter {
public:
    /// Shape outlines and fills combine with the pixels by the pen mode; text
    /// and images are copied.
    enum class Use : uint8_t { Shape, Copy };

    TCanvasPainter(TCanvas& canvas, Use use);
    ~TCanvasPainter();
    TCanvasPainter(const TCanvasPainter&) = delete;
    TCanvasPainter& operator=(const TCanvasPainter&) = delete;

    /// False when there is nothing to draw on (no target, empty image, pmNop).
    bool Active() const { return painter_.has_value(); }
    QPainter& P() { return *painter_; }

    /// Logical coordinates to device pixels (world transform and map mode),
    /// without the device origin.
    static QTransform LogicalToDevice(const TCanvas& canvas);
    /// Device pixels (control coordinates) to the target image's pixels.
    static QTransform DeviceToImage(const TCanvas& canvas);

    /// Switches the painter to draw in device pixels, ignoring the world
    /// transform and map mode (regions live in device pixels).
    void UseDeviceCoordinates();
    /// Draws the outline of a figure given in logical coordinates with the
    /// canvas's pen. Wide pens are centred on the pixels the figure's points
    /// name, as 1-pixel pens are.
    void StrokeFigure(const QPainterPath& path);
    /// Fills a figure given in logical coordinates with the canvas's brush.
    void FillFigure(const QPainterPath& path);

    /// Draws an image into dest (logical coordinates); transparent images
    /// blend, others replace the pixels.
    static void DrawImage(TCanvas& canvas, const QRectF& dest, const QImage& image, bool blend);

private:
    /// Strokes a figure of straight segments with a one-pixel pen pixel by
    /// pixel; false when the figure has curves or the transform turns or scales.
    bool StrokeStraightCosmetic(const QPainterPath& path, const QPen& pen);

    TCanvas& canvas_;
    QImage* image_ = nullptr;
    QImage scratch_;
    bool useScratch_ = false;
    std::optional<QPainter> painter_;
};

} // namespace mycad
