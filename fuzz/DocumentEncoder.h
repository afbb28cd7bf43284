// A small, independent encoder of document files in any layout from "XP.2"
// to "XP.j", written from the file layout alone, so the readers are checked
// against bytes the production writer did not make. It writes the encoded
// seeds of the fuzz corpus, which the tests read as golden files, and the
// tests use it to craft damaged documents.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace docenc {

/// Layout tags, oldest first; an index into this list orders them.
inline const std::vector<std::string> kVersions = {"XP.2", "XP.3", "XP.4", "XP.5", "XP.6", "XP.7", "XP.8",
                                                   "XP.9", "XP.a", "XP.e", "XP.h", "XP.i", "XP.j"};

inline int VersionIndex(const std::string& tag)
{
    for (size_t i = 0; i < kVersions.size(); ++i) {
        if (kVersions[i] == tag) return static_cast<int>(i);
    }
    return -1;
}

struct Pair {
    std::u16string Key;
    std::u16string Value;
};

struct Shape {
    std::string Class = "TMyRectangle";
    std::u16string Name;
    int32_t Id = 0;
    int32_t No = 0;
    int32_t Layer = 0;
    int32_t Parent = -1;
    std::vector<uint32_t> Children;
    std::vector<uint32_t> Links;
    std::vector<std::pair<double, double>> Points;
    std::vector<std::pair<double, double>> LinkPoints;
    double TextX = 0;
    double TextY = 0;
    int32_t Tag = 0;
    double Angle = 0;
    std::vector<uint8_t> BrushBitmap; // a BMP file, or empty for none
    int32_t BrushColor = 0xFFFFFF;
    uint8_t BrushStyle = 0;
    std::u16string Caption;
    int32_t ColorBegin = 0xFFFFFF;
    int32_t ColorEnd = 0;
    std::u16string FontName = u"DejaVu Sans";
    uint8_t Charset = 1;
    int32_t FontColor = 0;
    int32_t FontHeight = -11;
    int32_t FontSize = 8;
    uint8_t Pitch = 0;
    int32_t FontPpi = 96;
    uint8_t FontStyle = 0;
    uint8_t Gradient = 23; // none
    std::u16string Info;
    int32_t PenColor = 0;
    uint8_t PenMode = 4;
    uint8_t PenStyle = 0;
    int32_t PenWidth = 1;
    std::vector<Pair> UserData;
    bool FlipHorz = false;
    bool FlipVert = false;
    bool Visible = true;
    std::vector<std::u16string> MultiInfo;
    uint8_t MultiInfoAlignment = 0;
    int32_t LogHeight = 10;
    bool LogUse = false;
    int32_t LogWidth = 10;
    bool Locked = false;
    uint8_t EndCap = 0;
    uint8_t Join = 0;
    bool HotShow = true;
    bool ResizeEnable = true;
    bool RotateEnable = true;
    // The line's own fields.
    int32_t ArrowAngle = 30;
    uint8_t ArrowLength = 10;
    uint8_t ArrowOffset = 0;
    uint8_t ArrowStyle = 0;
    // The rule line's own fields, after the line's.
    bool ShowUserInfo = false;
    uint8_t TickStyle = 0;
    std::u16string UserInfo;
    // The elliptic arc's own fields.
    uint8_t ArcMode = 0;
    uint8_t ArcStyle = 0;
    // The text box's own fields.
    bool Border = false;
    bool Solid = true;
    std::vector<std::u16string> Lines;
    uint8_t VAlignment = 1;
    uint8_t HAlignment = 2;
    bool WordWrap = false;
    // The picture's own fields.
    std::vector<uint8_t> Picture; // a BMP file
    int32_t Brightness = 0;
    int32_t Contrast = 0;
    bool GrayScale = false;
    bool PictureBorder = false;
    bool Transparent = false;
    int32_t TransparentColor = 0x20000000; // the default colour
    int32_t TransparentMode = 0;
};

struct Layer {
    std::u16string Name;
    int32_t Id = 0;
    int32_t Visible = 1;
};

struct Document {
    std::string Version = "XP.j";
    int32_t Background = 0xFFFFFF;
    int32_t Width = 800;
    int32_t Height = 600;
    uint8_t Unit = 1;
    std::vector<uint8_t> BkBitmap;
    int32_t BkBitmapMode = 2;
    double Ratio = 1.0;
    int32_t Tag = 0;
    std::vector<Pair> UserData;
    std::vector<Layer> Layers = {{u"Layer0", 0, 1}};
    int32_t CurrentLayer = 0;
    std::vector<Shape> Shapes;
};

/// Little-endian bytes; strings as UTF-16LE or, for old files, one byte each.
class Encoder {
public:
    explicit Encoder(bool eightBit = false) : eightBit_(eightBit) {}

    std::vector<uint8_t> Bytes;

    template <typename T>
    void Raw(T v)
    {
        uint8_t b[sizeof(T)];
        std::memcpy(b, &v, sizeof(T));
        Bytes.insert(Bytes.end(), b, b + sizeof(T));
    }
    void I32(int32_t v) { Raw(v); }
    void U32(uint32_t v) { Raw(v); }
    void U8(uint8_t v) { Raw(v); }
    void F32(double v) { Raw(static_cast<float>(v)); }
    void F64(double v) { Raw(v); }
    /// The 80-bit extended form of v: sign, 15-bit exponent, 64-bit significand.
    void Ext(double v)
    {
        uint64_t significand = 0;
        uint16_t top = 0;
        if (v != 0.0) {
            int e = 0;
            const double m = std::frexp(std::fabs(v), &e); // v = m * 2^e, m in [0.5, 1)
            significand = static_cast<uint64_t>(std::ldexp(m, 64));
            top = static_cast<uint16_t>(e - 1 + 16383);
        }
        if (std::signbit(v)) top |= 0x8000;
        Raw(significand);
        Raw(top);
    }
    void Chars(const std::u16string& s, size_t n)
    {
        for (size_t i = 0; i < n; ++i) {
            const char16_t c = i < s.size() ? s[i] : u' ';
            if (eightBit_) {
                U8(static_cast<uint8_t>(c));
            } else {
                Raw(static_cast<uint16_t>(c));
            }
        }
    }
    void Fixed(const std::string& s, size_t n) { Chars(std::u16string(s.begin(), s.end()), n); }
    /// The stored count and its low eight bits' worth of characters.
    void Counted(const std::u16string& s, int32_t storedCount = -1)
    {
        const int32_t count = storedCount < 0 ? static_cast<int32_t>(s.size()) : storedCount;
        I32(count);
        Chars(s, static_cast<size_t>(count) & 0xFF);
    }
    void Bitmap(const std::vector<uint8_t>& bmp)
    {
        Raw(static_cast<int64_t>(bmp.size()));
        Bytes.insert(Bytes.end(), bmp.begin(), bmp.end());
    }

private:
    bool eightBit_;
};

inline void EncodeShape(Encoder& e, const Shape& s, const std::string& version)
{
    const int v = VersionIndex(version);
    auto in = [v](const char* first, const char* last = "XP.j") {
        return v >= 0 && v >= VersionIndex(first) && v <= VersionIndex(last);
    };
    auto coordinate = [&](double x, bool wide) { wide ? e.Ext(x) : e.F32(x); };
    e.Counted(s.Name);
    e.I32(s.Id);
    e.I32(s.No);
    e.I32(s.Layer);
    e.I32(s.Parent);
    e.I32(static_cast<int32_t>(s.Children.size()));
    for (uint32_t c : s.Children) e.U32(c);
    e.I32(static_cast<int32_t>(s.Links.size()));
    for (uint32_t l : s.Links) e.U32(l);
    for (const auto* list : {&s.Points, &s.LinkPoints}) {
        e.I32(static_cast<int32_t>(list->size()));
        if (in("XP.3")) {
            for (const auto& p : *list) {
                coordinate(p.first, in("XP.3", "XP.5"));
                coordinate(p.second, in("XP.3", "XP.5"));
            }
        }
    }
    coordinate(s.TextX, in("XP.2", "XP.5"));
    coordinate(s.TextY, in("XP.2", "XP.5"));
    if (in("XP.3")) {
        e.I32(s.Tag);
        coordinate(s.Angle, in("XP.3", "XP.5"));
    }
    e.Bitmap(s.BrushBitmap);
    e.I32(s.BrushColor);
    e.U8(s.BrushStyle);
    e.Counted(s.Caption);
    e.I32(s.ColorBegin);
    e.I32(s.ColorEnd);
    e.Counted(s.FontName);
    e.U8(s.Charset);
    e.I32(s.FontColor);
    e.I32(s.FontHeight);
    e.I32(s.FontSize);
    e.U8(s.Pitch);
    e.I32(s.FontPpi);
    e.U8(s.FontStyle);
    if (v >= 0 && version != "XP.7") {
        e.I32(0);
        e.I32(0);
    }
    e.U8(s.Gradient);
    if (in("XP.2", "XP.5")) {
        e.U8(0);
        e.U8(0);
    }
    e.Counted(s.Info);
    e.I32(s.PenColor);
    e.U8(s.PenMode);
    e.U8(s.PenStyle);
    e.I32(s.PenWidth);
    if (in("XP.8")) {
        e.I32(static_cast<int32_t>(s.UserData.size()));
        for (const Pair& p : s.UserData) {
            e.Counted(p.Key);
            e.Counted(p.Value);
        }
    }
    if (in("XP.9")) {
        e.U8(s.FlipHorz);
        e.U8(s.FlipVert);
        e.U8(s.Visible);
    }
    if (in("XP.e")) {
        e.I32(static_cast<int32_t>(s.MultiInfo.size()));
        for (const auto& line : s.MultiInfo) e.Counted(line);
        e.U8(s.MultiInfoAlignment);
    }
    if (in("XP.h")) {
        e.I32(s.LogHeight);
        e.U8(s.LogUse);
        e.I32(s.LogWidth);
        e.U8(s.Locked);
    }
    if (in("XP.j")) {
        e.U8(s.EndCap);
        e.U8(s.Join);
        e.U8(s.HotShow);
        e.U8(s.ResizeEnable);
        e.U8(s.RotateEnable);
    }
    if (s.Class == "TMyLine" || s.Class == "TMyRuleLine") {
        e.I32(s.ArrowAngle);
        e.U8(s.ArrowLength);
        e.U8(s.ArrowOffset);
        e.U8(s.ArrowStyle);
    }
    if (s.Class == "TMyRuleLine") {
        e.U8(s.ShowUserInfo);
        e.U8(s.TickStyle);
        e.Counted(s.UserInfo);
    }
    if (s.Class == "TMyElliArc") {
        e.U8(s.ArcMode);
        e.U8(s.ArcStyle);
    }
    if (s.Class == "TMyText") {
        e.U8(s.Border);
        e.U8(s.Solid);
        if (in("XP.a")) {
            e.I32(static_cast<int32_t>(s.Lines.size()));
            for (const auto& line : s.Lines) e.Counted(line);
            e.U8(s.VAlignment);
            e.U8(s.HAlignment);
            e.U8(s.WordWrap);
        }
    }
    if (s.Class == "TMyImage") {
        e.Bitmap(s.Picture);
        if (in("XP.9")) {
            e.I32(s.Brightness);
            e.I32(s.Contrast);
            e.U8(s.Transparent);
            e.U8(s.PictureBorder);
            e.U8(s.GrayScale);
        }
        if (in("XP.i")) {
            e.I32(s.TransparentColor);
            e.I32(s.TransparentMode);
        }
    }
}

inline std::vector<uint8_t> EncodeDocument(const Document& d, bool eightBit = false)
{
    Encoder e(eightBit);
    e.Fixed("Lumen Widgetworks", 64);
    e.Fixed("ZEDA for Varnel Studio & Varnel Forge", 64);
    e.Fixed(d.Version, 16);
    e.Fixed("20091209", 10);
    e.Fixed("", 64);
    e.I32(d.Background);
    e.I32(d.Width);
    e.I32(d.Height);
    e.U8(d.Unit);
    e.Bitmap(d.BkBitmap);
    e.I32(d.BkBitmapMode);
    e.F64(d.Ratio);
    if (d.Version == "XP.h" || d.Version == "XP.i" || d.Version == "XP.j") {
        e.I32(d.Tag);
        e.I32(static_cast<int32_t>(d.UserData.size()));
        for (const Pair& p : d.UserData) {
            e.Counted(p.Key);
            e.Counted(p.Value);
        }
    }
    e.I32(static_cast<int32_t>(d.Layers.size()));
    for (const Layer& l : d.Layers) {
        e.Counted(l.Name);
        e.I32(l.Id);
        e.I32(l.Visible);
    }
    e.I32(d.CurrentLayer);
    e.I32(static_cast<int32_t>(d.Shapes.size()));
    for (const Shape& s : d.Shapes) {
        e.Fixed(s.Class, 16);
        EncodeShape(e, s, d.Version);
    }
    return e.Bytes;
}

} // namespace docenc
