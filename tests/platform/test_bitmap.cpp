// Bitmaps: scan lines, sizes and formats, copies, transparency, drawing
// bitmaps on canvases, and the image files they load and save.
#include "platform/Graphics.h"
#include "platform/Streams.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace mycad;

namespace {

TColor At(TBitmap& b, int x, int y)
{
    return b.Canvas().Pixel(x, y);
}

struct PixelIs {
    int x;
    int y;
    TColor colour;
};

void ExpectPixels(TBitmap& b, std::initializer_list<PixelIs> pixels)
{
    for (const PixelIs& p : pixels) EXPECT_EQ(At(b, p.x, p.y), p.colour) << "pixel " << p.x << "," << p.y;
}

} // namespace

TEST(Bitmap, ScanLinesAreBlueGreenRedAndWriteThrough)
{
    TBitmap bmp(4, 3);
    // New pixels are white.
    EXPECT_EQ(At(bmp, 3, 2), clWhite);

    bmp.Canvas().Brush().SetColor(RGB(30, 20, 10));
    bmp.Canvas().FillRect(Rect(1, 1, 2, 2));
    const uint8_t* row = bmp.ScanLine(1);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(row + 3, row + 6), (std::vector<uint8_t>{10, 20, 30})); // blue, green, red
    EXPECT_EQ(row[0], 255);

    const uint8_t written[] = {1, 2, 3};
    std::memcpy(bmp.ScanLine(2) + 6, written, 3);
    EXPECT_EQ(At(bmp, 2, 2), RGB(3, 2, 1));

    EXPECT_EQ(bmp.ScanLine(-1), nullptr);
    EXPECT_EQ(bmp.ScanLine(3), nullptr);
    EXPECT_EQ(TBitmap().ScanLine(0), nullptr);

    // 32-bit rows hold blue, green, red, unused.
    bmp.SetPixelFormat(TPixelFormat::pf32bit);
    const uint8_t* wide = bmp.ScanLine(1);
    EXPECT_EQ(std::vector<uint8_t>(wide + 4, wide + 7), (std::vector<uint8_t>{10, 20, 30}));
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    EXPECT_EQ(bmp.ScanLine(1)[3], 10);

    // Fewer bits keep the colours their palettes hold.
    bmp.Canvas().SetPixel(0, 0, clRed);
    bmp.SetPixelFormat(TPixelFormat::pf8bit);
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    ExpectPixels(bmp, {{0, 0, clRed}, {3, 2, clWhite}});
    bmp.SetPixelFormat(TPixelFormat::pf1bit);
    ExpectPixels(bmp, {{0, 0, clBlack}, {3, 2, clWhite}});
}

TEST(Bitmap, SizeKeepsPixelsAndCopiesAreIndependent)
{
    TBitmap bmp;
    EXPECT_TRUE(bmp.Empty());
    // Width and height may be set one after the other.
    bmp.SetWidth(5);
    EXPECT_TRUE(bmp.Empty());
    bmp.SetHeight(4);
    EXPECT_FALSE(bmp.Empty());
    bmp.Canvas().Brush().SetColor(clBlue);
    bmp.Canvas().FillRect(Rect(0, 0, 5, 4));
    bmp.SetSize(7, 2);
    ExpectPixels(bmp, {{4, 1, clBlue}, {5, 1, clWhite}, {0, 3, CLR_INVALID}});

    TBitmap copy(bmp);
    copy.ScanLine(0)[0] = 0x11;
    EXPECT_EQ(bmp.ScanLine(0)[0], 0xFF); // blue byte of clBlue
    TBitmap other;
    other.Assign(bmp);
    other.Canvas().Brush().SetColor(clRed);
    other.Canvas().FillRect(Rect(0, 0, 7, 2));
    EXPECT_EQ(At(bmp, 0, 0), clBlue);
    EXPECT_EQ(At(other, 0, 0), clRed);
}

TEST(Bitmap, TransparencyAndDrawing)
{
    TBitmap sprite(3, 3);
    sprite.Canvas().Brush().SetColor(clLime);
    sprite.Canvas().FillRect(Rect(0, 0, 3, 3));
    sprite.Canvas().SetPixel(1, 1, clRed);
    EXPECT_EQ(sprite.TransparentColor(), clLime); // bottom-left pixel
    sprite.SetTransparentColor(clLime);
    sprite.SetTransparent(true);

    TBitmap dest(10, 10);
    dest.Canvas().Draw(2, 3, sprite);
    // The transparent colour leaves the pixel.
    ExpectPixels(dest, {{3, 4, clRed}, {2, 3, clWhite}, {5, 3, clWhite}});

    sprite.SetTransparent(false);
    dest.Canvas().Draw(6, 6, sprite);
    EXPECT_EQ(At(dest, 6, 6), clLime);

    // Stretching a 2 x 1 bitmap to 4 x 2 doubles each pixel.
    TBitmap two(2, 1);
    two.Canvas().SetPixel(0, 0, clBlack);
    TBitmap big(6, 4);
    big.Canvas().StretchDraw(Rect(1, 1, 5, 3), two);
    ExpectPixels(big, {{1, 1, clBlack}, {2, 2, clBlack}, {3, 1, clWhite}, {0, 0, clWhite}, {5, 1, clWhite}});
}

namespace {

// Little-endian bytes of a hand-made BMP file.
struct BmpBytes {
    std::vector<uint8_t> bytes;
    void U8(int v) { bytes.push_back(static_cast<uint8_t>(v)); }
    void U16(uint32_t v) { U8(v & 0xFF); U8((v >> 8) & 0xFF); }
    void U32(uint32_t v) { U16(v & 0xFFFF); U16(v >> 16); }
    // File header and 40-byte info header; offBits counts both plus the table.
    void Headers(int32_t w, int32_t h, int bits, uint32_t tableEntries, uint32_t compression = 0, uint32_t clrUsed = 0)
    {
        const uint32_t off = 54 + 4 * tableEntries;
        U8('B'); U8('M'); U32(0); U32(0); U32(off);
        U32(40); U32(static_cast<uint32_t>(w)); U32(static_cast<uint32_t>(h)); U16(1); U16(bits);
        U32(compression); U32(0); U32(0); U32(0); U32(clrUsed); U32(0);
    }
    void Entry(int r, int g, int b) { U8(b); U8(g); U8(r); U8(0); }
};

TBitmap Load(const std::vector<uint8_t>& bytes)
{
    TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    TBitmap b;
    b.LoadFromStream(s);
    EXPECT_EQ(s.Position(), s.Size());
    return b;
}

uint32_t Field32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24);
}

} // namespace

TEST(BitmapStream, TwentyFourBitRoundTripIsByteStable)
{
    TBitmap bmp(5, 3);
    bmp.Canvas().SetPixel(0, 2, RGB(1, 2, 3));
    bmp.Canvas().SetPixel(4, 0, RGB(200, 100, 50));
    bmp.Canvas().SetPixel(2, 1, clBlack);
    TMemoryStream first;
    bmp.SaveToStream(first);
    const std::vector<uint8_t> a = first.Bytes();
    // 5 pixels of 3 bytes pad to 16 bytes a row.
    ASSERT_EQ(a.size(), 54u + 3 * 16);
    EXPECT_EQ(std::string(a.begin(), a.begin() + 2), "BM");
    const struct {
        size_t at;
        uint32_t value;
        const char* what;
    } fields[] = {{2, 102, "file size"},       {6, 0, "reserved"},        {10, 54, "pixels: no colour table"},
                  {14, 40, "info header size"}, {18, 5, "width"},          {22, 3, "height: positive, bottom-up"},
                  {26, 1 | 24 << 16, "planes, bits"}, {30, 0, "uncompressed"}, {34, 48, "padded image size"},
                  {38, 3780, "x resolution"},  {42, 3780, "y resolution"}, {46, 0, "colours used"}};
    for (const auto& f : fields) EXPECT_EQ(Field32(a, f.at), f.value) << f.what;
    // The first row stored is the bottom one, blue first, then zero padding;
    // then the top row with pixel 4.
    EXPECT_EQ(std::vector<uint8_t>(a.begin() + 54, a.begin() + 57), (std::vector<uint8_t>{3, 2, 1}));
    EXPECT_EQ(a[54 + 15], 0);
    EXPECT_EQ(std::vector<uint8_t>(a.begin() + 54 + 32 + 12, a.begin() + 54 + 32 + 15), (std::vector<uint8_t>{50, 100, 200}));

    first.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(first);
    EXPECT_EQ(back.Canvas().Pixel(4, 0), RGB(200, 100, 50));
    TMemoryStream second;
    back.SaveToStream(second);
    EXPECT_EQ(second.Bytes(), a);

    // Through a file as well, and 32 bits keep their format.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("round.bmp"));
    ASSERT_TRUE(bmp.SaveToFile(path));
    TBitmap fromFile;
    ASSERT_TRUE(fromFile.LoadFromFile(path));
    TMemoryStream third;
    fromFile.SaveToStream(third);
    EXPECT_EQ(third.Bytes(), a);
    bmp.SetPixelFormat(TPixelFormat::pf32bit);
    TMemoryStream wide;
    bmp.SaveToStream(wide);
    EXPECT_EQ(wide.Size(), 54 + 5 * 4 * 3);
    EXPECT_EQ(wide.Memory()[54 + 3], 0); // the unused byte is written as 0
    wide.SetPosition(0);
    TBitmap wideBack;
    wideBack.LoadFromStream(wide);
    EXPECT_EQ(wideBack.PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_EQ(wideBack.Canvas().Pixel(0, 2), RGB(1, 2, 3));
}

TEST(BitmapStream, IndexedAndThirtyTwoBitFilesLoadWithTheirColours)
{
    // 1 bit, 3 x 2, bottom-up: bottom row 1 0 1, top row 0 1 1.
    BmpBytes one;
    one.Headers(3, 2, 1, 2);
    one.Entry(255, 0, 0);
    one.Entry(0, 0, 255);
    for (uint8_t row : {0xA0, 0x60}) { one.U8(row); one.U8(0); one.U8(0); one.U8(0); }
    TBitmap b1 = Load(one.bytes);
    EXPECT_EQ(b1.PixelFormat(), TPixelFormat::pf1bit);
    ExpectPixels(b1, {{0, 0, clRed}, {1, 0, clBlue}, {0, 1, clBlue}, {1, 1, clRed}, {2, 1, clBlue}});

    // 4 bits, 3 x 1 with a short table of 3 entries; index 5 names no entry and is black.
    BmpBytes four;
    four.Headers(3, 1, 4, 3, 0, 3);
    four.Entry(10, 20, 30);
    four.Entry(40, 50, 60);
    four.Entry(70, 80, 90);
    four.U8(0x21); four.U8(0x50); four.U8(0); four.U8(0);
    TBitmap b4 = Load(four.bytes);
    EXPECT_EQ(b4.PixelFormat(), TPixelFormat::pf4bit);
    ExpectPixels(b4, {{0, 0, RGB(70, 80, 90)}, {1, 0, RGB(40, 50, 60)}, {2, 0, clBlack}});

    // 8 bits, 2 x 2, top-down (negative height).
    BmpBytes eight;
    eight.Headers(2, -2, 8, 256);
    for (int i = 0; i < 256; ++i) eight.Entry(i, 255 - i, 7);
    for (uint8_t v : {1, 2, 0, 0, 3, 4, 0, 0}) eight.U8(v);
    TBitmap b8 = Load(eight.bytes);
    EXPECT_EQ(b8.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(b8.ScanLine(0)[1], 2); // scan lines hold the indexes
    ExpectPixels(b8, {{0, 0, RGB(1, 254, 7)}, {1, 1, RGB(4, 251, 7)}});
    // Written back with its table, it reads the same.
    TMemoryStream again;
    b8.SaveToStream(again);
    EXPECT_EQ(Field32(again.Bytes(), 10), 54u + 1024);
    again.SetPosition(0);
    TBitmap b8back;
    b8back.LoadFromStream(again);
    ExpectPixels(b8back, {{0, 0, RGB(1, 254, 7)}, {1, 1, RGB(4, 251, 7)}});

    // 32 bits, 2 x 1: blue, green, red, unused.
    BmpBytes wide;
    wide.Headers(2, 1, 32, 0);
    for (uint8_t v : {10, 20, 30, 99, 200, 150, 100, 0}) wide.U8(v);
    TBitmap b32 = Load(wide.bytes);
    EXPECT_EQ(b32.PixelFormat(), TPixelFormat::pf32bit);
    ExpectPixels(b32, {{0, 0, RGB(30, 20, 10)}, {1, 0, RGB(100, 150, 200)}});

    // Drawing on an indexed bitmap picks the nearest colour of its table.
    TBitmap pal(4, 4, TPixelFormat::pf8bit);
    pal.Canvas().Brush().SetColor(clRed);
    pal.Canvas().FillRect(Rect(1, 1, 3, 3));
    ExpectPixels(pal, {{1, 1, clRed}, {3, 3, clWhite}});
    TBitmap mono(8, 2, TPixelFormat::pf1bit);
    mono.Canvas().MoveTo(0, 1);
    mono.Canvas().LineTo(8, 1);
    EXPECT_EQ(mono.ScanLine(1)[0], 0x00);
    EXPECT_EQ(mono.ScanLine(0)[0], 0xFF);
}

TEST(BitmapStream, DamagedOrHostileFilesRaiseReadErrors)
{
    BmpBytes good;
    good.Headers(2, 2, 24, 0);
    for (int i = 0; i < 16; ++i) good.U8(i);
    EXPECT_NO_THROW(Load(good.bytes));

    const auto rejects = [](std::vector<uint8_t> bytes) {
        TMemoryStream s;
        s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        s.SetPosition(0);
        TBitmap b(3, 3);
        EXPECT_THROW(b.LoadFromStream(s), EReadError);
        EXPECT_EQ(b.Width(), 3); // left as it was
    };
    rejects({});
    rejects(std::vector<uint8_t>(good.bytes.begin(), good.bytes.end() - 1)); // truncated pixels
    rejects(std::vector<uint8_t>(good.bytes.begin(), good.bytes.begin() + 30)); // truncated header
    auto patched = [&](size_t at, std::vector<uint8_t> with) {
        std::vector<uint8_t> b = good.bytes;
        std::copy(with.begin(), with.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
        return b;
    };
    rejects(patched(0, {'B', 'X'}));
    rejects(patched(18, {0xA0, 0x86, 0x01, 0x00, 0xA0, 0x86, 0x01, 0x00})); // 100000 x 100000 from 16 bytes
    rejects(patched(18, {0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F}));
    rejects(patched(22, {0x00, 0x00, 0x00, 0x80}));                           // height INT32_MIN
    rejects(patched(18, {0xFE, 0xFF, 0xFF, 0xFF}));                           // negative width
    rejects(patched(28, {7, 0}));                                             // bit count
    rejects(patched(26, {0, 0}));                                             // planes
    rejects(patched(30, {1, 0, 0, 0}));                                       // run-length compressed
    rejects(patched(10, {0xFF, 0xFF, 0, 0}));                                 // pixels past the end
    rejects(patched(10, {20, 0, 0, 0}));                                      // pixels inside the header
    rejects(patched(14, {0xFF, 0xFF, 0xFF, 0xFF}));                           // header size
    BmpBytes table;
    table.Headers(1, 1, 8, 0, 0, 300); // more colours than 8 bits index
    rejects(table.bytes);
}

TEST(BitmapFiles, PngJpegIcoAndPicturesLoadWithSizeAndColours)
{
    QTemporaryDir dir;
    QImage src(6, 4, QImage::Format_RGB32);
    src.fill(qRgb(0, 0, 255));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x) src.setPixel(x, y, qRgb(255, 0, 0));
    const QString png = dir.filePath(QStringLiteral("p.png"));
    const QString jpg = dir.filePath(QStringLiteral("p.JPEG"));
    const QString ico = dir.filePath(QStringLiteral("p.ico"));
    ASSERT_TRUE(src.save(png));
    ASSERT_TRUE(src.save(jpg, "JPG", 100));
    ASSERT_TRUE(src.scaled(16, 16).save(ico, "ICO"));

    TBitmap fromPng;
    ASSERT_TRUE(fromPng.LoadFromFile(png));
    EXPECT_EQ(fromPng.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(fromPng.ScanLine(0)[2], 255); // red of pixel 0
    EXPECT_EQ(fromPng.Canvas().Pixel(5, 3), clBlue);

    TBitmap fromJpg;
    ASSERT_TRUE(fromJpg.LoadFromFile(jpg));
    EXPECT_EQ(fromJpg.Width(), 6);
    const uint8_t* row = fromJpg.ScanLine(1);
    EXPECT_GT(row[2], 200); // pixel 0 still red
    EXPECT_GT(row[5 * 3 + 0], 200); // pixel 5 still blue

    TBitmap fromIco;
    ASSERT_TRUE(fromIco.LoadFromFile(ico));
    EXPECT_EQ(fromIco.Canvas().Pixel(0, 0), clRed);

    // Saving writes what the extension names.
    const QString out = dir.filePath(QStringLiteral("out.png"));
    ASSERT_TRUE(fromPng.SaveToFile(out));
    EXPECT_EQ(QImage(out).pixel(1, 1) & 0xFFFFFF, 0xFF0000u);
    const QString outJpg = dir.filePath(QStringLiteral("out.jpg"));
    ASSERT_TRUE(fromPng.SaveToFile(outJpg, 95));
    EXPECT_EQ(QImage(outJpg).size(), QSize(6, 4));
    EXPECT_FALSE(fromPng.SaveToFile(dir.filePath(QStringLiteral("out.xyz"))));
    EXPECT_FALSE(TBitmap().LoadFromFile(dir.filePath(QStringLiteral("missing.png"))));
    EXPECT_FALSE(TBitmap().LoadFromFile(dir.filePath(QStringLiteral("missing.bmp"))));

    TPicture picture;
    EXPECT_FALSE(picture.LoadFromFile(dir.filePath(QStringLiteral("missing.png"))));
    ASSERT_TRUE(picture.LoadFromFile(png));
    EXPECT_EQ(picture.Width(), 6);
    EXPECT_EQ(picture.Height(), 4);
    TBitmap target(10, 10);
    picture.Draw(target.Canvas(), 2, 3);
    ExpectPixels(target, {{2, 3, clRed}, {7, 6, clBlue}, {8, 6, clWhite}});
}

TEST(Bitmap, FinerPixelsForHighDensityScreensKeepTheCoordinates)
{
    // A buffer for a screen of two image pixels per device pixel: drawing
    // keeps its device coordinates and lands on the finer pixels.
    TBitmap fine;
    fine.SetPixelFormat(TPixelFormat::pf32bit);
    fine.SetDevicePixelRatio(2.0);
    fine.SetSize(40, 30);
    EXPECT_EQ(fine.Width(), 40);
    EXPECT_EQ(fine.Image().size(), QSize(80, 60));
    TCanvas& c = fine.Canvas();
    EXPECT_EQ(c.ClipRect(), Rect(0, 0, 40, 30));
    c.Brush().SetColor(clRed);
    c.FillRect(Rect(10, 10, 20, 20));
    c.SetPixel(30, 5, clBlue);
    EXPECT_EQ(c.Pixel(15, 15), clRed);
    EXPECT_EQ(c.Pixel(30, 5), clBlue);
    // Edges fall between image pixels: nothing is smeared.
    for (const auto& [x, y, rgb] : {std::tuple{19, 25, 0xFFFFFF}, {20, 25, 0xFF0000}, {39, 39, 0xFF0000},
                                    {40, 39, 0xFFFFFF}, {61, 11, 0x0000FF}}) {
        EXPECT_EQ(fine.Image().pixel(x, y), 0xFF000000u | unsigned(rgb)) << x << "," << y;
    }

    // Copied onto a surface of the same density, pixel for pixel.
    TBitmap surface;
    surface.SetPixelFormat(TPixelFormat::pf32bit);
    surface.SetDevicePixelRatio(2.0);
    surface.SetSize(40, 30);
    surface.Canvas().CopyRect(Rect(0, 0, 40, 30), c, Rect(0, 0, 40, 30));
    EXPECT_EQ(surface.Image(), fine.Image());
}
