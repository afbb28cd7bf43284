// The drawing surface and its tools: pens, brushes, fonts, regions, bitmaps
// and pictures, shaped as the canvas logic uses them and implemented on Qt's
// raster engine.
//
// Shapes draw aliased so that pixels are exact and XOR outlines erase
// themselves when drawn twice; only text may be anti-aliased. Every ordinal
// below is stored in document files and must not change.
#pragma once

#include "platform/Types.h"

#include <QImage>
#include <QPainterPath>
#include <QTransform>

#include <cstdint>
#include <functional>
#include <memory>

class QPainter;
class QPaintDevice;

namespace mycad {

class TBitmap;
class TCanvas;
class TStream;

enum class TPenStyle : uint8_t {
    psSolid = 0,
    psDash = 1,
    psDot = 2,
    psDashDot = 3,
    psDashDotDot = 4,
    psClear = 5,
    psInsideFrame = 6,
    psUserStyle = 7,
    psAlternate = 8,
};

/// Raster operations of the pen, as bitwise operations on the pixels.
enum class TPenMode : uint8_t {
    pmBlack = 0,
    pmWhite = 1,
    pmNop = 2,
    pmNot = 3,
    pmCopy = 4,
    pmNotCopy = 5,
    pmMergePenNot = 6,
    pmMaskPenNot = 7,
    pmMergeNotPen = 8,
    pmMaskNotPen = 9,
    pmMerge = 10,
    pmNotMerge = 11,
    pmMask = 12,
    pmNotMask = 13,
    pmXor = 14,
    pmNotXor = 15,
};

enum class TBrushStyle : uint8_t {
    bsSolid = 0,
    bsClear = 1,
    bsHorizontal = 2,
    bsVertical = 3,
    bsFDiagonal = 4,
    bsBDiagonal = 5,
    bsCross = 6,
    bsDiagCross = 7,
};

/// Line joins and end caps of geometric pens (wide lines).
enum class TPenJoin : uint8_t { pjRound = 0, pjBevel = 1, pjMiter = 2 };
enum class TPenEndCap : uint8_t { pecRound = 0, pecSquare = 1, pecFlat = 2 };

enum class TFontStyle : uint8_t { fsBold = 0, fsItalic = 1, fsUnderline = 2, fsStrikeOut = 3 };
using TFontStyles = TSet<TFontStyle>;

enum class TFontPitch : uint8_t { fpDefault = 0, fpVariable = 1, fpFixed = 2 };

inline constexpr uint8_t DEFAULT_CHARSET = 1;

/// What reading a pixel outside the device returns.
inline constexpr TColor CLR_INVALID = 0xFFFFFFFF;

/// A pen: colour, width in device pixels, style and raster mode.
class TPen {
public:
    TPen() = default;
    /// Copies the settings; the copy has no OnChange of its own yet.
    TPen(const TPen& other);
    /// Copies the settings and keeps this pen's OnChange, without firing it.
    TPen& operator=(const TPen& other);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    int32_t Width() const { return width_; }
    void SetWidth(int32_t w);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle s);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode m);
    TPenJoin Join() const { return join_; }
    void SetJoin(TPenJoin j);
    TPenEndCap EndCap() const { return cap_; }
    void SetEndCap(TPenEndCap c);
    /// Copies every setting; fires OnChange once.
    void Assign(const TPen& other);
    /// Called after every change of a setting.
    std::function<void()> OnChange;

private:
    void Changed();
    TColor color_ = clBlack;
    int32_t width_ = 1;
    TPenStyle style_ = TPenStyle::psSolid;
    TPenMode mode_ = TPenMode::pmCopy;
    TPenJoin join_ = TPenJoin::pjRound;
    TPenEndCap cap_ = TPenEndCap::pecRound;
};

/// A brush: colour, hatch style, or a pattern bitmap that replaces both.
class TBrush {
public:
    TBrush();
    ~TBrush();
    /// Copies the settings and the pattern; OnChange stays with each brush.
    TBrush(const TBrush& other);
    TBrush& operator=(const TBrush& other);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle s);
    /// The pattern bitmap, or nullptr. The brush keeps its own copy.
    const TBitmap* Bitmap() const { return bitmap_.get(); }
    void SetBitmap(const TBitmap* b);
    void Assign(const TBrush& other);
    std::function<void()> OnChange;

private:
    void Changed();
    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
    std::unique_ptr<TBitmap> bitmap_;
};

/// A font. Size is in points and Height in pixels (negative: character height
/// without internal leading); they are related by the screen's pixels per inch:
/// Height = -round(Size * PPI / 72).
class TFont {
public:
    TFont() = default;
    /// Copies the settings; the copy has no OnChange of its own yet.
    TFont(const TFont& other);
    /// Copies the settings and keeps this font's OnChange, without firing it.
    TFont& operator=(const TFont& other);
    String Name() const { return name_; }
    void SetName(const String& n);
    int32_t Size() const;
    void SetSize(int32_t points);
    int32_t Height() const { return height_; }
    void SetHeight(int32_t h);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles s);
    uint8_t Charset() const { return charset_; }
    void SetCharset(uint8_t c);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch p);
    void Assign(const TFont& other);
    std::function<void()> OnChange;

private:
    void Changed();
    String name_ = QStringLiteral("DejaVu Sans");
    int32_t height_ = -11; // 8 points at 96 pixels per inch
    TColor color_ = clWindowText;
    TFontStyles style_;
    uint8_t charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = TFontPitch::fpDefault;
};

/// A logical font description: what a font is created from and what reading a
/// selected font returns.
struct TLogFont {
    int32_t lfHeight = 0;        ///< negative: character height in pixels
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;    ///< tenths of a degree, counter-clockwise
    int32_t lfOrientation = 0;
    int32_t lfWeight = 400;      ///< 400 normal, 700 bold
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = DEFAULT_CHARSET;
    uint8_t lfQuality = 0;       ///< 4: anti-aliased
    String lfFaceName;
};

/// A 2x2 matrix plus offset: x' = x*eM11 + y*eM21 + eDx, y' = x*eM12 + y*eM22 + eDy.
struct TXForm {
    float eM11 = 1, eM12 = 0, eM21 = 0, eM22 = 1, eDx = 0, eDy = 0;
};

struct TSize {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

/// Polygon fill modes.
inline constexpr int32_t ALTERNATE = 1;
inline constexpr int32_t WINDING = 2;
/// Graphics modes.
inline constexpr int32_t GM_COMPATIBLE = 1;
inline constexpr int32_t GM_ADVANCED = 2;
/// Map modes: device pixels, and hundredths of an inch with y upward.
inline constexpr int32_t MM_TEXT = 1;
inline constexpr int32_t MM_LOENGLISH = 4;
/// Background modes of text output.
inline constexpr int32_t TRANSPARENT = 1;
inline constexpr int32_t OPAQUE = 2;
/// Device capability indexes.
inline constexpr int32_t HORZRES = 8;
inline constexpr int32_t VERTRES = 10;
inline constexpr int32_t NUMCOLORS = 24;
inline constexpr int32_t LOGPIXELSX = 88;
inline constexpr int32_t LOGPIXELSY = 90;
/// Point types of a read-back path.
inline constexpr uint8_t PT_CLOSEFIGURE = 1;
inline constexpr uint8_t PT_LINETO = 2;
inline constexpr uint8_t PT_BEZIERTO = 4;
inline constexpr uint8_t PT_MOVETO = 6;

/// A polygon region in device pixels.
class TRegion {
public:
    TRegion() = default;
    /// fillMode is ALTERNATE or WINDING.
    static TRegion CreatePolygonRgn(const TArrPoint& points, int32_t fillMode);
    bool PtInRegion(int32_t x, int32_t y) const;
    bool IsEmpty() const;
    TRect BoundingRect() const;
    const QPainterPath& Path() const { return path_; }
    /// The pixels of a region made from an upright rectangle (a polygon of
    /// four corners, or five with the first repeated, on two rows and two
    /// columns): the pixels whose centres lie inside. False for any other
    /// region.
    bool IsRectangle(TRect& pixels) const;

private:
    QPainterPath path_;
    bool isRect_ = false;
    TRect rect_;
};

/// A drawing surface bound to a device: a control's surface image, a bitmap,
/// or any paint device (a printer page, a PDF or SVG writer, a picture, a
/// metafile). While a path is open (BeginPath..EndPath) the line, curve,
/// polygon and text primitives add to the path instead of drawing.
///
/// On a 32-bit image the commonest figures are set pixel by pixel, raster
/// pen modes combine with the pixels and pixels can be read back. On other
/// devices the canvas keeps one painter for as long as it is bound, because
/// document writers make one document per painter; there pen modes other
/// than copy draw as copy, nothing can be read back, and a canvas pixel is
/// one screen pixel (1/PixelsPerInch() inch) whatever the device's
/// resolution, so a page drawn for the screen comes out at its real size.
class TCanvas {
public:
    TCanvas();
    explicit TCanvas(QImage* target);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    /// Binds the canvas to another image (nullptr: no device; drawing is then
    /// ignored). Ends the painter of a paint device bound before.
    void SetTarget(QImage* target);
    QImage* Target() const { return target_; }
    /// Binds the canvas to a paint device and starts its painter; false
    /// (and no device) when the device cannot be painted on. nullptr ends
    /// the painter of the device bound before, which completes a document
    /// writer's file.
    bool SetDevice(QPaintDevice* device);
    QPaintDevice* Device() const { return device_; }
    /// Starts the next page of a printer or PDF writer; false on other devices.
    bool NewPage();
    /// Device units per canvas pixel (1 on images).
    double DeviceScale() const { return deviceScale_; }
    /// Device origin: the device pixel that the image's top-left pixel shows.
    /// A control whose surface covers only its visible part sets this to the
    /// visible part's top-left, so callers keep drawing in control coordinates.
    void SetDeviceOrigin(const TPoint& origin);
    TPoint DeviceOrigin() const { return origin_; }
    /// Image pixels per device pixel of the target (1 unless the target is a
    /// high-density surface). Coordinates stay device pixels; only the
    /// image underneath is finer.
    double DevicePixelRatio() const { return target_ ? target_->devicePixelRatio() : 1.0; }
    /// Moves the coordinate system by (dx, dy): afterwards what is drawn at
    /// (x + dx, y + dy) lands where (x, y) landed before, clipping included.
    /// Lets a caller draw a part of a larger picture in that picture's
    /// coordinates; the opposite shift undoes it exactly.
    void ShiftCoordinates(int32_t dx, int32_t dy);

    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    TFont& Font() { return font_; }
    const TPen& Pen() const { return pen_; }
    const TBrush& Brush() const { return brush_; }
    const TFont& Font() const { return font_; }

    TPoint PenPos() const { return penPos_; }
    void SetPenPos(const TPoint& p) { penPos_ = p; }

    // Primitives, in device pixels.
    void MoveTo(int32_t x, int32_t y);
    /// Draws from the pen position to (x, y), leaving out the end pixel, so a
    /// chain of lines sets every pixel once.
    void LineTo(int32_t x, int32_t y);
    void Polyline(const TArrPoint& points);
    void Polygon(const TArrPoint& points);
    void PolyBezier(const TArrPoint& points);
    /// The box's right column and bottom row stay outside: a 1-pixel pen
    /// outlines x1..x2-1, y1..y2-1 and the brush fills inside the outline
    /// (with a clear pen the fill, like the outline, ends before x2-1, y2-1).
    /// psInsideFrame keeps wide pens inside the box.
    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t w, int32_t h);
    void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    /// Arc, chord and pie of the ellipse in the box (x1, y1)-(x2, y2), running
    /// counter-clockwise from the ray toward (x3, y3) to the ray toward (x4, y4).
    void Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4);
    void Chord(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4);
    void Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4);
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    TColor Pixel(int32_t x, int32_t y) const;
    void SetPixel(int32_t x, int32_t y, TColor c);

    // Text: the font's escapement turns it about (x, y), the top-left of the unrotated text.
    void TextOut(int32_t x, int32_t y, const String& text);
    TSize TextExtent(const String& text) const;
    int32_t TextWidth(const String& text) const { return TextExtent(text).cx; }
    int32_t TextHeight(const String& text) const { return TextExtent(text).cy; }
    int32_t BkMode() const { return bkMode_; }
    void SetBkMode(int32_t mode) { bkMode_ = mode; }
    /// Extra pixels after every character.
    int32_t TextCharacterExtra() const { return charExtra_; }
    void SetTextCharacterExtra(int32_t extra) { charExtra_ = extra; }
    /// The logical description of the selected font; SelectLogFont replaces
    /// the selected font with one made from a description (escapement included)
    /// until DeselectLogFont; text keeps the colour of Font().
    TLogFont GetLogFont() const;
    void SelectLogFont(const TLogFont& lf);
    /// Drops a font selected by SelectLogFont and returns to Font().
    void DeselectLogFont();

    // Bitmaps.
    void Draw(int32_t x, int32_t y, const TBitmap& bitmap);
    void StretchDraw(const TRect& dest, const TBitmap& bitmap);
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);

    // Paths.
    void BeginPath();
    void EndPath();
    void AbortPath();
    void CloseFigure();
    bool IsPathOpen() const { return pathOpen_; }
    void StrokePath();
    void FillPath();
    void StrokeAndFillPath();
    void FlattenPath();
    /// The points of the path and their types (PT_MOVETO, PT_LINETO,
    /// PT_BEZIERTO, with PT_CLOSEFIGURE or-ed in); returns the count.
    int32_t GetPath(TArrPoint& points, TArrByte& types) const;
    int32_t PolyFillMode() const { return polyFillMode_; }
    void SetPolyFillMode(int32_t mode) { polyFillMode_ = mode; }

    // Regions and clipping.
    void FillRgn(const TRegion& region, const TBrush& brush);
    /// Clips all drawing to the region; nullptr removes the clip.
    void SelectClipRgn(const TRegion* region);
    /// The area drawing currently reaches, in device pixels.
    TRect ClipRect() const;
    /// Restricts drawing to r (a paint's invalid area); an empty rectangle removes it.
    void SetClipRect(const TRect& r);

    // Transforms.
    int32_t GraphicsMode() const { return graphicsMode_; }
    void SetGraphicsMode(int32_t mode) { graphicsMode_ = mode; }
    TXForm GetWorldTransform() const { return xform_; }
    /// Only in GM_ADVANCED; returns false otherwise.
    bool SetWorldTransform(const TXForm& xf);
    int32_t MapMode() const { return mapMode_; }
    void SetMapMode(int32_t mode) { mapMode_ = mode; }

    /// HORZRES, VERTRES, NUMCOLORS (-1 on colour devices; 2 on black-and-white printers), LOGPIXELSX/Y.
    int32_t GetDeviceCaps(int32_t index) const;
    void SetNumColors(int32_t n) { numColors_ = n; }
    /// Pixels per inch of the device (0: the screen's); map modes and
    /// LOGPIXELSX/Y use it.
    int32_t PixelsPerInch() const;
    void SetPixelsPerInch(int32_t ppi) { ppi_ = ppi; }

private:
    friend class TCanvasPainter;
    friend class TCanvasPath;
    friend class TCanvasDirect;
    /// One point of the current path, in logical coordinates.
    struct PathPoint {
        double X = 0;
        double Y = 0;
        uint8_t Type = 0;
    };
    QImage* target_ = nullptr;
    QPaintDevice* device_ = nullptr;
    std::unique_ptr<QPainter> devicePainter_;
    double deviceScale_ = 1.0;
    TPoint origin_;
    TPen pen_;
    TBrush brush_;
    TFont font_;
    TPoint penPos_;
    int32_t bkMode_ = OPAQUE;
    int32_t charExtra_ = 0;
    bool logFontSelected_ = false;
    TLogFont logFont_;
    bool pathOpen_ = false;
    std::vector<PathPoint> path_;
    // The path's current figure: index of its move-to point, -1 when the
    // next segment starts a new figure at penPos_.
    int32_t figureStart_ = -1;
    int32_t polyFillMode_ = ALTERNATE;
    bool hasClipRegion_ = false;
    QPainterPath clipRegion_;
    TRect clipRect_;
    int32_t graphicsMode_ = GM_COMPATIBLE;
    TXForm xform_;
    int32_t mapMode_ = MM_TEXT;
    int32_t numColors_ = -1;
    int32_t ppi_ = 0;
};

enum class TPixelFormat : uint8_t { pfDevice = 0, pf1bit = 1, pf4bit = 2, pf8bit = 3, pf15bit = 4, pf16bit = 5, pf24bit = 6, pf32bit = 7, pfCustom = 8 };
enum class TTransparentMode : uint8_t { tmAuto = 0, tmFixed = 1 };

/// A raster bitmap with a canvas. 24-bit scan lines hold blue, green, red
/// byte triples; 32-bit scan lines blue, green, red, unused.
class TBitmap {
public:
    TBitmap();
    TBitmap(int32_t width, int32_t height, TPixelFormat pf = TPixelFormat::pf24bit);
    ~TBitmap();
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);

    int32_t Width() const;
    int32_t Height() const;
    void SetWidth(int32_t w);
    void SetHeight(int32_t h);
    /// Keeps the pixels that still fit; new pixels are white.
    void SetSize(int32_t w, int32_t h);
    bool Empty() const { return Width() == 0 || Height() == 0; }
    /// Image pixels per bitmap pixel (1 by default): a buffer for a
    /// high-density screen keeps its size and gets finer pixels. Width,
    /// Height and every drawing position stay in bitmap pixels.
    void SetDevicePixelRatio(double ratio);
    double DevicePixelRatio() const { return dpr_; }
    TPixelFormat PixelFormat() const { return pf_; }
    /// Converts the pixels to the new format.
    void SetPixelFormat(TPixelFormat pf);

    /// Row y, top row 0; nullptr outside the bitmap.
    uint8_t* ScanLine(int32_t y);
    const uint8_t* ScanLine(int32_t y) const;

    TCanvas& Canvas();

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool t) { transparent_ = t; }
    /// In tmAuto the colour of the bottom-left pixel; in tmFixed the colour set.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor c);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode m) { transparentMode_ = m; }

    void Assign(const TBitmap& other);
    /// Loads BMP, PNG, JPEG or ICO; false when the file cannot be read. A BMP
    /// keeps its own pixel format; other formats become 24 bits.
    bool LoadFromFile(const String& fileName);
    /// Writes the format the name's extension says (bmp, png, jpg/jpeg); false on failure.
    bool SaveToFile(const String& fileName, int32_t jpegQuality = 90) const;
    /// A Windows BMP file's bytes: 14-byte file header, 40-byte info header,
    /// colour table for 1, 4 and 8 bits, bottom-up rows padded to 4 bytes.
    void SaveToStream(TStream& stream) const;
    /// Reads a BMP written by SaveToStream or another program (1, 4, 8, 24 and
    /// 32 bits); raises EReadError when the bytes are no valid bitmap.
    void LoadFromStream(TStream& stream);

    /// The image behind the bitmap, for the platform and the applications.
    /// pf1bit is Format_Mono; pf4bit and pf8bit are Format_Indexed8 (one index
    /// byte per pixel in their scan lines); pf15bit Format_RGB555; pf16bit
    /// Format_RGB16; pf24bit Format_BGR888; pf32bit, pfDevice and pfCustom
    /// Format_RGB32.
    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }
    /// Takes the picture of img, converted to this bitmap's pixel format;
    /// transparent pixels of img are put on white.
    void SetImage(const QImage& img);

private:
    QImage image_; // null while either side is 0
    int32_t width_ = 0;
    int32_t height_ = 0;
    TPixelFormat pf_ = TPixelFormat::pf24bit;
    double dpr_ = 1.0;
    std::unique_ptr<TCanvas> canvas_;
    bool transparent_ = false;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = TTransparentMode::tmAuto;
};

/// A picture of any supported file format (PNG, JPEG, ICO, BMP, and EMF/WMF
/// once metafiles exist), loaded to be drawn on a canvas.
class TPicture {
public:
    /// False when the file cannot be read or decoded.
    bool LoadFromFile(const String& fileName);
    int32_t Width() const;
    int32_t Height() const;
    void Draw(TCanvas& canvas, int32_t x, int32_t y) const;

private:
    QImage image_;
};

} // namespace mycad
