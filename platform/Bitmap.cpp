// Raster bitmaps with scan-line access, and pictures loaded from image files.
#include "platform/BmpCodec.h"
#include "platform/CanvasPainter.h"
#include "platform/Streams.h"

#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace mycad {

namespace {

QList<QRgb> DefaultPalette(TPixelFormat pf)
{
    QList<QRgb> table;
    switch (pf) {
    case TPixelFormat::pf1bit:
        table = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
        break;
    case TPixelFormat::pf4bit:
        // The sixteen colours of the classic desktop palette.
        table = {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
                 qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
                 qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
                 qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
        break;
    case TPixelFormat::pf8bit:
        // A 6 x 6 x 6 colour cube and a ramp of 40 greys.
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) table.push_back(qRgb(51 * r, 51 * g, 51 * b));
        for (int i = 0; i < 40; ++i) {
            const int v = (i * 255 + 20) / 40;
            table.push_back(qRgb(v, v, v));
        }
        break;
    default: break;
    }
    return table;
}

bool Indexed(QImage::Format f)
{
    return f == QImage::Format_Mono || f == QImage::Format_Indexed8;
}

QImage Convert(const QImage& img, TPixelFormat pf)
{
    const QImage::Format fmt = StorageFormat(pf);
    if (img.isNull()) return img;
    if (!Indexed(fmt)) return img.format() == fmt ? img : img.convertToFormat(fmt);
    if (img.format() == fmt && img.colorCount() == DefaultPalette(pf).size()) return img;
    // Through 32 bits, so that an indexed image is matched to the new table.
    const QImage rgb = img.convertToFormat(QImage::Format_RGB32);
    return rgb.convertToFormat(fmt, DefaultPalette(pf), Qt::ThresholdDither | Qt::AvoidDither);
}

QImage WhiteImage(int32_t w, int32_t h, TPixelFormat pf)
{
    if (w <= 0 || h <= 0) return QImage();
    QImage img(w, h, StorageFormat(pf));
    if (img.isNull()) return img;
    if (Indexed(img.format())) {
        const QList<QRgb> table = DefaultPalette(pf);
        img.setColorTable(table);
        img.fill(static_cast<uint>(table.indexOf(qRgb(255, 255, 255))));
    } else {
        img.fill(Qt::white);
    }
    return img;
}

// Transparent pixels are put on white, as they would show on a new bitmap.
QImage Opaque(const QImage& img)
{
    if (!img.hasAlphaChannel()) return img;
    QImage out(img.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(0, 0, img);
    return out;
}

} // namespace

// ---- TBitmap -----------------------------------------------------------

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int32_t width, int32_t height, TPixelFormat pf) : pf_(pf)
{
    SetSize(width, height);
}

TBitmap::~TBitmap() = default;

TBitmap::TBitmap(const TBitmap& other)
{
    Assign(other);
}

TBitmap& TBitmap::operator=(const TBitmap& other)
{
    Assign(other);
    return *this;
}

void TBitmap::Assign(const TBitmap& other)
{
    if (this == &other) return;
    image_ = other.image_;
    width_ = other.width_;
    height_ = other.height_;
    pf_ = other.pf_;
    transparent_ = other.transparent_;
    transparentColor_ = other.transparentColor_;
    transparentMode_ = other.transparentMode_;
}

int32_t TBitmap::Width() const { return width_; }
int32_t TBitmap::Height() const { return height_; }
void TBitmap::SetWidth(int32_t w) { SetSize(w, height_); }
void TBitmap::SetHeight(int32_t h) { SetSize(width_, h); }

void TBitmap::SetSize(int32_t w, int32_t h)
{
    w = std::max(w, 0);
    h = std::max(h, 0);
    if (w == width_ && h == height_) return;
    QImage next = dpr_ == 1.0 ? WhiteImage(w, h, pf_)
                              : WhiteImage(static_cast<int32_t>(std::ceil(w * dpr_)),
                                           static_cast<int32_t>(std::ceil(h * dpr_)), pf_);
    if (dpr_ != 1.0) next.setDevicePixelRatio(dpr_);
    if (next.isNull() && w > 0 && h > 0) {
        // More than memory allows: the bitmap becomes empty rather than half-made.
        w = 0;
        h = 0;
    }
    if (!next.isNull() && !image_.isNull()) {
        const int rows = std::min(h, image_.height());
        const int cols = std::min(w, image_.width());
        for (int y = 0; y < rows; ++y) {
            if (next.depth() >= 8) {
                std::memcpy(next.scanLine(y), image_.constScanLine(y), static_cast<size_t>(cols) * (next.depth() / 8));
            } else {
                for (int x = 0; x < cols; ++x) next.setPixel(x, y, static_cast<uint>(image_.pixelIndex(x, y)));
            }
        }
    }
    image_ = next;
    width_ = w;
    height_ = h;
}

void TBitmap::SetDevicePixelRatio(double ratio)
{
    if (!(ratio > 0.0) || ratio == dpr_) return;
    dpr_ = ratio;
    // The pixels are made again at the new density.
    const int32_t w = width_;
    const int32_t h = height_;
    image_ = QImage();
    width_ = 0;
    height_ = 0;
    SetSize(w, h);
}

void TBitmap::SetPixelFormat(TPixelFormat pf)
{
    if (pf == pf_) return;
    pf_ = pf;
    image_ = Convert(image_, pf);
}

uint8_t* TBitmap::ScanLine(int32_t y)
{
    if (image_.isNull() || y < 0 || y >= image_.height()) return nullptr;
    return image_.scanLine(y);
}

const uint8_t* TBitmap::ScanLine(int32_t y) const
{
    if (image_.isNull() || y < 0 || y >= image_.height()) return nullptr;
    return image_.constScanLine(y);
}

TCanvas& TBitmap::Canvas()
{
    if (!canvas_) canvas_ = std::make_unique<TCanvas>(&image_);
    return *canvas_;
}

TColor TBitmap::TransparentColor() const
{
    if (transparentMode_ == TTransparentMode::tmFixed) return transparentColor_;
    if (image_.isNull()) return clDefault;
    return FromQRgb(image_.pixel(0, image_.height() - 1));
}

void TBitmap::SetTransparentColor(TColor c)
{
    transparentColor_ = c;
    transparentMode_ = c == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
}

void TBitmap::SetImage(const QImage& img)
{
    image_ = Convert(Opaque(img), pf_);
    width_ = image_.isNull() ? 0 : image_.width();
    height_ = image_.isNull() ? 0 : image_.height();
}

bool TBitmap::LoadFromFile(const String& fileName)
{
    if (QFileInfo(fileName).suffix().compare(QLatin1String("bmp"), Qt::CaseInsensitive) == 0) {
        try {
            TFileStream file(fileName, TFileMode::fmOpenRead);
            LoadFromStream(file);
            return true;
        } catch (const EStreamError&) {
            // Compressed bitmaps are left to Qt's reader below.
        }
    }
    QImageReader reader(fileName);
    const QImage img = reader.read();
    if (img.isNull()) return false;
    pf_ = TPixelFormat::pf24bit;
    SetImage(img);
    return true;
}

bool TBitmap::SaveToFile(const String& fileName, int32_t jpegQuality) const
{
    const QString ext = QFileInfo(fileName).suffix().toLower();
    if (ext == QLatin1String("bmp")) {
        try {
            TFileStream file(fileName, TFileMode::fmCreate);
            SaveToStream(file);
            return file.Flush();
        } catch (const EStreamError&) {
            return false;
        }
    }
    if (image_.isNull()) return false;
    if (ext == QLatin1String("png")) return image_.save(fileName, "PNG");
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) {
        return image_.convertToFormat(QImage::Format_RGB888).save(fileName, "JPG", std::clamp(jpegQuality, 0, 100));
    }
    return false;
}

void TBitmap::SaveToStream(TStream& stream) const
{
    WriteBmp(stream, image_, pf_);
}

void TBitmap::LoadFromStream(TStream& stream)
{
    TPixelFormat pf = pf_;
    QImage img = ReadBmp(stream, pf);
    image_ = img;
    pf_ = pf;
    width_ = img.isNull() ? 0 : img.width();
    height_ = img.isNull() ? 0 : img.height();
}

// ---- TPicture ----------------------------------------------------------

bool TPicture::LoadFromFile(const String& fileName)
{
    QImageReader reader(fileName);
    QImage img = reader.read();
    if (img.isNull()) return false;
    image_ = img;
    return true;
}

int32_t TPicture::Width() const { return image_.isNull() ? 0 : image_.width(); }
int32_t TPicture::Height() const { return image_.isNull() ? 0 : image_.height(); }

void TPicture::Draw(TCanvas& canvas, int32_t x, int32_t y) const
{
    if (image_.isNull()) return;
    TCanvasPainter::DrawImage(canvas, QRectF(x, y, image_.width(), image_.height()), image_, image_.hasAlphaChannel());
}

} // namespace mycad
