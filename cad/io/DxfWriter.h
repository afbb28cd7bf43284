// The text of a minimal ASCII DXF file: one value per line, lines ending in
// CR LF, a group being its code line and its value line. The writer turns
// document points into drawing units (millimetres at 96 pixels per inch,
// y upwards from the page's bottom edge), numbers every entity with the next
// handle and formats reals the one way the files carry them.
//
// Large drawings make files of hundreds of megabytes, so the writer never
// holds the file: it composes into a fixed buffer and hands each full buffer
// to its sink (a file, or a string for callers that want the bytes).
//
// The shape classes' entities are composed from the primitives here
// (DxfShapes.cpp); the writer knows no shape class.
#pragma once

#include "cad/geometry/Geometry.h"
#include "platform/Types.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace mycad {

/// Document pixels per millimetre at 96 pixels per inch.
inline constexpr double kDxfPixelsPerMillimetre = 3.7795275590551185;

/// Takes the next piece of the file; false when it cannot, which stops the
/// writing.
using TDxfSink = std::function<bool(std::string_view bytes)>;

class TDxfWriter {
public:
    /// pageHeight: the height in document pixels that y is flipped against.
    TDxfWriter(double pageHeight, TDxfSink sink);
    TDxfWriter(const TDxfWriter&) = delete;
    TDxfWriter& operator=(const TDxfWriter&) = delete;
    ~TDxfWriter();

    /// "0" "SECTION" "2" "ENTITIES", and the closing "0" "ENDSEC" "0" "EOF".
    void BeginEntities();
    void EndEntities();
    /// Hands what is composed to the sink. False when the sink refused this
    /// or an earlier piece: the file is then incomplete.
    bool Flush();
    bool Failed() const { return FFailed; }

    /// Entity prefix: "0" name, "5" next handle, "8" "0".
    void Entity(std::string_view name);
    /// A group with a literal value.
    void Group(std::string_view code, std::string_view value);
    /// A group whose value is a real in general format.
    void Real(std::string_view code, double value);
    /// x in millimetres; y flipped against the page height, in millimetres.
    void X(std::string_view code, double x);
    void Y(std::string_view code, double y);
    /// A length in millimetres.
    void Length(std::string_view code, double pixels) { Real(code, pixels / kDxfPixelsPerMillimetre); }

    // ---- Entities in the shapes of the file.

    /// "LINE" from a to b.
    void Line(const TMyPoint& a, const TMyPoint& b);
    /// "POLYLINE" header of a closed 2D polyline whose "VERTEX" entities follow.
    void ClosedPolyline();
    void Vertex(double x, double y);
    void SeqEnd();
    /// "POLYLINE" header of a 3D polyline starting at (x, y), whose vertices
    /// (Vertex3D) carry their layer before their handle.
    void Polyline3D(double x, double y);
    void Vertex3D(double x, double y);
    void Circle(double cx, double cy, double radius);
    /// Angles in degrees, counter-clockwise in the file's y-up frame.
    void Arc(double cx, double cy, double radius, double startAngle, double endAngle);
    /// "TEXT" at (x, y) in document pixels; height in pixels, angle in degrees.
    void Text(double x, double y, double height, double angle, const String& text);
    /// "TEXT" whose y is given in the file's frame already (pixels, y up).
    void TextAtFlippedY(double x, double flippedY, double height, double angle, const String& text);

    /// The page height y is flipped against, in document pixels.
    double PageHeight() const { return FPageHeight; }
    int32_t NextHandle() const { return FHandle; }

    /// Room FormatReal needs at out (it writes at most 24 characters, but
    /// copies in blocks).
    static constexpr size_t kMaxRealChars = 40;
    /// value in general format: the shortest form with up to 15 significant
    /// digits and a period; plain digits from 1e-5 up to 1e15, otherwise a
    /// mantissa, "E" and the exponent ("1.5E-7", "2E20"). Zero (of either
    /// sign) is "0". Needs kMaxRealChars of room at out; returns the end.
    static char* FormatReal(char* out, double value);
    static void AppendReal(std::string& out, double value);

private:
    /// Appends bytes, flushing first when they do not fit.
    void Put(std::string_view bytes)
    {
        if (static_cast<size_t>(FEnd - FPos) < bytes.size()) {
            PutSlow(bytes);
            return;
        }
        std::memcpy(FPos, bytes.data(), bytes.size());
        FPos += bytes.size();
    }
    void PutSlow(std::string_view bytes);
    /// Makes room for n bytes (n at most the buffer's size).
    char* Room(size_t n)
    {
        if (static_cast<size_t>(FEnd - FPos) < n) Flush();
        return FPos;
    }
    void Line(std::string_view text);
    /// "5" and the next handle.
    void Handle();
    /// A group whose value is computed from a coordinate by value(); whole
    /// pixels take their text from the axis's memo instead.
    template <class TValue>
    void Coordinate(std::string_view code, double pixels, size_t axis, TValue value);

    /// The text of one whole-pixel coordinate, once it has been formatted.
    struct TMemoText {
        char Text[31];
        uint8_t Size; // 0 until formatted
    };
    struct TFreeMemo {
        void operator()(TMemoText* p) const;
    };

    TDxfSink FSink;
    std::unique_ptr<char[]> FBuffer;
    char* FPos = nullptr;
    char* FEnd = nullptr;
    bool FFailed = false;
    double FPageHeight;
    int32_t FHandle = 20;
    /// Both axes' memos, x then y, indexed by the pixel plus kMemoReach.
    std::unique_ptr<TMemoText, TFreeMemo> FMemo;
};

} // namespace mycad
