// Pictures pixel by pixel, in the blue, green, red byte order the bitmap
// code works in: brightness, contrast, flips, turns, loading by ending, and
// the gradient patterns.
#include "cad/geometry/BitmapUtils.h"
#include "cad/geometry/Gradient.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <ostream>
#include <string>

using namespace mycad;

namespace {

// One pixel of a 24-bit bitmap, read and written through its scan line.
struct Bgr {
    uint8_t b = 0;
    uint8_t g = 0;
    uint8_t r = 0;
    friend bool operator==(const Bgr&, const Bgr&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Bgr& p)
    {
        return os << "(b " << int(p.b) << ", g " << int(p.g) << ", r " << int(p.r) << ")";
    }
};

Bgr PixelAt(const TBitmap& bmp, int32_t x, int32_t y)
{
    const uint8_t* p = bmp.ScanLine(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

void SetPixelAt(TBitmap& bmp, int32_t x, int32_t y, Bgr c)
{
    uint8_t* p = bmp.ScanLine(y) + 3 * x;
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
}

constexpr Bgr kWhite{255, 255, 255};

constexpr double kPi = std::numbers::pi;

// A picture whose every pixel says where it is: red = x, green = y.
TBitmap Coordinates(int32_t w, int32_t h)
{
    TBitmap bmp(w, h, TPixelFormat::pf24bit);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) SetPixelAt(bmp, x, y, {7, uint8_t(y), uint8_t(x)});
    return bmp;
}

TBitmap OneRow(std::initializer_list<uint8_t> bytes)
{
    TBitmap bmp(int32_t(bytes.size() / 3), 1, TPixelFormat::pf24bit);
    std::memcpy(bmp.ScanLine(0), std::data(bytes), bytes.size());
    return bmp;
}

std::vector<uint8_t> RowBytes(const TBitmap& bmp, int32_t y)
{
    const uint8_t* p = bmp.ScanLine(y);
    return {p, p + 3 * bmp.Width()};
}

// The pixel mapping of a turn evaluated directly, one pixel at a time in the
// order rows last to first and columns last to first, on a source already of
// the target size.
TBitmap ReferenceRotate(const TBitmap& src, double angle, int32_t pivotDx, int32_t pivotDy)
{
    const int32_t w = src.Width();
    const int32_t h = src.Height();
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const int32_t cx = w / 2 + pivotDx;
    const int32_t cy = h / 2 + pivotDy;
    const int32_t nw = RoundToInt(std::fabs(h * s) + std::fabs(w * c));
    const int32_t nh = RoundToInt(std::fabs(w * s) + std::fabs(h * c));
    TBitmap out(nw, nh, TPixelFormat::pf24bit);
    const int32_t ox = (nw - w) / 2 + cx;
    const int32_t oy = (nh - h) / 2 + cy;
    for (int32_t y = nh - 1; y >= 0; --y) {
        for (int32_t x = nw - 1; x >= 0; --x) {
            const int32_t a = 2 * (x - ox) + 1;
            const int32_t b = 2 * (y - oy) + 1;
            const int32_t sa = RoundToInt(a * c - b * s);
            const int32_t sb = RoundToInt(a * s + b * c);
            const int32_t sx = (sa - 1) / 2 + cx;
            const int32_t sy = (sb - 1) / 2 + cy;
            SetPixelAt(out, x, y, sx >= 0 && sx < w && sy >= 0 && sy < h ? PixelAt(src, sx, sy) : kWhite);
        }
    }
    return out;
}

void ExpectSamePixels(const TBitmap& a, const TBitmap& b, const char* what)
{
    ASSERT_EQ(a.Width(), b.Width()) << what;
    ASSERT_EQ(a.Height(), b.Height()) << what;
    for (int32_t y = 0; y < a.Height(); ++y) ASSERT_EQ(RowBytes(a, y), RowBytes(b, y)) << what << " row " << y;
}

bool IsRed(const Bgr& p) { return p.r > 200 && p.g < 60 && p.b < 60; }

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// From blue to red every entry can be read back from its pixel: red is the
// entry and blue 255 minus it.
int32_t EntryAt(const TBitmap& bmp, int32_t x, int32_t y)
{
    const Bgr p = PixelAt(bmp, x, y);
    EXPECT_EQ(p.g, 0);
    EXPECT_EQ(p.b, 255 - p.r) << x << "," << y;
    return p.r;
}

TBitmap Build(TGradientStyle style)
{
    TBitmap bmp;
    BuildGradient(RGB(0, 0, 255), RGB(255, 0, 0), style, bmp);
    return bmp;
}

} // namespace

TEST(BitmapUtils, BrightnessAddsAndClampsAtBothEnds)
{
    for (const auto& [amount, want] : std::vector<std::pair<int32_t, std::vector<uint8_t>>>{
             {100, {255, 110, 150, 100, 255, 228}},
             {-100, {100, 0, 0, 0, 155, 28}},
             // Amounts past a byte's range saturate instead of overflowing.
             {std::numeric_limits<int32_t>::max(), std::vector<uint8_t>(6, 255)},
             {std::numeric_limits<int32_t>::min(), std::vector<uint8_t>(6, 0)}}) {
        TBitmap bmp = OneRow({200, 10, 50, 0, 255, 128});
        AdjustBrightBitmap(bmp, amount);
        EXPECT_EQ(RowBytes(bmp, 0), want) << amount;
    }
}

TEST(BitmapUtils, ContrastSpreadsFromOrPullsToTheMiddle)
{
    const std::initializer_list<uint8_t> values{0, 127, 128, 200, 50, 255};
    TBitmap bmp = OneRow(values);
    AdjustContrastBitmap(bmp, 0);
    EXPECT_EQ(RowBytes(bmp, 0), std::vector<uint8_t>(values));
    AdjustContrastBitmap(bmp, 255);
    EXPECT_EQ(RowBytes(bmp, 0), (std::vector<uint8_t>{0, 127, 129, 255, 0, 255}));

    bmp = OneRow(values);
    AdjustContrastBitmap(bmp, -255);
    // 0 -> 0 + 127; 128 -> 128 - 1; 255 -> 255 - 128.
    EXPECT_EQ(RowBytes(bmp, 0), (std::vector<uint8_t>{127, 127, 127, 127, 127, 127}));

    // The step is truncated toward zero on both sides: |127 - 100| * 10 / 255
    // is 1.06 and |127 - 200| * -10 / 255 is -2.86.
    bmp = OneRow({100, 200, 127});
    AdjustContrastBitmap(bmp, 10);
    EXPECT_EQ(RowBytes(bmp, 0), (std::vector<uint8_t>{99, 202, 127}));
    bmp = OneRow({100, 200, 127});
    AdjustContrastBitmap(bmp, -10);
    EXPECT_EQ(RowBytes(bmp, 0), (std::vector<uint8_t>{101, 198, 127}));

    // Huge amounts clamp instead of overflowing the product.
    bmp = OneRow({126, 127, 128});
    AdjustContrastBitmap(bmp, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RowBytes(bmp, 0), (std::vector<uint8_t>{0, 127, 255}));
}

TEST(BitmapUtils, FlipMirrorsPixelsAndKeepsTransparency)
{
    for (const auto& [horz, vert] : {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
        TBitmap bmp = Coordinates(4, 3);
        bmp.SetTransparent(true);
        bmp.SetTransparentColor(clLime);
        bmp.SetTransparentMode(TTransparentMode::tmFixed);
        FlipBitmap(bmp, horz, vert);
        ASSERT_EQ(bmp.Width(), 4);
        ASSERT_EQ(bmp.Height(), 3);
        for (int32_t y = 0; y < 3; ++y) {
            for (int32_t x = 0; x < 4; ++x) {
                EXPECT_EQ(PixelAt(bmp, x, y), (Bgr{7, uint8_t(vert ? 2 - y : y), uint8_t(horz ? 3 - x : x)}))
                    << horz << vert << " at " << x << "," << y;
            }
        }
        EXPECT_TRUE(bmp.Transparent());
        EXPECT_EQ(bmp.TransparentMode(), TTransparentMode::tmFixed);
        EXPECT_EQ(bmp.TransparentColor(), clLime);
    }
    TBitmap empty;
    FlipBitmap(empty, true, true);
    EXPECT_TRUE(empty.Empty());
}

TEST(BitmapUtils, RotationPlacesEveryPixel)
{
    TBitmap src = Coordinates(100, 50);

    // A quarter turn: the picture appears turned counter-clockwise, its top
    // row running up the left column.
    std::unique_ptr<TBitmap> r = RotateBitmap(src, kPi / 2, 100, 50, 0, 0);
    ASSERT_TRUE(r);
    ASSERT_EQ(r->Width(), 50);
    ASSERT_EQ(r->Height(), 100);
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 50; ++x)
            ASSERT_EQ(PixelAt(*r, x, y), PixelAt(src, 99 - y, x)) << x << "," << y;

    // Half turns, moved pivots and other angles (which enlarge the bitmap)
    // are checked against the direct pixel mapping below.

    // Pivot offsets at the ends of the range only move the picture away.
    r = RotateBitmap(src, 1.0, 100, 50, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min());
    for (int32_t y = 0; y < r->Height(); ++y)
        for (int32_t x = 0; x < r->Width(); ++x) ASSERT_EQ(PixelAt(*r, x, y), kWhite);

    // Degenerate sizes give empty results instead of failing.
    EXPECT_TRUE(RotateBitmap(src, 1.0, 0, 0, 0, 0)->Empty());
    EXPECT_TRUE(RotateBitmap(src, 1.0, -5, 10, 0, 0)->Empty());
    TBitmap none;
    EXPECT_TRUE(RotateBitmap(none, kPi / 2, 0, 0, 0, 0)->Empty());
    // No turn, and a non-finite angle, give a copy.
    ExpectSamePixels(*RotateBitmap(src, 0.0, 100, 50, 0, 0), src, "angle 0");
    ExpectSamePixels(*RotateBitmap(src, std::nan(""), 100, 50, 0, 0), src, "nan");
}

TEST(BitmapUtils, RotationMatchesTheDirectPixelMapping)
{
    struct Case {
        int32_t w, h;
        double angle;
        int32_t dx, dy;
    };
    const Case cases[] = {
        {100, 50, kPi / 6, 0, 0},   {37, 23, -kPi / 4, 0, 0}, {64, 64, 1.0, 3, -5},      {31, 47, 2 * kPi / 3, -40, 17},
        {20, 9, 3.0, 0, 0},         {9, 20, -2.5, 1, 1},      {40, 30, 7.0, 0, 0},       {40, 30, 1e-9, 0, 0},
        {1, 1, 0.3, 0, 0},          {2, 3, kPi / 2, 0, 0},    {50, 25, -kPi, 0, 0},      {33, 17, 3 * kPi / 2, 2, 0},
        {24, 24, 0.5235987755982989, 0, 0},  // sine exactly 0.5: half-integer products
        {100, 50, kPi, 20, 0},
    };
    for (const Case& k : cases) {
        TBitmap src = Coordinates(k.w, k.h);
        std::unique_ptr<TBitmap> fast = RotateBitmap(src, k.angle, k.w, k.h, k.dx, k.dy);
        const TBitmap reference = ReferenceRotate(src, k.angle, k.dx, k.dy);
        const std::string what = std::to_string(k.w) + "x" + std::to_string(k.h) + " by " + std::to_string(k.angle);
        ExpectSamePixels(*fast, reference, what.c_str());
    }

    // A source of another size or format is scaled to 24 bits first; the turn
    // of that is the turn of the scaled picture.
    TBitmap small = Coordinates(50, 25);
    const std::unique_ptr<TBitmap> enlarged = RotateBitmap(small, 0.0, 100, 50, 0, 0);
    ExpectSamePixels(*RotateBitmap(small, 0.4, 100, 50, 2, 3), ReferenceRotate(*enlarged, 0.4, 2, 3), "scaled");
    TBitmap wide = Coordinates(30, 20);
    wide.SetPixelFormat(TPixelFormat::pf32bit);
    const TBitmap narrow = Coordinates(30, 20);
    ExpectSamePixels(*RotateBitmap(wide, -1.1, 30, 20, 0, 0), ReferenceRotate(narrow, -1.1, 0, 0), "32 bits");
}

TEST(BitmapUtils, RotationCarriesTransparencyAndLeavesTheSourceAlone)
{
    TBitmap src = Coordinates(10, 6);
    src.SetTransparent(true);
    src.SetTransparentColor(clLime);
    src.SetTransparentMode(TTransparentMode::tmFixed);

    for (int round = 0; round < 2; ++round) {  // a second turn sees the same source
        std::unique_ptr<TBitmap> r = RotateBitmap(src, 0.7, 10, 6, 0, 0);
        EXPECT_TRUE(r->Transparent()) << round;
        EXPECT_EQ(r->TransparentMode(), TTransparentMode::tmFixed) << round;
        EXPECT_EQ(r->TransparentColor(), clLime) << round;
        EXPECT_TRUE(src.Transparent()) << round;
    }
    // The transparent pixels are drawn as they are, so they stay transparent.
    SetPixelAt(src, 0, 0, {0, 255, 0});
    std::unique_ptr<TBitmap> same = RotateBitmap(src, 0.0, 10, 6, 0, 0);
    EXPECT_EQ(PixelAt(*same, 0, 0), (Bgr{0, 255, 0}));
    EXPECT_TRUE(same->Transparent());
    EXPECT_EQ(same->TransparentMode(), TTransparentMode::tmFixed);

    // In automatic mode the colour remembered is the source's bottom-left pixel.
    TBitmap autoSrc = Coordinates(10, 6);
    autoSrc.SetTransparent(true);
    std::unique_ptr<TBitmap> r = RotateBitmap(autoSrc, 0.7, 10, 6, 0, 0);
    EXPECT_EQ(r->TransparentMode(), TTransparentMode::tmFixed);
    EXPECT_EQ(r->TransparentColor(), RGB(0, 5, 7));
}

TEST(BitmapUtils, LoadGraphicsFileByEnding)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto path = [&dir](const char* name) { return dir.filePath(QString::fromLatin1(name)); };

    TBitmap picture = Coordinates(40, 30);
    for (int32_t y = 0; y < 30; ++y)  // flat halves survive JPEG compression
        for (int32_t x = 0; x < 40; ++x) SetPixelAt(picture, x, y, x < 20 ? Bgr{0, 0, 255} : Bgr{255, 0, 0});

    // JPEG under a mixed-case .jpeg ending.
    ASSERT_TRUE(picture.SaveToFile(path("photo.jpg")));
    ASSERT_TRUE(QFile::rename(path("photo.jpg"), path("photo.JpEg")));
    std::unique_ptr<TBitmap> jpeg = LoadGraphicsFile(path("photo.JpEg"));
    ASSERT_TRUE(jpeg);
    EXPECT_TRUE(IsRed(PixelAt(*jpeg, 5, 15)));
    EXPECT_GT(PixelAt(*jpeg, 35, 15).b, 200);

    // PNG and BMP keep every pixel.
    picture = Coordinates(40, 30);
    for (const char* name : {"p.png", "p.bmp"}) {
        ASSERT_TRUE(picture.SaveToFile(path(name)));
        ExpectSamePixels(*LoadGraphicsFile(path(name)), picture, name);
    }

    // An existing file of an unknown ending is an assertion failure, not a crash.
    ASSERT_TRUE(QFile::copy(path("p.png"), path("picture.gif")));
    EXPECT_THROW(LoadGraphicsFile(path("picture.gif")), EAssertionFailed);
    WriteFile(path("x.tiff"), "II*");
    EXPECT_THROW(LoadGraphicsFile(path("x.tiff")), EAssertionFailed);

    // Damaged files of a known ending report the failure.
    WriteFile(path("broken.png"), "not a picture at all");
    EXPECT_THROW(LoadGraphicsFile(path("broken.png")), EInvalidGraphic);
    ASSERT_TRUE(QFile::copy(path("broken.png"), path("broken.bmp")));
    EXPECT_THROW(LoadGraphicsFile(path("broken.bmp")), EInvalidGraphic);
}

TEST(BitmapUtils, MissingFilesAndMetafilesGiveTheRedCross)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteFile(dir.filePath("drawing.wmf"), "\xd7\xcd\xc6\x9a");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.png"));

    for (const QString& name : {dir.filePath("missing.png"), dir.filePath("missing.gif"), dir.filePath("drawing.wmf"),
                                dir.filePath("folder.png"), QString()}) {
        std::unique_ptr<TBitmap> cross = LoadGraphicsFile(name);
        ASSERT_TRUE(cross) << name.toStdString();
        ASSERT_EQ(cross->Width(), 32);
        ASSERT_EQ(cross->Height(), 32);
        EXPECT_EQ(cross->PixelFormat(), TPixelFormat::pf24bit);
        // Both diagonals, three pixels wide.
        for (int32_t i : {4, 10, 15, 16, 21, 27}) {
            EXPECT_TRUE(IsRed(PixelAt(*cross, i, i))) << i;
            EXPECT_TRUE(IsRed(PixelAt(*cross, i, 31 - i))) << i;
            EXPECT_TRUE(IsRed(PixelAt(*cross, i + 1, i))) << i;
            EXPECT_TRUE(IsRed(PixelAt(*cross, i, i + 1))) << i;
        }
        // Away from the lines the placeholder is white.
        for (TPoint p : {Point(16, 2), Point(2, 16), Point(29, 16), Point(16, 29), Point(0, 15), Point(31, 16)})
            EXPECT_EQ(PixelAt(*cross, p.X, p.Y), kWhite) << p.X << "," << p.Y;
    }
}

TEST(Gradient, ColourTableRunsFromBeginToEnd)
{
    TGradientColors t = BuildGradientColors(clWhite, clBlack);
    EXPECT_EQ(t[0], (TRGBTriple{255, 255, 255}));
    EXPECT_EQ(t[255], (TRGBTriple{0, 0, 0}));
    EXPECT_EQ(t[128], (TRGBTriple{127, 127, 127}));  // 128 * -255 div 255 = -128

    t = BuildGradientColors(RGB(0, 0, 0), RGB(255, 0, 10));
    EXPECT_EQ(t[100].rgbtRed, 100);
    EXPECT_EQ(t[100].rgbtGreen, 0);
    EXPECT_EQ(t[100].rgbtBlue, 3);  // 1000 div 255
    EXPECT_EQ(t[255], (TRGBTriple{10, 0, 255}));

    // A falling channel truncates toward zero: 10 + (100 * -10) div 255 = 10 - 3.
    t = BuildGradientColors(RGB(0, 0, 10), RGB(0, 0, 0));
    EXPECT_EQ(t[100].rgbtBlue, 7);

    // System colours are resolved first.
    const TColor window = ColorToRGB(clWindow);
    t = BuildGradientColors(clWindow, clBtnText);
    EXPECT_EQ(t[0], (TRGBTriple{GetBValue(window), GetGValue(window), GetRValue(window)}));
    const TColor text = ColorToRGB(clBtnText);
    EXPECT_EQ(t[255], (TRGBTriple{GetBValue(text), GetGValue(text), GetRValue(text)}));
}

TEST(Gradient, EveryPatternHasItsSizeCornersAndCentre)
{
    struct Expect {
        TGradientStyle style;
        int32_t w, h;
        int32_t topLeft, topRight, bottomLeft, bottomRight, centre;
    };
    using S = TGradientStyle;
    const Expect table[] = {
        {S::gsRadialC, 362, 362, 255, 255, 255, 255, 1},
        {S::gsRadialT, 362, 181, 180, 180, 255, 255, 90},
        {S::gsRadialB, 362, 181, 255, 255, 180, 180, 90},
        {S::gsRadialL, 181, 362, 180, 255, 180, 255, 90},
        {S::gsRadialR, 181, 362, 255, 180, 255, 180, 90},
        {S::gsRadialTL, 181, 181, 0, 180, 180, 255, 127},
        {S::gsRadialTR, 181, 181, 180, 0, 255, 180, 127},
        {S::gsRadialBL, 181, 181, 180, 255, 0, 180, 127},
        {S::gsRadialBR, 181, 181, 255, 180, 180, 0, 127},
        {S::gsLinearH, 1, 256, 0, 0, 255, 255, 128},
        {S::gsLinearV, 256, 1, 0, 255, 0, 255, 128},
        {S::gsReflectedH, 1, 512, 255, 255, 255, 255, 0},
        {S::gsReflectedV, 512, 1, 255, 255, 255, 255, 0},
        {S::gsDiagonalLF, 128, 129, 127, 0, 255, 128, 127},
        {S::gsDiagonalLB, 128, 129, 0, 127, 128, 255, 128},
        {S::gsDiagonalRF, 256, 256, 0, 255, 255, 0, 0},
        {S::gsDiagonalRB, 256, 256, 255, 0, 0, 255, 1},
        {S::gsArrowL, 129, 256, 255, 127, 255, 127, 64},
        {S::gsArrowR, 129, 256, 127, 255, 127, 255, 64},
        {S::gsArrowU, 256, 129, 255, 255, 127, 127, 64},
        {S::gsArrowD, 256, 129, 127, 127, 255, 255, 64},
        {S::gsDiamond, 256, 256, 255, 255, 255, 255, 1},
        {S::gsButterfly, 256, 256, 128, 128, 127, 128, 128},
    };
    static_assert(std::size(table) == 23);
    for (const Expect& e : table) {
        const TBitmap bmp = Build(e.style);
        const std::string name = "style " + std::to_string(int(e.style));
        ASSERT_EQ(bmp.Width(), e.w) << name;
        ASSERT_EQ(bmp.Height(), e.h) << name;
        EXPECT_EQ(EntryAt(bmp, 0, 0), e.topLeft) << name;
        EXPECT_EQ(EntryAt(bmp, e.w - 1, 0), e.topRight) << name;
        EXPECT_EQ(EntryAt(bmp, 0, e.h - 1), e.bottomLeft) << name;
        EXPECT_EQ(EntryAt(bmp, e.w - 1, e.h - 1), e.bottomRight) << name;
        EXPECT_EQ(EntryAt(bmp, e.w / 2, e.h / 2), e.centre) << name;
    }
}
