#include "cad/io/DxfWriter.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace mycad {

namespace {

constexpr std::string_view kEol = "\r\n";

void AppendInt(std::string& out, int64_t value)
{
    std::array<char, 24> buf{};
    const auto end = std::to_chars(buf.data(), buf.data() + buf.size(), value).ptr;
    out.append(buf.data(), end);
}

} // namespace

TDxfWriter::TDxfWriter(double pageHeight) : FPageHeight(pageHeight) {}

void TDxfWriter::AppendReal(std::string& out, double value)
{
    if (value == 0.0) {
        out += '0';
        return;
    }
    if (!std::isfinite(value)) {
        // Nothing the writer computes is infinite; should it ever be, a
        // number a reader can parse keeps the file readable.
        out += '0';
        return;
    }
    // 15 significant digits, correctly rounded: d.dddddddddddddde[+-]x.
    std::array<char, 40> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::scientific, 14);
    const char* p = buf.data();
    const char* end = res.ptr;
    const bool negative = *p == '-';
    if (negative) ++p;
    std::array<char, 15> digits{};
    int32_t count = 0;
    for (; p < end && *p != 'e'; ++p) {
        if (*p != '.') digits[static_cast<size_t>(count++)] = *p;
    }
    const int32_t exponent = static_cast<int32_t>(std::strtol(p + 1, nullptr, 10));
    while (count > 1 && digits[static_cast<size_t>(count - 1)] == '0') --count;

    if (negative) out += '-';
    if (exponent < -5 || exponent >= 15) {
        out += digits[0];
        if (count > 1) {
            out += '.';
            out.append(digits.data() + 1, static_cast<size_t>(count - 1));
        }
        out += 'E';
        AppendInt(out, exponent);
        return;
    }
    if (exponent < 0) {
        out += "0.";
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out.append(digits.data(), static_cast<size_t>(count));
        return;
    }
    const int32_t whole = exponent + 1;
    if (count <= whole) {
        out.append(digits.data(), static_cast<size_t>(count));
        out.append(static_cast<size_t>(whole - count), '0');
        return;
    }
    out.append(digits.data(), static_cast<size_t>(whole));
    out += '.';
    out.append(digits.data() + whole, static_cast<size_t>(count - whole));
}

void TDxfWriter::Line(std::string_view text)
{
    FOut += text;
    FOut += kEol;
}

void TDxfWriter::Group(std::string_view code, std::string_view value)
{
    Line(code);
    Line(value);
}

void TDxfWriter::Real(std::string_view code, double value)
{
    Line(code);
    AppendReal(FOut, value);
    FOut += kEol;
}

void TDxfWriter::BeginEntities()
{
    Group("0", "SECTION");
    Group("2", "ENTITIES");
}

void TDxfWriter::EndEntities()
{
    Group("0", "ENDSEC");
    Group("0", "EOF");
}

void TDxfWriter::Handle()
{
    Line("5");
    AppendInt(FOut, FHandle++);
    FOut += kEol;
}

void TDxfWriter::Entity(std::string_view name)
{
    Group("0", name);
    Handle();
    Group("8", "0");
}

void TDxfWriter::Line(const TMyPoint& a, const TMyPoint& b)
{
    Entity("LINE");
    X("10", a.X);
    Y("20", a.Y);
    Group("30", "0.0");
    X("11", b.X);
    Y("21", b.Y);
    Group("31", "0.0");
}

void TDxfWriter::ClosedPolyline()
{
    Entity("POLYLINE");
    Group("66", "1");
    Group("10", "0.0");
    Group("20", "0.0");
    Group("30", "0.0");
    Group("70", "1");
}

void TDxfWriter::Vertex(double x, double y)
{
    Entity("VERTEX");
    X("10", x);
    Y("20", y);
    Group("30", "0.0");
}

void TDxfWriter::SeqEnd() { Entity("SEQEND"); }

void TDxfWriter::Polyline3D(double x, double y)
{
    Entity("POLYLINE");
    X("10", x);
    Y("20", y);
    Group("30", "0.0");
    Group("66", "1");
    Group("70", "8");
}

void TDxfWriter::Vertex3D(double x, double y)
{
    Group("0", "VERTEX");
    Group("8", "0");
    Handle();
    X("10", x);
    Y("20", y);
    Group("30", "0.0");
    Group("70", "32");
}

void TDxfWriter::Circle(double cx, double cy, double radius)
{
    Entity("CIRCLE");
    X("10", cx);
    Y("20", cy);
    Group("30", "0.0");
    Length("40", radius);
}

void TDxfWriter::Arc(double cx, double cy, double radius, double startAngle, double endAngle)
{
    Entity("ARC");
    X("10", cx);
    Y("20", cy);
    Group("30", "0.0");
    Length("40", radius);
    Real("50", startAngle);
    Real("51", endAngle);
}

void TDxfWriter::Text(double x, double y, double height, double angle, const String& text)
{
    TextAtFlippedY(x, FPageHeight - y, height, angle, text);
}

void TDxfWriter::TextAtFlippedY(double x, double flippedY, double height, double angle, const String& text)
{
    Entity("TEXT");
    X("10", x);
    Real("20", flippedY / kDxfPixelsPerMillimetre);
    Group("30", "0.0");
    Length("40", height);
    Real("50", angle);
    // Text beyond ASCII goes out as UTF-8, which readers of ASCII DXF accept.
    // A line break inside the value would end it and shift every later line
    // out of its group, so breaks become spaces.
    std::string value = text.toStdString();
    for (char& c : value) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    Group("1", value);
}

} // namespace mycad
