// The metafile's paint engine: each figure the painter hands over becomes
// records; pens, brushes and fonts are made, selected and deleted as the
// painter's state changes, so a reader meets the usual record sequence.
#include "platform/Metafile.h"
#include "platform/CanvasPainter.h"
#include "platform/Streams.h"

#include <QFile>
#include <QPaintEngine>
#include <QtMath>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

namespace mycad {

namespace {

// Record functions.
constexpr uint16_t META_EOF = 0x0000;
constexpr uint16_t META_SETBKMODE = 0x0102;
constexpr uint16_t META_SETMAPMODE = 0x0103;
constexpr uint16_t META_SETPOLYFILLMODE = 0x0106;
constexpr uint16_t META_SETTEXTALIGN = 0x012E;
constexpr uint16_t META_SELECTOBJECT = 0x012D;
constexpr uint16_t META_DELETEOBJECT = 0x01F0;
constexpr uint16_t META_SETTEXTCOLOR = 0x0209;
constexpr uint16_t META_SETWINDOWORG = 0x020B;
constexpr uint16_t META_SETWINDOWEXT = 0x020C;
constexpr uint16_t META_CREATEPENINDIRECT = 0x02FA;
constexpr uint16_t META_CREATEFONTINDIRECT = 0x02FB;
constexpr uint16_t META_CREATEBRUSHINDIRECT = 0x02FC;
constexpr uint16_t META_POLYGON = 0x0324;
constexpr uint16_t META_POLYLINE = 0x0325;
constexpr uint16_t META_ELLIPSE = 0x0418;
constexpr uint16_t META_POLYPOLYGON = 0x0538;
constexpr uint16_t META_EXTTEXTOUT = 0x0A32;
constexpr uint16_t META_STRETCHDIB = 0x0F43;

constexpr uint16_t MM_ANISOTROPIC = 8;
constexpr uint16_t TA_BASELINE = 24;
constexpr uint16_t PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5;
constexpr uint16_t BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2;
constexpr uint16_t HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3, HS_CROSS = 4,
                   HS_DIAGCROSS = 5;
constexpr uint32_t SRCCOPY = 0x00CC0020;
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;

/// Little-endian words of one record.
class TRecord {
public:
    explicit TRecord(uint16_t function) : function_(function) {}
    TRecord& Word(int64_t v)
    {
        words_.push_back(static_cast<uint16_t>(std::clamp<int64_t>(v, -32768, 65535) & 0xFFFF));
        return *this;
    }
    TRecord& Long(uint32_t v) { return Word(v & 0xFFFF).Word(v >> 16); }
    TRecord& Bytes(const QByteArray& b)
    {
        for (qsizetype i = 0; i < b.size(); i += 2) {
            const auto lo = static_cast<uint8_t>(b[i]);
            const auto hi = i + 1 < b.size() ? static_cast<uint8_t>(b[i + 1]) : uint8_t(0);
            words_.push_back(static_cast<uint16_t>(lo | (hi << 8)));
        }
        return *this;
    }
    uint16_t Function() const { return function_; }
    const std::vector<uint16_t>& Words() const { return words_; }

private:
    uint16_t function_;
    std::vector<uint16_t> words_;
};

uint32_t ColorRef(const QColor& c)
{
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

int16_t Coord(double v)
{
    return static_cast<int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
}

// A path made by QPainterPath::addEllipse: a move to the right end of the
// middle row and four quarter curves back to it.
bool IsEllipse(const QPainterPath& path, QRectF& box)
{
    if (path.elementCount() != 13 || !path.elementAt(0).isMoveTo()) return false;
    for (int i = 1; i < 13; ++i) {
        if (path.elementAt(i).isMoveTo() || path.elementAt(i).isLineTo()) return false;
    }
    const QPointF first = path.elementAt(0);
    const QPointF last = path.elementAt(12);
    box = path.controlPointRect();
    return first == last && std::abs(first.x() - box.right()) < 1e-6 && std::abs(first.y() - box.center().y()) < 1e-6;
}

} // namespace

class TWmfEngine : public QPaintEngine {
public:
    explicit TWmfEngine(TMetafile& file) : QPaintEngine(QPaintEngine::AllFeatures), file_(file) {}
    using QPaintEngine::drawPolygon;
    using QPaintEngine::drawRects;

    bool begin(QPaintDevice*) override
    {
        records_.clear();
        slots_.clear();
        pen_ = brush_ = font_ = -1;
        penKey_.clear();
        brushKey_.clear();
        fontKey_.clear();
        textColor_ = 0xFFFFFFFF;
        fillMode_ = 0;
        maxObjects_ = 0;
        const int32_t u = file_.UnitsPerPixel();
        Emit(TRecord(META_SETMAPMODE).Word(MM_ANISOTROPIC));
        Emit(TRecord(META_SETWINDOWORG).Word(0).Word(0));
        Emit(TRecord(META_SETWINDOWEXT).Word(int64_t(file_.Height()) * u).Word(int64_t(file_.Width()) * u));
        bkMode_ = 0;
        Emit(TRecord(META_SETTEXTALIGN).Word(TA_BASELINE).Word(0));
        return true;
    }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    Type type() const override { return QPaintEngine::User; }

    void drawPath(const QPainterPath& path) override
    {
        const QTransform t = Transform();
        const bool fill = painter()->brush().style() != Qt::NoBrush;
        const bool stroke = painter()->pen().style() != Qt::NoPen;
        if (!fill && !stroke) return;
        QRectF box;
        if (t.type() <= QTransform::TxScale && IsEllipse(path, box)) {
            const QRectF r = t.mapRect(box);
            if (fill) SetBkMode(OPAQUE);
            SelectTools(fill, stroke);
            Emit(TRecord(META_ELLIPSE).Word(Coord(r.bottom())).Word(Coord(r.right())).Word(Coord(r.top())).Word(
                Coord(r.left())));
            return;
        }
        const QList<QPolygonF> polys = path.toSubpathPolygons(t);
        if (polys.isEmpty()) return;
        if (fill) {
            // Readers such as libwmf draw fills half transparent in the
            // transparent background mode; only text needs that mode.
            SetBkMode(OPAQUE);
            // One record fills every figure together, so holes stay holes.
            SetFillMode(path.fillRule() == Qt::WindingFill ? WINDING : ALTERNATE);
            SelectTools(true, false);
            if (polys.size() == 1) {
                Emit(PointsRecord(META_POLYGON, polys.front()));
            } else {
                TRecord r(META_POLYPOLYGON);
                r.Word(polys.size());
                for (const QPolygonF& p : polys) r.Word(p.size());
                for (const QPolygonF& p : polys) AddPoints(r, p);
                Emit(r);
            }
        }
        if (stroke) {
            SelectTools(false, true);
            for (const QPolygonF& p : polys) {
                const bool closed = p.size() > 2 && p.isClosed();
                Emit(PointsRecord(closed ? META_POLYGON : META_POLYLINE, closed ? QPolygonF(p.mid(0, p.size() - 1)) : p));
            }
        }
    }

    void drawRects(const QRectF* rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            QPainterPath path;
            path.addRect(rects[i]);
            drawPath(path);
        }
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        QPainterPath path;
        path.addPolygon(QPolygonF(QList<QPointF>(points, points + count)));
        if (mode != PolylineMode) path.closeSubpath();
        path.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
        if (mode == PolylineMode) {
            const QBrush saved = painter()->brush();
            painter()->setBrush(Qt::NoBrush);
            drawPath(path);
            painter()->setBrush(saved);
            return;
        }
        drawPath(path);
    }

    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        const QString text = item.text();
        if (text.isEmpty()) return;
        const QTransform t = Transform();
        const QFont f = item.font();
        // The font's size and turn as the transform gives them on the page.
        const double scale = std::sqrt(std::abs(t.determinant()));
        const double pixels = (f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF() * 96.0 / 72.0) * scale;
        const double turn = qRadiansToDegrees(std::atan2(t.m12(), t.m11()));
        SelectFont(f, -std::max(1L, std::lround(pixels)), static_cast<int32_t>(std::lround(-turn * 10.0)));
        SetBkMode(TRANSPARENT);
        const QColor colour = painter()->pen().color();
        if (ColorRef(colour) != textColor_) {
            textColor_ = ColorRef(colour);
            Emit(TRecord(META_SETTEXTCOLOR).Long(textColor_));
        }
        const QPointF at = t.map(p);
        QByteArray bytes = text.toLatin1();
        TRecord r(META_EXTTEXTOUT);
        r.Word(Coord(at.y())).Word(Coord(at.x())).Word(bytes.size()).Word(0).Bytes(bytes);
        Emit(r);
    }

    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override
    {
        drawImage(r, pm.toImage(), sr, Qt::AutoColor);
    }

    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags) override
    {
        const QImage part = image.copy(sr.toAlignedRect());
        if (part.isNull()) return;
        const QRectF dest = Transform().mapRect(r);
        // A device-independent bitmap is a BMP file without its 14-byte file header.
        TBitmap bitmap;
        bitmap.SetImage(part);
        TMemoryStream bmp;
        bitmap.SaveToStream(bmp);
        const std::vector<uint8_t>& bytes = bmp.Bytes();
        if (bytes.size() <= 14) return;
        const QByteArray dib(reinterpret_cast<const char*>(bytes.data()) + 14, qsizetype(bytes.size() - 14));
        const int w = part.width();
        const int h = part.height();
        TRecord rec(META_STRETCHDIB);
        rec.Long(SRCCOPY).Word(0).Word(h).Word(w).Word(0).Word(0);
        rec.Word(Coord(dest.height())).Word(Coord(dest.width())).Word(Coord(dest.top())).Word(Coord(dest.left()));
        rec.Bytes(dib);
        Emit(rec);
    }

    std::vector<uint8_t> Finish() const
    {
        std::vector<uint8_t> out;
        auto put16 = [&out](uint16_t v) {
            out.push_back(static_cast<uint8_t>(v & 0xFF));
            out.push_back(static_cast<uint8_t>(v >> 8));
        };
        auto put32 = [&](uint32_t v) {
            put16(static_cast<uint16_t>(v & 0xFFFF));
            put16(static_cast<uint16_t>(v >> 16));
        };
        const int32_t u = file_.UnitsPerPixel();
        // The placeable header: where the picture lies and how many of its
        // units make an inch, with a checksum of its first ten words.
        const std::array<uint16_t, 10> head = {
            uint16_t(kPlaceableKey & 0xFFFF), uint16_t(kPlaceableKey >> 16), 0, 0, 0,
            uint16_t(std::min<int64_t>(int64_t(file_.Width()) * u, 32767)),
            uint16_t(std::min<int64_t>(int64_t(file_.Height()) * u, 32767)),
            uint16_t(ScreenPixelsPerInch() * u), 0, 0};
        uint16_t checksum = 0;
        for (const uint16_t w : head) {
            put16(w);
            checksum ^= w;
        }
        put16(checksum);
        std::vector<uint16_t> body = records_;
        body.insert(body.end(), {3, 0, META_EOF});
        uint32_t largest = 3;
        for (size_t i = 0; i < body.size();) {
            const uint32_t size = body[i] | (uint32_t(body[i + 1]) << 16);
            largest = std::max(largest, size);
            i += size;
        }
        put16(1); // in memory
        put16(9); // header words
        put16(0x0300);
        put32(uint32_t(body.size() + 9));
        put16(static_cast<uint16_t>(maxObjects_));
        put32(largest);
        put16(0);
        for (const uint16_t w : body) put16(w);
        return out;
    }

private:
    QTransform Transform() const
    {
        const double u = file_.UnitsPerPixel();
        return painter()->combinedTransform() * QTransform::fromScale(u, u);
    }

    void Emit(const TRecord& r)
    {
        const auto size = static_cast<uint32_t>(r.Words().size() + 3);
        records_.push_back(static_cast<uint16_t>(size & 0xFFFF));
        records_.push_back(static_cast<uint16_t>(size >> 16));
        records_.push_back(r.Function());
        records_.insert(records_.end(), r.Words().begin(), r.Words().end());
    }

    void AddPoints(TRecord& r, const QPolygonF& p)
    {
        for (const QPointF& q : p) r.Word(Coord(q.x())).Word(Coord(q.y()));
    }

    TRecord PointsRecord(uint16_t function, const QPolygonF& p)
    {
        TRecord r(function);
        r.Word(p.size());
        AddPoints(r, p);
        return r;
    }

    void SetBkMode(int32_t mode)
    {
        if (mode == bkMode_) return;
        bkMode_ = mode;
        Emit(TRecord(META_SETBKMODE).Word(mode).Word(0));
    }

    void SetFillMode(int32_t mode)
    {
        if (mode == fillMode_) return;
        fillMode_ = mode;
        Emit(TRecord(META_SETPOLYFILLMODE).Word(mode).Word(0));
    }

    // Objects take the lowest free slot of the table when made.
    int32_t Create(const TRecord& r)
    {
        Emit(r);
        auto it = std::find(slots_.begin(), slots_.end(), false);
        const auto slot = static_cast<int32_t>(it - slots_.begin());
        if (it == slots_.end()) {
            slots_.push_back(true);
        } else {
            *it = true;
        }
        maxObjects_ = std::max(maxObjects_, static_cast<int32_t>(slots_.size()));
        return slot;
    }

    // Makes and selects the object described by key unless it is selected
    // already, then deletes the one it replaces.
    void Select(int32_t& current, QByteArray& currentKey, const QByteArray& key, const TRecord& make)
    {
        if (current >= 0 && key == currentKey) return;
        const int32_t slot = Create(make);
        Emit(TRecord(META_SELECTOBJECT).Word(slot));
        if (current >= 0) {
            Emit(TRecord(META_DELETEOBJECT).Word(current));
            slots_[static_cast<size_t>(current)] = false;
        }
        current = slot;
        currentKey = key;
    }

    void SelectTools(bool fill, bool stroke)
    {
        const QPen pen = stroke ? painter()->pen() : QPen(Qt::NoPen);
        uint16_t style = PS_SOLID;
        switch (pen.style()) {
        case Qt::NoPen: style = PS_NULL; break;
        case Qt::DashLine: style = PS_DASH; break;
        case Qt::DotLine: style = PS_DOT; break;
        case Qt::DashDotLine: style = PS_DASHDOT; break;
        case Qt::DashDotDotLine: style = PS_DASHDOTDOT; break;
        case Qt::CustomDashLine: {
            const QList<qreal> d = pen.dashPattern();
            style = !d.isEmpty() && d.front() <= 1.5 ? PS_DOT : PS_DASH;
            break;
        }
        default: break;
        }
        const double scale = std::sqrt(std::abs(Transform().determinant()));
        const long width = pen.isCosmetic() ? 0 : std::lround(pen.widthF() * scale);
        const uint32_t penColour = ColorRef(pen.color());
        TRecord makePen(META_CREATEPENINDIRECT);
        makePen.Word(style).Word(width).Word(0).Long(penColour);
        Select(pen_, penKey_, QByteArray::number(style) + ',' + QByteArray::number(qlonglong(width)) + ',' +
                                  QByteArray::number(penColour), makePen);

        const QBrush brush = fill ? painter()->brush() : QBrush(Qt::NoBrush);
        uint16_t brushStyle = BS_SOLID;
        uint16_t hatch = 0;
        switch (brush.style()) {
        case Qt::NoBrush: brushStyle = BS_NULL; break;
        case Qt::HorPattern: brushStyle = BS_HATCHED; hatch = HS_HORIZONTAL; break;
        case Qt::VerPattern: brushStyle = BS_HATCHED; hatch = HS_VERTICAL; break;
        case Qt::FDiagPattern: brushStyle = BS_HATCHED; hatch = HS_FDIAGONAL; break;
        case Qt::BDiagPattern: brushStyle = BS_HATCHED; hatch = HS_BDIAGONAL; break;
        case Qt::CrossPattern: brushStyle = BS_HATCHED; hatch = HS_CROSS; break;
        case Qt::DiagCrossPattern: brushStyle = BS_HATCHED; hatch = HS_DIAGCROSS; break;
        default: break;
        }
        const uint32_t brushColour = ColorRef(brush.color());
        TRecord makeBrush(META_CREATEBRUSHINDIRECT);
        makeBrush.Word(brushStyle).Long(brushColour).Word(hatch);
        Select(brush_, brushKey_, QByteArray::number(brushStyle) + ',' + QByteArray::number(hatch) + ',' +
                                      QByteArray::number(brushColour), makeBrush);
    }

    void SelectFont(const QFont& f, long height, int32_t escapement)
    {
        QByteArray face = f.family().toLatin1().left(31);
        face.append(QByteArray(32 - face.size(), '\0'));
        TRecord make(META_CREATEFONTINDIRECT);
        make.Word(height).Word(0).Word(escapement).Word(escapement).Word(f.weight() >= QFont::Bold ? 700 : 400);
        QByteArray flags;
        flags.append(f.italic() ? '\1' : '\0');
        flags.append(f.underline() ? '\1' : '\0');
        flags.append(f.strikeOut() ? '\1' : '\0');
        flags.append('\1'); // default character set
        flags.append('\0');
        flags.append('\0');
        flags.append('\4'); // antialiased
        flags.append('\0');
        make.Bytes(flags).Bytes(face);
        const QByteArray key = face + QByteArray::number(qlonglong(height)) + ',' + QByteArray::number(escapement) +
                               flags;
        Select(font_, fontKey_, key, make);
    }

    TMetafile& file_;
    std::vector<uint16_t> records_;
    std::vector<bool> slots_;
    int32_t pen_ = -1;
    int32_t brush_ = -1;
    int32_t font_ = -1;
    QByteArray penKey_;
    QByteArray brushKey_;
    QByteArray fontKey_;
    uint32_t textColor_ = 0xFFFFFFFF;
    int32_t fillMode_ = 0;
    int32_t bkMode_ = 0;
    int32_t maxObjects_ = 0;
};

TMetafile::TMetafile(int32_t width, int32_t height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)),
      // As fine as 16-bit coordinates allow, up to 16 units a pixel.
      unitsPerPixel_(std::clamp(32000 / std::max(width_, height_), 1, 16)),
      engine_(std::make_unique<TWmfEngine>(*this))
{
}

TMetafile::~TMetafile() = default;

QPaintEngine* TMetafile::paintEngine() const
{
    return engine_.get();
}

int TMetafile::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return width_;
    case PdmHeight: return height_;
    case PdmWidthMM: return RoundToInt(width_ * 25.4 / ScreenPixelsPerInch());
    case PdmHeightMM: return RoundToInt(height_ * 25.4 / ScreenPixelsPerInch());
    case PdmNumColors: return INT_MAX;
    case PdmDepth: return 24;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return ScreenPixelsPerInch();
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
    default: return 0;
    }
}

std::vector<uint8_t> TMetafile::Bytes() const
{
    return engine_->Finish();
}

bool TMetafile::SaveToFile(const String& fileName) const
{
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly)) return false;
    const std::vector<uint8_t> bytes = Bytes();
    return f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) == qint64(bytes.size());
}

} // namespace mycad
