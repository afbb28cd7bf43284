// Pens, brushes and fonts, and their conversion to Qt's drawing tools.
#include "platform/CanvasPainter.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <vector>

namespace mycad {

int32_t ScreenPixelsPerInch()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const int32_t ppi = RoundToInt(screen->logicalDotsPerInch());
            if (ppi > 0) return ppi;
        }
    }
    return 96;
}

QColor ToQColor(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQRgb(QRgb rgb)
{
    return RGB(static_cast<uint8_t>(qRed(rgb)), static_cast<uint8_t>(qGreen(rgb)), static_cast<uint8_t>(qBlue(rgb)));
}

// ---- TPen --------------------------------------------------------------

TPen::TPen(const TPen& other)
{
    *this = other;
}

TPen& TPen::operator=(const TPen& other)
{
    color_ = other.color_;
    width_ = other.width_;
    style_ = other.style_;
    mode_ = other.mode_;
    join_ = other.join_;
    cap_ = other.cap_;
    return *this;
}

void TPen::Changed()
{
    if (OnChange) OnChange();
}

void TPen::SetColor(TColor c) { if (c != color_) { color_ = c; Changed(); } }
void TPen::SetWidth(int32_t w) { w = std::max(w, 0); if (w != width_) { width_ = w; Changed(); } }
void TPen::SetStyle(TPenStyle s) { if (s != style_) { style_ = s; Changed(); } }
void TPen::SetMode(TPenMode m) { if (m != mode_) { mode_ = m; Changed(); } }
void TPen::SetJoin(TPenJoin j) { if (j != join_) { join_ = j; Changed(); } }
void TPen::SetEndCap(TPenEndCap c) { if (c != cap_) { cap_ = c; Changed(); } }

void TPen::Assign(const TPen& other)
{
    *this = other;
    Changed();
}

// ---- TBrush ------------------------------------------------------------

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

TBrush::TBrush(const TBrush& other)
{
    *this = other;
}

TBrush& TBrush::operator=(const TBrush& other)
{
    if (this != &other) {
        color_ = other.color_;
        style_ = other.style_;
        bitmap_ = other.bitmap_ ? std::make_unique<TBitmap>(*other.bitmap_) : nullptr;
    }
    return *this;
}

void TBrush::Changed()
{
    if (OnChange) OnChange();
}

void TBrush::SetColor(TColor c) { if (c != color_) { color_ = c; Changed(); } }
void TBrush::SetStyle(TBrushStyle s) { if (s != style_) { style_ = s; Changed(); } }

void TBrush::SetBitmap(const TBitmap* b)
{
    if (b == bitmap_.get()) return;
    bitmap_ = b != nullptr && !b->Empty() ? std::make_unique<TBitmap>(*b) : nullptr;
    Changed();
}

void TBrush::Assign(const TBrush& other)
{
    *this = other;
    Changed();
}

// ---- TFont -------------------------------------------------------------

TFont::TFont(const TFont& other)
{
    *this = other;
}

TFont& TFont::operator=(const TFont& other)
{
    name_ = other.name_;
    height_ = other.height_;
    color_ = other.color_;
    style_ = other.style_;
    charset_ = other.charset_;
    pitch_ = other.pitch_;
    return *this;
}

void TFont::Changed()
{
    if (OnChange) OnChange();
}

int32_t TFont::Size() const
{
    return RoundToInt(-static_cast<double>(height_) * 72.0 / ScreenPixelsPerInch());
}

void TFont::SetSize(int32_t points)
{
    SetHeight(-RoundToInt(static_cast<double>(points) * ScreenPixelsPerInch() / 72.0));
}

void TFont::SetName(const String& n) { if (n != name_) { name_ = n; Changed(); } }
void TFont::SetHeight(int32_t h) { if (h != height_) { height_ = h; Changed(); } }
void TFont::SetColor(TColor c) { if (c != color_) { color_ = c; Changed(); } }
void TFont::SetStyle(TFontStyles s) { if (!(s == style_)) { style_ = s; Changed(); } }
void TFont::SetCharset(uint8_t c) { if (c != charset_) { charset_ = c; Changed(); } }
void TFont::SetPitch(TFontPitch p) { if (p != pitch_) { pitch_ = p; Changed(); } }

void TFont::Assign(const TFont& other)
{
    *this = other;
    Changed();
}

// ---- conversions -------------------------------------------------------

QList<qreal> CosmeticDashes(TPenStyle style)
{
    // Dash lengths in pixels, the classic cosmetic patterns.
    switch (style) {
    case TPenStyle::psDash: return {18, 6};
    case TPenStyle::psDot: return {3, 3};
    case TPenStyle::psDashDot: return {9, 6, 3, 6};
    case TPenStyle::psDashDotDot: return {9, 3, 3, 3, 3, 3};
    case TPenStyle::psAlternate: return {1, 1};
    default: return {};
    }
}

QPen ToQPen(const TPen& pen)
{
    if (pen.Style() == TPenStyle::psClear || pen.Mode() == TPenMode::pmNop) return QPen(Qt::NoPen);
    QPen qp(ToQColor(pen.Color()));
    if (pen.Width() <= 1) {
        // Cosmetic: one pixel whatever the transform, and the end pixel of
        // every line is left out (flat caps) so joined lines meet exactly.
        qp.setWidth(0);
        qp.setCapStyle(Qt::FlatCap);
        qp.setJoinStyle(Qt::MiterJoin);
        const QList<qreal> dashes = CosmeticDashes(pen.Style());
        if (!dashes.isEmpty()) qp.setDashPattern(dashes);
        return qp;
    }
    // Wide pens draw solid whatever their style, as dashes apply to 1-pixel pens only.
    qp.setWidth(pen.Width());
    switch (pen.EndCap()) {
    case TPenEndCap::pecRound: qp.setCapStyle(Qt::RoundCap); break;
    case TPenEndCap::pecSquare: qp.setCapStyle(Qt::SquareCap); break;
    case TPenEndCap::pecFlat: qp.setCapStyle(Qt::FlatCap); break;
    }
    switch (pen.Join()) {
    case TPenJoin::pjRound: qp.setJoinStyle(Qt::RoundJoin); break;
    case TPenJoin::pjBevel: qp.setJoinStyle(Qt::BevelJoin); break;
    case TPenJoin::pjMiter: qp.setJoinStyle(Qt::MiterJoin); break;
    }
    return qp;
}

QBrush ToQBrush(const TBrush& brush)
{
    if (const TBitmap* pattern = brush.Bitmap()) {
        return QBrush(pattern->Image().convertToFormat(QImage::Format_RGB32));
    }
    const QColor c = ToQColor(brush.Color());
    switch (brush.Style()) {
    case TBrushStyle::bsSolid: return QBrush(c, Qt::SolidPattern);
    case TBrushStyle::bsClear: return QBrush(Qt::NoBrush);
    case TBrushStyle::bsHorizontal: return QBrush(c, Qt::HorPattern);
    case TBrushStyle::bsVertical: return QBrush(c, Qt::VerPattern);
    case TBrushStyle::bsFDiagonal: return QBrush(c, Qt::FDiagPattern);
    case TBrushStyle::bsBDiagonal: return QBrush(c, Qt::BDiagPattern);
    case TBrushStyle::bsCross: return QBrush(c, Qt::CrossPattern);
    case TBrushStyle::bsDiagCross: return QBrush(c, Qt::DiagCrossPattern);
    }
    return QBrush(c, Qt::SolidPattern);
}

QPainter::CompositionMode ToCompositionMode(TPenMode mode)
{
    switch (mode) {
    case TPenMode::pmBlack: return QPainter::RasterOp_ClearDestination;
    case TPenMode::pmWhite: return QPainter::RasterOp_SetDestination;
    case TPenMode::pmNop: return QPainter::CompositionMode_Destination;
    case TPenMode::pmNot: return QPainter::RasterOp_NotDestination;
    case TPenMode::pmCopy: return QPainter::CompositionMode_SourceOver;
    case TPenMode::pmNotCopy: return QPainter::RasterOp_NotSource;
    case TPenMode::pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case TPenMode::pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case TPenMode::pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case TPenMode::pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case TPenMode::pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case TPenMode::pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case TPenMode::pmMask: return QPainter::RasterOp_SourceAndDestination;
    case TPenMode::pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case TPenMode::pmXor: return QPainter::RasterOp_SourceXorDestination;
    case TPenMode::pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    }
    return QPainter::CompositionMode_SourceOver;
}

QFont ToQFont(const TLogFont& lf)
{
    // Heights from files may be anything; beyond this no text is legible anyway.
    constexpr int32_t kMaxPixels = 32767;
    QFont f(lf.lfFaceName.isEmpty() ? QStringLiteral("DejaVu Sans") : lf.lfFaceName);
    f.setKerning(false);
    f.setStyleStrategy(lf.lfQuality == 3 ? QFont::NoAntialias : QFont::PreferDefault);
    f.setWeight(static_cast<QFont::Weight>(lf.lfWeight <= 0 ? 400 : std::clamp(lf.lfWeight, 1, 1000)));
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    f.setStrikeOut(lf.lfStrikeOut != 0);
    int32_t h = lf.lfHeight;
    if (h < 0) {
        // Negative: the character height without internal leading, i.e. the em size.
        f.setPixelSize(std::clamp(h == INT32_MIN ? kMaxPixels : -h, 1, kMaxPixels));
    } else {
        // Positive: the cell height (ascent + descent); zero asks for a default.
        if (h == 0) h = 16;
        h = std::min(h, kMaxPixels);
        f.setPixelSize(h);
        const QFontMetricsF fm(f);
        const double cell = fm.ascent() + fm.descent();
        if (cell > 0) f.setPixelSize(std::clamp(RoundToInt(h * h / cell), 1, kMaxPixels));
    }
    return f;
}

TLogFont ToLogFont(const TFont& font)
{
    TLogFont lf;
    lf.lfHeight = font.Height();
    lf.lfWeight = font.Style().Contains(TFontStyle::fsBold) ? 700 : 400;
    lf.lfItalic = font.Style().Contains(TFontStyle::fsItalic) ? 1 : 0;
    lf.lfUnderline = font.Style().Contains(TFontStyle::fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = font.Style().Contains(TFontStyle::fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = font.Charset();
    lf.lfFaceName = font.Name();
    return lf;
}

} // namespace mycad
