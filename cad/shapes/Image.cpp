#include "cad/shapes/Image.h"

#include "cad/geometry/BitmapUtils.h"
#include "cad/shapes/ShapeDraw.h"

namespace mycad {

namespace {

constexpr TColor kPlaceholderGrey = 0x808080;
constexpr int32_t kAdjustLimit = 255;

bool InAdjustRange(int32_t v) { return v >= -kAdjustLimit && v <= kAdjustLimit; }

} // namespace

TMyImage::TMyImage(TShapeOwner* owner) : TMyRectangle(owner) {}

TMyImage::~TMyImage() = default;

String TMyImage::ClassName() const { return u"TMyImage"_s; }

void TMyImage::Assign(const TMyShape& source)
{
    TMyRectangle::Assign(source);
    CopyPictureFields(source);
}

void TMyImage::CopyPictureFields(const TMyShape& source)
{
    if (&source == this) return;
    if (const auto* image = dynamic_cast<const TMyImage*>(&source)) {
        FBitmap.Assign(image->FBitmap);
        FTransparent = image->FTransparent;
        FBorder = image->FBorder;
        FBrightness = image->FBrightness;
        FContrast = image->FContrast;
        FGrayScale = image->FGrayScale;
        FTransparentColor = image->FTransparentColor;
        FTransparentMode = image->FTransparentMode;
    }
    DropKeptCopy();
}

void TMyImage::SetBitmap(TBitmap* bitmap)
{
    DropKeptCopy();
    if (!bitmap) {
        FBitmap.SetSize(0, 0);
        return;
    }
    bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    FBitmap.Assign(*bitmap);
    if (ThePoints.empty()) ThePoints.push_back({0.0f, 0.0f});
    const TMyPoint p0 = ThePoints[0];
    const double zoom = Zoom();
    const auto right = static_cast<float>(double(p0.X) + FBitmap.Width() / zoom);
    const auto bottom = static_cast<float>(double(p0.Y) + FBitmap.Height() / zoom);
    ThePoints.resize(4);
    ThePoints[1] = {right, p0.Y};
    ThePoints[2] = {right, bottom};
    ThePoints[3] = {p0.X, bottom};
}

void TMyImage::SetStoredPicture(const TBitmap* bitmap)
{
    DropKeptCopy();
    if (!bitmap) return;
    FBitmap.Assign(*bitmap);
    // Pictures are processed as 24-bit scan lines; a record may hold any format.
    FBitmap.SetPixelFormat(TPixelFormat::pf24bit);
}

void TMyImage::SetStoredTransparency(TColor color, TTransparentMode mode)
{
    DropKeptCopy();
    FTransparentColor = color;
    FTransparentMode = mode;
}

void TMyImage::SetBorder(bool value) { FBorder = value; }

void TMyImage::SetBrightness(int32_t value)
{
    if (!InAdjustRange(value)) return;
    FBrightness = value;
    DropKeptCopy();
}

void TMyImage::SetContrast(int32_t value)
{
    if (!InAdjustRange(value)) return;
    FContrast = value;
    DropKeptCopy();
}

void TMyImage::SetGrayScale(bool value)
{
    FGrayScale = value;
    DropKeptCopy();
}

void TMyImage::SetTransparent(bool value)
{
    FTransparent = value;
    DropKeptCopy();
}

TColor TMyImage::GetTransparentColor() const
{
    if (FTransparentColor != clDefault) return ColorToRGB(FTransparentColor);
    if (FBitmap.Empty()) return clDefault;
    const uint8_t* row = FBitmap.ScanLine(FBitmap.Height() - 1);
    return RGB(row[2], row[1], row[0]);
}

void TMyImage::SetTransparentColor(TColor value)
{
    if (value == FTransparentColor) return;
    FTransparentMode = value == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
    FTransparentColor = value;
    DropKeptCopy();
}

void TMyImage::SetTransparentMode(TTransparentMode value)
{
    if (value == FTransparentMode) return;
    SetTransparentColor(value == TTransparentMode::tmFixed ? GetTransparentColor() : clDefault);
}

int64_t TMyImage::KeptCopyBytes() const
{
    if (!FTurned) return 0;
    return int64_t(FTurned->Width()) * FTurned->Height() * 3;
}

const TBitmap* TMyImage::TurnedCopy(int32_t w, int32_t h)
{
    const TCopyKey key{w, h, FAngle, FIsFlipHorz, FIsFlipVert};
    if (FTurned && key == FTurnedKey) return FTurned.get();
    FTurned.reset();
    TBitmap copy(FBitmap);
    GrayScaleBitmap(copy, FGrayScale);
    AdjustContrastBitmap(copy, FContrast);
    AdjustBrightBitmap(copy, FBrightness);
    FlipBitmap(copy, FIsFlipHorz, FIsFlipVert);
    copy.SetTransparentColor(FTransparentColor);
    copy.SetTransparentMode(FTransparentMode);
    copy.SetTransparent(FTransparent);
    FTurned = RotateBitmap(copy, -double(FAngle), w, h, 0, 0);
    FTurnedKey = key;
    return FTurned.get();
}

void TMyImage::Draw(TCanvas& canvas)
{
    if (ThePoints.size() < 4) return;
    TArrPoint pts;
    pts.reserve(5);
    for (size_t i = 0; i < 4; ++i) pts.push_back(ZoomedRounded(ThePoints[i]));
    SetDrawShapeMode(*this, canvas);
    if (FBitmap.Empty()) {
        canvas.Pen().SetColor(kPlaceholderGrey);
        canvas.Pen().SetWidth(1);
        canvas.Pen().SetStyle(TPenStyle::psSolid);
        DrawRectangle(canvas, pts);
        canvas.MoveTo(pts[0].X, pts[0].Y);
        canvas.LineTo(pts[2].X, pts[2].Y);
        canvas.MoveTo(pts[1].X, pts[1].Y);
        canvas.LineTo(pts[3].X, pts[3].Y);
    } else {
        const double zoom = Zoom();
        const int32_t w = RoundToInt(double(GetMyWidth()) * zoom);
        const int32_t h = RoundToInt(double(GetMyHeight()) * zoom);
        if (w > 0 && h > 0) {
            const TBitmap* turned = TurnedCopy(w, h);
            const TRegion region = TRegion::CreatePolygonRgn(pts, WINDING);
            const TPoint at = ZoomedRounded(GetLeftTop());
            canvas.SelectClipRgn(&region);
            canvas.Draw(at.X, at.Y, *turned);
            canvas.SelectClipRgn(nullptr);
        }
        if (FBorder) {
            // The outline only: the brush would hide the picture.
            SetDrawShapeMode(*this, canvas);
            pts.push_back(pts.front());
            PowerDrawShape(canvas, pts, static_cast<int32_t>(pts.size()), false);
        }
    }
    DrawInfo(canvas);
}

} // namespace mycad
