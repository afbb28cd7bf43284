#include "apps/studio/PictureCommands.h"

#include "cad/canvas/ImageByCode.h"
#include "cad/geometry/BitmapUtils.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

#include <algorithm>

namespace mycad::studio {

namespace {

int32_t AddPicture(TMyCAD& cad, TBitmap& picture, const TPoint& centre)
{
    // The picture is as many device pixels wide as it has pixels at any
    // zoom; centred on the point, but never starting above or left of the page.
    const TPoint at{std::max(0, centre.X - RoundToInt(picture.Width() / 2.0)),
                    std::max(0, centre.Y - RoundToInt(picture.Height() / 2.0))};
    const int32_t count = cad.GetShapesCount();
    const int32_t id = AddImageShapeByCode(cad, QStringLiteral("Shape%1").arg(cad.NextShapeId), at, &picture);
    return cad.GetShapesCount() > count ? id : -1;
}

} // namespace

QString PictureFileFilter()
{
    return QStringLiteral("Pictures (*.png *.jpg *.jpeg *.bmp *.ico);;All files (*)");
}

int32_t InsertPictureFile(TMyCAD& cad, const QString& fileName, const TPoint& centre, QString& error)
{
    // A missing file would load as a placeholder cross; here it is an error.
    if (!QFileInfo(fileName).isFile()) {
        error = QStringLiteral("%1: no such file").arg(fileName);
        return -1;
    }
    std::unique_ptr<TBitmap> picture;
    try {
        picture = LoadGraphicsFile(fileName);
    } catch (const std::exception&) {
        picture.reset();
    }
    if (!picture || picture->Empty()) {
        error = QStringLiteral("%1 is not a picture MyCAD can read (PNG, JPEG, BMP or ICO)").arg(fileName);
        return -1;
    }
    const int32_t id = AddPicture(cad, *picture, centre);
    if (id < 0) error = QStringLiteral("The picture could not be added to the drawing");
    return id;
}

int32_t PastePicture(TMyCAD& cad, const TPoint& centre, QString& error)
{
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull()) {
        error = QStringLiteral("The clipboard holds no picture");
        return -1;
    }
    TBitmap picture;
    picture.SetImage(image);
    const int32_t id = AddPicture(cad, picture, centre);
    if (id < 0) error = QStringLiteral("The picture could not be added to the drawing");
    return id;
}

} // namespace mycad::studio
