// A Windows metafile written by ourselves: a paint device whose painter
// turns figures into vector records (pens, brushes, polygons, polylines,
// ellipses, text, pictures), saved as a placeable metafile that office
// programs, Inkscape and libwmf read.
#pragma once

#include "platform/Graphics.h"
#include "platform/Types.h"

#include <QPaintDevice>

#include <cstdint>
#include <memory>
#include <vector>

namespace mycad {

class TWmfEngine;

/// A picture of width x height canvas pixels. Bind a canvas to it
/// (TCanvas::SetDevice), draw, unbind; then Bytes() holds the file.
/// Coordinates are stored as 16-bit numbers, finer than a pixel where the
/// picture is small enough (UnitsPerPixel); whatever lies beyond 32767
/// units is clamped.
class TMetafile : public QPaintDevice {
public:
    TMetafile(int32_t width, int32_t height);
    ~TMetafile() override;
    TMetafile(const TMetafile&) = delete;
    TMetafile& operator=(const TMetafile&) = delete;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    /// Metafile units per canvas pixel.
    int32_t UnitsPerPixel() const { return unitsPerPixel_; }
    /// The placeable metafile: the 22-byte header (key 0x9AC6CDD7), the
    /// metafile header, the records drawn so far and the end record.
    std::vector<uint8_t> Bytes() const;
    /// False when the file cannot be written.
    bool SaveToFile(const String& fileName) const;

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int32_t width_;
    int32_t height_;
    int32_t unitsPerPixel_;
    std::unique_ptr<TWmfEngine> engine_;
};

} // namespace mycad
