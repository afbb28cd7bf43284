// Record parts of the text box and the picture shape.
#include "cad/geometry/StreamEncoding.h"
#include "cad/io/ShapeRecordParts.h"
#include "cad/shapes/Image.h"
#include "cad/shapes/Text.h"

namespace mycad {

namespace {

void SaveText(const TMyText& text, TStream& s)
{
    WriteBool(s, text.IsBorder());
    WriteBool(s, text.IsSolid());
    const TStringList& lines = text.Lines();
    WriteInt32(s, lines.Count());
    for (int32_t i = 0; i < lines.Count(); ++i) WriteCountedString(s, lines[i]);
    WriteByte(s, static_cast<uint8_t>(text.VAlignment()));
    WriteByte(s, static_cast<uint8_t>(text.HAlignment()));
    WriteBool(s, text.WordWrap());
}

void LoadText(TMyText& text, TRecordReader& r)
{
    text.SetIsBorder(r.Bool());
    text.SetIsSolid(r.Bool());
    // The lines and their layout came with "XP.a"; older boxes show their Info.
    if (!r.Has(TFileVersion::XP_a)) return;
    const int32_t count = r.Count(4);
    for (int32_t i = 0; i < count; ++i) text.Lines().Add(r.CountedString());
    text.SetVAlignment(r.Ordinal(TVAlignment::vaBottom));
    text.SetHAlignment(r.Ordinal(TAlignment::taCenter));
    text.SetWordWrap(r.Bool());
}

void SaveImage(const TMyImage& image, TStream& s)
{
    if (!WriteBitmapBuffer(s, &image.Bitmap())) throw EWriteError("Stream write error");
    WriteInt32(s, image.Brightness());
    WriteInt32(s, image.Contrast());
    WriteBool(s, image.Transparent());
    WriteBool(s, image.Border());
    WriteBool(s, image.GrayScale());
    WriteInt32(s, static_cast<int32_t>(image.StoredTransparentColor()));
    WriteInt32(s, static_cast<int32_t>(image.TransparentMode()));
}

// An adjustment outside -255..255 cannot come from a saved drawing.
int32_t Adjustment(TRecordReader& r)
{
    const int32_t v = r.Int32();
    if (v < -255 || v > 255) TRecordReader::Fail("picture adjustment out of range");
    return v;
}

void LoadImage(TMyImage& image, TRecordReader& r)
{
    const std::unique_ptr<TBitmap> picture = r.BitmapBuffer();
    if (picture) image.SetStoredPicture(picture.get());
    if (r.Has(TFileVersion::XP_9)) {
        image.SetBrightness(Adjustment(r));
        image.SetContrast(Adjustment(r));
        image.SetTransparent(r.Bool());
        image.SetBorder(r.Bool());
        image.SetGrayScale(r.Bool());
    }
    if (r.Has(TFileVersion::XP_i)) {
        const TColor color = r.Color();
        // The mode is stored as an int32; its low byte holds the ordinal.
        const auto mode = static_cast<uint8_t>(r.Int32() & 0xFF);
        if (mode > static_cast<uint8_t>(TTransparentMode::tmFixed)) TRecordReader::Fail("ordinal out of range");
        image.SetStoredTransparency(color, static_cast<TTransparentMode>(mode));
    }
}

} // namespace

TShapeRecordClass TextRecordClass()
{
    return MakeShapeRecordClass<TMyText>(u"TMyText"_s, u"TMyRectangle"_s, &SaveText,
                                         &LoadText);
}

TShapeRecordClass ImageRecordClass()
{
    return MakeShapeRecordClass<TMyImage>(u"TMyImage"_s, u"TMyRectangle"_s, &SaveImage,
                                          &LoadImage);
}

} // namespace mycad
