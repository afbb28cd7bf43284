// Text on the canvas: logical fonts with escapement, character spacing,
// opaque or transparent background, extents, and text outlines in paths.
#include "platform/CanvasPainter.h"
#include "platform/CanvasPath.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHash>
#include <QStaticText>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace mycad {

namespace {

// Glyph space (x along the text, y down the text, origin at the top-left of
// the unrotated text) to logical coordinates. Escapement turns the text
// counter-clockwise as seen on the device, in either direction of y.
QTransform GlyphToLogical(int32_t x, int32_t y, int32_t escapement, bool yUp)
{
    const double a = qDegreesToRadians(escapement / 10.0);
    const double c = std::cos(a);
    const double s = std::sin(a);
    if (yUp) return QTransform(c, s, s, -c, x, y);
    return QTransform(c, -s, s, c, x, y);
}

bool SameFont(const TLogFont& a, const TLogFont& b)
{
    // Escapement and orientation turn the text, not the font.
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfQuality == b.lfQuality && a.lfFaceName == b.lfFaceName;
}

// The fonts and metrics of the descriptions and spacings used lately, most
// recent first. Text is measured and then written in the same font, line
// after line and paint after paint, and making a font and its metrics costs
// more than writing a short line; measuring a line costs as much as laying
// it out, so the widths of lines measured are kept with their font.
// Drawing happens on the interface thread only; the fonts are let go before
// the application that made them ends.
struct TFontInUse {
    TLogFont Description;
    int32_t Extra = 0;
    std::optional<QFont> Font;
    std::optional<QFontMetrics> Metrics;
    QHash<QString, int32_t> Advances;
    /// Lines laid out for drawing upright: drawing one again skips shaping.
    QHash<QString, QStaticText> Laid;
};

constexpr size_t kFontsKept = 8;
// A line's width costs a few bytes to keep and its layout a few hundred; a
// drawing of thousands of text boxes fits either.
constexpr qsizetype kAdvancesKept = 65536;
constexpr qsizetype kLinesLaidKept = 16384;

std::vector<TFontInUse>& FontSlots()
{
    static std::vector<TFontInUse> kept;
    return kept;
}

TFontInUse& FontInUse(const TLogFont& lf, int32_t extra)
{
    std::vector<TFontInUse>& kept = FontSlots();
    for (size_t i = 0; i < kept.size(); ++i) {
        if (kept[i].Extra != extra || !SameFont(kept[i].Description, lf)) continue;
        if (i != 0) std::rotate(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(i),
                                kept.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        return kept.front();
    }
    if (kept.empty()) qAddPostRoutine([] { FontSlots().clear(); });
    if (kept.size() >= kFontsKept) kept.pop_back();
    TFontInUse f;
    f.Description = lf;
    f.Extra = extra;
    f.Font = ToQFont(lf);
    if (extra != 0) f.Font->setLetterSpacing(QFont::AbsoluteSpacing, extra);
    f.Metrics.emplace(*f.Font);
    kept.insert(kept.begin(), std::move(f));
    return kept.front();
}

/// The line laid out once in the font, for drawing upright.
const QStaticText& Laid(TFontInUse& f, const String& text)
{
    auto found = f.Laid.find(text);
    if (found != f.Laid.end()) return *found;
    if (f.Laid.size() >= kLinesLaidKept) f.Laid.clear();
    QStaticText line(text);
    line.setTextFormat(Qt::PlainText);
    line.setPerformanceHint(QStaticText::AggressiveCaching);
    line.prepare(QTransform(), *f.Font);
    return *f.Laid.insert(text, line);
}

/// The advance of text in the font, measured once.
int32_t Advance(TFontInUse& f, const String& text)
{
    const auto found = f.Advances.constFind(text);
    if (found != f.Advances.cend()) return *found;
    if (f.Advances.size() >= kAdvancesKept) f.Advances.clear();
    const int32_t advance = f.Metrics->horizontalAdvance(text);
    f.Advances.insert(text, advance);
    return advance;
}

} // namespace

TLogFont TCanvas::GetLogFont() const
{
    return logFontSelected_ ? logFont_ : ToLogFont(font_);
}

void TCanvas::SelectLogFont(const TLogFont& lf)
{
    logFont_ = lf;
    logFontSelected_ = true;
}

void TCanvas::DeselectLogFont()
{
    logFontSelected_ = false;
}

TSize TCanvas::TextExtent(const String& text) const
{
    // Measured without the spacing, which every character, the last one
    // included, is followed by.
    TFontInUse& f = FontInUse(GetLogFont(), 0);
    const int64_t cx = static_cast<int64_t>(Advance(f, text)) + static_cast<int64_t>(charExtra_) * text.size();
    return {static_cast<int32_t>(std::clamp<int64_t>(cx, INT32_MIN, INT32_MAX)), f.Metrics->height()};
}

void TCanvas::TextOut(int32_t x, int32_t y, const String& text)
{
    if (text.isEmpty()) return;
    const TLogFont lf = GetLogFont();
    TFontInUse& inUse = FontInUse(lf, charExtra_);
    const QFont font = *inUse.Font;
    const QFontMetrics fm = *inUse.Metrics;
    const bool upright = !pathOpen_ && lf.lfEscapement == 0 && mapMode_ != MM_LOENGLISH;
    // Taken before TextExtent below can make another font the most recent.
    const QStaticText line = upright ? Laid(inUse, text) : QStaticText();
    const QTransform glyphs = GlyphToLogical(x, y, lf.lfEscapement, mapMode_ == MM_LOENGLISH);

    if (pathOpen_) {
        QPainterPath outline;
        outline.addText(QPointF(0, fm.ascent()), font, text);
        TCanvasPath::AddPainterPath(*this, glyphs.map(outline), true);
        return;
    }

    TCanvasPainter painter(*this, TCanvasPainter::Use::Copy);
    if (!painter.Active()) return;
    QPainter& p = painter.P();
    p.setWorldTransform(glyphs * p.worldTransform());
    if (bkMode_ == OPAQUE && brush_.Style() != TBrushStyle::bsClear) {
        const TSize extent = TextExtent(text);
        p.fillRect(QRectF(0, 0, extent.cx, extent.cy), ToQColor(brush_.Color()));
    }
    p.setFont(font);
    p.setPen(ToQColor(font_.Color()));
    if (upright) {
        p.drawStaticText(QPointF(0, 0), line);
    } else {
        p.drawText(QPointF(0, fm.ascent()), text);
    }
}

} // namespace mycad
