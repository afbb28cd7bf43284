// TMyImage: a raster picture inside a rectangle shape, turned with the box and
// clipped to its four corners. The shape keeps the picture untouched at 24
// bits; grey scale, contrast, brightness, mirroring and transparency are
// applied to a copy when it is drawn. That turned, adjusted copy is kept for
// the next paint until the picture, a setting, the box's size, its angle or
// the zoom changes.
#pragma once

#include "cad/shapes/Rectangle.h"

#include <memory>

namespace mycad {

class TMyImage : public TMyRectangle {
public:
    explicit TMyImage(TShapeOwner* owner);
    ~TMyImage() override;

    String ClassName() const override;

    /// The rectangle's copy, then the picture and every setting.
    void Assign(const TMyShape& source) override;
    /// Without a picture a grey box with both diagonals; otherwise the
    /// adjusted picture scaled to the box, turned with it and clipped to
    /// it, with the outline over it when Border is on. Then the info text.
    void Draw(TCanvas& canvas) override;

    /// The picture. Change it through SetBitmap, which keeps the kept copy
    /// honest.
    const TBitmap& Bitmap() const { return FBitmap; }
    /// Converts the given bitmap to 24 bits in place, copies it, and sizes
    /// the box to the picture at the current zoom, keeping point 0. nullptr
    /// empties the picture and leaves the box as it is.
    void SetBitmap(TBitmap* bitmap);

    bool Border() const { return FBorder; }
    void SetBorder(bool value);
    int32_t Brightness() const { return FBrightness; }
    /// Values outside -255..255 are ignored.
    void SetBrightness(int32_t value);
    int32_t Contrast() const { return FContrast; }
    /// Values outside -255..255 are ignored.
    void SetContrast(int32_t value);
    bool GrayScale() const { return FGrayScale; }
    void SetGrayScale(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    /// The stored colour: clDefault means the picture's bottom-left pixel.
    TColor StoredTransparentColor() const { return FTransparentColor; }
    /// The colour drawn transparent: the picture's bottom-left pixel while
    /// the stored colour is clDefault, else the stored colour as RGB.
    TColor GetTransparentColor() const;
    /// A new colour switches the mode: tmAuto for clDefault, else tmFixed.
    void SetTransparentColor(TColor value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    /// tmFixed fixes the colour now shown as transparent; tmAuto returns to
    /// the bottom-left pixel.
    void SetTransparentMode(TTransparentMode value);

    /// Stores what a document record holds, as it is.
    void SetStoredPicture(const TBitmap* bitmap);
    void SetStoredTransparency(TColor color, TTransparentMode mode);

    /// Bytes held by the kept turned copy (0 when none is kept).
    int64_t KeptCopyBytes() const;

private:
    /// What the kept copy was made from.
    struct TCopyKey {
        int32_t Width = 0;
        int32_t Height = 0;
        float Angle = 0;
        bool FlipHorz = false;
        bool FlipVert = false;
        friend bool operator==(const TCopyKey&, const TCopyKey&) = default;
    };
    /// The turned, adjusted copy for a box of w x h device pixels, made
    /// when the kept one no longer fits.
    const TBitmap* TurnedCopy(int32_t w, int32_t h);
    void CopyPictureFields(const TMyShape& source);
    void DropKeptCopy() { FTurned.reset(); }

    TBitmap FBitmap;
    bool FBorder = false;
    int32_t FBrightness = 0;
    int32_t FContrast = 0;
    bool FGrayScale = false;
    bool FTransparent = false;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = TTransparentMode::tmAuto;

    std::unique_ptr<TBitmap> FTurned;
    TCopyKey FTurnedKey;
};

} // namespace mycad
