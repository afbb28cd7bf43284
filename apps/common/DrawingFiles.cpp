#include "apps/common/DrawingFiles.h"

#include "cad/geometry/StreamEncoding.h"
#include "cad/io/BlockFile.h"
#include "cad/io/DocumentFile.h"

#include <QFileInfo>

namespace mycad::app {

namespace {

/// Sets the reading switch for 8-bit texts for as long as it lives.
class TTextWidth {
public:
    explicit TTextWidth(bool eightBit) : previous_(ReadOldZEDAFile) { ReadOldZEDAFile = eightBit; }
    ~TTextWidth() { ReadOldZEDAFile = previous_; }
    TTextWidth(const TTextWidth&) = delete;
    TTextWidth& operator=(const TTextWidth&) = delete;

private:
    bool previous_;
};

// Every drawing made since texts became UTF-16 says so in its first field;
// the oldest ones spell that field in single bytes. read runs with the
// switch that matches the file.
template <typename Read>
TOpenResult ReadDrawingFile(const QString& fileName, Read read)
{
    const QFileInfo info(fileName);
    if (!info.exists()) return TOpenResult::Missing;
    if (info.isDir()) return TOpenResult::NotADrawing;
    for (const bool eightBit : {false, true}) {
        const TTextWidth width(eightBit);
        if (IsZEDAFile(fileName)) return read() ? TOpenResult::Opened : TOpenResult::Damaged;
    }
    return TOpenResult::NotADrawing;
}

} // namespace

TOpenResult OpenDrawing(TMyCAD& cad, const QString& fileName)
{
    return ReadDrawingFile(fileName, [&] { return LoadFromFile(cad, fileName); });
}

TOpenResult InsertDrawingAsBlock(TMyCAD& cad, const QString& fileName, TBlockLayerMode mode)
{
    return ReadDrawingFile(fileName, [&] { return AddBlockfromZEDAFile(cad, fileName, mode); });
}

QString OpenErrorText(TOpenResult result, const QString& fileName)
{
    switch (result) {
    case TOpenResult::Opened:
        return {};
    case TOpenResult::Missing:
        return QStringLiteral("%1: no such file").arg(fileName);
    case TOpenResult::NotADrawing:
        return QStringLiteral("%1: not a MyCAD drawing").arg(fileName);
    case TOpenResult::Damaged:
        return QStringLiteral("%1: the drawing is damaged or incomplete and could not be read").arg(fileName);
    }
    return {};
}

TImageFormat ImageFormatOf(const QString& fileName)
{
    const QString ext = QFileInfo(fileName).suffix().toLower();
    if (ext == QLatin1String("png")) return TImageFormat::Png;
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) return TImageFormat::Jpeg;
    if (ext == QLatin1String("bmp")) return TImageFormat::Bmp;
    return TImageFormat::Unknown;
}

} // namespace mycad::app
